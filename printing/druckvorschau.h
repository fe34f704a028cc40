#pragma once
#include <QDialog>
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

// Preview of the graph print: the picture composed from the graph as the
// main window shows it, the paper format (DIN A4 upright with the picture
// turned, DIN A5 or A6 landscape) with its description, and printing. The
// ticked format is stored whenever the dialog closes.
class TDruckvorschau : public QDialog {
    Q_OBJECT
public:
    enum class Mode { WholeMonth, VisibleArea };

    TDruckvorschau(MonthModel &model, ui::Services &ui, QWidget *parent = nullptr);
    ~TDruckvorschau() override;

    // Where the picture comes from: the graph as the main window shows it.
    void setGraphSource(std::function<GraphArea::Shown()> source) { m_source = std::move(source); }
    // Waits while the main window repaints (its pause component); the
    // dialog's own one when none is set.
    void setPause(TMachPause *pause) { m_pause = pause; }
    // The printer used for "&Drucken"; the dialog's own one when not set.
    void setPrinter(QPrinter *printer) { m_printer = printer; }
    QPrinter *printer() const;

    // A graph print from the menu: composes the picture and shows the
    // preview modally.
    void showPreview(Mode mode);
    // Composes the picture of the whole month or of the part in view, after
    // a pause in which the main window repaints, and ticks the stored format.
    void compose(Mode mode);

    // The format of the ticked box.
    graphprint::Format tickedFormat() const;
    // 0: the picture as composed, 1: turned for DIN A4.
    int turnState() const { return m_turn; }
    // The picture as the preview shows it, and as it was composed.
    const QImage &previewPicture() const;
    const QImage &composedPicture() const;

    static QString descriptionA4();
    static QString descriptionA5();
    static QString descriptionA6();

    // Closing without printing stores the ticked format as "&Abbrechen" does.
    void reject() override;

private:
    void layoutLandscape(int left);
    void layoutUpright();
    void formatClick(QCheckBox *self, QCheckBox *other1, QCheckBox *other2);
    // Turns the preview picture for the upright layout, or undoes the turn
    // when the turn state is 2.
    void BitmapDrehen_90Grad();
    void DruckenBtnClick();
    // Stores the ticked format; before the first choice, DIN A4.
    void storeFormat();
    void pauseFor(int ms);
    QImage pictureOf(const GraphArea::Shown &shown, Mode mode) const;

    MonthModel &m_model;
    ui::Services &m_ui;
    std::function<GraphArea::Shown()> m_source;
    TMachPause *m_pause = nullptr;
    QPrinter *m_printer = nullptr;
    QPrinter *m_ownPrinter = nullptr;
    int m_turn = 0;

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
};
