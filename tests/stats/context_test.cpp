// The day profile's percentiles, the period before and the year's trend,
// each against figures computed here in plain floating point.
#include <gtest/gtest.h>

#include <QDir>
#include <QMap>
#include <cmath>

#include "monthfixture.h"
#include "stats/collection.h"
#include "stats/statstext.h"
#include "testutil.h"

using namespace stats;
using monthfixture::Entry;
using monthfixture::type7;

namespace {

qint64 tenths(double v) {
    return qint64(std::round(v * 10.0));
}

Collection collectFiles(const QStringList &paths, const QString &base) {
    Collection c;
    QString error;
    EXPECT_TRUE(collect(paths, MeasureMode::Four, c, &error)) << error.toStdString();
    addContext(c, base, MeasureMode::Four);
    return c;
}

} // namespace

TEST(StatsProfile, PercentilesAppearAtTheirThresholds) {
    testutil::TempFolder tmp;
    for (int n : {4, 5, 6, 7, 19, 20, 39, 40, 41}) {
        SCOPED_TRACE(n);
        // n readings of one slot over the days of two months, uneven values.
        QList<Entry> jan, feb;
        std::vector<double> values;
        for (int i = 0; i < n; ++i) {
            const int v = 40 + (i * 97 + n * 13) % 430;
            values.push_back(v);
            (i < 31 ? jan : feb).append(Entry{i % 31 + 1, MeasurementSlot::Messung2, v});
        }
        const Collection c =
            collectFiles({monthfixture::writeTable(tmp.path(), 1, 2024, MeasureMode::Four, jan),
                          monthfixture::writeTable(tmp.path(), 2, 2024, MeasureMode::Four, feb)},
                         QString());
        ASSERT_EQ(c.figures.perSlot.size(), 1);
        const SlotFigures &s = c.figures.perSlot[0];
        EXPECT_EQ(s.readings, n);
        const double p[] = {0.05, 0.10, 0.25, 0.5, 0.75, 0.90, 0.95};
        const int from[] = {40, 20, 7, 5, 7, 20, 40};
        for (int k = 0; k < PercentileCount; ++k) {
            EXPECT_EQ(s.mgdl[k].has_value(), n >= from[k]) << k;
            if (s.mgdl[k]) {
                EXPECT_EQ(*s.mgdl[k], tenths(type7(values, p[k]))) << k;
            }
        }
        // Below five readings the slot keeps its readings to be shown.
        EXPECT_EQ(s.values.size(), n < 5 ? n : 0);
    }
}

TEST(StatsPeriods, ThePeriodBeforeAndItsChanges) {
    testutil::TempFolder tmp;
    const QString data = tmp.path() + "Glykovalin-Daten/";
    QDir().mkpath(data + "2023");
    QDir().mkpath(data + "2024");
    // October to December 2023 before January to March 2024; November has
    // too few readings to be judged alone, which does not matter for the
    // three months together.
    QStringList before, now;
    before << monthfixture::writeTable(data + "2023/", 10, 2023, MeasureMode::Four,
                                       monthfixture::spread(31, 4, 1))
           << monthfixture::writeTable(data + "2023/", 11, 2023, MeasureMode::Four,
                                       monthfixture::spread(3, 2, 2))
           << monthfixture::writeTable(data + "2023/", 12, 2023, MeasureMode::Four,
                                       monthfixture::spread(20, 4, 3));
    now << monthfixture::writeTable(data + "2024/", 1, 2024, MeasureMode::Four,
                                    monthfixture::spread(31, 4, 4))
        << monthfixture::writeTable(data + "2024/", 2, 2024, MeasureMode::Four,
                                    monthfixture::spread(29, 4, 5))
        << monthfixture::writeTable(data + "2024/", 3, 2024, MeasureMode::Four,
                                    monthfixture::spread(25, 4, 6));
    const Collection c = collectFiles(now, tmp.path());
    ASSERT_TRUE(c.previous.exists());
    EXPECT_EQ(c.previous.files, QStringList({"MM102023.tab", "MM112023.tab", "MM122023.tab"}));
    EXPECT_EQ(c.previousPeriodName(), "Oktober 2023 – Dezember 2023");
    Collection alone;
    ASSERT_TRUE(collect(before, MeasureMode::Four, alone, nullptr));
    EXPECT_EQ(c.previous.figures.readings, alone.figures.readings);
    EXPECT_EQ(c.previous.figures.mean, alone.figures.mean);
    for (Compared what : kCompared) {
        const Tenths d = change(c.figures, c.previous.figures, what);
        ASSERT_TRUE(d) << int(what);
        EXPECT_EQ(*d, *valueOf(c.figures, what) - *valueOf(alone.figures, what));
    }
    // One month with few readings against a full one: the count changes,
    // nothing else is compared.
    const Collection nov = collectFiles({before[1]}, tmp.path());
    ASSERT_TRUE(nov.previous.exists());
    EXPECT_EQ(nov.previous.files, QStringList({"MM102023.tab"}));
    EXPECT_EQ(change(nov.figures, nov.previous.figures, Compared::Readings), 10 * (6 - 31 * 4));
    for (Compared what : kCompared)
        if (what != Compared::Readings) {
            EXPECT_FALSE(change(nov.figures, nov.previous.figures, what));
        }
    const QString text = germanLines(nov).join(u'\n');
    EXPECT_TRUE(text.contains(
        "Mittelwert: " + comparedValue(nov.figures, Compared::Mean, GlucoseUnit::MgDl) +
        ", davor " + comparedValue(nov.previous.figures, Compared::Mean, GlucoseUnit::MgDl) +
        ", Änderung –"));
}

