#include <QApplication>
#include <QPrinter>
#include <benchmark/benchmark.h>

#include "benchapp.h"
#include "printing/myprinter.h"
#include "printing/tableprint.h"

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

// A 31-day four-slot table with a remark on every row, as the table print
// writes it.
QStringList monthTableLines() {
    QStringList lines{QStringLiteral("GLYKOVALINMESSWERTE: März 2024 von Max Muster"),
                      QString(45, u'='), QString(),
                      QStringLiteral("  Datum  |    Morgens    | Wert |   Messung 2   | Wert |   "
                                     "Messung 3   | Wert |     Abends      | Wert |     Bemerkung"),
                      QString(115, u'_')};
    for (int d = 1; d <= 31; ++d)
        lines << QStringLiteral("   %1       |       07:00      |  %2  |       12:00       |  "
                                "140  |       17:00       |  95    |       21:30       |  110  | "
                                "nach dem Sport gemessen")
                     .arg(d, 2, 10, QChar(u'0'))
                     .arg(100 + d)
              << QString(115, u'_');
    return lines;
}

// The table print preview's engine: millimetres, 11-pixel Arial, margins
// that spread the month over two pages.
TMyPrinter &tableEngine() {
    static QPrinter printer(QPrinter::HighResolution);
    static const std::unique_ptr<TMyPrinter> engine = [] {
        printer.setOutputFormat(QPrinter::PdfFormat);
        auto e = std::make_unique<TMyPrinter>(nullptr, &printer);
        e->setMasseinheit(muMillimeters);
        QFont f(QStringLiteral("Arial"));
        f.setPixelSize(11);
        e->setFont(f);
        e->setRandLeft(18);
        e->setRandRight(10);
        e->setRandTop(60);
        e->setRandBottom(60);
        return e;
    }();
    return *engine;
}

// Baseline: the table's lines written once, line by line (the separators,
// wider than the text area, wrap).
void BM_TableOnePass(benchmark::State &state) {
    benchapp::ensureApplication();
    TMyPrinter &engine = tableEngine();
    const QStringList lines = tableprint::documentLines(monthTableLines());
    for (auto _ : state) {
        engine.BeginDoc();
        for (const QString &line : lines)
            engine.WriteLine(line);
        engine.EndDoc();
        benchmark::DoNotOptimize(engine.PageCount());
    }
}
BENCHMARK(BM_TableOnePass)->Unit(benchmark::kMillisecond);

// The table print's layout: page heads, fitted separators and the page
// count, for which the document is laid out twice; about as fast as the
// baseline, whose wrapping separators cost what the second run costs.
void BM_TablePrintDocument(benchmark::State &state) {
    benchapp::ensureApplication();
    TMyPrinter &engine = tableEngine();
    const QStringList lines = tableprint::documentLines(monthTableLines());
    int pages = 0;
    for (auto _ : state) {
        tableprint::writeDocument(engine, lines);
        pages = engine.PageCount();
        benchmark::DoNotOptimize(pages);
    }
    state.counters["pages"] = pages;
}
BENCHMARK(BM_TablePrintDocument)->Unit(benchmark::kMillisecond);

} // namespace
