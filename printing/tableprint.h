#pragma once
#include <QString>
#include <QStringList>

class TMyPrinter;

// The month table on printed pages: every page names the table (title line
// with month and name), repeats the column heads and counts its pages
// ("Seite n von m"); the separator lines span the text area.
namespace tableprint {

// Page margins in millimetres.
struct Margins {
    int left = 10;
    int right = 10;
    int top = 10;
    int bottom = 10;
};

// The margins a month table keeps in its section "Personendaten"
// ("DruckenTabellenRand..."); 10 for a missing one. A text that is no whole
// number raises the conversion error naming its key.
Margins storedMargins(const QString &tablePath);

// The lines of a printed table: two blank lines, then the table text.
QStringList documentLines(const QStringList &tableLines);

// A line of underscores only (the table's separator).
bool isSeparator(const QString &line);

// Writes the lines as one document onto the engine's pages (twice: the
// first run counts the pages for the footer). Separators are drawn as wide
// as the text area, never two in a row; from the second page on each page
// starts with the title line, and once the table's column heads were
// printed, with the column heads and a separator as well.
void writeDocument(TMyPrinter &engine, const QStringList &lines);

} // namespace tableprint
