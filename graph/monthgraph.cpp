#include "monthgraph.h"

#include <QFileInfo>
#include <QFontMetrics>
#include <QLabel>
#include <QPainter>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QWidget>
#include <optional>

#include "platform/colorref.h"
#include "platform/convert.h"
#include "platform/picturebox.h"
#include "platform/profile.h"
#include "platform/textfile.h"
#include "platform/ui.h"
#include "storage/appstate.h"
#include "storage/limits.h"
#include "storage/monthtable.h"
#include "storage/settingsstore.h"

namespace {

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

// A key of a section in lines already read, with the rules of the profile
// reader: names without regard to case, first section and key win, blanks and
// tabs trimmed, matching quotes removed, at most 255 characters.
QString headerValue(const QStringList &lines, const QString &section, const QString &key) {
    auto trim = [](const QString &t) {
        qsizetype a = 0, e = t.size();
        while (a < e && (t.at(a) == u' ' || t.at(a) == u'\t'))
            ++a;
        while (e > a && (t.at(e - 1) == u' ' || t.at(e - 1) == u'\t'))
            --e;
        return t.mid(a, e - a);
    };
    bool in = false;
    for (const QString &l : lines) {
        const QString t = trim(l);
        if (t.startsWith(u'[')) {
            if (in) break;
            const qsizetype close = t.indexOf(u']');
            in = QString::compare(trim(close < 0 ? t.mid(1) : t.mid(1, close - 1)), section,
                                  Qt::CaseInsensitive) == 0;
            continue;
        }
        if (!in) continue;
        const qsizetype eq = l.indexOf(u'=');
        if (eq < 0 || QString::compare(trim(l.left(eq)), key, Qt::CaseInsensitive) != 0) continue;
        QString v = trim(l.mid(eq + 1));
        if (v.size() >= 2 && (v.front() == u'"' || v.front() == u'\'') && v.back() == v.front())
            v = v.mid(1, v.size() - 2);
        return v.left(profile::kMaxValue);
    }
    return {};
}

SettingsStore settings() {
    return SettingsStore(appState().SettingsPath);
}

} // namespace

TMonthGraph::TMonthGraph(const GraphWidgets &w) : m_w(w), m_pointColor(0, 255, 0) {}

QImage &TMonthGraph::pic() {
    return m_w.image->picture();
}

int TMonthGraph::winWidth() const {
    if (m_w.window) return m_w.window->width();
    if (callbacks.windowWidth) return callbacks.windowWidth();
    return 793;
}

int TMonthGraph::legendLeft() const {
    return m_w.legend ? m_w.legend->x() : 0;
}

int TMonthGraph::legendWidth() const {
    return m_w.legend ? m_w.legend->width() : 42;
}

int TMonthGraph::penWidth() const {
    return limits::penWidth(m_penWidthText);
}

int TMonthGraph::ValueToY(int v) {
    const int y = graphgeo::valueY(v);
    m_lastPointY = y;
    if (y <= m_highY)
        m_pointColor = colorref::toColor(HighColor);
    else if (y <= m_criticalY)
        m_pointColor = colorref::toColor(CriticalColor);
    else if (y < m_lowY)
        m_pointColor = QColor(0, 255, 0);
    else
        m_pointColor = colorref::toColor(LowColor);
    return y;
}

void TMonthGraph::ZeichneGrenzwerteLinie(const QString &kind) {
    const SettingsStore st = settings();
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
    const QString c = st.get(colorKey);
    if (!c.isEmpty())
        *color = quint32(convert::toInt(c, QStringLiteral("Einstellung \"%1\"").arg(colorKey)));
    if (m_frameKept) return;
    QPainter p(&pic());
    p.setPen(QPen(colorref::toColor(*color), 1));
    p.drawLine(graphgeo::kGridLeft, y, graphgeo::kLimitLineEnd, y);
}

void TMonthGraph::MachSchraffierung() {
    if (m_frameKept) return;
    QPainter p(&pic());
    p.setPen(QPen(Qt::white, 1));
    p.setBrush(QBrush(QColor(0, 255, 0), Qt::BDiagPattern));
    // The outline covers the first and last row and column of the rectangle
    // (right and bottom edges exclusive).
    const int x1 = legendWidth(), y1 = m_criticalY + 1;
    const int x2 = pic().width() - 24, y2 = m_lowY;
    if (x2 - x1 >= 2 && y2 - y1 >= 2) p.drawRect(x1, y1, x2 - x1 - 1, y2 - y1 - 1);
}

