#include <gtest/gtest.h>

#include <QSet>
#include <algorithm>
#include <cmath>
#include <map>

#include "monthfixture.h"
#include "stats/collection.h"
#include "stats/figures.h"
#include "testutil.h"

using namespace stats;
using monthfixture::Entry;

namespace {

// Rounded to tenths, half away from zero, from a double computed here.
qint64 tenths(double v) {
    return qint64(std::round(v * 10.0));
}

Collection collectLines(const QStringList &lines, MeasureMode fallback = MeasureMode::Four) {
    TableReadings t;
    t.path = QStringLiteral("/nirgends/MM032024.tab");
    parseTable(lines, fallback, t);
    return collectTables({t});
}

Collection collectEntries(MeasureMode mode, const QList<Entry> &entries,
                          const QStringList &extra = {}) {
    return collectLines(monthfixture::tableLines(3, 2024, mode, entries, extra));
}

QList<Entry> oneDay(const QList<int> &values) {
    QList<Entry> e;
    for (int i = 0; i < values.size(); ++i)
        e.append(Entry{1 + i / 8, slotinfo::fromNumber(1 + i % 8), values[i]});
    return e;
}

// Checks every figure against values computed here with plain floating point.
void expectIndependent(const QList<Entry> &entries, const Figures &f) {
    std::vector<double> all;
    std::map<int, std::vector<double>> perSlot;
    QSet<int> days;
    int bands[5] = {};
    for (const Entry &e : entries) {
        if (e.value == 0) continue;
        all.push_back(e.value);
        perSlot[slotinfo::number(e.slot)].push_back(e.value);
        days.insert(e.day);
        const int b = e.value < 54     ? 0
                      : e.value <= 69  ? 1
                      : e.value <= 180 ? 2
                      : e.value <= 250 ? 3
                                       : 4;
        ++bands[b];
    }
    const double n = double(all.size());
    ASSERT_EQ(f.readings, int(all.size()));
    EXPECT_EQ(f.daysWithReadings, days.size());
    double sum = 0;
    for (double v : all)
        sum += v;
    const double mean = sum / n;
    EXPECT_EQ(*f.mean, tenths(mean));
    EXPECT_EQ(*f.meanMmol, tenths(mean / 18.016));
    double sq = 0;
    for (double v : all)
        sq += (v - mean) * (v - mean);
    const double sd = std::sqrt(sq / (n - 1));
    if (all.size() >= 30) {
        EXPECT_EQ(*f.sd, tenths(sd));
        EXPECT_EQ(*f.sdMmol, tenths(sd / 18.016));
        EXPECT_EQ(*f.cv, tenths(sd / mean * 100));
    } else {
        EXPECT_FALSE(f.sd);
        EXPECT_FALSE(f.cv);
    }
    for (int b = 0; b < 5; ++b)
        EXPECT_EQ(*f.bands[b], tenths(bands[b] * 100.0 / n)) << "band " << b;
    EXPECT_EQ(*f.lowAll, tenths((bands[0] + bands[1]) * 100.0 / n));
    EXPECT_EQ(*f.highAll, tenths((bands[3] + bands[4]) * 100.0 / n));
    EXPECT_EQ(f.hypoLevel1, bands[1]);
    EXPECT_EQ(f.hypoLevel2, bands[0]);
    EXPECT_EQ(f.hypos.size(), bands[0] + bands[1]);
    if (all.size() >= 30 && days.size() >= 14) {
        const double a1c = (mean + 46.7) / 28.7;
        EXPECT_EQ(*f.ea1cPercent, tenths(a1c));
        EXPECT_EQ(*f.ea1cMmolMol, qint64(std::round((a1c - 2.15) * 10.929)));
    } else {
        EXPECT_FALSE(f.ea1cPercent);
        EXPECT_FALSE(f.ea1cMmolMol);
    }
    ASSERT_EQ(f.perSlot.size(), perSlot.size());
    int i = 0;
    for (const auto &[slot, values] : perSlot) {
        const SlotFigures &s = f.perSlot[i++];
        EXPECT_EQ(slotinfo::number(s.slot), slot);
        EXPECT_EQ(s.readings, int(values.size()));
        const double fractions[] = {0.05, 0.10, 0.25, 0.5, 0.75, 0.90, 0.95};
        const size_t needs[] = {40, 20, 7, 5, 7, 20, 40};
        for (int p = 0; p < PercentileCount; ++p) {
            if (values.size() < needs[p]) {
                EXPECT_FALSE(s.mgdl[p]) << p;
                continue;
            }
            ASSERT_TRUE(s.mgdl[p]) << p;
            EXPECT_EQ(*s.mgdl[p], tenths(monthfixture::type7(values, fractions[p]))) << p;
            EXPECT_EQ(*s.mmol[p], tenths(monthfixture::type7(values, fractions[p]) / 18.016)) << p;
        }
        EXPECT_EQ(s.min, *std::min_element(values.begin(), values.end()));
        EXPECT_EQ(s.max, *std::max_element(values.begin(), values.end()));
    }
}

} // namespace

