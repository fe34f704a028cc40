#include <gtest/gtest.h>

#include <QPainter>

#include "graph/geometry.h"
#include "graph/monthgraph.h"

// A reading's point is set from a pattern worked out once per pen width; it
// must cover the very pixels a stroke of the point covers, wherever it stands,
// also where the picture's edge cuts it.
TEST(MonthGraph, PointPatternCoversWhatAStrokedPointCovers) {
    const QList<QPoint> places = {
        {0, 0},      {45, 411},
        {1527, 61},  {777, 250},
        {1549, 447}, {graphgeo::SlotX(31, MeasurementSlot::Abends, MeasureMode::Eight), 62}};
    for (int width = 1; width <= 9; ++width) {
        const QList<QPoint> pattern = MonthGraph::pointPixels(width);
        for (const QPoint &at : places) {
            QImage stroked(graphgeo::kPictureWidth, graphgeo::kPictureHeight, QImage::Format_RGB32);
            stroked.fill(Qt::white);
            QImage set = stroked;
            QPainter s(&stroked);
            s.setPen(QPen(Qt::red, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
            s.drawLine(at.x() + 1, at.y(), at.x(), at.y() + 1);
            s.end();
            QPainter p(&set);
            p.setPen(QPen(Qt::red, 1));
            for (const QPoint &d : pattern)
                p.drawPoint(at + d);
            p.end();
            EXPECT_TRUE(stroked == set) << "width " << width << " at " << at.x() << "," << at.y();
        }
    }
}
