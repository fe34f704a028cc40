#include <gtest/gtest.h>

#include <QTextStream>
#include <functional>

#include "backup/archive.h"
#include "backup/samplebase.h"
#include "cli/backupcli.h"
#include "cli/commands.h"

using testutil::SampleBase;
using testutil::ZipEntry;

namespace {

const QDateTime kNow(QDate(2025, 2, 1), QTime(9, 15, 0));

struct Outcome {
    QString out, err;
    int code = -1;
};

Outcome restore(const SampleBase &base, const QString &archive, bool dryRun = false) {
    Outcome r;
    QTextStream o(&r.out), e(&r.err);
    r.code = backupcli::restoreCommand(base.folders.base, archive, dryRun, o, e, kNow);
    return r;
}

// A backup of the sample, and the sample changed after it, so that a restore
// would write.
struct Backed {
    SampleBase base;
    QString archive = base.dir.file("Sicherung.zip");
    QByteArray good;
    QList<ZipEntry> entries; // the files of the backup, without the manifest
    Backed() {
        QString out, err;
        QTextStream o(&out), e(&err);
        EXPECT_EQ(backupcli::backupCommand(base.folders.base, archive, o, e, kNow), 0);
        good = testutil::readBytes(archive);
        backup::Archive a;
        EXPECT_TRUE(backup::readArchive(archive, a, nullptr));
        for (const backup::ArchiveFile &f : a.files)
            entries.append({f.path, f.bytes});
        base.put(SampleBase::table(2024, 3), "verändert\r\n");
        QFile::remove(base.folders.base + SampleBase::diary(2023, 1));
    }
};

QByteArray zipWith(const backup::Manifest &m, const QList<ZipEntry> &entries) {
    return testutil::makeZip(QList<ZipEntry>{{backup::kManifestName, m.toJson()}} + entries);
}

// The archive with the manifest telling the truth about what it holds.
QByteArray truthful(const QList<ZipEntry> &entries) {
    return zipWith(testutil::manifestOf(entries), entries);
}

QByteArray flipped(QByteArray zip, const QString &entry) {
    zip[testutil::dataOffset(zip, entry) + 5] ^= 0x10;
    return zip;
}

// The archive with a second entry of the same name, which libzip does not
// make: the second one is added under another name of the same length, and
// that name is then changed in the archive's bytes.
QByteArray twice(const QList<ZipEntry> &entries, const QString &name) {
    QString other = name;
    other[other.size() - 1] = u'X';
    QByteArray zip = truthful(entries + QList<ZipEntry>{{other, "zweite"}});
    return zip.replace(other.toUtf8(), name.toUtf8());
}

} // namespace

// "backup" writes the archive; "restore --dry-run" tells what a restore
// would do and changes nothing; "restore" writes the archive's files and
// says where the state before lies.
TEST(BackupCli, BackupDryRunAndRestore) {
    Backed b;
    const QMap<QString, QByteArray> changed = b.base.all();
    Outcome r = restore(b.base, b.archive, true);
    EXPECT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.contains("Würde ersetzen: " + SampleBase::table(2024, 3)));
    EXPECT_TRUE(r.out.contains("Würde hinzufügen: " + SampleBase::diary(2023, 1)));
    EXPECT_TRUE(r.out.contains("Bliebe unverändert: 48 Dateien"));
    EXPECT_EQ(b.base.all(), changed);
    EXPECT_TRUE(QDir(b.base.backups.path()).isEmpty());

    r = restore(b.base, b.archive);
    EXPECT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.contains("Sicherung vom 01.02.2025 um 09:15 Uhr (Glykovalin 5.0) geprüft: "
                               "50 Dateien."));
    EXPECT_TRUE(r.out.contains("Ersetzt: " + SampleBase::table(2024, 3) +
                               "\nHinzugefügt: " + SampleBase::diary(2023, 1) + "\n"));
    const QString safety = b.base.backups.path() +
                           "Glykovalin-Autosicherung-2025-02-01_09-15-00-vor-Wiederherstellung.zip";
    EXPECT_TRUE(r.out.contains("Der vorherige Stand ist gesichert in: " + safety));
    EXPECT_TRUE(QFileInfo::exists(safety));

    r = restore(b.base, b.archive);
    EXPECT_EQ(r.code, 0);
    EXPECT_TRUE(r.out.contains("stimmen bereits mit der Sicherung überein"));
}

