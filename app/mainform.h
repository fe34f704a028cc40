#pragma once
#include <QMainWindow>
#include <functional>

#include "platform/picturebox.h"
#include "storage/monthsession.h"
#include "storage/optioncontrols.h"

class DiaryPage;
class QAction;
class QLabel;
class QMenu;
class QScrollArea;
class QSplitter;
class QTextEdit;
class QTimer;
class TAboutBox;
class TMachPause;
class TMonthGraph;
class TreadonlyDlg;
struct DrawOptions;
namespace ui {
class Services;
}

// The entries of the main menu, named as the menu names them.
struct MainMenu {
    // Datei
    QAction *NeuerstellenneuerMonatoderJahr1, *LiniendiagrammimBrowseranzeigen1;
    QAction *undalsGrafikanzeigen1, *undTabelleanzeigen1, *undTabellebearbeiten1;
    QAction *MesswertealsCSV1, *Beenden1;
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

// The main window: title strip, the scrollable month graph and the diary
// page of the selected day below it. It draws the session's month (the view
// commands "Messwerte", "Mittelwert" and the measure mode redraw the stored
// month, they never write it), restores itself from the settings on its first
// paint and stores its state when it closes.
class TMainForm : public QMainWindow {
    Q_OBJECT
public:
    TMainForm(MonthSession &session, ui::Services &ui, QWidget *parent = nullptr);
    ~TMainForm() override;

    // Start-up; false when the program has to end (data folders missing).
    bool FormCreate();
    // Restores placement and options (once, before the window is shown, so
    // that its first frame has its place and size).
    void restoreWindow();
    // What makes the program's other windows; it runs once, at the start of
    // FirstPaint() unless the program ran it before.
    void setOtherWindowsMaker(std::function<void()> make);
    // Runs once after the window's first frame: the other windows are made,
    // leftovers of interrupted saves removed, the window restored if that
    // has not happened yet, the template shown, then the user and the last
    // month (or the name is asked for).
    void FirstPaint();
    // Lays out the controls as every paint does.
    void LayoutControls();
    void FormResize();
    // Stores the window state and options (the close handler's work); false
    // when a diary page that could not be stored keeps the window open.
    bool FormClose();

    // The drawing pass over a month table with the window's display flags;
    // the session keeps what it computed. Emits monthDrawn().
    void drawMonth(const QString &tablePath);
    // Draws the stored month again for a change of the view; never writes it.
    void redrawMonth();

    // Measure mode toggle pair and the view commands of the menu bar.
    void biszu4MessungenjeTagClick();
    void biszu8MessungenjeTagClick();
    void MesswerteClick();
    void MittelwertClick();
    // A month opened as graph: drawn as "Messwerte" draws, in one pass.
    void showMonth(const QString &tablePath);
    void Hilfethemen1Click();
    void Infober1Click();
    // Sets the mode ticks and the matching graph template.
    void applyModeTicks(bool four, bool eight);
    // The title strip names the user.
    void showUserName(const QString &name);
    // Ends the run without storing the window state (the first start's
    // "Abbrechen"): the window goes, runEnded() follows.
    void endWithoutStoring();
    // Shows or hides the diary page (the settings dialog's check box).
    void applyDiaryVisible(bool visible);

    TMonthGraph &graph() { return *m_graph; }
    DiaryPage &page() { return *m_page; }
    OptionControls *options() const { return m_options; }
    // The settings window takes over the options with their present values.
    void setOptionControls(OptionControls *controls);

    MainMenu menu{};

    // Controls other windows reach.
    QWidget *client = nullptr; // the scrolled graph area
    QScrollArea *formScroll = nullptr;
    QWidget *Panel1 = nullptr;
    PictureBox *Image2 = nullptr;
    QLabel *Label1 = nullptr;
    QWidget *ScrollBox1 = nullptr;
    PictureBox *Image = nullptr;
    PictureBox *M_einheit_Image = nullptr;
    PictureBox *MittelwertImage = nullptr;
    PictureBox *Pfeilimage = nullptr;
    PictureBox *LeerImage = nullptr;
    QLabel *StatusLabel = nullptr;
    QTextEdit *RichEdit1 = nullptr;
    TMachPause *MachPause1 = nullptr;
    QTimer *TimerEieruhr = nullptr;

signals:
    // The first paint found no user name: the user-name dialog asks for one.
    void userNameMissing();
    // The first paint found the stored user name.
    void userNameKnown(const QString &name);
    // A drawing pass over a table ended; the entry list follows the file.
    void monthDrawn(const QString &tablePath);
    // The measure mode changed: the entry dialog takes its slot's time.
    void measureModeChanged();
    // The table could not be read: "und Tabelle bearbeiten" follows.
    void unreadableTable(const QString &tablePath);
    // The run is to end (the program's event loop quits).
    void runEnded();

protected:
    void closeEvent(QCloseEvent *e) override;
    void resizeEvent(QResizeEvent *e) override;
    void showEvent(QShowEvent *e) override;
    void paintEvent(QPaintEvent *e) override;

private:
    void buildControls();
    void buildGraphArea();
    void buildMenu();
    QAction *addEntry(QMenu *menu, const char *name, const QString &caption);
    void connectViewCommands();
    void buildGraph();
    void buildDiaryPage();
    bool makeFolders();
    void startAfterFirstFrame();
    void restoreOptions(const SettingsStore &st);
    void restorePlacement(const SettingsStore &st);
    void fitClientHeight(int contentWidth, int full);
    void switchMode(bool toEight, bool fromFourEntry);
    void curveView();

    // Milliseconds after showing by which the first-paint work runs even
    // when no frame was painted.
    static constexpr int kFirstPaintLatest = 500;
    // Height the diary page keeps at least when the window is short.
    static constexpr int kDiaryMinimum = 220;
    // Blank room under the readout line while the graph area has room for it.
    static constexpr int kBottomMargin = 20;

    MonthSession &m_session;
    ui::Services &m_ui;
    TMonthGraph *m_graph = nullptr;
    DiaryPage *m_page = nullptr;
    QSplitter *m_split = nullptr;
    bool m_diaryHeightChosen = false; // the user moved the divider
    SimpleOptionControls m_defaultOptions;
    OptionControls *m_options = &m_defaultOptions;
    // Made when first shown.
    TAboutBox *m_about = nullptr;
    TreadonlyDlg *m_readonly = nullptr;
    // Display flags of the graph.
    bool m_meanMode = false;    // the mean caption in the mean curve's colour
    bool m_keepPicture = false; // draw onto the picture shown
    bool m_meanPass = false;    // the pass under way is the monthly-mean pass
    bool m_firstPaintPending = true;
    std::function<void()> m_makeOtherWindows;
    bool m_windowRestored = false;
    bool m_closed = false;
};
