#pragma once
#include <QColor>
#include <QFont>
#include <QList>
#include <QRectF>

#include "stats/collection.h"
#include "stats/statstext.h"

class QPainter;

// The pictures of the statistics, drawn with any painter (window, PDF):
// sizes of text are in points and lines scale with the device's resolution,
// so the same code serves the screen and the A4 report.
namespace statsview {

class LabelPainter;

QColor bandColor(stats::Band b);
// Green for a target met, red for one missed, grey without a verdict.
QColor verdictColor(stats::Verdict v);
QFont chartFont(qreal pt, bool bold = false);

// A stacked bar of the five ranges (very low at the bottom), each labelled
// with its bounds (the unit's first), its share and, where the consensus
// sets one, the target with its verdict (none below the readings a verdict
// needs).
void drawRangeBar(QPainter &p, const QRectF &area, const stats::Figures &f, qreal fontPt,
                  GlucoseUnit unit);
void drawRangeBar(LabelPainter &labels, const QRectF &area, const stats::Figures &f, qreal fontPt,
                  GlucoseUnit unit);

// The day profile by slot: per slot with readings the 5–95 %, 10–90 % and
// 25–75 % ranges and the median as far as the slot has the readings for
// them, the readings themselves below 5; under each slot its name, typical
// clock time and n; the target range, the limits of the five ranges, the
// scale in the unit on the left (mg/dl every 50, mmol/l every 2) and in the
// other unit on the right, and a legend.
void drawProfile(QPainter &p, const QRectF &area, const stats::Figures &f, qreal fontPt,
                 GlucoseUnit unit);
void drawProfile(LabelPainter &labels, const QRectF &area, const stats::Figures &f, qreal fontPt,
                 GlucoseUnit unit);

// The trend: each month's mean as a point on a line over the target range
// (hollow below the readings a verdict needs), the scale in the unit on the
// left and the estimated HbA1c it stands for on the right, and under each
// month its eA1c where the month has enough readings.
void drawTrend(QPainter &p, const QRectF &area, const QList<stats::MonthPoint> &months,
               qreal fontPt, GlucoseUnit unit);
// The same with the labels of a painter that draws more (the report).
void drawTrend(LabelPainter &labels, const QRectF &area, const QList<stats::MonthPoint> &months,
               qreal fontPt, GlucoseUnit unit);

// The last 12 months of a collection's trend.
QList<stats::MonthPoint> lastYear(const stats::Collection &c);

} // namespace statsview
