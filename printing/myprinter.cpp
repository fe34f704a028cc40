#include "printing/myprinter.h"

#include <QDate>
#include <QEvent>
#include <QFontMetricsF>
#include <QLocale>
#include <QPainter>
#include <QPicture>
#include <QPrinter>
#include <QScopeGuard>
#include <QScrollBar>
#include <QTextLayout>
#include <QTime>
#include <cmath>

#include "platform/german.h"
#include "platform/textfile.h"

EPrinter::EPrinter(const QString &message) : std::runtime_error(message.toStdString()) {}

namespace {

// Width number of a column specification; accepts "," and "." as separator.
bool parseWidth(QString text, double &value) {
    text = text.trimmed();
    text.replace(u',', u'.');
    bool ok = false;
    value = text.toDouble(&ok);
    return ok;
}

QChar alignChar(TAlignment a) {
    switch (a) {
    case taRightJustify:
        return u'>';
    case taCenter:
        return u'^';
    default:
        return u'<';
    }
}

// Splits "<2.5" into alignment and the width text.
TAlignment splitSpec(const QString &spec, QString &widthText) {
    TAlignment a = taLeftJustify;
    widthText = spec.trimmed();
    if (!widthText.isEmpty()) {
        const QChar c = widthText.at(0);
        if (c == u'<' || c == u'>' || c == u'^') {
            a = c == u'>' ? taRightJustify : c == u'^' ? taCenter : taLeftJustify;
            widthText = widthText.mid(1);
        }
    }
    return a;
}

QString numberText(double v) {
    return QLocale().toString(v, 'g', 10);
}

} // namespace

TMyPrinter::TMyPrinter(QWidget *parent, QPrinter *printer)
    : QScrollArea(parent), m_printer(printer) {
    if (!m_printer) {
        m_ownPrinter = std::make_unique<QPrinter>(QPrinter::HighResolution);
        m_printer = m_ownPrinter.get();
    }
    m_color = palette().color(QPalette::Window);
    m_shadowColor = palette().color(QPalette::Dark);
    m_surface = new TPreviewSurface(this);
    setWidget(m_surface);
    setWidgetResizable(false);
    QFont f(QStringLiteral("Courier New"));
    f.setPointSize(10);
    f.setWeight(QFont::Normal);
    f.setStyle(QFont::StyleNormal);
    setFont(f);
    m_kopfFont = f;
    m_fussFont = f;
    resize(89, 115);
    m_randTop = MinTop();
    m_randBottom = MinBottom();
    m_randLeft = MinLeft();
    m_randRight = MinRight();
    setupCanvasFont();
    relayout();
}

TMyPrinter::~TMyPrinter() {
    if (m_canvas) m_canvas->end();
}

void TMyPrinter::setPrinter(QPrinter *printer) {
    if (m_printing) throw EPagePrinter(QStringLiteral("Can't change the printer while printing"));
    if (!printer && !m_ownPrinter)
        m_ownPrinter = std::make_unique<QPrinter>(QPrinter::HighResolution);
    m_printer = printer ? printer : m_ownPrinter.get();
    m_printer->setDocName(m_title);
    setRandTop(m_randTop);
    setRandBottom(m_randBottom);
    setRandLeft(m_randLeft);
    setRandRight(m_randRight);
    setupCanvasFont();
    relayout();
}

// --- geometry ---

int TMyPrinter::dpiX() const {
    return std::max(1, m_printer->logicalDpiX());
}
int TMyPrinter::dpiY() const {
    return std::max(1, m_printer->logicalDpiY());
}

double TMyPrinter::PageWidth() const {
    return fromInches(double(m_printer->pageLayout().fullRectPixels(dpiX()).width()) / dpiX());
}
double TMyPrinter::PageHeight() const {
    return fromInches(double(m_printer->pageLayout().fullRectPixels(dpiY()).height()) / dpiY());
}
double TMyPrinter::MinLeft() const {
    return fromInches(double(m_printer->pageLayout().paintRectPixels(dpiX()).left()) / dpiX());
}
double TMyPrinter::MinTop() const {
    return fromInches(double(m_printer->pageLayout().paintRectPixels(dpiY()).top()) / dpiY());
}

int TMyPrinter::pxX(double length) const {
    return int(std::lround(toInches(length) * dpiX()));
}
int TMyPrinter::pxY(double length) const {
    return int(std::lround(toInches(length) * dpiY()));
}

