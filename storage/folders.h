#pragma once
#include <QString>

// The program's folders: the base folder (the current directory at start,
// ending in "/"), the data and browser folders in it and the settings file.
struct Folders {
    QString base, data, browser, settings;
    static Folders at(QString baseFolder);
};
