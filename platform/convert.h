#pragma once
#include <QString>
#include <stdexcept>

// A text that should hold a number but does not. Thrown by the conversions
// below and caught at the start of the operation, which shows the message and
// stops cleanly.
class EConvertError : public std::runtime_error {
public:
    explicit EConvertError(const QString &message);
    QString message() const { return m_message; }

private:
    QString m_message;
};

namespace convert {

// Whole number of a text (blanks around it allowed); throws EConvertError
// naming `what` (a key or file line) and the text.
int toInt(const QString &text, const QString &what);
// Empty text gives the fallback, anything else must be a number.
int toIntOr(const QString &text, int fallback, const QString &what);
// A flag counts as set when its text contains "1".
inline bool flag(const QString &text) {
    return text.contains(u'1');
}
inline QString flagText(bool on) {
    return on ? QStringLiteral("1") : QStringLiteral("0");
}

} // namespace convert
