#pragma once
#include <QColor>
#include <QImage>
#include <QSet>
#include <QString>
#include <QStringList>
#include <array>
#include <functional>

#include "geometry.h"
#include "monthvalues.h"
#include "storage/entryline.h"

class PictureBox;
class QLabel;
class QPainter;
class QPlainTextEdit;
class QScrollBar;
class QWidget;

// The pieces of the main window the graph draws into.
struct GraphWidgets {
    PictureBox *image = nullptr;     // Image: the graph bitmap
    PictureBox *legend = nullptr;    // M_einheit_Image
    PictureBox *meanImage = nullptr; // MittelwertImage
    QLabel *title = nullptr;         // Label1
    QLabel *status = nullptr;        // StatusLabel
    QPlainTextEdit *memo = nullptr;  // Memo1: the table file as read
    QScrollBar *hscroll = nullptr;   // the window's horizontal scroll bar
    QWidget *window = nullptr;       // its width centres the texts
};

// The month graph: draws a month table onto the graph picture and keeps the
// pinned parts in place while the window scrolls.
class TMonthGraph {
public:
    explicit TMonthGraph(const GraphWidgets &w);

    // Steps that reach other windows; each may stay unset.
    struct Callbacks {
        // Stores the table as "TabellenDateiName" and attaches its diary.
        std::function<void(const QString &)> attachTable;
        std::function<void(const QString &)> setEntryYear;
        std::function<void()> clearEntryList;
        std::function<void(const QString &)> addEntry;
        std::function<void(const QString &)> setEntryMonth;
        // The read-only notice, modally.
        std::function<void()> showReadonlyNotice;
        // "und Tabelle bearbeiten" after an unreadable table.
        std::function<void()> openForEditing;
        std::function<void()> formResize;
        // Re-selects the last clicked day.
        std::function<void()> reselectDay;
        // Width of the window when no window widget is given.
        std::function<int()> windowWidth;
    } callbacks;

    // The drawing pass; false when it stopped early (unreadable table or a
    // value that is no number, the message was shown). Entry lines without a
    // day 01..31 are passed over; one warning after the pass names them.
    bool GrafikZeichnen(const QString &tablePath);
    // Time strip at the top of the graph.
    void schreibTextInGrafik();
    // Monthly-mean caption and the centred title label.
    void SchreibeMonatsMittelwInGrafik();
    // Limit line "hoch", "kritisch" or "tief".
    void ZeichneGrenzwerteLinie(const QString &kind);
    void MachSchraffierung();
    // Draws one entry line: mode "oben" (curve) or "Mittelwert" (mean pass).
    void ZeichneInGrafik(const QString &line, const QString &mode);
    // y of a reading; also sets LastPointY and PointColor.
    int ValueToY(int v);

    // Scrolling.
    void HorzScrollPositionEinstellen();
    // Keeps legend, time strip, mean caption and title in place.
    void pinAfterScroll(bool overlapCorrection = true);
    // Ctrl+Right / Ctrl+Left; true when the key was used.
    bool FormKeyDown(int key, Qt::KeyboardModifiers modifiers);
    // Pointer readout for a point in graph picture coordinates.
    void FormMouseMove(const QPoint &graphPos);

    // Results of the last pass.
    const MonthValues &values() const { return m_values; }
    int LastPointY() const { return m_lastPointY; }
    QColor PointColor() const { return m_pointColor; }
    int HighLimitY() const { return m_highY; }
    int CriticalLimitY() const { return m_criticalY; }
    int LowLimitY() const { return m_lowY; }
    const QStringList &DayEndLines() const { return m_dayEndLines; }
    const QStringList &DayMeanPoints() const { return m_dayMeanPoints; }
    const QString &TitleText() const { return m_titleText; }
    const QString &TimeStripText() const { return m_timeStripText; }
    int TimeStripX() const { return m_timeStripX; }
    const QString &PenWidthText() const { return m_penWidthText; }
    int PointCounter() const { return m_pointCounter; }
    const QString &MeanCaptionText() const { return m_meanCaption; }
    // The warning about lines passed over in the last pass; empty when none.
    const QString &SkippedLinesNotice() const { return m_skippedNotice; }

    // Whether a pass stores "BenutzerName" and checks the settings file
    // (off for exports that only render).
    bool storeSettings = true;
    // Limit colours (colour references) as the settings dialog picks them.
    quint32 HighColor = 0, CriticalColor = 0, LowColor = 0;

    // Builds the list of memo line indices that end a day.
    static QStringList dayEndLinesOf(const QStringList &lines);

private:
    QImage &pic();
    int winWidth() const;
    int legendLeft() const;
    int legendWidth() const;
    void drawHint(const QString &text, int x, int y);
    void meanLine();
    int penWidth() const;

    GraphWidgets m_w;
    MonthValues m_values;
    QStringList m_dayEndLines;
    QSet<int> m_dayEnds;
    QStringList m_dayMeanPoints;
    std::array<int, 8> m_daySlots{};
    int m_dayLastX = -1;
    bool m_lastOfDay = false;
    int m_prevX = 0, m_prevY = 0;
    bool m_pointDrawn = false;
    int m_lastPointY = graphgeo::kZeroRow;
    QColor m_pointColor;
    int m_highY = 0, m_criticalY = 0, m_lowY = 0;
    QString m_penWidthText = QStringLiteral("2");
    int m_penWidth = 2;
    QPainter *m_painter = nullptr;
    QString m_noticeShown;    // the passed-over lines notice last shown
    bool m_frameKept = false; // limits and band are on the kept picture already
    int m_pointCounter = 0;
    QString m_titleText, m_tableDate, m_tableUser;
    QString m_timeStripText;
    int m_timeStripX = 0;
    QString m_meanCaption;
    QString m_skippedNotice;
};
