#include <QDir>
#include <QFile>
#include <QPainter>
#include <QScopeGuard>
#include <gtest/gtest.h>

#include "export/machpdf.h"
#include "pdfreader.h"
#include "platform/textfile.h"
#include "support/filelimit.h"
#include "support/golden.h"
#include "support/pdftools.h"
#include "testutil.h"

namespace {

// The file passes qpdf's structural check without warnings, where qpdf is
// installed.
void expectQpdfAccepts(const QString &path) {
    if (!pdftools::haveTools()) return;
    QString out;
    EXPECT_TRUE(pdftools::valid(path, &out)) << out.toStdString();
    EXPECT_FALSE(out.contains("WARNING")) << out.toStdString();
}

// The file read back without errors, and accepted by qpdf.
PdfReader readBack(const QString &path) {
    PdfReader r(testutil::readBytes(path));
    EXPECT_TRUE(r.errors().isEmpty()) << r.errors().join("\n").toStdString();
    expectQpdfAccepts(path);
    return r;
}

// The texts are found in the file's text, where poppler is installed.
void expectText(const QString &path, const QStringList &parts) {
    if (!pdftools::haveTools()) return;
    const QString text = pdftools::text(path);
    for (const QString &part : parts)
        EXPECT_TRUE(text.contains(part)) << text.toStdString();
}

QImage stripes(int w, int h) {
    QImage img(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            img.setPixel(x, y, qRgb((x * 7) & 0xFF, (y * 3) & 0xFF, (x + y) & 0xFF));
    return img;
}

QByteArray rgbOf(const QImage &img) {
    QByteArray out;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x) {
            const QRgb c = img.pixel(x, y);
            out.append(char(qRed(c)));
            out.append(char(qGreen(c)));
            out.append(char(qBlue(c)));
        }
    return out;
}

QStringList split(const QByteArray &operators) {
    QStringList l = QString::fromLatin1(operators).split("\r\n");
    if (!l.isEmpty() && l.last().isEmpty()) l.removeLast();
    return l;
}

// Temporary files in the folder: named ones, and unnamed ones that Linux
// keeps only as open descriptors.
int tempImageFiles(const QString &dir) {
    int n = int(QDir(dir).entryList({"glykovalin-pdf-*"}, QDir::Files).size());
    const QDir fds("/proc/self/fd");
    for (const QString &fd : fds.entryList(QDir::System | QDir::Files | QDir::NoDotAndDotDot)) {
        const QString target = QFile::symLinkTarget(fds.filePath(fd));
        if (target.startsWith(dir + "/") && !target.contains("glykovalin-pdf-")) ++n;
    }
    return n;
}

// A writer whose file goes into a folder of the test.
class MachPdf : public ::testing::Test {
protected:
    testutil::TempFolder tmp;
    TmachPDF pdf;
    MachPdf() { pdf.FileName = tmp.file("buch.pdf"); }
};

} // namespace

TEST_F(MachPdf, OnePageWithoutImageHasTheFixedObjectLayout) {
    EXPECT_EQ(pdf.PageHeight, 792);
    EXPECT_EQ(pdf.Font.FontIndex, 4);
    EXPECT_EQ(pdf.Font.FontSize, 12);

    pdf.Compress = false;
    pdf.PageHeight = 1000;
    pdf.Title = "Glykovalin-Tagebuch";
    pdf.CreationTime = QDateTime(QDate(2005, 3, 5), QTime(14, 7, 9));
    pdf.BeginneDokument();
    EXPECT_EQ(pdf.PageCount(), 1);
    pdf.Font.FontIndex = 0;
    pdf.Font.FontSize = 10;
    pdf.SchreibeText(281, 15, "Seite 1 von 1");
    pdf.BeendeDokument();

    const QByteArray file = testutil::readBytes(pdf.FileName);
    EXPECT_EQ(readBack(pdf.FileName).xrefEntries(), 23);
    // Info, content, the 14 standard fonts, pages, resources, page, catalog,
    // cross references and trailer, byte for byte.
    EXPECT_TRUE(golden::matches(file, "export/eins.pdf"));
}

