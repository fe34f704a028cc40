#pragma once
#include <QColor>
#include <QRectF>

#include "stats/figures.h"

class QPainter;

// The two pictures of the statistics, drawn with any painter (window,
// PDF): sizes of text are in points and lines scale with the device's
// resolution, so the same code serves the screen and the A4 report.
namespace statsview {

QColor bandColor(stats::Band b);

// A stacked bar of the five ranges (very low at the bottom), each labelled
// with its bounds, its share and, where the consensus sets one, the target.
void drawRangeBar(QPainter &p, const QRectF &area, const stats::Figures &f, qreal fontPt);

// The time-of-day profile: per slot with readings a box from the 25th to the
// 75th percentile, the median as a line through the boxes and the smallest
// and largest value as whiskers, over the target range 70–180 mg/dl; the
// scale in mg/dl on the left and in mmol/l on the right.
void drawProfile(QPainter &p, const QRectF &area, const stats::Figures &f, qreal fontPt);

} // namespace statsview