int TMyPrinter::textWidthPx() const {
    return pxX(PageWidth() - MinLeft() - MinRight()) - leftPx() - rightPx();
}
int TMyPrinter::textHeightPx() const {
    return pxY(PageHeight() - MinTop() - MinBottom()) - topPx() - bottomPx();
}

// --- setters ---

void TMyPrinter::checkNotPrinting(const char *what) const {
    if (m_printing)
        throw EPagePrinter(QStringLiteral("Unable to change %1 Rand while printing")
                               .arg(QString::fromLatin1(what)));
}

double TMyPrinter::clamp(double v, double lo, double hi) const {
    if (v < lo) return lo;
    if (v > hi) return hi;
    return v;
}

void TMyPrinter::setRandTop(double v) {
    checkNotPrinting("top");
    m_randTop = clamp(v, MinTop(), PageHeight() - MinBottom());
    relayout();
}
void TMyPrinter::setRandBottom(double v) {
    checkNotPrinting("bottom");
    m_randBottom = clamp(v, MinBottom(), PageHeight() - MinTop());
    relayout();
}
void TMyPrinter::setRandLeft(double v) {
    checkNotPrinting("left");
    m_randLeft = clamp(v, MinLeft(), PageWidth() - MinRight());
    relayout();
}
void TMyPrinter::setRandRight(double v) {
    checkNotPrinting("right");
    m_randRight = clamp(v, MinRight(), PageWidth() - MinLeft());
    relayout();
}

void TMyPrinter::applyFormatUnit(QString &format, double factor) const {
    if (format.isEmpty()) return;
    QStringList out;
    for (const QString &spec : format.split(m_separator)) {
        QString w;
        const TAlignment a = splitSpec(spec, w);
        double v = 0;
        if (parseWidth(w, v))
            out << QString(alignChar(a)) + numberText(v * factor);
        else
            out << QString(alignChar(a));
    }
    format = out.join(m_separator);
}

void TMyPrinter::setMasseinheit(TMasseinheit unit) {
    if (unit == m_unit) return;
    if (m_printing)
        throw EPagePrinter(QStringLiteral("Unable to change Masseinheit while printing"));
    const double f = unit == muInches ? 1.0 / 25.4 : 25.4;
    m_unit = unit;
    m_randTop *= f;
    m_randBottom *= f;
    m_randLeft *= f;
    m_randRight *= f;
    m_pageBorderOffset *= f;
    m_defaultColWidth *= f;
    applyFormatUnit(m_tableFormat, f);
    // Formats made from an ampersand code are made anew in the new unit.
    if (m_futKopf.isEmpty())
        applyFormatUnit(m_kopfFormat, f);
    else
        parseFutCode(m_futKopf, m_kopf, m_kopfFormat);
    if (m_futFuss.isEmpty())
        applyFormatUnit(m_fussFormat, f);
    else
        parseFutCode(m_futFuss, m_fuss, m_fussFormat);
    relayout();
}

QString TMyPrinter::normaliseFormat(const QString &format) const {
    QString f = format;
    applyFormatUnit(f, 1.0);
    return f;
}

void TMyPrinter::setZeilenAbstand(TZeilenAbstand s) {
    m_spacing = s;
    updateLineHeight();
}

void TMyPrinter::setFontColor(const QColor &c) {
    m_fontColor = c;
    if (m_autoKopfFont) m_kopfColor = c;
    if (m_autoFussFont) m_fussColor = c;
    if (!m_printing) m_canvasColor = c;
}

QPageLayout::Orientation TMyPrinter::Orientation() const {
    return m_printer->pageLayout().orientation();
}

void TMyPrinter::setOrientation(QPageLayout::Orientation o) {
    if (m_printing)
        throw EPagePrinter(QStringLiteral("Unable to change orientation while printing"));
    m_printer->setPageOrientation(o);
    relayout();
}

void TMyPrinter::setTitle(const QString &t) {
    m_title = t;
    m_printer->setDocName(t);
}

void TMyPrinter::setPrintToFile(bool p) {
    if (m_printing) throw EPagePrinter(QStringLiteral("Can't change PrintToFile while printing"));
    m_printToFile = p;
}

void TMyPrinter::setFileName(const QString &f) {
    if (m_printing) throw EPagePrinter(QStringLiteral("Can't change FileName while printing"));
    m_fileName = f.trimmed();
}

