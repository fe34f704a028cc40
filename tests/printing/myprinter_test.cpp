#include <QCoreApplication>
#include <QFontDatabase>
#include <QImage>
#include <QPainter>
#include <QScrollBar>
#include <QTimer>
#include <gtest/gtest.h>

#include "pdfprinter.h"
#include "platform/textfile.h"
#include "printing/myprinter.h"
#include "support/pdftools.h"
#include "testutil.h"

namespace {

// The text of each page of a PDF, in order.
QStringList pdfPageTexts(const QString &pdf) {
    QStringList pages = pdftools::text(pdf, 0, true).split(QChar(12));
    pages.removeLast(); // what follows the last page's form feed
    return pages;
}

// The page numbers "Seite N" found on each page, in print order.
QStringList pageNumbers(const QString &pdf) {
    QStringList seq;
    for (const QString &page : pdfPageTexts(pdf)) {
        const qsizetype at = page.indexOf(QStringLiteral("Seite "));
        seq << (at < 0 ? QStringLiteral("?") : page.mid(at + 6).section(u' ', 0, 0).trimmed());
    }
    return seq;
}

} // namespace

// The engine on an A4 PDF printer, lengths in millimetres.
class MyPrinter : public ::testing::Test {
protected:
    PdfPrinter pp;
    TMyPrinter p{nullptr, &pp.printer};

    void margins(double left, double top, double right, double bottom) {
        p.setMasseinheit(muMillimeters);
        p.setRandLeft(left);
        p.setRandTop(top);
        p.setRandRight(right);
        p.setRandBottom(bottom);
    }
    // A document of the given pages, one line each.
    void pages(const QStringList &texts) {
        p.BeginDoc();
        for (qsizetype i = 0; i < texts.size(); ++i) {
            if (i > 0) p.NewPage();
            p.WriteLine(texts[i]);
        }
        p.EndDoc();
    }
    // The lines of the text file written by `write` between BeginDoc and EndDoc.
    QStringList toFile(const std::function<void()> &write) {
        const QString file = pp.dir.file(QStringLiteral("druck.txt"));
        p.setPrintToFile(true);
        p.setFileName(file);
        p.BeginDoc();
        write();
        p.EndDoc();
        QStringList lines;
        textfile::readLines(file, lines);
        return lines;
    }
    bool canPrintPdf() const {
        const QStringList f = QFontDatabase::families();
        return pdftools::available() && (f.contains(QStringLiteral("Liberation Mono")) ||
                                         f.contains(QStringLiteral("Courier New")));
    }
};

