#include <QFontMetrics>
#include <gtest/gtest.h>

#include "pdfprinter.h"
#include "platform/textfile.h"
#include "printing/myprinter.h"
#include "printing/tableprint.h"
#include "support/pdftools.h"
#include "tabellendlg_table.h"

// A line of underscores (blanks around them allowed) is a separator.
TEST(TablePrint, SeparatorLines) {
    EXPECT_TRUE(tableprint::isSeparator(QString(115, u'_')));
    EXPECT_TRUE(tableprint::isSeparator(QStringLiteral("  ____ ")));
    EXPECT_FALSE(tableprint::isSeparator(QStringLiteral("_")));
    EXPECT_FALSE(tableprint::isSeparator(QStringLiteral("__ 01 __")));
}

// Lines repeated at the top of each page after the first; left out where a
// page cannot hold them and one more line.
TEST(TablePrint, EngineRepeatsItsHeadLinesOnFollowingPages) {
    PdfPrinter pdf;
    TMyPrinter p(nullptr, &pdf.printer);
    p.setMasseinheit(muMillimeters);
    p.setPrintToFile(true);
    p.setFileName(pdf.dir.file("seiten.txt"));
    p.setKopfZeilen({"Titel", "Kopf"});
    // The lines of a document of two pages, "a" and "b".
    const auto twoPages = [&] {
        p.BeginDoc();
        p.WriteLine("a");
        p.NewPage();
        p.WriteLine("b");
        p.EndDoc();
        QStringList lines;
        textfile::readLines(pdf.dir.file("seiten.txt"), lines);
        return lines;
    };
    EXPECT_EQ(twoPages(), QStringList({"a", "\fTitel", "Kopf", "b"}));

    // A page with room for two lines only.
    p.setRandTop(p.PageHeight() / 2);
    p.setRandBottom(p.PageHeight() / 2 - 2.5 * 25.4 * p.lineHeightPx() / p.dpiY());
    EXPECT_EQ(twoPages(), QStringList({"a", "\fb"}));
}

// Patient data above the table: the pages before the column heads start
// with the title; the pages after them with the title and the column heads.
TEST(TablePrint, PagesBeforeTheTableNameItAndPagesAfterRepeatTheColumnHeads) {
    if (!pdftools::available() || !QFontMetrics(QFont(QStringLiteral("Arial"))).inFont(QChar(u'M')))
        GTEST_SKIP() << "poppler or fonts missing";
    PdfPrinter pdf;
    TMyPrinter engine(nullptr, &pdf.printer);
    engine.setMasseinheit(muMillimeters);
    QFont f(QStringLiteral("Arial"));
    f.setPixelSize(11);
    engine.setFont(f);
    engine.setRandLeft(18);
    engine.setRandRight(10);
    engine.setRandTop(10);
    engine.setRandBottom(10);
    QStringList lines;
    for (int i = 1; i <= 120; ++i)
        lines << QStringLiteral("Patientendaten Zeile %1").arg(i);
    lines += sampleTableLines();
    tableprint::writeDocument(engine, tableprint::documentLines(lines));
    const int pages = engine.PageCount();
    ASSERT_GE(pages, 3);
    ASSERT_TRUE(engine.Print());
    ASSERT_EQ(pdftools::pages(pdf.path), pages);
    bool headsSeen = false;
    for (int p = 1; p <= pages; ++p) {
        SCOPED_TRACE(p);
        const QStringList text = pdftools::text(pdf.path, p).split(u'\n', Qt::SkipEmptyParts);
        EXPECT_TRUE(text.join(u'\n').contains(QStringLiteral("Seite %1 von %2").arg(p).arg(pages)));
        if (p > 1) {
            ASSERT_GE(text.size(), 2);
            EXPECT_EQ(text[0], QStringLiteral("GLYKOVALINMESSWERTE: März 2024 von Max Muster"));
            EXPECT_EQ(text[1].startsWith(QStringLiteral("Datum")), headsSeen)
                << text[1].toStdString();
        }
        headsSeen = headsSeen || text.join(u'\n').contains(QStringLiteral("Bemerkung"));
    }
    EXPECT_TRUE(headsSeen);
}
