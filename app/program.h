#pragma once
#include <memory>

class QApplication;
class TMainForm;
class TAboutBox;
class TreadonlyDlg;
class TTabellenDlg;
class TDruckvorschauTabelleDlg;
class TDruckvorschau;
class TEingabeDlg;
class TNameEingDlg;
class THeaderBearbeitenDlg;
class TTagebuchSpeichernForm;
class DiaryPage;
class TEinstellDlg;
class TMonthGraph;

// All windows of a run, created in their fixed order and wired together.
struct Program {
    TMainForm *MainForm = nullptr;
    TAboutBox *AboutBox = nullptr;
    TreadonlyDlg *readonlyDlg = nullptr;
    // Entry dialog, user-name dialog, header editor.
    TEingabeDlg *EingabeDlg = nullptr;
    TNameEingDlg *NameEingDlg = nullptr;
    THeaderBearbeitenDlg *HeaderBearbeitenDlg = nullptr;
    // Table window, table print preview, graph print preview.
    TTabellenDlg *TabellenDlg = nullptr;
    TDruckvorschauTabelleDlg *DruckvorschauTabelleDlg = nullptr;
    TDruckvorschau *Druckvorschau = nullptr;
    // Diary book window.
    TTagebuchSpeichernForm *TagebuchSpeichernForm = nullptr;
    // Diary page of the selected day, settings dialog.
    DiaryPage *diaryPage = nullptr;
    TEinstellDlg *EinstellDlg = nullptr;
    // Month graph of the main window.
    TMonthGraph *MonthGraph = nullptr;
    ~Program();
};

// Creates and wires the windows; nullptr when start-up has to end the program.
std::unique_ptr<Program> createProgram();
// Runs the program until the main window closes.
int runProgram(QApplication &app);
