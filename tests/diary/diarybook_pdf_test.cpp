#include <QAction>
#include <QDir>
#include <QFile>
#include <QFontMetricsF>
#include <QRegularExpression>
#include <QTextEdit>
#include <QTimer>
#include <gtest/gtest.h>

#include "cli/diarybook_cli.h"
#include "diary/diarybook_month.h"
#include "diary/diarybook_pdf.h"
#include "diary/tagebuchspeichernform.h"
#include "diarybook_folder.h"
#include "platform/textfile.h"
#include "platform/ui.h"
#include "recordingservices.h"
#include "storage/entryline.h"
#include "storage/monthtable.h"
#include "support/pdftools.h"
#include "testutil.h"

using namespace diarybook;

namespace {

// 170 characters, longer than a four-slot page is wide.
const QString kLongRemark = QStringLiteral(
    "Heute war ein Tag mit viel Bewegung: morgens Radfahren zur Arbeit, mittags Spaziergang im "
    "Park, abends Schwimmen; Werte stabil, keine Unterzuckerung, ganz ohne Hypo.");

// qpdf --check passes and the file has the pages.
void expectValidPdf(const QString &path, int pages) {
    QString report;
    EXPECT_TRUE(pdftools::valid(path, &report)) << report.toStdString();
    EXPECT_EQ(pdftools::pages(path), pages);
}

bool haveBookFont() {
    QFont font("Arial");
    font.setPixelSize(13);
    return QFontMetricsF(font).inFont(QChar(u'T'));
}

QString pageLine(int day, const QString &remark, MeasureMode mode) {
    const QString carb =
        mode == MeasureMode::Eight
            ? QStringLiteral("\t #BE: Morgens= 2\t|  M2= \t|  M3= \t|  M4= 1\t|  M5= \t|  M6= \t|  "
                             "M7= \t|  Abends= 4\t ")
            : QStringLiteral("\t #BE: Morgens= 2\t|  M2= \t|  M3= \t|  Abends= 4\t ");
    return QStringLiteral("Tag%1: ").arg(day, 2, 10, QChar(u'0')) + carb +
           QStringLiteral("#Insulin (CT)  : Morgens= 8\t|  M2= \t|  M3= \t|  Abends=  \t "
                          "#Bemerkung: ") +
           remark;
}

DiaryBookInput bookOf(MeasureMode mode, int days, const QString &dataFolder = "/nirgends/") {
    DiaryBookInput in;
    in.mode = mode;
    for (int d = days; d >= 1; --d)
        in.pages << pageLine(d, QStringLiteral("Tag %1").arg(d), mode);
    in.pages = sortPages(in.pages);
    in.tableDateText = QStringLiteral("März 2024");
    in.tableUserText = QStringLiteral("Max Muster");
    in.meanSuffixText = QStringLiteral(" -  Mittelwert: 120,00 mg/dl");
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

// Everything the page pictures of a book carry as text, page by page.
QList<QList<TextRun>> runsOf(const BookPages &book) {
    QList<QList<TextRun>> pages;
    for (int i = 0; i < book.pageCount(); ++i) {
        QList<TextRun> runs;
        EXPECT_FALSE(book.renderPage(i, &runs).isNull());
        pages << runs;
    }
    return pages;
}

QString joined(const QList<TextRun> &runs) {
    QStringList t;
    for (const TextRun &r : runs)
        t << r.text;
    return t.join(u' ');
}

bool hasDarkPixels(const QImage &img) {
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if (qGray(img.pixel(x, y)) < 100) return true;
    return false;
}

// Replaces the picture factory while it lives.
class FactoryOverride {
public:
    explicit FactoryOverride(PictureFactory f) : m_old(setPictureFactory(std::move(f))) {}
    ~FactoryOverride() { setPictureFactory(m_old); }

private:
    PictureFactory m_old;
};

// A folder like the program's with a four-slot month of March 2024 whose
// diary holds 14 pages, one of them with the long remark.
struct Folder {
    testutil::TempFolder tmp;
    QString table;
    QString old = QDir::currentPath();

    Folder() {
        textfile::writeLines(tmp.file("glykoval.ini"),
                             {"[Einstellung]", "BisZu4MessungenJeTag=1", "BisZu8MessungenJeTag=0"});
        QStringList diary;
        QList<int> days;
        for (int d = 14; d >= 1; --d) {
            diary << pageLine(d, d == 6 ? kLongRemark : QStringLiteral("Tag %1").arg(d),
                              MeasureMode::Four);
            days.prepend(d);
        }
        table = writeMarch2024(tmp.file("Glykovalin-Daten/"), days, diary);
        QDir::setCurrent(tmp.path());
    }
    ~Folder() { QDir::setCurrent(old); }

    DiaryBookInput input() const {
        monthread::Month month;
        QString error;
        EXPECT_TRUE(monthread::readWhole(table, month, &error)) << error.toStdString();
        return bookInput(month, tmp.file("Glykovalin-Daten/"), MeasureMode::Four,
                         GlucoseUnit::MgDl);
    }
};

} // namespace

// Four measurements: five diary pages a sheet, on portrait pages. (The
// eight-slot book's four a sheet on landscape pages: its PDF's test.)
TEST(DiaryBookPages, PrintedPagesHoldWholeDiaryPagesUpToTheModesNumber) {
    if (!haveBookFont()) GTEST_SKIP() << "no font for the book";
    const BookPages book(composeContent(bookOf(MeasureMode::Four, 12)));
    EXPECT_EQ(book.pageCount(), 3);
    EXPECT_EQ(book.geometry().pdfWidth, 823);
    EXPECT_EQ(book.geometry().pdfHeight, 1000);
    const auto pages = runsOf(book);
    EXPECT_TRUE(joined(pages[0]).contains("Tag: 05"));
    EXPECT_FALSE(joined(pages[0]).contains("Tag: 06"));
    EXPECT_TRUE(joined(pages[2]).contains("Tag: 12"));
}

TEST(DiaryBookPages, PagesAreDrawnBandByBandNeverOnOneGiantPicture) {
    QList<QSize> asked;
    FactoryOverride f([&asked](const QSize &size) {
        asked << size;
        return QImage(size, QImage::Format_RGB32);
    });
    DiaryBookInput in = bookOf(MeasureMode::Eight, 31);
    // A diary of 365 lines: every day many times over, each line its own page.
    for (int i = 0; i < 334; ++i)
        in.pages << pageLine(i % 31 + 1, QStringLiteral("Nachtrag %1").arg(i), MeasureMode::Eight);
    testutil::TempFolder tmp;
    QString error;
    int pages = 0;
    ASSERT_TRUE(writeDiaryBook(in, tmp.file("jahr.pdf"), &error, &pages)) << error.toStdString();
    EXPECT_EQ(pages, 92); // 365 diary pages, four a sheet
    // One picture for all pages: a band 1300 pixels across and 64 rows high,
    // of pages 799 rows high.
    EXPECT_EQ(pageGeometry(MeasureMode::Eight).pictureHeight, 799);
    EXPECT_EQ(asked, QList<QSize>{QSize(1300, 64)});
}

TEST(DiaryBookPages, LongLinesWrapInsideThePageAndLoseNoWord) {
    if (!haveBookFont()) GTEST_SKIP() << "no font for the book";
    QFont font("Arial");
    font.setPixelSize(13);
    font.setBold(true);
    const QFontMetricsF metrics(font);
    // A remark longer than a whole printed page, with a "word" wider than
    // the page. (The remark of 170 characters: the PDF's test.)
    QString huge;
    for (int i = 0; huge.size() < 9000; ++i)
        huge += QStringLiteral("Wort%1 ").arg(i);
    huge += QString(300, u'x');
    DiaryBookInput in = bookOf(MeasureMode::Four, 4);
    in.pages[2] = pageLine(3, huge, MeasureMode::Four);
    const BookPages book(composeContent(in));
    EXPECT_GE(book.pageCount(), 3);
    const auto pages = runsOf(book);
    QString all;
    for (const auto &runs : pages) {
        for (const TextRun &r : runs) {
            all += r.text + u' ';
            // Every piece ends inside the picture.
            EXPECT_LE(r.baseline.x() + metrics.horizontalAdvance(r.text),
                      book.geometry().pictureWidth + 0.5)
                << r.text.toStdString();
        }
    }
    // The long one goes on over pages; its words stay in order, the wide
    // word is broken but complete.
    QString flat = all.simplified();
    flat.remove(QRegularExpression(" ?Glykovalin-Tagebuch März 2024 von Max Muster - Mittelwert: "
                                   "120,00 mg/dl Seite \\d von \\d"));
    EXPECT_TRUE(flat.remove(' ').contains(QString("Bemerkung:" + huge).remove(' ')));
    EXPECT_TRUE(all.simplified().contains("Tag: 04"));
}

TEST(DiaryBookPdf, EightSlotBookNamesTitleNameMonthAndPageOnEveryPage) {
    if (!pdftools::haveTools()) GTEST_SKIP() << "PDF tools missing";
    testutil::TempFolder tmp;
    QString error;
    int pages = 0;
    const QString path = tmp.file("acht.pdf");
    ASSERT_TRUE(writeDiaryBook(bookOf(MeasureMode::Eight, 31), path, &error, &pages))
        << error.toStdString();
    EXPECT_EQ(pages, 8);
    expectValidPdf(path, pages);
    EXPECT_TRUE(pdftools::info(path, "Page size").startsWith("1300 x 823 pts"));
    int day = 0;
    for (int p = 1; p <= pages; ++p) {
        const QString text = pdftools::text(path, p).simplified();
        EXPECT_TRUE(text.startsWith("Glykovalin-Tagebuch März 2024 von Max Muster - Mittelwert: "
                                    "120,00 mg/dl"))
            << p << text.toStdString();
        EXPECT_TRUE(text.contains(QStringLiteral("Seite %1 von %2").arg(p).arg(pages)));
        for (qsizetype at = text.indexOf("Tag: "); at >= 0; at = text.indexOf("Tag: ", at + 1))
            EXPECT_EQ(text.mid(at, 7), QStringLiteral("Tag: %1").arg(++day, 2, 10, QChar(u'0')));
        EXPECT_TRUE(text.contains("Messwerte [mg/dl]: Morgens (07:30) = 120 | M2 ( ? ) = ?"));
    }
    EXPECT_EQ(day, 31);

    // The picture stands upright: the title's ink at the top left.
    if (!haveBookFont()) return;
    const QImage page = pdftools::render(path, 1, 36);
    ASSERT_EQ(page.size(), QSize(650, 412)); // half a pixel per point, landscape
    EXPECT_TRUE(hasDarkPixels(page.copy(15, 15, 100, 12)));
    EXPECT_FALSE(hasDarkPixels(page.copy(0, 0, 650, 14))); // the margin above stays white
    EXPECT_FALSE(hasDarkPixels(page.copy(636, 0, 14, 412)));
}

TEST(DiaryBookPdf, LongRemarkIsCompleteInTheWindowsAndTheToolsBook) {
    if (!pdftools::haveTools()) GTEST_SKIP() << "PDF tools missing";
    Folder f;
    // The tool's book.
    QString outText, errText;
    QTextStream out(&outText), err(&errText);
    ASSERT_EQ(diaryPdfCommand(f.table, "werkzeug.pdf", out, err), 0) << errText.toStdString();
    // The window's book, through "Drucken".
    ui::RecordingServices rec;
    TTagebuchSpeichernForm form(rec);
    rec.fileNames.enqueue(f.tmp.file("fenster.pdf"));
    form.showBook(f.input());
    ASSERT_TRUE(rec.shown.isEmpty()) << rec.texts().join("\n").toStdString();
    EXPECT_EQ(rec.opened, QStringList{f.tmp.file("fenster.pdf")});

    const QString tool = pdftools::text(f.tmp.file("werkzeug.pdf"));
    const QString window = pdftools::text(f.tmp.file("fenster.pdf"));
    EXPECT_TRUE(tool.simplified().contains("Bemerkung: " + kLongRemark.simplified()))
        << tool.toStdString();
    // One way to the book: the same pages with the same text.
    EXPECT_EQ(form.lastPageCount(), 3);
    expectValidPdf(f.tmp.file("werkzeug.pdf"), 3);
    EXPECT_EQ(tool, window);

    // Every word lies inside the page, right of the margin's edge never.
    const QList<pdftools::Word> words = pdftools::words(f.tmp.file("werkzeug.pdf"));
    for (const pdftools::Word &w : words)
        EXPECT_LE(w.xMax, 823 - 30 + 1) << w.text.toStdString();
    EXPECT_GT(words.size(), 300);
}

TEST(DiaryBookPdf, FailuresAreReportedAndWriteNothing) {
    testutil::TempFolder tmp;
    const QString target = tmp.file("buch.pdf");
    testutil::writeBytes(target, "alt");
    QString error;

    // A page picture that cannot be allocated: a German message, the old file stays.
    {
        FactoryOverride f([](const QSize &) { return QImage(); });
        EXPECT_FALSE(writeDiaryBook(bookOf(MeasureMode::Four, 12), target, &error));
        EXPECT_EQ(error, "Für die Seiten des Tagebuchs ist nicht genug Arbeitsspeicher frei. Die "
                         "PDF-Datei \"" +
                             target + "\" wurde nicht geschrieben.");
        EXPECT_EQ(testutil::readBytes(target), "alt");
    }
    // A target that cannot be written: a file stands where the folder should be.
    testutil::writeBytes(tmp.file("blockiert"), "x");
    EXPECT_FALSE(
        writeDiaryBook(bookOf(MeasureMode::Eight, 2), tmp.file("blockiert/b.pdf"), &error));
    EXPECT_TRUE(error.contains("Ein Teil des Pfades ist kein Ordner")) << error.toStdString();
    // No stored page.
    DiaryBookInput none = bookOf(MeasureMode::Four, 0);
    none.pages = {"keine Seite"};
    EXPECT_FALSE(writeDiaryBook(none, tmp.file("leer.pdf"), &error));
    EXPECT_EQ(error, "Es sind keine Tagebuchseiten gespeichert.");
    EXPECT_FALSE(QFile::exists(tmp.file("leer.pdf")));
}

TEST(DiaryBookWindow, CancelKeepsBookSaveWritesPrintOpensAndTheNameStaysInTheYear) {
    testutil::TempFolder tmp;
    ui::RecordingServices rec;
    TTagebuchSpeichernForm form(rec);
    auto &book = testutil::child<QTextEdit>(form, "RichEdit1");
    auto menu = [&form](const char *entry) { testutil::child<QAction>(form, entry).trigger(); };

    // The menu command: the book is shown and "Drucken" asks for the file at
    // once; cancelled, nothing is written and the window stays with the book.
    QString shownAfter;
    QTimer::singleShot(0, &form, [&] {
        // After "Drucken", which runs once the window is shown.
        QTimer::singleShot(0, &form, [&] {
            shownAfter = book.toPlainText();
            form.reject();
        });
    });
    form.showBook(bookOf(MeasureMode::Four, 3, tmp.path()));
    ASSERT_EQ(rec.dialogCalls.size(), 1);
    EXPECT_EQ(rec.dialogCalls[0], "save|PDF-Erstellung|" + tmp.path() +
                                      "2024/Glykovalin-Tagebuch März 2024 von Max Muster.pdf|"
                                      "Acrobat Format (*.pdf)");
    EXPECT_TRUE(shownAfter.contains("Tag: 03"));
    EXPECT_TRUE(rec.opened.isEmpty());

    // "Drucken" asks again; the file is written and opened, the window emptied.
    rec.fileNames.enqueue(tmp.file("buch"));
    menu("Drucken1");
    EXPECT_EQ(rec.dialogCalls.size(), 2);
    EXPECT_EQ(rec.opened, QStringList{tmp.file("buch.pdf")});
    EXPECT_TRUE(book.toPlainText().isEmpty());
    EXPECT_EQ(form.result(), QDialog::Accepted);

    // The book of five days composed anew and written by the menu entry.
    auto bookBy = [&](const char *entry, const QString &file) {
        rec.clear();
        form.compose(bookOf(MeasureMode::Eight, 5, tmp.path()));
        rec.fileNames.enqueue(file);
        menu(entry);
    };
    // "Speichern als PDF-Datei" writes without opening.
    bookBy("SpeichernalsPDFDatei1", tmp.file("acht.pdf"));
    EXPECT_TRUE(rec.opened.isEmpty());
    EXPECT_EQ(form.lastFileName(), tmp.file("acht.pdf"));
    EXPECT_TRUE(QFile::exists(tmp.file("acht.pdf")));

    // A file that cannot be written: a warning, and the book comes back for
    // another try.
    bookBy("Drucken1", tmp.file("fehlt/buch.pdf"));
    ASSERT_EQ(rec.shown.size(), 1);
    EXPECT_EQ(rec.shown[0].kind, ui::Kind::Warning);
    EXPECT_TRUE(rec.shown[0].text.contains("Der Ordner der Datei existiert nicht"));
    EXPECT_TRUE(rec.opened.isEmpty());
    EXPECT_TRUE(book.toPlainText().contains("Tag: 05"));
    // Saving after the failure does not open the file.
    rec.fileNames.enqueue(tmp.file("zweiter.pdf"));
    menu("SpeichernalsPDFDatei1");
    EXPECT_TRUE(QFile::exists(tmp.file("zweiter.pdf")));
    EXPECT_TRUE(rec.opened.isEmpty());

    // No program opens PDF files: the user learns where the file is.
    rec.shellResult = false;
    bookBy("Drucken1", tmp.file("dritter.pdf"));
    EXPECT_TRUE(QFile::exists(tmp.file("dritter.pdf")));
    ASSERT_EQ(rec.shown.size(), 1);
    EXPECT_EQ(rec.shown[0].kind, ui::Kind::Warning);
    EXPECT_EQ(rec.shown[0].text, "Die PDF-Datei des Tagebuchs konnte nicht mit dem zugehörigen "
                                 "Programm geöffnet werden. Sie ist gespeichert unter:\n" +
                                     tmp.file("dritter.pdf"));

    // The proposed name stays in the year folder, whatever the user's name,
    // the date text and the year hold.
    DiaryBookInput in = bookOf(MeasureMode::Four, 1, "/daten/Glykovalin-Daten/");
    in.tableUserText = "Max/../../../etc/x";
    form.compose(in);
    QString name = form.defaultFileName();
    EXPECT_EQ(name, "/daten/Glykovalin-Daten/2024/Glykovalin-Tagebuch März 2024 von "
                    "Max_._._._etc_x.pdf");
    EXPECT_EQ(QFileInfo(name).absolutePath(), "/daten/Glykovalin-Daten/2024");

    // Characters that file systems refuse, control characters, and a year
    // that is no year.
    in.tableUserText = "A:B*C?\"D\"<E>|F\\G\tH\n..";
    in.tableDateText = "..";
    in.entryYear = "../x";
    form.compose(in);
    name = form.defaultFileName();
    EXPECT_EQ(name, "/daten/Glykovalin-Daten/Glykovalin-Tagebuch . von A_B_C__D__E__F_G_H_.pdf");
    EXPECT_EQ(QFileInfo(name).absolutePath(), "/daten/Glykovalin-Daten");
}
