#include "figuretable.h"

#include <QEvent>
#include <QFontMetricsF>
#include <QPainter>
#include <cmath>

#include "labelpainter.h"

namespace statsview {

namespace {

constexpr int kPadding = 6; // each side of a cell's text

QFont boldOf(QFont f) {
    f.setBold(true);
    return f;
}

} // namespace

FigureTable::FigureTable(const QStringList &headers, const QString &objectName, QWidget *parent)
    : QWidget(parent), m_headers(headers) {
    setObjectName(objectName);
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
}

void FigureTable::addRow(const QStringList &cells, const QList<QColor> &colors) {
    m_rows.append(Row{cells, colors});
    m_widths.clear();
    updateGeometry();
    update();
}

QString FigureTable::text(int row, int column) const {
    if (row < 0 || row >= m_rows.size()) return {};
    return m_rows[row].cells.value(column);
}

int FigureTable::rowOf(const QString &caption) const {
    for (int r = 0; r < m_rows.size(); ++r)
        if (m_rows[r].cells.value(0) == caption) return r;
    return -1;
}

const QList<int> &FigureTable::columnWidths() const {
    if (!m_widths.isEmpty()) return m_widths;
    const QFont cell = font(), head = boldOf(font());
    for (int c = 0; c < m_headers.size(); ++c) {
        qreal w = LabelPainter::width(m_headers[c], head, this);
        for (const Row &r : m_rows)
            w = std::max(w, LabelPainter::width(r.cells.value(c), cell, this));
        m_widths << int(std::ceil(w)) + 2 * kPadding;
    }
    return m_widths;
}

int FigureTable::rowHeight() const {
    return fontMetrics().height() + 6;
}

QSize FigureTable::sizeHint() const {
    int w = 2;
    for (int cw : columnWidths())
        w += cw;
    return {w, rowHeight() * int(m_rows.size() + 1) + 2};
}

void FigureTable::changeEvent(QEvent *e) {
    if (e->type() == QEvent::FontChange) m_widths.clear();
    QWidget::changeEvent(e);
}

void FigureTable::paintEvent(QPaintEvent *) {
    QPainter p(this);
    const QPalette &pal = palette();
    p.fillRect(rect(), pal.base());
    const QList<int> &widths = columnWidths();
    const int h = rowHeight();
    const qreal ascent = QFontMetricsF(font()).ascent();
    LabelPainter labels(p);
    const QFont plain = font(), bold = boldOf(font());
    auto drawRow = [&](int top, const QStringList &cells, const QList<QColor> &colors,
                       const QFont &f, const QColor &fallback) {
        // One run per colour.
        QList<QPair<QColor, QList<LabelPainter::Piece>>> runs;
        int x = 1;
        for (int c = 0; c < widths.size(); ++c) {
            const QColor color = c < colors.size() && colors[c].isValid() ? colors[c] : fallback;
            auto run = std::find_if(runs.begin(), runs.end(),
                                    [&](const auto &r) { return r.first == color; });
            if (run == runs.end()) run = runs.insert(runs.end(), {color, {}});
            run->second.append(
                {QPointF(x + kPadding, top + (h - ascent) / 2 + ascent - 2), cells.value(c)});
            x += widths[c];
        }
        for (const auto &[color, pieces] : runs) {
            p.setPen(color);
            labels.drawRun(pieces, f);
        }
    };
    p.fillRect(QRect(0, 0, width(), h), pal.button());
    drawRow(0, m_headers, {}, bold, pal.color(QPalette::ButtonText));
    for (int r = 0; r < m_rows.size(); ++r) {
        const int top = h * (r + 1);
        if (r % 2 == 1) p.fillRect(QRect(0, top, width(), h), pal.alternateBase());
        drawRow(top, m_rows[r].cells, m_rows[r].colors, plain, pal.color(QPalette::Text));
    }
    p.setPen(pal.color(QPalette::Mid));
    p.drawRect(rect().adjusted(0, 0, -1, -1));
}

} // namespace statsview
