#pragma once
#include <QImage>
#include <QString>

class QTextStream;

// The month graph without a window: in the current folder with the delivered
// files, as the main window draws it at its stored width.
namespace graphcli {

// Renders the table: title strip on top, below it the graph with the legend
// and the monthly-mean caption at their places. False with *error set when
// the table is missing or cannot be read or drawn. *notice gets the warning
// about lines that were passed over (empty when none).
bool render(const QString &tablePath, QImage &out, QString *error, QString *notice = nullptr);
// "graph TABLE OUT.png": writes the picture; returns the exit code.
int run(const QString &tablePath, const QString &outPath, QTextStream &err);

} // namespace graphcli
