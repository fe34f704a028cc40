#include "machpdf.h"

#include <QDir>
#include <QGuiApplication>
#include <QPainter>
#include <QScopeGuard>
#include <QScreen>
#include <QTemporaryFile>
#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <zlib.h>

#include "platform/textfile.h"
#include "platform/win1252.h"

EPDFError::EPDFError(const QString &message)
    : std::runtime_error(message.toStdString()), m_message(message) {}

namespace {

const char *const kFontNames[TmachPDF::kFontCount] = {
    "Helvetica",   "Helvetica-Bold", "Helvetica-Oblique", "Helvetica-BoldOblique",
    "Courier",     "Courier-Bold",   "Courier-Oblique",   "Courier-BoldOblique",
    "Times-Roman", "Times-Bold",     "Times-Italic",      "Times-BoldItalic",
    "Symbol",      "ZapfDingbats"};

const QString kDefaultProducer = QStringLiteral("Glykovalin");

QByteArray num(qint64 n) {
    return QByteArray::number(n);
}

QByteArray ref(qint64 object) {
    return num(object) + " 0 R";
}

QString writeError(const QString &path, const QString &reason) {
    return QStringLiteral("Datei \"%1\" konnte nicht geschrieben werden (%2).")
        .arg(QDir::toNativeSeparators(path), reason);
}

// A picture's data could not be kept until the document is written: the
// message names the PDF file, not the temporary file the data waits in.
QString imageError(const QString &pdf, int code) {
    return QStringLiteral("Die PDF-Datei \"%1\" konnte nicht geschrieben werden, weil die "
                          "Bilddaten nicht zwischengespeichert werden konnten. %2")
        .arg(QDir::toNativeSeparators(pdf), textfile::reasonOf(code));
}

// The picture in a form whose rows can be sent as red, green, blue bytes:
// 32-bit RGB and 24-bit RGB pictures as they are (shared, not copied), others
// converted. Transparent parts are laid on white, as on paper.
QImage opaqueRgb(const QImage &image) {
    switch (image.format()) {
    case QImage::Format_RGB32:
    case QImage::Format_RGB888:
        return image;
    default:
        break;
    }
    if (!image.hasAlphaChannel()) return image.convertToFormat(QImage::Format_RGB888);
    QImage rgb(image.size(), QImage::Format_RGB888);
    if (rgb.isNull()) return rgb;
    rgb.fill(Qt::white);
    QPainter p(&rgb);
    p.drawImage(0, 0, image);
    return rgb;
}

// Data written to a device as it arrives, through a zlib stream in the zlib
// format (reset first) or, without one, unchanged.
class DeflateSink {
public:
    DeflateSink(QIODevice &out, z_stream *z) : m_out(out), m_z(z) {
        if (m_z && deflateReset(m_z) != Z_OK) m_failed = m_zlibFailed = true;
    }

    bool write(const char *data, qsizetype size) {
        if (m_failed) return false;
        if (!m_z) return put(data, size);
        m_z->next_in = reinterpret_cast<Bytef *>(const_cast<char *>(data));
        m_z->avail_in = uInt(size);
        return run(Z_NO_FLUSH);
    }
    bool finish() {
        if (m_failed) return false;
        return !m_z || run(Z_FINISH);
    }
    qint64 written() const { return m_written; }
    bool zlibFailed() const { return m_zlibFailed; }

private:
    bool put(const char *data, qsizetype size) {
        if (size > 0 && m_out.write(data, size) != size) {
            m_failed = true;
            return false;
        }
        m_written += size;
        return true;
    }
    bool run(int flush) {
        char buffer[1 << 16];
        for (;;) {
            m_z->next_out = reinterpret_cast<Bytef *>(buffer);
            m_z->avail_out = sizeof buffer;
            const int rc = deflate(m_z, flush);
            if (rc == Z_STREAM_ERROR) {
                m_failed = m_zlibFailed = true;
                return false;
            }
            if (!put(buffer, qsizetype(sizeof buffer - m_z->avail_out))) return false;
            if (flush == Z_FINISH ? rc == Z_STREAM_END : m_z->avail_out != 0) return true;
        }
    }

