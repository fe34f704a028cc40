#include "fonts.h"

#include <QFontMetrics>
#include <QPainter>

namespace fonts {

QFont arialPoints(int points, bool bold) {
    QFont f(QStringLiteral("Arial"));
    f.setPointSize(points);
    f.setBold(bold);
    return f;
}

QFont arialPixels(int pixels, bool bold) {
    QFont f(QStringLiteral("Arial"));
    f.setPixelSize(pixels);
    f.setBold(bold);
    return f;
}

void textAt(QPainter &p, int x, int y, const QString &text) {
    p.drawText(QPoint(x, y + p.fontMetrics().ascent()), text);
}

} // namespace fonts
