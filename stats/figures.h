#pragma once
#include <QDate>
#include <QList>
#include <array>
#include <optional>

#include "readings.h"

// The figures of the international consensus on glucose targets, applied to
// finger-stick readings (shares of readings, not of time), the estimated
// HbA1c and the time-of-day profile. Every rounded figure is kept in tenths
// and computed from the integer readings exactly, so a value on a rounding
// edge (143,45) is rounded half away from zero as written, never as a binary
// fraction happens to fall.
namespace stats {

// A figure with one decimal, in tenths; empty when it is not given.
using Tenths = std::optional<qint64>;

constexpr double kMgdlPerMmol = 18.016;
// Readings from this count on give a standard deviation and variation.
constexpr int kMinReadingsForSpread = 30;
// The estimated HbA1c needs that many readings on this many days.
constexpr int kMinDaysForEa1c = 14;

// The five ranges in mg/dl, bounds inclusive: < 54, 54–69, 70–180, 181–250, > 250.
enum Band { VeryLow, Low, InRange, High, VeryHigh, BandCount };
Band bandOf(int mgdl);

// Consensus targets as shares of the readings.
enum class Target { InRange, LowAll, VeryLow, HighAll, VeryHigh };
constexpr std::array<Target, 5> kTargets = {Target::InRange, Target::LowAll, Target::VeryLow,
                                            Target::HighAll, Target::VeryHigh};

struct SlotFigures {
    MeasurementSlot slot = MeasurementSlot::Morgens;
    int readings = 0;
    qint64 median = 0, p25 = 0, p75 = 0; // tenths of mg/dl
    int min = 0, max = 0;
    qint64 medianMmol = 0, p25Mmol = 0, p75Mmol = 0, minMmol = 0, maxMmol = 0; // tenths
};

struct DayMean {
    QDate date;
    int readings = 0;
    qint64 mgdl = 0; // whole mg/dl
    qint64 mmol = 0; // tenths of mmol/l
};

struct Figures {
    int readings = 0;
    int daysWithReadings = 0;
    Tenths mean, meanMmol;
    Tenths sd, sdMmol, cv; // from kMinReadingsForSpread readings on
    std::array<int, BandCount> bandCounts{};
    std::array<Tenths, BandCount> bands; // percent of the readings
    Tenths lowAll, highAll;              // low + very low, high + very high
    int hypoLevel1 = 0;                  // 54–69 mg/dl
    int hypoLevel2 = 0;                  // < 54 mg/dl
    QList<Reading> hypos;                // both levels, in date and slot order
    Tenths ea1cPercent;
    std::optional<qint64> ea1cMmolMol;
    QList<SlotFigures> perSlot; // slots with readings, in slot order
    QList<DayMean> dayMeans;    // days with readings, in date order

    // The share the target speaks of, and whether it is met (exactly, not
    // on the rounded share); no readings meet no target.
    Tenths share(Target t) const;
    bool met(Target t) const;
};

Figures compute(const QList<Reading> &readings);

// Exact rounding helpers (half away from zero), exposed for the tests.
qint64 roundDiv(qint64 num, qint64 den);
// mg/dl in tenths of mmol/l.
qint64 mmolTenths(int mgdl);

} // namespace stats