void TMyPrinter::setFutKopf(const QString &code) {
    m_futKopf = code;
    parseFutCode(code, m_kopf, m_kopfFormat);
}

void TMyPrinter::setFutFuss(const QString &code) {
    m_futFuss = code;
    parseFutCode(code, m_fuss, m_fussFormat);
}

void TMyPrinter::parseFutCode(const QString &code, QString &text, QString &format) const {
    text.clear();
    QList<QChar> sections;
    const QDateTime now = QDateTime::currentDateTime();
    auto startSection = [&](QChar align) {
        if (!text.isEmpty() || !sections.isEmpty()) {
            if (sections.isEmpty()) sections << u'<';
            text += m_separator;
        }
        sections << align;
    };
    for (qsizetype i = 0; i < code.size(); ++i) {
        const QChar c = code.at(i);
        if (c != u'&') {
            text += c;
            continue;
        }
        if (++i >= code.size()) break;
        switch (code.at(i).unicode()) {
        case 'l':
            startSection(u'<');
            break;
        case 'c':
            startSection(u'^');
            break;
        case 'r':
            startSection(u'>');
            break;
        case 'p':
            text += QStringLiteral("{$PAGE}");
            break;
        case 'i':
            text += QStringLiteral("{$TITLE}");
            break;
        case 'd':
            text += german::date(now.date());
            break;
        case 'D':
            text += german::longDate(now.date());
            break;
        case 't':
            text += now.time().toString(QStringLiteral("hh:mm"));
            break;
        case 'T':
            text += now.time().toString(QStringLiteral("hh:mm:ss"));
            break;
        case 'f':
            text += m_fileName.mid(
                std::max(m_fileName.lastIndexOf(u'/'), m_fileName.lastIndexOf(u'\\')) + 1);
            break;
        case 'F':
            text += m_fileName;
            break;
        case '&':
            text += u'&';
            break;
        default:
            text += u' ';
        }
    }
    if (sections.isEmpty()) sections << u'<';
    const double width = (PageWidth() - m_randLeft - m_randRight) / sections.size();
    QStringList specs;
    for (QChar a : sections)
        specs << QString(a) + QLocale().toString(width, 'f', 2);
    format = specs.join(m_separator);
}

void TMyPrinter::setZoomPercent(unsigned z) {
    m_zoom = std::max(1u, z);
    relayout();
}
void TMyPrinter::setZoomLocation(TZoomLocation z) {
    m_zoomLocation = z;
    relayout();
}
void TMyPrinter::setShadowOffset(unsigned s) {
    m_shadowOffset = s;
    relayout();
}
void TMyPrinter::setShadowColor(const QColor &c) {
    m_shadowColor = c;
    relayout();
}
void TMyPrinter::setShowRands(bool s) {
    m_showRands = s;
    relayout();
}
void TMyPrinter::setGradHintergrund(bool g) {
    m_gradient = g;
    relayout();
}
void TMyPrinter::setColor(const QColor &c) {
    m_color = c;
    relayout();
}

void TMyPrinter::changeEvent(QEvent *e) {
    if (e->type() == QEvent::FontChange) {
        if (m_autoKopfFont) m_kopfFont = font();
        if (m_autoFussFont) m_fussFont = font();
        if (!m_printing) setupCanvasFont();
    }
    QScrollArea::changeEvent(e);
}

// --- fonts and measuring ---

namespace {

// The font at the printer's vertical resolution, size true to the paper.
QFont printerFont(const QFont &f, int dpi, int screenDpi) {
    QFont pf(f);
    double points = f.pointSizeF();
    if (points <= 0) points = f.pixelSize() * 72.0 / std::max(1, screenDpi);
    pf.setPixelSize(std::max(1, int(std::lround(points * dpi / 72.0))));
    return pf;
}

} // namespace

void TMyPrinter::setupCanvasFont() {
    m_canvasFont = printerFont(font(), dpiY(), logicalDpiY());
    m_canvasColor = m_fontColor;
    updateLineHeight();
}

void TMyPrinter::updateLineHeight() {
    const int h = m_canvasFont.pixelSize();
    switch (m_spacing) {
    case lsHalfSpace:
        m_lineHeight = h / 2;
        break;
    case lsSingleAndAHalf:
        m_lineHeight = h + h / 2;
        break;
    case lsDoubleSpace:
        m_lineHeight = 2 * h;
        break;
    default:
        m_lineHeight = h;
    }
    m_lineHeight = std::max(1, m_lineHeight);
}

