#pragma once
#include <QDateTime>
#include <QString>
#include <QStringList>

#include "archive.h"

// Restoring a checked backup into a base folder. Files the archive does not
// hold are never deleted.
namespace backup {

// What a restore does, each list of relative paths sorted.
struct RestorePlan {
    QStringList replaced;  // there now with other bytes
    QStringList added;     // not there now
    QStringList leftAlone; // the same bytes as in the archive, or not in the archive
    bool changesAnything() const { return !replaced.isEmpty() || !added.isEmpty(); }
};

RestorePlan planRestore(const Archive &archive, const Folders &folders);

struct RestoreResult {
    bool ok = false;
    QString safetyBackup; // the automatic backup of the state before, when made
    QStringList written;  // the relative paths replaced or added, in order
    QString message;      // German, naming the cause, when it failed
};

// Carries out a plan: takes the lock of every month table it writes, saves
// the current state as an automatic backup into `backupFolder`, and only
// then writes the planned files, each through a temporary file that replaces
// it when complete. Nothing is written when a lock or the safety backup
// fails; a failed write stops the restore, and the message names what was
// written and where the state before lies.
RestoreResult applyRestore(const Archive &archive, const RestorePlan &plan, const Folders &folders,
                           const QString &backupFolder, const QDateTime &now);

} // namespace backup