TEST_F(MachPdf, PagesWithTextAndImagesAreCompressedAndConsistent) {
    pdf.PageWidth = 595;
    pdf.PageHeight = 842;
    pdf.PixelsPerInchX = 96;
    pdf.PixelsPerInchY = 96;
    pdf.Title = "Glykovalin-Tagebuch";
    const QImage a = stripes(82, 100);
    const QImage b = stripes(70, 130);
    pdf.BeginneDokument();
    pdf.Font.FontIndex = 0;
    pdf.Font.FontSize = 10;
    pdf.SchreibeText(272, 15, "Seite 1 von 3");
    pdf.ZeichneBild(60, 40, 8.5, 10.625, a);
    pdf.NeueSeite();
    pdf.Font.FontIndex = 9;
    pdf.SchreibeText(272, 15, "Seite 2 von 3");
    pdf.NeueSeite();
    pdf.ZeichneBild(60, 25, 13.7, 8.0, b);
    pdf.ZeichneBild(10, 10, 0, 5, a);
    EXPECT_EQ(pdf.PageCount(), 3);
    EXPECT_EQ(pdf.ImageCount(), 3);
    pdf.BeendeDokument();

    const PdfReader r = readBack(pdf.FileName);
    // P = 3, I = 3: catalog is 2P + 19 + I + P = 31.
    EXPECT_EQ(r.size(), 32);

    for (int p = 1; p <= 3; ++p) {
        EXPECT_TRUE(r.hasFilter(2 * p));
        EXPECT_EQ(r.lines(2 * p + 1).value(1).toLongLong(), r.stream(2 * p).size());
        EXPECT_EQ(static_cast<unsigned char>(r.stream(2 * p).at(0)), 0x78);
    }
    EXPECT_EQ(split(r.decodedStream(2)),
              QStringList({"BT", "/F1 10 Tf", "272 827 Td", "(Seite 1 von 3) Tj", "ET", "q",
                           // 82 * 595 / (96 * 8.5) = 59.79, 100 * 842 / (96 * 10.625) = 82.55
                           "59 0 0 82 60 720 cm", "/Im1 Do", "Q"}));
    EXPECT_EQ(split(r.decodedStream(4)),
              QStringList({"BT", "/F10 10 Tf", "272 827 Td", "(Seite 2 von 3) Tj", "ET"}));
    EXPECT_EQ(split(r.decodedStream(6)),
              QStringList({"q",
                           // 70 * 595 / (96 * 13.7) = 31.67, 130 * 842 / (96 * 8) = 142.5
                           "31 0 0 142 60 675 cm", "/Im2 Do", "Q", "q",
                           // widthInches 0: 8 and 10.625 for both scales
                           "63 0 0 82 10 750 cm", "/Im3 Do", "Q"}));

    // Resource dictionary (2P + 18 = 24) names the images 25..27, pages 28..30.
    const QStringList res = r.lines(24);
    EXPECT_TRUE(res.contains("/Im1 25 0 R"));
    EXPECT_TRUE(res.contains("/Im3 27 0 R"));
    EXPECT_EQ(r.lines(23).mid(3, 3), QStringList({"28 0 R", "29 0 R", "30 0 R"}));
    EXPECT_EQ(r.lines(30).value(4), "/Contents 6 0 R");

    const QStringList im2 = r.lines(26);
    EXPECT_EQ(im2.mid(0, 12),
              QStringList({"26 0 obj", "<< /Type /XObject", "/Subtype /Image", "/Width 70",
                           "/Height 130", "/ColorSpace /DeviceRGB", "/BitsPerComponent 8",
                           QString("/Length %1").arg(r.stream(26).size()), "/Name /Im2",
                           "/Filter [/FlateDecode]", ">>", "stream"}));
    EXPECT_EQ(r.decodedStream(25, 82 * 100 * 3), rgbOf(a));
    EXPECT_EQ(r.decodedStream(26, 70 * 130 * 3), rgbOf(b));

    expectText(pdf.FileName, {"Seite 1 von 3", "Seite 2 von 3"});
}

TEST_F(MachPdf, TextsAreEscapedSoNoTextBreaksTheFile) {
    pdf.Title = "Werte (Januar) \\ Test";
    pdf.Author = "Jörg Müller";
    pdf.Subject = "Zeichen \u4E2D";
    pdf.Keywords = ") Tj ET";
    pdf.BeginneDokument();
    pdf.SchreibeText(10, 20, "Blutzucker (mg/dl) \\ Tag 3)");
    pdf.SchreibeText(10, 40, "Zeile\r\nzwei");
    pdf.SchreibeText(10, 60, "Grüße (");
    pdf.BeendeDokument();

    const QByteArray file = testutil::readBytes(pdf.FileName);
    const PdfReader r = readBack(pdf.FileName);
    const QStringList ops = split(r.decodedStream(2));
    EXPECT_EQ(ops.value(3), "(Blutzucker \\(mg/dl\\) \\\\ Tag 3\\)) Tj");
    EXPECT_EQ(ops.value(8), "(Zeile\\015\\012zwei) Tj");
    EXPECT_EQ(ops.value(13), QString::fromLatin1("(Gr\xFC\xDF"
                                                 "e \\() Tj"));

    const QStringList info = r.lines(1);
    EXPECT_TRUE(info.contains("/Title (Werte \\(Januar\\) \\\\ Test)"));
    EXPECT_TRUE(info.contains(QString::fromLatin1("/Author (J\xF6rg M\xFCller)")));
    EXPECT_TRUE(info.contains("/Keywords (\\) Tj ET)"));
    // Outside Latin-1 the text goes as UTF-16BE with byte-order mark.
    EXPECT_TRUE(
        file.contains(QByteArray("/Subject (") + QByteArray("\xFE\xFF", 2) + "\\000Z\\000e"));

    expectText(pdf.FileName, {"Blutzucker (mg/dl) \\ Tag 3)", QString::fromUtf8("Grüße (")});
}

