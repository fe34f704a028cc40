#include <gtest/gtest.h>

#include <QDir>

#include "monthfixture.h"
#include "stats/collection.h"
#include "stats/figures.h"
#include "testutil.h"

using namespace stats;
using monthfixture::Entry;

namespace {

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

} // namespace

TEST(StatsFigures, BandBoundsAreInclusiveAsWritten) {
    const Collection c =
        collectEntries(MeasureMode::Eight, oneDay({53, 54, 69, 70, 180, 181, 250, 251}));
    const Figures &f = c.figures;
    ASSERT_EQ(f.readings, 8);
    // 1/8 = 12,5 %, 2/8 = 25 %.
    const int counts[BandCount] = {1, 2, 2, 2, 1};
    for (int b = 0; b < BandCount; ++b) {
        EXPECT_EQ(f.bandCounts[b], counts[b]) << b;
        EXPECT_EQ(*f.bands[b], counts[b] * 125) << b;
    }
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
    EXPECT_FALSE(f.sd || f.sdMmol || f.cv || f.ea1cPercent || f.ea1cMmolMol);
    // Mean 1108 / 8 = 138,5.
    EXPECT_EQ(*f.mean, 1385);
    EXPECT_FALSE(f.met(Target::InRange));
    EXPECT_FALSE(f.met(Target::VeryLow));
}

// A full eight-slot month against figures computed apart from the program
// (in plain floating point, rounded half away from zero).
TEST(StatsFigures, AFullMonthGivesTheFiguresComputedApart) {
    const Figures f = collectEntries(MeasureMode::Eight, monthfixture::spread(31, 8, 1)).figures;
    ASSERT_EQ(f.readings, 248);
    EXPECT_EQ(f.daysWithReadings, 31);
    const std::pair<Tenths, qint64> tenths[] = {
        {f.mean, 1896},       {f.meanMmol, 105},        {f.sd, 878},        {f.sdMmol, 49},
        {f.cv, 463},          {f.bands[VeryLow], 56},   {f.bands[Low], 48}, {f.bands[InRange], 359},
        {f.bands[High], 246}, {f.bands[VeryHigh], 290}, {f.lowAll, 105},    {f.highAll, 536},
        {f.ea1cPercent, 82},  {f.ea1cMmolMol, 66}};
    for (const auto &[got, want] : tenths) {
        ASSERT_TRUE(got);
        EXPECT_EQ(*got, want);
    }
    EXPECT_EQ(f.hypoLevel1, 12);
    EXPECT_EQ(f.hypoLevel2, 14);
    EXPECT_EQ(f.hypos.size(), 26);
    // Per slot: 31 readings, enough for P10 to P90, not for P5 and P95.
    ASSERT_EQ(f.perSlot.size(), 8);
    const struct {
        int index;
        qint64 p10, p25, p50, p75, p90, medianMmol;
        int min, max;
    } slotCases[] = {{0, 760, 1195, 1860, 2615, 3050, 103, 44, 337},
                     {4, 690, 1150, 1910, 2835, 3200, 106, 52, 339}};
    for (const auto &c : slotCases) {
        const SlotFigures &s = f.perSlot[c.index];
        EXPECT_EQ(s.readings, 31);
        EXPECT_EQ(slotinfo::number(s.slot), c.index + 1);
        EXPECT_FALSE(s.mgdl[P5] || s.mgdl[P95]);
        EXPECT_EQ(
            std::vector<Tenths>({s.mgdl[P10], s.mgdl[P25], s.mgdl[P50], s.mgdl[P75], s.mgdl[P90]}),
            std::vector<Tenths>({c.p10, c.p25, c.p50, c.p75, c.p90}));
        EXPECT_EQ(s.mmol[P50], c.medianMmol);
        EXPECT_EQ(s.min, c.min);
        EXPECT_EQ(s.max, c.max);
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
        EXPECT_EQ(std::make_pair(bool(f.sd), bool(f.cv)), std::make_pair(c.spread, c.spread));
        EXPECT_EQ(std::make_pair(bool(f.ea1cPercent), bool(f.ea1cMmolMol)),
                  std::make_pair(c.ea1c, c.ea1c));
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
    const SlotFigures &s = f.perSlot[0];
    EXPECT_EQ(s.slot, MeasurementSlot::Messung3);
    EXPECT_EQ(std::vector<Tenths>({s.mgdl[P25], s.mgdl[P50], s.mgdl[P75]}),
              std::vector<Tenths>({1175, 2000, 3050}));
    EXPECT_EQ(std::make_pair(s.min, s.max), std::make_pair(100, 400));
    // eA1c (mean + 46.7) / 28.7 near a rounding edge: 155,9 → 7,06 → 7,1.
    EXPECT_EQ(ea1cPercentOf(4677, 30, 14), 71);
    EXPECT_EQ(ea1cPercentOf(9000, 40, 20), 95);
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
    EXPECT_FALSE(none.mean || none.bands[InRange]);
    EXPECT_TRUE(none.perSlot.isEmpty());
}

TEST(StatsReadings, HandEditedJunkIsSkippedAndCounted) {
    const QStringList junk = {"Morgens den    05.03.2024 Z=07:30  ZuckerWert=abc",
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
                              "A"};
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
