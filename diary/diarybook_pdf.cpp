#include "diarybook_pdf.h"

#include <QDir>
#include <QFontMetricsF>
#include <QPainter>
#include <QTextLayout>
#include <cmath>
#include <memory>

#include "export/machpdf.h"

namespace diarybook {

namespace {

constexpr int kMarginPoints = 30; // white border around each page picture
constexpr int kPadding = 8;       // pixels between the picture's edge and the text
constexpr int kLabelGap = 24;     // pixels between the title and "Seite n von m"
constexpr int kTextFontIndex = 1; // Helvetica-Bold: the metrics of the book's bold Arial
// Characters of laid-out paragraphs kept from counting to drawing, a few
// megabytes: a month's book is laid out once, a longer one partly twice.
constexpr qsizetype kKeptCharacters = 200000;

qint64 paragraphKey(int entry, int paragraph) {
    return qint64(entry) * 16 + paragraph;
}

// Rows of red, green, blue bytes, as the PDF holds them: the writer sends
// them to zlib as they are.
QImage ordinaryPicture(const QSize &size) {
    return QImage(size, QImage::Format_RGB888);
}

// Rows of a page drawn at a time: a band small enough to stay in the
// processor's cache while zlib reads it.
constexpr int kBandRows = 64;

PictureFactory &pictureFactory() {
    static PictureFactory factory = ordinaryPicture;
    return factory;
}

QFont bookFont(int pixelSize) {
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(pixelSize);
    font.setBold(true);
    return font;
}

QString pageLabel(int page, int pages) {
    return QStringLiteral("Seite %1 von %2").arg(page).arg(pages);
}

} // namespace

PageGeometry pageGeometry(MeasureMode mode) {
    const Layout &L = layout(mode);
    PageGeometry g;
    g.pdfWidth = L.pdfWidth;
    g.pdfHeight = L.pdfHeight;
    g.margin = kMarginPoints;
    g.pictureWidth = L.pictureWidth;
    g.pointsPerPixel = double(L.pdfWidth - 2 * kMarginPoints) / L.pictureWidth;
    g.pictureHeight = int((L.pdfHeight - 2 * kMarginPoints) / g.pointsPerPixel);
    g.textWidth = g.pictureWidth - 2 * kPadding;
    return g;
}

PictureFactory setPictureFactory(PictureFactory factory) {
    PictureFactory old = pictureFactory();
    pictureFactory() = factory ? std::move(factory) : PictureFactory(ordinaryPicture);
    return old;
}

// Lays paragraphs out in the page width: lines at a fixed pitch, long lines
// wrapped at word boundaries (or anywhere, for a word wider than the page),
// continuation lines indented to the paragraph's first character.
class BookPages::Typesetter {
public:
    explicit Typesetter(MeasureMode mode, int width)
        : m_pitch(layout(mode).lineHeight), m_width(width), m_text(bookFont(13)),
          m_title(bookFont(16)) {
        m_option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
        m_option.setTabStopDistance(kPixelsPerInch / 2);
        m_labelWidth = int(std::ceil(QFontMetricsF(m_text).horizontalAdvance(pageLabel(999, 999))));
    }

    qreal pitch() const { return m_pitch; }
    qreal titlePitch() const { return m_pitch + 6; }
    int labelWidth() const { return m_labelWidth; }
    const QFont &textFont() const { return m_text; }

    std::unique_ptr<QTextLayout> paragraph(const Paragraph &p) const {
        auto lay = std::make_unique<QTextLayout>(p.text, m_text);
        QTextOption option = m_option;
        // A word far longer than a line (a damaged page) is broken at the
        // line's end either way; looking for its word boundary first would
        // take time growing with the square of its length.
        if (hasOverlongWord(p.text)) option.setWrapMode(QTextOption::WrapAnywhere);
        QList<QTextOption::Tab> tabs;
        for (qreal t : p.tabStops)
            tabs.append(QTextOption::Tab(pointsToPixels(t), QTextOption::LeftTab));
        option.setTabs(tabs);
        lay->setTextOption(option);
        if (p.emphasisStart >= 0) {
            QTextLayout::FormatRange r;
            r.start = int(p.emphasisStart);
            r.length = int(p.emphasisLength);
            r.format.setFontUnderline(true);
            lay->setFormats({r});
        }
        lineUp(*lay, m_width, m_pitch);
        return lay;
    }

