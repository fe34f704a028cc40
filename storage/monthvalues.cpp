#include "monthvalues.h"

#include "entryline.h"

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
    // One scan: "Abends" anywhere wins, then the highest "Messung2" …
    // "Messung7", then "Morgens".
    const QStringView text(line);
    int best = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QStringView rest = text.sliced(i);
        if (rest.front() == u'A') {
            if (rest.startsWith(QLatin1StringView("Abends"))) {
                best = 8;
                break;
            }
        } else if (rest.front() == u'M') {
            if (rest.size() > 7 && rest.startsWith(QLatin1StringView("Messung")) &&
                rest[7] >= u'2' && rest[7] <= u'7')
                best = std::max(best, rest[7].unicode() - u'0');
            else if (best == 0 && rest.startsWith(QLatin1StringView("Morgens")))
                best = 1;
        }
    }
    if (best == 0) return false;
    slot = slotinfo::fromNumber(best);
    return true;
}

QString SlotTag(const QString &line) {
    MeasurementSlot s;
    return slotOfLine(line, s) ? slotinfo::tag(s) : QString();
}

bool toNumber(const QString &text, long double &v) {
    double d = 0;
    if (!entryline::readingValue(text, d)) return false;
    v = d;
    return true;
}

Collected collect(const QString &line, std::array<QString, 31> &dayLineTexts, QString &valueText) {
    const int day = entryline::readingDay(line);
    if (day == 0) return Collected::NoReading;
    dayLineTexts[size_t(day - 1)] += line + SlotTag(line);
    const qsizetype z = line.indexOf(QLatin1StringView("ZuckerWert="));
    valueText = (z < 0 ? QStringView(line) : QStringView(line).sliced(z + 11)).trimmed().toString();
    long double v = 0;
    return toNumber(valueText, v) ? Collected::Reading : Collected::NoNumber;
}

} // namespace monthvalues