// An archive that is damaged, lies about its content or would write outside
// the base folder is refused with exit code 2, and no file changes.
TEST(BackupCli, RefusesEveryArchiveThatFailsTheCheck) {
    Backed b;
    const QString table = SampleBase::table(2024, 3);
    const auto lying = [&b](const std::function<void(backup::Manifest &)> &lie) {
        backup::Manifest m = testutil::manifestOf(b.entries);
        lie(m);
        return zipWith(m, b.entries);
    };
    const auto plus = [&b](const ZipEntry &extra) { return truthful(b.entries + QList{extra}); };
    QList<ZipEntry> linked = b.entries;
    for (ZipEntry &e : linked)
        if (e.name == table) e = {table, "/etc/passwd", S_IFLNK | 0777};
    const struct {
        const char *name;
        QByteArray zip;
        const char *says;
    } cases[] = {
        {"Byte einer Tabelle gekippt", flipped(b.good, table), "beschädigt"},
        {"Byte des Inhaltsverzeichnisses gekippt", flipped(b.good, backup::kManifestName),
         "beschädigt"},
        {"halb abgeschnitten", b.good.left(b.good.size() / 2), "nicht als ZIP-Archiv öffnen"},
        {"Ende abgeschnitten", b.good.chopped(10), "nicht als ZIP-Archiv öffnen"},
        {"keine ZIP-Datei", "Hallo", "nicht als ZIP-Archiv öffnen"},
        {"falsche Größe", lying([](auto &m) { m.files[3].size += 1; }), "laut Inhaltsverzeichnis"},
        {"falsche Prüfsumme", lying([](auto &m) { m.files[3].sha256 = backup::sha256Hex("x"); }),
         "Prüfsumme"},
        {"Datei fehlt im Inhaltsverzeichnis", lying([](auto &m) { m.files.removeAt(3); }),
         "steht aber nicht im Inhaltsverzeichnis"},
        {"Datei fehlt im Archiv", zipWith(testutil::manifestOf(b.entries), b.entries.mid(1)),
         "fehlt aber im Archiv"},
        {"ohne Inhaltsverzeichnis", testutil::makeZip(b.entries), "fehlt"},
        {"Inhaltsverzeichnis kein JSON",
         testutil::makeZip(QList<ZipEntry>{{backup::kManifestName, "{"}} + b.entries),
         "kein lesbares JSON"},
        {"../x", plus({"../x", "böse"}), "außerhalb"},
        {"/etc/x", plus({"/etc/x", "böse"}), "außerhalb"},
        {"../ mitten im Pfad", plus({"Glykovalin-Daten/../../x.tab", "böse"}), "außerhalb"},
        {"Verknüpfung", truthful(linked), "Verknüpfung"},
        {"fremde Datei", plus({"start.sh", "rm -rf ~"}), "gehört nicht zu den Dateien"},
        {"Eintrag doppelt", twice(b.entries, table), "nicht als ZIP-Archiv öffnen"},
    };
    const QMap<QString, QByteArray> before = b.base.all();
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        const QString path = b.base.dir.file("kaputt.zip");
        testutil::writeBytes(path, c.zip);
        const Outcome r = restore(b.base, path);
        EXPECT_EQ(r.code, 2);
        EXPECT_TRUE(r.err.contains(QString::fromUtf8(c.says))) << r.err.toStdString();
        EXPECT_TRUE(r.err.endsWith("Es wurde nichts verändert.\n")) << r.err.toStdString();
        EXPECT_TRUE(r.out.isEmpty());
        EXPECT_EQ(b.base.all(), before);
        EXPECT_TRUE(QDir(b.base.backups.path()).isEmpty());
    }
}

// The commands as the tool runs them, in the current directory.
TEST(BackupCli, CalledInTheBaseFolder) {
    SampleBase base;
    const QString previous = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(base.folders.base));
    QString out, err;
    QTextStream o(&out), e(&err);
    const int backupCode = cli::run({"backup", "../s.zip"}, o, e);
    const int wrongCall = cli::run({"restore", "../s.zip", "--trocken"}, o, e);
    const int dryRun = cli::run({"restore", "../s.zip", "--dry-run"}, o, e);
    QDir::setCurrent(base.dir.path());
    const int notABase = cli::run({"backup", "t.zip"}, o, e);
    QDir::setCurrent(previous);
    EXPECT_EQ(backupCode, 0);
    EXPECT_TRUE(QFileInfo::exists(base.dir.file("s.zip")));
    EXPECT_EQ(wrongCall, 2);
    EXPECT_TRUE(err.contains("Aufruf: glykovalin-cli backup AUSGABE.zip"));
    EXPECT_EQ(dryRun, 0);
    EXPECT_EQ(notABase, 1);
    EXPECT_TRUE(err.contains("keine glykoval.ini"));
    EXPECT_FALSE(QFileInfo::exists(base.dir.file("t.zip")));
}
