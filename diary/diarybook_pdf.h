#pragma once
#include <QImage>
#include <QList>
#include <QPointF>
#include <QString>
#include <functional>
#include <memory>
#include <vector>

#include "diarybook_compose.h"

// The diary book as a PDF file: the composed book is cut into printed pages,
// each page is drawn on a picture of its own, and each picture goes into the
// file with the page's text laid over it as an invisible, searchable layer.
namespace diarybook {

// Where the picture of a page sits on the PDF page and how big it is.
struct PageGeometry {
    int pdfWidth = 0, pdfHeight = 0; // points
    int margin = 0;                  // points on every side of the picture
    int pictureWidth = 0;            // pixels
    int pictureHeight = 0;
    int textWidth = 0; // pixels a line of the book may take before it wraps
    double pointsPerPixel = 1;
};
PageGeometry pageGeometry(MeasureMode mode);

// A piece of text as the page picture shows it, for the text layer: its
// baseline's start in picture pixels and its character height in pixels.
struct TextRun {
    QPointF baseline;
    qreal pixelSize = 13;
    QString text;
};

// Makes the picture of one page. A null picture stands for one that cannot be
// allocated. Tests replace it to simulate a lack of memory; an empty function
// restores the ordinary one. Returns the one it replaces.
using PictureFactory = std::function<QImage(const QSize &)>;
PictureFactory setPictureFactory(PictureFactory factory);

// The book cut into printed pages. Each page starts with the title line and
// "Seite n von m"; a diary page that fits on one printed page is never split,
// one taller than a page goes on line by line; long lines wrap inside the
// page's width and lose nothing.
class BookPages {
public:
    explicit BookPages(BookContent content);
    ~BookPages();
    BookPages(const BookPages &) = delete;
    BookPages &operator=(const BookPages &) = delete;

    int pageCount() const { return int(m_pages.size()); }
    const PageGeometry &geometry() const { return m_geometry; }
    // Draws printed page `index` (0-based) on a new picture of the geometry's
    // size and appends its texts to *runs. A null picture when the picture
    // cannot be allocated.
    QImage renderPage(int index, QList<TextRun> *runs = nullptr) const;

private:
    struct Row {
        int entry = 0;     // diary page
        int paragraph = 0; // within the entry
        int line = 0;      // wrapped line within the paragraph
    };
    struct Page {
        int firstRow = 0;
        int rowCount = 0;
    };
    class Typesetter;

    BookContent m_content;
    PageGeometry m_geometry;
    std::unique_ptr<Typesetter> m_typesetter;
    std::vector<Row> m_rows;
    std::vector<Page> m_pages;
};

// Composes, renders and writes the diary book of the input: the one way the
// book is made, from the window's "Speichern als PDF-Datei" and "Drucken" as
// from the command-line tool. pause(ms) lets a window repaint between pages.
// Returns false with a German *error when there is no page to print, a page
// picture cannot be allocated or the file cannot be written; an existing file
// then stays as it was.
bool writeDiaryBook(const DiaryBookInput &in, const QString &path, QString *error,
                    int *pages = nullptr, const std::function<void(int)> &pause = {});

} // namespace diarybook
