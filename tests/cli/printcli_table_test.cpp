#include <QLabel>
#include <QPageSize>
#include <QPrinter>
#include <QPushButton>
#include <QRegularExpression>
#include <QSpinBox>
#include <gtest/gtest.h>

#include "entry/tablebuilder.h"
#include "platform/profile.h"
#include "platform/ui.h"
#include "printing/druckvorschautabelledlg.h"
#include "printing/myprintertableengine.h"
#include "printing/remarkstore.h"
#include "recordingservices.h"
#include "storage/monthmodel.h"
#include "support/clirun.h"
#include "support/pdftools.h"
#include "support/printfolder.h"
#include "testutil.h"

namespace {

const QString kTitle = QStringLiteral("GLYKOVALINMESSWERTE: März 2024 von Max Muster");
const QString kLongRemark = QStringLiteral(
    "Tag mit viel Bewegung: morgens Radtour zur Arbeit, mittags Spaziergang, abends Sport im "
    "Verein; zwei BE mehr gegessen und Insulin um eine Einheit verringert, Werte trotzdem gut");

// Tall margins spread the 31 days over several pages; remarks for days 05
// and 12, the second longer than a line.
struct TableFolder : PrintFolder {
    TableFolder() : PrintFolder({"DruckenTabellenRandTop=55", "DruckenTabellenRandBottom=45"}) {
        profile::write(file("glykoval.ini"), "Bemerkungen_MM032024.tab", "05,1", "\" nach Sport");
        profile::write(file("glykoval.ini"), "Bemerkungen_MM032024.tab", "12,1",
                       "\" " + kLongRemark);
    }
    // The month as the program's session holds it once the month is open.
    std::unique_ptr<MonthModel> session;
    // The table window's text: the builder's table with the remarks merged.
    QStringList openInTheProgram() {
        session = std::make_unique<MonthModel>(Folders::at(tmp.path()));
        session->open(table);
        QStringList fileLines;
        if (!monthtable::readLines(table, fileLines)) return {};
        tablebuilder::TableInput in;
        in.entries = monthtable::entryLines(fileLines);
        in.monthName = QStringLiteral("März");
        in.year = QStringLiteral("2024");
        in.userName = QStringLiteral("Max Muster");
        return RemarkStore(session->settingsDocument(), table)
            .merge(tablebuilder::BringsAufDieReihe(in));
    }
};

// A printer as the print dialog leaves it when the user prints into a PDF
// file on A4 paper.
void pdfOnA4(QPrinter &printer) {
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setOutputFormat(QPrinter::PdfFormat);
}

// The day rows of a page's text ("01", "02", ... at the start of a line).
QStringList dayRows(const QString &layoutText) {
    QStringList days;
    static const QRegularExpression row(QStringLiteral("^\\s*(\\d\\d)\\s+\\|"));
    for (const QString &line : layoutText.split(u'\n')) {
        const auto m = row.match(line);
        if (m.hasMatch()) days << m.captured(1);
    }
    return days;
}

} // namespace

