#pragma once
#include <QByteArrayView>
#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>
#include <array>

#include "entryline.h"

// What a reading is, for every figure, document and export of the program:
// an entry line with a valid date and a value from 1 to 500 mg/dl. Every
// stored reading counts, whatever the table's measurement mode (a four-slot
// table that still holds lines of Messung4 .. Messung7 counts them too); a 0
// is no reading (an entry opened for correction); a line whose slot, date or
// value cannot be read is skipped and counted.
namespace glucose {

constexpr int kMinReading = 1;
constexpr int kMaxReading = 500;
// The monthly mean is given from this many readings on.
constexpr int kMinReadingsForMonthMean = 3;

struct Reading {
    QDate date;
    MeasurementSlot slot = MeasurementSlot::Morgens;
    int mgdl = 0;       // kMinReading .. kMaxReading
    qint16 minute = -1; // clock time in minutes after midnight; -1 when it cannot be read

    // "07:30"; empty when the time cannot be read.
    QString timeText() const;
};

// What one entry line holds. A value with decimals (a hand edit) counts with
// its whole part, as the graph draws it.
enum class LineKind { Reading, Zero, Unreadable };
LineKind readLine(QStringView line, Reading &out);
// The same by the scanning rules alone, without the shortcut that reads a
// line in the program's own form at its fixed positions (for the tests that
// hold the two together).
LineKind readLineByRules(QStringView line, Reading &out);

// The clock time of a time text ("07:30", "7:30 "): minutes after midnight,
// 00:00 to 24:00; -1 for anything else.
int minuteOf(QStringView text);

struct TableReadings {
    QString path;
    QString userName;        // "BenutzerName" of the header
    int year = 0, month = 0; // the month the table holds; 0 when unknown
    MeasureMode mode = MeasureMode::Four;
    QList<Reading> readings; // file order
    int zeroLines = 0;       // entry lines with the value 0
    int unreadableLines = 0; // entry lines without slot, date or a value up to 500
    // Readings of Messung4 .. Messung7 in a four-slot table: they count in
    // every figure, but the graph of a four-slot month has no place for them.
    int undrawnReadings = 0;
};

// Takes the lines of a table apart. A table whose header names neither mode
// uses `fallback` (the program then keeps the mode it had).
void parseTable(const QStringList &lines, MeasureMode fallback, TableReadings &out);
// The same from the file's bytes (Windows-1252, or UTF-8 after a byte-order
// mark), without decoding the entry lines that are plain ASCII.
void parseTableBytes(QByteArrayView bytes, MeasureMode fallback, TableReadings &out);
// Reads a table file; false with a German *error when it cannot be read.
bool readTable(const QString &path, MeasureMode fallback, TableReadings &out, QString *error);

// The readings that a graph in `mode` does not draw: in four-slot mode those
// of Messung4 .. Messung7, in eight-slot mode none.
int undrawnIn(const QList<Reading> &readings, MeasureMode mode);

// Readings in date and slot order (stable: equal ones keep their order).
void sortByDateAndSlot(QList<Reading> &readings);
bool isSortedByDateAndSlot(const QList<Reading> &readings);

// The means of one month table as the graph, the graph print, the diary book
// and the browser chart show them, over the readings above: per day of the
// month (by the day of each reading's date) and for the whole month.
struct MonthMeans {
    std::array<int, 31> count{};  // readings per day
    std::array<qint64, 31> sum{}; // their sum in mg/dl
    int readings = 0;
    qint64 total = 0;

    bool hasDayMean(int day) const;
    // The whole number the documents print: the mean rounded to two decimals
    // first, that rounded half up ("100,50" gives 101); 0 without readings.
    int dayMeanWhole(int day) const;
    // dayMeanWhole as text; "0" for a day without readings.
    QString dayMeanText(int day) const;
    std::array<QString, 31> dayMeanTexts() const;

    bool hasMonthMean() const { return readings >= kMinReadingsForMonthMean; }
    double monthMean() const;
    // "143,57": two decimals, rounded half up, decimal comma; empty below
    // kMinReadingsForMonthMean readings.
    QString monthMeanText() const;
};
MonthMeans monthMeans(const QList<Reading> &readings);

} // namespace glucose
