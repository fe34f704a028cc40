#include "diarybook_pdf.h"

#include <QAbstractTextDocumentLayout>
#include <QPainter>
#include <QTextDocument>
#include <QTransform>
#include <cmath>
#include <memory>

#include "export/machpdf.h"

namespace diarybook {

namespace {

constexpr int kSqueezed = 700; // columns of an eight-measurement page that hold the book

QImage whitePicture(int w, int h) {
    QImage img(std::max(1, w), std::max(1, h), QImage::Format_RGB32);
    img.fill(Qt::white);
    return img;
}

} // namespace

QImage renderBook(const QTextDocument &doc, MeasureMode mode) {
    const int width = layout(mode).bitmapWidth;
    std::unique_ptr<QTextDocument> copy(doc.clone());
    copy->setDefaultFont(doc.defaultFont());
    copy->setDocumentMargin(doc.documentMargin());
    copy->setDefaultTextOption(doc.defaultTextOption());
    copy->setTextWidth(width);
    const int height = int(std::ceil(copy->documentLayout()->documentSize().height()));
    QImage book = whitePicture(width, height);
    QPainter painter(&book);
    painter.setRenderHint(QPainter::TextAntialiasing);
    copy->drawContents(&painter, QRectF(0, 0, width, height));
    return book;
}

SliceCount sliceCount(int length, MeasureMode mode) {
    const Layout &L = layout(mode);
    SliceCount c;
    c.full = length / L.sliceLength;
    c.rest = length % L.sliceLength;
    c.restPage = c.rest > L.remainderLimit;
    return c;
}

QImage fourSlotSlice(const QImage &book, const SliceCount &count, int index) {
    const Layout &L = layout(MeasureMode::Four);
    const bool rest = index >= count.full && count.restPage;
    const int rows = rest ? count.rest : L.sliceLength;
    const int top = index * L.sliceLength;
    QImage slice = whitePicture(L.pdfWidth, rows);
    QPainter p(&slice);
    p.drawImage(QPoint(0, 0), book, QRect(0, top, L.pdfWidth, rows));
    return slice;
}

QImage turnBook(const QImage &book) {
    return book.transformed(QTransform().rotate(90));
}

QImage eightSlotSlice(const QImage &turned, const SliceCount &count, int index) {
    const Layout &L = layout(MeasureMode::Eight);
    const int height = L.bitmapWidth; // the turned book is as high as the book was wide
    QImage slice = whitePicture(L.pdfWidth, height);
    QPainter p(&slice);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    const int right = turned.width() - index * L.sliceLength;
    if (index >= count.full && count.restPage) {
        const int w = int(std::lround(double(count.rest) * kSqueezed / L.sliceLength));
        p.drawImage(QRect(kSqueezed - w, 0, w, height), turned, QRect(0, 0, count.rest, height));
    } else {
        // A full page; one that reaches past the book's start shows white there.
        const int left = right - L.sliceLength;
        const int from = std::max(0, left);
        if (right > from) {
            const double scale = double(kSqueezed) / L.sliceLength;
            const int x0 = int(std::lround((from - left) * scale));
            p.drawImage(QRect(x0, 0, kSqueezed - x0, height), turned,
                        QRect(from, 0, right - from, height));
        }
    }
    return slice;
}

int writeBookPdf(const QString &path, const QImage &book, MeasureMode mode,
                 const std::function<void(int)> &pause) {
    const Layout &L = layout(mode);
    TmachPDF pdf;
    pdf.Title = QStringLiteral("Glykovalin-Tagebuch");
    pdf.Compress = true;
    pdf.FileName = path;
    pdf.PageWidth = L.pdfWidth;
    pdf.PageHeight = L.pdfHeight;
    // The book is laid out in fixed pixels; its pages keep their size on any screen.
    pdf.PixelsPerInchX = kPixelsPerInch;
    pdf.PixelsPerInchY = kPixelsPerInch;
    pdf.BeginneDokument();
    int pages = 0;
    if (mode == MeasureMode::Four) {
        const SliceCount count = sliceCount(book.height(), mode);
        pages = count.pages();
        for (int i = 0; i < pages; ++i) {
            if (i > 0) pdf.NeueSeite();
            pdf.Font.FontIndex = 0;
            pdf.Font.FontSize = 10;
            pdf.SchreibeText(pdf.PageWidth / 2 - 25, 15,
                             QStringLiteral("Seite %1 von %2").arg(i + 1).arg(pages));
            pdf.ZeichneBild(60, 40, 8.5, 10.625, fourSlotSlice(book, count, i));
        }
    } else {
        const QImage turned = turnBook(book);
        const SliceCount count = sliceCount(turned.width(), mode);
        pages = count.pages();
        for (int i = 0; i < pages; ++i) {
            if (i > 0) pdf.NeueSeite();
            if (pause) pause(5);
            // 8 inches across the 700 squeezed columns, 13.7 inches down the
            // 1300 rows: the whole turned page fits on the paper.
            pdf.ZeichneBild(60, 25, 8.0, 13.7, eightSlotSlice(turned, count, i));
        }
    }
    pdf.BeendeDokument();
    return pages;
}

bool writeDiaryBook(const DiaryBookInput &in, const QString &path, QString *error, int *pages) {
    QTextDocument doc;
    const ComposeResult r = composeBook(&doc, in);
    if (r.pageLines == 0) {
        if (error) *error = QStringLiteral("Es sind keine Tagebuchseiten gespeichert.");
        return false;
    }
    try {
        const int n = writeBookPdf(path, renderBook(doc, in.mode), in.mode);
        if (pages) *pages = n;
    } catch (const EPDFError &e) {
        if (error) *error = e.message();
        return false;
    }
    return true;
}

} // namespace diarybook
