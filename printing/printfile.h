#pragma once
#include <QBuffer>
#include <QByteArray>
#include <QString>
#include <memory>

#include "platform/textfile.h"

class QPdfWriter;
class QPrinter;

// The PDF file a print goes to when there is no printer.
namespace printfile {

// The file name for a table's printed document: the table's name without
// its extension, "-", what is printed and ".pdf" ("MM122026-Grafik.pdf").
QString proposedName(const QString &tablePath, const QString &what);

// Whether a printer is set up on this computer.
bool printersAvailable();

// Prepares the printer before the print dialog: the job is named after the
// table, and when the print goes to a file (no printer is set up, or the
// printer was last used for a file) the dialog proposes a file of that name
// in the base folder, or in the folder printed into before. A printer of the
// system stays the one proposed.
void propose(QPrinter &printer, const QString &baseFolder, const QString &tablePath,
             const QString &what, bool havePrinters = printersAvailable());

// Whether the printer writes a PDF file instead of printing.
bool writesFile(const QPrinter &printer);

// The pages for a printer that writes a PDF file, made in memory with the
// printer's paper, margins, resolution and job title (the PDF's /Title).
// Only save() touches the file: it replaces it only with the complete
// document, so a print cut off or failing leaves the old file as it was and
// nothing beside it.
class PdfInMemory {
public:
    explicit PdfInMemory(const QPrinter &printer);
    ~PdfInMemory();
    PdfInMemory(const PdfInMemory &) = delete;
    PdfInMemory &operator=(const PdfInMemory &) = delete;

    // The device to paint the pages on.
    QPdfWriter &device() { return *m_writer; }
    // The printer's output file.
    const QString &path() const { return m_path; }
    // Writes the finished document (after the painter has ended).
    textfile::SaveResult save() const;

private:
    QString m_path;
    QByteArray m_bytes;
    QBuffer m_buffer;
    std::unique_ptr<QPdfWriter> m_writer;
};

} // namespace printfile
