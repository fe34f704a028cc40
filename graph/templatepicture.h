#pragma once
#include <QImage>

#include "storage/entryline.h"
#include "storage/glucoseunit.h"

class SettingsStore;

// The delivered pictures, drawn to the graph's geometry (geometry.h): the
// graph templates the month is drawn on, the legend of the value scale laid
// over the graph's left edge, and the title strip picture.
namespace templatepicture {

QImage graphTemplate(MeasureMode mode);

// The picture files the settings name, taken from the base folder and used
// only when they exist: the graph template of the ticked mode (the eight-slot
// one wins when both are ticked; `current` when neither names a file) and the
// title strip picture (empty when none).
QString templatePathFor(const SettingsStore &settings, const QString &baseFolder, bool four,
                        bool eight, const QString &current = QString());
QString headerPathFor(const SettingsStore &settings, const QString &baseFolder);
// The value scale at the rows of the graph: mg/dl every 50 (the delivered
// "M_einheit.bmp"), or mmol/l every 2, each label at the row of its value.
QImage legend(GlucoseUnit unit = GlucoseUnit::MgDl);
// The legend the windows and prints lay over the graph: in mg/dl the picture
// "M_einheit.bmp" of the base folder (null when it cannot be read), in
// mmol/l the drawn one.
QImage legendFor(GlucoseUnit unit, const QString &baseFolder);
QImage header(int width = 1600);

} // namespace templatepicture
