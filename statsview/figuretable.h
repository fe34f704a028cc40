#pragma once
#include <QColor>
#include <QList>
#include <QStringList>
#include <QWidget>

namespace statsview {

// A table of figures that is only read: a header row and rows of texts,
// shaded by turns, each column as wide as its widest text. Painted by itself
// (one run of glyphs per row and colour) instead of an item view, whose
// items each cost a layout at every size question and every paint: the
// statistics window opens within a frame.
class FigureTable : public QWidget {
public:
    FigureTable(const QStringList &headers, const QString &objectName, QWidget *parent = nullptr);

    // A row of texts; a valid colour gives its cell's text that colour.
    void addRow(const QStringList &cells, const QList<QColor> &colors = {});

    int rowCount() const { return int(m_rows.size()); }
    int columnCount() const { return int(m_headers.size()); }
    QString headerText(int column) const { return m_headers.value(column); }
    // The text of a cell; empty outside the table.
    QString text(int row, int column) const;
    // The row whose first cell is `caption`; -1 when there is none.
    int rowOf(const QString &caption) const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void paintEvent(QPaintEvent *) override;
    void changeEvent(QEvent *e) override;

private:
    struct Row {
        QStringList cells;
        QList<QColor> colors;
    };
    const QList<int> &columnWidths() const;
    int rowHeight() const;

    QStringList m_headers;
    QList<Row> m_rows;
    mutable QList<int> m_widths; // measured on first use
};

} // namespace statsview
