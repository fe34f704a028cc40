#include "folders.h"

Folders Folders::at(QString baseFolder) {
    if (!baseFolder.endsWith(u'/')) baseFolder += u'/';
    Folders f;
    f.base = baseFolder;
    f.data = baseFolder + QStringLiteral("Glykovalin-Daten/");
    f.browser = baseFolder + QStringLiteral("Glykovalin-Daten im Browser/");
    f.settings = baseFolder + QStringLiteral("glykoval.ini");
    return f;
}
