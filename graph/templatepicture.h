#pragma once
#include <QImage>

#include "storage/entryline.h"

class SettingsStore;

// The delivered pictures, drawn to the graph's geometry (geometry.h): the
// graph templates the month is drawn on, the mg/dl legend laid over the
// graph's left edge, and the title strip picture.
namespace templatepicture {

QImage graphTemplate(MeasureMode mode);

// The picture files the settings name, taken from the base folder and used
// only when they exist: the graph template of the ticked mode (the eight-slot
// one wins when both are ticked; `current` when neither names a file) and the
// title strip picture (empty when none).
QString templatePathFor(const SettingsStore &settings, const QString &baseFolder, bool four,
                        bool eight, const QString &current = QString());
QString headerPathFor(const SettingsStore &settings, const QString &baseFolder);
QImage legend();
QImage header(int width = 1600);

} // namespace templatepicture