double TMyPrinter::textWidth(const QString &text) const {
    return QFontMetricsF(m_canvasFont).horizontalAdvance(text);
}

int TMyPrinter::fitPrefix(const QString &text, double width) const {
    // A long text is measured only as far as a line can reach: windows of
    // doubling length until one is too wide, so that wrapping a long line
    // costs time in proportion to its length, not to its square.
    constexpr int kWindow = 256;
    if (text.size() > 2 * kWindow) {
        int window = kWindow;
        while (window < text.size() / 2 && textWidth(text.left(window)) <= width)
            window *= 2;
        if (window < text.size() / 2) return fitPrefix(text.left(window), width);
    }
    const int len = int(text.size());
    if (len == 0) return 0;
    if (textWidth(text) <= width) return len;
    // Bisection over the character count: low fits (or is the one character
    // always taken), high is too wide.
    int low = 1, high = len;
    while (high - low > 1) {
        const int mid = (low + high) / 2;
        const double w = textWidth(text.left(mid));
        if (w > width)
            high = mid;
        else if (w == width)
            return mid;
        else
            low = mid;
    }
    return low;
}

int TMyPrinter::fitShapedPrefix(const QString &text, double width) const {
    if (text.isEmpty()) return 0;
    QTextLayout layout(text, m_canvasFont);
    QTextOption option;
    option.setWrapMode(QTextOption::NoWrap);
    layout.setTextOption(option);
    layout.beginLayout();
    const QTextLine line = layout.createLine();
    layout.endLayout();
    int low = 1, high = int(text.size());
    if (!line.isValid() || line.cursorToX(high) <= width) return high;
    while (high - low > 1) {
        const int mid = (low + high) / 2;
        if (line.cursorToX(mid) > width)
            high = mid;
        else
            low = mid;
    }
    return low;
}

// --- document ---

void TMyPrinter::BeginDoc() {
    if (m_printing) EndDoc();
    setRandTop(m_randTop);
    setRandBottom(m_randBottom);
    setRandLeft(m_randLeft);
    setRandRight(m_randRight);
    if (m_printToFile && m_fileName.isEmpty())
        throw EPrinter(QStringLiteral("Für die Ausgabe in eine Datei fehlt der Dateiname."));
    setupCanvasFont();
    m_printing = true;
    m_drawingHeader = false;
    if (m_printToFile) {
        m_fileLines.clear();
        m_fileLine.clear();
        m_fileOpen = true;
    } else {
        m_pages.clear();
        m_pageNumber = 0;
        startRecordedPage();
    }
    m_docPage = 1;
    startPage();
}

void TMyPrinter::EndDoc() {
    if (!m_printing) return;
    if (m_fileOpen) {
        writeFooterToFile();
        if (!m_fileLine.isEmpty()) fileEndLine();
        m_fileOpen = false;
        m_printing = false;
        QString error;
        if (!textfile::writeLines(m_fileName, m_fileLines, &error))
            throw EPrinter(QStringLiteral("Die Datei \"%1\" konnte nicht geschrieben werden: %2")
                               .arg(m_fileName, error));
        return;
    }
    finishRecordedPage();
    m_printing = false;
    m_pageNumber = m_pages.count() > 0 ? 1 : 0;
    relayout();
}