    // The title, beside the room that "Seite n von m" takes at the right.
    std::unique_ptr<QTextLayout> title(const QString &text) const {
        auto lay = std::make_unique<QTextLayout>(text, m_title);
        lay->setTextOption(m_option);
        QTextLayout::FormatRange r;
        r.start = 0;
        r.length = int(text.size());
        r.format.setFontUnderline(true);
        lay->setFormats({r});
        lineUp(*lay, m_width - m_labelWidth - kLabelGap, titlePitch());
        return lay;
    }

    std::unique_ptr<QTextLayout> label(const QString &text) const {
        auto lay = std::make_unique<QTextLayout>(text, m_text);
        lineUp(*lay, m_width, m_pitch);
        return lay;
    }

private:
    static bool hasOverlongWord(const QString &text) {
        constexpr int kLongestWord = 512;
        int run = 0;
        for (const QChar c : text) {
            run = c.isSpace() ? 0 : run + 1;
            if (run > kLongestWord) return true;
        }
        return false;
    }

    static void lineUp(QTextLayout &lay, qreal width, qreal pitch) {
        const QString &text = lay.text();
        qsizetype first = 0;
        while (first < text.size() && text.at(first).isSpace())
            ++first;
        lay.beginLayout();
        qreal indent = 0;
        for (int i = 0;; ++i) {
            QTextLine line = lay.createLine();
            if (!line.isValid()) break;
            line.setLineWidth(width - indent);
            line.setPosition(QPointF(indent, i * pitch));
            if (i == 0 && first < line.textStart() + line.textLength())
                indent = std::clamp(line.cursorToX(int(first)), 0.0, width / 2);
        }
        lay.endLayout();
    }

