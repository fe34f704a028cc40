#pragma once
#include <QFont>
#include <QImage>
#include <QScrollArea>
#include <memory>

#include "monthgraph.h"
#include "monthpieces.h"

class MonthModel;
class PictureBox;
class QLabel;
namespace ui {
class Services;
}

// The graph part of the main window: the title strip and, in a horizontally
// scrolling box, the month graph with the legend of its value scale, the
// monthly-mean caption, the day marker and the pointer readout below it. It shows the
// month model's current month; legend, time strip, caption and title stay
// in the visible part while it scrolls.
class GraphArea : public QScrollArea {
    Q_OBJECT
public:
    GraphArea(const MonthModel &model, ui::Services &ui, QWidget *parent = nullptr);
    ~GraphArea() override;

    // What a print takes of the graph on screen.
    struct Shown : MonthPieces {
        // The title strip and the part of the graph in view, without the
        // readout and the title (a print writes the title itself), and where
        // the graph's top left lies in it.
        QImage visibleArea;
        QPoint graphOrigin;
    };

    // Start-up: the legend and title-strip pictures, and the size of the
    // graph template, read at once; their pixels are decoded while the first
    // frame is painted.
    void prepare(const QString &legendPath, const QString &headerPath);
    // The legend and the readout follow the model's unit (the month is
    // drawn anew by the window, for the mean caption).
    void showUnit();
    // The template of the measure mode (the next drawing takes it).
    void setTemplatePath(const QString &path);
    const QString &templatePath() const;
    // The clean template without a month (before one is drawn, or none).
    void showTemplate();
    // Draws the model's month: the measured values, or the values with the
    // monthly-mean line over them. Throws EConvertError when a limit or the
    // pen width is no number. False when the month could not be drawn to
    // its end.
    bool drawMonth(MonthGraph::View view = MonthGraph::View::Values);
    // The title strip's text while no month is shown.
    void showTitle(const QString &text);
    // A month is drawn to its end.
    bool isShown() const { return m_shown; }
    MonthGraph::View view() const { return m_graph->view(); }

    int scrollPosition() const;
    void setScrollPosition(int position);
    // Ctrl+Right / Ctrl+Left: one day further or back.
    void scrollByDays(int days);

    // The marker above the selected day's column; hidden for day 0.
    void markDay(int day);
    void setDayMarkAllowed(bool allowed);

    // Lays out the strip, the graph and the readout; the height the whole
    // graph needs, with a horizontal scroll bar.
    void layOut();
    int fullHeight() const;

    Shown shown() const;
    const MonthGraph &graph() const { return *m_graph; }

signals:
    // A click on the graph, any button, at x in the main window's client area.
    void clicked(int clientX);
    // The window's layout is to follow (after a scroll by keys).
    void layoutRequested();

protected:
    void resizeEvent(QResizeEvent *e) override;

private:
    void buildControls();
    void placeCaption();
    void pin(bool overlapCorrection);
    void pointerMoved(const QPoint &graphPos);
    void showReadout(const QString &caption, int x);
    MonthGraph::Placement placement() const;
    void fitClientHeight(int contentWidth, int full);

    // Blank room under the readout line while the area has room for it.
    static constexpr int kBottomMargin = 20;

    const MonthModel &m_model;
    ui::Services &m_ui;
    std::unique_ptr<MonthGraph> m_graph;
    bool m_shown = false;
    QString m_note;       // readings the graph does not draw
    QString m_legendPath; // the mg/dl legend's picture file
    bool m_dayMarkAllowed = true;
    int m_markedDay = 0;
    QWidget *m_client = nullptr;
    QWidget *m_panel = nullptr;
    PictureBox *m_header = nullptr;
    QLabel *m_title = nullptr;
    QWidget *m_box = nullptr;
    PictureBox *m_image = nullptr;
    PictureBox *m_legend = nullptr;
    PictureBox *m_meanImage = nullptr;
    PictureBox *m_blankImage = nullptr;
    PictureBox *m_arrow = nullptr;
    QLabel *m_status = nullptr;
};
