#include "folders.h"

#include <QDir>
#include <QFileInfo>

bool FolderExists(const QString &path) {
    const QFileInfo fi(path);
    return fi.exists() && fi.isDir();
}

bool ForceFolders(const QString &path, QString *error) {
    if (path.isEmpty()) {
        if (error) *error = QStringLiteral("Das Verzeichnis kann nicht erstellt werden");
        return false;
    }
    QString p = path;
    if (p.size() > 1 && (p.endsWith(u'/') || p.endsWith(u'\\'))) p.chop(1);
    return FolderExists(p) || QDir().mkpath(p);
}
