#pragma once
#include <QString>

#include "storage/glucoseunit.h"

class QWidget;
namespace ui {
class Services;
}

// The main menu's statistics commands. Each takes the month table on screen
// (CurrentTablePath), the program's folder (BaseFolder, which holds
// glykoval.ini and "Glykovalin-Daten") and the parent window; messages and
// file dialogs go through `ui`.
namespace statsmenu {

// "Statistik": the statistics window for the shown month and the last three
// months in the unit, shown modally.
void Statistik(ui::Services &ui, const QString &tablePath, const QString &baseFolder,
               GlucoseUnit unit, QWidget *parent);

// "Arztbericht": asks for a PDF file, writes the report of the last three
// months in the unit and opens it.
void Arztbericht(ui::Services &ui, const QString &tablePath, const QString &baseFolder,
                 GlucoseUnit unit, QWidget *parent);

// "Datei › Exportieren › Messwerte als CSV…": asks for a file and writes
// every reading of the shown month as CSV.
void MesswerteAlsCsv(ui::Services &ui, const QString &tablePath, const QString &baseFolder,
                     QWidget *parent);

} // namespace statsmenu
