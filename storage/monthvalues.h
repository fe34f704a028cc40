#pragma once
#include <QString>
#include <array>

#include "storage/entryline.h"

// The month's readings as the reading pass collects them line by line: the
// per-day line texts of the diary, each line with its slot tag.
namespace monthvalues {

// The slot of an entry line as entryline::slotOf finds it (the last slot
// word found in slot order), in one scan without building search texts.
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
