#pragma once
#include <QColor>
#include <QFlags>
#include <QFont>
#include <QPageLayout>
#include <QScrollArea>
#include <QStringList>
#include <functional>
#include <memory>
#include <stdexcept>

#include "printing/printpreview.h"

class QPainter;
class QPicture;
class QPrinter;

// The printer's own failures (no usable printer, job refused).
class EPrinter : public std::runtime_error {
public:
    explicit EPrinter(const QString &message);
    QString message() const { return QString::fromUtf8(what()); }
};

// Misuse of the print engine, e.g. changing a margin while printing.
class EPagePrinter : public EPrinter {
public:
    using EPrinter::EPrinter;
};

// Raised between pages when the user asked to stop printing.
class ECancelPrinting : public EPagePrinter {
public:
    using EPagePrinter::EPagePrinter;
};

enum TMasseinheit { muInches, muMillimeters };
enum TPageBorder { pbTop = 1, pbBottom = 2, pbLeft = 4, pbRight = 8 };
Q_DECLARE_FLAGS(TPageBorders, TPageBorder)
Q_DECLARE_OPERATORS_FOR_FLAGS(TPageBorders)
enum TZeilenAbstand { lsHalfSpace, lsSingleSpace, lsSingleAndAHalf, lsDoubleSpace };
enum TAlignment { taLeftJustify, taRightJustify, taCenter };
enum TZoomLocation { zlTopLeft, zlTopCenter, zlCenter };

// The program's paged text printer. An owner writes lines into it; it lays
// them out on printer pages (margins, tabs, alignment, wrapping, header and
// footer), records each page as a picture at printer resolution, shows the
// pages as a zoomable preview inside itself and prints them.
//
// Hand-written because the preview, the printer and the PDF must show the
// very same pages (tab columns, heads and feet on every page, page ranges),
// which QTextDocument's printing does not lay out this way.
//
// All lengths are in the unit Masseinheit; the page geometry comes from the
// printer in use (its resolution, paper size and unprintable margins).
// Font is the widget's font; its size is taken in points, true to the paper.
class TMyPrinter : public QScrollArea {
    Q_OBJECT
public:
    // Without a printer the engine makes one of its own.
    explicit TMyPrinter(QWidget *parent = nullptr, QPrinter *printer = nullptr);
    ~TMyPrinter() override;

    QPrinter *printer() const { return m_printer; }
    // Uses another printer (not owned; nullptr: the engine's own one);
    // margins are clamped to it again.
    void setPrinter(QPrinter *printer);

    // --- document operations ---
    void BeginDoc();
    void WriteLine(const QString &text);
    void NewLine();
    void NewPage();
    void EndDoc();
    // True when every page went to the printer (also with no pages), false
    // when the job was cancelled. Printer failures raise EPrinter.
    bool Print();
    // Asks a running Print to stop before its next page.
    void RequestCancel() { m_cancelRequested = true; }
    bool printing() const { return m_printing; }