TEST(StatsFigures, BandBoundsAreInclusiveAsWritten) {
    const Collection c =
        collectEntries(MeasureMode::Eight, oneDay({53, 54, 69, 70, 180, 181, 250, 251}));
    const Figures &f = c.figures;
    ASSERT_EQ(f.readings, 8);
    EXPECT_EQ(f.bandCounts[VeryLow], 1);
    EXPECT_EQ(f.bandCounts[Low], 2);
    EXPECT_EQ(f.bandCounts[InRange], 2);
    EXPECT_EQ(f.bandCounts[High], 2);
    EXPECT_EQ(f.bandCounts[VeryHigh], 1);
    // 1/8 = 12,5 %, 2/8 = 25 %.
    EXPECT_EQ(*f.bands[VeryLow], 125);
    EXPECT_EQ(*f.bands[Low], 250);
    EXPECT_EQ(*f.bands[InRange], 250);
    EXPECT_EQ(*f.bands[High], 250);
    EXPECT_EQ(*f.bands[VeryHigh], 125);
    EXPECT_EQ(*f.lowAll, 375);
    EXPECT_EQ(*f.highAll, 375);
    EXPECT_EQ(f.hypoLevel1, 2);
    EXPECT_EQ(f.hypoLevel2, 1);
    ASSERT_EQ(f.hypos.size(), 3);
    EXPECT_EQ(f.hypos[0].mgdl, 53);
    EXPECT_EQ(f.hypos[2].mgdl, 69);
    EXPECT_EQ(f.hypos[0].timeText(), "07:30");
    EXPECT_EQ(f.hypos[0].date, QDate(2024, 3, 1));
    // Fewer than 30 readings: no spread, no estimated HbA1c.
    EXPECT_FALSE(f.sd);
    EXPECT_FALSE(f.sdMmol);
    EXPECT_FALSE(f.cv);
    EXPECT_FALSE(f.ea1cPercent);
    EXPECT_FALSE(f.ea1cMmolMol);
    // Mean 1108 / 8 = 138,5.
    EXPECT_EQ(*f.mean, 1385);
    expectIndependent(oneDay({53, 54, 69, 70, 180, 181, 250, 251}), f);
    EXPECT_FALSE(f.met(Target::InRange));
    EXPECT_FALSE(f.met(Target::VeryLow));
}

TEST(StatsFigures, FullMonthsMatchIndependentComputation) {
    for (int seed = 1; seed <= 6; ++seed) {
        SCOPED_TRACE(seed);
        const QList<Entry> eight = monthfixture::spread(31, 8, seed);
        expectIndependent(eight, collectEntries(MeasureMode::Eight, eight).figures);
        const QList<Entry> four = monthfixture::spread(20 + seed, 4, seed);
        expectIndependent(four, collectEntries(MeasureMode::Four, four).figures);
    }
}

TEST(StatsFigures, ThresholdsOfThirtyReadingsAndFourteenDays) {
    const struct {
        int readings, days;
        bool spread, ea1c;
    } cases[] = {
        {29, 15, false, false}, {30, 14, true, true}, {40, 10, true, false}, {30, 13, true, false}};
    for (const auto &c : cases) {
        SCOPED_TRACE(QString("%1 on %2 days").arg(c.readings).arg(c.days).toStdString());
        // Reading i on day 1 + i % days, in the slot of its round.
        QList<Entry> e;
        for (int i = 0; i < c.readings; ++i)
            e.append(
                Entry{1 + i % c.days, slotinfo::fromNumber(1 + i / c.days), 80 + (i * 23) % 150});
        const Figures f = collectEntries(MeasureMode::Eight, e).figures;
        EXPECT_EQ(f.readings, c.readings);
        EXPECT_EQ(f.daysWithReadings, c.days);
        EXPECT_EQ(bool(f.sd), c.spread);
        EXPECT_EQ(bool(f.cv), c.spread);
        EXPECT_EQ(bool(f.ea1cPercent), c.ea1c);
        EXPECT_EQ(bool(f.ea1cMmolMol), c.ea1c);
        expectIndependent(e, f);
    }
}

