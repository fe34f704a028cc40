#pragma once
#include <QDate>
#include <QDateTime>
#include <QDir>
#include <QString>
#include <QStringList>

#include "backupset.h"
#include "storage/settingsstore.h"

namespace keys {
// Section "Einstellung": the folder of the automatic backups.
inline const QString SicherungsOrdner = QStringLiteral("SicherungsOrdner");
} // namespace keys

// Automatic backups: at the end of a run that changed a file of the backed-up
// set, at most once a day, and before every restore. They lie in the backup
// folder, which is never inside the base folder, under names that sort by
// time and differ from those of backups the user makes:
//   Glykovalin-Autosicherung-2024-03-05_14-30-12.zip
//   Glykovalin-Autosicherung-2024-03-05_14-30-12-vor-Wiederherstellung.zip
// Only the newest kKept of them are kept.
namespace backup {

constexpr int kKept = 10;

// The backup folder when the settings name none: "Glykovalin-Sicherungen" in
// the home folder.
QString defaultFolder(const QString &home = QDir::homePath());
// The backup folder: "SicherungsOrdner" of section "Einstellung", else the
// default one.
QString backupFolder(const SettingsStore &settings);
// Whether `folder` is the folder `base` or lies inside it; links are resolved
// as far as the folders exist.
bool liesInside(const QString &folder, const QString &base);

enum class AutoKind {
    AtEnd,        // the end of a run
    BeforeRestore // the state a restore is about to replace
};
// The file name of an automatic backup made at `now`; a number above 1 tells
// apart backups made in the same second.
QString automaticName(const QDateTime &now, AutoKind kind, int number = 1);
// Whether the folder holds an end-of-run backup made on `day`.
bool madeOn(const QString &folder, const QDate &day);
// Removes all but the newest `keep` automatic backups of the folder; backups
// the user made and any other file stay. Returns the removed paths.
QStringList rotate(const QString &folder, int keep = kKept);

struct AutoResult {
    enum Status { Written, Skipped, Failed };
    Status status = Skipped;
    QString path;    // the archive written
    QString message; // German, naming the cause, when it failed
};

// Writes an automatic backup of the base folder into `folder` (made when
// missing) and then removes the oldest ones beyond kKept. Nothing is removed
// when the backup could not be written.
AutoResult writeAutomatic(const Folders &folders, const QString &folder, const QDateTime &now,
                          AutoKind kind);
// The backup at the end of a run: written only when the backed-up set
// differs from `atStart` (its snapshot when the program started) and the
// folder holds no end-of-run backup of today; otherwise Skipped.
AutoResult backupAtEnd(const Folders &folders, const QString &folder, const Snapshot &atStart,
                       const QDateTime &now);

} // namespace backup
