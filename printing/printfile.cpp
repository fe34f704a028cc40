#include "printfile.h"

#include <QFileInfo>
#include <QPdfWriter>
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

bool writesFile(const QPrinter &printer) {
    return printer.outputFormat() == QPrinter::PdfFormat && !printer.outputFileName().isEmpty();
}

PdfInMemory::PdfInMemory(const QPrinter &printer)
    : m_path(printer.outputFileName()), m_buffer(&m_bytes) {
    m_buffer.open(QIODevice::WriteOnly);
    m_writer = std::make_unique<QPdfWriter>(&m_buffer);
    m_writer->setResolution(printer.resolution());
    m_writer->setPageLayout(printer.pageLayout());
    m_writer->setTitle(printer.docName());
    m_writer->setCreator(printer.creator());
}

PdfInMemory::~PdfInMemory() = default;

textfile::SaveResult PdfInMemory::save() const {
    return textfile::save(m_path, m_bytes);
}

} // namespace printfile
