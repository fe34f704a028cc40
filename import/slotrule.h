#pragma once
#include <QString>
#include <array>

#include "readingfile.h"
#include "storage/entryline.h"

class SettingsStore;

// Which daily slot a reading of a meter or portal goes to.
namespace importer {

// The slot times of one measure mode, from the user's stored times.
struct SlotTimes {
    MeasureMode mode = MeasureMode::Four;
    std::array<int, slotinfo::kCount> minute{};  // by slot number - 1; -1 for a slot the mode lacks
    std::array<bool, slotinfo::kCount> stored{}; // the time came from the settings

    // How far a reading may lie from its slot's time: 90 minutes with four
    // slots, 60 with eight.
    int limit() const { return mode == MeasureMode::Four ? 90 : 60; }
};

// The stored times of the mode ("Messung4Uhrzeit…"/"Messung8Uhrzeit…"); a
// slot without a readable time gets a default: 07:00, 12:00, 17:00, 21:00
// with four slots, every two hours from 07:00 to 21:00 with eight.
SlotTimes slotTimes(const SettingsStore &settings, MeasureMode mode);
// The default times alone.
SlotTimes defaultSlotTimes(MeasureMode mode);

// The slot whose window holds the minute of the day: the slot with the
// nearest time, at most limit() minutes away, the earlier one on a tie.
// (The window of a slot so runs from the midpoint to the previous slot's
// time to the midpoint to the next one's, and never further than the limit.)
// 0 when the minute lies in no window.
int slotFor(const SlotTimes &times, int minute);

// Whether reading a should take a slot rather than b: a blood reading before
// a scan before a sensor history value, then the one nearer to the slot's
// time, then the earlier, then the one found first.
bool ranksBefore(const Reading &a, const Reading &b, int slotMinute);

// "Morgens 07:00, Messung 2 12:00, …" for the user.
QString slotTimesText(const SlotTimes &times);

} // namespace importer
