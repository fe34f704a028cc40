#include <gtest/gtest.h>

#include "monthfixture.h"
#include "stats/collection.h"
#include "stats/diarysums.h"
#include "stats/statstext.h"
#include "support/golden.h"
#include "testutil.h"

using namespace stats;
using monthfixture::Entry;

namespace {

Collection collectOne(const QString &path) {
    Collection c;
    QString error;
    EXPECT_TRUE(collect({path}, MeasureMode::Four, c, &error)) << error.toStdString();
    return c;
}

} // namespace

TEST(StatsText, GermanNumbersWhateverTheLocale) {
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    EXPECT_EQ(german(qint64(1435)), "143,5");
    EXPECT_EQ(german(qint64(-30)), "-3,0");
    EXPECT_EQ(german(qint64(5)), "0,5");
    EXPECT_EQ(german(Tenths()), "–");
    EXPECT_EQ(readingText(128, GlucoseUnit::MgDl), "128 mg/dl (7,1 mmol/l)");
    EXPECT_EQ(sumText(12.5), "12,5");
    EXPECT_EQ(sumText(34), "34");
    EXPECT_EQ(sumText(1.25), "1,25");
    QLocale::setDefault(QLocale::system());
}

// In mmol/l every value names mmol/l first and mg/dl in brackets, where
// mg/dl shows both; where mg/dl shows one unit, mmol/l shows its own. The
// bounds of the ranges stay those of the consensus.
TEST(StatsText, ValuesInMmolFirst) {
    const GlucoseUnit mmol = GlucoseUnit::MmolL;
    Figures f;
    f.readings = 40;
    f.mean = 1435;
    f.meanMmol = 80;
    const struct {
        QString got;
        const char *want;
    } cases[] = {{bothUnits(1435, 80, mmol), "8,0 mmol/l (143,5 mg/dl)"},
                 {bothUnits(Tenths(), Tenths(), mmol), "–"},
                 {readingText(128, mmol), "7,1 mmol/l (128 mg/dl)"},
                 {bandCaption(InRange, mmol), "im Zielbereich (3,9–10,0 mmol/l / 70–180 mg/dl)"},
                 {bandCaption(High, GlucoseUnit::MgDl), "hoch (181–250 mg/dl / 10,1–13,9 mmol/l)"},
                 {comparedCaption(Compared::HighShare, mmol), "hoch (10,1–13,9 mmol/l)"},
                 {comparedCaption(Compared::VeryLowShare, mmol), "sehr niedrig (< 3,0 mmol/l)"},
                 {comparedValue(f, Compared::Mean, mmol), "8,0 mmol/l"},
                 {changeText(52, Compared::Mean, mmol), "+0,3 mmol/l"},
                 {changeText(-3, Compared::Sd, mmol), "±0,0 mmol/l"},
                 {changeText(-52, Compared::Mean, GlucoseUnit::MgDl), "-5,2 mg/dl"},
                 {changeText(25, Compared::InRangeShare, mmol), "+2,5 %-Punkte"}};
    for (const auto &c : cases)
        EXPECT_EQ(c.got, QString::fromUtf8(c.want));
}

// The JSON and the German text of a month compared whole: a full month, one
// with too few readings for the spread and the eA1c, and one without readings.
// The JSON has exactly the named keys, a point in its numbers and null for
// the figures not given; the text shows every figure in both units.
TEST(StatsText, JsonAndTextOfAMonth) {
    testutil::TempFolder tmp;
    const struct {
        int month;
        MeasureMode mode;
        QList<Entry> entries;
        const char *golden;
    } cases[] = {{3, MeasureMode::Eight, monthfixture::spread(31, 8, 3), "voll"},
                 {4,
                  MeasureMode::Four,
                  {{1, MeasurementSlot::Morgens, 52, "06:45"}, {1, MeasurementSlot::Abends, 180}},
                  "zwei"},
                 {5, MeasureMode::Four, {}, "leer"}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.golden);
        const QString path = monthfixture::writeTable(tmp.path(), c.month, 2024, c.mode, c.entries);
        const Collection all = collectOne(path);
        EXPECT_TRUE(golden::matches(json(all), QStringLiteral("stats/%1.json").arg(c.golden)));
        EXPECT_TRUE(golden::matches(germanLines(all).join(u'\n').toUtf8(),
                                    QStringLiteral("stats/%1.txt").arg(c.golden)));
    }
}

