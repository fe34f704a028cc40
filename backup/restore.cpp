#include "restore.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSet>

#include <algorithm>
#include <memory>
#include <vector>

#include "autobackup.h"
#include "backupset.h"
#include "platform/textfile.h"
#include "storage/tablelock.h"

namespace backup {

namespace {

bool sameBytes(const QString &path, const QByteArray &bytes) {
    QFile f(path);
    return f.size() == bytes.size() && f.open(QIODevice::ReadOnly) && f.readAll() == bytes;
}

// The folders above `path` up to `base` that do not exist yet, deepest first.
QStringList missingFolders(const QString &path, const QString &base) {
    QStringList missing;
    for (QString dir = QFileInfo(path).absolutePath();
         dir.size() > base.size() && !QFileInfo::exists(dir); dir = QFileInfo(dir).absolutePath())
        missing << dir;
    return missing;
}

} // namespace

RestorePlan planRestore(const Archive &archive, const Folders &folders) {
    RestorePlan plan;
    QSet<QString> inArchive;
    for (const ArchiveFile &f : archive.files) {
        inArchive.insert(f.path);
        const QString path = folders.base + f.path;
        if (!QFileInfo::exists(path))
            plan.added << f.path;
        else if (sameBytes(path, f.bytes))
            plan.leftAlone << f.path;
        else
            plan.replaced << f.path;
    }
    for (const SetFile &f : collect(folders))
        if (!inArchive.contains(f.relative)) plan.leftAlone << f.relative;
    for (QStringList *list : {&plan.replaced, &plan.added, &plan.leftAlone})
        list->sort();
    return plan;
}

RestoreResult applyRestore(const Archive &archive, const RestorePlan &plan, const Folders &folders,
                           const QString &backupFolder, const QDateTime &now) {
    RestoreResult r;
    QHash<QString, const QByteArray *> bytesOf;
    for (const ArchiveFile &f : archive.files)
        bytesOf.insert(f.path, &f.bytes);
    const QStringList toWrite = plan.replaced + plan.added;

    // A lock makes the year folder of a new table; those folders go again
    // when the restore stops before writing.
    QStringList madeFolders;
    std::vector<std::unique_ptr<TableLock>> locks;
    auto giveUp = [&](const QString &message) {
        locks.clear();
        std::sort(madeFolders.begin(), madeFolders.end(),
                  [](const QString &a, const QString &b) { return a.size() > b.size(); });
        for (const QString &dir : std::as_const(madeFolders))
            QDir().rmdir(dir);
        r.message = message;
        return r;
    };
    for (const QString &rel : toWrite) {
        const QString path = folders.base + rel;
        madeFolders << missingFolders(path, folders.base);
        if (!rel.endsWith(QStringLiteral(".tab"), Qt::CaseInsensitive)) continue;
        locks.push_back(std::make_unique<TableLock>(path));
        QString why;
        if (!locks.back()->acquire(&why))
            return giveUp(why + QStringLiteral(" Es wurde nichts wiederhergestellt."));
    }

    const AutoResult safety = writeAutomatic(folders, backupFolder, now, AutoKind::BeforeRestore);
    if (safety.status != AutoResult::Written)
        return giveUp(QStringLiteral("Der jetzige Stand konnte vor dem Wiederherstellen nicht "
                                     "gesichert werden: %1 Es wurde nichts wiederhergestellt.")
                          .arg(safety.message));
    r.safetyBackup = safety.path;

    for (const QString &rel : toWrite) {
        const QByteArray *bytes = bytesOf.value(rel);
        if (!bytes) continue; // a plan made from another archive
        const QString path = folders.base + rel;
        QDir().mkpath(QFileInfo(path).absolutePath());
        const textfile::SaveResult saved = textfile::save(path, *bytes);
        if (!saved) {
            r.message = QStringLiteral("%1 Die Wiederherstellung wurde abgebrochen; %2 von %3 "
                                       "Dateien sind wiederhergestellt. Der Stand vor dem "
                                       "Wiederherstellen liegt in „%4“.")
                            .arg(saved.message(path))
                            .arg(r.written.size())
                            .arg(toWrite.size())
                            .arg(QDir::toNativeSeparators(r.safetyBackup));
            return r;
        }
        r.written << rel;
    }
    r.ok = true;
    return r;
}

} // namespace backup
