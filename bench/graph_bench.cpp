#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include "benchapp.h"
#include "graph/monthgraph.h"
#include "graph/templatepicture.h"
#include "platform/picturebox.h"
#include "platform/textfile.h"
#include "settings_fixture.h"
#include "storage/monthmodel.h"
#include "storage/monthtable.h"

namespace {

// A folder with settings, the eight-slot template and a full month of
// 31 × 8 readings.
struct GraphFolder {
    QTemporaryDir dir;
    QString table, templatePath;
    std::unique_ptr<MonthModel> session;
    GraphFolder() {
        const QString base = dir.path() + u'/';
        textfile::writeLines(base + "glykoval.ini",
                             {"[Einstellung]", "Hochwerte>=180", "Kritischwerte>=140",
                              "Tiefwerte<=60", "FarbeHochwerte=255", "FarbeKritischwerte=33023",
                              "FarbeTiefwerte=16711680", "StiftBreite=2",
                              "BenutzerName=Max Muster"});
        templatepicture::graphTemplate(MeasureMode::Eight).save(base + "Grafik8.bmp", "BMP");
        table = base + "MM032024.tab";
        benchfixture::writeFullEightSlotMonth(table);
        templatePath = base + "Grafik8.bmp";
        session = std::make_unique<MonthModel>(Folders::at(base));
        session->setModeTicks(false, true);
    }
};

// The bare template: load the picture file and copy it into the graph picture.
void BM_TemplateLoadOnly(benchmark::State &state) {
    benchapp::ensureApplication();
    GraphFolder f;
    PictureBox image;
    for (auto _ : state) {
        image.loadPicture(f.templatePath);
        benchmark::DoNotOptimize(image.picture().constBits());
    }
}
BENCHMARK(BM_TemplateLoadOnly)->Unit(benchmark::kMillisecond);

// The whole drawing pass of a full eight-slot month (248 readings): the
// table read as the model reads it, then drawn.
void BM_DrawFullEightSlotMonth(benchmark::State &state) {
    benchapp::ensureApplication();
    GraphFolder f;
    MonthGraph graph(*f.session);
    graph.setTemplatePath(f.templatePath);
    int readings = 0;
    for (auto _ : state) {
        monthread::Month month;
        monthread::read(f.table, month);
        readings = month.result.readingCount;
        benchmark::DoNotOptimize(graph.draw(month, MonthGraph::View::Values, {}));
    }
    state.counters["readings"] = readings;
}
BENCHMARK(BM_DrawFullEightSlotMonth)->Unit(benchmark::kMillisecond);

} // namespace
