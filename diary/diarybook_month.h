#pragma once
#include <QString>
#include <QStringList>
#include <array>

#include "diarybook_compose.h"
#include "storage/monthread.h"

// The diary book's input from a month as the drawing pass computed it
// (monthread::readWhole reads it from a table file).
namespace diarybook {

// The month's day texts, date, user, mean and year; no pages. Readings and
// mean in the unit.
DiaryBookInput bookInput(const MonthResult &month, const QString &dataFolder, MeasureMode mode,
                         GlucoseUnit unit);
// The same with the pages of the table's diary file (a missing diary file
// gives none), in the mode the table stores, else in fallbackMode.
DiaryBookInput bookInput(const monthread::Month &month, const QString &dataFolder,
                         MeasureMode fallbackMode, GlucoseUnit unit);

} // namespace diarybook