void TMonthGraph::ZeichneInGrafik(const QString &line, const QString &mode) {
    const MeasureMode mm = appState().mode();
    MeasurementSlot slot = MeasurementSlot::Morgens;
    const bool hasSlot = monthvalues::slotOfLine(line, slot);
    const int day = entryline::readingDay(line);
    long double num = 0;
    if (day == 0 || !monthvalues::toNumber(entryline::valueOf(line), num)) return;
    const int v = int(num);
    const bool drawn = hasSlot && day >= 1 && slotinfo::usedIn(slot, mm);
    const int w = m_penWidth;

    if (mode == u"Mittelwert") {
        if (drawn) {
            m_daySlots[slotinfo::number(slot) - 1] = v;
            m_dayLastX = graphgeo::SlotX(day, slot, mm);
        }
        if (!m_lastOfDay) return;
        int count = 0, sum = 0;
        for (int s : m_daySlots) {
            sum += s;
            if (s > 0) ++count;
        }
        // A day whose readings are all 0 has no mean point.
        if (count > 0 && m_dayLastX >= 0) {
            const int y = ValueToY(sum / count);
            m_dayMeanPoints.append(QString::number(m_dayLastX) + u' ' + QString::number(y));
        }
        m_daySlots.fill(0);
        m_dayLastX = -1;
        return;
    }

    if (!drawn) return;
    const int x = graphgeo::SlotX(day, slot, mm);
    if (v != 0) ValueToY(v);
    const int y = m_lastPointY;
    // The pass keeps one painter open over its readings.
    std::optional<QPainter> own;
    if (!m_painter) own.emplace(&pic());
    QPainter &p = m_painter ? *m_painter : *own;
    const QColor curve = colorref::toColor(appState().CurveColor);
    if (m_pointDrawn) {
        p.setPen(pen(curve, w));
        p.drawLine(x, y, m_prevX, y <= m_prevY ? m_prevY - w : m_prevY + w);
    }
    p.setPen(pen(m_pointColor, w + 1));
    p.drawLine(x + 1, y, x, y + 1);
    m_pointDrawn = true;
    m_prevX = x;
    m_prevY = y;
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
    const int shift = appState().mode() == MeasureMode::Eight ? 11 : 8;
    const int x1 = m_dayMeanPoints.first().section(u' ', 0, 0).toInt() - shift;
    const int x2 = m_dayMeanPoints.last().section(u' ', 0, 0).toInt() - shift;
    QPainter p(&pic());
    p.setPen(pen(colorref::toColor(appState().MeanCurveColor), penWidth()));
    p.drawLine(x1, meanRow + 1, x2, meanRow + 1);
}

QStringList TMonthGraph::dayEndLinesOf(const QStringList &lines) {
    // A reading ends its day when the next reading of the file has another
    // day or there is none; lines between readings (blank, header, passed
    // over) neither end a day nor split one.
    QStringList out;
    int last = -1, lastDay = 0;
    for (int i = 0; i < lines.size(); ++i) {
        const int day = entryline::readingDay(lines.at(i));
        if (day == 0) continue;
        if (last >= 0 && day != lastDay) out.append(QString::number(last));
        last = i;
        lastDay = day;
    }
    if (last >= 0) out.append(QString::number(last));
    return out;
}

