#include "statscharts.h"

#include <QFontMetricsF>
#include <QPaintDevice>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>

#include "stats/statstext.h"

namespace statsview {

using namespace stats;

namespace {

const QColor kMetColor(0, 110, 40);
const QColor kMissedColor(180, 0, 0);
const QColor kAxisColor(90, 90, 90);

// Device pixels per point of the painter's device.
qreal unitOf(const QPainter &p) {
    return p.device() ? p.device()->logicalDpiY() / 72.0 : 1.0;
}

QFont fontOf(qreal pt, bool bold = false) {
    QFont f(QStringLiteral("Arial"));
    f.setPointSizeF(pt);
    f.setBold(bold);
    return f;
}

struct BandLabel {
    Band band;
    QString name;
    QString bounds;
    std::optional<Target> target;   // the band's own target
    std::optional<Target> combined; // the target of it and its neighbour
};

const BandLabel kLabels[] = {
    {VeryHigh, QStringLiteral("sehr hoch"), QStringLiteral("> 250 mg/dl (> 13,9 mmol/l)"),
     Target::VeryHigh, std::nullopt},
    {High, QStringLiteral("hoch"), QStringLiteral("181–250 mg/dl (10,1–13,9 mmol/l)"), std::nullopt,
     Target::HighAll},
    {InRange, QStringLiteral("im Zielbereich"), QStringLiteral("70–180 mg/dl (3,9–10,0 mmol/l)"),
     Target::InRange, std::nullopt},
    {Low, QStringLiteral("niedrig"), QStringLiteral("54–69 mg/dl (3,0–3,8 mmol/l)"), std::nullopt,
     Target::LowAll},
    {VeryLow, QStringLiteral("sehr niedrig"), QStringLiteral("< 54 mg/dl (< 3,0 mmol/l)"),
     Target::VeryLow, std::nullopt},
};

QString targetLine(const Figures &f, Target t) {
    QString s = QStringLiteral("Ziel ") + targetText(t);
    if (f.readings > 0)
        s += f.met(t) ? QStringLiteral(" – erreicht") : QStringLiteral(" – nicht erreicht");
    return s;
}

} // namespace

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

void drawRangeBar(QPainter &p, const QRectF &area, const Figures &f, qreal fontPt) {
    const qreal u = unitOf(p);
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    const QFont plain = fontOf(fontPt), bold = fontOf(fontPt, true);
    const QFontMetricsF fm(plain, p.device());
    const qreal lineH = fm.height();
    const qreal barW = std::min(area.width() * 0.2, 36 * u);
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
        p.setFont(plain);
        p.drawText(bar.adjusted(-bar.width(), 0, area.width(), 0), Qt::AlignCenter,
                   QStringLiteral("keine Messwerte"));
        p.restore();
        return;
    }

    // Labels evenly spaced beside the bar, each joined to its segment.
    const qreal labelX = bar.right() + 14 * u;
    const qreal slot = bar.height() / 5;
    for (int i = 0; i < 5; ++i) {
        const BandLabel &l = kLabels[i];
        const qreal top = bar.top() + i * slot;
        const qreal firstLine = top + (slot - 3 * lineH) / 2 + fm.ascent();
        p.setPen(QPen(kAxisColor, 0.5 * u));
        p.drawLine(QPointF(bar.right(), centre[l.band]),
                   QPointF(labelX - 3 * u, firstLine - fm.ascent() / 2));
        p.fillRect(
            QRectF(labelX - 3 * u - 4 * u, firstLine - fm.ascent() / 2 - 2 * u, 4 * u, 4 * u),
            bandColor(l.band));
        p.setFont(bold);
        p.setPen(Qt::black);
        QString head =
            l.name + QStringLiteral(": ") + german(f.bands[l.band]) + QStringLiteral(" %");
        if (l.target) {
            p.setPen(f.met(*l.target) ? kMetColor : kMissedColor);
            head += QStringLiteral("   (") + targetLine(f, *l.target) + u')';
        }
        p.drawText(QPointF(labelX, firstLine), head);
        p.setFont(plain);
        p.setPen(Qt::black);
        p.drawText(QPointF(labelX, firstLine + lineH), l.bounds);
        if (l.combined) {
            p.setPen(f.met(*l.combined) ? kMetColor : kMissedColor);
            p.drawText(QPointF(labelX, firstLine + 2 * lineH),
                       targetCaption(*l.combined) + QStringLiteral(": ") +
                           german(f.share(*l.combined)) + QStringLiteral(" %   (") +
                           targetLine(f, *l.combined) + u')');
        }
    }
    p.restore();
}

