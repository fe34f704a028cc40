#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

#include "diary/diarybook_folder.h"
#include "platform/textfile.h"
#include "storage/monthtable.h"
#include "support/clirun.h"
#include "support/pdftools.h"
#include "testutil.h"

namespace {

// A folder like the program's: settings, chart script, a month table of
// March 2024 in four-slot mode and its diary file stored in the order 12, 03, 07.
struct Folder {
    testutil::TempFolder tmp;
    QString table;
    QString old;

    Folder() {
        old = QDir::currentPath();
        textfile::writeLines(tmp.file("glykoval.ini"),
                             {"[Einstellung]", "Hochwerte>=180", "Kritischwerte>=140",
                              "Tiefwerte<=60", "KurvenFarbe=255", "StiftBreite=3",
                              "BisZu4MessungenJeTag=1", "BisZu8MessungenJeTag=0"});
        QDir().mkpath(tmp.file("scripts"));
        testutil::writeBytes(tmp.file("scripts/Chart.min.js"), "// chart");
        QStringList diary;
        for (int d : {12, 3, 7})
            diary << QStringLiteral("Tag%1: \t #BE: Morgens= 1\t|  M2= \t|  M3= \t|  Abends= "
                                    "\t #Insulin (CT)  : Morgens= \t|  M2= \t|  M3= \t|  "
                                    "Abends=  \t #Bemerkung: Seite %2")
                         .arg(d, 2, 10, QChar(u'0'))
                         .arg(d);
        table = writeMarch2024(tmp.file("Glykovalin-Daten/"), {3, 7, 12}, diary);
        QDir::setCurrent(tmp.path());
    }
    ~Folder() { QDir::setCurrent(old); }
};

} // namespace

TEST(DiaryBookCli, DiaryPdfAndChartCommands) {
    Folder f;
    testutil::Cli cli;
    // diary-pdf: the book of the table's diary file.
    EXPECT_EQ(cli.run({"diary-pdf", "Glykovalin-Daten/2024/MM032024.tab", "buch.pdf"}), 0)
        << cli.err.toStdString();
    EXPECT_TRUE(testutil::readBytes(f.tmp.file("buch.pdf")).startsWith("%PDF-1.4"));
    EXPECT_TRUE(cli.out.contains("buch.pdf"));
    if (pdftools::available()) {
        EXPECT_TRUE(pdftools::text(f.tmp.file("buch.pdf")).contains("Seite 1 von 1"));
    }

    // A table stored in eight-slot mode gives the eight-slot book, upright on
    // landscape pages.
    QStringList tableLines;
    ASSERT_TRUE(textfile::readLines(f.table, tableLines));
    tableLines.replaceInStrings("BisZu4MessungenJeTag=1", "BisZu4MessungenJeTag=0");
    tableLines.replaceInStrings("BisZu8MessungenJeTag=0", "BisZu8MessungenJeTag=1");
    ASSERT_TRUE(textfile::writeLines(f.table, tableLines));
    EXPECT_EQ(cli.run({"diary-pdf", f.table, "acht.pdf"}), 0);
    EXPECT_TRUE(testutil::readBytes(f.tmp.file("acht.pdf")).contains("/MediaBox [ 0 0 1300 823]"));

    // chart: the page below the browser folder with the script beside it.
    EXPECT_EQ(cli.run({"chart", f.table}), 0) << cli.err.toStdString();
    const QString page = f.tmp.file("Glykovalin-Daten im Browser/2024/MM032024.html");
    EXPECT_EQ(cli.out.trimmed(), page);
    EXPECT_TRUE(QFile::exists(f.tmp.file("Glykovalin-Daten im Browser/2024/Chart.min.js")));
    QStringList lines;
    ASSERT_TRUE(textfile::readLines(page, lines));
    const QString all = lines.join('\n');
    EXPECT_TRUE(all.contains("Glykovalin-Werte von Max Muster im März 2024"));
    EXPECT_TRUE(all.contains("borderColor: '#FF0000',borderWidth: 3"));
    EXPECT_TRUE(all.contains("103")); // the mean of day 3

    // Failures: German text, non-zero exit, nothing written.
    EXPECT_NE(cli.run({"diary-pdf", "fehlt.tab", "x.pdf"}), 0);
    EXPECT_TRUE(cli.err.contains("kann nicht gelesen werden"));
    EXPECT_FALSE(QFile::exists(f.tmp.file("x.pdf")));
    QFile::remove(monthtable::diaryPathOf(f.table));
    EXPECT_NE(cli.run({"diary-pdf", f.table, "y.pdf"}), 0);
    EXPECT_TRUE(cli.err.contains("keine Tagebuchdatei"));
    EXPECT_NE(cli.run({"chart", "fehlt.tab"}), 0);
}
