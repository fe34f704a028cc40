#pragma once
#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <chrono>

#include "readingfile.h"
#include "slotrule.h"
#include "storage/folders.h"
#include "storage/entryline.h"
#include "storage/settingsstore.h"
#include "storage/settingsstore.h"
#include "storage/tablelock.h"

// What importing files of readings does to the month tables: a plan that a
// dry run shows, and its application.
namespace importer {

struct Options {
    Folders folders;
    SettingsStore settings;                      // the user's name and slot times
    MeasureMode currentMode = MeasureMode::Four; // the mode a new month takes
    QString currentTablePath;                    // a new month takes its print margins
    bool sensor = false;                         // sensor values are taken too
    // How long a write waits for another writer of a table.
    std::chrono::milliseconds lockWait = TableLock::kWait;
};

// A reading that goes into a slot, and its entry line.
struct Placed {
    Reading reading;
    int slot = 0;
    QString line;
};

// A reading whose slot already holds another one.
struct Conflict {
    Reading reading;
    int slot = 0;
    QString existingLine;
};

struct MonthPlan {
    int year = 0, month = 0;
    QString path; // the month table
    bool exists = false;
    MeasureMode mode = MeasureMode::Four;
    SlotTimes times;
    QList<Reading> candidates; // the month's readings to place, in file order
    QList<Placed> added;       // in day and slot order
    int duplicates = 0;        // the slot holds the same value at (nearly) the same time
    QList<Conflict> conflicts;
    QList<Reading> outside; // in no slot's window ("ohne Messzeitpunkt")
    int superseded = 0;     // a better reading took their slot
    QByteArray before;      // the table's bytes as planned from; empty for a new table
    QByteArray after;       // the table's bytes with the additions; empty when none

    QString fileName() const;
    // "März 2024".
    QString title() const;
};

// The counts of an import; found + otherRows equals imported + duplicates
// + conflicts + outsideSlots + skipped.
struct Totals {
    int found = 0; // readings in the files (Low/High of a sensor included)
    int bySource[kSourceCount] = {};
    int imported = 0, duplicates = 0, conflicts = 0, outsideSlots = 0;
    // Passed over: rows without a reading, Low/High, values outside 1 to 500
    // mg/dl, sensor values not asked for, readings that lost their slot.
    int otherRows = 0, outsideMeasuring = 0, outsideRange = 0, sensorLeftOut = 0, superseded = 0;
    int skipped() const {
        return otherRows + outsideMeasuring + outsideRange + sensorLeftOut + superseded;
    }
};

struct Plan {
    QList<SourceFile> files;
    bool sensor = false;
    QList<MonthPlan> months; // in time order
    QDate first, last;       // the period of the readings found

    Totals totals() const;
    bool hasAdditions() const;
    // The newest month that gets readings, else the newest month whose table
    // exists; empty when there is none.
    QString newestTable() const;
};

// What importing the files would do. False with a German *error when no
// user name is stored or a month table cannot be read.
bool makePlan(const QList<SourceFile> &files, const Options &options, Plan &plan, QString &error);

struct ApplyResult {
    QList<MonthPlan> months; // the plan's months, those written as planned anew under their lock
    QStringList written;     // tables written
    QStringList notWritten;  // tables that should have got readings and did not
    QString error;           // German; empty when every table was written
    bool ok() const { return error.isEmpty(); }
    Totals totals(const Plan &plan) const;
};

// Writes every month that gets readings. Each table is locked (TableLock)
// and read anew before it is changed, so a change made since the plan is
// kept; a table is written whole through a temporary file. When a lock or a
// read fails, nothing is written; when a write fails, the message names the
// tables written and those not written.
ApplyResult apply(const Plan &plan, const Options &options);

} // namespace importer