TEST(StatsFigures, RoundingEdgesHalfAwayFromZero) {
    // Mean 2869 / 20 = 143,45 → 143,5.
    QList<int> v(19, 143);
    v.append(152);
    Figures f = collectEntries(MeasureMode::Eight, oneDay(v)).figures;
    EXPECT_EQ(*f.mean, 1435);
    // 563 mg/dl are exactly 31,25 mmol/l → 31,3.
    EXPECT_EQ(mmolTenths(563), 313);
    // 1 of 16 = 6,25 % → 6,3.
    QList<int> w(15, 100);
    w.append(60);
    f = collectEntries(MeasureMode::Eight, oneDay(w)).figures;
    EXPECT_EQ(*f.bands[Low], 63);
    EXPECT_EQ(*f.bands[InRange], 938); // 93,75 → 93,8
    // Percentiles between ranks as numpy: 100, 110, 125, 200, 300, 310, 400 →
    // 117,5 / 200 / 305 (h = 1,5; 3; 4,5).
    QList<Entry> sameSlot;
    const QList<int> seven = {300, 200, 110, 100, 125, 400, 310};
    for (int d = 1; d <= 7; ++d)
        sameSlot.append(Entry{d, MeasurementSlot::Messung3, seven[d - 1]});
    f = collectEntries(MeasureMode::Four, sameSlot).figures;
    ASSERT_EQ(f.perSlot.size(), 1);
    EXPECT_EQ(f.perSlot[0].slot, MeasurementSlot::Messung3);
    EXPECT_EQ(f.perSlot[0].mgdl[P25], 1175);
    EXPECT_EQ(f.perSlot[0].mgdl[P50], 2000);
    EXPECT_EQ(f.perSlot[0].mgdl[P75], 3050);
    EXPECT_EQ(f.perSlot[0].min, 100);
    EXPECT_EQ(f.perSlot[0].max, 400);
    EXPECT_EQ(roundDiv(-25, 10), -3);
    EXPECT_EQ(roundDiv(25, 10), 3);
}

TEST(StatsFigures, TargetsAreJudgedOnExactShares) {
    // 70 of 100 in range is not "> 70 %"; 71 is.
    QList<int> v(70, 120);
    v.append(QList<int>(30, 200));
    Figures f = collectEntries(MeasureMode::Eight, oneDay(v)).figures;
    EXPECT_EQ(*f.bands[InRange], 700);
    EXPECT_FALSE(f.met(Target::InRange));
    EXPECT_FALSE(f.met(Target::HighAll));
    v[70] = 120;
    f = collectEntries(MeasureMode::Eight, oneDay(v)).figures;
    EXPECT_TRUE(f.met(Target::InRange));
    EXPECT_FALSE(f.met(Target::HighAll)); // 29 % high
    EXPECT_TRUE(f.met(Target::VeryLow));
    EXPECT_TRUE(f.met(Target::LowAll));
    EXPECT_TRUE(f.met(Target::VeryHigh));
    // No readings meet nothing.
    EXPECT_FALSE(Figures().met(Target::VeryLow));
}

TEST(StatsReadings, FourSlotTableCountsEveryStoredReading) {
    const QList<Entry> e = {{1, MeasurementSlot::Morgens, 100},
                            {1, MeasurementSlot::Messung5, 300},
                            {1, MeasurementSlot::Messung4, 40},
                            {2, MeasurementSlot::Abends, 140},
                            {3, MeasurementSlot::Messung7, 55}};
    for (MeasureMode mode : {MeasureMode::Four, MeasureMode::Eight}) {
        const Collection c = collectEntries(mode, e);
        EXPECT_EQ(c.figures.readings, 5);
        EXPECT_EQ(c.figures.daysWithReadings, 3);
        EXPECT_EQ(*c.figures.mean, 1270);
        EXPECT_EQ(c.figures.hypoLevel2, 1);
        // The graph of a four-slot month has no place for three of them.
        EXPECT_EQ(c.tables[0].undrawnReadings, mode == MeasureMode::Four ? 3 : 0);
        EXPECT_EQ(c.notes.size(), mode == MeasureMode::Four ? 1 : 0);
    }
    EXPECT_TRUE(collectEntries(MeasureMode::Four, e)
                    .notes[0]
                    .startsWith("3 Messwerte der Messungen 4 bis 7 zählen mit"));
    // A header that names no mode uses the fallback, which only decides what the graph draws.
    QStringList lines = monthfixture::tableLines(3, 2024, MeasureMode::Eight, e);
    lines.removeIf([](const QString &l) { return l.startsWith("BisZu"); });
    EXPECT_EQ(collectLines(lines, MeasureMode::Four).figures.readings, 5);
    EXPECT_EQ(collectLines(lines, MeasureMode::Four).tables[0].undrawnReadings, 3);
    EXPECT_EQ(collectLines(lines, MeasureMode::Eight).tables[0].undrawnReadings, 0);
    // "BisZu8MessungenJeTag=10" counts as set, key case does not matter.
    lines.insert(1, "biszu8messungenjetag=10");
    EXPECT_EQ(collectLines(lines, MeasureMode::Four).tables[0].mode, MeasureMode::Eight);
}

