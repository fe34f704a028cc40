#include "statscharts.h"

#include <QFontMetricsF>
#include <QPaintDevice>
#include <QPaintEngine>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>
#include <limits>

#include "labelpainter.h"
#include "stats/statstext.h"

namespace statsview {

using namespace stats;

namespace {

const QColor kMetColor(0, 110, 40);
const QColor kMissedColor(180, 0, 0);
const QColor kAxisColor(90, 90, 90);
const QColor kTargetFill(226, 242, 224);
const QColor kGridColor(215, 215, 215);
// The day profile's ranges, from the widest to the narrowest, and the median.
const QColor kOuterColor(214, 228, 246);
const QColor kMiddleColor(156, 192, 234);
const QColor kInnerColor(86, 138, 210);
const QColor kMedianColor(13, 60, 140);

// Device pixels per point of the painter's device.
qreal unitOf(const QPainter &p) {
    return p.device() ? p.device()->logicalDpiY() / 72.0 : 1.0;
}

// Saves the painter for a chart and returns its unit. Edges are smooth only
// where lines run slanted or round: the rest stands on the pixel grid, and
// painting it smooth costs the window its frame.
qreal beginChart(QPainter &p) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing, false);
    return unitOf(p);
}

struct BandLabel {
    Band band;
    Target target;
    bool combined; // the target speaks of this band and its outer neighbour
};

const BandLabel kLabels[] = {{VeryHigh, Target::VeryHigh, false},
                             {High, Target::HighAll, true},
                             {InRange, Target::InRange, false},
                             {Low, Target::LowAll, true},
                             {VeryLow, Target::VeryLow, false}};

// The lines beside a band: name and share, bounds (the unit's first), the
// share together with the outer neighbour where the target speaks of both,
// and the target with its verdict.
QStringList labelLines(const Figures &f, const BandLabel &l, GlucoseUnit unit) {
    const GlucoseUnit other = unit == GlucoseUnit::MmolL ? GlucoseUnit::MgDl : GlucoseUnit::MmolL;
    QStringList lines = {
        bandName(l.band) + QStringLiteral(": ") + german(f.bands[l.band]) + QStringLiteral(" %"),
        bandBounds(l.band, unit) + QStringLiteral(" (") + bandBounds(l.band, other) + u')'};
    if (l.combined)
        lines << QStringLiteral("mit ") +
                     (l.band == High ? QStringLiteral("sehr hoch: ")
                                     : QStringLiteral("sehr niedrig: ")) +
                     german(f.share(l.target)) + QStringLiteral(" %");
    lines << QStringLiteral("Ziel ") + targetText(l.target) + QStringLiteral(": ") +
                 verdictText(verdictOf(f, l.target));
    return lines;
}

} // namespace

QColor verdictColor(Verdict v) {
    switch (v) {
    case Verdict::Met:
        return kMetColor;
    case Verdict::Missed:
        return kMissedColor;
    case Verdict::TooFew:
        break;
    }
    return kAxisColor;
}

QColor bandColor(Band b) {
    switch (b) {
    case VeryLow:
        return QColor(139, 0, 0);
    case Low:
        return QColor(229, 57, 53);
    case InRange:
        return QColor(67, 160, 71);
    case High:
        return QColor(251, 192, 45);
    default:
        return QColor(239, 108, 0);
    }
}

QFont chartFont(qreal pt, bool bold) {
    QFont f(QStringLiteral("Arial"));
    f.setPointSizeF(pt);
    f.setBold(bold);
    // The same widths on screen and on paper, and no hinting to compute for
    // the report's fine resolution.
    f.setHintingPreference(QFont::PreferNoHinting);
    return f;
}

void drawRangeBar(QPainter &p, const QRectF &area, const Figures &f, qreal fontPt,
                  GlucoseUnit unit) {
    LabelPainter labels(p);
    drawRangeBar(labels, area, f, fontPt, unit);
}