TEST_F(MyPrinter, DefaultsAndGeometryFromPrinter) {
    EXPECT_EQ(p.Masseinheit(), muInches);
    EXPECT_EQ(p.ZoomPercent(), 25u);
    EXPECT_EQ(p.TabSize(), 8u);
    EXPECT_EQ(p.TokenSeparator(), QChar(124));
    EXPECT_TRUE(p.WordWrap());
    EXPECT_TRUE(p.Collate());
    EXPECT_EQ(p.Copies(), 1u);
    p.setCopies(0);
    EXPECT_EQ(p.Copies(), 1u);
    EXPECT_EQ(p.ShadowOffset(), 5u);
    EXPECT_EQ(p.font().family(), QStringLiteral("Courier New"));
    EXPECT_EQ(p.font().pointSize(), 10);
    EXPECT_EQ(p.KopfFont(), p.font());
    EXPECT_EQ(p.PageNumber(), 0);
    EXPECT_EQ(p.dpiX(), 1200);
    // A4 and the 5 mm unprintable border; margins start at that border.
    PdfPrinter bordered;
    bordered.printer.setPageMargins(QMarginsF(5, 5, 5, 5), QPageLayout::Millimeter);
    TMyPrinter q(nullptr, &bordered.printer);
    q.setMasseinheit(muMillimeters);
    EXPECT_NEAR(q.PageWidth(), 210.0, 0.1);
    EXPECT_NEAR(q.PageHeight(), 297.0, 0.1);
    EXPECT_NEAR(q.MinLeft(), 5.0, 0.1);
    EXPECT_NEAR(q.MinTop(), 5.0, 0.1);
    EXPECT_NEAR(q.RandLeft(), q.MinLeft(), 1e-9);
    EXPECT_NEAR(q.RandBottom(), q.MinBottom(), 1e-9);

    // Clamping to the unprintable border and to the paper.
    q.setRandLeft(2);
    EXPECT_NEAR(q.RandLeft(), q.MinLeft(), 1e-9);
    q.setRandTop(1000);
    EXPECT_NEAR(q.RandTop(), q.PageHeight() - q.MinBottom(), 1e-9);
    q.setRandRight(-3);
    EXPECT_NEAR(q.RandRight(), q.MinRight(), 1e-9);
    q.setRandBottom(20);
    EXPECT_DOUBLE_EQ(q.RandBottom(), 20.0);
    q.setRandTop(15);
    q.setRandLeft(19);
    q.setRandRight(10);
    // Text area in printer pixels at 1200 dpi.
    EXPECT_NEAR(q.textWidthPx(), (q.PageWidth() - 29.0) / 25.4 * 1200, 3);
    EXPECT_NEAR(q.textHeightPx(), (q.PageHeight() - 35.0) / 25.4 * 1200, 3);

    // Unit change: every length is converted, formats are rewritten.
    q.setPageBorderOffset(2.54);
    q.setDefaultColWidth(25.4);
    q.setTableFormat(QStringLiteral(">50.8|^-25.4||<"));
    q.setMasseinheit(muInches);
    EXPECT_NEAR(q.RandLeft(), 19 / 25.4, 1e-9);
    EXPECT_NEAR(q.RandRight(), 10 / 25.4, 1e-9);
    EXPECT_NEAR(q.RandTop(), 15 / 25.4, 1e-9);
    EXPECT_NEAR(q.RandBottom(), 20 / 25.4, 1e-9);
    EXPECT_NEAR(q.PageBorderOffset(), 0.1, 1e-9);
    EXPECT_NEAR(q.DefaultColWidth(), 1.0, 1e-9);
    EXPECT_EQ(q.TableFormat(), QStringLiteral(">2|^-1|<|<"));
    q.setMasseinheit(muMillimeters);
    EXPECT_NEAR(q.RandLeft(), 19.0, 1e-9);
    EXPECT_NEAR(q.RandTop(), 15.0, 1e-9);
    EXPECT_EQ(q.TableFormat(), QStringLiteral(">50.8|^-25.4|<|<"));

    // Orientation follows the printer.
    q.setOrientation(QPageLayout::Landscape);
    EXPECT_EQ(bordered.printer.pageLayout().orientation(), QPageLayout::Landscape);
    EXPECT_NEAR(q.PageWidth(), 297.0, 0.1);
}

