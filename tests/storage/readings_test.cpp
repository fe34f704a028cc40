#include <gtest/gtest.h>

#include "platform/convert.h"
#include "storage/entryline.h"
#include "storage/limits.h"
#include "storage/settingsstore.h"

TEST(Readings, ALineIsAReadingOnlyWithADayOfTheMonth) {
    using entryline::readingDay;
    for (int d = 1; d <= 31; ++d) {
        const QString dd = QStringLiteral("%1").arg(d, 2, 10, QChar(u'0'));
        for (int n = 1; n <= 8; ++n) {
            const QString l =
                entryline::format(slotinfo::fromNumber(n), dd, "03", "2024", "07:30", "128");
            EXPECT_EQ(readingDay(l), d) << l.toStdString();
        }
    }
    for (const QString bad :
         {"Morgens den    00.03.2024 Z=07:30  ZuckerWert=128",
          "Morgens den    32.03.2024 Z=07:30  ZuckerWert=128",
          "Abends den     99.03.2024 Z=21:00  ZuckerWert=128", "Morgens den 5.03.2024",
          "Morgens den05.03.2024 Z=07:30  ZuckerWert=128", "Morgens den    0A.03.2024",
          "Morgens ohne Datum  ZuckerWert=128", "", ".", " 05.03.2024 kein Eintrag",
          "Datum=05.03.2024", "M 05"})
        EXPECT_EQ(readingDay(bad), 0) << bad.toStdString();
    // The date decides, not a later " DD." in the line.
    EXPECT_EQ(readingDay("Morgens den    05.03.2024 Z= 31.0  ZuckerWert=128"), 5);
    EXPECT_EQ(readingDay("Morgens den    32.03.2024 Z= 05.0  ZuckerWert=128"), 0);
}

TEST(Readings, AValueIsPlainDigitsWithOneDecimalMarkUpTo9999) {
    const std::pair<QString, double> good[] = {{"128", 128},     {" 128 ", 128},
                                               {"0", 0},         {"0128", 128},
                                               {"100,5", 100.5}, {"99.5", 99.5},
                                               {"9999", 9999},   {"9999,0", 9999},
                                               {"\t7\t", 7},     {"00000000000000000128", 128}};
    for (const auto &[text, value] : good) {
        double v = -1;
        EXPECT_TRUE(entryline::readingValue(text, v)) << text.toStdString();
        EXPECT_DOUBLE_EQ(v, value) << text.toStdString();
    }
    for (const QString bad : {"",     " ",        "NaN",    "nan",   "inf",
                              "-inf", "Infinity", "1e20",   "1E3",   "-5",
                              "+5",   "10000",    "9999,5", "12a",   ",5",
                              "5,",   "1,2,3",    "1.2.3",  "1 000", "0x10",
                              "１２", "٣",        "1,,2",   ".",     "99999999999999999999"}) {
        double v = -1;
        EXPECT_FALSE(entryline::readingValue(bad, v)) << bad.toStdString();
        EXPECT_EQ(v, -1);
    }
}

TEST(Limits, NumbersAreClampedIntoTheSettingsDialogsRangesWithoutOverflow) {
    struct Case {
        QString key, text;
        int value;
    };
    const Case cases[] = {
        {keys::Hochwerte, "180", 180},        {keys::Hochwerte, "99999999999999999999999", 250},
        {keys::Hochwerte, "2147483648", 250}, {keys::Hochwerte, "-2147483649", 160},
        {keys::Hochwerte, " +200 ", 200},     {keys::Kritischwerte, "0", 120},
        {keys::Kritischwerte, "251", 250},    {keys::Tiefwerte, "19", 20},
        {keys::Tiefwerte, "101", 100},        {keys::Tiefwerte, "00000000000000000000060", 60},
    };
    for (const Case &c : cases)
        EXPECT_EQ(limits::limit(c.key, c.text), c.value)
            << c.key.toStdString() << " " << c.text.toStdString();
    EXPECT_EQ(limits::penWidth(""), 2);
    EXPECT_EQ(limits::penWidth("0"), 1);
    EXPECT_EQ(limits::penWidth("5"), 5);
    EXPECT_EQ(limits::penWidth("2147483647"), 8);

    // Text that is no whole number is a conversion error naming the key.
    for (const QString bad : {"", "abc", "1e3", "12,5", "+", "-", "1 2", "NaN"}) {
        try {
            limits::limit(keys::Tiefwerte, bad);
            ADD_FAILURE() << bad.toStdString();
        } catch (const EConvertError &e) {
            EXPECT_TRUE(e.message().contains("Tiefwerte<")) << e.message().toStdString();
        }
    }
    EXPECT_THROW(limits::penWidth("breit"), EConvertError);
    EXPECT_THROW(limits::limit("Unbekannt", "100"), EConvertError);
    limits::Range r{};
    EXPECT_TRUE(limits::rangeOf(keys::StiftBreite, r));
    EXPECT_EQ(r.low, 1);
    EXPECT_EQ(r.high, 8);
    EXPECT_FALSE(limits::rangeOf(keys::KurvenFarbe, r));
}
