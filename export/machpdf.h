#pragma once
#include <QByteArray>
#include <QDateTime>
#include <QImage>
#include <QObject>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <stdexcept>
#include <vector>

class QIODevice;
class QTemporaryFile;

// A PDF that cannot be written: a file or a temporary image file that cannot
// be created or written, or a picture that cannot be converted. The message
// is German and names the file.
class EPDFError : public std::runtime_error {
public:
    explicit EPDFError(const QString &message);
    QString message() const { return m_message; }

private:
    QString m_message;
};

// One of the 14 standard Type 1 fonts (FontIndex 0..13, see TmachPDF::FontName)
// in a size in points.
struct TPDFFont {
    quint8 FontIndex = 4; // Courier
    int FontSize = 12;
};

// Minimal PDF 1.4 writer: text lines in the standard fonts and pictures as
// RGB images, page by page. The file is assembled in memory (image data waits
// in temporary files, so only one picture's raw pixels are in memory at a
// time) and written in one go by BeendeDokument. Lengths are in points; y is
// measured from the top edge of the page. It is written by hand instead of
// with QPdfWriter because the program needs exactly this output: pictures whose
// rows go through zlib as they are asked for, without a picture of the whole
// page in memory, and an invisible text layer over them in the standard fonts
// that makes the pages searchable.
//
// Use: set the properties, BeginneDokument, per page any SchreibeText and
// ZeichneBild calls, NeueSeite between pages, BeendeDokument.
class TmachPDF : public QObject {
    Q_OBJECT
public:
    explicit TmachPDF(QObject *owner = nullptr);
    ~TmachPDF() override;

    // Media box of every page.
    int PageWidth = 612;
    int PageHeight = 792;
    // Written by BeendeDokument.
    QString FileName;
    // FlateDecode for content and image streams.
    bool Compress = true;
    // Info dictionary.
    QString Title, Subject, Keywords;
    QString Producer, Author, Creator;
    // Font of the next SchreibeText.
    TPDFFont Font;
    // Time written as CreationDate; when invalid, the time BeginneDokument runs.
    QDateTime CreationTime;
    // Screen resolution that ZeichneBild scales with; 0 takes the primary
    // screen's logical resolution, or 96 without a screen.
    double PixelsPerInchX = 0;
    double PixelsPerInchY = 0;

    static constexpr int kFontCount = 14;
    // PostScript name of a standard font, "" outside 0..13.
    static QString FontName(int index);

    // Starts a new document (resets everything of an earlier one); page 1 is open.
    void BeginneDokument();
    // Closes the current page and opens the next one.
    void NeueSeite();
    // Text at (x, y), y from the top edge; "(", ")" and "\" are escaped.
    void SchreibeText(int x, int y, const QString &text);
    // Text that is not painted (text render mode 3) in the current font's
    // face at size points, its baseline starting at (x, y), y from the top
    // edge. Laid over a picture of the same text it makes the page
    // searchable and its text copyable.
    void SchreibeUnsichtbarenText(double x, double y, double size, const QString &text);
    // Places a picture with its top-left corner at (x, y). The page shows
    // widthInches by heightInches of screen pixels; when one of them is 0 the
    // page shows 8 by 10.625 inches. The pixels go row by row through zlib
    // into a temporary file, without a copy of the picture. Throws EPDFError
    // when the picture is empty or its temporary file cannot be written.
    void ZeichneBild(int x, int y, double widthInches, double heightInches, const QImage &image);
    // Rows of a picture from the top: rows(y, &count) gives the red, green
    // and blue bytes (width * 3 a row) of row y and of the rows after it that
    // follow in memory, count of them in all (at least 1), valid until the
    // next call.
    using Bildzeilen = std::function<const char *(int y, int *count)>;
    // The same for a picture of the given size whose rows are asked for one
    // after the other, so that no picture of the whole page needs to exist.
    void ZeichneBild(int x, int y, double widthInches, double heightInches, const QSize &size,
                     const Bildzeilen &rows);
    // Finishes the document and writes FileName safely (an existing file is
    // replaced only when the whole new file was written). Throws EPDFError on
    // failure; the temporary image files are removed in either case.
    void BeendeDokument();
    // The same, reporting a failure as false and *error instead of throwing.
    bool BeendeDokument(QString *error);

    // State of the document being built.
    int PageCount() const { return m_pageCount; }
    int ImageCount() const { return m_imageCount; }
    bool DocumentOpen() const { return m_open; }

    // Escapes a byte string for a PDF literal string: "(", ")", "\" get a
    // backslash, control bytes become octal escapes.
    static QByteArray escapeLiteral(const QByteArray &bytes);
    // Bytes of an Info text: PDFDocEncoding where that is Latin-1, else UTF-16BE
    // with byte-order mark.
    static QByteArray infoTextBytes(const QString &text);

private:
    void ensureOpen();
    void beginContentStream();
    void finishContentStream();
    void recordObject();
    void beginObject();
    void appendLine(QByteArray &buffer, const QByteArray &line);
    QByteArray deflate(const QByteArray &data) const;
    qint64 writeImageData(QIODevice &out, const QSize &size, const Bildzeilen &rows);
    double pixelsPerInchX() const;
    double pixelsPerInchY() const;
    // The parts of the finished document, in file order: the objects after
    // the last content stream are assembled in the file buffer, the pictures
    // go straight to the device.
    void recordOutlines();
    void recordFonts();
    void recordPageTree(int firstPage);
    void recordResources(int firstImage);
    void writeImage(QIODevice &out, int index);
    void recordPages(int pageTree, int resources);
    void recordCatalog(int pageTree, int outlines);
    void writeTrailer(QIODevice &out, int catalog);
    void writeDocument(QIODevice &out);
    void reset();

    bool m_open = false;
    int m_pageCount = 0;
    int m_imageCount = 0;
    int m_objectCounter = 0;
    qint64 m_fileOffset = 0;
    QList<qint64> m_offsets; // after the header and after every object
    QStringList m_contents;  // per page, its content stream's object number
    QStringList m_fonts;     // per font, its object number
    QByteArray m_file;
    QByteArray m_object;
    QByteArray m_page;
    qsizetype m_streamStart = 0; // object buffer size after "stream"
    // Per placed picture: its object text up to "stream" and its stream data
    // in a temporary file.
    struct StoredImage {
        QByteArray head;
        std::unique_ptr<QTemporaryFile> data;
    };
    std::vector<StoredImage> m_images;
    // One zlib stream for all pictures of the writer, reset for each.
    struct Deflater;
    std::unique_ptr<Deflater> m_deflater;
};
