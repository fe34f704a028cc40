#include "german.h"

#include <QDate>

namespace german {

const QLocale &locale() {
    static const QLocale l = [] {
        QLocale g(QLocale::German, QLocale::Germany);
        g.setNumberOptions(QLocale::OmitGroupSeparator | QLocale::RejectGroupSeparator);
        return g;
    }();
    return l;
}

QString date(const QDate &d) {
    return d.toString(QStringLiteral("dd.MM.yyyy"));
}

QString longDate(const QDate &d) {
    return locale().toString(d, QStringLiteral("dddd, d. MMMM yyyy"));
}

QString weekday(const QDate &d) {
    return d.isValid() ? locale().dayName(d.dayOfWeek(), QLocale::LongFormat) : QString();
}

QString number(double v, int decimals) {
    return locale().toString(v, 'f', decimals);
}

double toNumber(const QString &text, bool *ok) {
    QString t = text.trimmed();
    if (t.count(u'.') == 1 && !t.contains(u',')) t.replace(u'.', u',');
    return locale().toDouble(t, ok);
}

} // namespace german