TEST_F(MyPrinter, SettersRefuseWhilePrinting) {
    const double top = p.RandTop();
    p.BeginDoc();
    auto message = [](const std::function<void()> &f) {
        try {
            f();
        } catch (const EPagePrinter &e) {
            return e.message();
        }
        return QString();
    };
    const std::pair<std::function<void()>, const char *> refused[] = {
        {[&] { p.setRandTop(1); }, "Unable to change top Rand while printing"},
        {[&] { p.setRandBottom(1); }, "Unable to change bottom Rand while printing"},
        {[&] { p.setRandLeft(1); }, "Unable to change left Rand while printing"},
        {[&] { p.setRandRight(1); }, "Unable to change right Rand while printing"},
        {[&] { p.setOrientation(QPageLayout::Landscape); },
         "Unable to change orientation while printing"},
        {[&] { p.setPrintToFile(true); }, "Can't change PrintToFile while printing"},
        {[&] { p.setFileName(QStringLiteral("x")); }, "Can't change FileName while printing"},
    };
    for (const auto &[change, text] : refused)
        EXPECT_EQ(message(change), QString::fromLatin1(text));
    EXPECT_DOUBLE_EQ(p.RandTop(), top);
    EXPECT_EQ(p.Orientation(), QPageLayout::Portrait);
    p.EndDoc();
    // A document without lines still has one page.
    EXPECT_EQ(p.PageCount(), 1);
    EXPECT_EQ(p.PageNumber(), 1);
    EXPECT_EQ(message([&] { p.setPageNumber(2); }),
              QStringLiteral("PageNumber must be between 1 and 1"));
    EXPECT_EQ(p.PageNumber(), 1);
    p.setFileName(QStringLiteral("  /tmp/a b.txt  "));
    EXPECT_EQ(p.FileName(), QStringLiteral("/tmp/a b.txt"));

    // Page range rules.
    p.setFromPage(2);
    EXPECT_EQ(p.ToPage(), 2);
    p.setToPage(1);
    EXPECT_EQ(p.FromPage(), 1);
    p.setToPage(0);
    EXPECT_EQ(p.FromPage(), 0);
}

TEST_F(MyPrinter, LineHeightFollowsSpacing) {
    const int h = int(std::lround(10 * 1200 / 72.0)); // 10 points at 1200 dpi
    EXPECT_EQ(p.lineHeightPx(), h);
    for (const auto &[spacing, height] :
         {std::pair{lsHalfSpace, h / 2}, {lsSingleAndAHalf, h + h / 2}, {lsDoubleSpace, 2 * h}}) {
        p.setZeilenAbstand(spacing);
        EXPECT_EQ(p.lineHeightPx(), height);
    }
    // Lines written at double spacing are two font heights apart.
    int lines = 0, perPage = 0;
    p.OnNewLine = [&] { ++lines; };
    p.BeginDoc();
    for (const int pages = p.PageCount(); p.PageCount() == pages; ++perPage)
        p.WriteLine(QStringLiteral("x"));
    p.EndDoc();
    // Lines fit while y + line height stays below the text height; the last
    // one's line end opened the next page.
    int expected = 0;
    for (int y = 0; y + 2 * h < p.textHeightPx(); y += 2 * h)
        ++expected;
    EXPECT_EQ(perPage, expected);
    EXPECT_GT(lines, perPage);
}

TEST_F(MyPrinter, FileOutputWrapsCutsTabsAndAligns) {
    margins(20, 10, 20, 10);
    const int tw = p.textWidthPx();
    const int perLine = tw / int(p.textWidth(QStringLiteral(" "))); // Courier is monospaced
    ASSERT_GT(perLine, 20);

    QStringList words;
    for (int i = 0; i < 40; ++i)
        words << QStringLiteral("wort%1").arg(i, 2, 10, QChar(u'0'));
    const QString longText = words.join(u' ');

    const QStringList lines = toFile([&] {
        p.WriteLine(QStringLiteral("a\tb\tc"));
        p.WriteLine(QStringLiteral("123456789\tz"));
        p.WriteLine(longText);
        p.WriteLine(QString(perLine * 2 + 5, u'X'));
        p.setWordWrap(false);
        p.WriteLine(longText);
        p.setWordWrap(true);
        p.setAlignment(taRightJustify);
        p.WriteLine(QStringLiteral("rechts"));
        p.setAlignment(taCenter);
        p.WriteLine(QStringLiteral("mitte"));
        p.setAlignment(taLeftJustify);
        p.NewPage();
        p.WriteLine(QStringLiteral("zweite Seite"));
    });
    EXPECT_EQ(p.PageCount(), 0); // a text file has no recorded pages
    ASSERT_GE(lines.size(), 8);
    int i = 0;
    EXPECT_EQ(lines[i++], QStringLiteral("a       b       c"));
    EXPECT_EQ(lines[i++], QStringLiteral("123456789       z"));
    // Wrapped at blanks: every piece fits, the blanks at the breaks are gone.
    QStringList pieces;
    for (; lines[i].startsWith(QStringLiteral("wort")); ++i) {
        EXPECT_LE(p.textWidth(lines[i].trimmed()), tw) << lines[i].toStdString();
        EXPECT_FALSE(lines[i].startsWith(u' '));
        pieces << lines[i].trimmed();
    }
    EXPECT_GT(pieces.size(), 2);
    EXPECT_EQ(pieces.join(u' '), longText);
    // A word wider than the text area is cut inside the word; without
    // wrapping only the fitting prefix is written.
    EXPECT_EQ(lines.mid(i, 4), QStringList({QString(perLine, u'X'), QString(perLine, u'X'),
                                            QString(5, u'X'), longText.left(perLine)}));
    i += 4;
    EXPECT_EQ(lines[i++], QString(perLine - 6, u' ') + QStringLiteral("rechts"));
    EXPECT_EQ(lines[i++], QString((perLine - 5) / 2, u' ') + QStringLiteral("mitte"));
    EXPECT_EQ(lines[i++], QStringLiteral("\fzweite Seite"));
    EXPECT_EQ(lines.size(), i);
}

