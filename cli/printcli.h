#pragma once
#include <QString>
#include <QStringList>

class QTextStream;

// The program's printed documents without a window, written to a PDF file:
// the graph print of the whole month and the table print, made by the same
// code as the menu commands "Grafik ganzen Monat drucken" and
// "&Tabelle drucken". Run in the folder that holds glykoval.ini.
namespace printcli {

// "print-graph TABLE OUT.pdf [--format A4|A5|A6]": the format defaults to the
// stored "Grafikformat" (DIN A4 when none). Returns the exit code.
int printGraphCommand(const QString &table, const QString &pdf, const QString &format,
                      QTextStream &out, QTextStream &err);
// "print-table TABLE OUT.pdf": the table with its remarks and stored margins.
int printTableCommand(const QString &table, const QString &pdf, QTextStream &out, QTextStream &err);

// Runs the command when args (without the program name) is one of the two;
// returns -1 for any other command.
int run(const QStringList &args, QTextStream &out, QTextStream &err);

} // namespace printcli
