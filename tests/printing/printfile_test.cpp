#include <QLineEdit>
#include <QPrintDialog>
#include <QPrinter>
#include <gtest/gtest.h>

#include "printing/printfile.h"
#include "testutil.h"

// Without a table the name is the program's.
TEST(PrintFile, NameWithoutATable) {
    EXPECT_EQ(printfile::proposedName(QString(), "Grafik"),
              QStringLiteral("Glykovalin-Grafik.pdf"));
}

// Without a printer the print dialog proposes the PDF file in the base
// folder, named after the table; after the user printed into another
// folder, the next print proposes that folder with the new table's name.
TEST(PrintFile, WithoutAPrinterTheDialogProposesTheBaseFolder) {
    testutil::TempFolder base, other;
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printfile::propose(printer, base.path(), "/x/2026/MM122026.tab", "Grafik", false);
    EXPECT_EQ(printer.outputFormat(), QPrinter::PdfFormat);
    EXPECT_EQ(printer.outputFileName(), base.file("MM122026-Grafik.pdf"));
    EXPECT_EQ(printer.docName(), QStringLiteral("MM122026-Grafik"));

    // What the user sees in the print dialog.
    {
        QPrintDialog dlg(&printer);
        dlg.show();
        QStringList shown;
        for (QLineEdit *e : dlg.findChildren<QLineEdit *>())
            shown << e->text();
        EXPECT_TRUE(shown.contains(base.file("MM122026-Grafik.pdf")))
            << shown.join(u'|').toStdString();
        dlg.reject();
    }

    printer.setOutputFileName(other.file("Arzt.pdf"));
    printfile::propose(printer, base.path(), "/x/2027/MM012027.tab", "Tabelle", true);
    EXPECT_EQ(printer.outputFileName(), other.file("MM012027-Tabelle.pdf"));
}
