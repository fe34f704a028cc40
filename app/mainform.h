#pragma once
#include <QMainWindow>

#include "graph/grapharea.h"

class DiaryPage;
class MonthModel;
class QAction;
class QMenu;
class QSplitter;
class QTimer;
class SettingsStore;
class TAboutBox;
class TMachPause;
class TreadonlyDlg;
namespace ui {
class Services;
}

// The entries of the main menu, named as the menu names them.
struct MainMenu {
    // Datei
    QAction *NeuerstellenneuerMonatoderJahr1, *LiniendiagrammimBrowseranzeigen1;
    QAction *undalsGrafikanzeigen1, *undTabelleanzeigen1, *undTabellebearbeiten1;
    QAction *MesswertealsCSV1, *MesswerteausDatei1, *Sicherungerstellen1,
        *Sicherungwiederherstellen1, *Beenden1;
    // Bearbeiten
    QAction *DatenaktuellerTagebucheintraglschen1;
    // Drucken
    QAction *GrafikganzenMonatdrucken1, *GrafikNurSichtbarenBereichdrucken1, *Tabelledrucken1;
    QAction *AllegespeichertenTagebuchseitendrucken1, *Arztbericht1;
    // The entries of the menu bar itself.
    QAction *Einstellungen, *Mittelwert, *Messwerte, *Statistik1;
    // Tabelle
    QAction *anzeigen1, *aktuellebearbeiten1, *neuerstellen1;
    // Optionen
    QAction *Benutzernamendern1, *biszu4MessungenjeTag, *biszu8MessungenjeTag;
    // Hilfe
    QAction *Hilfethemen1, *Infober1;
};

// The main window: the title strip and the scrollable month graph, and the
// diary page of the selected day below it. It shows the month model's
// current month and follows its signals; the view commands "Messwerte",
// "Mittelwert" and the measure mode draw the stored month anew and never
// write it. It restores itself from the settings on its first paint and
// stores its state when it closes.
class TMainForm : public QMainWindow {
    Q_OBJECT
public:
    TMainForm(MonthModel &model, ui::Services &ui, QWidget *parent = nullptr);
    ~TMainForm() override;

    // The menu entries, for the commands of the other windows.
    const MainMenu &menu() const { return m_menu; }

    // Start-up; false when the program has to end (data folders missing).
    bool FormCreate();
    // Restores placement and options (once, before the window is shown, so
    // that its first frame has its place and size).
    void restoreWindow();
    // Runs once after the window's first frame: leftovers of interrupted
    // saves removed, the window restored if that has not happened yet, then
    // the user and the last month (or the name is asked for).
    void FirstPaint();
    void FormResize();
    // Stores the window state and options (the close handler's work); false
    // when a diary page that could not be stored keeps the window open.
    bool FormClose();
    // Ends the run without storing the window state (the first start's
    // "Abbrechen"): the window goes, runEnded() follows.
    void endWithoutStoring();

    // Measure mode toggle pair and the view commands of the menu bar.
    void biszu4MessungenjeTagClick();
    void biszu8MessungenjeTagClick();
    void MesswerteClick();
    void MittelwertClick();
    void Hilfethemen1Click();
    void Infober1Click();

    // The title strip names the user while no month is shown.
    void showUserName(const QString &name);
    // Before another month is made current: the diary page's changes are
    // offered for storing; false when the user keeps them on screen.
    bool leaveMonth();
    // Before the diary book is made: a changed page is offered for storing.
    bool storePageBeforeBook();
    // A month is drawn to its end.
    bool monthShown() const { return m_graph->isShown(); }
    // The graph as shown, for the graph print.
    GraphArea::Shown shownGraph() const;
    // Waits while the window repaints (the pause component).
    TMachPause &pause() const { return *m_pause; }
    // A maximised or minimised window comes back to its normal size.
    void restoreNormalSize();

signals:
    // The first paint found no user name: the user-name dialog asks for one.
    void userNameMissing();
    // The month table could not be read: "und Tabelle bearbeiten" follows.
    void unreadableTable();
    // The run is to end (the program's event loop quits).
    void runEnded();
    // The window has been painted with what the start shows (the month, or
    // the template while a question waits): work that shows nothing can follow.
    void startShown();

protected:
    void closeEvent(QCloseEvent *e) override;
    void resizeEvent(QResizeEvent *e) override;
    void showEvent(QShowEvent *e) override;
    void paintEvent(QPaintEvent *e) override;
    bool event(QEvent *e) override;

private:
    void buildMenu();
    QAction *addEntry(QMenu *menu, const char *name, const QString &caption);
    void connectViewCommands();
    void connectModel();
    void connectParts();
    bool makeFolders();
    void startAfterFirstFrame();
    void restoreOptions(const SettingsStore &st);
    void restorePlacement(const SettingsStore &st);
    void LayoutControls();
    // The measure mode's ticks and template.
    void showModeTicks();
    void switchMode(bool toEight);
    // The month drawn anew from what the model read.
    void redraw(MonthGraph::View view = MonthGraph::View::Values);
    // The month was read: drawn, and what the reading found said.
    void monthRead();
    void applyDiaryVisible(bool visible);
    void updatePrintBookEntry();

    // Milliseconds after showing by which the first-paint work runs even
    // when no frame was painted.
    static constexpr int kFirstPaintLatest = 500;
    // Height the diary page keeps at least when the window is short.
    static constexpr int kDiaryMinimum = 60;

    MonthModel &m_model;
    ui::Services &m_ui;
    MainMenu m_menu{};
    QSplitter *m_split = nullptr;
    GraphArea *m_graph = nullptr;
    DiaryPage *m_page = nullptr;
    TMachPause *m_pause = nullptr;
    QTimer *m_waitCursorTimer = nullptr;
    bool m_diaryHeightChosen = false; // the user moved the divider
    bool m_diaryShown = false;
    bool m_bookAvailable = false;
    QString m_noticeShown; // the passed-over lines notice last shown
    // Made when first shown.
    TAboutBox *m_about = nullptr;
    TreadonlyDlg *m_readonly = nullptr;
    bool m_firstPaintPending = true;
    bool m_windowRestored = false;
    bool m_closed = false;
};
