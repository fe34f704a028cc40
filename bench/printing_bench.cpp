#include <QApplication>
#include <QPrinter>
#include <benchmark/benchmark.h>

#include "benchapp.h"
#include "printing/myprinter.h"

namespace {

// Lays out a 500-line month table document with header and footer into
// recorded pages at 1200 dpi, some lines wrapped and some with tabs.
void BM_Layout500Lines(benchmark::State &state) {
    benchapp::ensureApplication();
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    TMyPrinter engine(nullptr, &printer);
    engine.setMasseinheit(muMillimeters);
    engine.setRandLeft(19);
    engine.setRandRight(10);
    engine.setRandTop(10);
    engine.setRandBottom(10);
    engine.setFutKopf(QStringLiteral("&lGlykovalin&rSeite &p"));
    QStringList lines;
    for (int i = 0; i < 500; ++i) {
        QString line = QStringLiteral("%1 | Morgens %2 | Abends %3 |\tBemerkung")
                           .arg(i % 31 + 1, 2, 10, QChar(u'0'))
                           .arg(80 + i % 90)
                           .arg(100 + i % 70);
        if (i % 10 == 0)
            line += QStringLiteral(" nach dem Sport, vor dem Essen gemessen").repeated(3);
        lines << line;
    }
    int pages = 0;
    for (auto _ : state) {
        engine.BeginDoc();
        for (const QString &line : lines)
            engine.WriteLine(line);
        engine.EndDoc();
        pages = engine.PageCount();
        benchmark::DoNotOptimize(pages);
    }
    state.counters["pages"] = pages;
    state.SetItemsProcessed(state.iterations() * 500);
}
BENCHMARK(BM_Layout500Lines)->Unit(benchmark::kMillisecond);

} // namespace
