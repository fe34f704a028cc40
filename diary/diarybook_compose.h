#pragma once
#include <QList>
#include <QString>
#include <QStringList>
#include <array>

#include "storage/entryline.h"

class QTextDocument;

// What the diary book is made from: the stored pages of the month and what
// the last drawing of the month left behind.
struct DiaryBookInput {
    QStringList pages;                    // the diary file's lines (Memo2)
    std::array<QString, 31> dayLineTexts; // per day its entry lines with slot tags
    QString tableDateText;                // "Datum" of the month table
    QString tableUserText;                // "BenutzerName" of the month table
    QString meanSuffixText;               // " -  Mittelwert: 143,57 mg/dl" or empty
    QString dataFolder;                   // ends in "/"
    QString entryYear;                    // "2024"
    MeasureMode mode = MeasureMode::Four;
};

namespace diarybook {

// Layout constants of the two measurement modes.
struct Layout {
    int windowLeft;
    int windowWidth;
    QString titlePrefix;
    int dayBlanks;     // blanks before "Tag: "
    int underscores;   // length of the line under each page
    int pagesPerSheet; // diary pages per printed page
    int bitmapWidth;   // width of the rendered book
    int pdfWidth;      // PDF page in points
    int pdfHeight;
    int sliceLength;    // rows (four) or columns of the turned book (eight) per page
    int remainderLimit; // a remainder longer than this gets a page of its own
    QString waitText;
    // Line pitch in pixels: the empty lines that fill each printed page are
    // counted for it, so every printed page starts with a diary page.
    qreal lineHeight;
};
const Layout &layout(MeasureMode mode);

// The book's layout resolution: tab stops in points become pixels at 96 per inch.
constexpr double kPixelsPerInch = 96.0;
qreal pointsToPixels(qreal points);

// Day order: sorted without regard to case, identical lines only once.
QStringList sortPages(const QStringList &lines);

// A stored page line cut at its first three "#".
struct Sections {
    QString head, carb, insulin, remark;
};
Sections splitSections(const QString &line);
// Whether a line is a stored page: "Tag" and two digits 01..31 at its start.
bool isPageLine(const QString &line);
// The two-digit day of a head ("Tag05: \t " gives "05").
QString dayOfHead(const QString &head);
// Four measurements: an eight-column BE page is cut to Morgens, M2, M3 and
// Abends; its insulin line loses its last four columns. Other pages stay.
void fitEightColumnsIntoFour(Sections &s);

// The day's entry of the day line texts for "01".."31", else empty.
QString GibTagebuchWerte(const std::array<QString, 31> &dayLineTexts, const QString &day);
// The measurement line of a page from a day's day line text.
QString FormatiereTagebuchstr(const QString &dayText, MeasureMode mode);
// The 16 tab stops (points) of the book's measurement lines.
QList<qreal> measurementTabStops();

// Printed pages named in the eight-measurement book ("Seite 1 von n").
int printedPageCount(int pageLines, MeasureMode mode);
// Empty lines that fill a printed page before printed page p starts (four:
// p is the page just finished; eight: the page just begun).
int fillingLines(MeasureMode mode, int p);

struct ComposeResult {
    int pageLines = 0;    // diary pages in the book
    int printedPages = 1; // n of the "Seite p von n" lines
};
// Lays the book out as rich text in the document (emptied first). Lines that
// are no stored page are left out.
ComposeResult composeBook(QTextDocument *doc, const DiaryBookInput &in);

} // namespace diarybook
