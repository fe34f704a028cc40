#include "backupcli.h"

#include <QDir>
#include <QFileInfo>

#include "backup/autobackup.h"
#include "backup/restore.h"
#include "platform/german.h"
#include "storage/settingsstore.h"

namespace backupcli {

namespace {

// The folders of a base folder that holds glykoval.ini; false with a message
// otherwise.
bool baseFolderAt(const QString &baseFolder, Folders &folders, QTextStream &err) {
    folders = Folders::at(QFileInfo(baseFolder).absoluteFilePath());
    if (QFileInfo(folders.settings).isFile()) return true;
    err << QStringLiteral("Im Ordner „%1“ liegt keine glykoval.ini. Bitte rufen Sie den Befehl im "
                          "Glykovalin-Ordner auf (meist ~/Glykovalin).\n")
               .arg(QDir::toNativeSeparators(baseFolder));
    return false;
}

void list(QTextStream &out, const QString &label, const QStringList &paths) {
    for (const QString &p : paths)
        out << label << p << u'\n';
}

} // namespace

int backupCommand(const QString &baseFolder, const QString &archive, QTextStream &out,
                  QTextStream &err, const QDateTime &now) {
    Folders folders;
    if (!baseFolderAt(baseFolder, folders, err)) return 1;
    const backup::WriteResult w = backup::writeArchive(folders, archive, now);
    if (!w.ok) {
        err << w.message << u'\n';
        return 1;
    }
    out << QStringLiteral("Sicherung geschrieben: %1 (%2)\n")
               .arg(QDir::toNativeSeparators(QFileInfo(archive).absoluteFilePath()),
                    backup::filesText(w.fileCount));
    return 0;
}

int restoreCommand(const QString &baseFolder, const QString &archive, bool dryRun, QTextStream &out,
                   QTextStream &err, const QDateTime &now) {
    Folders folders;
    if (!baseFolderAt(baseFolder, folders, err)) return 1;
    backup::Archive a;
    QString error;
    if (!backup::readArchive(archive, a, &error)) {
        err << error << QStringLiteral(" Es wurde nichts verändert.\n");
        return 2;
    }
    const QDateTime created = a.manifest.created.toLocalTime();
    out << QStringLiteral("Sicherung vom %1 um %2 Uhr (Glykovalin %3) geprüft: %4.\n")
               .arg(german::date(created.date()), created.toString(QStringLiteral("HH:mm")),
                    a.manifest.version, backup::filesText(a.files.size()));
    const backup::RestorePlan plan = backup::planRestore(a, folders);
    if (!plan.changesAnything()) {
        out << QStringLiteral("Ihre Daten stimmen bereits mit der Sicherung überein; es wurde "
                              "nichts verändert.\n");
        return 0;
    }
    if (dryRun) {
        list(out, QStringLiteral("Würde ersetzen: "), plan.replaced);
        list(out, QStringLiteral("Würde hinzufügen: "), plan.added);
        out << QStringLiteral("Bliebe unverändert: %1\n")
                   .arg(backup::filesText(plan.leftAlone.size()))
            << QStringLiteral("Probelauf: es wurde nichts verändert.\n");
        return 0;
    }
    const QString backups = backup::backupFolder(SettingsStore(folders.settings));
    const backup::RestoreResult r = backup::applyRestore(a, plan, folders, backups, now);
    const qsizetype replaced = std::min(r.written.size(), plan.replaced.size());
    list(out, QStringLiteral("Ersetzt: "), r.written.mid(0, replaced));
    list(out, QStringLiteral("Hinzugefügt: "), r.written.mid(replaced));
    if (!r.ok) {
        err << r.message << u'\n';
        return 1;
    }
    out << QStringLiteral("Unverändert: %1\n").arg(backup::filesText(plan.leftAlone.size()))
        << QStringLiteral("Der vorherige Stand ist gesichert in: %1\n")
               .arg(QDir::toNativeSeparators(r.safetyBackup));
    return 0;
}

bool run(const QStringList &args, QTextStream &out, QTextStream &err, int &rc) {
    if (args.isEmpty()) return false;
    const QString cmd = args.first();
    const QString base = QDir::currentPath();
    if (cmd == u"backup" && args.size() == 2) {
        rc = backupCommand(base, args.at(1), out, err);
    } else if (cmd == u"restore" &&
               (args.size() == 2 || (args.size() == 3 && args.at(2) == u"--dry-run"))) {
        rc = restoreCommand(base, args.at(1), args.size() == 3, out, err);
    } else if (cmd == u"backup" || cmd == u"restore") {
        err << QStringLiteral("Aufruf: glykovalin-cli backup AUSGABE.zip\n"
                              "        glykovalin-cli restore SICHERUNG.zip [--dry-run]\n");
        rc = 2;
    } else {
        return false;
    }
    return true;
}

QString usage() {
    return QStringLiteral(
        "  backup AUSGABE.zip          Sicherung aller Tabellen, Tagebücher, Einstellungen\n"
        "  restore SICHERUNG.zip [--dry-run]\n"
        "                              Sicherung prüfen und wiederherstellen (vorher wird der\n"
        "                              jetzige Stand automatisch gesichert)\n");
}

} // namespace backupcli