void TMyPrinter::startPage() {
    m_x = m_y = 0;
    m_lineNo = 0;
    if (OnNeueSeite) OnNeueSeite();
    const QString savedFormat = m_tableFormat;
    const bool savedGrid = m_tableGrid;
    const QFont savedFont = m_canvasFont;
    const QColor savedColor = m_canvasColor;
    m_tableGrid = false;
    m_drawingHeader = true;
    if (!m_kopf.isEmpty()) {
        m_canvasFont = printerFont(m_kopfFont, dpiY(), logicalDpiY());
        m_canvasColor = m_kopfColor;
        updateLineHeight();
        const int top = pxY(m_randTop);
        if (m_pageBorders.testFlag(pbTop))
            m_y = (pxY(m_randTop - m_pageBorderOffset) - m_lineHeight) / 2 - top;
        else
            m_y = (top - m_lineHeight) / 2 - top;
        if (topPx() + m_y < 0) m_y = -topPx();
        m_tableFormat = m_kopfFormat;
        writeTableLine(m_kopf);
        if (m_fileOpen) fileEndLine();
    }
    // In a text file the footer closes the page instead (writeFooterToFile).
    if (!m_fuss.isEmpty() && !m_fileOpen) {
        m_canvasFont = printerFont(m_fussFont, dpiY(), logicalDpiY());
        m_canvasColor = m_fussColor;
        updateLineHeight();
        const int th = textHeightPx();
        if (m_pageBorders.testFlag(pbBottom))
            m_y = pxY(m_pageBorderOffset) + th +
                  (pxY(m_randBottom - m_pageBorderOffset) - m_lineHeight) / 2;
        else
            m_y = th + (pxY(m_randBottom) - m_lineHeight) / 2;
        const int printable = pxY(PageHeight() - MinTop() - MinBottom());
        if (topPx() + m_y + m_lineHeight > printable) m_y = printable - topPx() - m_lineHeight;
        m_x = 0;
        m_tableFormat = m_fussFormat;
        writeTableLine(m_fuss);
    }
    m_tableFormat = savedFormat;
    m_tableGrid = savedGrid;
    m_canvasFont = savedFont;
    m_canvasColor = savedColor;
    updateLineHeight();
    m_drawingHeader = false;
    m_x = m_y = 0;
    m_lineNo = 0;
    if (OnNewLine) OnNewLine();
    if (!m_fileOpen) drawBorders();
    if (m_docPage > 1 && !m_kopfZeilen.isEmpty() && !m_writingKopfZeilen &&
        (m_kopfZeilen.size() + 1) * qint64(m_lineHeight) < textHeightPx()) {
        m_writingKopfZeilen = true;
        const auto reset = qScopeGuard([this] { m_writingKopfZeilen = false; });
        for (const QString &line : std::as_const(m_kopfZeilen))
            WriteLine(line);
    }
}

void TMyPrinter::writeFooterToFile() {
    if (!m_fileOpen || m_fuss.isEmpty()) return;
    if (!m_fileLine.isEmpty()) fileEndLine();
    const QString savedFormat = m_tableFormat;
    const QFont savedFont = m_canvasFont;
    m_drawingHeader = true;
    m_canvasFont = printerFont(m_fussFont, dpiY(), logicalDpiY());
    m_tableFormat = m_fussFormat;
    writeTableLine(m_fuss);
    fileEndLine();
    m_tableFormat = savedFormat;
    m_canvasFont = savedFont;
    m_drawingHeader = false;
}

void TMyPrinter::drawBorders() {
    if (!m_canvas || !m_pageBorders) return;
    const int th = textHeightPx(), tw = textWidthPx();
    const int l = leftPx(), t = topPx();
    QPainter &c = *m_canvas;
    c.save();
    const int oy = pxY(m_pageBorderOffset), ox = pxX(m_pageBorderOffset);
    QPen h(Qt::black, std::max(1, 2 * (dpiY() / 300)));
    h.setCapStyle(Qt::FlatCap);
    c.setPen(h);
    if (m_pageBorders.testFlag(pbTop)) c.drawLine(l - ox, t - oy, l + tw + ox, t - oy);
    if (m_pageBorders.testFlag(pbBottom)) c.drawLine(l - ox, t + th + oy, l + tw + ox, t + th + oy);
    QPen v(Qt::black, std::max(1, 2 * (dpiX() / 300)));
    v.setCapStyle(Qt::FlatCap);
    c.setPen(v);
    if (m_pageBorders.testFlag(pbLeft)) c.drawLine(l - ox, t - oy, l - ox, t + th + oy);
    if (m_pageBorders.testFlag(pbRight)) c.drawLine(l + tw + ox, t - oy, l + tw + ox, t + th + oy);
    c.restore();
}

void TMyPrinter::drawText(int x, int y, const QString &text) {
    if (!m_canvas) return;
    m_canvas->setFont(m_canvasFont);
    m_canvas->setPen(m_canvasColor);
    m_canvas->drawText(QPointF(x, y + QFontMetricsF(m_canvasFont).ascent()), text);
}

void TMyPrinter::fileText(int x, const QString &text) {
    const double blank = std::max(1.0, textWidth(QStringLiteral(" ")));
    const int column = int(std::max(0, x) / blank);
    if (m_fileLine.size() < column)
        m_fileLine += QString(column - m_fileLine.size(), u' ');
    else if (!m_fileLine.isEmpty() && !m_fileLine.endsWith(u' ') && !m_fileLine.endsWith(u'\f'))
        m_fileLine += u' ';
    m_fileLine += text;
}

