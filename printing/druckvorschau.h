#pragma once
#include <QDialog>
#include <QFont>
#include <QImage>

#include "graphprint.h"

class QCheckBox;
class QLabel;
class QPlainTextEdit;
class QPrinter;
class QPushButton;
class PictureBox;
class TMachPause;
class MonthSession;
namespace ui {
class Services;
}

// The pieces of the main window the graph print takes its picture from.
struct GraphPrintSources {
    PictureBox *graph = nullptr;    // Image
    PictureBox *header = nullptr;   // Image2
    QLabel *title = nullptr;        // Label1
    QLabel *status = nullptr;       // StatusLabel
    QWidget *shownArea = nullptr;   // what the main window shows (its client area)
    QWidget *diaryEditor = nullptr; // RichEdit1; its height is left out of the visible area
    // Waits while messages are processed (the main window's MachPause1).
    TMachPause *pause = nullptr;
};

// Preview of the graph print: the composed picture, the paper format and
// its description, printing. Title, time strip and monthly mean come from
// the session's last drawing pass.
class TDruckvorschau : public QDialog {
    Q_OBJECT
public:
    enum class Mode { WholeMonth, VisibleArea };

    TDruckvorschau(MonthSession &session, ui::Services &ui, QWidget *parent = nullptr);
    ~TDruckvorschau() override;

    void setSources(const GraphPrintSources &sources) { m_src = sources; }
    // The printer used for "&Drucken"; the dialog's own one when not set.
    void setPrinter(QPrinter *printer) { m_printer = printer; }
    QPrinter *printer() const;

    // Arms composing a new picture for the next showing.
    void prepare(Mode mode);
    // Composes the picture when one is pending (the work of the first paint
    // after prepare()).
    void FormPaint();

    void DIN4CheckBoxClick();
    void DIN5CheckBoxClick();
    void DIN6CheckBoxClick();
    void DruckenBtnClick();
    void CancelButtonClick();
    // Stores the ticked format (DIN A4 when none) as the dialog ends.
    void FormDestroy();
    // Turns the picture for the upright layout, or undoes the turn when the
    // turn state is 2.
    void BitmapDrehen_90Grad(QImage &bitmap);

    // The format of the ticked box.
    graphprint::Format tickedFormat() const;
    int turnState() const { return m_turn; }
    const QImage &previewPicture() const;
    Mode mode() const { return m_mode; }
    bool setupPending() const { return m_setupPending; }

    static QString descriptionA4();
    static QString descriptionA5();
    static QString descriptionA6();

    PictureBox *DruckImage = nullptr;
    PictureBox *TempImage = nullptr;
    QPlainTextEdit *Memo1 = nullptr;
    QLabel *Label2 = nullptr;
    QCheckBox *DIN4CheckBox = nullptr;
    QCheckBox *DIN5CheckBox = nullptr;
    QCheckBox *DIN6CheckBox = nullptr;
    QPushButton *DruckenBtn = nullptr;
    QPushButton *CancelButton = nullptr;
    TMachPause *MachPause1 = nullptr;

    // Closing without printing stores the ticked format as "&Abbrechen" does.
    void reject() override;

protected:
    void showEvent(QShowEvent *e) override;

private:
    void layoutLandscape(int left);
    void layoutUpright();
    void formatClick(QCheckBox *self, QCheckBox *other1, QCheckBox *other2);
    void storeFormat(graphprint::Format f);
    void pauseFor(int ms);
    QImage composedPicture(const QString &title);

    MonthSession &m_session;
    ui::Services &m_ui;
    GraphPrintSources m_src;
    QPrinter *m_printer = nullptr;
    QPrinter *m_ownPrinter = nullptr;
    Mode m_mode = Mode::WholeMonth;
    bool m_setupPending = true;
    bool m_destroyed = false;
    bool m_prepared = false; // the preview was opened in this run
    int m_turn = 0;
};
