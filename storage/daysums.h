#pragma once
#include <QString>
#include <QStringView>
#include <optional>

// The day sums of a diary page: one rule for the page's sum block, the diary
// book and the statistics.
//
// A line (the carbohydrate line "BE: Morgens= 2 | M2= 1,5 | …" or the insulin
// line "Insulin (ICT) : Bolus= 6  Basal= 10 | Bol.= 4 …") is cut into its
// columns at "|"; every "=" in a column opens a cell, which runs up to the
// next key ("Basal", "Bas.") or the column's end. Every column counts,
// whatever the measurement mode. A cell holds nothing, or a number with a
// decimal comma or point ("1,5", "1.5"), optionally followed by a unit of
// letters ("6 IE"); anything else makes the line unreadable.
namespace daysums {

struct LineSum {
    QString label;          // the text before the first ":", trimmed ("BE", "KE", …)
    qint64 millionths = 0;  // the sum of the cells that hold a number
    int cells = 0;          // cells that hold a number
    QString unreadableCell; // the first cell that holds no number (trimmed)
    qint64 bolusMillionths = 0, basalMillionths = 0; // cells of "Bol…" and "Bas…" keys
    int bolusCells = 0, basalCells = 0;

    bool readable() const { return unreadableCell.isEmpty(); }
    bool hasValue() const { return cells > 0; }
    double value() const { return double(millionths) / 1e6; }
    // The sum in German general form: decimal comma, no trailing zeros ("3,5", "12").
    QString text() const { return numberText(millionths); }
    static QString numberText(qint64 millionths);
};

// The sum of one line. The text may start with the page's tab and blank.
LineSum sumOf(QStringView line);

// The number of a cell in millionths; false when the cell holds no number.
// An empty cell is 0.
bool cellValue(QStringView cell, qint64 &millionths);

} // namespace daysums
