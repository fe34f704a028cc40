#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include "benchapp.h"
#include "graph/monthgraph.h"
#include "graph/templatepicture.h"
#include "platform/picturebox.h"
#include "platform/textfile.h"
#include "storage/appstate.h"
#include "storage/monthtable.h"

namespace {

// A folder with settings, the eight-slot template and a full month of
// 31 × 8 readings.
struct GraphFolder {
    QTemporaryDir dir;
    QString table;
    GraphFolder() {
        const QString base = dir.path() + u'/';
        textfile::writeLines(base + "glykoval.ini",
                             {"[Einstellung]", "Hochwerte>=180", "Kritischwerte>=140",
                              "Tiefwerte<=60", "FarbeHochwerte=255", "FarbeKritischwerte=33023",
                              "FarbeTiefwerte=16711680", "StiftBreite=2",
                              "BenutzerName=Max Muster"});
        templatepicture::graphTemplate(MeasureMode::Eight).save(base + "Grafik8.bmp", "BMP");
        monthtable::WriteRequest req;
        req.userName = "Max Muster";
        req.month = "03";
        req.year = "2024";
        req.fourSlots = false;
        req.eightSlots = true;
        for (int d = 1; d <= 31; ++d)
            for (int s = 1; s <= 8; ++s)
                req.entries << entryline::format(
                    slotinfo::fromNumber(s), QStringLiteral("%1").arg(d, 2, 10, QChar(u'0')), "03",
                    "2024", "07:30", QString::number(60 + (d * 37 + s * 53) % 220));
        table = base + "MM032024.tab";
        textfile::writeLines(table, monthtable::compose(req, monthtable::Margins()));
        AppState &st = appState();
        st.BaseFolder = base;
        st.SettingsPath = base + "glykoval.ini";
        st.GraphTemplatePath = base + "Grafik8.bmp";
        st.FourSlotsTicked = false;
        st.EightSlotsTicked = true;
    }
};

// The bare template: load the picture file and copy it into the graph picture.
void BM_TemplateLoadOnly(benchmark::State &state) {
    benchapp::ensureApplication();
    GraphFolder f;
    PictureBox image;
    for (auto _ : state) {
        image.loadPicture(appState().GraphTemplatePath);
        benchmark::DoNotOptimize(image.picture().constBits());
    }
}
BENCHMARK(BM_TemplateLoadOnly)->Unit(benchmark::kMillisecond);

// The whole drawing pass of a full eight-slot month (248 readings).
void BM_DrawFullEightSlotMonth(benchmark::State &state) {
    benchapp::ensureApplication();
    GraphFolder f;
    PictureBox image, legend, meanImage;
    QLabel title;
    legend.setPicture(templatepicture::legend());
    GraphWidgets w;
    w.image = &image;
    w.legend = &legend;
    w.meanImage = &meanImage;
    w.title = &title;
    TMonthGraph graph(w);
    graph.callbacks.windowWidth = [] { return 1000; };
    for (auto _ : state) {
        appState().clearDayLineTexts();
        benchmark::DoNotOptimize(graph.GrafikZeichnen(f.table));
    }
    state.counters["readings"] = graph.values().lineCount();
}
BENCHMARK(BM_DrawFullEightSlotMonth)->Unit(benchmark::kMillisecond);

} // namespace
