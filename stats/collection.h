#pragma once
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

#include "figures.h"

// One or several month tables read together: their readings, figures and
// period, the period of the same length just before it, the months of the
// year's trend, and the notes about lines that did not count.
namespace stats {

// A month as a number: year × 12 + month − 1.
int monthKey(int year, int month);
// "März 2024".
QString monthName(int key);
// "03.2024" or "01.2024–03.2024" of the months first .. last; empty for -1.
QString periodNumbers(int first, int last);

// One month of the trend.
struct MonthPoint {
    int key = 0;           // monthKey
    bool hasTable = false; // a table of the month was read
    int readings = 0;
    int daysWithReadings = 0;
    Tenths mean;        // from one reading on
    Tenths meanMmol;    // the same in mmol/l
    Tenths ea1cPercent; // as the figures give it: 30 readings on 14 days
    // "2024-03".
    QString isoMonth() const;
};

struct Collection {
    QList<TableReadings> tables; // in the order given, each file once
    QList<Reading> readings;     // all tables, in date and slot order
    Figures figures;
    QString userName; // first non-empty "BenutzerName"
    // First and last month of the tables (else of the readings); -1 when unknown.
    int firstMonth = -1, lastMonth = -1;
    // "MM.YYYY" or "MM.YYYY–MM.YYYY".
    QString period;
    // German notes: tables named twice, unreadable lines, zeros, readings
    // the graph of a four-slot table does not draw.
    QStringList notes;
    // The unit the texts, tables and pictures show the values in (mmol/l:
    // mmol/l first, mg/dl in brackets); every range is decided on mg/dl.
    GlucoseUnit unit = GlucoseUnit::MgDl;

    // The period of the same length just before (filled by addContext).
    struct Previous {
        QStringList files; // the tables found; none: no comparison
        Figures figures;
        int firstMonth = -1, lastMonth = -1;
        bool exists() const { return !files.isEmpty(); }
    } previous;
    // The months of the trend: at least the last 12 up to the period's last
    // month, and every month of a longer period (filled by addContext).
    QList<MonthPoint> months;

    QStringList fileNames() const;
    // German name of the period: "März 2024" or "Januar 2024 – März 2024".
    QString periodName() const;
    QString previousPeriodName() const;
};

// Month tables read once per path, for a window that needs the same months
// for several periods.
class TableCache {
public:
    // The table, read on first use; nullptr with a German *error when it
    // cannot be read.
    const TableReadings *get(const QString &path, MeasureMode fallback, QString *error);

private:
    QHash<QString, TableReadings> m_tables;
};

// Reads the tables, each file once however often it is named (a note says
// so); false with a German *error naming the first table that cannot be read.
bool collect(const QStringList &tablePaths, MeasureMode fallback, Collection &out, QString *error,
             TableCache *cache = nullptr);
// Puts readings of already read tables together.
Collection collectTables(const QList<TableReadings> &tables);

// Adds the previous period and the trend: the tables of those months are
// looked for as lastThreeMonths() does, named like the collection's last
// table. Tables that cannot be read count as missing.
void addContext(Collection &c, const QString &baseFolder, MeasureMode fallback,
                TableCache *cache = nullptr);

// The tables of the months first .. last (monthKey) named like `tablePath`
// (initials + MM + YYYY + ".tab"), as far as they exist, oldest first; the
// table itself stands for its own month. They are looked for under the data
// folder (baseFolder + "Glykovalin-Daten/" + year), in the year folders
// beside the table's and beside the table. `missing` receives the German
// names of the months without a table. A table named otherwise stands alone.
QStringList monthTables(const QString &tablePath, const QString &baseFolder, int first, int last,
                        QStringList *missing = nullptr);
// The table of the shown month and those of the two months before it.
QStringList lastThreeMonths(const QString &tablePath, const QString &baseFolder,
                            QStringList *missing = nullptr);

// The periods the statistics window and the report show for the month table
// on screen: the month itself and the last three months (the period of the
// estimated HbA1c), each with the period before it and the year's trend.
struct ShownMonths {
    Collection month, lastThree;
    QStringList missing; // German names of the last three months without a table
};
// False with a German *error when the table cannot be read. Both periods
// are shown in `unit`.
bool readShownMonths(const QString &tablePath, const QString &baseFolder, GlucoseUnit unit,
                     ShownMonths &out, QString *error);

// The mode a table without a stored mode is shown in: the settings file's.
MeasureMode fallbackMode(const QString &baseFolder);
// The unit the settings file of the base folder names ("Einheit").
GlucoseUnit unitOfFolder(const QString &baseFolder);

} // namespace stats
