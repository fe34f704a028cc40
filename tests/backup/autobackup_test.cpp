#include <gtest/gtest.h>

#include <iostream>
#include <optional>

#include "backup/archive.h"
#include "backup/autobackup.h"
#include "samplebase.h"
#include "support/filelimit.h"

using namespace backup;
using testutil::SampleBase;

namespace {

QDateTime at(int day, int hour, int minute = 0, int second = 0) {
    return QDateTime(QDate(2025, 1, day), QTime(hour, minute, second));
}

QStringList namesIn(const QString &folder) {
    return QDir(folder).entryList(QDir::Files, QDir::Name);
}

} // namespace

// A run that changed a file (a removed one too) makes a backup at its end,
// but only the first of a day; a backup before a restore does not count as
// the day's. (That a run without a change makes none, the commands' test
// checks.)
TEST(AutoBackup, AfterAChangeAtMostOnceADay) {
    SampleBase base;
    const QString folder = base.backups.path();
    const Snapshot start = snapshot(base.folders);
    QFile::remove(base.folders.base + SampleBase::diary(2024, 12));
    EXPECT_EQ(backupAtEnd(base.folders, folder, start, at(3, 10)).status, AutoResult::Written);
    EXPECT_EQ(backupAtEnd(base.folders, folder, start, at(3, 20)).status, AutoResult::Skipped);
    ASSERT_EQ(writeAutomatic(base.folders, folder, at(4, 8), AutoKind::BeforeRestore).status,
              AutoResult::Written);
    EXPECT_EQ(backupAtEnd(base.folders, folder, start, at(4, 9)).status, AutoResult::Written);
    EXPECT_EQ(namesIn(folder), QStringList({"Glykovalin-Autosicherung-2025-01-03_10-00-00.zip",
                                            "Glykovalin-Autosicherung-2025-01-04_08-00-00-vor-"
                                            "Wiederherstellung.zip",
                                            "Glykovalin-Autosicherung-2025-01-04_09-00-00.zip"}));
}

// Only the newest ten automatic backups stay; two in the same second are told
// apart; backups the user made and other files are never removed.
TEST(AutoBackup, RotationKeepsTheNewestTen) {
    SampleBase base;
    const QString folder = base.backups.path();
    for (int day = 1; day <= 11; ++day)
        testutil::writeBytes(folder + automaticName(at(day, 12), AutoKind::AtEnd), "alt");
    const QStringList others = {"Glykovalin-Sicherung-2024-12-31.zip", "notizen.txt",
                                "Glykovalin-Autosicherung-kaputt.zip"};
    for (const QString &name : others)
        testutil::writeBytes(folder + name, "fremd");

    ASSERT_EQ(writeAutomatic(base.folders, folder, at(20, 7), AutoKind::AtEnd).status,
              AutoResult::Written);
    ASSERT_EQ(writeAutomatic(base.folders, folder, at(20, 7), AutoKind::AtEnd).status,
              AutoResult::Written);
    QStringList expected = others;
    for (int day = 4; day <= 11; ++day)
        expected << automaticName(at(day, 12), AutoKind::AtEnd);
    expected << automaticName(at(20, 7), AutoKind::AtEnd)
             << automaticName(at(20, 7), AutoKind::AtEnd, 2);
    expected.sort();
    EXPECT_EQ(namesIn(folder), expected);
    EXPECT_EQ(rotate(folder, 1).size(), 9);
    expected = others;
    expected << automaticName(at(20, 7), AutoKind::AtEnd, 2);
    expected.sort();
    EXPECT_EQ(namesIn(folder), expected);
}

// A backup folder that cannot take the backup (full, read-only, not a
// folder; one inside the base folder: the restore's test) gives one German
// message; the user's files, the backups already there and the folder stay
// as they were.
TEST(AutoBackup, AFailedBackupLosesNothing) {
    SampleBase base;
    const QString folder = base.backups.path();
    testutil::writeBytes(folder + automaticName(at(1, 12), AutoKind::AtEnd), "alt");
    const struct {
        const char *name;
        QString folder;
        bool full, readOnly;
        const char *says;
    } cases[] = {{"voll", folder, true, false, "größer als erlaubt"},
                 {"schreibgeschützt", folder, false, true, "Berechtigung"},
                 {"eine Datei", base.dir.file("Datei"), false, false, "nicht angelegt"}};
    testutil::writeBytes(base.dir.file("Datei"), "");
    const QMap<QString, QByteArray> user = base.all();
    const QMap<QString, QByteArray> backups = testutil::filesIn(folder, {}, true);
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        AutoResult r;
        if (c.readOnly) {
            QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner);
            if (QFileInfo(folder).isWritable()) {
                QFile::setPermissions(folder,
                                      QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
                std::cout << "[  SKIPPED ] read-only case: this user can write read-only folders\n";
                continue;
            }
        }
        {
            std::optional<testutil::FileSizeLimit> limit;
            if (c.full) limit.emplace(1024);
            r = writeAutomatic(base.folders, c.folder, at(2, 12), AutoKind::AtEnd);
        }
        QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        EXPECT_EQ(r.status, AutoResult::Failed);
        EXPECT_TRUE(r.message.contains(QString::fromUtf8(c.says))) << r.message.toStdString();
        EXPECT_EQ(base.all(), user);
        EXPECT_EQ(testutil::filesIn(folder, {}, true), backups);
    }
}

TEST(AutoBackup, FolderSettingAndItsPlace) {
    SampleBase base;
    EXPECT_EQ(defaultFolder("/home/max"), QString("/home/max/Glykovalin-Sicherungen"));
    SettingsStore settings(base.folders.settings);
    EXPECT_EQ(backupFolder(settings), base.backups.path());
    settings.set(keys::SicherungsOrdner, "");
    EXPECT_EQ(backupFolder(settings), defaultFolder());

    const QString b = base.folders.base;
    QFile::link(b + "Glykovalin-Daten", base.dir.file("Verweis"));
    const struct {
        QString folder;
        bool inside;
    } cases[] = {{b, true},
                 {b + "Sicherungen", true},
                 {b + "neu/noch tiefer", true},
                 {b + "Glykovalin-Daten/../x", true},
                 {base.dir.file("Verweis/Sicherungen"), true},
                 {base.dir.file("Glykovalin-Sicherungen"), false},
                 {base.dir.file("Glykovalin2"), false},
                 {b + "../Sicherungen", false}};
    for (const auto &c : cases)
        EXPECT_EQ(liesInside(c.folder, b), c.inside) << c.folder.toStdString();
}