    QIODevice &m_out;
    z_stream *m_z;
    bool m_failed = false;
    bool m_zlibFailed = false;
    qint64 m_written = 0;
};

void writeAll(QIODevice &out, const QByteArray &bytes, const QString &path) {
    if (out.write(bytes) != bytes.size()) throw EPDFError(writeError(path, out.errorString()));
}

} // namespace

struct TmachPDF::Deflater {
    z_stream z{};
    bool ready = false;
    Deflater() { ready = deflateInit(&z, Z_DEFAULT_COMPRESSION) == Z_OK; }
    ~Deflater() {
        if (ready) deflateEnd(&z);
    }
};

TmachPDF::TmachPDF(QObject *owner)
    : QObject(owner), Producer(kDefaultProducer), Author(kDefaultProducer),
      Creator(kDefaultProducer) {}

TmachPDF::~TmachPDF() = default;

QString TmachPDF::FontName(int index) {
    if (index < 0 || index >= kFontCount) return {};
    return QString::fromLatin1(kFontNames[index]);
}

QByteArray TmachPDF::escapeLiteral(const QByteArray &bytes) {
    QByteArray out;
    out.reserve(bytes.size() + 8);
    for (const char ch : bytes) {
        const auto c = static_cast<unsigned char>(ch);
        if (c == '(' || c == ')' || c == '\\') {
            out.append('\\');
            out.append(ch);
        } else if (c < 0x20 || c == 0x7F) {
            // Line ends inside a string would be normalised by readers, other
            // control bytes are easier to read this way.
            char buf[5];
            std::snprintf(buf, sizeof buf, "\\%03o", unsigned(c));
            out.append(buf, 4);
        } else {
            out.append(ch);
        }
    }
    return out;
}

QByteArray TmachPDF::infoTextBytes(const QString &text) {
    bool latin = true;
    for (const QChar ch : text) {
        const char16_t u = ch.unicode();
        if (u > 0xFF || (u >= 0x7F && u < 0xA0)) {
            latin = false;
            break;
        }
    }
    if (latin) return text.toLatin1();
    QByteArray out("\xFE\xFF", 2);
    for (const QChar ch : text) {
        out.append(char(ch.unicode() >> 8));
        out.append(char(ch.unicode() & 0xFF));
    }
    return out;
}

void TmachPDF::appendLine(QByteArray &buffer, const QByteArray &line) {
    buffer.append(line);
    buffer.append("\r\n", 2);
}

void TmachPDF::beginObject() {
    m_object.clear();
    ++m_objectCounter;
    appendLine(m_object, num(m_objectCounter) + " 0 obj");
}

void TmachPDF::recordObject() {
    m_fileOffset += m_object.size();
    m_offsets.append(m_fileOffset);
    m_file.append(m_object);
    m_object.clear();
}

QByteArray TmachPDF::deflate(const QByteArray &data) const {
    uLongf size = compressBound(uLong(data.size()));
    QByteArray out(qsizetype(size), Qt::Uninitialized);
    const int rc = compress2(reinterpret_cast<Bytef *>(out.data()), &size,
                             reinterpret_cast<const Bytef *>(data.constData()), uLong(data.size()),
                             Z_DEFAULT_COMPRESSION);
    if (rc != Z_OK)
        throw EPDFError(
            QStringLiteral("Die Daten der PDF-Datei konnten nicht komprimiert werden."));
    out.truncate(qsizetype(size));
    return out;
}

double TmachPDF::pixelsPerInchX() const {
    if (PixelsPerInchX > 0) return PixelsPerInchX;
    if (qobject_cast<QGuiApplication *>(QCoreApplication::instance()))
        if (const QScreen *s = QGuiApplication::primaryScreen(); s && s->logicalDotsPerInchX() > 0)
            return s->logicalDotsPerInchX();
    return 96.0;
}

double TmachPDF::pixelsPerInchY() const {
    if (PixelsPerInchY > 0) return PixelsPerInchY;
    if (qobject_cast<QGuiApplication *>(QCoreApplication::instance()))
        if (const QScreen *s = QGuiApplication::primaryScreen(); s && s->logicalDotsPerInchY() > 0)
            return s->logicalDotsPerInchY();
    return 96.0;
}

