#include <gtest/gtest.h>

#include <QApplication>
#include <QPushButton>
#include <QSignalSpy>
#include <QTimer>
#include <QTreeWidget>
#include <functional>

#include "backup/archive.h"
#include "backup/autobackup.h"
#include "backup/samplebase.h"
#include "dialogs/backupcommands.h"
#include "dialogs/restoredialog.h"
#include "recordingservices.h"

using testutil::SampleBase;

namespace {

struct Commands {
    SampleBase base;
    ui::RecordingServices rec;
    BackupCommands d{rec, base.folders, SettingsStore(base.folders.settings), nullptr};
};

// Runs `act` on the modal window that opens next, once it is shown.
void onModal(const std::function<void(QWidget *)> &act) {
    auto *poll = new QTimer;
    poll->setInterval(5);
    QObject::connect(poll, &QTimer::timeout, [poll, act] {
        if (QWidget *w = QApplication::activeModalWidget()) {
            poll->stop();
            poll->deleteLater();
            act(w);
        }
    });
    poll->start();
}

} // namespace

// The save dialog proposes the dated name in the backup folder; the archive
// is written under the name chosen, with ".zip" added when it has no suffix.
TEST(BackupCommands, ErstellenWritesTheChosenArchive) {
    Commands c;
    c.rec.fileNames.enqueue(c.base.dir.file("meine Sicherung"));
    c.d.SicherungErstellen();
    const QString proposal = c.base.backups.path() + "Glykovalin-Sicherung-" +
                             QDate::currentDate().toString("yyyy-MM-dd") + ".zip";
    EXPECT_EQ(c.rec.dialogCalls,
              QStringList{"save|Sicherung erstellen|" + proposal + "|ZIP-Archive (*.zip)"});
    backup::Archive a;
    EXPECT_TRUE(backup::readArchive(c.base.dir.file("meine Sicherung.zip"), a, nullptr));
    ASSERT_EQ(c.rec.shown.size(), 1);
    EXPECT_EQ(c.rec.shown[0].kind, ui::Kind::Information);
    EXPECT_TRUE(c.rec.shown[0].text.contains("meine Sicherung.zip“ (50 Dateien"));

    c.rec.clear();
    c.d.SicherungErstellen(); // cancelled
    EXPECT_TRUE(c.rec.shown.isEmpty());
}

// The preview lists what the restore replaces, adds and leaves alone;
// "Abbrechen" changes nothing, "Wiederherstellen" restores and says where
// the state before lies.
TEST(BackupCommands, WiederherstellenAfterThePreview) {
    Commands c;
    const QString archive = c.base.dir.file("s.zip");
    ASSERT_TRUE(backup::writeArchive(c.base.folders, archive, QDateTime::currentDateTime()).ok);
    const QMap<QString, QByteArray> backedUp = c.base.all();
    c.base.put(SampleBase::table(2024, 6), "anders\r\n");
    QFile::remove(c.base.folders.base + SampleBase::table(2023, 2));
    QFile::remove(c.base.folders.base + SampleBase::diary(2023, 2));
    const QMap<QString, QByteArray> changed = c.base.all();
    QSignalSpy restored(&c.d, &BackupCommands::restored);

    QStringList groups;
    c.rec.fileNames << archive << archive;
    onModal([&groups](QWidget *w) {
        const auto &tree = testutil::child<QTreeWidget>(*w, "Dateien");
        for (int i = 0; i < tree.topLevelItemCount(); ++i)
            groups << tree.topLevelItem(i)->text(0);
        testutil::child<QPushButton>(*w, "AbbrechenBtn").click();
    });
    c.d.SicherungWiederherstellen();
    EXPECT_EQ(groups,
              QStringList({"Wird ersetzt (1)", "Wird hinzugefügt (2)", "Bleibt unverändert (47)"}));
    EXPECT_EQ(c.base.all(), changed);
    EXPECT_TRUE(c.rec.shown.isEmpty());
    EXPECT_EQ(restored.count(), 0);

    onModal([](QWidget *w) { testutil::child<QPushButton>(*w, "WiederherstellenBtn").click(); });
    c.d.SicherungWiederherstellen();
    EXPECT_EQ(c.base.all(), backedUp);
    EXPECT_EQ(restored.count(), 1);
    ASSERT_EQ(c.rec.shown.size(), 1);
    EXPECT_TRUE(c.rec.shown[0].text.contains("1 Datei ersetzt, 2 Dateien hinzugefügt"));
    EXPECT_TRUE(c.rec.shown[0].text.contains(c.base.backups.path() + "Glykovalin-Autosicherung-"));
    EXPECT_EQ(c.rec.dialogCalls[0],
              "open|Sicherung wiederherstellen|" + c.base.backups.path() + "|ZIP-Archive (*.zip)");
}

// A damaged archive is refused with one message before any preview.
TEST(BackupCommands, WiederherstellenRefusesADamagedArchive) {
    Commands c;
    const QString archive = c.base.dir.file("s.zip");
    ASSERT_TRUE(backup::writeArchive(c.base.folders, archive, QDateTime::currentDateTime()).ok);
    testutil::writeBytes(archive, testutil::readBytes(archive).chopped(40));
    c.base.put(SampleBase::table(2024, 6), "anders\r\n");
    const QMap<QString, QByteArray> before = c.base.all();
    c.rec.fileNames.enqueue(archive);
    c.d.SicherungWiederherstellen();
    ASSERT_EQ(c.rec.shown.size(), 1);
    EXPECT_EQ(c.rec.shown[0].kind, ui::Kind::Warning);
    EXPECT_TRUE(c.rec.shown[0].text.endsWith("Es wurde nichts verändert."));
    EXPECT_EQ(c.base.all(), before);
    EXPECT_TRUE(QDir(c.base.backups.path()).isEmpty());
}

// At the end: no backup after a run that changed nothing, one after a run
// that changed a file (at most one a day: the backup tests); a backup folder
// that cannot take it gives one message.
TEST(BackupCommands, BeimBeenden) {
    Commands c;
    c.d.SicherungBeimBeenden();
    EXPECT_TRUE(QDir(c.base.backups.path()).isEmpty());
    c.base.put(SampleBase::diary(2024, 6), "Tag01: neu\r\n");
    c.d.SicherungBeimBeenden();
    EXPECT_EQ(QDir(c.base.backups.path()).entryList(QDir::Files).size(), 1);
    EXPECT_TRUE(c.rec.shown.isEmpty());

    SettingsStore(c.base.folders.settings)
        .set(keys::SicherungsOrdner, c.base.folders.base + "Sicherungen");
    BackupCommands inside(c.rec, c.base.folders, SettingsStore(c.base.folders.settings), nullptr);
    c.base.put(SampleBase::diary(2024, 8), "Tag01: neu\r\n");
    const QMap<QString, QByteArray> before = c.base.all();
    inside.SicherungBeimBeenden();
    ASSERT_EQ(c.rec.shown.size(), 1);
    EXPECT_TRUE(c.rec.shown[0].text.startsWith("Die automatische Datensicherung ist nicht "
                                               "gelungen. Der Sicherungsordner"));
    EXPECT_EQ(c.base.all(), before);
}
