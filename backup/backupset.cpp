#include "backupset.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>

#include <algorithm>

namespace backup {

namespace {

bool isTableOrDiary(const QString &name) {
    return name.endsWith(QStringLiteral(".tab"), Qt::CaseInsensitive) ||
           name.endsWith(QStringLiteral(".txt"), Qt::CaseInsensitive);
}

} // namespace

bool belongs(const QString &relative) {
    if (relative == kSettingsFile || relative == kPatientFile) return true;
    return relative.startsWith(kDataFolder + u'/') && isTableOrDiary(relative);
}

QList<SetFile> collect(const Folders &folders) {
    const QDir base(folders.base);
    QList<SetFile> files;
    for (const QString &name : {kSettingsFile, kPatientFile}) {
        const QFileInfo f(base.filePath(name));
        if (f.isFile() && !f.isSymLink()) files.append({name, f.absoluteFilePath()});
    }
    // Names ending in ".tab" or ".txt" leave out lock files and leftovers of
    // interrupted saves, whose names end in ".lock" or six letters.
    QDirIterator it(folders.data, QDir::Files | QDir::Hidden | QDir::NoSymLinks,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QFileInfo f = it.nextFileInfo();
        if (!isTableOrDiary(f.fileName())) continue;
        files.append({base.relativeFilePath(f.absoluteFilePath()), f.absoluteFilePath()});
    }
    std::sort(files.begin(), files.end(),
              [](const SetFile &a, const SetFile &b) { return a.relative < b.relative; });
    return files;
}

QString filesText(qsizetype count) {
    return count == 1 ? QStringLiteral("1 Datei") : QStringLiteral("%1 Dateien").arg(count);
}

Snapshot snapshot(const Folders &folders) {
    Snapshot s;
    for (const SetFile &f : collect(folders))
        s.insert(f.relative, FileStamp::of(f.absolute));
    return s;
}

} // namespace backup