namespace {

const QColor kBoxColor(187, 222, 251);
const QColor kSlotLineColor(21, 101, 192);

// The plot area of the profile and its scale from 0 to top mg/dl.
struct ProfileFrame {
    QRectF plot;
    int top = 300;
    qreal u = 1; // device pixels per point
    qreal y(qreal mgdl) const { return plot.bottom() - plot.height() * mgdl / top; }
};

// The scale's top: 300 mg/dl, or the largest value rounded up to 50, at most
// the largest reading there can be.
int profileTop(const Figures &f) {
    int top = 300;
    for (const SlotFigures &s : f.perSlot)
        top = std::max(top, int(std::ceil(s.max / 50.0)) * 50);
    return std::min(top, kMaxReading);
}

// The target range, a grid line every 50 mg/dl with mg/dl on the left and
// mmol/l on the right, and the units above them.
void drawProfileScale(QPainter &p, const ProfileFrame &fr, const QRectF &area,
                      const QFontMetricsF &fm) {
    const QRectF &plot = fr.plot;
    const qreal u = fr.u;
    p.fillRect(QRectF(QPointF(plot.left(), fr.y(180)), QPointF(plot.right(), fr.y(70))),
               QColor(226, 242, 224));
    for (int v = 0; v <= fr.top; v += 50) {
        const qreal yy = fr.y(v);
        p.setPen(QPen(QColor(215, 215, 215), 0.5 * u));
        p.drawLine(QPointF(plot.left(), yy), QPointF(plot.right(), yy));
        p.setPen(kAxisColor);
        const QString mg = QString::number(v);
        p.drawText(QPointF(plot.left() - 2 * u - fm.horizontalAdvance(mg), yy + fm.ascent() / 2.5),
                   mg);
        p.drawText(QPointF(plot.right() + 2 * u, yy + fm.ascent() / 2.5), german(mmolTenths(v)));
    }
    p.drawText(QPointF(area.left(), area.top() + fm.ascent()), QStringLiteral("mg/dl"));
    p.drawText(QPointF(area.right() - fm.horizontalAdvance(QStringLiteral("mmol/l")),
                       area.top() + fm.ascent()),
               QStringLiteral("mmol/l"));
}

// The range limits in their bands' colours and the frame of the plot.
void drawLimitLines(QPainter &p, const ProfileFrame &fr) {
    const struct {
        int mgdl;
        Band band;
        Qt::PenStyle style;
    } limits[] = {{54, VeryLow, Qt::DashLine},
                  {70, Low, Qt::SolidLine},
                  {180, High, Qt::SolidLine},
                  {250, VeryHigh, Qt::DashLine}};
    for (const auto &l : limits) {
        p.setPen(QPen(bandColor(l.band), 0.8 * fr.u, l.style));
        p.drawLine(QPointF(fr.plot.left(), fr.y(l.mgdl)), QPointF(fr.plot.right(), fr.y(l.mgdl)));
    }
    p.setPen(QPen(kAxisColor, 0.75 * fr.u));
    p.setBrush(Qt::NoBrush);
    p.drawRect(fr.plot);
}

// Whiskers from the smallest to the largest value, the box of the 25th to
// 75th percentile and the median across it.
void drawSlotBox(QPainter &p, const ProfileFrame &fr, const SlotFigures &s, qreal x, qreal boxW) {
    const qreal u = fr.u;
    p.setPen(QPen(kSlotLineColor, 0.75 * u));
    p.drawLine(QPointF(x, fr.y(s.min)), QPointF(x, fr.y(s.max)));
    p.drawLine(QPointF(x - boxW / 4, fr.y(s.min)), QPointF(x + boxW / 4, fr.y(s.min)));
    p.drawLine(QPointF(x - boxW / 4, fr.y(s.max)), QPointF(x + boxW / 4, fr.y(s.max)));
    const QRectF r(QPointF(x - boxW / 2, fr.y(s.p75 / 10.0)),
                   QPointF(x + boxW / 2, fr.y(s.p25 / 10.0)));
    p.setBrush(kBoxColor);
    p.drawRect(r);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(kSlotLineColor, 2 * u));
    p.drawLine(QPointF(r.left(), fr.y(s.median / 10.0)), QPointF(r.right(), fr.y(s.median / 10.0)));
}