TEST_F(MachPdf, FailuresAreReportedAndLeaveNoTemporaryFiles) {
    const QString tmpdir = tmp.path() + "tmp";
    QDir().mkpath(tmpdir);
    // TMPDIR points at a folder of the test, so the temporary image files can be counted.
    const QByteArray oldTmp = qgetenv("TMPDIR");
    qputenv("TMPDIR", QFile::encodeName(tmpdir));
    const auto restore = qScopeGuard([&] {
        if (oldTmp.isEmpty())
            qunsetenv("TMPDIR");
        else
            qputenv("TMPDIR", oldTmp);
    });

    // A picture that cannot be converted leaves the document as it was.
    pdf.FileName = tmp.file("fehlt/ordner/buch.pdf");
    pdf.BeginneDokument();
    pdf.ZeichneBild(0, 0, 8, 10, stripes(20, 20));
    EXPECT_EQ(tempImageFiles(tmpdir), 1);
    try {
        pdf.ZeichneBild(0, 0, 8, 10, QImage());
        ADD_FAILURE() << "empty picture accepted";
    } catch (const EPDFError &e) {
        EXPECT_TRUE(e.message().contains("Bild")) << e.message().toStdString();
    }
    EXPECT_EQ(pdf.ImageCount(), 1);

    // The target folder is missing: a German message naming the file, no
    // temporary file left behind.
    QString error;
    EXPECT_FALSE(pdf.BeendeDokument(&error));
    EXPECT_TRUE(error.contains("Der Ordner der Datei existiert nicht")) << error.toStdString();
    EXPECT_TRUE(error.contains("buch.pdf"));
    EXPECT_EQ(tempImageFiles(tmpdir), 0);
    EXPECT_FALSE(QFile::exists(pdf.FileName));
    EXPECT_FALSE(pdf.DocumentOpen());

    pdf.FileName.clear();
    pdf.BeginneDokument();
    EXPECT_THROW(pdf.BeendeDokument(), EPDFError);

    // A writer freed in the middle of a document removes its files too.
    {
        TmachPDF other;
        other.BeginneDokument();
        other.ZeichneBild(0, 0, 8, 10, stripes(5, 5));
        EXPECT_EQ(tempImageFiles(tmpdir), 1);
    }
    EXPECT_EQ(tempImageFiles(tmpdir), 0);

    // An existing file is replaced only by a complete new one.
    const QString target = tmp.file("alt.pdf");
    testutil::writeBytes(target, "alt");
    pdf.FileName = target;
    pdf.BeginneDokument();
    pdf.ZeichneBild(0, 0, 8, 10, stripes(5, 5));
    pdf.BeendeDokument();
    EXPECT_TRUE(PdfReader(testutil::readBytes(target)).errors().isEmpty());
    EXPECT_EQ(tempImageFiles(tmpdir), 0);
}

TEST_F(MachPdf, TwoWritersAtOnceAndARestartedDocument) {
    TmachPDF two;
    two.FileName = tmp.file("zwei.pdf");
    QImage red(10, 10, QImage::Format_RGB32), blue = red;
    red.fill(Qt::red);
    blue.fill(Qt::blue);
    pdf.BeginneDokument();
    two.BeginneDokument();
    pdf.ZeichneBild(0, 0, 8, 10, red);
    two.ZeichneBild(0, 0, 8, 10, blue);
    pdf.BeendeDokument();
    two.BeendeDokument();
    // P = 1, I = 1: the image is object 21.
    EXPECT_EQ(readBack(pdf.FileName).decodedStream(21, 300), rgbOf(red));
    EXPECT_EQ(readBack(two.FileName).decodedStream(21, 300), rgbOf(blue));

    // Starting again on the same writer forgets the earlier document.
    pdf.BeginneDokument();
    pdf.NeueSeite();
    pdf.BeendeDokument();
    EXPECT_EQ(readBack(pdf.FileName).size(), 2 * 2 + 19 + 2 + 1);
}

