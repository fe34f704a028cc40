#pragma once
#include <QList>
#include <QString>
#include <QStringList>

#include <array>

#include "entryline.h"
#include "glucoseunit.h"

// What a month table holds, read and computed as the graph draws it.
struct MonthResult {
    QStringList entries;                  // the table's entry lines in file order
    std::array<QString, 31> dayLineTexts; // per day: its readings, each with its slot tag
    std::array<QString, 31> dayMeans;     // whole numbers; "0" for a day without readings
    QString monthMean;                    // "143,57"; empty below 3 readings
    QString meanValueText;                // monthMean + " mg/dl", or empty
    QString meanHeaderText;               // " -  Mittelwert: " + meanValueText, or empty
    QString tableDate, tableUser;         // "Datum" and "BenutzerName" of the header
    QString entryMonth, entryYear;        // of the table's last entry line
    QString skippedNotice;                // entry lines passed over; empty when none
    int readingCount = 0;                 // the readings counted in the means
    qint64 readingSum = 0;                // their sum in mg/dl
    int eightSlotReadings = 0;            // readings of Messung4 .. Messung7
    bool readable = false;                // the table could be read
    bool complete = false;                // the reading ran to the end of the file

    MonthResult() { dayMeans.fill(QStringLiteral("0")); }
    QStringList dayMeanList() const { return QStringList(dayMeans.begin(), dayMeans.end()); }
    QString entryMonthName() const { return GibMonatLang(entryMonth.toInt()); }
    // The monthly mean with its unit: meanValueText in mg/dl, "8,0 mmol/l"
    // (of the exact mean) in mmol/l; empty below 3 readings.
    QString meanValueIn(GlucoseUnit unit) const;
    // " -  Mittelwert: " + meanValueIn(unit), or empty.
    QString meanHeaderIn(GlucoseUnit unit) const;
};

// A month table read and computed as the drawing pass reads it, without
// drawing: the entry lines, the per-day texts, the daily and monthly means,
// the header's date and user and the month of the last reading. The window's
// drawing pass, the diary book, the browser chart and the command-line tool
// all take a month's figures from here.
namespace monthread {

struct Month {
    QString path;
    QStringList lines;  // the file's lines
    MonthResult result; // what was computed; complete is false after a stop
    // The file line (0-based) at which a value that is no number stopped the
    // computing; lines.size() when it ran to the end. Readings before it
    // count and are drawn.
    int stopLine = 0;
    QList<int> dayEnds;      // file lines (0-based) of each day's last reading
    bool modeStored = false; // the header names a measure mode
    bool eightSlots = false; // and it is eight readings a day
    QString error;           // German: why the file could not be read or computed
};

// Reads the table; false with month.error when the file cannot be read. A
// value that is no number stops the computing at its line (month.error holds
// the message naming file and line; what came before is kept). Lines without
// a day 01..31 are passed over and named in result.skippedNotice.
bool read(const QString &tablePath, Month &month);

// read() for the commands that take the whole month (diary book, browser
// chart): false with a German *error also when a value is no number.
bool readWhole(const QString &tablePath, Month &month, QString *error);

// The file lines (0-based) of each day's last reading: a reading ends its day
// when the next reading of the file has another day or there is none.
QList<int> dayEndsOf(const QStringList &lines);

} // namespace monthread
