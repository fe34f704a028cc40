#pragma once
#include <QByteArray>
#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>

#include "stats/collection.h"
#include "stats/diarysums.h"

// The one-page A4 report for the doctor ("Arztbericht") as a PDF file with
// real text: name, period, the figures with their targets, the range bar, the
// time-of-day profile, the daily means with the diary's day sums, the list of
// hypoglycaemias and a footer that it is a diary, no medical device, and
// gives no advice on doses.
namespace statsview {

struct ReportData {
    stats::Collection collection;
    QList<stats::DaySums> diary; // day sums of the stored diary pages
    QStringList missingMonths;   // months of the period without a table
    QDate created;
};

// The report data of a collection, with the day sums of the tables' diaries.
ReportData reportData(const stats::Collection &c, const QDate &created,
                      const QStringList &missingMonths = {});

// The PDF file's bytes.
QByteArray renderArztbericht(const ReportData &d);
// Writes the PDF safely (the old file stays when anything fails); false with
// a German *error.
bool writeArztbericht(const QString &path, const ReportData &d, QString *error);

} // namespace statsview