TEST_F(MachPdf, InvisibleTextLiesOverThePictureForSearchAndCopy) {
    pdf.Compress = false;
    pdf.PageHeight = 1000;
    pdf.BeginneDokument();
    pdf.ZeichneBild(30, 30, 8, 10, stripes(40, 20));
    pdf.Font.FontIndex = 1;
    pdf.SchreibeUnsichtbarenText(30.5, 50.254, 12.05, "Tag: 03 (Grüße)");
    pdf.SchreibeUnsichtbarenText(100, 80, 12, "Bemerkung: zweite Zeile");
    pdf.Font.FontIndex = 0;
    pdf.Font.FontSize = 10;
    pdf.SchreibeText(10, 20, "sichtbar");
    pdf.BeendeDokument();

    // Render mode 3 inside q and Q, so that the visible text after it is drawn.
    const PdfReader r = readBack(pdf.FileName);
    EXPECT_FALSE(r.hasFilter(21));
    EXPECT_EQ(split(r.stream(2)).mid(4).join(u'|'),
              QString::fromLatin1("q|BT|/F2 12.05 Tf|3 Tr|30.5 949.75 Td|(Tag: 03 \\(Gr\xFC\xDF"
                                  "e\\)) Tj|ET|Q|q|BT|/F2 12 Tf|3 Tr|100 920 Td|(Bemerkung: zweite "
                                  "Zeile) Tj|ET|Q|BT|/F1 10 Tf|10 980 Td|(sichtbar) Tj|ET"));
    expectText(pdf.FileName,
               {QString::fromUtf8("Tag: 03 (Grüße)"), "Bemerkung: zweite Zeile", "sichtbar"});
}

// A picture handed over in bands of rows, as the diary book draws its pages:
// the image holds the rows in order, whatever the band size; a picture in
// 24-bit rows with padding goes row by row; a transparent one lies on white.
TEST_F(MachPdf, PicturesComeInBandsOfRows) {
    const QImage whole = stripes(10, 7); // 30 bytes a row
    const QByteArray expected = rgbOf(whole);
    pdf.BeginneDokument();
    QList<int> asked;
    pdf.ZeichneBild(0, 0, 8, 10, QSize(10, 7), [&](int row, int *count) {
        asked << row;
        *count = 3 - row % 3; // bands of three rows
        return expected.constData() + row * 30;
    });
    pdf.ZeichneBild(0, 0, 8, 10, whole.convertToFormat(QImage::Format_RGB888)); // 32 bytes a row
    QImage clear(4, 2, QImage::Format_ARGB32);
    clear.fill(Qt::transparent);
    clear.setPixel(1, 1, qRgba(0, 128, 0, 255));
    pdf.ZeichneBild(0, 0, 1, 1, clear);
    pdf.BeendeDokument();
    EXPECT_EQ(asked, QList<int>({0, 3, 6}));
    const PdfReader r = readBack(pdf.FileName);
    EXPECT_EQ(r.decodedStream(21, 210), expected);
    EXPECT_EQ(r.decodedStream(22, 210), expected);
    QByteArray white(4 * 2 * 3, char(0xFF));
    EXPECT_EQ(r.decodedStream(23, 24),
              white.replace((4 + 1) * 3, 3, QByteArray("\x00\x80\x00", 3)));
    EXPECT_THROW(pdf.ZeichneBild(0, 0, 8, 10, QSize(), {}), EPDFError);
}

// A picture's data that cannot be kept until the end (the disk fills up):
// the message names the PDF file and the cause, never the temporary file.
TEST_F(MachPdf, PictureDataThatCannotBeKeptNamesThePdf) {
    const QString target = pdf.FileName;
    pdf.Compress = false;
    pdf.BeginneDokument();
    QImage picture(200, 200, QImage::Format_RGB32);
    picture.fill(Qt::white);
    const testutil::FileSizeLimit limit(4096);
    ASSERT_TRUE(limit.active());
    try {
        pdf.ZeichneBild(0, 0, 1, 1, picture);
        ADD_FAILURE() << "the picture's data was kept";
    } catch (const EPDFError &e) {
        EXPECT_EQ(e.message(), "Die PDF-Datei \"" + target +
                                   "\" konnte nicht geschrieben werden, weil die Bilddaten nicht "
                                   "zwischengespeichert werden konnten. " +
                                   textfile::reasonOf(EFBIG));
    }
}
