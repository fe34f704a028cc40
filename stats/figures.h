#pragma once
#include <QDate>
#include <QList>
#include <array>
#include <optional>
#include <span>

#include "storage/glucoseunit.h"
#include "storage/readings.h"

// The figures of the international consensus on glucose targets, applied to
// finger-stick readings (shares of readings, not of time), the estimated
// HbA1c and the day profile by slot. Every rounded figure is kept in tenths
// and computed from the integer readings exactly, so a value on a rounding
// edge (143,45) is rounded half away from zero as written, never as a binary
// fraction happens to fall.
namespace stats {

using glucose::kMaxReading;
using glucose::Reading;
using glucose::sortByDateAndSlot;
using glucose::TableReadings;

// A figure with one decimal, in tenths; empty when it is not given.
using Tenths = std::optional<qint64>;

constexpr double kMgdlPerMmol = 18.016;
// Readings from this count on give a standard deviation and variation.
constexpr int kMinReadingsForSpread = 30;
// The estimated HbA1c needs that many readings on this many days.
constexpr int kMinDaysForEa1c = 14;
// Below this count no target is judged and no change against another
// period is marked: one reading says nothing about a share.
constexpr int kMinReadingsForVerdict = kMinReadingsForSpread;

// The five ranges in mg/dl, bounds inclusive: < 54, 54–69, 70–180, 181–250, > 250.
enum Band { VeryLow, Low, InRange, High, VeryHigh, BandCount };
Band bandOf(int mgdl);

// Consensus targets as shares of the readings.
enum class Target { InRange, LowAll, VeryLow, HighAll, VeryHigh };
constexpr std::array<Target, 5> kTargets = {Target::InRange, Target::LowAll, Target::VeryLow,
                                            Target::HighAll, Target::VeryHigh};

// The percentiles of the day profile, each given from its number of readings
// on (linear interpolation between the closest ranks, "type 7"): the median
// from 5, 25–75 % from 7, 10–90 % from 20, 5–95 % from 40. A slot with fewer
// than 5 readings shows only its readings.
enum Percentile { P5, P10, P25, P50, P75, P90, P95, PercentileCount };
constexpr std::array<int, PercentileCount> kPercent = {5, 10, 25, 50, 75, 90, 95};
constexpr std::array<int, PercentileCount> kMinReadingsFor = {40, 20, 7, 5, 7, 20, 40};
constexpr int kMinReadingsForMedian = 5;

struct SlotFigures {
    MeasurementSlot slot = MeasurementSlot::Morgens;
    int readings = 0;
    std::array<Tenths, PercentileCount> mgdl; // tenths of mg/dl
    std::array<Tenths, PercentileCount> mmol; // tenths of mmol/l
    int min = 0, max = 0;                     // mg/dl
    qint64 minMmol = 0, maxMmol = 0;          // tenths
    int typicalMinute = -1;                   // median clock time; -1 without times
    QList<int> values;                        // sorted; kept below kMinReadingsForMedian
    // "07:30"; empty without times.
    QString typicalTime() const;
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
    // on the rounded share).
    Tenths share(Target t) const;
    bool met(Target t) const;
    // Whether targets are judged at all: from kMinReadingsForVerdict readings on.
    bool judged() const { return readings >= kMinReadingsForVerdict; }
};

// The figures of readings in date and slot order (others are sorted first).
Figures compute(const QList<Reading> &readings);
// The same of readings known to be in date and slot order.
Figures computeSorted(std::span<const Reading> readings);

// The figures compared between two periods.
enum class Compared {
    Readings,
    Mean,
    Sd,
    Cv,
    VeryHighShare,
    HighShare,
    InRangeShare,
    LowShare,
    VeryLowShare,
    HypoLevel1,
    HypoLevel2,
    Ea1c
};
constexpr std::array<Compared, 12> kCompared = {
    Compared::Readings,      Compared::Mean,       Compared::Sd,           Compared::Cv,
    Compared::VeryHighShare, Compared::HighShare,  Compared::InRangeShare, Compared::LowShare,
    Compared::VeryLowShare,  Compared::HypoLevel1, Compared::HypoLevel2,   Compared::Ea1c};
// The figure in tenths; empty when it is not given.
Tenths valueOf(const Figures &f, Compared what);
// Whether a period has enough readings for the figure to be compared: the
// count needs readings, the others kMinReadingsForVerdict (SD, CV and eA1c
// their own thresholds as well).
bool enoughFor(const Figures &f, Compared what);
// The change from `before` to `now` in tenths; empty unless both periods
// have enough readings for the figure.
Tenths change(const Figures &now, const Figures &before, Compared what);

// The estimated HbA1c in tenths of a percent from the sum of the readings,
// their number and the days they fall on; empty below 30 readings on 14 days.
Tenths ea1cPercentOf(qint64 sum, qint64 readings, int days);

// Exact rounding helpers (half away from zero), exposed for the tests.
qint64 roundDiv(qint64 num, qint64 den);
// mg/dl in tenths of mmol/l.
qint64 mmolTenths(int mgdl);

} // namespace stats