// A damaged line far longer than a page is wide is wrapped like any other:
// every piece fits, nothing is lost but the blanks at the breaks, and words
// longer than a line are cut inside.
TEST_F(MyPrinter, DamagedLongLineWrapsLikeAnyOther) {
    p.setMasseinheit(muMillimeters);
    QString text;
    for (int i = 0; text.size() < 3 * TMyPrinter::kLongLine; ++i)
        text += (i % 7 == 6 ? QString(300, u'Z') : QStringLiteral("wort%1").arg(i)) + u' ';
    text = text.trimmed();
    QString joined;
    for (QString line : toFile([&] { p.WriteLine(text); })) {
        line.remove(QChar(12));
        EXPECT_LE(p.textWidth(line), p.textWidthPx()) << line.toStdString();
        if (!joined.isEmpty() && !joined.endsWith(u'Z')) joined += u' ';
        joined += line;
    }
    EXPECT_EQ(joined.remove(u' '), text.remove(u' '));

    // In a large font the whole line is tens of millions of printer pixels
    // wide, more than a text width can be measured in: it is wrapped all the
    // same, not written as one line.
    QFont big = p.font();
    big.setPointSize(120);
    p.setFont(big);
    const QStringList lines = toFile([&] { p.WriteLine(QString(40000, u'W')); });
    EXPECT_GT(lines.size(), 1000);
    EXPECT_EQ(lines.join(QString()).remove(QChar(12)), QString(40000, u'W'));
}

