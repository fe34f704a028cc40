#pragma once
#include <QImage>

#include "storage/entryline.h"

// The delivered pictures: the graph templates the month is drawn on, the
// mg/dl legend laid over the graph's left edge, and the title strip picture.
namespace templatepicture {

constexpr int kWidth = 1550; // the band ends 24 pixels before the right edge, at x 1526
constexpr int kHeight = 448;
constexpr int kLegendWidth = 42;
constexpr int kLegendHeight = 403;
constexpr int kLegendTop = 41; // top of the legend in the graph's scroll box

// y of a multiple of 10 mg/dl (0 at 411, 0.7 pixel per mg/dl).
inline int rowY(int tenths) {
    return 411 - 7 * tenths / 10;
}

QImage graphTemplate(MeasureMode mode);
QImage legend();
QImage header(int width = 1600);

} // namespace templatepicture
