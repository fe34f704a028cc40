#pragma once
#include <QPageSize>
#include <QPrinter>

#include "testutil.h"

// A PDF printer on A4 paper writing into a folder of the test.
struct PdfPrinter {
    testutil::TempFolder dir;
    QPrinter printer{QPrinter::HighResolution};
    QString path = dir.file(QStringLiteral("out.pdf"));
    PdfPrinter() {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(path);
        printer.setPageSize(QPageSize(QPageSize::A4));
    }
};