void TmachPDF::reset() {
    m_offsets.clear();
    m_contents.clear();
    m_fonts.clear();
    m_file.clear();
    m_object.clear();
    m_page.clear();
    m_streamStart = 0;
    m_images.clear(); // removes the temporary files
}

void TmachPDF::ensureOpen() {
    if (!m_open) BeginneDokument();
}

void TmachPDF::BeginneDokument() {
    reset();
    m_pageCount = 1;
    m_imageCount = 0;
    m_objectCounter = 0;
    m_fileOffset = 0;
    m_open = true;

    // Header.
    appendLine(m_object, "%PDF-1.4");
    recordObject();

    // Info dictionary.
    const QDateTime when = CreationTime.isValid() ? CreationTime : QDateTime::currentDateTime();
    auto info = [](const QString &t) { return escapeLiteral(infoTextBytes(t)); };
    beginObject();
    appendLine(m_object, "<<");
    appendLine(m_object, "/Producer (" + info(Producer) + ")");
    appendLine(m_object, "/Author (" + info(Author) + ")");
    appendLine(m_object, "/CreationDate (D:" +
                             when.toString(QStringLiteral("yyyyMMddHHmmss")).toLatin1() + ")");
    appendLine(m_object, "/Creator (" + info(Creator) + ")");
    appendLine(m_object, "/Keywords (" + info(Keywords) + ")");
    appendLine(m_object, "/Subject (" + info(Subject) + ")");
    appendLine(m_object, "/Title (" + info(Title) + ")");
    appendLine(m_object, "/ModDate ()");
    appendLine(m_object, ">>");
    appendLine(m_object, "endobj");
    recordObject();

    beginContentStream();
}

void TmachPDF::beginContentStream() {
    beginObject();
    appendLine(m_object, "<< /Length " + ref(m_objectCounter + 1));
    if (Compress) appendLine(m_object, "/Filter [/FlateDecode]");
    appendLine(m_object, " >>");
    m_streamStart = m_object.size();
    appendLine(m_object, "stream");
    m_page.clear();
}

void TmachPDF::finishContentStream() {
    const QByteArray data = Compress ? deflate(m_page) : m_page;
    m_page.clear();
    m_object.append(data);
    appendLine(m_object, "endstream");
    appendLine(m_object, "endobj");
    // Everything after the line end of "stream" up to "endstream".
    const qint64 length = m_object.size() - m_streamStart - 27;
    recordObject();

    beginObject();
    appendLine(m_object, num(length));
    appendLine(m_object, "endobj");
    recordObject();
}

void TmachPDF::NeueSeite() {
    ensureOpen();
    ++m_pageCount;
    finishContentStream();
    beginContentStream();
}

void TmachPDF::SchreibeText(int x, int y, const QString &text) {
    ensureOpen();
    const int font = std::clamp(int(Font.FontIndex), 0, kFontCount - 1);
    appendLine(m_page, "BT");
    appendLine(m_page, "/F" + num(font + 1) + " " + num(Font.FontSize) + " Tf");
    appendLine(m_page, num(x) + " " + num(qint64(PageHeight) - y) + " Td");
    appendLine(m_page, "(" + escapeLiteral(win1252::encode(text)) + ") Tj");
    appendLine(m_page, "ET");
}

void TmachPDF::SchreibeUnsichtbarenText(double x, double y, double size, const QString &text) {
    ensureOpen();
    // Decimal numbers with at most two places, as "12.05" or "985".
    auto real = [](double v) {
        QByteArray t = QByteArray::number(std::isfinite(v) ? v : 0.0, 'f', 2);
        while (t.endsWith('0'))
            t.chop(1);
        if (t.endsWith('.')) t.chop(1);
        return t == "-0" ? QByteArray("0") : t;
    };
    const int font = std::clamp(int(Font.FontIndex), 0, kFontCount - 1);
    // q and Q keep the render mode from reaching later text of the page.
    appendLine(m_page, "q");
    appendLine(m_page, "BT");
    appendLine(m_page, "/F" + num(font + 1) + " " + real(size) + " Tf");
    appendLine(m_page, "3 Tr");
    appendLine(m_page, real(x) + " " + real(PageHeight - y) + " Td");
    appendLine(m_page, "(" + escapeLiteral(win1252::encode(text)) + ") Tj");
    appendLine(m_page, "ET");
    appendLine(m_page, "Q");
}

