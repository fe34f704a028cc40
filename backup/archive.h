#pragma once
#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>

#include "manifest.h"
#include "storage/folders.h"

// A backup is one ZIP archive: the backed-up set of a base folder with its
// bytes unchanged, and the manifest beside it.
namespace backup {

struct ArchiveFile {
    QString path; // relative to the base folder
    QByteArray bytes;
};

struct Archive {
    Manifest manifest;
    QList<ArchiveFile> files; // in the manifest's order
};

struct WriteResult {
    bool ok = false;
    int fileCount = 0; // files backed up, the manifest not counted
    QString message;   // German, naming the cause, when it failed
};

// Backs up the base folder into the archive `target`, made at `now`. The
// archive counts as written only when it was put together completely and
// every byte of it reached the disk through a temporary file beside the
// target that then replaced it; otherwise a previous file at `target` stays
// as it was and no temporary file is left.
WriteResult writeArchive(const Folders &folders, const QString &target, const QDateTime &now);

// Reads a backup and checks it before anything is taken from it: it opens as
// a ZIP archive, every entry is a plain file of the kinds a backup holds
// under a relative path that stays inside the base folder (no absolute path,
// no "..", no link), every file is in the manifest and every file of the
// manifest is in the archive, and every size and SHA-256 matches. False with
// the German reason in *error otherwise.
bool readArchive(const QString &path, Archive &archive, QString *error);

} // namespace backup
