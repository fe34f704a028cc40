#include <QAction>
#include <QPrinter>
#include <QPushButton>
#include <QSpinBox>
#include <gtest/gtest.h>

#include "platform/profile.h"
#include "platform/ui.h"
#include "printing/druckvorschautabelledlg.h"
#include "printing/myprintertableengine.h"
#include "printing/tabellendlg.h"
#include "recordingservices.h"
#include "storage/monthmodel.h"
#include "storage/monthtable.h"
#include "support/pdftools.h"
#include "tabellendlg_table.h"
#include "testutil.h"

// The table window's text printed through the preview into a PDF file, as
// the user does it: remark written, "&drucken", a margin changed, "Drucken".
TEST(TabellenVorschauPdf, TablePrintedWithRemarksAndNewMargins) {
    if (!pdftools::available()) GTEST_SKIP() << "poppler tools missing";
    testutil::TempFolder dir;
    ui::RecordingServices rec;
    MonthModel model(Folders::at(dir.path()));
    model.open(dir.file("MM032024.tab"));
    const QByteArray entries = "Morgens den    05.03.2024 Z=07:00  ZuckerWert=95\r\n";
    testutil::writeBytes(
        model.tablePath(),
        testutil::crlf({"[Personendaten]", "BenutzerName=Max Muster", "DruckenTabellenRandLeft=15",
                        "DruckenTabellenRandRight=10", "DruckenTabellenRandTop=10",
                        "DruckenTabellenRandBottom=10", ""}) +
            entries);
    testutil::writeBytes(model.folders().settings,
                         testutil::crlf({"[Bemerkungen_MM032024.tab]", "05,1=\"nach Sport"}));

    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(dir.file("tabelle.pdf"));

    TTabellenDlg table(model, rec);
    TDruckvorschauTabelleDlg preview(model, rec, &table);
    auto adapter = std::make_unique<TMyPrinterTableEngine>(&printer);
    TMyPrinter *engine = adapter->engine();
    preview.setEngine(std::move(adapter));
    QObject::connect(&table, &TTabellenDlg::printRequested,
                     [&] { preview.prepareFromTable(table.tableLines()); });

    auto &left = testutil::child<QSpinBox>(preview, "SpinEdit1");
    auto &print = testutil::child<QPushButton>(preview, "OKBtn");
    table.showTable(sampleTableLines().join(u'\n'), TTabellenDlg::Opening::Beside);
    rec.printAnswers.enqueue(true);
    testutil::child<QAction>(table, "drucken").trigger();
    EXPECT_EQ(left.value(), 15);
    EXPECT_EQ(testutil::child<QSpinBox>(preview, "SpinEdit2").value(), 10);
    EXPECT_EQ(engine->ZoomPercent(), 25u);
    left.setValue(25);
    EXPECT_EQ(engine->ZoomPercent(), 25u);
    // Printing into a file proposes one named after the table.
    EXPECT_EQ(printer.outputFileName(), dir.file("MM032024-Tabelle.pdf"));
    const QString pdf = printer.outputFileName();

    rec.printAnswers.enqueue(true);
    print.click();
    EXPECT_TRUE(rec.shown.isEmpty()) << rec.texts().join(u'\n').toStdString();
    EXPECT_EQ(pdftools::pages(pdf), engine->PageCount());
    const QString text = pdftools::run(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")});
    EXPECT_TRUE(text.contains(QStringLiteral("GLYKOVALINMESSWERTE: März 2024 von Max Muster")));
    EXPECT_TRUE(text.contains(QStringLiteral("nach Sport")));
    EXPECT_EQ(profile::read(model.tablePath(), monthtable::kSection, "DruckenTabellenRandLeft"),
              QStringLiteral("19"));
    EXPECT_TRUE(testutil::readBytes(model.tablePath()).endsWith(entries));
}