qint64 TmachPDF::writeImageData(QIODevice &out, const QSize &size, const Bildzeilen &rows) {
    z_stream *z = nullptr;
    if (Compress) {
        if (!m_deflater) m_deflater = std::make_unique<Deflater>();
        if (!m_deflater->ready)
            throw EPDFError(
                QStringLiteral("Die Daten der PDF-Datei konnten nicht komprimiert werden."));
        z = &m_deflater->z;
    }
    DeflateSink sink(out, z);
    const qsizetype rowBytes = qsizetype(size.width()) * 3;
    for (int y = 0; y < size.height();) {
        int count = 1;
        const char *data = rows(y, &count);
        count = std::clamp(count, 1, size.height() - y);
        if (!sink.write(data, rowBytes * count)) break;
        y += count;
    }
    if (!sink.finish()) {
        if (sink.zlibFailed())
            throw EPDFError(
                QStringLiteral("Die Daten der PDF-Datei konnten nicht komprimiert werden."));
        return -1;
    }
    return sink.written();
}

void TmachPDF::ZeichneBild(int x, int y, double widthInches, double heightInches,
                           const QImage &image) {
    ensureOpen();
    const QImage rgb = image.isNull() ? QImage() : opaqueRgb(image);
    if (rgb.isNull())
        throw EPDFError(
            QStringLiteral("Das Bild kann nicht in 24 Bit je Bildpunkt umgewandelt werden."));
    if (rgb.format() == QImage::Format_RGB888) {
        // Rows without padding follow each other: all of them at once.
        const bool packed = rgb.bytesPerLine() == qsizetype(rgb.width()) * 3;
        ZeichneBild(x, y, widthInches, heightInches, rgb.size(), [&rgb, packed](int row, int *n) {
            *n = packed ? rgb.height() - row : 1;
            return reinterpret_cast<const char *>(rgb.constScanLine(row));
        });
        return;
    }
    // 32-bit pixels become red, green, blue bytes one row at a time.
    QByteArray buffer(qsizetype(rgb.width()) * 3, Qt::Uninitialized);
    ZeichneBild(x, y, widthInches, heightInches, rgb.size(), [&](int row, int *) {
        const auto *in = reinterpret_cast<const QRgb *>(rgb.constScanLine(row));
        char *o = buffer.data();
        for (int i = 0; i < rgb.width(); ++i) {
            *o++ = char(qRed(in[i]));
            *o++ = char(qGreen(in[i]));
            *o++ = char(qBlue(in[i]));
        }
        return buffer.constData();
    });
}

void TmachPDF::ZeichneBild(int x, int y, double widthInches, double heightInches, const QSize &size,
                           const Bildzeilen &rows) {
    ensureOpen();
    if (size.isEmpty() || !rows)
        throw EPDFError(
            QStringLiteral("Das Bild kann nicht in 24 Bit je Bildpunkt umgewandelt werden."));
    double sx = 0, sy = 0;
    if (widthInches != 0 && heightInches != 0) {
        sx = PageWidth / (pixelsPerInchX() * widthInches);
        sy = PageHeight / (pixelsPerInchY() * heightInches);
    }
    if (!(std::isfinite(sx) && std::isfinite(sy)) || sx == 0 || sy == 0) {
        sx = PageWidth / (pixelsPerInchX() * 8.0);
        sy = PageHeight / (pixelsPerInchY() * 10.625);
    }
    const int k = m_imageCount + 1;

    auto tmp = std::make_unique<QTemporaryFile>(QDir::tempPath() +
                                                QStringLiteral("/glykovalin-pdf-XXXXXX.tmp"));
    errno = 0;
    if (!tmp->open()) throw EPDFError(imageError(FileName, errno));
    const qint64 length = writeImageData(*tmp, size, rows);
    if (length < 0 || !tmp->flush()) throw EPDFError(imageError(FileName, errno));
    tmp->close();

    QByteArray head;
    appendLine(head, "<< /Type /XObject");
    appendLine(head, "/Subtype /Image");
    appendLine(head, "/Width " + num(size.width()));
    appendLine(head, "/Height " + num(size.height()));
    appendLine(head, "/ColorSpace /DeviceRGB");
    appendLine(head, "/BitsPerComponent 8");
    appendLine(head, "/Length " + num(length));
    appendLine(head, "/Name /Im" + num(k));
    if (Compress) appendLine(head, "/Filter [/FlateDecode]");
    appendLine(head, ">>");
    appendLine(head, "stream");

    // Only now that the picture is safely stored does the page refer to it.
    m_images.push_back({head, std::move(tmp)});
    m_imageCount = k;
    const qint64 w = qint64(size.width() * sx);
    const qint64 h = qint64(size.height() * sy);
    appendLine(m_page, "q");
    appendLine(m_page, num(w) + " 0 0 " + num(h) + " " + num(x) + " " +
                           num(qint64(PageHeight) - y - h) + " cm");
    appendLine(m_page, "/Im" + num(k) + " Do");
    appendLine(m_page, "Q");
}

