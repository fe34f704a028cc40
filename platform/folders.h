#pragma once
#include <QString>

// True when the path names an existing folder.
bool FolderExists(const QString &path);
// Creates the folder with all missing parents. An empty path is an error
// (returns false, *error gets "Das Verzeichnis kann nicht erstellt werden").
bool ForceFolders(const QString &path, QString *error = nullptr);
