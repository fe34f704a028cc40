#pragma once
#include <QImage>
#include <QString>
#include <algorithm>
#include <functional>

#include "diarybook_compose.h"

class QTextDocument;

// The composed book as one tall picture, cut into page slices and written as
// a PDF file with one picture per page.
namespace diarybook {

// Renders the document's whole text into a white picture of the mode's
// width; the height is what the text needs there (lines too long for the
// width are wrapped, so nothing is cut off).
QImage renderBook(const QTextDocument &doc, MeasureMode mode);

// How a length is cut into pages: full pages, and one more page for a
// remainder longer than the mode's limit (a shorter one is dropped).
struct SliceCount {
    int full = 0;
    int rest = 0;
    bool restPage = false;
    int pages() const { return std::max(1, full + (restPage ? 1 : 0)); }
};
SliceCount sliceCount(int length, MeasureMode mode);

// Four measurements: page i (0-based) of the book, 823 wide and 1000 rows
// high (the remainder page: the remainder's rows). Rows beyond the book are white.
QImage fourSlotSlice(const QImage &book, const SliceCount &count, int index);
// The book turned by 90 degrees clockwise (its left edge on top).
QImage turnBook(const QImage &book);
// Eight measurements: page i (0-based) of the turned book, taken from its
// right end towards the left; 823 columns squeezed into 700 of an 823 x 1300
// picture, the rest white. The remainder page has the same squeeze and sits
// at the right end of the 700 columns.
QImage eightSlotSlice(const QImage &turned, const SliceCount &count, int index);

// Writes the book picture as PDF; pause(ms) lets the window repaint between
// pages. Throws EPDFError when the file cannot be written.
// Returns the number of pages written.
int writeBookPdf(const QString &path, const QImage &book, MeasureMode mode,
                 const std::function<void(int)> &pause = {});

// Composes, renders and writes the book of the input in one go (no window).
// Returns false with a German *error when it fails.
bool writeDiaryBook(const DiaryBookInput &in, const QString &path, QString *error,
                    int *pages = nullptr);

} // namespace diarybook
