#pragma once
#include <QString>

#include "storage/entryline.h"

class SettingsStore;

// Where the month graph puts things, in pixels of the graph picture (origin
// top left, y downwards): day columns 48 pixels wide, the first starting at
// x 40 and its Morgens reading at x 45; value rows 0.7 pixel per mg/dl from
// y 411 (0 mg/dl) up to y 61 (500 mg/dl). The template pictures, the drawing
// pass, the pointer readout, the day selection and the prints all use these.
namespace graphgeo {

constexpr int kDayWidth = 48;
constexpr int kDays = 31;
constexpr int kGridLeft = 40;                             // left edge of day 1's column
constexpr int kFirstReadingX = 45;                        // Morgens of day 1
constexpr int kGridRight = kGridLeft + kDayWidth * kDays; // 1528
constexpr int kLimitLineEnd = 1526;                       // right end of the limit lines
constexpr int kZeroRow = 411;                             // 0 mg/dl
constexpr int kTopRow = 61;                               // 500 mg/dl
constexpr int kMaxScale = 500;                            // mg/dl at the top row
constexpr int kPictureWidth = 1550;                       // the template pictures
constexpr int kPictureHeight = 448;
constexpr int kLegendWidth = 42; // the mg/dl legend laid over the left edge
constexpr int kLegendHeight = 403;
constexpr int kLegendTop = 41; // the legend's top within the graph's box
// The readout rows assume the graph picture 49 pixels below the client top.
constexpr int kReadoutOffset = 49;

// Left edge of a day's column, and x of its Morgens reading.
constexpr int dayLeft(int day) {
    return kGridLeft + kDayWidth * (day - 1);
}
int DayX(int day);
// x of a slot's reading within its day; -1 for a slot the mode does not draw.
int SlotX(int day, MeasurementSlot slot, MeasureMode mode);
// Day 1..31 under an x of the graph (left of day 1 and right of 1550: 0).
int dayAtX(int x);
// Row of a multiple of 10 mg/dl.
constexpr int RowY(int t) {
    return kZeroRow - 7 * t / 10;
}
// y of a reading (without the classification).
int valueY(int v);
// Row of a limit value: the reading rule over 0 … 250; 0 gives row 0 and a
// value outside the range the value itself (the limits are clamped before).
int limitRowY(int v);
// Readout text for a pointer at y in window client coordinates whose graph
// picture starts kReadoutOffset pixels below the client top; empty off the scale.
QString readoutValueText(int clientY);

// The slot times as the time strip shows them ("    Uhrzeiten: M1= 07:00  M2= …"):
// the remembered time of each slot of the mode, from the settings.
QString timeStripText(const SettingsStore &settings, MeasureMode mode);

} // namespace graphgeo
