#pragma once
#include <QImage>
#include <QList>
#include <QPointF>
#include <QString>
#include <functional>
#include <memory>
#include <unordered_map>
#include <vector>

#include "diarybook_compose.h"

class QTextLayout;

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

// Makes a picture of the given size with 24-bit RGB pixels (the book is
// drawn on bands of a page, the tests' whole pages on pages). A null picture
// stands for one that cannot be allocated. Tests replace it to simulate a
// lack of memory; an empty function restores the ordinary one. Returns the
// one it replaces.
using PictureFactory = std::function<QImage(const QSize &)>;
PictureFactory setPictureFactory(PictureFactory factory);

// A printed page laid out and placed, ready to be drawn whole or band by band.
class PageDrawing {
public:
    PageDrawing();
    ~PageDrawing();
    PageDrawing(PageDrawing &&) noexcept;
    PageDrawing &operator=(PageDrawing &&) noexcept;

    // Draws the page's rows from top on, as many as the picture is high, on
    // the picture, which is as wide as the page.
    void draw(QImage &picture, int top) const;
    // The page's texts where the picture shows them.
    const QList<TextRun> &runs() const { return m_runs; }

private:
    friend class BookPages;
    struct Placed {
        const QTextLayout *layout = nullptr;
        int line = 0;
        QPointF origin; // where the line's layout is drawn
        qreal top = 0, bottom = 0;
    };
    std::vector<std::shared_ptr<const QTextLayout>> m_layouts;
    std::vector<Placed> m_lines;
    QList<TextRun> m_runs;
};

class BookPages {
public:
    explicit BookPages(BookContent content);
    ~BookPages();
    BookPages(const BookPages &) = delete;
    BookPages &operator=(const BookPages &) = delete;

    int pageCount() const { return int(m_pages.size()); }
    const PageGeometry &geometry() const { return m_geometry; }
    // Lays printed page `index` (0-based) out for drawing.
    PageDrawing preparePage(int index) const;
    // The whole page on a new picture of the geometry's size, its texts
    // appended to *runs; a null picture when none can be allocated.
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
    std::unique_ptr<QTextLayout> m_title;
    std::vector<Row> m_rows;
    std::vector<Page> m_pages;
    // Paragraphs laid out while the pages were counted, kept for drawing up
    // to a budget of characters (the rest is laid out again), by entry * 16 +
    // paragraph. Drawing a page takes out the paragraphs that end on it; one
    // that goes on over the next page stays (or is kept when it was laid out
    // again), so that no paragraph is laid out once for every page it spans.
    mutable std::unordered_map<qint64, std::shared_ptr<const QTextLayout>> m_kept;
};

// Composes, renders and writes the diary book of the input: the one way the
// book is made, from the window's "Speichern als PDF-Datei" and "Drucken" as
// from the command-line tool. Each page is drawn band by band on one small
// picture while zlib takes its rows. pause(0) before each page lets a window
// repaint and stay responsive.
// Returns false with a German *error when there is no page to print, a page
// picture cannot be allocated or the file cannot be written; an existing file
// then stays as it was.
bool writeDiaryBook(const DiaryBookInput &in, const QString &path, QString *error,
                    int *pages = nullptr, const std::function<void(int)> &pause = {});

} // namespace diarybook