    // --- properties ---
    TMasseinheit Masseinheit() const { return m_unit; }
    void setMasseinheit(TMasseinheit unit);
    double RandTop() const { return m_randTop; }
    double RandBottom() const { return m_randBottom; }
    double RandLeft() const { return m_randLeft; }
    double RandRight() const { return m_randRight; }
    void setRandTop(double v);
    void setRandBottom(double v);
    void setRandLeft(double v);
    void setRandRight(double v);
    TPageBorders PageBorders() const { return m_pageBorders; }
    void setPageBorders(TPageBorders b) { m_pageBorders = b; }
    double PageBorderOffset() const { return m_pageBorderOffset; }
    void setPageBorderOffset(double v) { m_pageBorderOffset = v; }
    double DefaultColWidth() const { return m_defaultColWidth; }
    void setDefaultColWidth(double v) { m_defaultColWidth = v; }
    TZeilenAbstand ZeilenAbstand() const { return m_spacing; }
    void setZeilenAbstand(TZeilenAbstand s);
    TAlignment Alignment() const { return m_alignment; }
    void setAlignment(TAlignment a) { m_alignment = a; }
    bool WordWrap() const { return m_wordWrap; }
    void setWordWrap(bool w) { m_wordWrap = w; }
    unsigned TabSize() const { return m_tabSize; }
    void setTabSize(unsigned t) { m_tabSize = t; }
    QChar TokenSeparator() const { return m_separator; }
    void setTokenSeparator(QChar c) { m_separator = c; }
    QString TableFormat() const { return m_tableFormat; }
    void setTableFormat(const QString &f) { m_tableFormat = normaliseFormat(f); }
    bool TableGrid() const { return m_tableGrid; }
    void setTableGrid(bool g) { m_tableGrid = g; }
    QString Kopf() const { return m_kopf; }
    void setKopf(const QString &k) { m_kopf = k; }
    QString Fuss() const { return m_fuss; }
    void setFuss(const QString &f) { m_fuss = f; }
    QString KopfFormat() const { return m_kopfFormat; }
    void setKopfFormat(const QString &f) { m_kopfFormat = normaliseFormat(f); }
    QString FussFormat() const { return m_fussFormat; }
    void setFussFormat(const QString &f) { m_fussFormat = normaliseFormat(f); }
    QString FutKopf() const { return m_futKopf; }
    void setFutKopf(const QString &code);
    // Body lines written again at the top of every page after the first
    // (for example a table's title and column heads); left out on a page too
    // short to hold them and one more line.
    QStringList KopfZeilen() const { return m_kopfZeilen; }
    void setKopfZeilen(const QStringList &lines) { m_kopfZeilen = lines; }
    QString FutFuss() const { return m_futFuss; }
    void setFutFuss(const QString &code);
    QFont KopfFont() const { return m_kopfFont; }
    void setKopfFont(const QFont &f) { m_kopfFont = f; }
    QFont FussFont() const { return m_fussFont; }
    void setFussFont(const QFont &f) { m_fussFont = f; }
    bool AutoKopfFont() const { return m_autoKopfFont; }
    void setAutoKopfFont(bool a) { m_autoKopfFont = a; }
    bool AutoFussFont() const { return m_autoFussFont; }
    void setAutoFussFont(bool a) { m_autoFussFont = a; }
    // Text colour of Font; header and footer follow it with their Auto flags.
    QColor FontColor() const { return m_fontColor; }
    void setFontColor(const QColor &c);
    QColor KopfFontColor() const { return m_kopfColor; }
    void setKopfFontColor(const QColor &c) { m_kopfColor = c; }
    QColor FussFontColor() const { return m_fussColor; }
    void setFussFontColor(const QColor &c) { m_fussColor = c; }
    QPageLayout::Orientation Orientation() const;
    void setOrientation(QPageLayout::Orientation o);
    QString Title() const { return m_title; }
    void setTitle(const QString &t);
    bool PrintToFile() const { return m_printToFile; }
    void setPrintToFile(bool p);
    QString FileName() const { return m_fileName; }
    void setFileName(const QString &f);
    unsigned Copies() const { return m_copies; }
    void setCopies(unsigned c) { m_copies = c == 0 ? 1 : c; }
    bool Collate() const { return m_collate; }
    void setCollate(bool c) { m_collate = c; }
    unsigned ZoomPercent() const { return m_zoom; }
    void setZoomPercent(unsigned z);
    TZoomLocation ZoomLocation() const { return m_zoomLocation; }
    void setZoomLocation(TZoomLocation z);
    unsigned ShadowOffset() const { return m_shadowOffset; }
    void setShadowOffset(unsigned s);
    QColor ShadowColor() const { return m_shadowColor; }
    void setShadowColor(const QColor &c);
    bool ShowRands() const { return m_showRands; }
    void setShowRands(bool s);
    bool GradHintergrund() const { return m_gradient; }
    void setGradHintergrund(bool g);
    // The component's colour: bottom of the background gradient.
    QColor Color() const { return m_color; }
    void setColor(const QColor &c);
    bool ZeigFortschritt() const { return m_showProgress; }
    void setZeigFortschritt(bool z) { m_showProgress = z; }
    bool ShowCancel() const { return m_showCancel; }
    void setShowCancel(bool s) { m_showCancel = s; }
    // Kept for the owner; neither filled nor printed by the engine.
    QStringList Lines;
    std::function<void()> OnNeueSeite;
    std::function<void()> OnNewLine;

    // --- page geometry in the current unit ---
    double PageWidth() const;
    double PageHeight() const;
    double MinLeft() const;
    double MinRight() const { return MinLeft(); }
    double MinTop() const;
    double MinBottom() const { return MinTop(); }
    // Text area in printer pixels.
    int textWidthPx() const;
    int textHeightPx() const;
    int lineHeightPx() const { return m_lineHeight; }
    int dpiX() const;
    int dpiY() const;

    // --- recorded pages and preview ---
    int PageCount() const { return m_pages.count(); }
    int PageNumber() const { return m_pageNumber; }
    void setPageNumber(int n);
    int FromPage() const { return m_fromPage; }
    void setFromPage(int p);
    int ToPage() const { return m_toPage; }
    void setToPage(int p);
    const TPageList &pages() const { return m_pages; }
    // Page size on screen in pixels at the current zoom.
    QSize screenPageSize() const;
    // A length in the current unit as screen pixels at the current zoom.
    int screenLength(double length, bool horizontal) const;
    // The surface the preview is painted on.
    QWidget *surface() const;
    // Paints the preview onto a surface of the given size.
    void paintPreview(QPainter &p, const QSize &area) const;

