#pragma once
#include <QString>
#include <array>

#include "storage/entryline.h"

// The month's readings as the reading pass collects them line by line: the
// per-day line texts of the diary, each line with its slot tag.
namespace monthvalues {

// The scanning readers of entry lines without building search texts: the day
// of the last " DD." found (the highest, as the readers scan 01 … 31) and the
// last slot word found in slot order.
int dayOfLine(const QString &line);
bool slotOfLine(const QString &line, MeasurementSlot &slot);
// " -1 " .. " -8 " of the line's slot, empty when the line names none.
QString SlotTag(const QString &line);
// Number of a value text ("128", "100,5"; the rule of entryline::readingValue);
// false when it is none.
bool toNumber(const QString &text, long double &v);

enum class Collected { Reading, NoReading, NoNumber };

// Adds a line with its slot tag to its day's text. A line without a day of
// the month (entryline::isReading) is no reading and is not added; for one
// whose value is no number, `valueText` gets the trimmed value.
Collected collect(const QString &line, std::array<QString, 31> &dayLineTexts, QString &valueText);

} // namespace monthvalues
