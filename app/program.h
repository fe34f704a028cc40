#pragma once
#include <memory>

#include "storage/monthsession.h"

class QApplication;
class QObject;
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
namespace ui {
class Services;
}

// The program of one run: the month it works on and all its windows, made
// in their fixed order and connected to each other (see the wiring in
// program.cpp and the wire_*.cpp files). The dialogs are children of the
// main window and go with it.
struct Program {
    Program(ui::Services &services, const Folders &folders);
    ~Program();
    Program(const Program &) = delete;
    Program &operator=(const Program &) = delete;

    // Makes and connects the windows other than the main window, once. The
    // main window's first frame does not wait for them: they are made right
    // after it, or at the first key or mouse press before that.
    void makeOtherWindows();

    ui::Services &ui;
    MonthSession session;

    TMainForm *MainForm = nullptr;
    // Entry dialog, user-name dialog, header editor, and the month commands.
    TEingabeDlg *EingabeDlg = nullptr;
    TNameEingDlg *NameEingDlg = nullptr;
    THeaderBearbeitenDlg *HeaderBearbeitenDlg = nullptr;
    MonthCommands *commands = nullptr;
    // Table window, table print preview, graph print preview.
    TTabellenDlg *TabellenDlg = nullptr;
    TDruckvorschauTabelleDlg *DruckvorschauTabelleDlg = nullptr;
    TDruckvorschau *Druckvorschau = nullptr;
    // Diary book window; settings dialog.
    TTagebuchSpeichernForm *TagebuchSpeichernForm = nullptr;
    TEinstellDlg *EinstellDlg = nullptr;

private:
    friend std::unique_ptr<Program> createProgram(ui::Services &services);
    bool m_othersMade = false;
    std::unique_ptr<QObject> m_inputWatch;
};

// Creates and connects the windows in the current folder, all talking to the
// user through `services`; nullptr when start-up has to end the program.
std::unique_ptr<Program> createProgram(ui::Services &services);
// The application's German texts, desktop file name and icon, set before
// any window is made.
void setUpApplication();
// Runs the program until the main window closes.
int runProgram(QApplication &app, ui::Services &services);
