#include <QPlainTextEdit>
#include <gtest/gtest.h>

#include "platform/profile.h"
#include "platform/textfile.h"
#include "platform/ui.h"
#include "printing/remarkstore.h"
#include "printing/tabellendlg.h"
#include "recordingservices.h"
#include "storage/monthmodel.h"
#include "support/filelimit.h"
#include "tabellendlg_table.h"
#include "testutil.h"

#include <QFileInfo>
#include <cerrno>

namespace {

const QString kTable = QStringLiteral("/data/2024/MM032024.tab");

// A settings file with a user name, in a folder of the test.
class Remarks : public ::testing::Test {
protected:
    testutil::TempFolder dir;
    QString ini = dir.file("glykoval.ini");
    Remarks() {
        testutil::writeBytes(ini, testutil::crlf({"[Einstellung]", "BenutzerName=Max Muster"}));
    }
};

} // namespace

TEST_F(Remarks, RemarkIsStoredWithItsQuoteAndMergedAgain) {
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

    // Shown again on a freshly built table, the blanks in front kept.
    EXPECT_EQ(store.merge(sampleTableLines()), lines);
}

TEST_F(Remarks, ConsecutiveRowsWithTheSameKeyGetTheSecondSuffix) {
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
    EXPECT_TRUE(RemarkStore::rowKey(lines[4]).isEmpty());
}

TEST_F(Remarks, OverlongRemarkIsReported) {
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

// Opening reads the settings file once; closing writes all remarks in one
// save, and nothing at all when no remark changed.
TEST_F(Remarks, OneReadOnOpeningOneWriteOnClosing) {
    QStringList lines = sampleTableLines();
    for (int d = 1; d <= 31; ++d)
        lines[rowOfDay(d)] += QStringLiteral("Bemerkung %1").arg(d);
    const RemarkStore first(ini, kTable);
    const RemarkStore::StoreResult r = first.store(lines);
    EXPECT_TRUE(r.written);
    EXPECT_TRUE(r.changed);
    EXPECT_EQ(first.document().saveCount(), 1);

    const RemarkStore opened(ini, kTable);
    EXPECT_EQ(opened.merge(sampleTableLines()), lines);
    EXPECT_EQ(opened.document().loadCount(), 1);
    const QFileInfo before(ini);
    const RemarkStore::StoreResult again = opened.store(lines);
    EXPECT_TRUE(again.written);
    EXPECT_FALSE(again.changed);
    EXPECT_EQ(opened.document().saveCount(), 0);
    EXPECT_EQ(opened.document().loadCount(), 1);
    EXPECT_EQ(QFileInfo(ini).lastModified(), before.lastModified());

    // Emptied and changed remarks together, in one write.
    lines[rowOfDay(3)] = sampleTableLines()[rowOfDay(3)];
    lines[rowOfDay(4)] += QStringLiteral(" und mehr");
    EXPECT_TRUE(opened.store(lines).changed);
    EXPECT_EQ(opened.document().saveCount(), 1);
    EXPECT_EQ(profile::read(ini, opened.section(), "03,1"), "");
    EXPECT_EQ(opened.remark("04,1"), "Bemerkung 4 und mehr");
}

// The table window closing on a full disk: no remark is written, the old ones
// stay, the warning names the file and the cause, and the window stays open
// with the remarks typed.
TEST_F(Remarks, TableWindowReportsTheCauseOfAFailedStore) {
    ui::RecordingServices rec;
    testutil::writeBytes(ini, testutil::crlf({"[Einstellung]", "BenutzerName=Max Muster",
                                              "TabellenDateiName=" + dir.file("MM032024.tab"),
                                              "[Bemerkungen_MM032024.tab]", "01,1=\"alt"}));
    const QByteArray old = testutil::readBytes(ini);
    MonthModel model(Folders::at(dir.path()));
    model.open(dir.file("MM032024.tab"));
    TTabellenDlg dlg(model, rec);
    dlg.showTable(sampleTableLines().join(u'\n'), TTabellenDlg::Opening::Beside);
    QStringList lines = dlg.tableLines();
    EXPECT_TRUE(lines[rowOfDay(1)].endsWith("alt"));
    for (int d = 2; d <= 9; ++d)
        lines[rowOfDay(d)] += QStringLiteral("eine neue Bemerkung");
    testutil::child<QPlainTextEdit>(dlg, "Memo1").setPlainText(lines.join(u'\n'));
    {
        testutil::FileSizeLimit limit(old.size() + 60);
        ASSERT_TRUE(limit.active());
        dlg.close();
    }
    EXPECT_EQ(testutil::readBytes(ini), old);
    ASSERT_EQ(rec.shown.size(), 1);
    EXPECT_EQ(rec.shown[0].kind, ui::Kind::Warning);
    EXPECT_EQ(rec.shown[0].text, QStringLiteral("Die Bemerkungen konnten nicht in der Datei \"") +
                                     ini + QStringLiteral("\" gespeichert werden. ") +
                                     textfile::reasonOf(EFBIG) +
                                     QStringLiteral("\nDie Tabelle bleibt mit den Bemerkungen "
                                                    "geöffnet."));
    EXPECT_TRUE(dlg.isVisible());
    EXPECT_EQ(dlg.tableLines(), lines);
    // With room again, closing stores them.
    dlg.close();
    EXPECT_FALSE(dlg.isVisible());
    EXPECT_EQ(profile::read(ini, "Bemerkungen_MM032024.tab", "09,1"),
              QStringLiteral("\"eine neue Bemerkung"));
}
