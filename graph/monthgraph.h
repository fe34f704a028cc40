#pragma once
#include <QColor>
#include <QImage>
#include <QObject>
#include <QSet>
#include <QString>
#include <QStringList>
#include <array>
#include <future>

#include "geometry.h"
#include "monthread.h"
#include "platform/filestamp.h"
#include "storage/monthsession.h"

class PictureBox;
class QLabel;
class QPainter;
class QScrollBar;
class QWidget;
namespace ui {
class Services;
}

// The pieces of the main window the graph draws into.
struct GraphWidgets {
    PictureBox *image = nullptr;     // Image: the graph bitmap
    PictureBox *legend = nullptr;    // M_einheit_Image
    PictureBox *meanImage = nullptr; // MittelwertImage
    QLabel *title = nullptr;         // Label1
    QLabel *status = nullptr;        // StatusLabel
    QScrollBar *hscroll = nullptr;   // the window's horizontal scroll bar
    QWidget *window = nullptr;       // its width centres the texts
    int windowWidth = 793;           // used when there is no window
};

// How a drawing pass draws.
struct DrawOptions {
    bool meanPass = false;    // the monthly-mean pass: day means and their line
    bool keepPicture = false; // onto the picture as it is, not onto a fresh template
    bool meanMode = false;    // the mean caption in the mean curve's colour
    int scrollPosition = 0;   // the scroll position restored after the pass
};

// The month graph: draws a month table onto the graph picture and keeps the
// pinned parts (legend, time strip, mean caption, title) in place while the
// window scrolls.
class TMonthGraph : public QObject {
    Q_OBJECT
public:
    TMonthGraph(const GraphWidgets &w, MonthSession &session, ui::Services &ui,
                QObject *parent = nullptr);

    // The picture a pass starts from (the template of the measure mode).
    void setTemplatePath(const QString &path) { m_templatePath = path; }
    const QString &templatePath() const { return m_templatePath; }
    // Puts a clean template picture into the graph's picture box; false
    // (picture unchanged) when the template cannot be read.
    bool showTemplate();
    // Sizes the picture box as the template from the file's header and
    // decodes the template in the background meanwhile, so that the window
    // lays out and paints first; the next showTemplate() takes the picture.
    void prepareTemplate();
    // Off for drawings that only render (the command-line tool): the pass
    // then neither stores the table's user as "BenutzerName" nor checks
    // whether the settings file can be written.
    void setStoresUserName(bool on) { m_storesUser = on; }

    // The drawing pass over a month table. Returns what it computed; its
    // `complete` is false when it stopped early: an unreadable table (warned,
    // then unreadableTable()), or a value that is no number (warned with file
    // and line; what came before stays drawn). Lines without a day 01..31
    // are passed over with one warning per file.
    MonthResult GrafikZeichnen(const QString &tablePath, const DrawOptions &options = {});
    // A pass ran to its end: a month is on screen.
    bool isShown() const { return m_shown; }

    // Time strip at the top of the graph.
    void schreibTextInGrafik();
    // Monthly-mean caption and the centred title label.
    void SchreibeMonatsMittelwInGrafik();
    // Limit line "hoch", "kritisch" or "tief".
    void ZeichneGrenzwerteLinie(const QString &kind);
    void MachSchraffierung();
    // y of a reading; also sets LastPointY and PointColor.
    int ValueToY(int v);

    // Restores a scroll position after a pass and asks for the day to be
    // selected again.
    void HorzScrollPositionEinstellen(int position);
    // Keeps legend, time strip, mean caption and title in place.
    void pinAfterScroll(bool overlapCorrection = true);
    // Ctrl+Right / Ctrl+Left; true when the key was used.
    bool FormKeyDown(int key, Qt::KeyboardModifiers modifiers);
    // Pointer readout for a point in graph picture coordinates.
    void FormMouseMove(const QPoint &graphPos);

    // What the last pass left behind.
    int LastPointY() const { return m_lastPointY; }
    QColor PointColor() const { return m_pointColor; }
    int HighLimitY() const { return m_highY; }
    int CriticalLimitY() const { return m_criticalY; }
    int LowLimitY() const { return m_lowY; }
    const QList<int> &DayEndLines() const { return m_month.dayEnds; }
    const QStringList &DayMeanPoints() const { return m_dayMeanPoints; }
    const QString &TitleText() const { return m_month.result.title; }
    const QString &TimeStripText() const { return m_timeStripText; }
    int TimeStripX() const { return m_timeStripX; }
    const QString &PenWidthText() const { return m_month.result.penWidthText; }
    int PointCounter() const { return m_pointCounter; }
    const QString &MeanCaptionText() const { return m_meanCaption; }
    // The warning about lines passed over in the last pass; empty when none.
    const QString &SkippedLinesNotice() const { return m_month.result.skippedNotice; }

    // Limit colours (colour references), kept while the settings name none.
    quint32 HighColor = 0, CriticalColor = 0, LowColor = 0;

signals:
    // The table could not be read; the window lets the user choose one.
    void unreadableTable(const QString &path);
    // The settings file cannot be written (read-only notice).
    void readOnlySettingsFile();
    // A pass restored the scroll position: the last clicked day is to be
    // selected again.
    void reselectRequested();
    // The window's layout is to follow (after a scroll by keys, an early stop).
    void layoutRequested();

private:
    QImage &pic();
    int winWidth() const;
    int legendLeft() const;
    int legendWidth() const;
    void drawHint(const QString &text, int x, int y);
    void meanLine();
    void drawFrame(const DrawOptions &o);
    void drawReadings(const DrawOptions &o);
    void drawReading(QPainter &p, const QString &line);
    void collectDayMean(const QString &line, bool lastOfDay);
    void storeUserAndCheckSettings();
    void setTitle(const DrawOptions &o);
    void finishPass(const DrawOptions &o);
    void showSkippedNotice();

    GraphWidgets m_w;
    MonthSession &m_session;
    ui::Services &m_ui;
    QString m_templatePath;
    // The template's path and the state of its file.
    struct TemplateStamp {
        QString path;
        FileStamp file;
        bool operator==(const TemplateStamp &) const = default;
    };
    TemplateStamp templateStamp() const { return {m_templatePath, FileStamp::of(m_templatePath)}; }
    // The template as it was when it was read, how often it was decoded
    // since, the decoded template once kept, and the picture box's picture
    // as long as it is an untouched template.
    TemplateStamp m_templateStamp;
    int m_templateDecodes = 0;
    QImage m_template;
    qint64 m_cleanTemplateKey = 0;
    // A decode under way in the background, of the file as it was then.
    std::future<QImage> m_pendingTemplate;
    TemplateStamp m_pendingStamp;
    bool m_storesUser = true;
    bool m_shown = false;
    bool m_meanMode = false;
    monthread::Month m_month;
    QStringList m_dayMeanPoints;
    std::array<int, 8> m_daySlots{};
    int m_dayLastX = -1;
    int m_prevX = 0, m_prevY = 0;
    bool m_pointDrawn = false;
    int m_lastPointY = graphgeo::kZeroRow;
    QColor m_pointColor;
    QColor m_curveColor, m_meanCurveColor;
    int m_highY = 0, m_criticalY = 0, m_lowY = 0;
    int m_penWidth = 2;
    bool m_frameKept = false; // limits and band are on the kept picture already
    int m_pointCounter = 0;
    QString m_noticeShown; // the passed-over lines notice last shown
    QString m_timeStripText;
    int m_timeStripX = 0;
    QString m_meanCaption;
};
