#pragma once
#include <QList>
#include <QString>
#include <QStringList>

#include "figures.h"
#include "readings.h"

// One or several month tables read together: their readings, figures and
// period, and the notes about lines that did not count.
namespace stats {

struct Collection {
    QList<TableReadings> tables; // in the order given
    QList<Reading> readings;     // all tables, in date and slot order
    Figures figures;
    QString userName; // first non-empty "BenutzerName"
    // "MM.YYYY" or "MM.YYYY–MM.YYYY" from the months the tables hold.
    QString period;
    // German notes: unreadable lines skipped, slots a four-slot table hides.
    QStringList notes;

    QStringList fileNames() const;
    // German name of the period: "März 2024" or "Januar 2024 – März 2024".
    QString periodName() const;
};

// Reads the tables; false with a German *error naming the first table that
// cannot be read.
bool collect(const QStringList &tablePaths, MeasureMode fallback, Collection &out, QString *error);
// Puts readings of already read tables together.
Collection collectTables(const QList<TableReadings> &tables);

// The table of the shown month and those of the two months before it, oldest
// first, as far as they exist. They are looked for under the data folder
// (baseFolder + "Glykovalin-Daten/" + year) and beside the shown table, named
// like it (initials + MM + YYYY + ".tab"). `missing` receives the German names
// of the months without a table.
QStringList lastThreeMonths(const QString &tablePath, const QString &baseFolder,
                            QStringList *missing = nullptr);

// The mode a table without a stored mode is shown in: the settings file's.
MeasureMode fallbackMode(const QString &baseFolder);

} // namespace stats
