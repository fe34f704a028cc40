#pragma once
#include <QDialog>
#include <QFont>
#include <QImage>

#include <functional>

#include "graph/grapharea.h"
#include "graphprint.h"

class QCheckBox;
class QLabel;
class QPlainTextEdit;
class QPrinter;
class QPushButton;
class PictureBox;
class TMachPause;
class MonthModel;
namespace ui {
class Services;
}

// Preview of the graph print: the composed picture, the paper format and
// its description, printing. Title, time strip and monthly mean come from
// the session's last drawing pass.
class TDruckvorschau : public QDialog {
    Q_OBJECT
public:
    enum class Mode { WholeMonth, VisibleArea };

    TDruckvorschau(MonthModel &session, ui::Services &ui, QWidget *parent = nullptr);
    ~TDruckvorschau() override;

    // Where the picture comes from: the graph as the main window shows it.
    void setGraphSource(std::function<GraphArea::Shown()> source) { m_source = std::move(source); }
    // Waits while the main window repaints (its pause component).
    void setPause(TMachPause *pause) { m_pause = pause; }
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
    QImage composedPicture(const GraphArea::Shown &shown);

    MonthModel &m_model;
    ui::Services &m_ui;
    std::function<GraphArea::Shown()> m_source;
    TMachPause *m_pause = nullptr;
    QPrinter *m_printer = nullptr;
    QPrinter *m_ownPrinter = nullptr;
    Mode m_mode = Mode::WholeMonth;
    bool m_setupPending = true;
    bool m_destroyed = false;
    bool m_prepared = false; // the preview was opened in this run
    int m_turn = 0;
};