TEST_F(MyPrinter, AmpersandCode) {
    margins(10, 10, 10, 10);
    const QString w2 = QLocale().toString((p.PageWidth() - 20) / 2, 'f', 2);
    const QString w1 = QLocale().toString(p.PageWidth() - 20, 'f', 2);
    const struct {
        QString code, text, format;
    } cases[] = {
        {"&lTabelle&rSeite &p", "Tabelle|Seite {$PAGE}", "<" + w2 + "|>" + w2},
        {"A&&B &x &i", "A&B   {$TITLE}", "<" + w1},
        {"links&rrechts", "links|rechts", "<" + w2 + "|>" + w2},
    };
    for (const auto &c : cases) {
        p.setFutKopf(c.code);
        EXPECT_EQ(p.Kopf(), c.text);
        EXPECT_EQ(p.KopfFormat(), c.format);
    }
    p.setFutFuss(QStringLiteral("&cSeite &p"));
    EXPECT_EQ(p.Fuss(), QStringLiteral("Seite {$PAGE}"));
    EXPECT_EQ(p.FussFormat(), QStringLiteral("^") + w1);
    p.setFileName(QStringLiteral("/daten/MM032024.txt"));
    p.setFutKopf(QStringLiteral("&f"));
    EXPECT_EQ(p.Kopf(), QStringLiteral("MM032024.txt"));
    p.setFutKopf(QStringLiteral("&t"));
    EXPECT_EQ(p.Kopf().size(), 5);
    // A unit change makes the code's columns anew in the new unit.
    p.setFutKopf(QStringLiteral("&cSeite &p"));
    p.setMasseinheit(muInches);
    EXPECT_EQ(p.KopfFormat(),
              QStringLiteral("^") +
                  QLocale().toString(p.PageWidth() - p.RandLeft() - p.RandRight(), 'f', 2));

    // Header and footer in a text file: header first, footer closes the page.
    p.setMasseinheit(muMillimeters);
    p.setFutKopf(QStringLiteral("&lKopf&rSeite &p"));
    p.setTitle(QStringLiteral("Titel"));
    p.setFutFuss(QStringLiteral("&l&i"));
    const QStringList lines = toFile([&] {
        p.WriteLine(QStringLiteral("eins"));
        p.NewPage();
        p.WriteLine(QStringLiteral("zwei"));
    });
    ASSERT_EQ(lines.size(), 6);
    EXPECT_TRUE(lines[0].trimmed().startsWith(QStringLiteral("Kopf")));
    EXPECT_TRUE(lines[0].endsWith(QStringLiteral("Seite 1")));
    EXPECT_TRUE(lines[3].startsWith(QChar(12)));
    EXPECT_TRUE(lines[3].endsWith(QStringLiteral("Seite 2")));
    EXPECT_EQ(QStringList({lines[1], lines[2].trimmed(), lines[4], lines[5].trimmed()}),
              QStringList({"eins", "Titel", "zwei", "Titel"}));
}

TEST_F(MyPrinter, LongTablePaginatesWithHeaderAndFooterOnEveryPage) {
    if (!canPrintPdf()) GTEST_SKIP() << "fonts or poppler missing";
    margins(10, 20, 10, 20);
    p.setFutKopf(QStringLiteral("&lGlykovalin&rSeite &p"));
    p.setFutFuss(QStringLiteral("&cFusszeile &p"));
    p.BeginDoc();
    for (int i = 1; i <= 150; ++i)
        p.WriteLine(QStringLiteral("%1 | Morgens | 120 | Zeile%2").arg(i, 3).arg(i));
    p.EndDoc();
    EXPECT_GT(p.PageCount(), 2);
    ASSERT_TRUE(p.Print());
    const QStringList texts = pdfPageTexts(pp.path);
    ASSERT_EQ(texts.size(), p.PageCount());
    for (int n = 0; n < texts.size(); ++n) {
        for (const QString &t :
             {QStringLiteral("Glykovalin"), QStringLiteral("Seite %1").arg(n + 1),
              QStringLiteral("Fusszeile %1").arg(n + 1)})
            EXPECT_TRUE(texts[n].contains(t)) << n << t.toStdString();
    }
    EXPECT_TRUE(texts.last().contains(QStringLiteral("Zeile150")));
    // Header above the text, footer below it, on the real page.
    const QRect box = pdftools::darkBox(pdftools::render(pp.path, 1, 50));
    const double mmPerPx = 25.4 / 50;
    EXPECT_LT(box.top() * mmPerPx, 20.0);
    EXPECT_GT(box.bottom() * mmPerPx, 297.0 - 20.0);
}

