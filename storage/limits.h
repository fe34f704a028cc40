#pragma once
#include <QString>

// The three limit values and the pen width as the settings file holds them.
// A hand-edited number outside the range the settings dialog keeps is taken
// at the nearest end of that range, however many digits it has.
namespace limits {

struct Range {
    int low, high;
};
inline constexpr Range kHigh{160, 250};     // "Hochwerte>"
inline constexpr Range kCritical{120, 250}; // "Kritischwerte>"
inline constexpr Range kLow{20, 100};       // "Tiefwerte<"
inline constexpr Range kPenWidth{1, 8};     // "StiftBreite"
inline constexpr int kDefaultPenWidth = 2;

// Range of "Hochwerte>", "Kritischwerte>", "Tiefwerte<" or "StiftBreite";
// false for any other key.
bool rangeOf(const QString &key, Range &range);
// Whole number of a text (blanks around it and a sign allowed) clamped into
// the range; false when the text is no whole number.
bool clamped(const QString &text, Range range, int &value);
// The value of a limit key from its stored text, clamped into its range.
// Throws EConvertError naming the key when the text is empty or no whole
// number.
int limit(const QString &key, const QString &text);
// "StiftBreite": empty gives 2, a number is clamped to 1 … 8; anything else
// throws EConvertError naming the key.
int penWidth(const QString &text);

} // namespace limits
