#include "daysums.h"

#include <QList>

namespace daysums {

namespace {

constexpr int kDecimals = 6; // millionths
constexpr qint64 kMaxWhole = 1000000;

bool isKeyChar(QChar c) {
    return c.isLetterOrNumber() || c == u'.';
}

struct Cell {
    QStringView key;
    QStringView value;
};

// The cells of one column: each "=" opens one; its value runs up to the key
// of the next "=" (the letters, digits and points before it, starting with a
// letter) or the column's end.
QList<Cell> cellsOf(QStringView column) {
    QList<Cell> cells;
    qsizetype eq = column.indexOf(u'=');
    if (eq < 0) return cells;
    QStringView key = column.first(eq).trimmed();
    while (eq >= 0) {
        const qsizetype next = column.indexOf(u'=', eq + 1);
        QStringView value = next < 0 ? column.sliced(eq + 1) : column.sliced(eq + 1, next - eq - 1);
        QStringView nextKey;
        if (next >= 0) {
            qsizetype e = value.size();
            while (e > 0 && value.at(e - 1).isSpace())
                --e;
            qsizetype s = e;
            while (s > 0 && isKeyChar(value.at(s - 1)))
                --s;
            while (s < e && !value.at(s).isLetter())
                ++s;
            nextKey = value.sliced(s, e - s);
            value = value.first(s);
        }
        cells.append(Cell{key, value.trimmed()});
        key = nextKey;
        eq = next;
    }
    return cells;
}

} // namespace

bool cellValue(QStringView cell, qint64 &millionths) {
    const QStringView t = cell.trimmed();
    millionths = 0;
    if (t.isEmpty()) return true;
    qsizetype i = 0;
    qint64 whole = 0;
    for (; i < t.size() && t.at(i).isDigit() && t.at(i).unicode() < 0x80; ++i) {
        whole = whole * 10 + (t.at(i).unicode() - u'0');
        if (whole > kMaxWhole) return false;
    }
    if (i == 0) return false;
    qint64 fraction = 0;
    int digits = 0;
    if (i < t.size() && (t.at(i) == u',' || t.at(i) == u'.')) {
        ++i;
        for (; i < t.size() && t.at(i).isDigit() && t.at(i).unicode() < 0x80; ++i) {
            if (digits == kDecimals) return false;
            fraction = fraction * 10 + (t.at(i).unicode() - u'0');
            ++digits;
        }
        if (digits == 0) return false;
    }
    for (int d = digits; d < kDecimals; ++d)
        fraction *= 10;
    // A unit may follow: letters, perhaps a point ("6 IE", "2 BE", "4 E.").
    const QStringView unit = t.sliced(i).trimmed();
    for (qsizetype k = 0; k < unit.size(); ++k)
        if (!unit.at(k).isLetter() && !(k == unit.size() - 1 && unit.at(k) == u'.')) return false;
    if (unit.size() > 4) return false;
    millionths = whole * 1000000 + fraction;
    return true;
}

QString LineSum::numberText(qint64 millionths) {
    QString t = QString::number(millionths / 1000000);
    qint64 fraction = millionths % 1000000;
    if (fraction == 0) return t;
    QString digits = QStringLiteral("%1").arg(fraction, kDecimals, 10, QChar(u'0'));
    while (digits.endsWith(u'0'))
        digits.chop(1);
    return t + u',' + digits;
}

LineSum sumOf(QStringView line) {
    LineSum s;
    const qsizetype colon = line.indexOf(u':');
    s.label = colon < 0 ? QString() : line.first(colon).trimmed().toString();
    const QStringView rest = colon < 0 ? line : line.sliced(colon + 1);
    for (QStringView column : rest.tokenize(u'|')) {
        for (const Cell &c : cellsOf(column)) {
            qint64 v = 0;
            if (!cellValue(c.value, v)) {
                if (s.unreadableCell.isEmpty()) s.unreadableCell = c.value.toString();
                continue;
            }
            if (c.value.isEmpty()) continue;
            s.millionths += v;
            ++s.cells;
            if (c.key.startsWith(QLatin1StringView("Bol"), Qt::CaseInsensitive)) {
                s.bolusMillionths += v;
                ++s.bolusCells;
            } else if (c.key.startsWith(QLatin1StringView("Bas"), Qt::CaseInsensitive)) {
                s.basalMillionths += v;
                ++s.basalCells;
            }
        }
    }
    return s;
}

} // namespace daysums
