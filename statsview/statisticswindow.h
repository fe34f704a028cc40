#pragma once
#include <QDialog>
#include <QList>
#include <QString>
#include <QStringList>

#include "stats/collection.h"

class QTabWidget;
namespace ui {
class Services;
}

namespace statsview {

// The statistics window: one page for the shown month and one for the last
// three months (the period of the estimated HbA1c). Each page shows the
// figures with their targets and the period before, the range bar, the day
// profile by slot, the year's trend and the hypoglycaemias. A page's widgets
// are made when the page is first shown, so the window opens within a frame.
//
// Controls (by object name): the tabs "Seiten"; on a page the figures table
// "Kennzahlen", the slot table "Tageszeiten", the hypoglycaemias
// "Unterzuckerungen", the pictures "Bereichsbalken", "Tagesprofil" and
// "Verlauf", the labels "Kopf" and "Hinweise"; the buttons "ArztberichtBtn"
// and "SchliessenBtn".
class StatisticsWindow : public QDialog {
    Q_OBJECT
public:
    struct Page {
        QString title; // tab caption
        stats::Collection collection;
        QStringList extraNotes; // e.g. months without a table
    };

    StatisticsWindow(ui::Services &ui, QWidget *parent = nullptr);

    // Reads the month table on screen with the months around it and shows
    // them in the unit; false after a German message when there is no table
    // or it cannot be read (the window then keeps what it showed).
    bool showTable(const QString &tablePath, const QString &baseFolder, GlucoseUnit unit);
    // Reads the table shown last again, for a month that has changed.
    bool reload();
    // Shows months already read.
    void showMonths(const stats::ShownMonths &months, const QString &baseFolder);

    // Asks for a file and writes the doctor's report of the last three
    // months; false when cancelled or failed (the failure was shown).
    bool writeReport();

    int pageCount() const;
    QString pageTitle(int page) const;
    void showPage(int page);
    int currentPage() const;

signals:
    void reportWritten(const QString &path);

private:
    void buildPage(int page);
    void setPages(const QList<Page> &pages);

    ui::Services &m_ui;
    QTabWidget *m_tabs = nullptr;
    QList<Page> m_pages;
    QList<bool> m_built;
    stats::ShownMonths m_months;
    QString m_tablePath, m_baseFolder;
};

} // namespace statsview