bool TMonthGraph::GrafikZeichnen(const QString &tablePath) {
    AppState &s = appState();
    const SettingsStore st = settings();
    bool finished = false;
    QList<int> skipped; // file lines (1-based) passed over
    convert::guarded([&] {
        m_values.clearDayValues();
        // Every pass collects the day texts of the month anew.
        s.clearDayLineTexts();
        s.GraphShown = false;
        s.CurrentTablePath = tablePath;
        if (s.NewMonthPending || s.ShowTableOnOpen) {
            if (callbacks.attachTable) callbacks.attachTable(tablePath);
            s.NewMonthPending = false;
            s.ShowTableOnOpen = false;
        }
        if (callbacks.setEntryYear) callbacks.setEntryYear(monthtable::yearOfPath(tablePath));
        if (!s.KeepPicture) m_w.image->loadPicture(s.GraphTemplatePath);
        m_pointDrawn = false;
        m_lastPointY = graphgeo::kZeroRow;

        // The mean pass over a kept picture finds the limits and the band
        // there already; drawn again they would cover the curve.
        m_frameKept = s.KeepPicture && s.MeanPass;
        ZeichneGrenzwerteLinie(QStringLiteral("hoch"));
        ZeichneGrenzwerteLinie(QStringLiteral("kritisch"));
        ZeichneGrenzwerteLinie(QStringLiteral("tief"));
        MachSchraffierung();

        // A width that is no number stops here; one out of range is clamped.
        m_penWidth = limits::penWidth(st.get(keys::StiftBreite));
        m_penWidthText = QString::number(m_penWidth);

        // The file is read once; its header keys come from the lines read.
        QStringList lines;
        const bool readable =
            QFileInfo(tablePath).isFile() && textfile::readLines(tablePath, lines);
        m_tableDate = headerValue(lines, monthtable::kSection, QStringLiteral("Datum"));
        m_tableUser = headerValue(lines, monthtable::kSection, keys::BenutzerName);
        s.TableUserName = m_tableUser;
        if (storeSettings && st.get(keys::BenutzerName) != m_tableUser)
            st.set(keys::BenutzerName, m_tableUser);
        if (storeSettings && st.isReadOnly() && callbacks.showReadonlyNotice)
            callbacks.showReadonlyNotice();

        const QString dateName = m_tableDate + QStringLiteral("  ") + m_tableUser;
        QString title = dateName;
        if (s.MeanPass) title = QStringLiteral("Monatlicher Glykovalinmittelwert  ") + dateName;
        if (s.KeepPicture)
            title = QStringLiteral("Glykovalinmesswerte und monatlicher Mittelwert  ") + dateName;
        else
            title = QStringLiteral("Glykovalinmesswerte  ") + dateName;
        m_titleText = title;
        s.TitleText = title;
        if (m_w.title) {
            m_w.title->setText(title);
            m_w.title->resize(m_w.title->fontMetrics().horizontalAdvance(title) + 4,
                              m_w.title->height());
        }

        if (m_w.memo) m_w.memo->setPlainText(lines.join(u'\n'));
        m_dayEndLines = dayEndLinesOf(lines);
        m_dayEnds.clear();
        for (const QString &e : std::as_const(m_dayEndLines))
            m_dayEnds.insert(e.toInt());

        m_pointCounter = 0;
        if (callbacks.clearEntryList) callbacks.clearEntryList();

        if (!readable) {
            m_w.image->pictureChanged();
            ui::showWarning(QStringLiteral("Fehler beim Lesen der Datei: ") + tablePath);
            s.ShowTableOnOpen = true;
            if (callbacks.openForEditing) callbacks.openForEditing();
            if (callbacks.formResize) callbacks.formResize();
            return;
        }

        m_dayMeanPoints.clear();
        m_daySlots.fill(0);
        m_dayLastX = -1;
        m_values.clearValues();
        QPainter painter(&pic());
        m_painter = &painter;
        struct Reset {
            QPainter *&ptr;
            ~Reset() { ptr = nullptr; }
        } reset{m_painter};
        for (int i = 0; i < lines.size(); ++i) {
            const QString &line = lines.at(i);
            if (!entryline::isEntryLine(line)) continue;
            if (callbacks.addEntry) callbacks.addEntry(line);
            // A line without a day 01..31 stays in the list but is neither
            // computed nor drawn.
            if (!m_values.collect(
                    line, QStringLiteral("Zeile %1 der Datei \"%2\"").arg(i + 1).arg(tablePath),
                    &s.DayLineTexts)) {
                skipped.append(i + 1);
                continue;
            }
            ++m_pointCounter;
            if (s.MeanPass) {
                m_lastOfDay = m_dayEnds.contains(i);
                ZeichneInGrafik(line, QStringLiteral("Mittelwert"));
            } else {
                ZeichneInGrafik(line, QStringLiteral("oben"));
                if (m_pointCounter == 1) ZeichneInGrafik(line, QStringLiteral("oben"));
            }
            // Month and year of the line.
            QString rest = line;
            qsizetype p = rest.indexOf(QStringLiteral("den "));
            if (p >= 0) rest.remove(0, p + 4);
            p = rest.indexOf(u'.');
            if (p >= 0) rest.remove(0, p + 1);
            p = rest.indexOf(u'.');
            if (p >= 0) {
                s.EntryMonth = rest.left(p);
                if (callbacks.setEntryMonth) callbacks.setEntryMonth(s.EntryMonth);
                rest.remove(0, p + 1);
                p = rest.indexOf(u' ');
                if (p >= 0) s.EntryYear = rest.left(p);
            }
            s.EntryMonthName = GibMonatLang(s.EntryMonth.toInt());
        }
        painter.end();
        m_painter = nullptr;
        s.MonthMean = m_values.MonthMean();
        SchreibeMonatsMittelwInGrafik();

        if (m_dayMeanPoints.size() == 1)
            drawHint(QStringLiteral("Nur 1 Tag mit Messwerten vorhanden. Zu wenig um ihn als "
                                    "Mittelwert zu zeichnen!"),
                     64, 140);
        else if (s.MeanPass)
            meanLine();

        m_values.GibDieTagesMittelwerte();
        for (int d = 1; d <= 31; ++d)
            s.DayMean[d - 1] = m_values.DayMean(d);

        if (m_values.lineCount() == 0)
            drawHint(QStringLiteral("Kein Datensatz vorhanden. Farbkurve kann nicht angezeigt "
                                    "werden!       "),
                     64, 170);
        else if (m_values.lineCount() == 1)
            drawHint(QStringLiteral("Nur 1 Datensatz vorhanden. Zu wenig um ihn als Farbkurve "
                                    "anzuzeigen!"),
                     64, 170);

        HorzScrollPositionEinstellen();
        schreibTextInGrafik();
        s.GraphShown = true;
        finished = true;
    });
    // What was drawn before a stop stays on screen.
    m_w.image->pictureChanged();
    m_skippedNotice = entryline::skippedLinesNotice(tablePath, skipped);
    // Said once for a file: a redraw of the same month does not say it again.
    if (!m_skippedNotice.isEmpty() && m_skippedNotice != m_noticeShown)
        ui::showWarning(m_skippedNotice);
    m_noticeShown = m_skippedNotice;
    return finished;
}

