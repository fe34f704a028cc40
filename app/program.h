#pragma once
#include <memory>

#include "storage/monthmodel.h"

class QApplication;
class MonthCommands;
class TMainForm;
class TTabellenDlg;
class TDruckvorschauTabelleDlg;
class TDruckvorschau;
class TEingabeDlg;
class TNameEingDlg;
class THeaderBearbeitenDlg;
class TTagebuchSpeichernForm;
class TEinstellDlg;
class ImportDialog;
class BackupCommands;
namespace ui {
class Services;
}

// The program of one run: the month model and the windows that show it.
// The main window is made at once; every dialog when it is first needed,
// and then connected to the model and the commands (wire_*.cpp). The
// dialogs are children of the main window and go with it.
class Program {
public:
    Program(ui::Services &services, const Folders &folders);
    ~Program();
    Program(const Program &) = delete;
    Program &operator=(const Program &) = delete;

    ui::Services &ui;
    MonthModel model;

    TMainForm &mainForm() const { return *m_mainForm; }
    MonthCommands &commands() const { return *m_commands; }
    // The dialogs, made on first use.
    TEingabeDlg &entryDialog();
    TNameEingDlg &nameDialog();
    THeaderBearbeitenDlg &headerEditor();
    TTabellenDlg &tableWindow();
    TDruckvorschauTabelleDlg &tablePrintPreview();
    TDruckvorschau &graphPrintPreview();
    TTagebuchSpeichernForm &diaryBookWindow();
    TEinstellDlg &settingsDialog();
    ImportDialog &importDialog();
    // The backup commands; made at start-up, so that the end of the run
    // knows whether a file of the user changed.
    BackupCommands &backups() const { return *m_backups; }

private:
    friend std::unique_ptr<Program> createProgram(ui::Services &services);
    TMainForm *m_mainForm = nullptr;
    MonthCommands *m_commands = nullptr;
    TEingabeDlg *m_entry = nullptr;
    TNameEingDlg *m_name = nullptr;
    THeaderBearbeitenDlg *m_header = nullptr;
    TTabellenDlg *m_table = nullptr;
    TDruckvorschauTabelleDlg *m_tablePreview = nullptr;
    TDruckvorschau *m_graphPreview = nullptr;
    TTagebuchSpeichernForm *m_book = nullptr;
    TEinstellDlg *m_settings = nullptr;
    ImportDialog *m_import = nullptr;
    BackupCommands *m_backups = nullptr;
};

// Creates the main window in the current folder and connects the menu to
// the commands, all talking to the user through `services`; nullptr when
// start-up has to end the program.
std::unique_ptr<Program> createProgram(ui::Services &services);
// The application's German texts and desktop file name, set before any
// window is made.
void setUpApplication();
// The windows' icon from the icon theme; a started program sets it once its
// start is on screen.
void setApplicationIcon();
// Runs the program until the main window closes.
int runProgram(QApplication &app, ui::Services &services);
