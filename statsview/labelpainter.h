#pragma once
#include <QFont>
#include <QHash>
#include <QList>
#include <QPointF>
#include <QRawFont>
#include <QString>
#include <limits>

class QPainter;
class QPaintDevice;

namespace statsview {

// Draws short texts (labels, numbers, the cells of tables) on one painter as
// runs of glyphs: each font is loaded once and each text looked up once,
// instead of every text being laid out anew, and the texts of a row go out as
// one run. Texts do not kern, which numbers, dates and these German words do
// not need. A text with a character the font lacks is drawn by the painter
// as usual, with the font's fallbacks. The fonts of one painter differ only in
// family, size and weight.
class LabelPainter {
public:
    explicit LabelPainter(QPainter &p) : m_p(p) {}

    QPainter &painter() { return m_p; }

    // Width in the painter's units.
    qreal width(const QString &text, const QFont &font);
    // Width of a text on a device, without a painter (for size hints).
    static qreal width(const QString &text, const QFont &font, const QPaintDevice *device);

    // Text with its baseline at `pos` (its left end, or its right end or
    // centre by `align`) in the painter's pen, made smaller (down to half its
    // size, then cut with "…") so that it is no wider than maxWidth.
    void draw(const QPointF &pos, const QString &text, const QFont &font,
              qreal maxWidth = std::numeric_limits<qreal>::max(),
              Qt::Alignment align = Qt::AlignLeft);

    // Texts in one font and the painter's pen as one run of glyphs, each with
    // the left end of its baseline at its point.
    struct Piece {
        QPointF pos;
        QString text;
    };
    void drawRun(const QList<Piece> &pieces, const QFont &font);

private:
    struct Glyphs {
        QList<quint32> indexes;
        QList<qreal> offsets; // from the text's start
        qreal width = 0;
        bool complete = true; // the font has every character
    };
    struct Face {
        QRawFont raw;
        QHash<QString, Glyphs> texts;
    };
    const Glyphs &glyphs(const QString &text, const QFont &font);

    // The fonts here differ only in family, size and weight.
    static size_t keyOf(const QFont &font);

    QPainter &m_p;
    QHash<size_t, Face> m_faces; // by keyOf()
};

} // namespace statsview
