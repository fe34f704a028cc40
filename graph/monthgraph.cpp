#include "monthgraph.h"

#include <QFontMetrics>
#include <QImageReader>
#include <QLabel>
#include <QPainter>
#include <QScrollBar>
#include <QWidget>

#include "monthvalues.h"
#include "platform/colorref.h"
#include "platform/convert.h"
#include "platform/picturebox.h"
#include "platform/ui.h"
#include "storage/limits.h"
#include "storage/monthtable.h"
#include "storage/settingsstore.h"

namespace {

const QColor kInRange(0, 255, 0);

QFont arialPoints(int points, bool bold) {
    QFont f(QStringLiteral("Arial"));
    f.setPointSize(points);
    f.setBold(bold);
    return f;
}

QPen pen(const QColor &c, int width) {
    return QPen(c, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

// Text with its top-left corner at (x, y).
void textAt(QPainter &p, int x, int y, const QString &text) {
    p.drawText(QPoint(x, y + p.fontMetrics().ascent()), text);
}

} // namespace

TMonthGraph::TMonthGraph(const GraphWidgets &w, MonthSession &session, ui::Services &ui,
                         QObject *parent)
    : QObject(parent), m_w(w), m_session(session), m_ui(ui), m_pointColor(kInRange) {}

QImage &TMonthGraph::pic() {
    return m_w.image->picture();
}

int TMonthGraph::winWidth() const {
    return m_w.window ? m_w.window->width() : m_w.windowWidth;
}

int TMonthGraph::legendLeft() const {
    return m_w.legend ? m_w.legend->x() : 0;
}

int TMonthGraph::legendWidth() const {
    return m_w.legend ? m_w.legend->width() : graphgeo::kLegendWidth;
}

int TMonthGraph::ValueToY(int v) {
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

void TMonthGraph::ZeichneGrenzwerteLinie(const QString &kind) {
    const SettingsStore st = m_session.settings();
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
    if (m_frameKept) return;
    QPainter p(&pic());
    p.setPen(QPen(colorref::toColor(*color), 1));
    p.drawLine(graphgeo::kGridLeft, y, graphgeo::kLimitLineEnd, y);
}

void TMonthGraph::MachSchraffierung() {
    if (m_frameKept) return;
    QPainter p(&pic());
    p.setPen(QPen(Qt::white, 1));
    p.setBrush(QBrush(kInRange, Qt::BDiagPattern));
    // The outline covers the first and last row and column of the rectangle
    // (right and bottom edges exclusive).
    const int x1 = legendWidth(), y1 = m_criticalY + 1;
    const int x2 = pic().width() - 24, y2 = m_lowY;
    if (x2 - x1 >= 2 && y2 - y1 >= 2) p.drawRect(x1, y1, x2 - x1 - 1, y2 - y1 - 1);
}

// One reading of the measurement curve: a 0 takes the height and colour of
// the reading before it; the first reading drawn gets no connecting line.
void TMonthGraph::drawReading(QPainter &p, const QString &line) {
    const MeasureMode mode = m_session.mode();
    MeasurementSlot slot = MeasurementSlot::Morgens;
    const int day = entryline::readingDay(line);
    long double num = 0;
    if (!monthvalues::slotOfLine(line, slot) || !slotinfo::usedIn(slot, mode)) return;
    if (!monthvalues::toNumber(entryline::valueOf(line), num)) return;
    const int v = int(num);
    const int x = graphgeo::SlotX(day, slot, mode);
    if (v != 0) ValueToY(v);
    const int y = m_lastPointY;
    const int w = m_penWidth;
    if (m_pointDrawn) {
        p.setPen(pen(m_curveColor, w));
        p.drawLine(x, y, m_prevX, y <= m_prevY ? m_prevY - w : m_prevY + w);
    }
    p.setPen(pen(m_pointColor, w + 1));
    p.drawLine(x + 1, y, x, y + 1);
    m_pointDrawn = true;
    m_prevX = x;
    m_prevY = y;
}

// The monthly-mean pass: the day's readings are collected, and its last one
// gives the point of the day's mean (a day of zeros has none).
void TMonthGraph::collectDayMean(const QString &line, bool lastOfDay) {
    const MeasureMode mode = m_session.mode();
    MeasurementSlot slot = MeasurementSlot::Morgens;
    const int day = entryline::readingDay(line);
    long double num = 0;
    if (!monthvalues::toNumber(entryline::valueOf(line), num)) return;
    if (monthvalues::slotOfLine(line, slot) && slotinfo::usedIn(slot, mode)) {
        m_daySlots[size_t(slotinfo::number(slot) - 1)] = int(num);
        m_dayLastX = graphgeo::SlotX(day, slot, mode);
    }
    if (!lastOfDay) return;
    int count = 0, sum = 0;
    for (int s : m_daySlots) {
        sum += s;
        if (s > 0) ++count;
    }
    if (count > 0 && m_dayLastX >= 0)
        m_dayMeanPoints.append(QString::number(m_dayLastX) + u' ' +
                               QString::number(ValueToY(sum / count)));
    m_daySlots.fill(0);
    m_dayLastX = -1;
}

void TMonthGraph::drawHint(const QString &text, int x, int y) {
    QPainter p(&pic());
    p.setFont(arialPoints(10, true));
    p.setPen(QColor(255, 0, 0));
    textAt(p, x, y, text);
}

void TMonthGraph::meanLine() {
    if (m_dayMeanPoints.size() < 2) return;
    long long sum = 0;
    for (const QString &pt : std::as_const(m_dayMeanPoints))
        sum += pt.section(u' ', 1, 1).toInt();
    const int meanRow = int(sum / m_dayMeanPoints.size());
    const int shift = m_session.mode() == MeasureMode::Eight ? 11 : 8;
    const int x1 = m_dayMeanPoints.first().section(u' ', 0, 0).toInt() - shift;
    const int x2 = m_dayMeanPoints.last().section(u' ', 0, 0).toInt() - shift;
    QPainter p(&pic());
    p.setPen(pen(m_meanCurveColor, m_penWidth));
    p.drawLine(x1, meanRow + 1, x2, meanRow + 1);
}

// A box that still holds an untouched template keeps it (drawing on a
// picture changes its cache key). The decoded template is kept from its
// second decode on: at start-up the one decoded picture is drawn on as it
// is, without a copy; from then on a pass copies the kept template instead
// of reading the file again, until the file changes (path, size or time).
bool TMonthGraph::showTemplate() {
    const TemplateStamp stamp = templateStamp();
    if (stamp != m_templateStamp) {
        m_templateStamp = stamp;
        m_templateDecodes = 0;
        m_template = QImage();
        m_cleanTemplateKey = 0;
    }
    if (m_cleanTemplateKey != 0 && pic().cacheKey() == m_cleanTemplateKey) return true;
    // Shared with the kept template until the first stroke copies it.
    QImage picture = m_template;
    if (picture.isNull()) {
        if (m_pendingTemplate.valid()) {
            QImage decoded = m_pendingTemplate.get();
            if (m_pendingStamp == stamp) picture = decoded;
        }
        if (picture.isNull()) picture = PictureBox::decode(m_templatePath);
        if (picture.isNull()) return false;
        if (++m_templateDecodes > 1) m_template = picture;
    }
    m_w.image->setPicture(picture);
    m_cleanTemplateKey = pic().cacheKey();
    return true;
}

void TMonthGraph::prepareTemplate() {
    const QSize size = QImageReader(m_templatePath).size();
    if (!size.isValid()) return;
    m_w.image->reserveSize(size);
    m_pendingStamp = templateStamp();
    m_pendingTemplate = std::async(std::launch::async,
                                   [path = m_templatePath] { return PictureBox::decode(path); });
}

// The template, the three limit lines and the normal band; the mean pass
// over a kept picture finds the limits and the band there already (drawn
// again they would cover the curve) and only takes their rows.
void TMonthGraph::drawFrame(const DrawOptions &o) {
    // A template that cannot be read leaves the picture as it is.
    if (!o.keepPicture) showTemplate();
    m_pointDrawn = false;
    m_lastPointY = graphgeo::kZeroRow;
    m_frameKept = o.keepPicture && o.meanPass;
    ZeichneGrenzwerteLinie(QStringLiteral("hoch"));
    ZeichneGrenzwerteLinie(QStringLiteral("kritisch"));
    ZeichneGrenzwerteLinie(QStringLiteral("tief"));
    MachSchraffierung();
    const SettingsStore st = m_session.settings();
    // A width that is no number stops here; one out of range is clamped.
    m_penWidth = limits::penWidth(st.get(keys::StiftBreite));
    m_curveColor = colorref::toColor(st.color(keys::KurvenFarbe, defaults::KurvenFarbe));
    m_meanCurveColor =
        colorref::toColor(st.color(keys::MittelKurvenFarbe, defaults::MittelKurvenFarbe));
}

void TMonthGraph::storeUserAndCheckSettings() {
    if (!m_storesUser) return;
    const SettingsStore st = m_session.settings();
    const QString user = m_month.result.tableUser;
    if (st.get(keys::BenutzerName) != user) st.set(keys::BenutzerName, user);
    if (st.isReadOnly()) emit readOnlySettingsFile();
}

void TMonthGraph::setTitle(const DrawOptions &o) {
    const QString dateName =
        m_month.result.tableDate + QStringLiteral("  ") + m_month.result.tableUser;
    const QString title =
        o.keepPicture
            ? QStringLiteral("Glykovalinmesswerte und monatlicher Mittelwert  ") + dateName
            : QStringLiteral("Glykovalinmesswerte  ") + dateName;
    m_month.result.title = title;
    if (!m_w.title) return;
    m_w.title->setText(title);
    m_w.title->resize(m_w.title->fontMetrics().horizontalAdvance(title) + 4, m_w.title->height());
}

// The readings up to the line at which a value that is no number stopped
// the reading: the curve, or in the mean pass the points of the day means.
void TMonthGraph::drawReadings(const DrawOptions &o) {
    const QSet<int> dayEnds(m_month.dayEnds.begin(), m_month.dayEnds.end());
    m_dayMeanPoints.clear();
    m_daySlots.fill(0);
    m_dayLastX = -1;
    m_pointCounter = 0;
    QPainter painter(&pic());
    for (int i = 0; i < m_month.stopLine; ++i) {
        const QString &line = m_month.lines.at(i);
        if (!entryline::isEntryLine(line) || entryline::readingDay(line) == 0) continue;
        ++m_pointCounter;
        if (o.meanPass) {
            collectDayMean(line, dayEnds.contains(i));
        } else {
            drawReading(painter, line);
            if (m_pointCounter == 1) drawReading(painter, line);
        }
    }
}

void TMonthGraph::finishPass(const DrawOptions &o) {
    SchreibeMonatsMittelwInGrafik();
    if (m_dayMeanPoints.size() == 1)
        drawHint(QStringLiteral("Nur 1 Tag mit Messwerten vorhanden. Zu wenig um ihn als "
                                "Mittelwert zu zeichnen!"),
                 64, 140);
    else if (o.meanPass)
        meanLine();
    if (m_pointCounter == 0)
        drawHint(QStringLiteral("Kein Datensatz vorhanden. Farbkurve kann nicht angezeigt "
                                "werden!       "),
                 64, 170);
    else if (m_pointCounter == 1)
        drawHint(QStringLiteral("Nur 1 Datensatz vorhanden. Zu wenig um ihn als Farbkurve "
                                "anzuzeigen!"),
                 64, 170);
    // The day selected again shows this month's readings on its diary page.
    m_session.setDrawn(m_month.result);
    HorzScrollPositionEinstellen(o.scrollPosition);
    schreibTextInGrafik();
}

void TMonthGraph::showSkippedNotice() {
    // Said once for a file: a redraw of the same month does not say it again.
    const QString &notice = m_month.result.skippedNotice;
    if (!notice.isEmpty() && notice != m_noticeShown) m_ui.showWarning(notice);
    m_noticeShown = notice;
}

MonthResult TMonthGraph::GrafikZeichnen(const QString &tablePath, const DrawOptions &options) {
    m_shown = false;
    m_meanMode = options.meanMode;
    const bool readable = monthread::read(tablePath, m_month);
    const bool drawn = ui::guarded(m_ui, [&] {
        drawFrame(options);
        m_month.result.penWidthText = QString::number(m_penWidth);
        setTitle(options);
        if (!readable) return;
        // A table that cannot be read names no user: the stored one stays.
        storeUserAndCheckSettings();
        drawReadings(options);
        // A value that is no number ends the pass at its line.
        if (m_month.result.complete) finishPass(options);
    });
    // What was drawn before a stop stays on screen.
    m_w.image->pictureChanged();
    if (!readable) {
        m_ui.showWarning(m_month.error);
        emit unreadableTable(tablePath);
        emit layoutRequested();
        return m_month.result;
    }
    if (!m_month.result.complete) m_ui.showWarning(m_month.error);
    showSkippedNotice();
    m_shown = drawn && m_month.result.complete;
    m_month.result.complete = m_shown;
    return m_month.result;
}

void TMonthGraph::schreibTextInGrafik() {
    const MeasureMode mode = m_session.mode();
    const QString text = graphgeo::timeStripText(m_session.settings(), mode);
    // Blanks around it, so the white fill clears the previous strip.
    const QString padded = mode == MeasureMode::Four ? QString(35, u' ') + text + QString(47, u' ')
                                                     : QString(30, u' ') + text + QString(38, u' ');
    m_timeStripText = text;
    QPainter p(&pic());
    p.fillRect(QRect(0, 2, pic().width(), 18), Qt::white);
    p.setFont(arialPoints(8, true));
    p.setPen(QColor(0, 0, 255));
    const int tw = p.fontMetrics().horizontalAdvance(padded);
    m_timeStripX = legendLeft() + winWidth() / 2 - tw / 2 - legendWidth() + 50;
    textAt(p, m_timeStripX, 4, padded);
    p.end();
    m_w.image->pictureChanged();
}

void TMonthGraph::SchreibeMonatsMittelwInGrafik() {
    const QString &value = m_month.result.meanValueText;
    if (value.isEmpty()) {
        // No caption of an earlier month stays beside this one.
        if (m_w.meanImage) m_w.meanImage->hide();
        m_meanCaption.clear();
        return;
    }
    m_meanCaption = QStringLiteral("Monatlicher Mittelwert =");
    if (m_w.meanImage) {
        QImage img(206, 14, QImage::Format_RGB32);
        img.fill(Qt::white);
        QPainter p(&img);
        p.setFont(arialPoints(8, true));
        p.setPen(Qt::black);
        textAt(p, 0, 0, m_meanCaption);
        const int tw = p.fontMetrics().horizontalAdvance(m_meanCaption);
        p.setPen(m_meanMode ? m_meanCurveColor : m_curveColor);
        textAt(p, 136, 0, value);
        p.end();
        m_w.meanImage->setAutoSize(true);
        m_w.meanImage->setPicture(img);
        int left = legendLeft() + winWidth() / 2 - tw / 2 - legendWidth();
        if (left < legendLeft() + legendWidth()) left = legendLeft() + legendWidth() + 10;
        m_w.meanImage->move(left, 78);
        m_w.meanImage->show();
        m_w.meanImage->raise();
    }
    if (m_w.title) {
        const int tw = m_w.title->fontMetrics().horizontalAdvance(m_w.title->text());
        m_w.title->move(legendLeft() + winWidth() / 2 - tw / 2 - (legendWidth() - 40),
                        m_w.title->y());
    }
}

void TMonthGraph::pinAfterScroll(bool overlapCorrection) {
    const int offset = m_w.hscroll ? m_w.hscroll->value() : 0;
    if (m_w.legend) m_w.legend->move(offset - 2, m_w.legend->y());
    schreibTextInGrafik();
    SchreibeMonatsMittelwInGrafik();
    if (overlapCorrection && m_w.meanImage && m_w.legend &&
        m_w.legend->x() + m_w.legend->width() > m_w.meanImage->x())
        m_w.meanImage->move(legendLeft() + legendWidth() + 10, m_w.meanImage->y());
    if (overlapCorrection && m_w.title) {
        const int tw = m_w.title->fontMetrics().horizontalAdvance(m_w.title->text());
        m_w.title->move(legendLeft() + winWidth() / 2 - tw / 2 + 40 - legendWidth(),
                        m_w.title->y());
    }
}

void TMonthGraph::HorzScrollPositionEinstellen(int position) {
    if (m_w.hscroll) m_w.hscroll->setValue(position);
    pinAfterScroll(false);
    emit reselectRequested();
}

bool TMonthGraph::FormKeyDown(int key, Qt::KeyboardModifiers modifiers) {
    if (modifiers != Qt::ControlModifier || !m_w.hscroll) return false;
    if (key != Qt::Key_Right && key != Qt::Key_Left) return false;
    m_w.hscroll->setValue(m_w.hscroll->value() +
                          (key == Qt::Key_Right ? graphgeo::kDayWidth : -graphgeo::kDayWidth));
    emit layoutRequested();
    return true;
}

void TMonthGraph::FormMouseMove(const QPoint &graphPos) {
    if (!m_w.status) return;
    const int offset = m_w.hscroll ? m_w.hscroll->value() : 0;
    const int x = graphPos.x() - offset;
    const QString value = graphgeo::readoutValueText(graphPos.y() + graphgeo::kReadoutOffset);
    QString caption;
    if (!value.isEmpty())
        caption = QStringLiteral("Cursor befindet sich auf: ") + value + QStringLiteral(" mg/dl");
    if (x < graphgeo::kGridLeft || graphPos.x() > graphgeo::kLimitLineEnd) caption.clear();
    m_w.status->setText(caption);
    m_w.status->adjustSize();
    int left = x >= winWidth() / 2 ? legendLeft() + x - 300 : legendLeft() + x - 150;
    // The whole caption stays right of the legend, in the visible part.
    left = std::max(left, legendLeft() + legendWidth() + 4);
    const int top = m_w.legend ? m_w.legend->y() + m_w.legend->height() + 2 : m_w.status->y();
    m_w.status->move(left, top);
}
