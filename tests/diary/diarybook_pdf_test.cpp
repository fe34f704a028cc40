#include <QDir>
#include <QFile>
#include <QFontMetrics>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTextDocument>
#include <QTextEdit>
#include <gtest/gtest.h>

#include "diary/diarybook_pdf.h"
#include "diary/tagebuchspeichernform.h"
#include "platform/ui.h"
#include "storage/entryline.h"
#include "testutil.h"

using namespace diarybook;

namespace {

QString run(const QString &tool, const QStringList &args, bool *ran) {
    const QString exe = QStandardPaths::findExecutable(tool);
    *ran = !exe.isEmpty();
    if (!*ran) return {};
    QProcess p;
    p.start(exe, args);
    p.waitForFinished(60000);
    return QString::fromUtf8(p.readAllStandardOutput() + p.readAllStandardError());
}

// qpdf --check passes and pdfinfo counts the pages (skipped without the tools).
void expectValidPdf(const QString &path, int pages) {
    bool ran = false;
    const QString check = run("qpdf", {"--check", path}, &ran);
    if (ran) {
        EXPECT_TRUE(check.contains("No syntax or stream encoding errors")) << check.toStdString();
    }
    const QString info = run("pdfinfo", {path}, &ran);
    if (ran) {
        const QRegularExpression re("Pages:\\s+(\\d+)");
        const auto m = re.match(info);
        ASSERT_TRUE(m.hasMatch()) << info.toStdString();
        EXPECT_EQ(m.captured(1).toInt(), pages);
    }
}

QString pageLine(int day) {
    return QStringLiteral("Tag%1: \t #BE: Morgens= 2\t|  M2= \t|  M3= \t|  Abends= 4\t #Insulin "
                          "(CT)  : Morgens= 8\t|  M2= \t|  M3= \t|  Abends=  \t #Bemerkung: Tag %2")
        .arg(day, 2, 10, QChar(u'0'))
        .arg(day);
}

DiaryBookInput bookOf(MeasureMode mode, int days, const QString &dataFolder = "/nirgends/") {
    DiaryBookInput in;
    in.mode = mode;
    for (int d = days; d >= 1; --d)
        in.pages << pageLine(d);
    in.pages = sortPages(in.pages);
    in.tableDateText = QStringLiteral("März 2024");
    in.tableUserText = QStringLiteral("Max Muster");
    in.dataFolder = dataFolder;
    in.entryYear = QStringLiteral("2024");
    for (int d = 1; d <= days; ++d)
        in.dayLineTexts[size_t(d - 1)] =
            entryline::format(MeasurementSlot::Morgens,
                              QStringLiteral("%1").arg(d, 2, 10, QChar(u'0')), "03", "2024",
                              "07:30", "120") +
            " -1 ";
    return in;
}

QImage numbered(int w, int h) {
    QImage img(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            img.setPixel(x, y, qRgb(y & 0xFF, (y >> 8) & 0xFF, 7));
    return img;
}

bool hasDarkPixels(const QImage &img) {
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if (qGray(img.pixel(x, y)) < 100) return true;
    return false;
}

} // namespace

TEST(DiaryBookSlices, FourSlotRemainderRule) {
    const SliceCount a = sliceCount(2040, MeasureMode::Four);
    EXPECT_EQ(a.pages(), 2); // 40 rows are dropped
    EXPECT_FALSE(a.restPage);
    const SliceCount b = sliceCount(2100, MeasureMode::Four);
    EXPECT_EQ(b.pages(), 3);
    EXPECT_EQ(b.rest, 100);
    EXPECT_EQ(sliceCount(2065, MeasureMode::Four).pages(), 2);
    EXPECT_EQ(sliceCount(2066, MeasureMode::Four).pages(), 3);
    EXPECT_EQ(sliceCount(30, MeasureMode::Four).pages(), 1);

    // The slices: rows of the book in order, the third page 100 rows high.
    const QImage book = numbered(823, 2100);
    const QImage s2 = fourSlotSlice(book, b, 1);
    EXPECT_EQ(s2.size(), QSize(823, 1000));
    EXPECT_EQ(s2.pixel(5, 0), book.pixel(5, 1000));
    EXPECT_EQ(s2.pixel(5, 999), book.pixel(5, 1999));
    const QImage s3 = fourSlotSlice(book, b, 2);
    EXPECT_EQ(s3.size(), QSize(823, 100));
    EXPECT_EQ(s3.pixel(0, 99), book.pixel(0, 2099));
    // A book shorter than a page: the rest of the slice is white.
    const QImage shortBook = numbered(823, 30);
    const QImage only = fourSlotSlice(shortBook, sliceCount(30, MeasureMode::Four), 0);
    EXPECT_EQ(only.height(), 1000);
    EXPECT_EQ(only.pixel(3, 500), qRgb(255, 255, 255));
}

TEST(DiaryBookSlices, EightSlotTurnedAndSqueezed) {
    QImage book(1300, 1700, QImage::Format_RGB32);
    book.fill(Qt::white);
    book.setPixel(0, 0, qRgb(255, 0, 0));       // start of the book, left edge
    book.setPixel(1299, 1699, qRgb(0, 0, 255)); // end of the book, right edge
    const QImage turned = turnBook(book);
    EXPECT_EQ(turned.size(), QSize(1700, 1300));
    EXPECT_EQ(turned.pixel(1699, 0), qRgb(255, 0, 0)); // left edge on top, start at the right
    EXPECT_EQ(turned.pixel(0, 1299), qRgb(0, 0, 255));

    const SliceCount c = sliceCount(1700, MeasureMode::Eight);
    EXPECT_EQ(c.full, 2);
    EXPECT_EQ(c.rest, 54);
    EXPECT_FALSE(c.restPage); // 54 is not more than 82
    EXPECT_EQ(c.pages(), 2);
    EXPECT_TRUE(sliceCount(1729, MeasureMode::Eight).restPage);

    // A black band in the first page's columns of the turned book lands in the
    // 700 squeezed columns; the 123 beyond stay white.
    QImage bar(1700, 1300, QImage::Format_RGB32);
    bar.fill(Qt::white);
    for (int y = 0; y < 1300; ++y)
        for (int x = 1700 - 823; x < 1700; ++x)
            bar.setPixel(x, y, qRgb(0, 0, 0));
    const QImage first = eightSlotSlice(bar, c, 0);
    EXPECT_EQ(first.size(), QSize(823, 1300));
    EXPECT_EQ(first.pixel(2, 600), qRgb(0, 0, 0));
    EXPECT_EQ(first.pixel(697, 600), qRgb(0, 0, 0));
    EXPECT_EQ(first.pixel(705, 600), qRgb(255, 255, 255));
    const QImage second = eightSlotSlice(bar, c, 1);
    EXPECT_EQ(second.pixel(350, 600), qRgb(255, 255, 255));
    // A remainder page sits at the right end of the 700 columns.
    const SliceCount r = sliceCount(1746, MeasureMode::Eight);
    ASSERT_TRUE(r.restPage);
    QImage tail(1746, 1300, QImage::Format_RGB32);
    tail.fill(Qt::black);
    const QImage last = eightSlotSlice(tail, r, 2);
    EXPECT_EQ(last.pixel(698, 10), qRgb(0, 0, 0));
    EXPECT_EQ(last.pixel(10, 10), qRgb(255, 255, 255));
}

TEST(DiaryBookPdf, BothModesWriteValidFilesWithPageNumbers) {
    testutil::TempFolder tmp;
    QFont font("Arial");
    font.setPixelSize(13);
    const bool haveFont = QFontMetrics(font).inFont(QChar(u'T'));

    // Four measurements: 12 diary pages fill about three printed pages.
    QTextDocument doc;
    composeBook(&doc, bookOf(MeasureMode::Four, 12));
    const QImage book = renderBook(doc, MeasureMode::Four);
    EXPECT_EQ(book.width(), 823);
    EXPECT_GT(book.height(), 2000);
    if (haveFont) {
        EXPECT_TRUE(hasDarkPixels(book.copy(0, 0, 823, 60)));
    }
    const QString four = tmp.file("vier.pdf");
    const int pages = writeBookPdf(four, book, MeasureMode::Four);
    EXPECT_EQ(pages, sliceCount(book.height(), MeasureMode::Four).pages());
    expectValidPdf(four, pages);
    bool ran = false;
    const QString text = run("pdftotext", {four, "-"}, &ran);
    if (ran) {
        EXPECT_TRUE(text.contains(QStringLiteral("Seite 1 von %1").arg(pages)));
        EXPECT_TRUE(text.contains(QStringLiteral("Seite %1 von %1").arg(pages)));
    }

    // Eight measurements: 9 diary pages; the page lines travel in the picture.
    QString error;
    int eightPages = 0;
    const QString eight = tmp.file("acht.pdf");
    ASSERT_TRUE(writeDiaryBook(bookOf(MeasureMode::Eight, 9), eight, &error, &eightPages))
        << error.toStdString();
    EXPECT_GE(eightPages, 3);
    expectValidPdf(eight, eightPages);
    const QString info = run("pdfinfo", {eight}, &ran);
    if (ran) {
        EXPECT_TRUE(info.contains("823 x 1300 pts")) << info.toStdString();
    }

    // The page image shows the book's text where it belongs: the first page
    // of the four-slot book has dark pixels near its top (the title).
    const QString ppm = QStandardPaths::findExecutable("pdftoppm");
    if (!ppm.isEmpty() && haveFont) {
        QProcess p;
        p.start(ppm, {"-png", "-r", "36", "-f", "1", "-l", "1", four, tmp.file("p")});
        p.waitForFinished(60000);
        QDir dir(tmp.path());
        const QStringList pngs = dir.entryList({"p*.png"});
        ASSERT_FALSE(pngs.isEmpty());
        const QImage page(tmp.file(pngs.first()));
        ASSERT_FALSE(page.isNull());
        EXPECT_TRUE(
            hasDarkPixels(page.copy(0, page.height() / 20, page.width(), page.height() / 10)));
    }

    // Eight-slot pages show the whole turned book: its start lies right of
    // 600 points across, the ends of its underscore lines (book columns up to
    // about 1240) low on the page.
    if (!ppm.isEmpty()) {
        QProcess p;
        p.start(ppm, {"-png", "-r", "36", "-f", "1", "-l", "1", eight, tmp.file("e")});
        p.waitForFinished(60000);
        const QStringList pngs = QDir(tmp.path()).entryList({"e*.png"});
        ASSERT_FALSE(pngs.isEmpty());
        const QImage page(tmp.file(pngs.first()));
        ASSERT_EQ(page.height(), 650); // 1300 points at half a pixel each
        EXPECT_TRUE(hasDarkPixels(page.copy(300, 0, 100, 650)));
        EXPECT_TRUE(hasDarkPixels(page.copy(0, 600, page.width(), 40)));
    }

    // Long lines wrap at the picture's width instead of being cut off.
    DiaryBookInput longRemark = bookOf(MeasureMode::Four, 1);
    const QImage shortBook = [&] {
        QTextDocument d;
        composeBook(&d, longRemark);
        return renderBook(d, MeasureMode::Four);
    }();
    longRemark.pages[0] += QString(60, u' ').replace(" ", " langer Text");
    QTextDocument d;
    composeBook(&d, longRemark);
    EXPECT_GT(renderBook(d, MeasureMode::Four).height(), shortBook.height() + 30);

    // A book without stored pages and a file that cannot be written are errors.
    DiaryBookInput none = bookOf(MeasureMode::Four, 0);
    none.pages = {"keine Seite"};
    EXPECT_FALSE(writeDiaryBook(none, tmp.file("leer.pdf"), &error));
    EXPECT_FALSE(QFile::exists(tmp.file("leer.pdf")));
    EXPECT_FALSE(writeDiaryBook(bookOf(MeasureMode::Four, 2), tmp.file("fehlt/x.pdf"), &error));
    EXPECT_FALSE(error.isEmpty());
}

TEST(DiaryBookWindow, CancelKeepsBookSaveWritesAndPrintOpens) {
    testutil::TempFolder tmp;
    ui::RecordingServices rec;
    TTagebuchSpeichernForm form;
    EXPECT_EQ(form.windowTitle(), "Tagebuch als PDF speichern / drucken");

    // Cancelled dialog: nothing written, the composed book stays.
    form.requestCompose(bookOf(MeasureMode::Four, 3, tmp.path()));
    form.FormPaint();
    EXPECT_FALSE(form.ComposeOnNextPaint);
    ASSERT_EQ(rec.dialogCalls.size(), 1);
    EXPECT_EQ(rec.dialogCalls[0], "save|PDF-Erstellung|" + tmp.path() +
                                      "2024/Glykovalin-Tagebuch März 2024 von Max Muster.pdf|"
                                      "Acrobat Format (*.pdf)");
    EXPECT_TRUE(form.RichEdit1->toPlainText().contains("Tag: 03"));
    EXPECT_TRUE(rec.opened.isEmpty());

    // "Drucken" asks again; the file is written and opened, the window emptied.
    rec.fileNames.enqueue(tmp.file("buch"));
    form.Drucken1Click();
    EXPECT_EQ(rec.dialogCalls.size(), 2);
    EXPECT_TRUE(QFile::exists(tmp.file("buch.pdf")));
    EXPECT_EQ(rec.opened, QStringList{tmp.file("buch.pdf")});
    EXPECT_TRUE(form.RichEdit1->toPlainText().isEmpty());
    EXPECT_EQ(form.result(), QDialog::Accepted);
    expectValidPdf(tmp.file("buch.pdf"), form.lastPageCount);

    // "Speichern als PDF-Datei" writes without opening.
    rec.clear();
    form.requestCompose(bookOf(MeasureMode::Eight, 5, tmp.path()));
    form.composeNow();
    rec.fileNames.enqueue(tmp.file("acht.pdf"));
    EXPECT_TRUE(form.SpeichernalsPDFDatei1Click());
    EXPECT_TRUE(rec.opened.isEmpty());
    EXPECT_TRUE(QFile::exists(tmp.file("acht.pdf")));

    // A file that cannot be written: a warning, and the book comes back for
    // another try.
    rec.clear();
    form.composeNow();
    rec.fileNames.enqueue(tmp.file("fehlt/buch.pdf"));
    form.Drucken1Click();
    ASSERT_EQ(rec.shown.size(), 1);
    EXPECT_EQ(rec.shown[0].kind, ui::Kind::Warning);
    EXPECT_TRUE(rec.opened.isEmpty());
    EXPECT_TRUE(form.RichEdit1->toPlainText().contains("Tag: 05"));
    EXPECT_FALSE(form.OpenAfterSaving);
    rec.fileNames.enqueue(tmp.file("zweiter.pdf"));
    form.Drucken1Click();
    EXPECT_TRUE(QFile::exists(tmp.file("zweiter.pdf")));
}
