#include <QPrinter>
#include <gtest/gtest.h>

#include "printing/myprinter.h"

TEST(MyPrinter, Smoke) {
    QPrinter pr(QPrinter::HighResolution);
    pr.setOutputFormat(QPrinter::PdfFormat);
    TMyPrinter p(nullptr, &pr);
    printf("dpi %d %d page %f x %f min %f %f\n", p.dpiX(), p.dpiY(), p.PageWidth(), p.PageHeight(), p.MinLeft(), p.MinTop());
    p.BeginDoc();
    for (int i = 0; i < 200; ++i) p.WriteLine(QString("Zeile %1").arg(i));
    p.EndDoc();
    printf("pages %d lh %d\n", p.PageCount(), p.lineHeightPx());
}
