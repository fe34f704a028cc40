#pragma once
#include <QDir>
#include <QList>
#include <QString>
#include <QStringList>

#include "platform/textfile.h"
#include "storage/entryline.h"
#include "storage/monthtable.h"

// Writes a four-slot month table of March 2024 for "Max Muster" below the
// data folder, with a Morgens reading of 100 + d at 07:30 on each given day,
// and beside it the diary file with the given lines. Returns the table's path.
inline QString writeMarch2024(const QString &dataFolder, const QList<int> &days,
                              const QStringList &diary) {
    monthtable::WriteRequest req;
    req.userName = "Max Muster";
    req.month = "03";
    req.year = "2024";
    req.dataFolder = dataFolder;
    for (int d : days)
        req.entries << entryline::format(MeasurementSlot::Morgens,
                                         QStringLiteral("%1").arg(d, 2, 10, QChar(u'0')), "03",
                                         "2024", "07:30", QString::number(100 + d));
    QDir().mkpath(dataFolder + "2024");
    const QString table = monthtable::pathFor(dataFolder, "MM", "03", "2024");
    textfile::writeLines(table, monthtable::compose(req, monthtable::Margins()));
    textfile::writeLines(monthtable::diaryPathOf(table), diary);
    return table;
}
