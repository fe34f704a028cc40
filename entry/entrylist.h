#pragma once
#include <QString>
#include <QStringList>

#include "storage/entryline.h"
#include "storage/glucoseunit.h"

// Operations on the entry list (the month's readings as entry lines in list
// order), without any window: what the entry dialog and the command line do
// when a reading is added, replaced or removed.
namespace entrylist {

// An entry line as the list shows it in the unit: in mmol/l its value
// converted and followed by the unit ("… ZuckerWert=5,6 mmol/l"); a line
// whose value is no whole number, and every line in mg/dl, as it is.
QString shownLine(const QString &line, GlucoseUnit unit);

// The part of an entry line that names its reading: slot prefix, pad and
// date, up to " Z=" (the whole line when it has no time).
QString readingOf(const QString &line);
// Index of the first entry that holds the reading of the line; -1 when none.
int find(const QStringList &entries, const QString &line);

enum class Added { Appended, Replaced };
// Puts a reading into the list: an entry of the same slot and date is replaced
// in place and the list keeps its order; otherwise the line is appended and
// the list sorted by day and slot.
Added addOrReplace(QStringList &entries, const QString &line);
// The list in day, slot order; entries equal character for character are kept once.
QStringList sorted(const QStringList &entries);
// Removes every entry of that slot and date; returns how many were removed.
int remove(QStringList &entries, MeasurementSlot slot, const QString &day, const QString &month,
           const QString &year);

// What a table file holds beyond the readings a list was filled with (saved
// meanwhile by another writer, or there before a new month was started).
struct Merged {
    QStringList taken;     // readings of the file now in the list
    QStringList overruled; // readings of the file for a slot and date changed or deleted in
                           // the list: the list's entry stands
};
// Takes the file's new readings into `entries`, which was filled with
// `loaded` and then changed by the user. A reading of the file that neither
// list holds joins the list, or replaces the entry of its slot and date when
// the user left that as loaded; otherwise the user's entry stands. Readings
// gone from the file stay in the list.
Merged takeNewReadings(QStringList &entries, const QStringList &loaded, const QStringList &file);

} // namespace entrylist
