#include "labelpainter.h"

#include <QCoreApplication>
#include <QFontMetricsF>
#include <QGlyphRun>
#include <QPaintDevice>
#include <QPainter>
#include <cmath>

namespace statsview {

size_t LabelPainter::keyOf(const QFont &font) {
    return qHashMulti(0, font.family(), qRound(font.pointSizeF() * 100), font.bold());
}

namespace {

// Loading a font is the dearest step: the fonts are kept for the run (a
// report loads the same dozen sizes each time), and let go with the
// application, before the font database goes.
QHash<QPair<int, size_t>, QRawFont> *loadedFonts = nullptr;

QRawFont loadedFont(const QFont &font, const QPaintDevice *device, size_t key) {
    if (!loadedFonts) {
        loadedFonts = new QHash<QPair<int, size_t>, QRawFont>;
        qAddPostRoutine([] {
            delete loadedFonts;
            loadedFonts = nullptr;
        });
    }
    const QPair<int, size_t> id{device->logicalDpiY(), key};
    auto it = loadedFonts->constFind(id);
    if (it == loadedFonts->constEnd())
        it = loadedFonts->insert(id, QRawFont::fromFont(QFont(font, device)));
    return *it;
}

} // namespace

const LabelPainter::Glyphs &LabelPainter::glyphs(const QString &text, const QFont &font) {
    const size_t key = keyOf(font);
    auto face = m_faces.find(key);
    if (face == m_faces.end())
        face = m_faces.insert(key, Face{loadedFont(font, m_p.device(), key), {}});
    auto it = face->texts.constFind(text);
    if (it != face->texts.constEnd()) return *it;
    Glyphs g;
    g.indexes = face->raw.glyphIndexesForString(text);
    g.complete = g.indexes.size() == text.size() && !g.indexes.contains(0);
    if (g.complete) {
        for (const QPointF &a :
             face->raw.advancesForGlyphIndexes(g.indexes, QRawFont::UseDesignMetrics)) {
            g.offsets << g.width;
            g.width += a.x();
        }
    } else {
        g.width = QFontMetricsF(font, m_p.device()).horizontalAdvance(text);
    }
    return *face->texts.insert(text, g);
}

qreal LabelPainter::width(const QString &text, const QFont &font) {
    return glyphs(text, font).width;
}

qreal LabelPainter::width(const QString &text, const QFont &font, const QPaintDevice *device) {
    const QRawFont raw = loadedFont(font, device, keyOf(font));
    const QList<quint32> indexes = raw.glyphIndexesForString(text);
    if (indexes.size() != text.size() || indexes.contains(0))
        return QFontMetricsF(font, device).horizontalAdvance(text);
    qreal w = 0;
    for (const QPointF &a : raw.advancesForGlyphIndexes(indexes, QRawFont::UseDesignMetrics))
        w += a.x();
    return w;
}

void LabelPainter::draw(const QPointF &pos, const QString &text, const QFont &font, qreal maxWidth,
                        Qt::Alignment align) {
    if (text.isEmpty()) return;
    QFont f = font;
    QString shown = text;
    qreal w = width(text, f);
    if (w > maxWidth) {
        // In steps of a quarter point: each size is a font of its own to load.
        const qreal pt = std::floor(font.pointSizeF() * maxWidth / w * 4) / 4;
        f.setPointSizeF(std::max(font.pointSizeF() / 2, pt));
        w = width(text, f);
        if (w > maxWidth) {
            shown = QFontMetricsF(f, m_p.device()).elidedText(text, Qt::ElideRight, maxWidth);
            w = width(shown, f);
        }
    }
    qreal x = pos.x();
    if (align & Qt::AlignRight) x -= w;
    if (align & Qt::AlignHCenter) x -= w / 2;
    drawRun({{QPointF(x, pos.y()), shown}}, f);
}

void LabelPainter::drawRun(const QList<Piece> &pieces, const QFont &font) {
    QList<quint32> indexes;
    QList<QPointF> positions;
    const QRawFont *raw = nullptr;
    for (const Piece &piece : pieces) {
        const Glyphs &g = glyphs(piece.text, font);
        if (!g.complete) {
            m_p.setFont(QFont(font, m_p.device()));
            m_p.drawText(piece.pos, piece.text);
            continue;
        }
        raw = &m_faces[keyOf(font)].raw;
        indexes += g.indexes;
        for (qreal offset : g.offsets)
            positions << QPointF(piece.pos.x() + offset, piece.pos.y());
    }
    if (!raw || indexes.isEmpty()) return;
    QGlyphRun run;
    run.setRawFont(*raw);
    run.setGlyphIndexes(indexes);
    run.setPositions(positions);
    m_p.drawGlyphRun(QPointF(0, 0), run);
}

} // namespace statsview
