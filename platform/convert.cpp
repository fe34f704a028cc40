#include "convert.h"

EConvertError::EConvertError(const QString &message)
    : std::runtime_error(message.toStdString()), m_message(message) {}

namespace convert {

int toInt(const QString &text, const QString &what) {
    bool ok = false;
    const int v = text.trimmed().toInt(&ok);
    if (!ok)
        throw EConvertError(QStringLiteral("\"%1\" ist keine gültige Zahl (%2).").arg(text, what));
    return v;
}

int toIntOr(const QString &text, int fallback, const QString &what) {
    return text.isEmpty() ? fallback : toInt(text, what);
}

} // namespace convert