TEST_F(MyPrinter, CopiesCollationAndPageRange) {
    if (!canPrintPdf()) GTEST_SKIP() << "fonts or poppler missing";
    p.setFutKopf(QStringLiteral("&cSeite &p"));
    pages({"eins", "zwei", "drei"});
    ASSERT_EQ(p.PageCount(), 3);
    p.setCopies(2);
    p.setCollate(false);
    pp.printer.setCopyCount(4);
    ASSERT_TRUE(p.Print());
    EXPECT_EQ(pageNumbers(pp.path).join(u','), QStringLiteral("1,1,2,2,3,3"));
    EXPECT_EQ(pp.printer.copyCount(), 4); // the printer's own count is given back
    p.setCollate(true);
    ASSERT_TRUE(p.Print());
    EXPECT_EQ(pageNumbers(pp.path).join(u','), QStringLiteral("1,2,3,1,2,3"));
    p.setCopies(1);
    p.setFromPage(5);
    ASSERT_TRUE(p.Print());
    EXPECT_EQ(pageNumbers(pp.path).join(u','), QStringLiteral("3"));
    p.setToPage(0);
    p.setFromPage(2);
    EXPECT_EQ(p.ToPage(), 2);
    ASSERT_TRUE(p.Print());
    EXPECT_EQ(pageNumbers(pp.path).join(u','), QStringLiteral("2"));

    // An empty document prints one sheet.
    p.setToPage(0);
    p.setFutKopf(QString());
    pages({});
    ASSERT_TRUE(p.Print());
    EXPECT_EQ(pdftools::pages(pp.path), 1);
}

TEST_F(MyPrinter, CancelStopsPrinting) {
    pages({"eins", "zwei"});
    pp.printer.setCopyCount(3);
    // A cancel request arriving through the message processing between pages.
    QTimer::singleShot(0, &p, [&] { p.RequestCancel(); });
    EXPECT_FALSE(p.Print());
    EXPECT_EQ(pp.printer.copyCount(), 3);
    // Without message processing nothing can cancel: printing runs through.
    p.setShowCancel(false);
    QTimer::singleShot(0, &p, [&] { p.RequestCancel(); });
    EXPECT_TRUE(p.Print());
}

TEST_F(MyPrinter, PreviewPaintsGradientShadowPageAndMargins) {
    p.show();
    p.setMasseinheit(muMillimeters);
    p.setColor(QColor(200, 100, 50));
    p.setShadowColor(QColor(0, 0, 255));
    p.setRandLeft(20);
    p.setRandTop(30);
    p.BeginDoc();
    p.WriteLine(QString(30, QChar(0x2588))); // a black bar at the top left of the text
    p.EndDoc();

    // 100 %: the page has the paper's size on screen.
    p.setZoomPercent(100);
    const int dpi = p.logicalDpiX();
    const QSize page = p.screenPageSize();
    EXPECT_NEAR(page.width(), 210 / 25.4 * dpi, 1.0);
    EXPECT_NEAR(page.height(), 297 / 25.4 * p.logicalDpiY(), 1.0);
    p.setZoomPercent(35);
    const QSize small = p.screenPageSize();
    EXPECT_NEAR(small.width(), page.width() * 0.35, 1.0);
    p.resize(300, 300);
    EXPECT_EQ(p.surface()->width(), std::max(small.width() + 12, p.viewport()->width()));
    EXPECT_EQ(p.surface()->height(), small.height() + 12);

    const QSize area(small.width() + 40, small.height() + 40);
    QImage img(area, QImage::Format_RGB32);
    {
        QPainter painter(&img);
        p.paintPreview(painter, area);
    }
    const int left = (area.width() - small.width()) / 2;
    const int top = (area.height() - small.height()) / 2;
    const int right = left + small.width(), bottom = top + small.height();
    // Gradient: black at the top, the component's colour at the bottom.
    EXPECT_EQ(img.pixel(1, 0), qRgb(0, 0, 0));
    EXPECT_EQ(img.pixel(1, area.height() - 1), qRgb(200, 100, 50));
    const QColor mid = img.pixelColor(1, area.height() / 2);
    EXPECT_NEAR(mid.red(), 100, 3);
    // Shadow right of and below the page, not at its top right corner.
    EXPECT_EQ(img.pixel(right + 2, top + 20), qRgb(0, 0, 255));
    EXPECT_EQ(img.pixel(left + 20, bottom + 2), qRgb(0, 0, 255));
    EXPECT_NE(img.pixel(right + 2, top + 2), qRgb(0, 0, 255));
    // White page with a black frame.
    EXPECT_EQ(img.pixel(left, top + 10), qRgb(0, 0, 0));
    EXPECT_EQ(img.pixel(right - 1, top + 10), qRgb(0, 0, 0));
    EXPECT_EQ(img.pixel(left + small.width() / 2, bottom - 5), qRgb(255, 255, 255));
    // Dotted silver margin frame at the left margin.
    const int ml = left + p.screenLength(20, true);
    int silver = 0;
    for (int y = top + small.height() / 2; y < top + small.height() / 2 + 20; ++y)
        if (img.pixel(ml, y) == qRgb(192, 192, 192)) ++silver;
    EXPECT_GE(silver, 5);
    EXPECT_LT(silver, 20);
    // The recorded page: dark text just inside the margins.
    const int mt = top + p.screenLength(30, false);
    int dark = 0;
    for (int x = ml + 2; x < ml + 30; ++x)
        if (qGray(img.pixel(x, mt + 3)) < 100) ++dark;
    EXPECT_GT(dark, 10);

    // No shadow: the scroll range is the page size + 2.
    p.setShadowOffset(0);
    p.setGradHintergrund(false);
    p.resize(50, 50);
    EXPECT_EQ(p.surface()->width(), small.width() + 2);
    EXPECT_EQ(p.surface()->height(), small.height() + 2);
    {
        QPainter painter(&img);
        p.paintPreview(painter, area);
    }
    EXPECT_EQ(img.pixel(right + 2, top + 20), qRgb(200, 100, 50));
    EXPECT_EQ(img.pixel(1, 0), qRgb(200, 100, 50));

    // Zoom location: centred scrolls to the middle of the range.
    p.setZoomLocation(zlCenter);
    EXPECT_EQ(p.horizontalScrollBar()->value(), (small.width() + 2 - p.viewport()->width()) / 2);
    EXPECT_EQ(p.verticalScrollBar()->value(), (small.height() + 2 - p.viewport()->height()) / 2);
    p.setZoomLocation(zlTopCenter);
    EXPECT_EQ(p.verticalScrollBar()->value(), 0);
    p.setZoomLocation(zlTopLeft);
    EXPECT_EQ(p.horizontalScrollBar()->value(), 0);

    // The widget itself paints the same way.
    p.resize(200, 200);
    const QImage shot = p.surface()->grab().toImage();
    EXPECT_EQ(shot.pixel(shot.width() / 2, shot.height() / 2), qRgb(255, 255, 255));
}

