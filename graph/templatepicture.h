#pragma once
#include <QImage>

#include "storage/entryline.h"

// The delivered pictures, drawn to the graph's geometry (geometry.h): the
// graph templates the month is drawn on, the mg/dl legend laid over the
// graph's left edge, and the title strip picture.
namespace templatepicture {

QImage graphTemplate(MeasureMode mode);
QImage legend();
QImage header(int width = 1600);

} // namespace templatepicture