// The slot's name and its number of readings below the plot.
void drawSlotCaption(QPainter &p, const ProfileFrame &fr, const SlotFigures &s, qreal x,
                     const QFontMetricsF &fm) {
    const qreal lineH = fm.height();
    p.setPen(Qt::black);
    const QString name = s.slot == MeasurementSlot::Morgens || s.slot == MeasurementSlot::Abends
                             ? slotinfo::word(s.slot)
                             : slotinfo::shortLabel(s.slot);
    const QString count = QStringLiteral("n=%1").arg(s.readings);
    p.drawText(QPointF(x - fm.horizontalAdvance(name) / 2, fr.plot.bottom() + lineH), name);
    p.setPen(kAxisColor);
    p.drawText(QPointF(x - fm.horizontalAdvance(count) / 2, fr.plot.bottom() + 2 * lineH), count);
}

// A box per slot with readings, evenly spaced, and a dotted line through the medians.
void drawSlots(QPainter &p, const ProfileFrame &fr, const Figures &f, const QFontMetricsF &fm) {
    const qreal step = fr.plot.width() / f.perSlot.size();
    const qreal boxW = std::min(step * 0.45, 22 * fr.u);
    QPainterPath medians;
    for (int i = 0; i < f.perSlot.size(); ++i) {
        const SlotFigures &s = f.perSlot[i];
        const qreal x = fr.plot.left() + step * (i + 0.5);
        drawSlotBox(p, fr, s, x, boxW);
        const QPointF m(x, fr.y(s.median / 10.0));
        if (i == 0)
            medians.moveTo(m);
        else
            medians.lineTo(m);
        drawSlotCaption(p, fr, s, x, fm);
    }
    p.setPen(QPen(kSlotLineColor, 1 * fr.u, Qt::DotLine));
    p.drawPath(medians);
}

} // namespace

void drawProfile(QPainter &p, const QRectF &area, const Figures &f, qreal fontPt) {
    const qreal u = unitOf(p);
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    const QFont plain = fontOf(fontPt);
    const QFontMetricsF fm(plain, p.device());
    p.setFont(plain);
    const qreal lineH = fm.height();
    const qreal leftW = fm.horizontalAdvance(QStringLiteral("mg/dl")) + 4 * u;
    const qreal rightW = fm.horizontalAdvance(QStringLiteral("mmol/l")) + 4 * u;
    const QRectF plot(area.left() + leftW, area.top() + lineH * 1.7, area.width() - leftW - rightW,
                      area.height() - lineH * 3.9);
    if (plot.width() <= 0 || plot.height() <= 0) {
        p.restore();
        return;
    }
    const ProfileFrame fr{plot, profileTop(f), u};
    drawProfileScale(p, fr, area, fm);
    drawLimitLines(p, fr);
    if (f.perSlot.isEmpty()) {
        p.drawText(plot, Qt::AlignCenter, QStringLiteral("keine Messwerte"));
        p.restore();
        return;
    }
    drawSlots(p, fr, f, fm);
    p.restore();
}

} // namespace statsview
