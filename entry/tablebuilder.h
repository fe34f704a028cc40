#pragma once
#include <QString>
#include <QStringList>

#include "storage/glucoseunit.h"

// Order of the entry list and the month table text built from it.
namespace tablebuilder {

// Two day digits before the first "." followed by the slot letter a..h.
// An item without "." takes the day of the previous item (lastDay).
QString SortKey(const QString &line, QString *lastDay = nullptr);

// The entry list in day, slot order; items equal character for character
// are kept once.
QStringList sortEntries(const QStringList &entries);

struct TableInput {
    QStringList entries;   // entry list in list order
    QString monthName;     // EntryMonthName, e.g. "März"
    QString year;          // EntryYear
    QString userName;      // TableUserName
    bool fourSlots = true; // menu tick "bis zu 4 Messungen je Tag"
    bool eightSlots = false;
    // The unit of the values; in mmol/l the title names it.
    GlucoseUnit unit = GlucoseUnit::MgDl;
};

// The table lines: title, underline, empty line, header, separator, then
// 31 day rows each followed by the separator. Empty when no mode is ticked.
// Entries that are no reading (entryline::isReading) are left out. A value
// in mmol/l takes the room of a three-digit mg/dl value in the proportional
// font (a digit as wide as two blanks, the comma as one).
QStringList BringsAufDieReihe(const TableInput &in);
// The lines joined with "\n".
QString TableText(const TableInput &in);

} // namespace tablebuilder
