#pragma once
#include <QByteArray>
#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>

#include "stats/collection.h"
#include "stats/diarysums.h"

class QWidget;
namespace ui {
class Services;
}

namespace statsview {

// The one-page A4 report for the doctor ("Arztbericht") as a PDF file with
// real text: name and period; the figures with their targets and the period
// before; the range bar; the day profile by slot with its figures and clock
// times; the year's trend; the daily means of the last months with the
// diary's day sums; the most recent hypoglycaemias; and a footer saying that
// it comes from a diary, is no medical device and gives no advice on doses.
class DoctorReport {
public:
    // The day grid shows at most this many months, the latest ones.
    static constexpr int kMaxGridMonths = 3;

    // Reads the day sums of the diaries of the months the day grid shows.
    DoctorReport(const stats::Collection &c, const QDate &created,
                 const QStringList &missingMonths = {});

    const stats::Collection &collection() const { return m_collection; }
    const QList<stats::DaySums> &diary() const { return m_diary; }

    // The PDF file's bytes.
    QByteArray render() const;
    // Writes the PDF safely (the old file stays when anything fails); false
    // with a German *error.
    bool write(const QString &path, QString *error) const;

private:
    stats::Collection m_collection;
    QDate m_created;
    QStringList m_missing;
    QList<stats::DaySums> m_diary;
};

// Asks for the report's file (proposing "Arztbericht <period>.pdf" in the
// base folder), writes it and opens it; false when cancelled or failed (the
// failure was shown). *written receives the file's path.
bool saveDoctorReport(ui::Services &ui, const stats::Collection &c, const QStringList &missing,
                      const QString &baseFolder, QWidget *parent, QString *written = nullptr);

} // namespace statsview
