#pragma once
#include <QList>
#include <QString>
#include <QStringList>
#include <array>

#include "storage/diarybook.h"
#include "storage/entryline.h"
#include "storage/glucoseunit.h"

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
    GlucoseUnit unit = GlucoseUnit::MgDl; // of the readings in the measurement lines
};

namespace diarybook {

// Layout constants of the two measurement modes.
struct Layout {
    int windowLeft;
    int windowWidth;
    int dayBlanks;     // blanks before "Tag: "
    int underscores;   // length of the line under each page
    int pagesPerSheet; // at most this many diary pages on a printed page
    int pdfWidth;      // PDF page in points: upright, four-slot pages portrait and
    int pdfHeight;     //   eight-slot pages landscape
    int pictureWidth;  // pixels across a page picture: the book's line width
    QString waitText;
    qreal lineHeight; // line pitch in pixels
};
const Layout &layout(MeasureMode mode);

// The book's layout resolution: tab stops in points become pixels at 96 per inch.
constexpr double kPixelsPerInch = 96.0;
qreal pointsToPixels(qreal points);

// Day order: sorted without regard to case, identical lines only once.
QStringList sortPages(const QStringList &lines);

// Whether a line is a stored page: "Tag" and two digits 01..31 at its start.
bool isPageLine(const QString &line);
// Four measurements: an eight-column BE page is cut to Morgens, M2, M3 and
// Abends, and so is its insulin line; a day sum in the remark then counts
// only these columns. Other pages stay. Returns whether the page was cut.
bool fitEightColumnsIntoFour(DiaryBook::Sections &s);

// The day's entry of the day line texts for "01".."31", else empty.
QString GibTagebuchWerte(const std::array<QString, 31> &dayLineTexts, const QString &day);
// The measurement line of a page from a day's day line text, its values in
// the unit ("Messwerte [mmol/l]: Morgens (07:30) = 6,7").
QString FormatiereTagebuchstr(const QString &dayText, MeasureMode mode, GlucoseUnit unit);
// The 16 tab stops (points) of the book's measurement lines.
QList<qreal> measurementTabStops();

// One line of the book as composed: its text, the tab stops in effect
// (points) and a range shown bold and underlined.
struct Paragraph {
    QString text;
    QList<qreal> tabStops;
    qsizetype emphasisStart = -1;
    qsizetype emphasisLength = 0;
};
// One stored diary page: its lines from "Tag: DD" to the empty line after
// the underscores.
struct BookEntry {
    QString day;
    QList<Paragraph> paragraphs;
};
// The whole book: the title that heads every printed page (name, month and
// the monthly mean) and the diary pages in day order.
struct BookContent {
    MeasureMode mode = MeasureMode::Four;
    QString title;
    QList<BookEntry> entries;
};
// Lines that are no stored page are left out. Tabs in the stored texts are
// limited (limitTabs).
BookContent composeContent(const DiaryBookInput &in);

// Laying out a tab at a tab stop looks at all of the text after it, so a
// damaged page with thousands of tabs would take time growing with the square
// of its length. Only a damaged text has more than kMaxTabs tabs: a run of
// tabs is cut to kMaxTabs (more than any line of the book can hold, so the
// run still ends its line), and tabs after the first kMaxTabs become blanks.
constexpr int kMaxTabs = 64;
QString limitTabs(const QString &text);

struct ComposeResult {
    int pageLines = 0; // diary pages in the book
};
// Shows the book's text in the document (emptied first): the title and the
// diary pages, as the window presents the book before it is saved.
ComposeResult composeBook(QTextDocument *doc, const DiaryBookInput &in);

} // namespace diarybook
