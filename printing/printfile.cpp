#include "printfile.h"

#include <QFileInfo>
#include <QPrinter>
#include <QPrinterInfo>

namespace printfile {

QString proposedName(const QString &tablePath, const QString &what) {
    QString stem = QFileInfo(tablePath).completeBaseName();
    if (stem.isEmpty()) stem = QStringLiteral("Glykovalin");
    return stem + u'-' + what + QStringLiteral(".pdf");
}

bool printersAvailable() {
    return !QPrinterInfo::availablePrinterNames().isEmpty();
}

void propose(QPrinter &printer, const QString &baseFolder, const QString &tablePath,
             const QString &what, bool havePrinters) {
    const QString name = proposedName(tablePath, what);
    printer.setDocName(QFileInfo(name).completeBaseName());
    if (havePrinters && printer.outputFormat() == QPrinter::NativeFormat) return;
    // The folder the user printed into before; the base folder at first.
    const QString last = printer.outputFileName();
    QString folder = last.isEmpty() ? baseFolder : QFileInfo(last).absolutePath();
    if (!folder.isEmpty() && !folder.endsWith(u'/')) folder += u'/';
    printer.setOutputFileName(folder + name);
}

} // namespace printfile
