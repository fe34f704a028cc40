#pragma once
#include <QColor>
#include <QString>

// Colours are stored as decimal 32-bit colour references, red in the low byte.
namespace colorref {

inline QColor toColor(quint32 ref) {
    return QColor(int(ref & 0xFF), int((ref >> 8) & 0xFF), int((ref >> 16) & 0xFF));
}
inline quint32 fromColor(const QColor &c) {
    return quint32(c.red()) | (quint32(c.green()) << 8) | (quint32(c.blue()) << 16);
}
// "#RRGGBB" of a colour reference.
inline QString toHtml(quint32 ref) {
    return toColor(ref).name(QColor::HexRgb).toUpper();
}

} // namespace colorref
