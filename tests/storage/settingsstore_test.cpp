#include <QFile>
#include <gtest/gtest.h>

#include "platform/convert.h"
#include "platform/ui.h"
#include "recordingservices.h"
#include "storage/settingsstore.h"
#include "testutil.h"

TEST(SettingsStore, FlagsNumbersAndConversionErrors) {
    testutil::TempFolder dir;
    const SettingsStore st(dir.file("glykoval.ini"));
    testutil::writeBytes(st.path(), testutil::crlf({"[Einstellung]", "BisZu4MessungenJeTag=10",
                                                    "BisZu8MessungenJeTag=0", "StiftBreite=dick",
                                                    "FensterBreite= 812 "}));
    EXPECT_TRUE(st.flag(keys::BisZu4));
    EXPECT_FALSE(st.flag(keys::BisZu8));
    EXPECT_EQ(st.number(keys::LetzteKlickPosition, defaults::LetzteKlickPosition), 64);
    EXPECT_EQ(st.number(keys::FensterBreite, 300), 812);
    EXPECT_THROW(st.requiredNumber(keys::Hochwerte), EConvertError);
    ui::RecordingServices rec;
    bool after = false;
    EXPECT_FALSE(ui::guarded(rec, [&] {
        st.number(keys::StiftBreite, 2);
        after = true;
    }));
    EXPECT_FALSE(after);
    ASSERT_EQ(rec.shown.size(), 1);
    EXPECT_TRUE(rec.shown[0].text.contains("dick"));
    EXPECT_TRUE(rec.shown[0].text.contains("StiftBreite"));
    EXPECT_FALSE(st.isReadOnly());
    EXPECT_FALSE(st.setUnlessEmpty(keys::TabellenDateiName, ""));
    EXPECT_TRUE(SettingsStore(dir.file("missing.ini")).isReadOnly());
    // A file without write permission bits counts as read-only also for the
    // administrator, who could write it; it is not rewritten.
    const QByteArray before = testutil::readBytes(st.path());
    QFile::setPermissions(st.path(), QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
    EXPECT_TRUE(st.isReadOnly());
    EXPECT_FALSE(st.set(keys::BenutzerName, "Anna"));
    EXPECT_EQ(testutil::readBytes(st.path()), before);
}

// Windows that hold one shared document see each other's changes without
// reading the file again.
TEST(SettingsStore, SharedDocument) {
    testutil::TempFolder dir;
    const QString ini = dir.file("glykoval.ini");
    const QByteArray original =
        testutil::crlf({"[Einstellung]", "Hochwerte>=180", "StiftBreite=2"});
    testutil::writeBytes(ini, original);
    const auto doc = std::make_shared<IniDocument>(ini);
    const SettingsStore mainWindow(doc), dialog(doc);
    EXPECT_EQ(dialog.requiredNumber(keys::Hochwerte), 180);
    ASSERT_TRUE(mainWindow.set(keys::StiftBreite, "3"));
    EXPECT_EQ(dialog.number(keys::StiftBreite, 2), 3);
    ASSERT_TRUE(dialog.write(QList<SettingsStore::Change>{
        {"Einstellung", keys::FensterBreite, "812"}, {"Einstellung", keys::FensterHoehe, "600"}}));
    EXPECT_EQ(mainWindow.number(keys::FensterHoehe, 590), 600);
    EXPECT_EQ(doc->loadCount(), 1);
    EXPECT_EQ(doc->saveCount(), 2);

    // A store made from a path leaves the document behind when it moves on.
    SettingsStore moved(doc);
    moved.setPath(dir.file("anders.ini"));
    EXPECT_EQ(moved.document(), nullptr);
    EXPECT_EQ(moved.get(keys::Hochwerte), "");
}
