#pragma once
#include <QColor>
#include <QFont>
#include <QImage>
#include <QList>
#include <QPoint>
#include <QRect>
#include <QString>

#include "graph/monthpieces.h"
#include "storage/entryline.h"
#include "storage/glucoseunit.h"

class QPainter;
class QPrinter;

// Pictures and page placement of the graph print.
namespace graphprint {

// A limit line of the graph: its value as text, its row and its colour.
struct LimitMark {
    QString text;
    int row = 0;
    QColor color;
};

// The limit lines "hoch", "kritisch" and "tief" as the settings file gives
// them, their values in the unit; a limit that is missing or no number has
// no mark.
QList<LimitMark> limitMarks(const QString &settingsPath, GlucoseUnit unit);
// The legend of the value scale: in mg/dl that of the base folder
// ("M_einheit.bmp"), the delivered artwork when that picture is missing or
// unreadable; in mmol/l the drawn one.
QImage legendPicture(const QString &baseFolder, GlucoseUnit unit);
// Writes each limit value beside its line, left of x (the values are kept
// apart when lines lie close together); rows are shifted by dy.
void drawLimitMarks(QPainter &p, const QList<LimitMark> &marks, int x, int dy);

// What the whole-month picture is made of.
// The header is drawn unscaled at the top left; the graph also gives the
// picture's size.
struct MonthPictureParts : MonthPieces {
    MonthPictureParts() = default;
    explicit MonthPictureParts(const MonthPieces &pieces) : MonthPieces(pieces) {}
    QFont measureFont; // small label font the centring of the last two is measured in
    QImage legend;     // the value scale laid over the graph's left edge
    QPoint legendPos = QPoint(0, 41);
    QList<LimitMark> limits; // written at the right end of the limit lines
};

// Fills in what the print adds to the main window's pieces: the legend of
// the value scale, the limit values of the settings file (both in the unit)
// and the small font the centring of the texts is measured in.
void addScaleAndLimits(MonthPictureParts &parts, const QString &baseFolder,
                       const QString &settingsPath, GlucoseUnit unit);

// The whole month on one picture: title strip with the title, the graph
// squeezed below it, a white band for the time strip, the time strip and the
// monthly mean.
QImage composeWholeMonth(const MonthPictureParts &parts);

// The shown part of the main window (already cut to size) with the title
// written at (20, 6) on cyan. The limit values are written at the right edge
// of what is shown when the graph's top left lies at graphOrigin.
QImage composeVisibleArea(const QImage &shown, const QString &title, const QFont &titleFont,
                          const QList<LimitMark> &limits = {}, QPoint graphOrigin = QPoint());

// The picture turned by 90 degrees clockwise: target (x, y) = source
// (column y, row H - 1 - x), target H wide and W high.
QImage turnClockwise(const QImage &source);

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

// The picture as it goes on the sheet: turned for the upright DIN A4 sheet,
// unchanged for the landscape formats.
QImage sheetPicture(const QImage &composed, Format f);

// Paper of a format: A4 upright, A5 and A6 landscape.
void setPaper(QPrinter &printer, Format f);
// Prints the picture stretched into the format's rectangle on one page; a
// printer that writes a PDF file replaces it only with the whole document.
// False when the printer could not start the job or the file could not be
// written; *error (when given) then gets the German reason.
bool printPicture(QPrinter &printer, const QImage &picture, Format f, QString *error = nullptr);

} // namespace graphprint