void drawRangeBar(LabelPainter &labels, const QRectF &area, const Figures &f, qreal fontPt,
                  GlucoseUnit unit) {
    QPainter &p = labels.painter();
    const qreal u = beginChart(p);
    // Bold on screen; a report has one font face only, which is half the
    // work of writing it.
    const bool pdf = p.paintEngine() && p.paintEngine()->type() == QPaintEngine::Pdf;
    const QFont plain = chartFont(fontPt), bold = chartFont(fontPt, !pdf);
    const QFontMetricsF fm(plain, p.device());
    const qreal lineH = fm.height();
    const qreal barW = std::min(area.width() * 0.16, 30 * u);
    const QRectF bar(area.left() + 2 * u, area.top() + lineH * 0.5, barW, area.height() - lineH);

    // The segments from the bottom (very low) to the top (very high).
    qreal y = bar.bottom();
    std::array<qreal, BandCount> centre{};
    for (int b = VeryLow; b <= VeryHigh; ++b) {
        const qreal h = f.readings > 0 ? bar.height() * f.bandCounts[b] / f.readings : 0;
        const QRectF seg(bar.left(), y - h, bar.width(), h);
        if (h > 0) p.fillRect(seg, bandColor(Band(b)));
        centre[b] = y - h / 2;
        y -= h;
    }
    p.setPen(QPen(kAxisColor, 0.75 * u));
    p.setBrush(Qt::NoBrush);
    p.drawRect(bar);
    if (f.readings == 0) {
        p.setFont(QFont(plain, p.device()));
        p.drawText(bar.adjusted(-bar.width(), 0, area.width(), 0), Qt::AlignCenter,
                   QStringLiteral("keine Messwerte"));
        p.restore();
        return;
    }

    // Labels evenly spaced beside the bar, each joined to its segment.
    const qreal labelX = bar.right() + 12 * u;
    const qreal textW = area.right() - labelX;
    const qreal slot = bar.height() / 5;
    for (int i = 0; i < 5; ++i) {
        const BandLabel &l = kLabels[i];
        const QStringList lines = labelLines(f, l, unit);
        const qreal top = bar.top() + i * slot;
        const qreal firstLine = top + (slot - lines.size() * lineH) / 2 + fm.ascent();
        p.setPen(QPen(kAxisColor, 0.5 * u));
        p.setRenderHint(QPainter::Antialiasing, true);
        p.drawLine(QPointF(bar.right(), centre[l.band]),
                   QPointF(labelX - 3 * u, firstLine - fm.ascent() / 2));
        p.setRenderHint(QPainter::Antialiasing, false);
        p.fillRect(
            QRectF(labelX - 3 * u - 4 * u, firstLine - fm.ascent() / 2 - 2 * u, 4 * u, 4 * u),
            bandColor(l.band));
        for (int k = 0; k < lines.size(); ++k) {
            const bool verdict = k == lines.size() - 1;
            p.setPen(verdict ? verdictColor(verdictOf(f, l.target)) : QColor(Qt::black));
            labels.draw(QPointF(labelX, firstLine + k * lineH), lines[k], k == 0 ? bold : plain,
                        textW);
        }
    }
    p.restore();
}