void TmachPDF::recordOutlines() {
    beginObject();
    appendLine(m_object, "<< /Type /Outlines");
    appendLine(m_object, "/Count 0");
    appendLine(m_object, ">>");
    appendLine(m_object, "endobj");
    recordObject();
}

void TmachPDF::recordFonts() {
    for (int i = 0; i < kFontCount; ++i) {
        beginObject();
        m_fonts.append(QString::number(m_objectCounter));
        appendLine(m_object, "<< /Type /Font");
        appendLine(m_object, "/Subtype /Type1");
        appendLine(m_object, "/Name /F" + num(i + 1));
        appendLine(m_object, QByteArray("/BaseFont /") + kFontNames[i]);
        appendLine(m_object, "/Encoding /WinAnsiEncoding");
        appendLine(m_object, ">>");
        appendLine(m_object, "endobj");
        recordObject();
    }
}

void TmachPDF::recordPageTree(int firstPage) {
    beginObject();
    appendLine(m_object, "<< /Type /Pages");
    appendLine(m_object, "/Kids [");
    for (int p = 0; p < m_pageCount; ++p) {
        m_contents.append(QString::number(2 * (p + 1)));
        appendLine(m_object, ref(firstPage + p));
    }
    appendLine(m_object, "]");
    appendLine(m_object, "/Count " + num(m_pageCount));
    appendLine(m_object, ">>");
    appendLine(m_object, "endobj");
    recordObject();
}

void TmachPDF::recordResources(int firstImage) {
    beginObject();
    appendLine(m_object, "<< /ProcSet [ /PDF /Text /ImageC]");
    appendLine(m_object, "/XObject << ");
    for (int k = 1; k <= m_imageCount; ++k)
        appendLine(m_object, "/Im" + num(k) + " " + ref(firstImage + k - 1));
    appendLine(m_object, ">>");
    appendLine(m_object, "/Font << ");
    for (int k = 1; k <= m_fonts.size(); ++k)
        appendLine(m_object, "/F" + num(k) + " " + ref(m_fonts[k - 1].toInt()) + " ");
    appendLine(m_object, ">>");
    appendLine(m_object, ">>");
    appendLine(m_object, "endobj");
    recordObject();
}

void TmachPDF::writeImage(QIODevice &out, int index) {
    const StoredImage &image = m_images[size_t(index)];
    QTemporaryFile &tmp = *image.data;
    errno = 0;
    if (!tmp.open()) throw EPDFError(imageError(FileName, errno));
    tmp.seek(0);
    beginObject();
    m_object.append(image.head);
    writeAll(out, m_object, FileName);
    qint64 total = m_object.size();
    m_object.clear();
    while (!tmp.atEnd()) {
        const QByteArray chunk = tmp.read(1 << 20);
        if (chunk.isEmpty()) throw EPDFError(imageError(FileName, errno));
        writeAll(out, chunk, FileName);
        total += chunk.size();
    }
    tmp.close();
    QByteArray tail;
    appendLine(tail, "");
    appendLine(tail, "endstream");
    appendLine(tail, "endobj");
    writeAll(out, tail, FileName);
    total += tail.size();
    m_fileOffset += total;
    m_offsets.append(m_fileOffset);
}