TEST(StatsReadings, ZerosAreNoReadings) {
    const QList<Entry> e = {{1, MeasurementSlot::Morgens, 0},
                            {2, MeasurementSlot::Morgens, 120},
                            {2, MeasurementSlot::Abends, 0},
                            {3, MeasurementSlot::Morgens, 0}};
    const Figures f = collectEntries(MeasureMode::Four, e).figures;
    EXPECT_EQ(f.readings, 1);
    EXPECT_EQ(f.daysWithReadings, 1);
    EXPECT_EQ(*f.mean, 1200);
    ASSERT_EQ(f.dayMeans.size(), 1);
    EXPECT_EQ(f.dayMeans[0].date, QDate(2024, 3, 2));
    // Only zeros: nothing to show, no division by zero.
    const Figures none =
        collectEntries(MeasureMode::Four, {{1, MeasurementSlot::Morgens, 0}}).figures;
    EXPECT_EQ(none.readings, 0);
    EXPECT_FALSE(none.mean);
    EXPECT_FALSE(none.bands[InRange]);
    EXPECT_TRUE(none.perSlot.isEmpty());
}

TEST(StatsReadings, HandEditedJunkIsSkippedAndCounted) {
    const QStringList junk = {
        "Morgens den    05.03.2024 Z=07:30  ZuckerWert=abc",
        "Morgens den    06.03.2024 Z=07:30  ZuckerWert=nan",
        "Morgens den    07.03.2024 Z=07:30  ZuckerWert=inf",
        "Morgens den    08.03.2024 Z=07:30  ZuckerWert=1e2",
        "Morgens den    09.03.2024 Z=07:30  ZuckerWert=-5",
        "Morgens den    32.03.2024 Z=07:30  ZuckerWert=120",
        "Morgens den    00.03.2024 Z=07:30  ZuckerWert=120",
        "Morgens den    11.03.2024 Z=07:30  ZuckerWert=",
        "Morgens den    12.03.2024 Z=07:30",
        "Morgens den    13.03.2024 Z=07:30  ZuckerWert=700",
        "Morgens den    17.03.2024 Z=07:30  ZuckerWert=501",
        "Morgens den    31.02.2024 Z=07:30  ZuckerWert=120",
        "Morgens den    14.13.2024 Z=07:30  ZuckerWert=120",
        "Morgens den    15.03.24 Z=07:30  ZuckerWert=120",
        "Mittag 15.03.2024 ZuckerWert=120",
        "Abends den     16.03.2024 Z=99:99  ZuckerWert=99999999999999999999",
        "M",
        "A",
    };
    const QList<Entry> good = {{1, MeasurementSlot::Morgens, 110, "7:05"},
                               {1, MeasurementSlot::Abends, 150, "bla"}};
    // A decimal value is drawn by the graph with its whole part; so it counts.
    const Collection c =
        collectEntries(MeasureMode::Eight, good,
                       junk + QStringList{"Morgens den    10.03.2024 Z=07:30  ZuckerWert=12,5"});
    EXPECT_EQ(c.figures.readings, 3);
    EXPECT_EQ(c.tables[0].unreadableLines, junk.size());
    ASSERT_EQ(c.notes.size(), 1);
    EXPECT_TRUE(c.notes[0].startsWith(QString::number(junk.size()) + " Zeilen"));
    ASSERT_EQ(c.readings.size(), 3);
    EXPECT_EQ(c.readings[2].mgdl, 12);
    // A time typed with four characters is read; one that is no time stays empty.
    EXPECT_EQ(c.readings[0].timeText(), "07:05");
    EXPECT_EQ(c.readings[1].timeText(), "");
}