// The table printed headless: every page names the month and the patient,
// repeats the column heads and counts the pages; the separators span the
// text area and no longer wrap; every day and every word of the remarks is
// printed once; a remark longer than its row continues in its column. The
// PDF names the table.
TEST(PrintCliTable, EveryPageOfA31DayTableNamesTheMonthAndCountsThePages) {
    if (!pdftools::haveTools() || !pdftools::haveFonts())
        GTEST_SKIP() << "poppler, qpdf or fonts missing";
    TableFolder folder;
    const QString pdf = folder.file("tabelle.pdf");
    testutil::Cli cli;
    ASSERT_EQ(cli.run({"print-table", "MM032024.tab", "tabelle.pdf"}), 0) << cli.err.toStdString();
    EXPECT_TRUE(cli.out.contains("tabelle.pdf"));
    QString report;
    EXPECT_TRUE(pdftools::valid(pdf, &report)) << report.toStdString();
    EXPECT_TRUE(pdftools::info(pdf, "Page size").startsWith("595"));
    const int pages = pdftools::pages(pdf);
    ASSERT_GE(pages, 2);

    EXPECT_EQ(pdftools::info(pdf, "Title"), "MM032024-Tabelle");
    QStringList days;
    int wrapped = 0;
    const double pageWidth = 595.28, mm = 72 / 25.4;
    for (int p = 1; p <= pages; ++p) {
        SCOPED_TRACE(p);
        const QString text = pdftools::text(pdf, p);
        EXPECT_TRUE(text.contains(kTitle)) << text.toStdString();
        for (const char *head :
             {"Datum", "Morgens", "Messung 2", "Messung 3", "Abends", "Wert", "Bemerkung"})
            EXPECT_TRUE(text.contains(QString::fromLatin1(head))) << head;
        EXPECT_TRUE(text.contains(QStringLiteral("Seite %1 von %2").arg(p).arg(pages)));
        const QStringList pageDays = dayRows(pdftools::text(pdf, p, true));
        days += pageDays;
        // Separators: one bar each, from the left margin (18 mm) to the right (10 mm).
        // The long remark continues in the "Bemerkung" column, below its beginning.
        int bars = 0;
        const QList<pdftools::Word> pageWords = pdftools::words(pdf, p);
        double remarkColumn = -1;
        for (const pdftools::Word &w : pageWords)
            if (w.text == "Tag") remarkColumn = w.xMin;
        for (const pdftools::Word &w : pageWords) {
            if (remarkColumn >= 0 &&
                QStringList{"Verein;", "Einheit", "trotzdem", "gut"}.contains(w.text)) {
                EXPECT_GE(w.xMin, remarkColumn - 3) << w.text.toStdString();
                ++wrapped;
            }
            if (!w.text.startsWith(QStringLiteral("__"))) continue;
            ++bars;
            EXPECT_GE(w.xMin, 18 * mm - 1);
            EXPECT_LE(w.xMax, pageWidth - 10 * mm + 1);
            EXPECT_GT(w.xMax - w.xMin, (pageWidth - 28 * mm) * 0.95) << "a short bar";
        }
        // The one below the column heads and at least one per day row but the last.
        EXPECT_GE(bars, pageDays.size());
    }
    QStringList expected;
    for (int d = 1; d <= 31; ++d)
        expected << QStringLiteral("%1").arg(d, 2, 10, QChar(u'0'));
    EXPECT_EQ(days, expected);
    EXPECT_EQ(wrapped, 4);
    const QString all = pdftools::text(pdf).simplified();
    EXPECT_TRUE(all.contains(QStringLiteral("nach Sport")));
    EXPECT_TRUE(all.contains(kLongRemark)) << all.toStdString();

    EXPECT_EQ(cli.run({"print-table", "fehlt.tab", "x.pdf"}), 1);
    EXPECT_EQ(cli.run({"print-table", "MM032024.tab", "fehlt/ordner/x.pdf"}), 1);
    EXPECT_TRUE(cli.err.contains("fehlt/ordner/x.pdf"));
    EXPECT_EQ(cli.run({"print-table", "MM032024.tab"}), 2);
}

// The table window's text printed from the print preview into a PDF file
// gives the same document as print-table, which leaves the month file as it
// was. (The scenario tests drive "&Tabelle drucken" from the menu.)
TEST(PrintCliTable, HeadlessPrintIsThePreviewPrint) {
    if (!pdftools::haveTools() || !pdftools::haveFonts())
        GTEST_SKIP() << "poppler, qpdf or fonts missing";
    TableFolder folder;
    const QString cliPdf = folder.file("cli.pdf");
    const QByteArray tableBytes = testutil::readBytes(folder.table);
    testutil::Cli cli;
    ASSERT_EQ(cli.run({"print-table", folder.table, cliPdf}), 0) << cli.err.toStdString();
    EXPECT_EQ(tableBytes, testutil::readBytes(folder.table));

    const QStringList lines = folder.openInTheProgram();
    ui::RecordingServices rec;
    QPrinter printer(QPrinter::HighResolution);
    pdfOnA4(printer);
    TDruckvorschauTabelleDlg preview(*folder.session, rec);
    preview.setEngine(std::make_unique<TMyPrinterTableEngine>(&printer));
    rec.printAnswers.enqueue(true); // the print dialog before the preview
    rec.printAnswers.enqueue(true); // "Drucken"
    ASSERT_TRUE(preview.prepareFromTable(lines));
    testutil::child<QPushButton>(preview, "OKBtn").click();
    EXPECT_TRUE(rec.shown.isEmpty()) << rec.texts().join(u'\n').toStdString();
    const QString previewPdf = printer.outputFileName();
    EXPECT_EQ(pdftools::text(previewPdf, 0, true), pdftools::text(cliPdf, 0, true));
    EXPECT_EQ(pdftools::render(previewPdf, 2, 40), pdftools::render(cliPdf, 2, 40));
}

