#pragma once
#include <QFont>
#include <QImage>
#include <QString>

// The pieces of a drawn month that the main window shows and a graph print
// takes over: the pictures, the title with its font, the time strip and the
// monthly mean's texts.
struct MonthPieces {
    QImage header;       // the title strip's picture; null when there is none
    QImage graph;        // the whole month graph
    QString title;       // the title strip's text
    QFont titleFont;     // and its font
    QString timeStrip;   // the slot times at the top of the graph
    QString meanCaption; // the monthly mean's caption, e.g. "Monatlicher Mittelwert ="
    QString meanValue;   // its value text, e.g. "123,45 mg/dl" or "6,9 mmol/l"
};
