#pragma once
#include <QMainWindow>
#include <functional>

#include "dialogs/optioncontrols.h"
#include "platform/picturebox.h"
#include "storage/appstate.h"
#include "storage/settingsstore.h"

class QAction;
class QLabel;
class QMenu;
class QPlainTextEdit;
class QScrollArea;
class QSplitter;
class QTextEdit;
class QTimer;
class TMachPause;
class TreadonlyDlg;
class TAboutBox;

// The main window: title strip, the scrollable month graph, the diary page.
class TMainForm : public QMainWindow {
    Q_OBJECT
public:
    explicit TMainForm(QWidget *parent = nullptr);
    ~TMainForm() override;

    // Start-up; false when the program has to end (data folders missing).
    bool FormCreate();
    // Restores placement, options, user and last month (once, after all
    // windows exist).
    void FirstPaint();
    // Lays out the controls as every paint does.
    void LayoutControls();
    void FormResize();
    // Stores the window state and options (the close handler's work); false
    // when a diary page that could not be stored keeps the window open.
    bool FormClose();
    // Redraws the stored month for a change of the view; never writes it.
    void redrawMonth();
    void LiesUhrzeitenEin();

    // Measurement mode toggle pair.
    void biszu4MessungenjeTagClick();
    void biszu8MessungenjeTagClick();
    // Sets the mode ticks and the matching graph template.
    void applyModeTicks(bool four, bool eight);

    void Hilfethemen1Click();
    void Infober1Click();
    void MesswerteClick();
    void MittelwertClick();

    SettingsStore settings() const { return SettingsStore(m_state.SettingsPath); }
    AppState &state() { return m_state; }
    QAction *menuAction(const QString &objectName) const;

    OptionControls *options() const { return m_options; }
    void setOptionControls(OptionControls *controls) { m_options = controls; }
    void setAboutBox(TAboutBox *box) { m_about = box; }
    void setReadonlyDlg(TreadonlyDlg *dlg) { m_readonly = dlg; }
    TreadonlyDlg *readonlyDlg() const { return m_readonly; }

    // Controls other windows reach.
    QWidget *client = nullptr; // the scrolled client area
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

    // Connections to the other windows, set where the program wires them up.
    struct Hooks {
        // Writes the time text into the entry dialog's time field.
        std::function<void(const QString &)> setEntryTime;
        // The slot now selected in the entry dialog.
        std::function<MeasurementSlot()> currentSlot;
        // Shows the user-name dialog modally.
        std::function<void()> askUserName;
        // The entry dialog's heading label.
        std::function<void(const QString &)> setEntryHeading;
        // Draws a month table (the drawing pass).
        std::function<void(const QString &)> drawMonth;
        // Loads the diary of a month table into the diary page.
        std::function<void(const QString &)> attachDiary;
        // Asks whether a changed diary page is to be stored (on close); false
        // when the window is to stay open for it.
        std::function<bool()> closeDiary;
        // Requests the re-selection of the last clicked day.
        std::function<void()> reselectDay;
        // Keeps the graph's pinned parts in place at the current scroll position.
        std::function<void()> repinGraph;
        // Called for each menu command not handled here, by object name.
        std::function<bool(const QString &)> command;
    } hooks;

    // Text of the entry dialog's time field when no entry dialog is wired.
    QString entryTimeText;

signals:
    void menuCommand(const QString &objectName);

protected:
    void closeEvent(QCloseEvent *e) override;
    void resizeEvent(QResizeEvent *e) override;
    void showEvent(QShowEvent *e) override;

private:
    void buildControls();
    void buildMenu();
    QAction *addEntry(QMenu *menu, const QString &name, const QString &caption);
    void runCommand(const QString &name);
    void switchMode(bool toEight, bool fromFourEntry);

    // Height the diary page keeps at least when the window is short.
    static constexpr int kDiaryMinimum = 220;

    AppState &m_state;
    QSplitter *m_split = nullptr;
    bool m_diaryHeightChosen = false; // the user moved the divider
    SimpleOptionControls m_defaultOptions;
    OptionControls *m_options = &m_defaultOptions;
    TAboutBox *m_about = nullptr;
    TreadonlyDlg *m_readonly = nullptr;
    bool m_closed = false;
};