// The table print preview shows every page: its page count, next and
// previous page, and labelled margin fields; a margin change keeps
// the page in view.
TEST(PrintCliTable, PreviewPagesThroughTheDocument) {
    if (!pdftools::haveFonts()) GTEST_SKIP() << "no font";
    TableFolder folder;
    const QStringList lines = folder.openInTheProgram();
    ASSERT_FALSE(lines.isEmpty());

    ui::RecordingServices rec;
    QPrinter printer(QPrinter::HighResolution);
    pdfOnA4(printer);
    TDruckvorschauTabelleDlg dlg(*folder.session, rec);
    auto adapter = std::make_unique<TMyPrinterTableEngine>(&printer);
    TMyPrinter *engine = adapter->engine();
    dlg.setEngine(std::move(adapter));
    rec.printAnswers.enqueue(true);
    ASSERT_TRUE(dlg.prepareFromTable(lines));

    const int pages = engine->PageCount();
    ASSERT_GE(pages, 2);
    auto &pageLabel = testutil::child<QLabel>(dlg, "SeitenLabel");
    auto &previous = testutil::child<QPushButton>(dlg, "VorherigeSeiteBtn");
    auto &next = testutil::child<QPushButton>(dlg, "NaechsteSeiteBtn");
    EXPECT_EQ(pageLabel.text(), QStringLiteral("Seite 1 von %1").arg(pages));
    EXPECT_FALSE(previous.isEnabled());
    EXPECT_TRUE(next.isEnabled());

    auto shownPage = [&] {
        QImage img(engine->surface()->size(), QImage::Format_RGB32);
        QPainter p(&img);
        engine->paintPreview(p, img.size());
        return img;
    };
    const QImage first = shownPage();
    next.click();
    EXPECT_EQ(engine->PageNumber(), 2);
    EXPECT_EQ(pageLabel.text(), QStringLiteral("Seite 2 von %1").arg(pages));
    EXPECT_TRUE(previous.isEnabled());
    EXPECT_NE(shownPage(), first);
    for (int i = 2; i < pages + 2; ++i)
        next.click();
    EXPECT_EQ(engine->PageNumber(), pages);
    EXPECT_FALSE(next.isEnabled());

    // A margin change makes the document anew and stays on the shown page.
    testutil::child<QSpinBox>(dlg, "SpinEdit3").setValue(50);
    EXPECT_EQ(engine->PageNumber(), std::min(pages, engine->PageCount()));
    previous.click();
    EXPECT_EQ(pageLabel.text(),
              QStringLiteral("Seite %1 von %2").arg(engine->PageNumber()).arg(engine->PageCount()));

    // Each margin field is labelled with what it sets.
    const struct {
        const char *field;
        const char *word;
    } fields[] = {{"SpinEdit1", "Linker"},
                  {"SpinEdit2", "Rechter"},
                  {"SpinEdit3", "Oberer"},
                  {"SpinEdit4", "Unterer"}};
    for (const auto &f : fields) {
        auto &field = testutil::child<QSpinBox>(dlg, f.field);
        auto &label = testutil::child<QLabel>(dlg, (f.field + std::string("Label")).c_str());
        EXPECT_EQ(label.buddy(), &field);
        EXPECT_TRUE(label.text().contains(QString::fromLatin1(f.word)));
        EXPECT_TRUE(label.text().contains(QStringLiteral("mm")));
    }
}
