#include <gtest/gtest.h>

#include "platform/profile.h"
#include "printing/remarkstore.h"
#include "tabellendlg_table.h"
#include "testutil.h"

namespace {
const QString kTable = QStringLiteral("/data/2024/MM032024.tab");
}

TEST(RemarkStore, RowKeysAndSection) {
    EXPECT_EQ(RemarkStore::sectionFor(kTable), QStringLiteral("Bemerkungen_MM032024.tab"));
    EXPECT_EQ(RemarkStore::rowKey(QStringLiteral("   05       |   x |")), QStringLiteral("05"));
    EXPECT_EQ(RemarkStore::rowKey(QStringLiteral("  Datum  | M")), QStringLiteral("Datum"));
    EXPECT_EQ(RemarkStore::rowKey(QStringLiteral("no bar")), QString());
}

TEST(RemarkStore, RemarkIsStoredWithItsQuoteMergedAgainAndDeleted) {
    testutil::TempFolder dir;
    const QString ini = dir.file("glykoval.ini");
    testutil::writeBytes(ini, testutil::crlf({"[Einstellung]", "BenutzerName=Max Muster"}));
    const RemarkStore store(ini, kTable);

    QStringList lines = sampleTableLines();
    lines[rowOfDay(5)] += QStringLiteral("nach Sport");
    lines[rowOfDay(12)] += QStringLiteral("  zwei Blanks vorn");
    const RemarkStore::StoreResult r = store.store(lines);
    EXPECT_TRUE(r.written);
    EXPECT_TRUE(r.tooLong.isEmpty());

    const QByteArray bytes = testutil::readBytes(ini);
    EXPECT_TRUE(bytes.startsWith("[Einstellung]\r\nBenutzerName=Max Muster\r\n"));
    EXPECT_TRUE(bytes.contains("[Bemerkungen_MM032024.tab]\r\n"));
    EXPECT_TRUE(bytes.contains("\r\n05,1=\"nach Sport\r\n"));
    EXPECT_TRUE(bytes.contains("\r\n12,1=\"  zwei Blanks vorn\r\n"));
    EXPECT_FALSE(bytes.contains("06,1=")) << "rows without remark write nothing";
    EXPECT_FALSE(bytes.contains("Datum")) << "the header row is no remark row";

    // Shown again on a freshly built table.
    const QStringList merged = store.merge(sampleTableLines());
    QStringList expected = sampleTableLines();
    expected[rowOfDay(5)] += QStringLiteral("nach Sport");
    expected[rowOfDay(12)] += QStringLiteral("  zwei Blanks vorn");
    EXPECT_EQ(merged, expected);

    // Another month's table shows none of them.
    const RemarkStore other(ini, QStringLiteral("/data/2024/MM042024.tab"));
    EXPECT_EQ(other.merge(sampleTableLines()), sampleTableLines());

    // Deleting the remark keeps the key with an empty value.
    QStringList edited = merged;
    edited[rowOfDay(5)] = sampleTableLines()[rowOfDay(5)];
    store.store(edited);
    EXPECT_TRUE(profile::contains(ini, store.section(), QStringLiteral("05,1")));
    EXPECT_EQ(profile::read(ini, store.section(), QStringLiteral("05,1")), QString());
    EXPECT_TRUE(testutil::readBytes(ini).contains("\r\n05,1=\r\n"));
    EXPECT_EQ(store.merge(sampleTableLines())[rowOfDay(5)], sampleTableLines()[rowOfDay(5)]);
    EXPECT_EQ(store.remark(QStringLiteral("12,1")), QStringLiteral("  zwei Blanks vorn"));
}

TEST(RemarkStore, ConsecutiveRowsWithTheSameKeyGetTheSecondSuffix) {
    testutil::TempFolder dir;
    const QString ini = dir.file("glykoval.ini");
    const RemarkStore store(ini, kTable);
    const QStringList lines{"Titel ohne Bar | x", "Datum | Wert",         "05 | 1 |erste",
                            "05 | 2 |zweite",     "Fortsetzung ohne Bar", "06 | 3 |dritte"};
    store.store(lines);
    EXPECT_EQ(store.remark(QStringLiteral("05,1")), QStringLiteral("erste"));
    EXPECT_EQ(store.remark(QStringLiteral("05,2")), QStringLiteral("zweite"));
    EXPECT_EQ(store.remark(QStringLiteral("06,1")), QStringLiteral("dritte"));
    EXPECT_FALSE(profile::contains(ini, store.section(), QStringLiteral("Titel ohne Bar,1")));
    // The line without a bar belongs to the key before it but is no row of it.
    EXPECT_FALSE(testutil::readBytes(ini).contains("Fortsetzung"));
}

TEST(RemarkStore, OverlongRemarkIsReported) {
    testutil::TempFolder dir;
    const QString ini = dir.file("glykoval.ini");
    const RemarkStore store(ini, kTable);
    QStringList lines = sampleTableLines();
    const QString longText = QString(300, u'x');
    const QString fitting = QString(RemarkStore::kMaxRemark, u'y');
    lines[rowOfDay(7)] += longText;
    lines[rowOfDay(8)] += fitting;
    const RemarkStore::StoreResult r = store.store(lines);
    EXPECT_EQ(r.tooLong, QStringList{"07,1"});
    // The file keeps it whole; the profile access gives back 254 characters.
    EXPECT_TRUE(testutil::readBytes(ini).contains(("07,1=\"" + longText).toLatin1()));
    EXPECT_EQ(store.remark(QStringLiteral("07,1")), QString(254, u'x'));
    EXPECT_EQ(store.remark(QStringLiteral("08,1")), fitting);
}

TEST(RemarkStore, UnwritableSettingsFileIsReported) {
    testutil::TempFolder dir;
    const RemarkStore store(dir.file("missing/glykoval.ini"), kTable);
    QStringList lines = sampleTableLines();
    lines[rowOfDay(5)] += QStringLiteral("nach Sport");
    EXPECT_FALSE(store.store(lines).written);
}
