#include "printing/printpreview.h"

#include <QApplication>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>
#include <QPicture>
#include <QPrinter>
#include <QScrollBar>
#include <cmath>

#include "printing/myprinter.h"
#include "printing/printfile.h"

TPageList::TPageList() = default;
TPageList::~TPageList() = default;

QPicture *TPageList::add() {
    m_pages.push_back(std::make_unique<QPicture>());
    return m_pages.back().get();
}

void TPageList::clear() {
    m_pages.clear();
}

TPreviewSurface::TPreviewSurface(TMyPrinter *engine) : QWidget(nullptr), m_engine(engine) {
    setObjectName(QStringLiteral("PreviewSurface"));
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void TPreviewSurface::paintEvent(QPaintEvent *) {
    QPainter p(this);
    m_engine->paintPreview(p, size());
}

// Replays a page in its own pixels: the painter scales a picture by the
// device's resolution against the picture's, which is undone here.
void playPage(QPainter &painter, const QPicture &page) {
    const QPaintDevice *device = painter.device();
    const double sx = double(page.logicalDpiX()) / std::max(1, device->logicalDpiX());
    const double sy = double(page.logicalDpiY()) / std::max(1, device->logicalDpiY());
    painter.save();
    painter.scale(sx, sy);
    painter.drawPicture(0, 0, page);
    painter.restore();
}

// --- recording ---

void TMyPrinter::startRecordedPage() {
    QPicture *page = m_pages.add();
    m_canvas = std::make_unique<QPainter>(page);
    m_canvas->setRenderHint(QPainter::TextAntialiasing);
    m_canvas->setFont(m_canvasFont);
}

void TMyPrinter::finishRecordedPage() {
    if (!m_canvas) return;
    m_canvas->end();
    m_canvas.reset();
    if (m_pages.count() > 0)
        m_pages.at(m_pages.count() - 1)
            ->setBoundingRect(
                QRect(0, 0, pxX(PageWidth() - MinRight()), pxY(PageHeight() - MinBottom())));
}

// --- preview geometry ---

QSize TMyPrinter::screenPageSize() const {
    const QRect paper = m_printer->pageLayout().fullRectPixels(dpiX());
    const double rx = double(dpiX()) / std::max(1, logicalDpiX());
    const double ry = double(dpiY()) / std::max(1, logicalDpiY());
    return QSize(int(std::lround(paper.width() * double(m_zoom) / rx / 100.0)),
                 int(std::lround(paper.height() * double(m_zoom) / ry / 100.0)));
}

int TMyPrinter::screenLength(double length, bool horizontal) const {
    const int dpi = std::max(1, horizontal ? logicalDpiX() : logicalDpiY());
    const long px = std::lround(toInches(length) * dpi);
    return int(std::lround(px * double(m_zoom) / 100.0));
}

QWidget *TMyPrinter::surface() const {
    return m_surface;
}

void TMyPrinter::relayout() {
    if (!m_surface) return;
    const QSize page = screenPageSize();
    const int s = int(m_shadowOffset) + 1;
    const int rangeW = page.width() + 2 * s, rangeH = page.height() + 2 * s;
    const QSize client = viewport()->size();
    m_surface->resize(std::max(rangeW, client.width()), std::max(rangeH, client.height()));
    QScrollBar *h = horizontalScrollBar();
    QScrollBar *v = verticalScrollBar();
    switch (m_zoomLocation) {
    case zlTopLeft:
        h->setValue(0);
        v->setValue(0);
        break;
    case zlTopCenter:
        h->setValue((rangeW - client.width()) / 2);
        v->setValue(0);
        break;
    case zlCenter:
        h->setValue((rangeW - client.width()) / 2);
        v->setValue((rangeH - client.height()) / 2);
        break;
    }
    m_surface->update();
}

void TMyPrinter::resizeEvent(QResizeEvent *e) {
    QScrollArea::resizeEvent(e);
    relayout();
}

void TMyPrinter::paintPreview(QPainter &p, const QSize &area) const {
    p.save();
    if (m_gradient) {
        // One row at a time from black at the top to Color at the bottom.
        const int n = std::max(1, area.height() - 1);
        for (int i = 0; i < area.height(); ++i) {
            const QColor c((m_color.red() * i) / n, (m_color.green() * i) / n,
                           (m_color.blue() * i) / n);
            p.fillRect(QRect(0, i, area.width(), 1), c);
        }
    } else {
        p.fillRect(QRect(QPoint(0, 0), area), m_color);
    }
    const QSize page = screenPageSize();
    const int left = (area.width() - page.width()) / 2;
    const int top = (area.height() - page.height()) / 2;
    const int right = left + page.width(), bottom = top + page.height();
    const int s = int(m_shadowOffset);
    if (s > 0) {
        p.fillRect(QRect(QPoint(right, top + s), QPoint(right + s - 1, bottom + s - 1)),
                   m_shadowColor);
        p.fillRect(QRect(QPoint(left + s, bottom), QPoint(right - 1, bottom + s - 1)),
                   m_shadowColor);
    }
    p.setPen(QPen(Qt::black, 0));
    p.setBrush(Qt::white);
    p.drawRect(left, top, page.width() - 1, page.height() - 1);
    if (m_pageNumber >= 1 && m_pageNumber <= m_pages.count()) {
        const QRect target(QPoint(left + screenLength(MinLeft(), true) + 1,
                                  top + screenLength(MinTop(), false) + 1),
                           QPoint(right, bottom));
        const double w = pxX(PageWidth() - MinRight()), h = pxY(PageHeight() - MinBottom());
        if (w > 0 && h > 0 && target.width() > 0 && target.height() > 0) {
            p.save();
            p.setClipRect(QRect(left, top, page.width(), page.height()));
            p.setRenderHint(QPainter::Antialiasing);
            p.setRenderHint(QPainter::TextAntialiasing);
            p.setRenderHint(QPainter::SmoothPixmapTransform);
            p.translate(target.topLeft());
            p.scale(target.width() / w, target.height() / h);
            playPage(p, *m_pages.at(m_pageNumber - 1));
            p.restore();
        }
    }
    if (m_showRands) {
        QPen dotted(QColor(192, 192, 192), 0, Qt::DotLine);
        p.setPen(dotted);
        p.setBrush(Qt::NoBrush);
        const int l = left + screenLength(m_randLeft, true);
        const int t = top + screenLength(m_randTop, false);
        const int r = right - screenLength(m_randRight, true);
        const int b = bottom - screenLength(m_randBottom, false);
        p.drawRect(l, t, r - l - 1, b - t - 1);
    }
    p.restore();
}

// --- page choice ---

void TMyPrinter::setPageNumber(int n) {
    if (n >= 1 && n <= m_pages.count()) {
        m_pageNumber = n;
        relayout();
        return;
    }
    if (m_pages.count() > 0)
        throw EPagePrinter(
            QStringLiteral("PageNumber must be between 1 and %1").arg(m_pages.count()));
    m_pageNumber = 0;
}

void TMyPrinter::setFromPage(int p) {
    m_fromPage = std::max(0, p);
    if (m_fromPage > m_toPage) m_toPage = m_fromPage;
}

void TMyPrinter::setToPage(int p) {
    m_toPage = std::max(0, p);
    if (m_toPage < m_fromPage) m_fromPage = m_toPage;
}

// --- printing ---

namespace {

struct WaitCursor {
    bool on;
    explicit WaitCursor(bool show) : on(show) {
        if (on) QApplication::setOverrideCursor(Qt::WaitCursor);
    }
    ~WaitCursor() {
        if (on) QApplication::restoreOverrideCursor();
    }
};

} // namespace

void TMyPrinter::printPage(QPainter &painter, int index) {
    if (m_showProgress && m_showCancel) QCoreApplication::processEvents();
    if (m_cancelRequested) throw ECancelPrinting(QStringLiteral("Printing Cancelled"));
    playPage(painter, *m_pages.at(index));
}

bool TMyPrinter::Print() {
    if (m_printing) EndDoc();
    const int count = m_pages.count();
    if (count == 0) return true;
    const int first = m_fromPage == 0 ? 1 : std::min(m_fromPage, count);
    const int last = m_toPage == 0 ? count : std::min(m_toPage, count);
    QList<int> order;
    if (m_collate) {
        for (unsigned c = 0; c < m_copies; ++c)
            for (int i = first; i <= last; ++i)
                order << i - 1;
    } else {
        for (int i = first; i <= last; ++i)
            for (unsigned c = 0; c < m_copies; ++c)
                order << i - 1;
    }
    if (!m_printer->isValid()) throw EPrinter(QStringLiteral("Es ist kein Drucker verfügbar."));
    // The job keeps the name the printer was given when the document has no title.
    if (!m_title.isEmpty()) m_printer->setDocName(m_title);
    m_cancelRequested = false;
    auto printPages = [&](QPainter &painter, QPagedPaintDevice &device) {
        WaitCursor wait(m_showProgress);
        for (int k = 0; k < order.size(); ++k) {
            printPage(painter, order.at(k));
            if (k + 1 < order.size() && !device.newPage())
                throw EPrinter(QStringLiteral("Der Drucker hat keine neue Seite begonnen."));
        }
    };

    if (printfile::writesFile(*m_printer)) {
        // A PDF file is replaced only by the whole document.
        printfile::PdfInMemory pdf(*m_printer);
        QPainter painter(&pdf.device());
        try {
            printPages(painter, pdf.device());
        } catch (const ECancelPrinting &) {
            return false;
        }
        painter.end();
        if (const textfile::SaveResult r = pdf.save(); !r) throw EPrinter(r.message(pdf.path()));
        return true;
    }

    const int ownCopies = m_printer->copyCount();
    m_printer->setCopyCount(1);
    QPainter painter;
    if (!painter.begin(m_printer)) {
        m_printer->setCopyCount(ownCopies);
        throw EPrinter(QStringLiteral("Der Druckauftrag konnte nicht gestartet werden."));
    }
    try {
        printPages(painter, *m_printer);
        painter.end();
    } catch (const ECancelPrinting &) {
        if (m_printer->printerState() != QPrinter::Aborted) m_printer->abort();
        if (painter.isActive()) painter.end();
        // The user's copy count stays for the next job, also after a cancel.
        m_printer->setCopyCount(ownCopies);
        return false;
    } catch (...) {
        if (painter.isActive()) painter.end();
        m_printer->setCopyCount(ownCopies);
        throw;
    }
    m_printer->setCopyCount(ownCopies);
    return true;
}
