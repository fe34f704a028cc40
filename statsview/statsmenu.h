#pragma once
#include <QString>

#include "stats/collection.h"

class QWidget;
namespace ui {
class Services;
}
namespace statsview {
class TStatistikDlg;
}

// The main menu's statistics commands. Each takes the month table on screen
// (CurrentTablePath), the program's folder (BaseFolder, which holds
// glykoval.ini and "Glykovalin-Daten") and the parent window; messages and
// file dialogs go through `ui`.
namespace statsmenu {

// "Statistik": the statistics window for the shown month and the last three
// months, shown modally.
void Statistik(ui::Services &ui, const QString &tablePath, const QString &baseFolder,
               QWidget *parent);

// "Arztbericht": asks for a PDF file, writes the report of the last three
// months and opens it.
void Arztbericht(ui::Services &ui, const QString &tablePath, const QString &baseFolder,
                 QWidget *parent);

// "Datei › Exportieren › Messwerte als CSV…": asks for a file and writes the
// shown month's readings as CSV.
void MesswerteAlsCsv(ui::Services &ui, const QString &tablePath, const QString &baseFolder,
                     QWidget *parent);

// The pieces, for the window's button and the tests.
class Months {
public:
    // Reads the shown month and the last three months; false (after a German
    // message) when there is no table or it cannot be read.
    bool read(ui::Services &ui, const QString &tablePath, const QString &baseFolder);
    stats::Collection shown, lastThree;
    QStringList missing; // German names of months without a table
};
// The window of the months, its report button connected.
statsview::TStatistikDlg *createStatistikDlg(ui::Services &ui, const Months &m,
                                             const QString &baseFolder, QWidget *parent);
// Asks for the file and writes the report; false when cancelled or failed
// (the failure was shown).
bool saveReport(ui::Services &ui, const stats::Collection &c, const QStringList &missing,
                const QString &baseFolder, QWidget *parent);

} // namespace statsmenu