TEST(StatsPeriods, AnEmptyPeriodBefore) {
    testutil::TempFolder tmp;
    const QString mar = monthfixture::writeTable(tmp.path(), 3, 2024, MeasureMode::Four,
                                                 monthfixture::spread(31, 4, 1));
    const Collection c = collectFiles({mar}, tmp.path());
    EXPECT_FALSE(c.previous.exists());
    EXPECT_EQ(c.previousPeriodName(), "Februar 2024");
    EXPECT_EQ(c.previous.figures.readings, 0);
    for (Compared what : kCompared)
        EXPECT_FALSE(change(c.figures, c.previous.figures, what));
    EXPECT_TRUE(germanLines(c).join(u'\n').contains(
        "Vergleich mit dem Zeitraum davor (Februar 2024):\n  keine Tabelle in diesem Zeitraum"));
    // A table of the month before without readings is a period with nothing to compare.
    monthfixture::writeTable(tmp.path(), 2, 2024, MeasureMode::Four,
                             {{1, MeasurementSlot::Morgens, 0}});
    const Collection d = collectFiles({mar}, tmp.path());
    ASSERT_TRUE(d.previous.exists());
    EXPECT_EQ(d.previous.figures.readings, 0);
    EXPECT_FALSE(change(d.figures, d.previous.figures, Compared::Readings));
}

TEST(StatsTrend, AYearWithMissingMonths) {
    testutil::TempFolder tmp;
    // April 2023 to March 2024 beside each other; June, July and January
    // without a table, September with too few readings for an eA1c.
    QMap<int, QList<Entry>> months;
    for (int k = 0; k < 12; ++k) {
        const int month = (3 + k) % 12 + 1, year = month >= 4 ? 2023 : 2024;
        if (month == 6 || month == 7 || month == 1) continue;
        const QList<Entry> e =
            month == 9 ? monthfixture::spread(10, 2, k) : monthfixture::spread(28, 4, k);
        months[monthKey(year, month)] = e;
        monthfixture::writeTable(tmp.path(), month, year, MeasureMode::Four, e);
    }
    const Collection c = collectFiles({tmp.file("MM032024.tab")}, tmp.path());
    ASSERT_EQ(c.months.size(), 12);
    EXPECT_EQ(c.months.front().isoMonth(), "2023-04");
    EXPECT_EQ(c.months.back().isoMonth(), "2024-03");
    for (const MonthPoint &m : c.months) {
        SCOPED_TRACE(m.isoMonth().toStdString());
        const QList<Entry> e = months.value(m.key);
        EXPECT_EQ(m.hasTable, months.contains(m.key));
        EXPECT_EQ(m.readings, e.size());
        double sum = 0;
        for (const Entry &x : e)
            sum += x.value;
        const double mean = sum / e.size();
        // No mean without readings, no eA1c from fewer than 30.
        EXPECT_EQ(m.mean, e.isEmpty() ? Tenths() : Tenths(tenths(mean)));
        EXPECT_EQ(m.ea1cPercent, e.size() < 30 ? Tenths() : Tenths(tenths((mean + 46.7) / 28.7)));
    }
    // The text names the months without a table.
    const QString text = germanLines(c).join(u'\n');
    EXPECT_TRUE(text.contains("  Juni 2023: keine Tabelle"));
    EXPECT_TRUE(text.contains("  Januar 2024: keine Tabelle"));
    // A longer period lists all its months.
    QStringList all;
    for (int month = 1; month <= 12; ++month)
        all << monthfixture::writeTable(tmp.path(), month, 2022, MeasureMode::Four, {});
    for (int key : months.keys())
        all << tmp.file(
            QStringLiteral("MM%1%2.tab").arg(key % 12 + 1, 2, 10, QChar(u'0')).arg(key / 12));
    EXPECT_EQ(collectFiles(all, tmp.path()).months.size(), 27);
}
