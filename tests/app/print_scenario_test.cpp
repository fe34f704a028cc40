// Printing from the main window's menu, as the user does it.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDate>
#include <QFileInfo>
#include <QPointer>

#include "app/program.h"
#include "platform/profile.h"
#include "printing/druckvorschautabelledlg.h"
#include "printing/graphprint_pdf.h"
#include "printing/tabellendlg.h"
#include "scenario.h"

namespace {

using scenario::App;
using scenario::Folder;

// "&Tabelle drucken": the table window opens and prints at its first paint:
// the print dialog, then the preview with the margins, and "Drucken" writes
// the table into the PDF file proposed in the base folder, as there is no
// printer here. The print engine, and with it the system's print support,
// is made at this first print, not when the program starts.
TEST(PrintScenario, TableFromTheMenuIntoAPdfFile) {
    if (!pdftools::available()) GTEST_SKIP() << "poppler tools missing";
    Folder f({"BenutzerName=Max Muster"});
    const QDate today = QDate::currentDate();
    const QString name = QStringLiteral("MM%1.tab").arg(today.toString(QStringLiteral("MMyyyy")));
    const QString table = f.table(name, today.year());
    testutil::writeBytes(
        table, scenario::monthFile("Max Muster", today.month(), today.year(),
                                   {scenario::reading(MeasurementSlot::Morgens, 1, today.month(),
                                                      today.year(), "07:00", 123)}));
    profile::write(f.ini(), "Einstellung", "TabellenDateiName", table);
    App app;
    TDruckvorschauTabelleDlg *preview = (&app.program().tablePrintPreview());
    ASSERT_TRUE(preview);
    EXPECT_EQ(preview->engine(), nullptr);

    app.rec.printAnswers.enqueue(true); // the print dialog before the preview
    app.rec.printAnswers.enqueue(true); // "Drucken" in the preview
    bool printed = false;
    auto print = [&](QWidget *m) {
        ASSERT_EQ(m, preview);
        EXPECT_NE(preview->engine(), nullptr);
        preview->OKBtnClick();
        printed = true;
    };
    app.whenModal([&](QWidget *first) {
        if (first == preview) {
            // The table window is closed once the preview is done.
            app.whenModal([](QWidget *window) { window->close(); });
            print(first);
            return;
        }
        // The preview comes over the table window when that has painted.
        QPointer<QWidget> window = first;
        app.whenModal(print);
        App::settle(300);
        if (window) window->close();
    });
    app.menu("Tabelledrucken1");
    App::settle();
    EXPECT_TRUE(printed);
    EXPECT_TRUE(app.rec.shown.isEmpty()) << app.rec.texts().join(u'\n').toStdString();
    const QString pdf = f.path() + QFileInfo(table).completeBaseName() + "-Tabelle.pdf";
    ASSERT_TRUE(QFileInfo(pdf).isFile()) << pdf.toStdString();
    EXPECT_EQ(pdftools::pages(pdf), 1);
    const QString text = pdftools::run(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")});
    EXPECT_TRUE(text.contains(QStringLiteral("von Max Muster"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("123"))) << text.toStdString();
}

} // namespace