namespace {

// A plot area and its scale from `bottom` to `top` mg/dl.
struct Frame {
    QRectF plot;
    int bottom = 0, top = 300;
    qreal u = 1; // device pixels per point
    qreal y(qreal mgdl) const {
        return plot.bottom() - plot.height() * (mgdl - bottom) / (top - bottom);
    }
};

// The target range and the grid lines with their values on the left: every
// 50 mg/dl, or every 2 mmol/l.
void drawScale(LabelPainter &labels, const Frame &fr, const QFont &font, const QFontMetricsF &fm,
               GlucoseUnit unit) {
    QPainter &p = labels.painter();
    const QRectF &plot = fr.plot;
    p.fillRect(QRectF(QPointF(plot.left(), fr.y(std::min(180, fr.top))),
                      QPointF(plot.right(), fr.y(std::max(70, fr.bottom)))),
               kTargetFill);
    const bool mmol = unit == GlucoseUnit::MmolL;
    const qreal step = mmol ? 2 * stats::kMgdlPerMmol : 50;
    for (qreal v = mmol ? std::ceil(fr.bottom / step) * step : fr.bottom; v <= fr.top; v += step) {
        const qreal yy = fr.y(v);
        p.setPen(QPen(kGridColor, 0.5 * fr.u));
        p.drawLine(QPointF(plot.left(), yy), QPointF(plot.right(), yy));
        p.setPen(kAxisColor);
        const QString label = QString::number(mmol ? qRound(v / stats::kMgdlPerMmol) : int(v));
        labels.draw(QPointF(plot.left() - 2 * fr.u, yy + fm.ascent() / 2.5), label, font,
                    std::numeric_limits<qreal>::max(), Qt::AlignRight);
    }
}

// The limits of the five ranges: 70 and 180 solid, 54 and 250 dashed.
struct Limit {
    int mgdl;
    Band band;
    Qt::PenStyle style;
};
constexpr Limit kLimits[] = {{54, VeryLow, Qt::DashLine},
                             {70, Low, Qt::SolidLine},
                             {180, High, Qt::SolidLine},
                             {250, VeryHigh, Qt::DashLine}};

QPen limitPen(const Limit &l, qreal u) {
    return QPen(bandColor(l.band), 0.9 * u, l.style);
}

void drawLimits(QPainter &p, const Frame &fr) {
    for (const Limit &l : kLimits) {
        if (l.mgdl < fr.bottom || l.mgdl > fr.top) continue;
        p.setPen(limitPen(l, fr.u));
        p.drawLine(QPointF(fr.plot.left(), fr.y(l.mgdl)), QPointF(fr.plot.right(), fr.y(l.mgdl)));
    }
    p.setPen(QPen(kAxisColor, 0.75 * fr.u));
    p.setBrush(Qt::NoBrush);
    p.drawRect(fr.plot);
}

// The scale's top: 300 mg/dl, or the largest value rounded up to 50.
int profileTop(const Figures &f) {
    int top = 300;
    for (const SlotFigures &s : f.perSlot)
        top = std::max(top, int(std::ceil(s.max / 50.0)) * 50);
    return std::min(top, kMaxReading);
}

// One entry of a legend: a symbol and its text.
struct LegendItem {
    enum Kind { Fill, Line, Dot } kind;
    QColor color;
    Qt::PenStyle style;
    QString text;
};

QList<LegendItem> profileLegend(GlucoseUnit unit) {
    const bool mmol = unit == GlucoseUnit::MmolL;
    return {
        {LegendItem::Fill, kOuterColor, Qt::SolidLine, QStringLiteral("5–95 %")},
        {LegendItem::Fill, kMiddleColor, Qt::SolidLine, QStringLiteral("10–90 %")},
        {LegendItem::Fill, kInnerColor, Qt::SolidLine, QStringLiteral("25–75 %")},
        {LegendItem::Line, kMedianColor, Qt::SolidLine, QStringLiteral("Median")},
        {LegendItem::Dot, kMedianColor, Qt::SolidLine,
         QStringLiteral("einzelne Werte (unter %1 Messwerten)").arg(kMinReadingsForMedian)},
        {LegendItem::Fill, kTargetFill, Qt::SolidLine,
         mmol ? QStringLiteral("Zielbereich 3,9–10,0") : QStringLiteral("Zielbereich 70–180")},
        {LegendItem::Line, bandColor(VeryLow), Qt::DashLine,
         (mmol ? QStringLiteral("3,0") : QStringLiteral("54")) +
             QStringLiteral(": Grenze zu sehr niedrig")},
        {LegendItem::Line, bandColor(VeryHigh), Qt::DashLine,
         (mmol ? QStringLiteral("13,9") : QStringLiteral("250")) +
             QStringLiteral(": Grenze zu sehr hoch")},
    };
}

// Lays the legend out in rows of `width`; returns the rows' start indices.
QList<int> legendRows(LabelPainter &labels, const QFont &font, const QList<LegendItem> &items,
                      qreal width, qreal symbolW) {
    QList<int> rows = {0};
    qreal x = 0;
    for (int i = 0; i < items.size(); ++i) {
        const qreal w = symbolW + labels.width(items[i].text, font) + symbolW;
        if (x > 0 && x + w > width) {
            rows << i;
            x = 0;
        }
        x += w;
    }
    return rows;
}

void drawLegend(LabelPainter &labels, const QFont &font, const QList<LegendItem> &items,
                const QList<int> &rows, qreal left, qreal top, const QFontMetricsF &fm, qreal u) {
    QPainter &p = labels.painter();
    const qreal symbolW = 9 * u, lineH = fm.height();
    for (int r = 0; r < rows.size(); ++r) {
        const int end = r + 1 < rows.size() ? rows[r + 1] : int(items.size());
        qreal x = left;
        const qreal base = top + lineH * r + fm.ascent();
        const qreal mid = base - fm.ascent() / 2.8;
        for (int i = rows[r]; i < end; ++i) {
            const LegendItem &it = items[i];
            switch (it.kind) {
            case LegendItem::Fill:
                p.fillRect(QRectF(x, mid - 2.5 * u, symbolW - 2 * u, 5 * u), it.color);
                break;
            case LegendItem::Line:
                p.setPen(QPen(it.color, (it.style == Qt::SolidLine ? 2 : 0.9) * u, it.style));
                p.drawLine(QPointF(x, mid), QPointF(x + symbolW - 2 * u, mid));
                break;
            case LegendItem::Dot:
                p.setPen(Qt::NoPen);
                p.setBrush(it.color);
                p.setRenderHint(QPainter::Antialiasing, true);
                p.drawEllipse(QPointF(x + (symbolW - 2 * u) / 2, mid), 1.6 * u, 1.6 * u);
                p.setRenderHint(QPainter::Antialiasing, false);
                p.setBrush(Qt::NoBrush);
                break;
            }
            p.setPen(kAxisColor);
            labels.draw(QPointF(x + symbolW, base), it.text, font);
            x += symbolW + labels.width(it.text, font) + symbolW;
        }
    }
}

// The ranges of one slot as far as it has the readings for them, the median
// across, or its readings as points.
void drawSlot(QPainter &p, const Frame &fr, const SlotFigures &s, qreal x, qreal boxW) {
    const qreal u = fr.u;
    if (!s.mgdl[P50]) {
        p.setPen(Qt::NoPen);
        p.setBrush(kMedianColor);
        p.setRenderHint(QPainter::Antialiasing, true);
        for (int v : s.values)
            p.drawEllipse(QPointF(x, fr.y(v)), 1.6 * u, 1.6 * u);
        p.setRenderHint(QPainter::Antialiasing, false);
        p.setBrush(Qt::NoBrush);
        return;
    }
    const struct {
        Percentile lo, hi;
        qreal width;
        QColor color;
    } ranges[] = {
        {P5, P95, 0.4, kOuterColor}, {P10, P90, 0.7, kMiddleColor}, {P25, P75, 1.0, kInnerColor}};
    for (const auto &r : ranges) {
        if (!s.mgdl[r.lo] || !s.mgdl[r.hi]) continue;
        const qreal w = boxW * r.width;
        p.fillRect(QRectF(QPointF(x - w / 2, fr.y(*s.mgdl[r.hi] / 10.0)),
                          QPointF(x + w / 2, fr.y(*s.mgdl[r.lo] / 10.0))),
                   r.color);
    }
    p.setPen(QPen(kMedianColor, 2 * u));
    const qreal my = fr.y(*s.mgdl[P50] / 10.0);
    p.drawLine(QPointF(x - boxW * 0.6, my), QPointF(x + boxW * 0.6, my));
}

// The slot's name, its typical clock time and its number of readings below the plot.
void drawSlotCaption(LabelPainter &labels, const Frame &fr, const SlotFigures &s, qreal x,
                     qreal step, const QFontMetricsF &fm, const QFont &font) {
    QPainter &p = labels.painter();
    const qreal lineH = fm.height();
    const QString name = s.slot == MeasurementSlot::Morgens || s.slot == MeasurementSlot::Abends
                             ? slotinfo::word(s.slot)
                             : slotinfo::shortLabel(s.slot);
    const QString time = s.typicalTime().isEmpty() ? QStringLiteral("–") : s.typicalTime();
    const QString count = QStringLiteral("n=%1").arg(s.readings);
    const QString lines[] = {name, time, count};
    for (int i = 0; i < 3; ++i) {
        p.setPen(i == 0 ? Qt::black : kAxisColor);
        labels.draw(QPointF(x, fr.plot.bottom() + lineH * (i + 1)), lines[i], font, step - fr.u,
                    Qt::AlignHCenter);
    }
}

} // namespace

