#include <gtest/gtest.h>

#include <array>

#include "platform/convert.h"
#include "storage/entryline.h"
#include "storage/monthvalues.h"

namespace {

using MS = MeasurementSlot;

QString line(MS s, int day, int value) {
    return entryline::format(s, QStringLiteral("%1").arg(day, 2, 10, QChar(u'0')), "03", "2024",
                             "07:30", QString::number(value));
}

} // namespace

TEST(MonthValues, DailyMeansRoundFromTheTwoDecimalText) {
    MonthValues v;
    v.clearValues();
    std::array<QString, 31> days;
    v.collect(line(MS::Morgens, 1, 100), "Zeile 1", &days);
    v.collect(line(MS::Abends, 1, 101), "Zeile 2", &days);
    EXPECT_EQ(v.MonthMean(), ""); // two readings: no monthly mean
    v.collect(line(MS::Morgens, 2, 100), "Zeile 3", &days);
    v.collect(line(MS::Messung2, 2, 100), "Zeile 4", &days);
    v.collect(line(MS::Messung3, 2, 101), "Zeile 5", &days);
    v.collect(line(MS::Morgens, 3, 99), "Zeile 6", &days);
    v.collect(line(MS::Abends, 3, 100), "Zeile 7", &days);
    v.collect(line(MS::Morgens, 4, 0), "Zeile 8", &days);
    v.GibDieTagesMittelwerte();
    EXPECT_EQ(v.DayMean(1), "101"); // 100,50
    EXPECT_EQ(v.DayMean(2), "100"); // 100,33
    EXPECT_EQ(v.DayMean(3), "100"); // 99,50 half up
    EXPECT_EQ(v.DayMean(4), "0");
    EXPECT_EQ(v.DayMean(5), "0");
    EXPECT_EQ(v.dayValues().first(), "01_100");
    EXPECT_EQ(days[0], line(MS::Morgens, 1, 100) + " -1 " + line(MS::Abends, 1, 101) + " -8 ");
    EXPECT_EQ(monthvalues::roundHalfUp("100,49"), 100);
    EXPECT_EQ(monthvalues::twoDecimals(100.5), "100,50");

    MonthValues m;
    m.clearValues();
    m.collect(line(MS::Morgens, 1, 120), "a");
    m.collect(line(MS::Morgens, 2, 130), "b");
    m.collect(line(MS::Morgens, 3, 0), "c");
    EXPECT_EQ(m.MonthMean(), "83,33"); // zeros count

    // A hand-edited file that scatters day 10: the last run alone decides.
    MonthValues s;
    s.collect(line(MS::Morgens, 10, 200), "a");
    s.collect(line(MS::Morgens, 1, 100), "b");
    s.collect(line(MS::Abends, 10, 80), "c");
    s.GibDieTagesMittelwerte();
    EXPECT_EQ(s.DayMean(10), "80");
    EXPECT_EQ(s.DayMean(1), "100");

    MonthValues bad;
    EXPECT_THROW(bad.collect("Morgens den    05.03.2024 Z=07:30  ZuckerWert=12a", "x"),
                 EConvertError);
    EXPECT_EQ(bad.valueCount(), 0);
}

TEST(MonthValues, FastScannersAgreeWithTheEntryLineReaders) {
    const QStringList samples = {line(MS::Morgens, 5, 128),
                                 line(MS::Messung7, 31, 0),
                                 line(MS::Abends, 10, 99),
                                 "Morgens den 3.3.2024",
                                 "Abends den 12.03.2024 Messung4 den 01.",
                                 "",
                                 "xx 32. 00. 09."};
    for (const QString &l : samples) {
        EXPECT_EQ(monthvalues::dayOfLine(l), entryline::dayOf(l)) << l.toStdString();
        MeasurementSlot a = MS::Morgens, b = MS::Morgens;
        EXPECT_EQ(monthvalues::slotOfLine(l, a), entryline::slotOf(l, b));
        EXPECT_EQ(a, b) << l.toStdString();
    }
}

TEST(MonthValues, ALineWithoutADayOfTheMonthIsNotCollected) {
    MonthValues v;
    v.clearValues();
    std::array<QString, 31> days;
    for (const QString &bad : {QString("Morgens den    32.03.2024 Z=07:30  ZuckerWert=100"),
                               QString("Morgens den    00.03.2024 Z=07:30  ZuckerWert=100"),
                               QString("Morgens den    99.03.2024 Z=07:30  ZuckerWert=100"),
                               QString("Morgens den 5.03.2024 Z=07:30  ZuckerWert=100"),
                               QString("Morgens ohne Datum ZuckerWert=100")})
        v.collect(bad, "x", &days);
    EXPECT_EQ(v.valueCount(), 0);
    EXPECT_EQ(v.lineCount(), 0);
    EXPECT_TRUE(v.dayValues().isEmpty());
    for (const QString &t : days)
        EXPECT_TRUE(t.isEmpty());
    v.collect(line(MS::Morgens, 31, 90), "y", &days);
    v.GibDieTagesMittelwerte();
    EXPECT_EQ(v.DayMean(31), "90");
    EXPECT_EQ(v.dayMeans().size(), 31);
}
