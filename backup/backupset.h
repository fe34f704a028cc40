#pragma once
#include <QList>
#include <QMap>
#include <QString>

#include "platform/filestamp.h"
#include "storage/folders.h"

// The files a backup holds: what the user owns in a base folder. Paths inside
// a backup are relative to the base folder, with "/" between folders.
namespace backup {

inline const QString kDataFolder = QStringLiteral("Glykovalin-Daten");
inline const QString kSettingsFile = QStringLiteral("glykoval.ini");
inline const QString kPatientFile = QStringLiteral("Patientendaten.txt");

struct SetFile {
    QString relative; // "Glykovalin-Daten/2024/MM032024.tab"
    QString absolute;
};

// Whether a relative path names a file of the kinds a backup holds: the
// settings file, the patient-data file, or a month table or diary file
// (".tab", ".txt") anywhere under the data folder.
bool belongs(const QString &relative);

// The backed-up set of a base folder, sorted by relative path: every month
// table and diary file under the data folder, the settings file and the
// patient-data file when present. Links are not followed. Browser pages,
// pictures, the help page, lock files ("*.lock") and leftovers of
// interrupted saves ("*.tab.AbCdEf") are not part of it.
QList<SetFile> collect(const Folders &folders);

// "1 Datei", "50 Dateien".
QString filesText(qsizetype count);

// The stamps of the backed-up set. A snapshot taken later that differs means
// that a file of the set was written, added or removed in between.
using Snapshot = QMap<QString, FileStamp>;
Snapshot snapshot(const Folders &folders);

} // namespace backup