    qreal m_pitch;
    int m_width;
    QFont m_text, m_title;
    QTextOption m_option;
    int m_labelWidth = 0;
};

namespace {

// The pieces of a drawn line between its tabs, without blanks around them,
// where they stand in the picture. Lines of underscores carry no text.
void collectRuns(const QTextLayout &lay, const QTextLine &line, QPointF origin, qreal pixelSize,
                 QList<TextRun> *runs) {
    if (!runs) return;
    const QString &text = lay.text();
    const int end = line.textStart() + line.textLength();
    const qreal baseline = origin.y() + line.y() + line.ascent();
    int a = line.textStart();
    while (a < end) {
        int b = a;
        while (b < end && text.at(b) != u'\t')
            ++b;
        int s = a, e = b;
        while (s < e && text.at(s).isSpace())
            ++s;
        while (e > s && text.at(e - 1).isSpace())
            --e;
        const QString piece = text.mid(s, e - s);
        if (!piece.isEmpty() && piece.count(u'_') != piece.size())
            runs->append({QPointF(origin.x() + line.cursorToX(s), baseline), pixelSize, piece});
        a = b + 1;
    }
}

} // namespace

BookPages::BookPages(BookContent content)
    : m_content(std::move(content)), m_geometry(pageGeometry(m_content.mode)),
      m_typesetter(
          std::make_unique<Typesetter>(m_content.mode, m_geometry.pictureWidth - 2 * kPadding)) {
    const Typesetter &t = *m_typesetter;
    const int perSheet = layout(m_content.mode).pagesPerSheet;
    m_title = t.title(m_content.title);
    const int titleLines = std::max(1, m_title->lineCount());
    const qreal head = titleLines * t.titlePitch() + t.pitch();
    const int capacity =
        std::max(1, int((m_geometry.pictureHeight - 2 * kPadding - head) / t.pitch()));

    // Greedy: a diary page goes on the current printed page when it fits and
    // the page holds fewer than the mode's number; otherwise it starts a new
    // one. A diary page longer than a whole printed page fills pages row by row.
    Page page;
    int used = 0, onPage = 0;
    qsizetype kept = 0;
    auto close = [&] {
        if (page.rowCount > 0) m_pages.push_back(page);
        page = Page{int(m_rows.size()), 0};
        used = onPage = 0;
    };
    for (int e = 0; e < m_content.entries.size(); ++e) {
        std::vector<Row> rows;
        const QList<Paragraph> &paras = m_content.entries[e].paragraphs;
        for (int p = 0; p < paras.size(); ++p) {
            int lines = 1;
            if (!paras[p].text.isEmpty()) {
                auto lay = t.paragraph(paras[p]);
                lines = std::max(1, lay->lineCount());
                if (kept + paras[p].text.size() <= kKeptCharacters) {
                    kept += paras[p].text.size();
                    m_kept[paragraphKey(e, p)] = std::move(lay);
                }
            }
            for (int l = 0; l < lines; ++l)
                rows.push_back({e, p, l});
        }
        const int height = int(rows.size());
        if (onPage > 0 && (used + height > capacity || onPage >= perSheet)) close();
        for (const Row &r : rows) {
            if (used == capacity) close();
            m_rows.push_back(r);
            ++page.rowCount;
            ++used;
        }
        ++onPage;
    }
    close();
    if (m_pages.empty()) m_pages.push_back(Page{});
}

BookPages::~BookPages() = default;

PageDrawing::PageDrawing() = default;
PageDrawing::~PageDrawing() = default;
PageDrawing::PageDrawing(PageDrawing &&) noexcept = default;
PageDrawing &PageDrawing::operator=(PageDrawing &&) noexcept = default;

void PageDrawing::draw(QImage &picture, int top) const {
    picture.fill(Qt::white);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.setPen(Qt::black);
    painter.translate(0, -top);
    const int bottom = top + picture.height();
    for (const Placed &p : m_lines)
        if (p.bottom > top && p.top < bottom) p.layout->lineAt(p.line).draw(&painter, p.origin);
}

PageDrawing BookPages::preparePage(int index) const {
    PageDrawing d;
    if (index < 0 || index >= pageCount()) return d;
    const Typesetter &t = *m_typesetter;
    // A line's ink reaches a little above and below its box (underlines).
    auto place = [&d](const QTextLayout *lay, int i, QPointF origin, qreal pixelSize) {
        const QTextLine line = lay->lineAt(i);
        const qreal top = origin.y() + line.y();
        d.m_lines.push_back({lay, i, origin, top - 2, top + line.height() + 4});
        collectRuns(*lay, line, origin, pixelSize, &d.m_runs);
    };

    // Title and page number on every page.
    qreal y = kPadding;
    for (int i = 0; i < m_title->lineCount(); ++i)
        place(m_title.get(), i, QPointF(kPadding, y), 16);
    d.m_layouts.push_back(t.label(pageLabel(index + 1, pageCount())));
    const QTextLayout *label = d.m_layouts.back().get();
    const QTextLine labelLine = label->lineAt(0);
    // On the title's first baseline, flush with the right edge.
    const qreal baseline = y + (m_title->lineCount() > 0 ? m_title->lineAt(0).ascent() : 0);
    place(label, 0,
          QPointF(m_geometry.pictureWidth - kPadding - labelLine.naturalTextWidth(),
                  baseline - labelLine.ascent()),
          13);
    y += std::max(1, m_title->lineCount()) * t.titlePitch() + t.pitch();

    // The page's rows; a paragraph is laid out once for all its rows here,
    // or taken from those laid out while the pages were counted.
    const Page &page = m_pages[size_t(index)];
    int layEntry = -1, layParagraph = -1;
    for (int i = 0; i < page.rowCount; ++i, y += t.pitch()) {
        const Row &r = m_rows[size_t(page.firstRow + i)];
        const Paragraph &para = m_content.entries[r.entry].paragraphs[r.paragraph];
        if (para.text.isEmpty()) continue;
        if (r.entry != layEntry || r.paragraph != layParagraph) {
            const qint64 key = paragraphKey(r.entry, r.paragraph);
            const auto found = m_kept.find(key);
            if (found != m_kept.end()) {
                d.m_layouts.push_back(found->second);
                m_kept.erase(found);
            } else {
                d.m_layouts.push_back(t.paragraph(para));
            }
            layEntry = r.entry;
            layParagraph = r.paragraph;
            // Rows of the paragraph on later pages draw from the same layout.
            const qsizetype lastRow = page.firstRow + page.rowCount - 1;
            const Row &last = m_rows[size_t(lastRow)];
            if (last.entry == r.entry && last.paragraph == r.paragraph &&
                size_t(lastRow + 1) < m_rows.size() &&
                m_rows[size_t(lastRow + 1)].entry == r.entry &&
                m_rows[size_t(lastRow + 1)].paragraph == r.paragraph)
                m_kept[key] = d.m_layouts.back();
        }
        const QTextLayout *lay = d.m_layouts.back().get();
        if (r.line < lay->lineCount())
            place(lay, r.line, QPointF(kPadding, y - lay->lineAt(r.line).y()), 13);
    }
    return d;
}

QImage BookPages::renderPage(int index, QList<TextRun> *runs) const {
    QImage picture = pictureFactory()(QSize(m_geometry.pictureWidth, m_geometry.pictureHeight));
    if (picture.isNull()) return picture;
    const PageDrawing d = preparePage(index);
    d.draw(picture, 0);
    if (runs) runs->append(d.runs());
    return picture;
}

bool writeDiaryBook(const DiaryBookInput &in, const QString &path, QString *error, int *pages,
                    const std::function<void(int)> &pause) {
    auto fail = [error](const QString &text) {
        if (error) *error = text;
        return false;
    };
    BookContent content = composeContent(in);
    if (content.entries.isEmpty())
        return fail(QStringLiteral("Es sind keine Tagebuchseiten gespeichert."));
    const BookPages book(std::move(content));
    const PageGeometry &g = book.geometry();

    TmachPDF pdf;
    pdf.Title = QStringLiteral("Glykovalin-Tagebuch");
    pdf.Compress = true;
    pdf.FileName = path;
    pdf.PageWidth = g.pdfWidth;
    pdf.PageHeight = g.pdfHeight;
    // The book is laid out in fixed pixels; its pages keep their size on any screen.
    pdf.PixelsPerInchX = kPixelsPerInch;
    pdf.PixelsPerInchY = kPixelsPerInch;
    // The inches of screen pixels a page shows, so that a picture pixel is
    // pointsPerPixel points wide and high.
    const double inchesAcross = g.pdfWidth / (kPixelsPerInch * g.pointsPerPixel);
    const double inchesDown = g.pdfHeight / (kPixelsPerInch * g.pointsPerPixel);
    try {
        QImage band = pictureFactory()(QSize(g.pictureWidth, kBandRows));
        if (!band.isNull() && band.format() != QImage::Format_RGB888)
            band = band.convertToFormat(QImage::Format_RGB888);
        if (band.isNull())
            return fail(QStringLiteral("Für die Seiten des Tagebuchs ist nicht genug "
                                       "Arbeitsspeicher frei. Die PDF-Datei \"%1\" wurde nicht "
                                       "geschrieben.")
                            .arg(QDir::toNativeSeparators(path)));
        pdf.BeginneDokument();
        for (int i = 0; i < book.pageCount(); ++i) {
            if (i > 0) pdf.NeueSeite();
            if (pause) pause(0);
            const PageDrawing drawing = book.preparePage(i);
            // zlib asks for the rows in order; each band is drawn when its
            // first row is wanted and goes to zlib whole (its rows follow each
            // other without padding: 3 bytes a pixel, a multiple of 4 a row).
            int bandTop = -kBandRows;
            pdf.ZeichneBild(g.margin, g.margin, inchesAcross, inchesDown,
                            QSize(g.pictureWidth, g.pictureHeight), [&](int row, int *count) {
                                if (row < bandTop || row >= bandTop + kBandRows) {
                                    bandTop = row - row % kBandRows;
                                    drawing.draw(band, bandTop);
                                }
                                *count = band.bytesPerLine() == qsizetype(band.width()) * 3
                                             ? bandTop + kBandRows - row
                                             : 1;
                                return reinterpret_cast<const char *>(
                                    band.constScanLine(row - bandTop));
                            });
            pdf.Font.FontIndex = kTextFontIndex;
            for (const TextRun &r : drawing.runs())
                pdf.SchreibeUnsichtbarenText(g.margin + r.baseline.x() * g.pointsPerPixel,
                                             g.margin + r.baseline.y() * g.pointsPerPixel,
                                             r.pixelSize * g.pointsPerPixel, r.text);
        }
        pdf.BeendeDokument();
    } catch (const EPDFError &e) {
        return fail(e.message());
    }
    if (pages) *pages = book.pageCount();
    return true;
}

} // namespace diarybook
