#include <gtest/gtest.h>

#include <array>

#include "storage/entryline.h"
#include "storage/monthvalues.h"

namespace {

using MS = MeasurementSlot;

QString line(MS s, int day, int value) {
    return entryline::format(s, QStringLiteral("%1").arg(day, 2, 10, QChar(u'0')), "03", "2024",
                             "07:30", QString::number(value));
}

} // namespace

TEST(MonthValues, DayTextsTakeEachReadingWithItsSlotTag) {
    std::array<QString, 31> days;
    QString value;
    EXPECT_EQ(monthvalues::collect(line(MS::Morgens, 1, 100), days, value),
              monthvalues::Collected::Reading);
    monthvalues::collect(line(MS::Abends, 1, 101), days, value);
    EXPECT_EQ(days[0], line(MS::Morgens, 1, 100) + " -1 " + line(MS::Abends, 1, 101) + " -8 ");
    // A value that is no number names itself; its line is on the day all the same.
    const QString bad = "Morgens den    05.03.2024 Z=07:30  ZuckerWert= 12a ";
    EXPECT_EQ(monthvalues::collect(bad, days, value), monthvalues::Collected::NoNumber);
    EXPECT_EQ(value, "12a");
    EXPECT_EQ(days[4], bad + " -1 ");
}

TEST(MonthValues, FastSlotScanAgreesWithTheEntryLineReader) {
    const QStringList samples = {line(MS::Morgens, 5, 128),
                                 line(MS::Messung7, 31, 0),
                                 line(MS::Abends, 10, 99),
                                 "Abends den 12.03.2024 Messung4 den 01.",
                                 "",
                                 "Messung7 Messung3 Morgens Messung1 Messung8",
                                 "Morgens Messung",
                                 "MorgensAbend Messung2"};
    for (const QString &l : samples) {
        MeasurementSlot a = MS::Morgens, b = MS::Morgens;
        EXPECT_EQ(monthvalues::slotOfLine(l, a), entryline::slotOf(l, b));
        EXPECT_EQ(a, b) << l.toStdString();
    }
}
