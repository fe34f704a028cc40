#include "monthvalues.h"

#include "entryline.h"

namespace monthvalues {

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
