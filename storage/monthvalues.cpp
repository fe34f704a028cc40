#include "monthvalues.h"

#include "platform/german.h"
#include <cmath>

#include "entryline.h"
#include "platform/convert.h"

namespace monthvalues {

int dayOfLine(const QString &line) {
    int day = 0;
    const QChar *c = line.constData();
    for (qsizetype i = 0; i + 3 < line.size(); ++i) {
        if (c[i] != u' ' || c[i + 3] != u'.') continue;
        const QChar a = c[i + 1], b = c[i + 2];
        if (a < u'0' || a > u'9' || b < u'0' || b > u'9') continue;
        const int d = (a.unicode() - u'0') * 10 + (b.unicode() - u'0');
        if (d >= 1 && d <= 31 && d > day) day = d;
    }
    return day;
}

bool slotOfLine(const QString &line, MeasurementSlot &slot) {
    static const QLatin1StringView words[] = {
        QLatin1StringView("Morgens"),  QLatin1StringView("Messung2"), QLatin1StringView("Messung3"),
        QLatin1StringView("Messung4"), QLatin1StringView("Messung5"), QLatin1StringView("Messung6"),
        QLatin1StringView("Messung7"), QLatin1StringView("Abends")};
    for (int n = 8; n >= 1; --n)
        if (line.contains(words[n - 1])) {
            slot = slotinfo::fromNumber(n);
            return true;
        }
    return false;
}

QString SlotTag(const QString &line) {
    MeasurementSlot s;
    return slotOfLine(line, s) ? slotinfo::tag(s) : QString();
}

QString dayValueText(const QString &line) {
    const qsizetype dot = line.indexOf(u'.');
    QString day = dot < 0 ? QString() : line.left(dot + 1);
    if (day.contains(u'.')) {
        const qsizetype p = day.indexOf(u'.');
        day.remove(0, std::max<qsizetype>(0, p - 2));
        day.chop(1);
    }
    QString value = line;
    const qsizetype z = value.indexOf(QStringLiteral("ZuckerWert="));
    if (z >= 0) value.remove(0, z + 11);
    return day + u'_' + value.trimmed();
}

QString twoDecimals(long double v) {
    return german::locale().toString(double(v), 'f', 2);
}

bool toNumber(const QString &text, long double &v) {
    double d = 0;
    if (!entryline::readingValue(text, d)) return false;
    v = d;
    return true;
}

int roundHalfUp(const QString &text) {
    long double v = 0;
    toNumber(text, v);
    const long double whole = std::floor(v);
    return int(whole) + int(std::floor((v - whole) * 2));
}

} // namespace monthvalues

void MonthValues::clearValues() {
    m_values.clear();
    m_sum = 0;
    m_lineCount = 0;
    m_monthMean.clear();
}

bool MonthValues::collect(const QString &line, const QString &where,
                          std::array<QString, 31> *dayLineTexts) {
    const int day = entryline::readingDay(line);
    if (day == 0) return false;
    if (dayLineTexts) (*dayLineTexts)[day - 1] += line + monthvalues::SlotTag(line);
    const QString dayValue = monthvalues::dayValueText(line);
    const QString valueText = dayValue.mid(dayValue.indexOf(u'_') + 1);
    long double v = 0;
    if (!monthvalues::toNumber(valueText, v))
        throw EConvertError(QStringLiteral("Der Messwert \"%1\" in %2 ist keine gültige Zahl. Die "
                                           "Grafik wurde nur bis zu dieser Zeile gezeichnet.")
                                .arg(valueText, where));
    if (line.contains(QStringLiteral("ZuckerWert="))) {
        m_values.append(entryline::valueOf(line));
        m_sum += v;
        m_monthMean = m_values.size() < 3
                          ? QString()
                          : monthvalues::twoDecimals(m_sum / (long double)m_values.size());
    }
    ++m_lineCount;
    m_dayValues.append(dayValue);
    return true;
}

void MonthValues::GibDieTagesMittelwerte() {
    m_dayMean.fill(QStringLiteral("0"));
    if (m_dayValues.isEmpty()) return;
    long double sum = 0;
    int count = 0;
    QString previous;
    for (const QString &item : std::as_const(m_dayValues)) {
        const qsizetype us = item.indexOf(u'_');
        const QString day = item.left(us);
        const QString value = item.mid(us + 1);
        if (previous.isEmpty() || !day.contains(previous)) {
            sum = 0;
            count = 0;
        }
        previous = day;
        // Only a day text "01".."31" names a day; no other text reaches the 31 means.
        if (day.size() != 2 || day.at(0) < u'0' || day.at(0) > u'9' || day.at(1) < u'0' ||
            day.at(1) > u'9')
            continue;
        const int d = day.toInt();
        if (d < 1 || d > 31) continue;
        long double v = 0;
        if (!monthvalues::toNumber(value, v))
            throw EConvertError(
                QStringLiteral("Der Messwert \"%1\" ist keine gültige Zahl.").arg(value));
        ++count;
        sum += v;
        const QString text = monthvalues::twoDecimals(sum / count);
        m_dayMean[d - 1] = QString::number(monthvalues::roundHalfUp(text));
    }
}
