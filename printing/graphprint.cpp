#include "graphprint.h"

#include <QFontMetrics>
#include <QPageLayout>
#include <QPageSize>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QTransform>
#include <algorithm>
#include <climits>

#include "graph/geometry.h"
#include "graph/monthgraph.h"
#include "graph/templatepicture.h"
#include "platform/colorref.h"
#include "printing/printfile.h"
#include "storage/limits.h"
#include "storage/settingsstore.h"

namespace graphprint {

namespace {

// Pictures carry 96 dpi so point sizes give the same pixels everywhere.
constexpr int kDotsPerMeter96 = 3780;

QImage blankPicture(QSize size) {
    QImage img(size.expandedTo(QSize(1, 1)), QImage::Format_RGB32);
    img.setDotsPerMeterX(kDotsPerMeter96);
    img.setDotsPerMeterY(kDotsPerMeter96);
    img.fill(Qt::white);
    return img;
}

// Text with its top left at (x, y), as a canvas writes it.
void textOut(QPainter &p, int x, int y, const QString &text) {
    p.drawText(x, y + QFontMetrics(p.font(), p.device()).ascent(), text);
}

int textWidth(const QFont &font, const QString &text) {
    QImage probe = blankPicture(QSize(1, 1));
    return QFontMetrics(font, &probe).horizontalAdvance(text);
}

QFont arialBold(int points) {
    QFont f(QStringLiteral("Arial"));
    f.setPointSize(points);
    f.setBold(true);
    return f;
}

// Font of the limit values: as large as the legend's numbers.
QFont limitFont() {
    QFont f(QStringLiteral("Arial"));
    f.setPixelSize(10);
    f.setBold(true);
    return f;
}

// Right end of the limit lines on the graph.

} // namespace

QList<LimitMark> limitMarks(const QString &settingsPath, GlucoseUnit unit) {
    const SettingsStore st(settingsPath);
    QList<LimitMark> marks;
    const std::pair<QString, QString> limits[] = {{keys::Hochwerte, keys::FarbeHochwerte},
                                                  {keys::Kritischwerte, keys::FarbeKritischwerte},
                                                  {keys::Tiefwerte, keys::FarbeTiefwerte}};
    for (const auto &[valueKey, colorKey] : limits) {
        // A hand-edited value outside the settings dialog's range is taken at
        // the nearest end of it, as the graph on screen takes it.
        limits::Range range{};
        int v = 0;
        if (!limits::rangeOf(valueKey, range) || !limits::clamped(st.get(valueKey), range, v))
            continue;
        bool colorOk = false;
        const quint32 ref = st.get(colorKey).trimmed().toUInt(&colorOk);
        marks.append({glucoseunit::valueText(v, unit), graphgeo::limitRowY(v),
                      colorref::toColor(colorOk ? ref : 0)});
    }
    return marks;
}

QImage legendPicture(const QString &baseFolder, GlucoseUnit unit) {
    const QImage legend = templatepicture::legendFor(unit, baseFolder);
    return legend.isNull() ? templatepicture::legend() : legend;
}

void drawLimitMarks(QPainter &p, const QList<LimitMark> &marks, int x, int dy) {
    if (marks.isEmpty()) return;
    p.save();
    const QFont font = limitFont();
    p.setFont(font);
    const QFontMetrics fm(font, p.device());
    const int h = fm.height();
    // From the top down, each value at least one text height below the one above.
    QList<LimitMark> sorted = marks;
    std::stable_sort(sorted.begin(), sorted.end(),
                     [](const LimitMark &a, const LimitMark &b) { return a.row < b.row; });
    int lastTop = INT_MIN / 2;
    for (const LimitMark &m : sorted) {
        const int top = std::max(m.row + dy - h / 2, lastTop + h);
        const int w = fm.horizontalAdvance(m.text);
        p.fillRect(QRect(x - w - 1, top, w + 2, h), Qt::white);
        p.setPen(m.color);
        textOut(p, x - w, top, m.text);
        lastTop = top;
    }
    p.restore();
}

void addScaleAndLimits(MonthPictureParts &parts, const QString &baseFolder,
                       const QString &settingsPath, GlucoseUnit unit) {
    parts.legend = legendPicture(baseFolder, unit);
    parts.legendPos = QPoint(0, graphgeo::kLegendTop);
    parts.limits = limitMarks(settingsPath, unit);
    QFont small(QStringLiteral("MS Sans Serif"));
    small.setPointSize(8);
    parts.measureFont = small;
}

QImage composeWholeMonth(const MonthPictureParts &parts) {
    const int gw = parts.graph.width();
    const int gh = parts.graph.height();
    QImage img = blankPicture(QSize(gw, gh));
    QPainter p(&img);

    if (!parts.header.isNull()) p.drawImage(0, 0, parts.header);
    p.setFont(parts.titleFont);
    p.setPen(Qt::black);
    const int hw = parts.header.width();
    const int tw = QFontMetrics(parts.titleFont, &img).horizontalAdvance(parts.title);
    textOut(p, hw / 2 - tw / 2, 2, parts.title);

    const int y = parts.header.height() + 2;
    if (!parts.graph.isNull() && gh > y + 20) {
        // The scale and the limit values go onto the graph before it is
        // squeezed, so they stay on the rows they name.
        QImage graph = parts.graph.convertToFormat(QImage::Format_RGB32);
        if (!parts.legend.isNull() || !parts.limits.isEmpty()) {
            QPainter g(&graph);
            if (!parts.legend.isNull()) g.drawImage(parts.legendPos, parts.legend);
            drawLimitMarks(g, parts.limits, std::min(gw - 1, graphgeo::kLimitLineEnd + 24), 0);
        }
        p.drawImage(QRect(0, y + 20, gw, gh - (y + 20)), graph);
    }

    const int bandTop = std::min(50, y + 40);
    const int bandBottom = std::max(50, y + 40);
    p.fillRect(QRect(0, bandTop, gw, bandBottom - bandTop), Qt::white);

    QFont strip = arialBold(8);
    p.setFont(strip);
    p.setPen(QColor(0, 0, 255));
    textOut(p, gw / 2 - textWidth(parts.measureFont, parts.timeStrip) / 2 - 10, y + 20,
            parts.timeStrip);

    const QFont caption = arialBold(12);
    p.setFont(caption);
    p.setPen(Qt::black);
    const int lw = textWidth(parts.measureFont, parts.meanCaption);
    const int lx = gw / 2 - lw / 2 - 80;
    // On white, so that no curve runs through the caption.
    if (!parts.meanCaption.isEmpty()) {
        const QFontMetrics fm(caption, &img);
        const int valueX = lx + lw + 70;
        const int right = std::max(lx + fm.horizontalAdvance(parts.meanCaption),
                                   valueX + fm.horizontalAdvance(parts.meanValue));
        p.fillRect(QRect(lx - 4, y + 70 - 2, right - lx + 8, fm.height() + 4), Qt::white);
    }
    textOut(p, lx, y + 70, parts.meanCaption);
    textOut(p, lx + lw + 70, y + 70, parts.meanValue);
    return img;
}

QImage composeVisibleArea(const QImage &shown, const QString &title, const QFont &titleFont,
                          const QList<LimitMark> &limits, QPoint graphOrigin) {
    QImage img = blankPicture(shown.size());
    QPainter p(&img);
    p.drawImage(0, 0, shown);
    // At the lines' right end when it is shown, else at the right edge.
    drawLimitMarks(p, limits,
                   std::min(shown.width() - 2, graphOrigin.x() + graphgeo::kLimitLineEnd + 24),
                   graphOrigin.y());
    p.setFont(titleFont);
    p.setPen(Qt::black);
    const QFontMetrics fm(titleFont, &img);
    p.fillRect(QRect(20, 6, fm.horizontalAdvance(title), fm.height()), Qt::cyan);
    textOut(p, 20, 6, title);
    return img;
}

QImage turnClockwise(const QImage &source) {
    // A quarter turn moves whole pixels: nothing is smoothed.
    QImage target =
        source.convertToFormat(QImage::Format_RGB32).transformed(QTransform().rotate(90));
    target.setDotsPerMeterX(source.dotsPerMeterY());
    target.setDotsPerMeterY(source.dotsPerMeterX());
    return target;
}

QString formatText(Format f) {
    switch (f) {
    case Format::A4:
        return QStringLiteral("DINA4");
    case Format::A5:
        return QStringLiteral("DINA5");
    case Format::A6:
        return QStringLiteral("DINA6");
    case Format::None:
        break;
    }
    return {};
}

Format formatOf(const QString &text) {
    if (text.contains(QStringLiteral("DINA4"))) return Format::A4;
    if (text.contains(QStringLiteral("DINA5"))) return Format::A5;
    if (text.contains(QStringLiteral("DINA6"))) return Format::A6;
    return Format::None;
}

QRect rectAt600(Format f) {
    switch (f) {
    case Format::A5:
        return QRect(QPoint(300, 300), QPoint(4500 - 1, 3100 - 1));
    case Format::A6:
        return QRect(QPoint(100, 100), QPoint(3250 - 1, 2250 - 1));
    case Format::A4:
    case Format::None:
        break;
    }
    return QRect(QPoint(340, 400), QPoint(4450 - 1, 6500 - 1));
}

QRect printRect(Format f, int dpiX, int dpiY, const QSize &page) {
    const QRect r = rectAt600(f);
    auto sx = [dpiX](int v) { return int(qRound64(qint64(v) * dpiX / 600.0)); };
    auto sy = [dpiY](int v) { return int(qRound64(qint64(v) * dpiY / 600.0)); };
    int left = sx(r.left()), top = sy(r.top());
    int width = sx(r.left() + r.width()) - left;
    int height = sy(r.top() + r.height()) - top;
    if (page.isValid() && page.width() > 0 && page.height() > 0) {
        // Shrink so that the right and bottom edges stay on the page.
        double k = 1.0;
        if (left + width > page.width())
            k = std::min(k, double(std::max(1, page.width() - left)) / width);
        if (top + height > page.height())
            k = std::min(k, double(std::max(1, page.height() - top)) / height);
        if (k < 1.0) {
            width = std::max(1, int(width * k));
            height = std::max(1, int(height * k));
        }
    }
    return QRect(left, top, width, height);
}

QImage sheetPicture(const QImage &composed, Format f) {
    return f == Format::A5 || f == Format::A6 ? composed : turnClockwise(composed);
}

void setPaper(QPrinter &printer, Format f) {
    switch (f) {
    case Format::A5:
        printer.setPageSize(QPageSize(QPageSize::A5));
        printer.setPageOrientation(QPageLayout::Landscape);
        break;
    case Format::A6:
        printer.setPageSize(QPageSize(QPageSize::A6));
        printer.setPageOrientation(QPageLayout::Landscape);
        break;
    case Format::A4:
    case Format::None:
        printer.setPageSize(QPageSize(QPageSize::A4));
        printer.setPageOrientation(QPageLayout::Portrait);
        break;
    }
}

namespace {

void drawOnSheet(QPainter &p, const QImage &picture, Format f) {
    const QPaintDevice &device = *p.device();
    const auto *paged = dynamic_cast<const QPagedPaintDevice *>(&device);
    const QRect page = paged ? paged->pageLayout().paintRectPixels(device.logicalDpiX()) : QRect();
    const QRect target = printRect(f, device.logicalDpiX(), device.logicalDpiY(), page.size());
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    p.drawImage(target, picture);
}

} // namespace

bool printPicture(QPrinter &printer, const QImage &picture, Format f, QString *error) {
    if (printfile::writesFile(printer)) {
        printfile::PdfInMemory pdf(printer);
        QPainter p(&pdf.device());
        drawOnSheet(p, picture, f);
        p.end();
        const textfile::SaveResult r = pdf.save();
        if (!r && error) *error = r.message(pdf.path());
        return r.ok;
    }
    QPainter p;
    if (!p.begin(&printer)) {
        if (error) *error = QStringLiteral("Der Drucker konnte nicht gestartet werden.");
        return false;
    }
    drawOnSheet(p, picture, f);
    return p.end();
}

} // namespace graphprint
