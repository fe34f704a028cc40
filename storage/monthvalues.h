#pragma once
#include <QString>
#include <QStringList>
#include <array>

#include "storage/entryline.h"

// The month's readings as the drawing pass collects them line by line: the
// value list for the monthly mean, the day-value list for the daily means,
// and the per-day line texts of the diary. Numbers pass through text with the
// German decimal comma, whatever the user's locale.
namespace monthvalues {

// The scanning readers of entry lines without building search texts: the day
// of the last " DD." found (the highest, as the readers scan 01 … 31) and the
// last slot word found in slot order.
int dayOfLine(const QString &line);
bool slotOfLine(const QString &line, MeasurementSlot &slot);
// " -1 " .. " -8 " of the line's slot, empty when the line names none.
QString SlotTag(const QString &line);
// Two-digit day, "_" and the trimmed value, e.g. "05_128" (ErstelleTagesMittelwert).
QString dayValueText(const QString &line);
// Fixed-point text with two decimals and a decimal comma ("100,50").
QString twoDecimals(long double v);
// Number of a value text ("128", "100,5"; the rule of entryline::readingValue);
// false when it is none.
bool toNumber(const QString &text, long double &v);
// The whole-number mean of a two-decimal text: integer part plus the integer
// part of twice the fraction (half up).
int roundHalfUp(const QString &twoDecimalText);

} // namespace monthvalues

class MonthValues {
public:
    // Empties the day-value list (start of a pass).
    void clearDayValues() { m_dayValues.clear(); }
    // Empties the value list and the line count (before the first line).
    void clearValues();
    // Collects one reading: the slot-tagged day text, the value list with
    // the monthly mean, the line count and the day-value text. Returns false
    // and collects nothing for a line that is no reading (entryline::isReading).
    // Throws EConvertError (naming `where`) when the value is no number; the
    // lists then keep what was collected before that line.
    bool collect(const QString &line, const QString &where,
                 std::array<QString, 31> *dayLineTexts = nullptr);
    // Computes the 31 daily means from the day-value list.
    void GibDieTagesMittelwerte();

    QString DayMean(int day) const {
        return day >= 1 && day <= 31 ? m_dayMean[day - 1] : QString();
    }
    QStringList dayMeans() const { return QStringList(m_dayMean.begin(), m_dayMean.end()); }
    // Empty below 3 values.
    const QString &MonthMean() const { return m_monthMean; }
    int valueCount() const { return int(m_values.size()); }
    int lineCount() const { return m_lineCount; }
    const QStringList &values() const { return m_values; }
    const QStringList &dayValues() const { return m_dayValues; }

private:
    QStringList m_values;
    QStringList m_dayValues;
    long double m_sum = 0;
    int m_lineCount = 0;
    QString m_monthMean;
    std::array<QString, 31> m_dayMean = [] {
        std::array<QString, 31> a;
        a.fill(QStringLiteral("0"));
        return a;
    }();
};
