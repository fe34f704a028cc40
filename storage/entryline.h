#pragma once
#include <QString>

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

} // namespace entryline
