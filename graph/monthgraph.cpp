#include "monthgraph.h"

#include <QPainter>
#include <QSet>
#include <QVarLengthArray>

#include "platform/colorref.h"
#include "platform/fonts.h"
#include "platform/picturebox.h"
#include "storage/limits.h"
#include "storage/monthmodel.h"
#include "storage/monthvalues.h"
#include "storage/readings.h"
#include "storage/settingsstore.h"

namespace {

const QColor kInRange(0, 255, 0);

QPen pen(const QColor &c, int width) {
    return QPen(c, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

} // namespace

QList<QPoint> MonthGraph::pointPixels(int width) {
    const int margin = width + 2;
    QImage stroke(2 * margin + 2, 2 * margin + 2, QImage::Format_RGB32);
    stroke.fill(Qt::white);
    QPainter p(&stroke);
    p.setPen(pen(Qt::black, width));
    p.drawLine(margin + 1, margin, margin, margin + 1);
    p.end();
    QList<QPoint> out;
    for (int y = 0; y < stroke.height(); ++y)
        for (int x = 0; x < stroke.width(); ++x)
            if (stroke.pixel(x, y) != QColor(Qt::white).rgb()) out.append({x - margin, y - margin});
    return out;
}

MonthGraph::MonthGraph(const MonthModel &model) : m_model(model), m_pointColor(kInRange) {}

MonthGraph::~MonthGraph() = default;

int MonthGraph::ValueToY(int v) {
    const int y = graphgeo::valueY(v);
    m_lastPointY = y;
    if (y <= m_highY)
        m_pointColor = colorref::toColor(HighColor);
    else if (y <= m_criticalY)
        m_pointColor = colorref::toColor(CriticalColor);
    else if (y < m_lowY)
        m_pointColor = kInRange;
    else
        m_pointColor = colorref::toColor(LowColor);
    return y;
}

// A limit's row and colour; its line only when the frame is drawn (the mean
// drawn over the curve finds it there already and would cover the curve).
void MonthGraph::ZeichneGrenzwerteLinie(const QString &kind, bool drawLine) {
    const SettingsStore st = m_model.settings();
    QString valueKey, colorKey;
    int *row = nullptr;
    quint32 *color = nullptr;
    if (kind.contains(QStringLiteral("hoch"))) {
        valueKey = keys::Hochwerte, colorKey = keys::FarbeHochwerte;
        row = &m_highY, color = &HighColor;
    } else if (kind.contains(QStringLiteral("kritisch"))) {
        valueKey = keys::Kritischwerte, colorKey = keys::FarbeKritischwerte;
        row = &m_criticalY, color = &CriticalColor;
    } else if (kind.contains(QStringLiteral("tief"))) {
        valueKey = keys::Tiefwerte, colorKey = keys::FarbeTiefwerte;
        row = &m_lowY, color = &LowColor;
    } else {
        return;
    }
    const int y = graphgeo::limitRowY(limits::limit(valueKey, st.get(valueKey)));
    *row = y;
    *color = st.color(colorKey, *color);
    if (!drawLine) return;
    QPainter p(&m_picture);
    p.setPen(QPen(colorref::toColor(*color), 1));
    p.drawLine(graphgeo::kGridLeft, y, graphgeo::kLimitLineEnd, y);
}

void MonthGraph::MachSchraffierung(int legendWidth) {
    QPainter p(&m_picture);
    p.setPen(QPen(Qt::white, 1));
    p.setBrush(QBrush(kInRange, Qt::BDiagPattern));
    // The outline covers the first and last row and column of the rectangle
    // (right and bottom edges exclusive).
    const int x1 = legendWidth, y1 = m_criticalY + 1;
    const int x2 = m_picture.width() - 24, y2 = m_lowY;
    if (x2 - x1 >= 2 && y2 - y1 >= 2) p.drawRect(x1, y1, x2 - x1 - 1, y2 - y1 - 1);
}

// One reading of the measurement curve: a 0 takes the height and colour of
// the reading before it; the first reading drawn gets no connecting line.
void MonthGraph::drawReading(QPainter &p, const QString &line) {
    const MeasureMode mode = m_model.mode();
    MeasurementSlot slot = MeasurementSlot::Morgens;
    const int day = entryline::readingDay(line);
    long double num = 0;
    if (!monthvalues::slotOfLine(line, slot) || !slotinfo::usedIn(slot, mode)) return;
    if (!monthvalues::toNumber(entryline::valueOf(line), num)) return;
    const int v = int(num);
    // Above 500 is no reading; a 0 (an entry opened for correction) keeps
    // the curve at the height of the reading before it.
    if (v < 0 || v > glucose::kMaxReading) return;
    const int x = graphgeo::SlotX(day, slot, mode);
    if (v != 0) ValueToY(v);
    const int y = m_lastPointY;
    const int w = m_penWidth;
    if (m_pointDrawn) {
        p.setPen(pen(m_curveColor, w));
        p.drawLine(x, y, m_prevX, y <= m_prevY ? m_prevY - w : m_prevY + w);
    }
    QVarLengthArray<QPoint, 128> dot;
    for (const QPoint &d : std::as_const(m_pointPixels))
        dot.append(d + QPoint(x, y));
    p.setPen(QPen(m_pointColor, 1));
    p.drawPoints(dot.constData(), int(dot.size()));
    m_pointDrawn = true;
    m_prevX = x;
    m_prevY = y;
}

// The monthly-mean pass: the day's last drawn slot gives the place of the
// point of the day's mean, which counts the day's readings as every mean of
// the month does (a day without readings has none).
void MonthGraph::collectDayMean(const QString &line, bool lastOfDay, const MonthResult &month) {
    const MeasureMode mode = m_model.mode();
    MeasurementSlot slot = MeasurementSlot::Morgens;
    const int day = entryline::readingDay(line);
    if (monthvalues::slotOfLine(line, slot) && slotinfo::usedIn(slot, mode))
        m_dayLastX = graphgeo::SlotX(day, slot, mode);
    if (!lastOfDay) return;
    const int mean = day >= 1 && day <= 31 ? month.dayMeans[size_t(day - 1)].toInt() : 0;
    if (mean > 0 && m_dayLastX >= 0)
        m_dayMeanPoints.append(QString::number(m_dayLastX) + u' ' +
                               QString::number(ValueToY(mean)));
    m_dayLastX = -1;
}

void MonthGraph::drawHint(const QString &text, int x, int y) {
    QPainter p(&m_picture);
    p.setFont(fonts::arialPoints(10, true));
    p.setPen(QColor(255, 0, 0));
    fonts::textAt(p, x, y, text);
}

void MonthGraph::meanLine() {
    if (m_dayMeanPoints.size() < 2) return;
    long long sum = 0;
    for (const QString &pt : std::as_const(m_dayMeanPoints))
        sum += pt.section(u' ', 1, 1).toInt();
    const int meanRow = int(sum / m_dayMeanPoints.size());
    const int shift = m_model.mode() == MeasureMode::Eight ? 11 : 8;
    const int x1 = m_dayMeanPoints.first().section(u' ', 0, 0).toInt() - shift;
    const int x2 = m_dayMeanPoints.last().section(u' ', 0, 0).toInt() - shift;
    QPainter p(&m_picture);
    p.setPen(pen(m_meanCurveColor, m_penWidth));
    p.drawLine(x1, meanRow + 1, x2, meanRow + 1);
}

// The decoded template is kept: a pass copies it instead of reading the
// file again, until the file changes (path, size or time).
bool MonthGraph::showTemplate() {
    const TemplateStamp stamp = templateStamp();
    if (stamp != m_templateStamp) {
        m_templateStamp = stamp;
        m_template = QImage();
    }
    if (m_template.isNull()) {
        if (m_pendingTemplate.valid()) {
            QImage decoded = m_pendingTemplate.get();
            if (m_pendingStamp == stamp) m_template = decoded;
        }
        if (m_template.isNull()) m_template = PictureBox::decode(m_templatePath);
        if (m_template.isNull()) return false;
    }
    m_picture = m_template;
    m_stripAt.reset();
    return true;
}

QSize MonthGraph::prepareTemplate() {
    const QSize size = PictureBox::pictureSize(m_templatePath);
    if (!size.isValid()) return {};
    m_pendingStamp = templateStamp();
    m_pendingTemplate = std::async(std::launch::async,
                                   [path = m_templatePath] { return PictureBox::decode(path); });
    return size;
}

// The limit lines and the normal band (or only their rows), the pen and the
// curve colours.
void MonthGraph::drawFrame(bool lines, int legendWidth) {
    m_pointDrawn = false;
    m_lastPointY = graphgeo::kZeroRow;
    ZeichneGrenzwerteLinie(QStringLiteral("hoch"), lines);
    ZeichneGrenzwerteLinie(QStringLiteral("kritisch"), lines);
    ZeichneGrenzwerteLinie(QStringLiteral("tief"), lines);
    if (lines) MachSchraffierung(legendWidth);
    const SettingsStore st = m_model.settings();
    // A width that is no number stops here; one out of range is clamped.
    m_penWidth = limits::penWidth(st.get(keys::StiftBreite));
    m_pointPixels = pointPixels(m_penWidth + 1);
    m_curveColor = colorref::toColor(st.color(keys::KurvenFarbe, defaults::KurvenFarbe));
    m_meanCurveColor =
        colorref::toColor(st.color(keys::MittelKurvenFarbe, defaults::MittelKurvenFarbe));
}

void MonthGraph::setTitle(const monthread::Month &month) {
    const QString dateName = month.result.tableDate + QStringLiteral("  ") + month.result.tableUser;
    m_title = m_view == View::ValuesAndMean
                  ? QStringLiteral("Glykovalinmesswerte und monatlicher Mittelwert  ") + dateName
                  : QStringLiteral("Glykovalinmesswerte  ") + dateName;
}

// The readings up to the line at which a value that is no number stopped
// the reading: the curve, or in the mean pass the points of the day means.
void MonthGraph::drawReadings(const monthread::Month &month, bool meanPass) {
    const QSet<int> dayEnds(month.dayEnds.begin(), month.dayEnds.end());
    m_dayMeanPoints.clear();
    m_dayLastX = -1;
    m_pointCounter = 0;
    QPainter painter(&m_picture);
    for (int i = 0; i < month.stopLine; ++i) {
        const QString &line = month.lines.at(i);
        if (!entryline::isEntryLine(line) || entryline::readingDay(line) == 0) continue;
        ++m_pointCounter;
        if (meanPass) {
            collectDayMean(line, dayEnds.contains(i), month.result);
        } else {
            drawReading(painter, line);
            if (m_pointCounter == 1) drawReading(painter, line);
        }
    }
}

bool MonthGraph::draw(const monthread::Month &month, View view, const Placement &placement) {
    m_view = view;
    m_meanCaption.clear();
    m_meanValue.clear();
    // A template that cannot be read leaves the picture as it is.
    showTemplate();
    drawFrame(true, placement.legendWidth);
    setTitle(month);
    if (!month.result.readable) return false;
    drawReadings(month, false);
    if (!month.result.complete) return false;
    auto hints = [this] {
        if (m_dayMeanPoints.size() == 1)
            drawHint(QStringLiteral("Nur 1 Tag mit Messwerten vorhanden. Zu wenig um ihn als "
                                    "Mittelwert zu zeichnen!"),
                     64, 140);
        if (m_pointCounter == 0)
            drawHint(QStringLiteral("Kein Datensatz vorhanden. Farbkurve kann nicht angezeigt "
                                    "werden!       "),
                     64, 170);
        else if (m_pointCounter == 1)
            drawHint(QStringLiteral("Nur 1 Datensatz vorhanden. Zu wenig um ihn als Farbkurve "
                                    "anzuzeigen!"),
                     64, 170);
    };
    hints();
    if (view == View::ValuesAndMean) {
        // The mean over the curve: the limits and the band are there already.
        drawFrame(false, placement.legendWidth);
        drawReadings(month, true);
        meanLine();
        hints();
    }
    if (!month.result.meanValueText.isEmpty()) {
        m_meanCaption = QStringLiteral("Monatlicher Mittelwert =");
        m_meanValue = month.result.meanValueIn(m_model.unit());
    }
    schreibTextInGrafik(placement);
    return true;
}

QImage MonthGraph::meanCaptionPicture() const {
    if (m_meanValue.isEmpty()) return {};
    QImage img(206, 14, QImage::Format_RGB32);
    img.fill(Qt::white);
    QPainter p(&img);
    p.setFont(fonts::arialPoints(8, true));
    p.setPen(Qt::black);
    fonts::textAt(p, 0, 0, m_meanCaption);
    p.setPen(m_view == View::ValuesAndMean ? m_meanCurveColor : m_curveColor);
    fonts::textAt(p, 136, 0, m_meanValue);
    return img;
}

void MonthGraph::schreibTextInGrafik(const Placement &placement) {
    const MeasureMode mode = m_model.mode();
    const QString text = graphgeo::timeStripText(m_model.settings(), mode);
    // Blanks around it, so the white fill clears the previous strip.
    const QString padded = mode == MeasureMode::Four ? QString(35, u' ') + text + QString(47, u' ')
                                                     : QString(30, u' ') + text + QString(38, u' ');
    m_timeStripText = text;
    if (m_picture.isNull() || m_stripAt == placement) return;
    m_stripAt = placement;
    QPainter p(&m_picture);
    p.fillRect(QRect(0, 2, m_picture.width(), 18), Qt::white);
    p.setFont(fonts::arialPoints(8, true));
    p.setPen(QColor(0, 0, 255));
    const int tw = p.fontMetrics().horizontalAdvance(padded);
    m_timeStripX =
        placement.legendLeft + placement.windowWidth / 2 - tw / 2 - placement.legendWidth + 50;
    fonts::textAt(p, m_timeStripX, 4, padded);
}
