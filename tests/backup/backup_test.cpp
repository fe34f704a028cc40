#include <gtest/gtest.h>

#include <QProcess>
#include <QStandardPaths>

#include "backup/archive.h"
#include "backup/restore.h"
#include "samplebase.h"
#include "storage/tablelock.h"
#include "support/filelimit.h"

#include <QRandomGenerator>

using namespace backup;
using testutil::SampleBase;

const QDateTime kNow(QDate(2025, 1, 15), QTime(18, 45, 10));

// The archive holds the user's files with their bytes and nothing else; the
// manifest names the program's version and the time of the backup. Any ZIP
// tool opens the archive; the manifest's checksums are SHA-256 as sha256sum
// writes them.
TEST(Backup, HoldsTheUsersFilesWithTheirBytes) {
    EXPECT_EQ(sha256Hex("abc"), "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
    SampleBase base;
    const QString zip = base.backups.file("s.zip");
    const WriteResult w = writeArchive(base.folders, zip, kNow);
    ASSERT_TRUE(w.ok) << w.message.toStdString();
    Archive a;
    QString error;
    ASSERT_TRUE(readArchive(zip, a, &error)) << error.toStdString();
    QStringList paths;
    for (const ArchiveFile &f : a.files) {
        paths << f.path;
        EXPECT_EQ(f.bytes, base.bytes(f.path)) << f.path.toStdString();
    }
    paths.sort();
    EXPECT_EQ(paths, SampleBase::userFiles());
    if (!QStandardPaths::findExecutable("unzip").isEmpty()) {
        EXPECT_EQ(QProcess::execute("unzip", {"-t", "-q", zip}), 0);
    }
}

// Back up, delete and alter files, restore: every file is as backed up, the
// files the archive does not hold are still there, and the backup made
// before the restore holds the altered state.
TEST(Restore, RoundTripAndTheStateBefore) {
    SampleBase base;
    const QString zip = base.dir.file("s.zip");
    ASSERT_TRUE(writeArchive(base.folders, zip, kNow).ok);
    const QMap<QString, QByteArray> backedUp = base.all();

    QFile::remove(base.folders.base + SampleBase::table(2023, 5));
    QFile::remove(base.folders.base + SampleBase::diary(2023, 5));
    QDir(base.folders.data + "2024").removeRecursively();
    QFile::remove(base.folders.base + "Patientendaten.txt");
    base.put(SampleBase::table(2023, 7), "verändert\r\n");
    base.put("glykoval.ini", base.bytes("glykoval.ini") + "[Bemerkungen_MM072023.tab]\r\n");
    base.put(SampleBase::table(2025, 1), "neu\r\n");
    const QMap<QString, QByteArray> altered = base.all();

    Archive a;
    ASSERT_TRUE(readArchive(zip, a, nullptr));
    const RestorePlan plan = planRestore(a, base.folders);
    // What the plan replaces and adds, the preview and the command's dry run
    // show; a file the archive does not hold is left alone.
    EXPECT_TRUE(plan.leftAlone.contains(SampleBase::table(2025, 1)));
    EXPECT_EQ(plan.leftAlone.size(), 50 - 2 - 27 + 1);

    const RestoreResult r = applyRestore(a, plan, base.folders, base.backups.path(), kNow);
    ASSERT_TRUE(r.ok) << r.message.toStdString();
    QMap<QString, QByteArray> expected = backedUp;
    expected.remove("Glykovalin-Daten/2024/MM032024.tab.lock");
    expected.remove("Glykovalin-Daten/2024/MM032024.tab.AbCdEf");
    expected.remove("Glykovalin-Daten/2024/Tagebuch.pdf");
    expected.remove("Glykovalin-Daten/2024/Verweis.tab");
    expected.insert(SampleBase::table(2025, 1), "neu\r\n");
    expected.insert("Glykovalin-Daten/2025/", {});
    EXPECT_EQ(base.all(), expected);

    EXPECT_EQ(QFileInfo(r.safetyBackup).fileName(),
              "Glykovalin-Autosicherung-2025-01-15_18-45-10-vor-Wiederherstellung.zip");
    Archive before;
    ASSERT_TRUE(readArchive(r.safetyBackup, before, nullptr));
    for (const ArchiveFile &f : before.files)
        EXPECT_EQ(f.bytes, altered.value(f.path)) << f.path.toStdString();
    EXPECT_EQ(before.files.size(), 50 - 27 + 1);
}

// A restore that cannot take a table's lock or save the state before gives
// up before it writes anything, and removes the year folders the locks made.
TEST(Restore, StopsBeforeWritingWhenTheStateBeforeCannotBeSaved) {
    SampleBase base;
    // A held lock is waited for a short while here, not the usual seconds.
    TableLock::setDefaultWait(std::chrono::milliseconds(200));
    const QString zip = base.dir.file("s.zip");
    ASSERT_TRUE(writeArchive(base.folders, zip, kNow).ok);
    base.put(SampleBase::table(2024, 2), "anders\r\n");
    QDir(base.folders.data + "2023").removeRecursively();
    Archive a;
    ASSERT_TRUE(readArchive(zip, a, nullptr));
    const RestorePlan plan = planRestore(a, base.folders);
    const struct {
        const char *name;
        QString backupFolder;
        bool lockTable;
        const char *says;
    } cases[] = {
        {"Tabelle gesperrt", base.backups.path(), true, "von einem anderen Vorgang"},
        {"Sicherungsordner im Glykovalin-Ordner", base.folders.base + "Sicherungen", false,
         "liegt im Glykovalin-Ordner"},
    };
    const QMap<QString, QByteArray> before = base.all();
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        TableLock other(base.folders.base + SampleBase::table(2024, 2));
        if (c.lockTable) {
            ASSERT_TRUE(other.acquire());
        }
        const RestoreResult r = applyRestore(a, plan, base.folders, c.backupFolder, kNow);
        other.release();
        EXPECT_FALSE(r.ok);
        EXPECT_TRUE(r.message.contains(QString::fromUtf8(c.says))) << r.message.toStdString();
        EXPECT_TRUE(r.message.contains("Es wurde nichts wiederhergestellt."));
        EXPECT_EQ(base.all(), before);
        EXPECT_TRUE(QDir(base.backups.path()).isEmpty());
    }
    TableLock::setDefaultWait(TableLock::kWait);
}