TEST(StatsText, CsvBytesAndAMissingFolder) {
    testutil::TempFolder tmp;
    const QString mar = monthfixture::writeTable(tmp.path(), 3, 2024, MeasureMode::Eight,
                                                 {{2, MeasurementSlot::Abends, 250, "21:10"},
                                                  {2, MeasurementSlot::Morgens, 500, "7:00"},
                                                  {2, MeasurementSlot::Messung2, 0},
                                                  {1, MeasurementSlot::Messung5, 99, "xx"}});
    const QString feb = monthfixture::writeTable(tmp.path(), 2, 2024, MeasureMode::Eight,
                                                 {{29, MeasurementSlot::Messung7, 54, "23:50"}});
    Collection c;
    ASSERT_TRUE(collect({mar, feb}, MeasureMode::Four, c, nullptr));
    const QString out = tmp.file("messwerte.csv");
    QString error;
    ASSERT_TRUE(writeCsv(out, c.readings, &error)) << error.toStdString();
    const QByteArray bytes = testutil::readBytes(out);
    EXPECT_EQ(bytes, QByteArray("\xEF\xBB\xBF"
                                "Datum;Uhrzeit;Messung;mg/dl;mmol/l\r\n"
                                "2024-02-29;23:50;Messung 7;54;3,0\r\n"
                                "2024-03-01;;Messung 5;99;5,5\r\n"
                                "2024-03-02;07:00;Morgens;500;27,8\r\n"
                                "2024-03-02;21:10;Abends;250;13,9\r\n"));

    // A folder that does not exist: a German message, no file.
    EXPECT_FALSE(writeCsv(tmp.file("fehlt/x.csv"), c.readings, &error));
    EXPECT_TRUE(error.contains("konnte nicht geschrieben werden"));
}

TEST(StatsDiary, DaySumsOfStoredPages) {
    const QString be8 =
        "Tag05: \t #BE: Morgens= 2 \t|  M2= 1,5 \t|  M3= \t|  M4= 3.5 \t|  M5= \t|  M6= \t|  M7= "
        "\t|  Abends= 4 \t #Insulin (ICT) : Bolus= 6  Basal= 10 \t|  Bol.= 4   Bas.= \t|  "
        "Bol.= 2 IE  Bas.= 12 \t #Bemerkung: BE-Tagessumme= 11\t•    gut";
    DaySums d = sumsOfPage(be8);
    EXPECT_EQ(d.carbUnit, "BE");
    ASSERT_TRUE(d.carb);
    EXPECT_DOUBLE_EQ(*d.carb, 11.0);
    EXPECT_FALSE(d.carbUnreadable);
    ASSERT_TRUE(d.insulin && d.bolus && d.basal);
    EXPECT_DOUBLE_EQ(*d.insulin, 34.0);
    EXPECT_DOUBLE_EQ(*d.bolus, 12.0);
    EXPECT_DOUBLE_EQ(*d.basal, 22.0);

    const QString ke4 = "Tag06: \t #KE: Morgens= x \t|  M2= \t|  M3= \t|  Abends= 1 \t #Insulin "
                        "(CT)  : Morgens= 8 \t|  M2= \t|  M3= \t|  Abends=  6 #Bemerkung: ";
    d = sumsOfPage(ke4);
    EXPECT_EQ(d.carbUnit, "KE");
    EXPECT_TRUE(d.carbUnreadable);
    EXPECT_DOUBLE_EQ(*d.insulin, 14.0);
    EXPECT_FALSE(d.bolus);

    // An empty page has no sums; a page without markers does not crash.
    EXPECT_TRUE(sumsOfPage("Tag07: \t #BE: Morgens= \t|  Abends= \t #Insulin (CT)  : Morgens= "
                           "#Bemerkung: ")
                    .empty());
    EXPECT_TRUE(sumsOfPage("Tag08: irgendein Text = ohne Marken | = =").empty());
}

TEST(StatsDiary, DiaryFileBesideTheTable) {
    testutil::TempFolder tmp;
    const QString table = monthfixture::writeTable(tmp.path(), 2, 2024, MeasureMode::Four, {});
    textfile::writeLines(
        tmp.file("MM022024.txt"),
        {"Tag29: \t #BE: Morgens= 3 #Insulin (CT)  : Morgens= 8 #Bemerkung: ",
         "Tag30: \t #BE: Morgens= 3 #Insulin (CT)  : Morgens= 8 #Bemerkung: ",
         "Tag03: \t #BE: Morgens= 1 #Insulin (CT)  : Morgens= 2 #Bemerkung: ", "freie Zeile"});
    TableReadings t;
    ASSERT_TRUE(readTable(table, MeasureMode::Four, t, nullptr));
    const QList<DaySums> sums = diarySums(t);
    ASSERT_EQ(sums.size(), 2); // 30 February is no day
    EXPECT_EQ(sums[0].date, QDate(2024, 2, 3));
    EXPECT_EQ(sums[1].date, QDate(2024, 2, 29));
    EXPECT_DOUBLE_EQ(*sums[1].carb, 3.0);
}
