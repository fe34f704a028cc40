#pragma once
#include <QString>
#include <QTextStream>

// The command-line tool's diary book and browser chart commands, run in a
// folder with the delivered files. They return the exit code (0: success) and
// write German errors to err.
namespace diarybook {

// "diary-pdf TABLE OUT.pdf": the diary book of the table's diary file.
int diaryPdfCommand(const QString &table, const QString &pdf, QTextStream &out, QTextStream &err);
// "chart TABLE": the month's browser chart page where the menu command writes
// it; prints its path instead of opening it.
int chartCommand(const QString &table, QTextStream &out, QTextStream &err);

} // namespace diarybook