TEST(StatsReadings, TableMonthAndHeader) {
    QStringList lines = monthfixture::tableLines(2, 2024, MeasureMode::Eight,
                                                 {{29, MeasurementSlot::Morgens, 100}});
    TableReadings t;
    t.path = "/x/beliebig.tab";
    parseTable(lines, MeasureMode::Four, t);
    EXPECT_EQ(t.month, 2);
    EXPECT_EQ(t.year, 2024);
    EXPECT_EQ(t.userName, "Max Muster");
    EXPECT_EQ(t.mode, MeasureMode::Eight);
    // First occurrence wins, other sections do not count, quotes go.
    const QStringList header = {"[Andere]",
                                "BenutzerName=Falsch",
                                "[ personendaten ]",
                                "benutzername = 'Erika Muster'",
                                "BenutzerName=Zweite",
                                "[Bemerkungen]",
                                "Datum=Mai 2020"};
    t.path = "/x/MM042021.tab";
    parseTable(header, MeasureMode::Four, t);
    EXPECT_EQ(t.userName, "Erika Muster");
    EXPECT_EQ(t.month, 4); // "Datum" stands in another section
    EXPECT_EQ(t.year, 2021);
    // Without a "Datum", the file name tells the month.
    lines.removeIf([](const QString &l) { return l.startsWith("Datum="); });
    t.path = "/x/MM112023.tab";
    parseTable(lines, MeasureMode::Four, t);
    EXPECT_EQ(t.month, 11);
    EXPECT_EQ(t.year, 2023);
    // Neither: the readings.
    t.path = "/x/irgendwas.tab";
    parseTable(lines, MeasureMode::Four, t);
    EXPECT_EQ(t.month, 2);
}

TEST(StatsCollection, SeveralTablesPeriodAndMissingFiles) {
    testutil::TempFolder tmp;
    const QString jan = monthfixture::writeTable(tmp.path(), 1, 2024, MeasureMode::Four,
                                                 {{31, MeasurementSlot::Abends, 200}});
    const QString mar = monthfixture::writeTable(tmp.path(), 3, 2024, MeasureMode::Eight,
                                                 {{1, MeasurementSlot::Morgens, 50}});
    Collection c;
    QString error;
    ASSERT_TRUE(collect({mar, jan}, MeasureMode::Four, c, &error));
    EXPECT_EQ(c.period, QString("01.2024") + QChar(0x2013) + "03.2024");
    EXPECT_EQ(c.periodName(), "Januar 2024 – März 2024");
    EXPECT_EQ(c.fileNames(), QStringList({"MM032024.tab", "MM012024.tab"}));
    ASSERT_EQ(c.readings.size(), 2);
    EXPECT_EQ(c.readings[0].mgdl, 200); // date order, not argument order
    EXPECT_EQ(c.figures.daysWithReadings, 2);
    EXPECT_FALSE(collect({jan, tmp.file("fehlt.tab")}, MeasureMode::Four, c, &error));
    EXPECT_TRUE(error.contains("fehlt.tab"));
    EXPECT_TRUE(error.contains("kann nicht gelesen werden"));
    // One month alone.
    ASSERT_TRUE(collect({jan}, MeasureMode::Four, c, &error));
    EXPECT_EQ(c.period, "01.2024");
}

TEST(StatsCollection, LastThreeMonthsAcrossTheYear) {
    testutil::TempFolder tmp;
    const QString data = tmp.path() + "Glykovalin-Daten/";
    QDir().mkpath(data + "2023");
    QDir().mkpath(data + "2024");
    const QString nov = monthfixture::writeTable(data + "2023/", 11, 2023, MeasureMode::Four, {});
    const QString dec = monthfixture::writeTable(data + "2023/", 12, 2023, MeasureMode::Four, {});
    const QString jan = monthfixture::writeTable(data + "2024/", 1, 2024, MeasureMode::Four, {});
    const QString feb = monthfixture::writeTable(data + "2024/", 2, 2024, MeasureMode::Four, {});
    QStringList missing;
    EXPECT_EQ(lastThreeMonths(feb, tmp.path(), &missing), QStringList({dec, jan, feb}));
    EXPECT_TRUE(missing.isEmpty());
    QFile::remove(dec);
    EXPECT_EQ(lastThreeMonths(jan, tmp.path(), &missing), QStringList({nov, jan}));
    EXPECT_EQ(missing, QStringList({"Dezember 2023"}));
    // Without the base folder the year folders beside the table are found too.
    EXPECT_EQ(lastThreeMonths(feb, QString()), QStringList({jan, feb}));
    // A table named otherwise stands alone.
    EXPECT_EQ(lastThreeMonths(tmp.file("Mai 2005.tab"), tmp.path()),
              QStringList({tmp.file("Mai 2005.tab")}));
}