void drawProfile(QPainter &p, const QRectF &area, const Figures &f, qreal fontPt,
                 GlucoseUnit unit) {
    LabelPainter labels(p);
    drawProfile(labels, area, f, fontPt, unit);
}

void drawProfile(LabelPainter &labels, const QRectF &area, const Figures &f, qreal fontPt,
                 GlucoseUnit unit) {
    QPainter &p = labels.painter();
    const qreal u = beginChart(p);
    const QFont plain = chartFont(fontPt);
    const QFontMetricsF fm(plain, p.device());
    const qreal lineH = fm.height();
    const bool mmol = unit == GlucoseUnit::MmolL;
    const QString leftUnit = glucoseunit::unitText(unit);
    const QString rightUnit = mmol ? QStringLiteral("mg/dl") : QStringLiteral("mmol/l");
    const qreal leftW = labels.width(leftUnit, plain) + 4 * u;
    const qreal rightW = labels.width(rightUnit, plain) + 4 * u;
    const QList<LegendItem> legend = profileLegend(unit);
    const QList<int> rows = legendRows(labels, plain, legend, area.width(), 9 * u);
    const QRectF plot(area.left() + leftW, area.top() + lineH * 1.5, area.width() - leftW - rightW,
                      area.height() - lineH * (5 + rows.size()));
    if (plot.width() <= 0 || plot.height() <= 0) {
        p.restore();
        return;
    }
    const Frame fr{plot, 0, profileTop(f), u};
    drawScale(labels, fr, plain, fm, unit);
    // The other unit on the right at every 50 mg/dl (in mmol/l with a tick:
    // its grid runs at other rows).
    p.setPen(kAxisColor);
    for (int v = 0; v <= fr.top; v += 50) {
        if (mmol)
            p.drawLine(QPointF(plot.right(), fr.y(v)), QPointF(plot.right() + 1.5 * u, fr.y(v)));
        labels.draw(QPointF(plot.right() + 2 * u, fr.y(v) + fm.ascent() / 2.5),
                    mmol ? QString::number(v) : german(mmolTenths(v)), plain);
    }
    labels.draw(QPointF(area.left(), area.top() + fm.ascent()), leftUnit, plain);
    labels.draw(QPointF(area.right(), area.top() + fm.ascent()), rightUnit, plain,
                std::numeric_limits<qreal>::max(), Qt::AlignRight);
    drawLimits(p, fr);
    drawLegend(labels, plain, legend, rows, area.left(), area.bottom() - lineH * rows.size(), fm,
               u);
    if (f.perSlot.isEmpty()) {
        p.setPen(Qt::black);
        p.setFont(QFont(plain, p.device()));
        p.drawText(plot, Qt::AlignCenter, QStringLiteral("keine Messwerte"));
        p.restore();
        return;
    }
    const qreal step = plot.width() / f.perSlot.size();
    const qreal boxW = std::min(step * 0.5, 24 * u);
    QPainterPath medians;
    bool started = false;
    for (int i = 0; i < f.perSlot.size(); ++i) {
        const SlotFigures &s = f.perSlot[i];
        const qreal x = plot.left() + step * (i + 0.5);
        drawSlot(p, fr, s, x, boxW);
        if (s.mgdl[P50]) {
            const QPointF m(x, fr.y(*s.mgdl[P50] / 10.0));
            if (started)
                medians.lineTo(m);
            else
                medians.moveTo(m);
            started = true;
        }
        drawSlotCaption(labels, fr, s, x, step, fm, plain);
    }
    p.setPen(QPen(kMedianColor, 0.8 * u, Qt::DotLine));
    p.setBrush(Qt::NoBrush);
    p.setRenderHint(QPainter::Antialiasing, true);
    p.drawPath(medians);
    p.restore();
}