    // Longest prefix (at least one character) of text not wider than
    // width pixels in the canvas font.
    int fitPrefix(const QString &text, double width) const;
    // The same from one shaping of the text (the prefix widths are its
    // glyph positions): for the windows of a damaged line far longer than a
    // page is wide (more than kLongLine characters).
    int fitShapedPrefix(const QString &text, double width) const;
    static constexpr int kLongLine = 2048;
    double textWidth(const QString &text) const;
    // Builds the header/footer text and format from an ampersand code.
    void parseFutCode(const QString &code, QString &text, QString &format) const;
    // A column format in normal form: alignment character and width.
    QString normaliseFormat(const QString &format) const;

protected:
    void changeEvent(QEvent *e) override;
    void resizeEvent(QResizeEvent *e) override;

private:
    struct Column {
        TAlignment align = taLeftJustify;
        int width = 0;
        bool framed = true;
    };

    double toInches(double v) const { return m_unit == muMillimeters ? v / 25.4 : v; }
    double fromInches(double v) const { return m_unit == muMillimeters ? v * 25.4 : v; }
    int pxX(double length) const;
    int pxY(double length) const;
    int leftPx() const { return pxX(m_randLeft - MinLeft()); }
    int rightPx() const { return pxX(m_randRight - MinRight()); }
    int topPx() const { return pxY(m_randTop - MinTop()); }
    int bottomPx() const { return pxY(m_randBottom - MinBottom()); }
    double clamp(double v, double lo, double hi) const;
    void checkNotPrinting(const char *what) const;
    void setupCanvasFont();
    void updateLineHeight();
    void startPage();
    void startRecordedPage();
    void finishRecordedPage();
    void drawText(int x, int y, const QString &text);
    // A line of cells separated by the token separator, laid out in the
    // columns of the table format; cells wrap within their column.
    void writeTableLine(const QString &line);
    // Writes one row of the cells' remaining texts; true while text is left.
    bool writeTableRow(const QList<Column> &cols, QStringList &rest, bool firstRow);
    // Takes from the cell the piece that fits in width pixels.
    QString takeCellPiece(QString &cell, int width) const;
    // Where a text textPx pixels wide starts in a column of width pixels.
    int cellOffset(TAlignment align, int width, double textPx) const;
    void drawCellFrame(int x, int width, bool firstRow);
    void drawTableBottom(const QList<Column> &cols);
    QList<Column> parseColumns(const QString &format) const;
    QString resolveFields(QString cell) const;
    void drawBorders();
    void fileText(int x, const QString &text);
    void fileEndLine();
    void writeFooterToFile();
    void relayout();
    void applyFormatUnit(QString &format, double factor) const;
    void printPage(QPainter &painter, int index);

    QPrinter *m_printer = nullptr;
    std::unique_ptr<QPrinter> m_ownPrinter;

    TMasseinheit m_unit = muInches;
    double m_randTop = 0, m_randBottom = 0, m_randLeft = 0, m_randRight = 0;
    TPageBorders m_pageBorders;
    double m_pageBorderOffset = 0;
    double m_defaultColWidth = 0;
    TZeilenAbstand m_spacing = lsSingleSpace;
    TAlignment m_alignment = taLeftJustify;
    bool m_wordWrap = true;
    unsigned m_tabSize = 8;
    QChar m_separator = QChar(124);
    QString m_tableFormat;
    bool m_tableGrid = false;
    QString m_kopf, m_fuss, m_kopfFormat, m_fussFormat, m_futKopf, m_futFuss;
    QStringList m_kopfZeilen;
    bool m_writingKopfZeilen = false;
    QFont m_kopfFont, m_fussFont;
    bool m_autoKopfFont = true, m_autoFussFont = true;
    QColor m_fontColor = Qt::black, m_kopfColor = Qt::black, m_fussColor = Qt::black;
    QString m_title;
    bool m_printToFile = false;
    QString m_fileName;
    unsigned m_copies = 1;
    bool m_collate = true;
    unsigned m_zoom = 25;
    TZoomLocation m_zoomLocation = zlTopLeft;
    unsigned m_shadowOffset = 5;
    QColor m_shadowColor;
    bool m_showRands = true;
    bool m_gradient = true;
    QColor m_color;
    bool m_showProgress = true, m_showCancel = true;

    // document state
    bool m_printing = false;
    bool m_drawingHeader = false;
    bool m_fileOpen = false;
    int m_docPage = 0;
    int m_x = 0, m_y = 0;
    int m_lineNo = 0;
    int m_lineHeight = 0;
    QFont m_canvasFont;
    QColor m_canvasColor = Qt::black;
    QStringList m_fileLines;
    QString m_fileLine;
    bool m_inFooterOutput = false;

    TPageList m_pages;
    std::unique_ptr<QPainter> m_canvas;
    int m_pageNumber = 0;
    int m_fromPage = 0, m_toPage = 0;
    bool m_cancelRequested = false;
    TPreviewSurface *m_surface = nullptr;
};
