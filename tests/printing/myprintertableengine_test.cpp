#include <QPointer>
#include <QSpinBox>
#include <gtest/gtest.h>

#include "pdfprinter.h"
#include "printing/druckvorschautabelledlg.h"
#include "printing/myprintertableengine.h"
#include "recordingservices.h"
#include "storage/monthmodel.h"
#include "support/pdftools.h"
#include "testutil.h"

// The engine inside the table print preview: margins in millimetres, and
// printing with the copies the print dialog chose.
TEST(MyPrinterTableEngine, ServesTheTablePrintPreview) {
    PdfPrinter pdf;
    QPrinter &printer = pdf.printer;
    QStringList table;
    for (int i = 1; i <= 31; ++i)
        table << QStringLiteral("%1 | 110 | 140 | 95 |").arg(i, 2, 10, QChar(u'0'));

    QPointer<TMyPrinter> engine;
    {
        ui::RecordingServices rec;
        MonthModel model(Folders::at(pdf.dir.path()));
        TDruckvorschauTabelleDlg dlg(model, rec);
        auto adapter = std::make_unique<TMyPrinterTableEngine>(&printer);
        engine = adapter->engine();
        TMyPrinterTableEngine *a = adapter.get();
        dlg.setEngine(std::move(adapter));
        EXPECT_EQ(engine->Masseinheit(), muMillimeters);
        rec.printAnswers.enqueue(true);
        ASSERT_TRUE(dlg.prepareFromTable(table));

        testutil::child<QSpinBox>(dlg, "SpinEdit3").setValue(40);
        EXPECT_NEAR(engine->RandTop(), 40.0, 1e-9);
        EXPECT_EQ(engine->PageCount(), 1);
        EXPECT_EQ(engine->PageNumber(), 1);

        a->setTextColor(QColor(0, 0, 200));
        EXPECT_EQ(engine->FontColor(), QColor(0, 0, 200));

        // Two copies chosen in the print dialog come out as two sheets.
        printer.setCopyCount(2);
        ASSERT_TRUE(a->Print());
        if (pdftools::available()) {
            EXPECT_EQ(pdftools::pages(printer.outputFileName()), 2);
        }
        EXPECT_EQ(printer.copyCount(), 2);
    }
    // The dialog and the adapter ended without deleting the engine twice.
    EXPECT_TRUE(engine.isNull());

    // An adapter that was never put into a dialog deletes its engine.
    {
        TMyPrinterTableEngine a(&printer);
        engine = a.engine();
    }
    EXPECT_TRUE(engine.isNull());
}