TEST_F(MyPrinter, HeaderCellsWrapInTheirColumnAndBreakAtLineFeeds) {
    p.setMasseinheit(muMillimeters);
    p.setRandLeft(20);
    p.setKopfFormat(QStringLiteral("<40|>60"));
    p.setKopf(QStringLiteral("erste\nzweite|Seite {$PAGE} von Glykovalin Tabelle"));
    const QStringList lines = toFile([&] { p.WriteLine(QStringLiteral("Text")); });
    ASSERT_GE(lines.size(), 3);
    EXPECT_TRUE(lines[0].startsWith(QStringLiteral("erste"))) << lines[0].toStdString();
    EXPECT_TRUE(lines[1].startsWith(QStringLiteral("zweite"))) << lines[1].toStdString();
    // The right cell wraps within 60 mm: both pieces fit, nothing is lost.
    const double blank = p.textWidth(QStringLiteral(" "));
    const int col2 = int((40 / 25.4 * 1200) / blank);
    QStringList right;
    for (int i = 0; i < lines.size() - 1; ++i) {
        const QString part = lines[i].mid(col2).trimmed();
        if (!part.isEmpty()) right << part;
        EXPECT_LE(p.textWidth(part), 60 / 25.4 * 1200);
    }
    EXPECT_GE(right.size(), 2);
    EXPECT_EQ(right.join(u' '), QStringLiteral("Seite 1 von Glykovalin Tabelle"));
    EXPECT_EQ(lines.last(), QStringLiteral("Text"));
}

