#pragma once
#include <QFont>
#include <QImage>
#include <QRect>
#include <QString>

#include "storage/entryline.h"

class QPrinter;

// Pictures and page placement of the graph print.
namespace graphprint {

// What the whole-month picture is made of.
struct MonthPictureParts {
    QImage header;       // title-strip picture, drawn unscaled at the top left
    QImage graph;        // the whole month graph; also gives the picture's size
    QString title;       // TitleText
    QFont titleFont;     // font of the title label
    QString timeStrip;   // TimeStripText
    QString meanCaption; // monthly-mean caption, e.g. "Monatlicher Mittelwert ="
    QString meanValue;   // its value text, e.g. "123,45 mg/dl"
    QFont measureFont;   // small label font the centring of the last two is measured in
};

// The whole month on one picture: title strip with the title, the graph
// squeezed below it, a white band for the time strip, the time strip and the
// monthly mean.
QImage composeWholeMonth(const MonthPictureParts &parts);

// The shown part of the main window (already cut to size) with the title
// written at (20, 6) on cyan.
QImage composeVisibleArea(const QImage &shown, const QString &title, const QFont &titleFont);

// The picture turned by 90 degrees clockwise: target (x, y) = source
// (column y, row H - 1 - x), target H wide and W high.
QImage turnClockwise(const QImage &source);

// The slot times of the graph's time strip, unpadded: "    Uhrzeiten: M1= "
// + the first slot's time + "  M2= " + ... for the slots of the mode.
QString timeStripText(const QString &settingsPath, MeasureMode mode);

enum class Format { None, A4, A5, A6 };
// "DINA4", "DINA5", "DINA6"; empty for None.
QString formatText(Format f);
// The format a stored text names (it contains "DINA4" and so on); None otherwise.
Format formatOf(const QString &text);

// The print rectangle of a format in device pixels of a 600 dpi printer.
QRect rectAt600(Format f);
// The same rectangle for a printer of the given resolution; when a page
// size in device pixels is given, the rectangle is shrunk (keeping its
// proportions and its top left) so that it stays on the page.
QRect printRect(Format f, int dpiX, int dpiY, const QSize &page = QSize());

// Paper of a format: A4 upright, A5 and A6 landscape.
void setPaper(QPrinter &printer, Format f);
// Prints the picture stretched into the format's rectangle on one page.
// False when the printer could not start the job.
bool printPicture(QPrinter &printer, const QImage &picture, Format f);

} // namespace graphprint
