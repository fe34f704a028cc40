#include "figures.h"

#include <algorithm>
#include <cmath>

namespace stats {

namespace {

using Wide = __int128;

// num / den rounded half away from zero; den > 0.
Wide roundDivWide(Wide num, Wide den) {
    if (num >= 0) return (2 * num + den) / (2 * den);
    return -((-2 * num + den) / (2 * den));
}

// sqrt(num / den) rounded half away from zero; num >= 0, den > 0. The result
// k is the largest whole number with (k - 1/2)^2 <= num / den.
qint64 roundSqrt(Wide num, Wide den) {
    qint64 k =
        std::llround(std::sqrt(static_cast<long double>(num) / static_cast<long double>(den)));
    auto fits = [&](qint64 c) { // (c - 1/2)^2 <= num / den
        const Wide odd = 2 * Wide(c) - 1;
        return c <= 0 || odd * odd * den <= 4 * num;
    };
    while (fits(k + 1))
        ++k;
    while (k > 0 && !fits(k))
        --k;
    return k;
}

// Counts of whole values 0 .. size - 1: the readings of a slot (mg/dl) or
// their clock times (minutes), so that percentiles need no sorting.
class Histogram {
public:
    explicit Histogram(int size) : m_counts(size_t(size), 0) {}
    void add(int v) {
        ++m_counts[size_t(v)];
        ++m_n;
    }
    int count() const { return m_n; }
    // The value of rank k (0-based) in ascending order.
    int atRank(qint64 k) const {
        qint64 seen = 0;
        for (size_t v = 0; v < m_counts.size(); ++v) {
            seen += m_counts[v];
            if (seen > k) return int(v);
        }
        return int(m_counts.size()) - 1;
    }
    // A percentile in hundredths, linear between the closest ranks ("type 7",
    // numpy's default): h = (n - 1) * p / 100.
    qint64 percentileHundredths(int percent) const {
        const qint64 h100 = qint64(m_n - 1) * percent; // 100 × h
        const qint64 lo = h100 / 100, frac = h100 % 100;
        const qint64 a = atRank(lo);
        const qint64 b = frac ? atRank(lo + 1) : a;
        return 100 * a + frac * (b - a);
    }
    QList<int> values() const {
        QList<int> out;
        for (size_t v = 0; v < m_counts.size(); ++v)
            for (int k = 0; k < m_counts[v]; ++k)
                out.append(int(v));
        return out;
    }

private:
    std::vector<int> m_counts;
    int m_n = 0;
};

Tenths percentOf(int count, int total) {
    if (total <= 0) return std::nullopt;
    return qint64(roundDivWide(Wide(1000) * count, total));
}

} // namespace

Tenths ea1cPercentOf(qint64 sum, qint64 readings, int days) {
    if (readings < kMinReadingsForSpread || days < kMinDaysForEa1c) return std::nullopt;
    // (mean + 46.7) / 28.7 = (10·Σx + 467·n) / (287·n).
    return qint64(roundDivWide(10 * (10 * Wide(sum) + 467 * Wide(readings)), Wide(287) * readings));
}

qint64 roundDiv(qint64 num, qint64 den) {
    return qint64(roundDivWide(num, den));
}

qint64 mmolTenths(int mgdl) {
    return glucoseunit::mmolTenths(mgdl);
}

Band bandOf(int mgdl) {
    if (mgdl < 54) return VeryLow;
    if (mgdl < 70) return Low;
    if (mgdl <= 180) return InRange;
    if (mgdl <= 250) return High;
    return VeryHigh;
}

Tenths Figures::share(Target t) const {
    switch (t) {
    case Target::InRange:
        return bands[InRange];
    case Target::LowAll:
        return lowAll;
    case Target::VeryLow:
        return bands[VeryLow];
    case Target::HighAll:
        return highAll;
    case Target::VeryHigh:
        return bands[VeryHigh];
    }
    return std::nullopt;
}

bool Figures::met(Target t) const {
    if (readings <= 0) return false;
    const qint64 n = readings;
    const auto &c = bandCounts;
    switch (t) {
    case Target::InRange: // > 70 %
        return 100 * qint64(c[InRange]) > 70 * n;
    case Target::LowAll: // < 4 %
        return 100 * qint64(c[Low] + c[VeryLow]) < 4 * n;
    case Target::VeryLow: // < 1 %
        return 100 * qint64(c[VeryLow]) < n;
    case Target::HighAll: // < 25 %
        return 100 * qint64(c[High] + c[VeryHigh]) < 25 * n;
    case Target::VeryHigh: // < 5 %
        return 100 * qint64(c[VeryHigh]) < 5 * n;
    }
    return false;
}

Figures compute(const QList<Reading> &input) {
    if (!glucose::isSortedByDateAndSlot(input)) {
        QList<Reading> sorted = input;
        sortByDateAndSlot(sorted);
        return computeSorted(sorted);
    }
    return computeSorted(input);
}

Figures computeSorted(std::span<const Reading> readings) {
    Figures f;
    const qint64 n = readings.size();
    f.readings = int(n);
    if (n == 0) return f;

    Wide sum = 0, sumSquares = 0;
    std::vector<Histogram> perSlot(slotinfo::kCount, Histogram(kMaxReading + 1));
    std::vector<Histogram> perSlotMinutes(slotinfo::kCount, Histogram(24 * 60 + 1));
    for (const Reading &r : readings) {
        sum += r.mgdl;
        sumSquares += Wide(r.mgdl) * r.mgdl;
        ++f.bandCounts[bandOf(r.mgdl)];
        perSlot[size_t(slotinfo::number(r.slot) - 1)].add(r.mgdl);
        if (r.minute >= 0) perSlotMinutes[size_t(slotinfo::number(r.slot) - 1)].add(r.minute);
        if (r.mgdl < 70) {
            f.hypos.append(r);
            ++(r.mgdl < 54 ? f.hypoLevel2 : f.hypoLevel1);
        }
        if (f.dayMeans.isEmpty() || f.dayMeans.back().date != r.date)
            f.dayMeans.append(DayMean{r.date, 0, 0, 0});
        DayMean &d = f.dayMeans.back();
        ++d.readings;
        d.mgdl += r.mgdl; // the day's sum until the loop ends
    }
    for (DayMean &d : f.dayMeans) {
        const qint64 daySum = d.mgdl;
        d.mgdl = qint64(roundDivWide(daySum, d.readings));
        d.mmol = qint64(roundDivWide(Wide(10000) * daySum, Wide(18016) * d.readings));
    }
    f.daysWithReadings = int(f.dayMeans.size());

    f.mean = qint64(roundDivWide(10 * sum, n));
    f.meanMmol = qint64(roundDivWide(10000 * sum, Wide(18016) * n));
    if (n >= kMinReadingsForSpread) {
        // Sample variance (n - 1): (n·Σx² − (Σx)²) / (n·(n − 1)).
        const Wide spread = n * sumSquares - sum * sum;
        f.sd = roundSqrt(100 * spread, Wide(n) * (n - 1));
        f.sdMmol = roundSqrt(Wide(100) * spread * 1000000, Wide(n) * (n - 1) * 18016 * 18016);
        // 10 × sd / mean × 100 = sqrt(10^6 · n · spread / ((n − 1) · (Σx)²)).
        f.cv = roundSqrt(Wide(1000000) * n * spread, Wide(n - 1) * sum * sum);
    }
    for (int b = 0; b < BandCount; ++b)
        f.bands[b] = percentOf(f.bandCounts[b], int(n));
    f.lowAll = percentOf(f.bandCounts[Low] + f.bandCounts[VeryLow], int(n));
    f.highAll = percentOf(f.bandCounts[High] + f.bandCounts[VeryHigh], int(n));

    f.ea1cPercent = ea1cPercentOf(qint64(sum), n, f.daysWithReadings);
    if (f.ea1cPercent)
        // (eA1c − 2.15) × 10.929 = (1000·Σx − 15005·n) · 10929 / (28 700 000 · n).
        f.ea1cMmolMol =
            qint64(roundDivWide((1000 * sum - Wide(15005) * n) * 10929, Wide(28700000) * n));

    for (int s = 0; s < slotinfo::kCount; ++s) {
        const Histogram &v = perSlot[size_t(s)];
        if (v.count() == 0) continue;
        const Histogram &minutes = perSlotMinutes[size_t(s)];
        SlotFigures sf;
        sf.slot = slotinfo::fromNumber(s + 1);
        sf.readings = v.count();
        for (int p = 0; p < PercentileCount; ++p) {
            if (sf.readings < kMinReadingsFor[p]) continue;
            const qint64 h = v.percentileHundredths(kPercent[p]);
            sf.mgdl[p] = qint64(roundDivWide(h, 10));
            sf.mmol[p] = qint64(roundDivWide(Wide(100) * h, 18016));
        }
        sf.min = v.atRank(0);
        sf.max = v.atRank(v.count() - 1);
        sf.minMmol = mmolTenths(sf.min);
        sf.maxMmol = mmolTenths(sf.max);
        if (minutes.count() > 0)
            sf.typicalMinute = int(roundDivWide(minutes.percentileHundredths(50), 100));
        if (sf.readings < kMinReadingsForMedian) sf.values = v.values();
        f.perSlot.append(sf);
    }
    return f;
}

QString SlotFigures::typicalTime() const {
    if (typicalMinute < 0) return {};
    Reading r;
    r.minute = qint16(typicalMinute);
    return r.timeText();
}

Tenths valueOf(const Figures &f, Compared what) {
    switch (what) {
    case Compared::Readings:
        return qint64(10) * f.readings;
    case Compared::Mean:
        return f.mean;
    case Compared::Sd:
        return f.sd;
    case Compared::Cv:
        return f.cv;
    case Compared::VeryHighShare:
        return f.bands[VeryHigh];
    case Compared::HighShare:
        return f.bands[High];
    case Compared::InRangeShare:
        return f.bands[InRange];
    case Compared::LowShare:
        return f.bands[Low];
    case Compared::VeryLowShare:
        return f.bands[VeryLow];
    case Compared::HypoLevel1:
        return qint64(10) * f.hypoLevel1;
    case Compared::HypoLevel2:
        return qint64(10) * f.hypoLevel2;
    case Compared::Ea1c:
        return f.ea1cPercent;
    }
    return std::nullopt;
}

bool enoughFor(const Figures &f, Compared what) {
    if (what == Compared::Readings) return f.readings > 0;
    return f.judged() && valueOf(f, what).has_value();
}

Tenths change(const Figures &now, const Figures &before, Compared what) {
    if (!enoughFor(now, what) || !enoughFor(before, what)) return std::nullopt;
    return *valueOf(now, what) - *valueOf(before, what);
}

} // namespace stats
