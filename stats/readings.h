#pragma once
#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>

#include "storage/entryline.h"

// The readings of month tables as the month graph draws them: the table's
// measurement mode decides which slots count, a value of 0 is no reading, and
// lines a hand edit made unreadable are skipped (and counted) instead of
// stopping the whole reading.
namespace stats {

// Highest value taken as a reading; the graph's scale ends here.
constexpr int kMaxReading = 600;

struct Reading {
    QDate date;
    MeasurementSlot slot = MeasurementSlot::Morgens;
    QString time; // "HH:MM"; empty when the line's time cannot be read
    int mgdl = 0; // 1 .. kMaxReading
};

struct TableReadings {
    QString path;
    QString userName;        // "BenutzerName" of the header
    int year = 0, month = 0; // the month the table holds; 0 when unknown
    MeasureMode mode = MeasureMode::Four;
    QList<Reading> readings; // file order
    int unreadableLines = 0; // entry lines without slot, day, date or number
    int hiddenLines = 0;     // four-slot table: lines of Messung4 .. Messung7
};

// Header value of section "Personendaten" with the profile rules (section
// and key without regard to case, first occurrence wins, blanks and quotes
// removed, at most 255 characters); empty when missing.
QString headerValue(const QStringList &lines, const QString &key);

// Takes the lines of a table apart. A table whose header names neither mode
// uses `fallback` (the program then keeps the mode it had).
void parseTable(const QStringList &lines, MeasureMode fallback, TableReadings &out);
// Reads a table file; false with a German *error when it cannot be read.
bool readTable(const QString &path, MeasureMode fallback, TableReadings &out, QString *error);

// The reading of one entry line; false when the graph would not draw it as a
// reading. `unreadable` tells a damaged line from a 0 or a hidden slot.
enum class LineKind { Reading, Zero, HiddenSlot, Unreadable };
LineKind readLine(const QString &line, MeasureMode mode, Reading &out);

// "07:30" from "07:30" or "7:30 "; empty for anything else.
QString normalTime(const QString &text);

// Readings in date and slot order (stable: equal ones keep their order).
void sortByDateAndSlot(QList<Reading> &readings);

} // namespace stats