void TMonthGraph::schreibTextInGrafik() {
    const MeasureMode mode = appState().mode();
    const QString text = graphgeo::timeStripText(settings(), mode);
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
    AppState &s = appState();
    if (m_values.valueCount() < 3) {
        // No caption of an earlier month stays beside this one.
        if (m_w.meanImage) m_w.meanImage->hide();
        m_meanCaption.clear();
        s.MeanValueText.clear();
        s.MeanHeaderText.clear();
        return;
    }
    const QString mean = m_values.MonthMean();
    m_meanCaption = QStringLiteral("Monatlicher Mittelwert =");
    s.MeanValueText = mean + QStringLiteral(" mg/dl");
    s.MeanHeaderText = QStringLiteral(" -  Mittelwert: ") + s.MeanValueText;
    if (m_w.meanImage) {
        QImage img(206, 14, QImage::Format_RGB32);
        img.fill(Qt::white);
        QPainter p(&img);
        p.setFont(arialPoints(8, true));
        p.setPen(Qt::black);
        textAt(p, 0, 0, m_meanCaption);
        const int tw = p.fontMetrics().horizontalAdvance(m_meanCaption);
        p.setPen(colorref::toColor(s.MeanMode ? s.MeanCurveColor : s.CurveColor));
        textAt(p, 136, 0, s.MeanValueText);
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

void TMonthGraph::HorzScrollPositionEinstellen() {
    if (m_w.hscroll) m_w.hscroll->setValue(appState().LastScrollPosition);
    pinAfterScroll(false);
    if (callbacks.reselectDay) callbacks.reselectDay();
}

bool TMonthGraph::FormKeyDown(int key, Qt::KeyboardModifiers modifiers) {
    if (modifiers != Qt::ControlModifier || !m_w.hscroll) return false;
    if (key != Qt::Key_Right && key != Qt::Key_Left) return false;
    m_w.hscroll->setValue(m_w.hscroll->value() + (key == Qt::Key_Right ? 48 : -48));
    if (callbacks.formResize) callbacks.formResize();
    return true;
}

void TMonthGraph::FormMouseMove(const QPoint &graphPos) {
    if (!m_w.status) return;
    const int offset = m_w.hscroll ? m_w.hscroll->value() : 0;
    const int x = graphPos.x() - offset;
    // The graph picture lies 49 pixels below the client top of the layout the
    // readout rows are made for.
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