TEST_F(MyPrinter, FileOutputFailuresAreReported) {
    p.setPrintToFile(true);
    try {
        p.BeginDoc();
        FAIL() << "no file name";
    } catch (const EPrinter &e) {
        EXPECT_EQ(e.message(),
                  QStringLiteral("Für die Ausgabe in eine Datei fehlt der Dateiname."));
    }
    EXPECT_FALSE(p.printing());
    const QString bad = pp.dir.file(QStringLiteral("fehlt/druck.txt"));
    p.setFileName(bad);
    p.BeginDoc();
    p.WriteLine(QStringLiteral("x"));
    try {
        p.EndDoc();
        FAIL() << "folder missing";
    } catch (const EPrinter &e) {
        EXPECT_TRUE(e.message().startsWith(QStringLiteral("Die Datei \"") + bad));
    }
    EXPECT_FALSE(p.printing());
    p.setPrintToFile(false); // the engine is usable again
    p.BeginDoc();
    p.EndDoc();
    EXPECT_EQ(p.PageCount(), 1);
}

TEST_F(MyPrinter, PrintedTextSitsInsideTheMargins) {
    if (!canPrintPdf()) GTEST_SKIP() << "fonts or poppler missing";
    margins(30, 40, 30, 10);
    p.BeginDoc();
    for (int i = 0; i < 5; ++i)
        p.WriteLine(QString(200, u'M')); // wrapped into full-width lines
    p.setAlignment(taRightJustify);
    p.WriteLine(QStringLiteral("M"));
    p.EndDoc();
    ASSERT_TRUE(p.Print());
    const QRect box = pdftools::darkBox(pdftools::render(pp.path, 1, 100));
    const double mm = 25.4 / 100;
    EXPECT_NEAR(box.left() * mm, 30.0, 1.0);
    EXPECT_NEAR(box.top() * mm, 40.0, 2.0);
    EXPECT_LE(box.right() * mm, p.PageWidth() - 30.0 + 0.5);
    EXPECT_GT(box.right() * mm, p.PageWidth() - 30.0 - 4.0);

    // The text colour reaches the paper.
    p.setAlignment(taLeftJustify);
    p.setFontColor(QColor(0, 0, 255));
    pages({QString(20, QChar(0x2588))});
    ASSERT_TRUE(p.Print());
    const QImage blue = pdftools::render(pp.path, 1, 100);
    int bluePixels = 0;
    for (int y = 0; y < blue.height(); ++y)
        for (int x = 0; x < blue.width(); ++x) {
            const QRgb c = blue.pixel(x, y);
            if (qBlue(c) > 200 && qRed(c) < 60 && qGreen(c) < 60) ++bluePixels;
        }
    EXPECT_GT(bluePixels, 100);
}

TEST_F(MyPrinter, PageBordersFrameTheTextArea) {
    if (!pdftools::available()) GTEST_SKIP() << "poppler missing";
    p.setTitle(QStringLiteral("Rahmen"));
    EXPECT_EQ(pp.printer.docName(), QStringLiteral("Rahmen"));
    margins(25, 30, 15, 20);
    p.setPageBorderOffset(5);
    p.setPageBorders(pbTop | pbBottom | pbLeft | pbRight);
    pages({});
    ASSERT_TRUE(p.Print());
    const QImage img = pdftools::render(pp.path, 1, 100);
    const QRect box = pdftools::darkBox(img);
    ASSERT_FALSE(box.isNull());
    const double mm = 25.4 / 100;
    EXPECT_NEAR(box.left() * mm, 20.0, 0.8);
    EXPECT_NEAR(box.top() * mm, 25.0, 0.8);
    EXPECT_NEAR(box.right() * mm, p.PageWidth() - 10.0, 0.8);
    EXPECT_NEAR(box.bottom() * mm, p.PageHeight() - 15.0, 0.8);
    // Only the frame is dark: the middle of the page stays white.
    EXPECT_EQ(img.pixel(img.width() / 2, img.height() / 2), qRgb(255, 255, 255));
}
