#include "slotrule.h"

#include <cstdlib>

#include "storage/settingsstore.h"

namespace importer {

SlotTimes defaultSlotTimes(MeasureMode mode) {
    SlotTimes t;
    t.mode = mode;
    t.minute.fill(-1);
    if (mode == MeasureMode::Four) {
        t.minute[0] = 7 * 60;
        t.minute[1] = 12 * 60;
        t.minute[2] = 17 * 60;
        t.minute[7] = 21 * 60;
    } else {
        for (int i = 0; i < slotinfo::kCount; ++i)
            t.minute[size_t(i)] = (7 + 2 * i) * 60;
    }
    return t;
}

SlotTimes slotTimes(const SettingsStore &settings, MeasureMode mode) {
    SlotTimes t = defaultSlotTimes(mode);
    for (int n = 1; n <= slotinfo::kCount; ++n) {
        const MeasurementSlot s = slotinfo::fromNumber(n);
        if (!slotinfo::usedIn(s, mode)) continue;
        int minute = 0;
        if (parseTime(settings.get(slotinfo::timeKey(s, mode)), minute)) {
            t.minute[size_t(n - 1)] = minute;
            t.stored[size_t(n - 1)] = true;
        }
    }
    return t;
}

int slotFor(const SlotTimes &times, int minute) {
    int best = 0, bestDistance = 0, bestTime = 0;
    for (int n = 1; n <= slotinfo::kCount; ++n) {
        const int t = times.minute[size_t(n - 1)];
        if (t < 0) continue;
        const int distance = std::abs(minute - t);
        if (distance > times.limit()) continue;
        if (best == 0 || distance < bestDistance || (distance == bestDistance && t < bestTime)) {
            best = n;
            bestDistance = distance;
            bestTime = t;
        }
    }
    return best;
}

bool ranksBefore(const Reading &a, const Reading &b, int slotMinute) {
    if (a.source != b.source) return a.source < b.source;
    // A reading without a time (our own export names its slot) counts as on time.
    const int da = a.minute < 0 ? 0 : std::abs(a.minute - slotMinute);
    const int db = b.minute < 0 ? 0 : std::abs(b.minute - slotMinute);
    if (da != db) return da < db;
    if (a.minute != b.minute) return a.minute < b.minute;
    return false;
}

QString slotTimesText(const SlotTimes &times) {
    QStringList parts;
    for (int n = 1; n <= slotinfo::kCount; ++n) {
        const int t = times.minute[size_t(n - 1)];
        if (t >= 0) parts << slotinfo::displayLabel(slotinfo::fromNumber(n)) + u' ' + timeText(t);
    }
    return parts.join(QStringLiteral(", "));
}

} // namespace importer
