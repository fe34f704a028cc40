#include "tableprintengine.h"

void TablePrintEngine::writeDocument(const QStringList &lines) {
    clearLines();
    BeginDoc();
    for (const QString &line : lines)
        WriteLine(line);
    EndDoc();
}