void TmachPDF::recordPages(int pageTree, int resources) {
    for (int p = 0; p < m_pageCount; ++p) {
        beginObject();
        appendLine(m_object, "<< /Type /Page");
        appendLine(m_object, "/Parent " + ref(pageTree));
        appendLine(m_object, "/MediaBox [ 0 0 " + num(PageWidth) + " " + num(PageHeight) + "]");
        appendLine(m_object, "/Contents " + ref(m_contents[p].toInt()));
        appendLine(m_object, "/Resources " + ref(resources));
        appendLine(m_object, ">>");
        appendLine(m_object, "endobj");
        recordObject();
    }
}

void TmachPDF::recordCatalog(int pageTree, int outlines) {
    beginObject();
    appendLine(m_object, "<< /Type /Catalog");
    appendLine(m_object, "/Pages " + ref(pageTree));
    appendLine(m_object, "/Outlines " + ref(outlines));
    appendLine(m_object, ">>");
    appendLine(m_object, "endobj");
    recordObject();
}

void TmachPDF::writeTrailer(QIODevice &out, int catalog) {
    const qint64 xref = m_fileOffset;
    QByteArray &t = m_object;
    appendLine(t, "xref");
    appendLine(t, "0 " + num(catalog + 1));
    appendLine(t, "0000000000 65535 f");
    // Entry k-1 of the offset list is where object k begins.
    for (int k = 1; k <= catalog; ++k)
        appendLine(t, num(m_offsets[k - 1]).rightJustified(10, '0') + " 00000 n");
    appendLine(t, "trailer");
    appendLine(t, "<< /Size " + num(catalog + 1));
    appendLine(t, "/Root " + ref(catalog));
    appendLine(t, "/Info 1 0 R");
    appendLine(t, ">>");
    appendLine(t, "startxref");
    appendLine(t, num(xref));
    appendLine(t, "%%EOF");
    m_fileOffset += t.size();
    m_file.append(t);
    m_object.clear();
    writeAll(out, m_file, FileName);
    m_file.clear();
}

void TmachPDF::writeDocument(QIODevice &out) {
    // Object numbers: the Info dictionary is 1, then come each page's content
    // stream and its length, the outlines, the 14 fonts, page tree and
    // resources, the pictures, the pages and last the catalog.
    const int pages = m_pageCount;
    const int images = m_imageCount;
    const int outlines = 2 * pages + 2;
    const int pageTree = 2 * pages + 17;
    const int resources = 2 * pages + 18;
    const int firstImage = 2 * pages + 19;
    const int firstPage = firstImage + images;
    const int catalog = firstPage + pages;

    finishContentStream();
    recordOutlines();
    recordFonts();
    recordPageTree(firstPage);
    recordResources(firstImage);

    // What is assembled so far goes out; the pictures follow straight from
    // their temporary files.
    writeAll(out, m_file, FileName);
    m_file.clear();
    for (int k = 0; k < images; ++k)
        writeImage(out, k);

    recordPages(pageTree, resources);
    recordCatalog(pageTree, outlines);
    Q_ASSERT(m_objectCounter == catalog);
    writeTrailer(out, catalog);
}

void TmachPDF::BeendeDokument() {
    ensureOpen();
    // The document is closed and its temporary files removed however the write ends.
    const auto cleanup = qScopeGuard([this] {
        m_open = false;
        reset();
    });

    if (FileName.isEmpty())
        throw EPDFError(QStringLiteral("Für die PDF-Datei ist kein Dateiname angegeben."));
    // The file is replaced only by the whole document; a failed write of it
    // names the file and the cause.
    textfile::SafeFile out(FileName);
    if (!out.open()) throw EPDFError(out.result().message(FileName));
    try {
        writeDocument(out);
    } catch (const EPDFError &) {
        if (!out.result()) throw EPDFError(out.result().message(FileName));
        throw;
    }
    if (const textfile::SaveResult r = out.commit(); !r) throw EPDFError(r.message(FileName));
}

bool TmachPDF::BeendeDokument(QString *error) {
    try {
        BeendeDokument();
        return true;
    } catch (const EPDFError &e) {
        if (error) *error = e.message();
        return false;
    }
}
