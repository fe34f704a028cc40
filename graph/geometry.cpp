#include "geometry.h"

#include "storage/settingsstore.h"

namespace graphgeo {

int DayX(int day) {
    return kFirstReadingX + kDayWidth * (day - 1);
}

int SlotX(int day, MeasurementSlot slot, MeasureMode mode) {
    const int x = DayX(day);
    if (mode == MeasureMode::Four) {
        switch (slot) {
        case MeasurementSlot::Morgens:
            return x;
        case MeasurementSlot::Messung2:
            return x + 12;
        case MeasurementSlot::Messung3:
            return x + 24;
        case MeasurementSlot::Abends:
            return x + 36;
        default:
            return -1;
        }
    }
    return x - 3 + 6 * (slotinfo::number(slot) - 1);
}

int dayAtX(int x) {
    if (x < kGridLeft) return 0;
    if (x < kGridLeft + kDayWidth * (kDays - 1)) return (x - kGridLeft) / kDayWidth + 1;
    if (x < kPictureWidth + 1) return kDays;
    return 0;
}

int valueY(int v) {
    if (v <= 0) return kZeroRow;
    if (v >= kMaxScale) return kTopRow;
    if (v % 10 == 0) return RowY(v);
    const int t = (v / 10 + 1) * 10;
    const int k = t - v;
    return v % 10 <= 5 ? RowY(t) + k - 2 : RowY(t) + k;
}

int limitRowY(int v) {
    if (v == 0) return 0;
    if (v > 250 || v < 0) return v;
    return valueY(v);
}

QString readoutValueText(int y) {
    auto row = [](int t) { return RowY(t) + kReadoutOffset; };
    for (int t = 0; t <= kMaxScale; t += 10)
        if (y == row(t)) return QString::number(t);
    for (int t = 0; t < kMaxScale; t += 10)
        if (y > row(t + 10) && y < row(t)) {
            int d = row(t) - y;
            if (d > 2) d -= 2;
            return QString::number(t / 10) + QString::number(2 * d);
        }
    return {};
}

QString timeStripText(const SettingsStore &settings, MeasureMode mode) {
    QString text = QStringLiteral("    Uhrzeiten: M1= ");
    int n = 0;
    for (int k = 1; k <= slotinfo::kCount; ++k) {
        const MeasurementSlot slot = slotinfo::fromNumber(k);
        if (!slotinfo::usedIn(slot, mode)) continue;
        if (++n > 1) text += QStringLiteral("  M%1= ").arg(n);
        text += settings.get(slotinfo::timeKey(slot, mode));
    }
    return text;
}

} // namespace graphgeo
