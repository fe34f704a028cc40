#pragma once
#include <QStringList>
#include <QTextStream>

// The statistics commands of glykovalin-cli:
//   stats TABELLE... [--json]      the figures as German text or as JSON
//   report AUSGABE.pdf TABELLE...  the report for the doctor as PDF
//   export-csv TABELLE...          the readings as CSV on standard output
// Run in the folder with glykoval.ini (its mode counts for tables that name none).
namespace statscli {

// True when args (without the program name) name one of the commands; *rc
// then holds the exit code (0 success, 1 failure, 2 wrong call).
bool run(const QStringList &args, QTextStream &out, QTextStream &err, int &rc);
// The commands' lines for the tool's help text.
QString usage();

} // namespace statscli
