#pragma once
#include <QDate>
#include <QList>
#include <QString>
#include <optional>

#include "figures.h"

// Day sums of the stored diary pages: carbohydrate units (BE or KE) and
// insulin units, by the one rule of storage/daysums.h.
namespace stats {

struct DaySums {
    QDate date;
    QString carbUnit;            // "BE" or "KE" as the page says; empty when unknown
    std::optional<double> carb;  // no value when nothing was entered
    bool carbUnreadable = false; // a cell holds text that is no number
    std::optional<double> insulin;
    std::optional<double> bolus, basal; // intensified therapy: the two kinds apart
    bool insulinUnreadable = false;

    bool empty() const { return !carb && !insulin && !carbUnreadable && !insulinUnreadable; }
};

// The sums of one stored page line ("TagNN: ..."); the date is left empty.
DaySums sumsOfPage(const QString &pageLine);

// The sums of every stored page of the table's diary file that falls on a
// day of the table's month, in day order; nothing when the month of the
// table or the diary file is unknown.
QList<DaySums> diarySums(const TableReadings &table);

// German number of a sum: decimal comma, no trailing zeros ("12,5", "34").
QString sumText(double v);

} // namespace stats
