#pragma once
#include <QColor>
#include <QImage>
#include <QString>
#include <QStringList>
#include <array>
#include <future>
#include <optional>

#include "geometry.h"
#include "platform/filestamp.h"
#include "storage/monthread.h"

class MonthModel;
class QPainter;

// The month graph as a picture: a month table drawn onto the template of its
// measure mode with the limit lines, the normal band, the curve (and, for
// "Mittelwert", the monthly-mean line over it), the hints and the time strip.
// It draws pictures only; the window that shows them places the pinned
// parts (legend, time strip, mean caption, title) as it scrolls.
class MonthGraph {
public:
    // What a pass draws: the measured values, or the values with the
    // monthly-mean line drawn over them ("Mittelwert").
    enum class View { Values, ValuesAndMean };

    // Where the picture is shown: the visible width and the legend laid over
    // the graph's left edge, which the time strip and the captions are
    // centred against.
    struct Placement {
        int windowWidth = 793;
        int legendLeft = 0;
        int legendWidth = graphgeo::kLegendWidth;
        bool operator==(const Placement &) const = default;
    };

    explicit MonthGraph(const MonthModel &model);
    ~MonthGraph();
    MonthGraph(const MonthGraph &) = delete;
    MonthGraph &operator=(const MonthGraph &) = delete;

    // The picture a pass starts from (the template of the measure mode).
    void setTemplatePath(const QString &path) { m_templatePath = path; }
    const QString &templatePath() const { return m_templatePath; }
    // Starts decoding the template on another thread, so that a window can
    // lay out and paint first; the size is known at once (empty when the
    // file cannot be read). The next pass takes the decoded picture.
    QSize prepareTemplate();
    // The picture becomes the clean template; false (picture unchanged) when
    // the template cannot be read.
    bool showTemplate();

    // The drawing pass over the month as the model read it. A value that is
    // no number stops the curve at its line (what came before stays drawn).
    // Throws EConvertError when a limit or the pen width in the settings is
    // no number. False when the month could not be read or was cut short.
    bool draw(const monthread::Month &month, View view, const Placement &placement);
    // The time strip at the top of the picture, centred in the visible part
    // (nothing to do when it stands there already).
    void schreibTextInGrafik(const Placement &placement);

    const QImage &picture() const { return m_picture; }
    // The title strip's text of the last pass.
    const QString &TitleText() const { return m_title; }
    // The monthly-mean caption ("Monatlicher Mittelwert =") and its value
    // with the unit; both empty when the month has no mean.
    const QString &MeanCaptionText() const { return m_meanCaption; }
    const QString &MeanValueText() const { return m_meanValue; }
    // The caption as the window shows it: label in black, value in the
    // curve's colour (the mean curve's with the mean drawn).
    QImage meanCaptionPicture() const;
    const QString &TimeStripText() const { return m_timeStripText; }
    int TimeStripX() const { return m_timeStripX; }
    // "StiftBreite" as the last pass drew with it.
    QString PenWidthText() const { return QString::number(m_penWidth); }
    View view() const { return m_view; }

    // The pixels a reading's point covers relative to its place (x, y): a
    // pen of `width` with round caps from (x + 1, y) to (x, y + 1). Stroked
    // without antialiasing at whole-pixel places the pattern is the same
    // everywhere, so a pass works it out once and sets the pixels.
    static QList<QPoint> pointPixels(int width);

    // y of a reading; also sets LastPointY and PointColor.
    int ValueToY(int v);
    int LastPointY() const { return m_lastPointY; }
    QColor PointColor() const { return m_pointColor; }
    int HighLimitY() const { return m_highY; }
    int CriticalLimitY() const { return m_criticalY; }
    int LowLimitY() const { return m_lowY; }
    const QStringList &DayMeanPoints() const { return m_dayMeanPoints; }
    int PointCounter() const { return m_pointCounter; }
    // Limit colours (colour references), kept while the settings name none.
    quint32 HighColor = 0, CriticalColor = 0, LowColor = 0;

private:
    void ZeichneGrenzwerteLinie(const QString &kind, bool drawLine);
    void MachSchraffierung(int legendWidth);
    void drawFrame(bool lines, int legendWidth);
    void drawHint(const QString &text, int x, int y);
    void meanLine();
    void drawReadings(const monthread::Month &month, bool meanPass);
    void drawReading(QPainter &p, const QString &line);
    void collectDayMean(const QString &line, bool lastOfDay, const MonthResult &month);
    void setTitle(const monthread::Month &month);

    const MonthModel &m_model;
    QImage m_picture;
    QString m_templatePath;
    // The template's path and the state of its file.
    struct TemplateStamp {
        QString path;
        FileStamp file;
        bool operator==(const TemplateStamp &) const = default;
    };
    TemplateStamp templateStamp() const { return {m_templatePath, FileStamp::of(m_templatePath)}; }
    // The template as it was when it was read, and its picture.
    TemplateStamp m_templateStamp;
    QImage m_template;
    // A decode under way in the background, of the file as it was then.
    std::future<QImage> m_pendingTemplate;
    TemplateStamp m_pendingStamp;

    View m_view = View::Values;
    QStringList m_dayMeanPoints;
    int m_dayLastX = -1;
    int m_prevX = 0, m_prevY = 0;
    bool m_pointDrawn = false;
    int m_lastPointY = graphgeo::kZeroRow;
    QColor m_pointColor;
    QColor m_curveColor, m_meanCurveColor;
    int m_highY = 0, m_criticalY = 0, m_lowY = 0;
    int m_penWidth = 2;
    QList<QPoint> m_pointPixels; // pointPixels(m_penWidth + 1)
    int m_pointCounter = 0;
    QString m_title;
    QString m_timeStripText;
    int m_timeStripX = 0;
    std::optional<Placement> m_stripAt; // where the strip on the picture was drawn for
    QString m_meanCaption, m_meanValue;
};
