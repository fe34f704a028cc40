#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include "export/machpdf.h"

namespace {

// A page as the diary book renders it: white, ruled, rows of dark "words".
QImage diaryPage(int seed) {
    QImage img(700, 1000, QImage::Format_RGB32);
    img.fill(Qt::white);
    QPainter p(&img);
    quint32 r = 2463534242u + quint32(seed);
    auto next = [&r] {
        r ^= r << 13;
        r ^= r >> 17;
        r ^= r << 5;
        return r;
    };
    for (int row = 40; row < 980; row += 22) {
        int x = 20;
        while (x < 660) {
            const int w = 8 + int(next() % 60);
            p.fillRect(x, row, std::min(w, 680 - x), 11, QColor(20, 20, 20));
            x += w + 6 + int(next() % 8);
        }
        if (row % 110 == 40) p.fillRect(10, row + 16, 680, 1, Qt::black);
    }
    return img;
}

// Writes a 31-page diary book: one 700 x 1000 picture and a page number per page.
void BM_Pdf31PagesWithImages(benchmark::State &state) {
    QList<QImage> pages;
    for (int i = 0; i < 4; ++i)
        pages << diaryPage(i);
    QTemporaryDir dir;
    for (auto _ : state) {
        TmachPDF pdf;
        pdf.Title = QStringLiteral("Glykovalin-Tagebuch");
        pdf.PageWidth = 595;
        pdf.PageHeight = 842;
        pdf.FileName = dir.filePath(QStringLiteral("buch.pdf"));
        pdf.PixelsPerInchX = 96;
        pdf.PixelsPerInchY = 96;
        pdf.BeginneDokument();
        for (int i = 1; i <= 31; ++i) {
            if (i > 1) pdf.NeueSeite();
            pdf.Font.FontIndex = 0;
            pdf.Font.FontSize = 10;
            pdf.SchreibeText(595 / 2 - 25, 15, QStringLiteral("Seite %1 von 31").arg(i));
            pdf.ZeichneBild(60, 40, 8.5, 10.625, pages[i % pages.size()]);
        }
        pdf.BeendeDokument();
    }
    state.SetBytesProcessed(state.iterations() * 31 * 700 * 1000 * 3);
}
BENCHMARK(BM_Pdf31PagesWithImages)->Unit(benchmark::kMillisecond);

} // namespace

// The benchmark program's entry point, unless another benchmark file brings one.
__attribute__((weak)) int main(int argc, char **argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
