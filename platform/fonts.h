#pragma once
#include <QFont>
#include <QString>

class QPainter;

// The program's fonts, made in one place: "Arial" (Liberation Sans through
// fontconfig where Arial itself is missing) in points or pixels.
namespace fonts {

QFont arialPoints(int points, bool bold = false);
QFont arialPixels(int pixels, bool bold = false);
// Text with its top-left corner at (x, y) in the painter's font.
void textAt(QPainter &p, int x, int y, const QString &text);

} // namespace fonts
