#pragma once
#include <QList>
#include <QString>
#include <QStringList>

// The eight daily measurement slots, the two measurement modes and the text
// of one reading ("EntryLine").

enum class MeasurementSlot {
    Morgens = 1,
    Messung2,
    Messung3,
    Messung4,
    Messung5,
    Messung6,
    Messung7,
    Abends
};

enum class MeasureMode { Four, Eight };

namespace slotinfo {

constexpr int kCount = 8;
inline int number(MeasurementSlot s) {
    return static_cast<int>(s);
}
inline MeasurementSlot fromNumber(int n) {
    return static_cast<MeasurementSlot>(n);
}

QString word(MeasurementSlot s);         // "Morgens", "Messung2", ... "Abends"
QString prefix(MeasurementSlot s);       // "Morgens den "
QString displayLabel(MeasurementSlot s); // "Messung 2"
QString shortLabel(MeasurementSlot s);   // "M1" .. "M8"
QChar sortLetter(MeasurementSlot s);     // 'a' .. 'h'
QString tag(MeasurementSlot s);          // " -1 " .. " -8 "
// Settings key of the slot's remembered time, "Messung4Uhrzeit..." or "Messung8Uhrzeit...".
QString timeKey(MeasurementSlot s, MeasureMode mode);
// Slot of a display label or slot word; false when unknown.
bool fromLabel(const QString &label, MeasurementSlot &slot);
// Whether the slot is used in the mode (four-slot mode: 1, 2, 3 and 8).
bool usedIn(MeasurementSlot s, MeasureMode mode);
// The slot after s in the mode's cycle.
MeasurementSlot next(MeasurementSlot s, MeasureMode mode);

} // namespace slotinfo

QString GibMonatLang(int month);

namespace entryline {

// Formats a reading; day and month come already padded to two digits.
QString format(MeasurementSlot slot, const QString &day, const QString &month, const QString &year,
               const QString &time, const QString &value);

// Fields as the entry dialog reads them back; a missing marker leaves the
// field as it was.
struct Fields {
    QString slotPrefix; // e.g. "Morgens den "
    QString day, month, year, time, value;
};
void split(const QString &line, Fields &fields);

// Scanning readers used by every reader of month tables.
// A month table line is an entry line only when it starts with "M" or "A".
bool isEntryLine(const QString &line);
// The last slot word found in the line; false when none.
bool slotOf(const QString &line, MeasurementSlot &slot);
// Day 1..31 from " DD." in the line; 0 when none.
int dayOf(const QString &line);
// Everything after "ZuckerWert=" (untrimmed); empty when missing.
QString valueOf(const QString &line);
QString monthOf(const QString &line);
QString yearOf(const QString &line);
QString timeOf(const QString &line);

// A month table line is a reading only when it is an entry line whose date
// starts with a day 01..31: a blank, two digits and the line's first ".".
// Every reader that computes or draws uses only readings; the other entry
// lines stay in the entry list and the file, so the user can correct them.
bool isReading(const QString &line);
// The day 1..31 of a reading's date; 0 for any other line.
int readingDay(const QString &line);

// A reading's value text: decimal digits with at most one decimal comma or
// point between digits, blanks around it, no sign or exponent, at most
// kMaxValue. False for any other text.
constexpr double kMaxValue = 9999;
bool readingValue(const QString &text, double &value);

// The German notice about entry lines that are no reading, naming the file,
// the first such line (1-based) and how many more there are; empty when the
// list is empty.
QString skippedLinesNotice(const QString &path, const QList<int> &lineNumbers);
// The 1-based numbers of the entry lines of a file's lines that are no reading.
QList<int> skippedLines(const QStringList &lines);

} // namespace entryline