void TMyPrinter::fileEndLine() {
    m_fileLines << m_fileLine;
    m_fileLine.clear();
}

void TMyPrinter::WriteLine(const QString &line) {
    QString text = line;
    if (text.contains(u'\t')) {
        const unsigned tab = std::max(1u, m_tabSize);
        QString expanded;
        for (QChar c : line) {
            if (c != u'\t') {
                expanded += c;
                continue;
            }
            do
                expanded += u' ';
            while (expanded.size() % tab != 0);
        }
        text = expanded;
    }
    const int tw = textWidthPx();
    // A damaged line is known to be too wide from its beginning; measured
    // whole, a width of millions of printer pixels would overflow.
    const double w = text.size() > kLongLine && textWidth(text.left(kLongLine)) > tw
                         ? tw + 1.0
                         : textWidth(text);
    if (w > tw && text.size() > 1) {
        m_x = 0;
        if (!m_wordWrap) {
            WriteLine(text.left(fitPrefix(text, tw)));
            return;
        }
        // The rest of the line is the text from `at` on. Of a damaged line
        // far longer than a page is wide only a window somewhat longer than a
        // line can hold is looked at for each piece, shaped once, so that the
        // time grows in proportion to the line's length.
        const bool damaged = text.size() > kLongLine;
        const double average = std::max(1.0, QFontMetricsF(m_canvasFont).averageCharWidth());
        qsizetype window =
            damaged ? std::max<qsizetype>(64, qsizetype(2 * tw / average)) : text.size();
        for (qsizetype at = 0; at < text.size();) {
            const QString rest = text.mid(at, window);
            int n = damaged ? fitShapedPrefix(rest, tw - m_x) : fitPrefix(rest, tw - m_x);
            if (n >= rest.size() && at + rest.size() < text.size()) {
                window *= 2;
                continue;
            }
            QString piece;
            if (at + n >= text.size()) {
                piece = text.mid(at);
                at = text.size();
            } else if (rest.at(n).unicode() >= 33) {
                for (int k = n - 1; k >= 0; --k)
                    if (rest.at(k).unicode() < 33) {
                        n = k + 1;
                        break;
                    }
                piece = rest.left(n);
                at += n;
            } else {
                piece = rest.left(n);
                at += n + 1; // the blank at the break is dropped
            }
            WriteLine(piece);
        }
        return;
    }
    if (!m_fileOpen && m_y + m_lineHeight >= textHeightPx()) NewPage();
    // The position is taken after a page break, which starts the page at x 0.
    int x = 0;
    if (m_alignment == taRightJustify)
        x = int(tw - w);
    else if (m_alignment == taCenter)
        x = int((tw - w) / 2);
    m_x = x;
    if (m_fileOpen)
        fileText(x, text);
    else
        drawText(leftPx() + x, topPx() + m_y, text);
    NewLine();
}

void TMyPrinter::NewLine() {
    m_x = 0;
    m_y += m_lineHeight;
    if (!m_fileOpen && !m_drawingHeader) {
        if (m_y + m_lineHeight >= textHeightPx())
            NewPage();
        else
            ++m_lineNo;
    }
    if (m_fileOpen) fileEndLine();
    if (OnNewLine) OnNewLine();
}

void TMyPrinter::NewPage() {
    if (!m_printing) return;
    if (m_fileOpen) {
        writeFooterToFile();
        m_fileLine += QChar(12);
    } else {
        finishRecordedPage();
        startRecordedPage();
    }
    ++m_docPage;
    startPage();
}

QString TMyPrinter::resolveFields(QString cell) const {
    if (!cell.contains(QStringLiteral("{$"))) return cell;
    const QDateTime now = QDateTime::currentDateTime();
    cell.replace(QStringLiteral("{$LINE}"), QString::number(m_lineNo));
    cell.replace(QStringLiteral("{$PAGE}"), QString::number(m_docPage));
    cell.replace(QStringLiteral("{$DATE}"), german::date(now.date()));
    cell.replace(QStringLiteral("{$TIME}"), now.time().toString(QStringLiteral("hh:mm:ss")));
    cell.replace(QStringLiteral("{$TITLE}"), m_title);
    return cell;
}