namespace {

const char *const kShortMonths[] = {"Jan", "Feb", "Mär", "Apr", "Mai", "Jun",
                                    "Jul", "Aug", "Sep", "Okt", "Nov", "Dez"};

// The mean in mg/dl an estimated HbA1c in percent stands for.
qreal mgdlOfEa1c(qreal percent) {
    return 28.7 * percent - 46.7;
}

} // namespace

void drawTrend(QPainter &p, const QRectF &area, const QList<MonthPoint> &months, qreal fontPt,
               GlucoseUnit unit) {
    LabelPainter labels(p);
    drawTrend(labels, area, months, fontPt, unit);
}

void drawTrend(LabelPainter &labels, const QRectF &area, const QList<MonthPoint> &months,
               qreal fontPt, GlucoseUnit unit) {
    QPainter &p = labels.painter();
    const qreal u = beginChart(p);
    const QFont plain = chartFont(fontPt);
    const QFontMetricsF fm(plain, p.device());
    const qreal lineH = fm.height();
    const qreal leftW = labels.width(QStringLiteral("eA1c %"), plain) + 4 * u;
    const qreal rightW = labels.width(QStringLiteral("10 %"), plain) + 4 * u;
    const QRectF plot(area.left() + leftW, area.top() + lineH * 1.5, area.width() - leftW - rightW,
                      area.height() - lineH * 6);
    if (plot.width() <= 0 || plot.height() <= 0 || months.isEmpty()) {
        p.restore();
        return;
    }
    int lo = 70, hi = 180;
    for (const MonthPoint &m : months)
        if (m.mean) {
            lo = std::min(lo, int(*m.mean / 10));
            hi = std::max(hi, int(*m.mean / 10) + 1);
        }
    const Frame fr{plot, std::max(0, lo / 50 * 50), std::min(kMaxReading, (hi + 49) / 50 * 50), u};
    drawScale(labels, fr, plain, fm, unit);
    // The estimated HbA1c a mean stands for, on the right.
    p.setPen(kAxisColor);
    for (int a = 4; a <= 20; ++a) {
        const qreal mg = mgdlOfEa1c(a);
        if (mg < fr.bottom || mg > fr.top) continue;
        p.drawLine(QPointF(plot.right(), fr.y(mg)), QPointF(plot.right() + 1.5 * u, fr.y(mg)));
        labels.draw(QPointF(plot.right() + 2 * u, fr.y(mg) + fm.ascent() / 2.5),
                    QStringLiteral("%1 %").arg(a), plain);
    }
    labels.draw(QPointF(area.left(), area.top() + fm.ascent()), glucoseunit::unitText(unit), plain);
    labels.draw(QPointF(area.right(), area.top() + fm.ascent()), QStringLiteral("eA1c"), plain,
                std::numeric_limits<qreal>::max(), Qt::AlignRight);
    p.setPen(QPen(kAxisColor, 0.75 * u));
    p.drawRect(plot);

    const qreal step = plot.width() / months.size();
    QPainterPath line;
    bool open = false;
    for (int i = 0; i < months.size(); ++i) {
        const MonthPoint &m = months[i];
        const qreal x = plot.left() + step * (i + 0.5);
        // Month, the year at January and at the first month (unless January
        // follows it), the eA1c.
        const QString name = QString::fromUtf8(kShortMonths[m.key % 12]);
        const bool yearShown = m.key % 12 == 0 || (i == 0 && m.key % 12 != 11);
        const QString year = yearShown ? QString::number(m.key / 12) : QString();
        const QString ea1c = m.ea1cPercent ? german(m.ea1cPercent) : QStringLiteral("–");
        const QString rowsText[] = {name, year, ea1c};
        for (int r = 0; r < 3; ++r) {
            if (rowsText[r].isEmpty()) continue;
            p.setPen(r == 2 ? Qt::black : kAxisColor);
            // The year may reach into the next month's column, which has none.
            labels.draw(QPointF(x, plot.bottom() + lineH * (r + 1)), rowsText[r], plain,
                        r == 1 ? 2 * step : step, Qt::AlignHCenter);
        }
        if (!m.mean) {
            open = false;
            continue;
        }
        const QPointF pt(x, fr.y(*m.mean / 10.0));
        if (open)
            line.lineTo(pt);
        else
            line.moveTo(pt);
        open = true;
    }
    p.setPen(kAxisColor);
    labels.draw(QPointF(area.left(), plot.bottom() + lineH * 3), QStringLiteral("eA1c %"), plain);
    p.setPen(QPen(kMedianColor, 1.2 * u));
    p.setBrush(Qt::NoBrush);
    p.setRenderHint(QPainter::Antialiasing, true);
    p.drawPath(line);
    for (int i = 0; i < months.size(); ++i) {
        const MonthPoint &m = months[i];
        if (!m.mean) continue;
        const QPointF pt(plot.left() + step * (i + 0.5), fr.y(*m.mean / 10.0));
        p.setPen(QPen(kMedianColor, 1 * u));
        p.setBrush(m.readings >= kMinReadingsForVerdict ? QBrush(kMedianColor) : QBrush(Qt::white));
        p.drawEllipse(pt, 2 * u, 2 * u);
    }
    // What the points mean.
    p.setBrush(Qt::NoBrush);
    p.setPen(kAxisColor);
    const QString legend =
        QStringLiteral("● Monatsmittelwert   ○ unter %1 Messwerten").arg(kMinReadingsForVerdict);
    labels.draw(QPointF(area.left(), area.bottom() - fm.descent()), legend, plain, area.width());
    p.restore();
}

QList<MonthPoint> lastYear(const Collection &c) {
    return c.months.mid(std::max<qsizetype>(0, c.months.size() - 12));
}

} // namespace statsview
