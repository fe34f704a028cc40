#pragma once
#include <QFont>
#include <QImage>
#include <QPoint>
#include <QString>

#include "monthpieces.h"
#include "storage/monthread.h"

class QTextStream;

// The month graph without a window: in the current folder with the delivered
// files, as the main window draws it at its stored width.
namespace graphcli {

// The month as the main window holds it after its drawing pass.
struct DrawnMonth : MonthPieces {
    QImage legend;      // the value scale laid over the graph's left edge
    QPoint legendPos;   // its top left over the graph
    QPoint titlePos;    // its top left over the title strip
    QImage meanImage;   // the monthly-mean caption; null without a monthly mean
    QPoint meanPos;     // its top left over the graph
    MonthResult result; // what the drawing pass computed
    MeasureMode mode = MeasureMode::Four;
    GlucoseUnit unit = GlucoseUnit::MgDl; // of the folder's settings
};

// Draws the table as the main window does. False with *error set when the
// table is missing or cannot be read or drawn. *notice gets the warning about
// lines that were passed over (empty when none).
bool draw(const QString &tablePath, DrawnMonth &out, QString *error, QString *notice = nullptr);

// Renders the table: title strip on top, below it the graph with the legend
// and the monthly-mean caption at their places; errors and notice as draw().
bool render(const QString &tablePath, QImage &out, QString *error, QString *notice = nullptr);
// "graph TABLE OUT.png": writes the picture; returns the exit code.
int run(const QString &tablePath, const QString &outPath, QTextStream &err);

} // namespace graphcli