QList<TMyPrinter::Column> TMyPrinter::parseColumns(const QString &format) const {
    QList<Column> cols;
    for (const QString &spec : format.split(m_separator)) {
        Column c;
        QString w;
        c.align = splitSpec(spec, w);
        double v = m_defaultColWidth;
        if (!w.trimmed().isEmpty() && !parseWidth(w, v)) v = m_defaultColWidth;
        c.framed = v >= 0;
        c.width = pxX(std::fabs(v));
        cols << c;
    }
    return cols;
}

QString TMyPrinter::takeCellPiece(QString &cell, int width) const {
    const int n = fitPrefix(cell, width);
    QString piece = cell.left(n);
    const int lf = int(piece.indexOf(u'\n'));
    if (!m_wordWrap) {
        // Only the first line's fitting part; the rest of the cell is dropped.
        if (lf >= 0) piece = piece.left(lf);
        cell.clear();
    } else if (lf >= 0) {
        piece = piece.left(lf);
        cell = cell.mid(lf + 1);
    } else if (n >= cell.size()) {
        cell.clear();
    } else if (cell.at(n).unicode() >= 33) {
        // Broken inside a word: back to the last blank, if there is one.
        int cut = n;
        for (int k = n - 1; k >= 0; --k)
            if (cell.at(k).unicode() < 33) {
                cut = k + 1;
                break;
            }
        piece = cell.left(cut);
        cell = cell.mid(cut);
    } else {
        cell = cell.mid(n + 1); // the blank at the break is dropped
    }
    piece.remove(u'\r');
    return piece;
}

int TMyPrinter::cellOffset(TAlignment align, int width, double textPx) const {
    const int p = dpiX() / 300;
    int pos = 0;
    if (align == taRightJustify)
        pos = int(width - textPx);
    else if (align == taCenter)
        pos = int((width - textPx) / 2);
    // Text that leaves room keeps a small distance from the column's edge.
    if (textPx < width - 6 * p) {
        if (align == taRightJustify) pos -= 6 * p;
        if (align == taLeftJustify) pos += 6 * p;
    }
    return pos;
}

void TMyPrinter::drawCellFrame(int x, int width, bool firstRow) {
    const int gridW = std::max(1, 2 * (dpiY() / 300));
    const int top = topPx() + m_y;
    m_canvas->save();
    m_canvas->setPen(QPen(Qt::black, gridW));
    m_canvas->drawLine(x, top, x, top + m_lineHeight);
    m_canvas->drawLine(x + width, top, x + width, top + m_lineHeight);
    if (firstRow) m_canvas->drawLine(x, top, x + width, top);
    m_canvas->restore();
}

bool TMyPrinter::writeTableRow(const QList<Column> &cols, QStringList &rest, bool firstRow) {
    const int tw = textWidthPx();
    int x = leftPx();
    bool more = false;
    for (int i = 0; i < cols.size(); ++i) {
        const Column &col = cols.at(i);
        // A column without any width takes what is left of the text area.
        const int cw = col.width > 0 ? col.width : std::max(0, leftPx() + tw - x);
        const QString piece = takeCellPiece(rest[i], cw);
        if (!rest.at(i).isEmpty()) more = true;
        const int pos = cellOffset(col.align, cw, textWidth(piece));
        if (m_fileOpen) {
            if (!piece.isEmpty()) fileText(x + pos - leftPx(), piece);
        } else {
            drawText(x + pos, topPx() + m_y, piece);
            if (m_tableGrid && col.framed && m_canvas) drawCellFrame(x, cw, firstRow);
        }
        x += cw;
    }
    return more;
}

void TMyPrinter::drawTableBottom(const QList<Column> &cols) {
    const int gridW = std::max(1, 2 * (dpiY() / 300));
    int x = leftPx();
    const int bottom = topPx() + m_y + m_lineHeight;
    m_canvas->save();
    m_canvas->setPen(QPen(Qt::black, gridW));
    for (const Column &col : cols) {
        if (col.framed) m_canvas->drawLine(x, bottom, x + col.width, bottom);
        x += col.width;
    }
    m_canvas->restore();
}

void TMyPrinter::writeTableLine(const QString &line) {
    const QList<Column> cols = parseColumns(m_tableFormat);
    QStringList rest = line.split(m_separator);
    while (rest.size() < cols.size())
        rest << QString();
    for (QString &cell : rest)
        cell = resolveFields(cell);
    // Row after row until every cell is written in full.
    for (bool firstRow = true; writeTableRow(cols, rest, firstRow); firstRow = false)
        NewLine();
    if (m_tableGrid && m_canvas && !m_fileOpen) drawTableBottom(cols);
}
