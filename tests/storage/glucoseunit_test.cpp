#include <QSignalSpy>
#include <gtest/gtest.h>

#include "storage/glucoseunit.h"
#include "storage/monthmodel.h"
#include "storage/monthread.h"
#include "testutil.h"

using namespace glucoseunit;

TEST(GlucoseUnit, ShowsMgdlInMmolWithOneDecimalRoundedHalfAwayFromZero) {
    struct Case {
        int mgdl;
        const char *mmol;
    };
    // 181 mg/dl shows as 10,0 although it lies above 180; 500 is 27,75… → 27,8.
    const Case cases[] = {{0, "0,0"},    {1, "0,1"},    {54, "3,0"},   {70, "3,9"},   {101, "5,6"},
                          {180, "10,0"}, {181, "10,0"}, {250, "13,9"}, {500, "27,8"}, {-5, "-0,3"}};
    for (const Case &c : cases) {
        EXPECT_EQ(valueText(c.mgdl, GlucoseUnit::MmolL), QString::fromUtf8(c.mmol)) << c.mgdl;
        EXPECT_EQ(valueText(c.mgdl, GlucoseUnit::MgDl), QString::number(c.mgdl));
    }
    // A mean of 22,52 mg/dl is exactly 1,25 mmol/l: it rounds up.
    EXPECT_EQ(mmolTenthsOfMean(4504 * 5, 1000), 13);
    EXPECT_EQ(mmolTenthsOfTenths(1435), 80);
    EXPECT_EQ(withUnit(101, GlucoseUnit::MmolL), "5,6 mmol/l");
    EXPECT_EQ(withUnit(101, GlucoseUnit::MgDl), "101 mg/dl");
    EXPECT_EQ(MonthResult().meanHeaderIn(GlucoseUnit::MmolL), "") << "no mean, none in mmol/l";
}

TEST(GlucoseUnit, StoresTypedMmolAsRoundedMgdlUpTo500) {
    struct Case {
        const char *typed;
        bool ok;
        int mgdl;
    };
    const Case cases[] = {{"5,6", true, 101},  {"5.6", true, 101}, {" 10 ", true, 180},
                          {"7,", true, 126},   {"0,0", true, 0},   {"27,8", true, 500},
                          {"5,65", false, 0},  {"", false, 0},     {",5", false, 0},
                          {"5,6,1", false, 0}, {"-1", false, 0},   {"1e1", false, 0},
                          {"1000", false, 0},  {"5 6", false, 0}};
    for (const Case &c : cases) {
        qint64 tenths = -1;
        EXPECT_EQ(parseMmol(QString::fromUtf8(c.typed), tenths), c.ok) << c.typed;
        if (c.ok) {
            EXPECT_EQ(storedMgdl(tenths), c.mgdl) << c.typed;
        }
    }
    // Every tenth of the range comes back as itself.
    for (qint64 t = 0; t <= kMaxMmolTenths; ++t)
        EXPECT_EQ(mmolTenths(storedMgdl(t)), t) << t;
}

TEST(GlucoseUnit, SettingNamesMmolOnlyWhenItSaysSo) {
    EXPECT_EQ(fromSetting("mmol/l"), GlucoseUnit::MmolL);
    EXPECT_EQ(fromSetting(" MMOL/L "), GlucoseUnit::MmolL);
    for (const char *other : {"", "mg/dl", "mmol", "18"})
        EXPECT_EQ(fromSetting(QString::fromUtf8(other)), GlucoseUnit::MgDl) << other;
}

TEST(GlucoseUnit, ModelStoresTheUnitAndSaysWhenItChanges) {
    testutil::TempFolder dir;
    const QString ini = dir.file("glykoval.ini");
    testutil::writeBytes(ini, testutil::crlf({"[Einstellung]", "Hochwerte>=180"}));
    MonthModel model(Folders::at(dir.path()));
    EXPECT_EQ(model.unit(), GlucoseUnit::MgDl);
    QSignalSpy changed(&model, &MonthModel::unitChanged);
    EXPECT_TRUE(model.setUnit(GlucoseUnit::MmolL));
    EXPECT_TRUE(model.setUnit(GlucoseUnit::MmolL));
    EXPECT_EQ(changed.count(), 1);
    EXPECT_EQ(testutil::readBytes(ini),
              testutil::crlf({"[Einstellung]", "Hochwerte>=180", "Einheit=mmol/l"}));
    EXPECT_EQ(MonthModel(Folders::at(dir.path())).unit(), GlucoseUnit::MmolL);
    // A restored settings file names the unit anew.
    testutil::writeBytes(ini, testutil::crlf({"[Einstellung]", "Einheit=mg/dl"}));
    model.restoreUnit();
    EXPECT_EQ(model.unit(), GlucoseUnit::MgDl);
    EXPECT_EQ(changed.count(), 2);
}