// A write that fails halfway (the disk fills up) stops the restore: the file
// it was writing is not there, what was written is named, and the message
// says where the state before lies.
TEST(Restore, AFailedWriteStopsItAndNamesTheStateBefore) {
    SampleBase base;
    // Random bytes, which the archive cannot squeeze below the limit.
    QList<quint32> noise(25000);
    QRandomGenerator(7).fillRange(noise.data(), noise.size());
    const QString bigTable = SampleBase::table(2022, 1);
    base.put(bigTable, QByteArray(reinterpret_cast<const char *>(noise.constData()), 100000));
    const QString zip = base.dir.file("s.zip");
    ASSERT_TRUE(writeArchive(base.folders, zip, kNow).ok);
    QDir(base.folders.data + "2022").removeRecursively();
    base.put("glykoval.ini", base.bytes("glykoval.ini") + "[Neu]\r\n");
    Archive a;
    ASSERT_TRUE(readArchive(zip, a, nullptr));
    const RestorePlan plan = planRestore(a, base.folders);
    ASSERT_EQ(plan.replaced + plan.added, QStringList({"glykoval.ini", bigTable}));

    RestoreResult r;
    {
        testutil::FileSizeLimit full(60000);
        r = applyRestore(a, plan, base.folders, base.backups.path(), kNow);
    }
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.written, QStringList{"glykoval.ini"});
    EXPECT_TRUE(r.message.contains("größer als erlaubt")) << r.message.toStdString();
    EXPECT_TRUE(r.message.contains("1 von 2 Dateien")) << r.message.toStdString();
    EXPECT_TRUE(r.message.contains(r.safetyBackup)) << r.message.toStdString();
    EXPECT_TRUE(QDir(base.folders.data + "2022").isEmpty());
}
