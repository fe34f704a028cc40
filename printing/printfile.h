#pragma once
#include <QString>

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

} // namespace printfile
