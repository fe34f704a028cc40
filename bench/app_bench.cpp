// The main window's everyday actions in the real program with a small
// glykoval.ini (Arg 0, about 1 KB) and one with twenty years of remarks
// (Arg 1, about 365 KB): a redraw of a full eight-slot month, a scroll step
// and a click on a day. The bare template load is the redraw's baseline.
#include <QAction>
#include <QDir>
#include <QMainWindow>
#include <QScrollArea>
#include <QScrollBar>
#include <QTest>
#include <QTextEdit>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <functional>
#include <malloc.h>
#include <memory>
#include <vector>

#include "app/mainform.h"
#include "app/program.h"
#include "benchapp.h"
#include "graph/monthgraph.h"
#include "graph/templatepicture.h"
#include "platform/picturebox.h"
#include "recordingservices.h"
#include "settings_fixture.h"
#include "storage/monthtable.h"

namespace {

// A base folder as the program's with a full eight-slot March 2024 as the
// last month shown.
struct ProgramFolder {
    QTemporaryDir dir;
    QString old = QDir::currentPath();
    explicit ProgramFolder(bool twentyYears) {
        const QString base = dir.path() + u'/';
        for (MeasureMode m : {MeasureMode::Four, MeasureMode::Eight})
            templatepicture::graphTemplate(m).save(
                base + (m == MeasureMode::Four ? "Grafik4.bmp" : "Grafik8.bmp"), "BMP");
        templatepicture::legend().save(base + "M_einheit.bmp", "BMP");
        templatepicture::header().save(base + "Header.bmp", "BMP");
        QDir().mkpath(base + "Glykovalin-Daten/2024");
        const QString table = base + "Glykovalin-Daten/2024/MM032024.tab";
        benchfixture::writeFullEightSlotMonth(table);
        QStringList settings = benchfixture::settingsLines();
        for (QString &l : settings)
            if (l.startsWith(QStringLiteral("TabellenDateiName=")))
                l = QStringLiteral("TabellenDateiName=") + table;
        if (twentyYears) settings += benchfixture::remarkSections(20);
        textfile::writeLines(base + "glykoval.ini", settings);
        QDir::setCurrent(base);
    }
    ~ProgramFolder() { QDir::setCurrent(old); }
    QString templatePath() const { return dir.path() + QStringLiteral("/Grafik8.bmp"); }
};

// The running program after its first paint.
struct RunningProgram {
    ProgramFolder folder;
    ui::RecordingServices rec;
    std::unique_ptr<Program> program;
    explicit RunningProgram(bool twentyYears) : folder(twentyYears) {
        program = createProgram(rec);
        program->mainForm().show();
        for (int i = 0; i < 20 && !program->mainForm().monthShown(); ++i)
            QCoreApplication::processEvents();
    }
    ~RunningProgram() {
        if (program) program->mainForm().hide();
    }
    bool ok() const { return program && program->mainForm().monthShown(); }
    TMainForm &window() { return program->mainForm(); }
    template <class T> T *find(const char *name) {
        return window().findChild<T *>(QString::fromLatin1(name));
    }
};

void BM_AppTemplateLoad(benchmark::State &state) {
    benchapp::ensureApplication();
    ProgramFolder f(false);
    PictureBox image;
    for (auto _ : state) {
        image.loadPicture(f.templatePath());
        benchmark::DoNotOptimize(image.picture().constBits());
    }
}
BENCHMARK(BM_AppTemplateLoad)->Unit(benchmark::kMillisecond);

// "Messwerte": the stored month drawn again, as the menu entry does it.
void BM_AppRedraw(benchmark::State &state) {
    benchapp::ensureApplication();
    RunningProgram p(state.range(0) == 1);
    if (!p.ok()) {
        state.SkipWithError("the month was not drawn");
        return;
    }
    QAction *redraw = p.find<QAction>("Messwerte");
    for (auto _ : state)
        redraw->trigger();
}
BENCHMARK(BM_AppRedraw)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// The drawing pass alone over the month on screen, with the program's
// model and its shared settings.
void BM_AppDrawingPass(benchmark::State &state) {
    benchapp::ensureApplication();
    RunningProgram p(state.range(0) == 1);
    MonthGraph graph(p.program->model);
    graph.setTemplatePath(p.folder.templatePath());
    for (auto _ : state)
        benchmark::DoNotOptimize(
            graph.draw(p.program->model.month(), MonthGraph::View::Values, {}));
}
BENCHMARK(BM_AppDrawingPass)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// One step of the horizontal scroll bar (the pinned pieces follow).
void BM_AppScrollStep(benchmark::State &state) {
    benchapp::ensureApplication();
    RunningProgram p(state.range(0) == 1);
    QScrollBar *bar = p.find<QScrollArea>("FormScrollArea")->horizontalScrollBar();
    bar->setMaximum(std::max(bar->maximum(), 400));
    int step = 0;
    for (auto _ : state)
        bar->setValue(100 + 10 * (++step % 2));
}
BENCHMARK(BM_AppScrollStep)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

// A click on the graph: the diary page of that day is shown, up to its
// page painted (what the user waits for, not only the page composed).
void BM_AppDayClick(benchmark::State &state) {
    benchapp::ensureApplication();
    RunningProgram p(state.range(0) == 1);
    p.find<QScrollArea>("FormScrollArea")->horizontalScrollBar()->setValue(0);
    QWidget *image = p.find<QWidget>("Image");
    QTextEdit *editor = p.find<QTextEdit>("RichEdit1");
    int click = 0;
    for (auto _ : state) {
        QTest::mouseClick(image, Qt::LeftButton, {}, QPoint(40 + 48 * (3 + ++click % 2) + 5, 200));
        editor->viewport()->repaint();
    }
}
BENCHMARK(BM_AppDayClick)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// Counts the paint events a window receives.
struct PaintCounter : QObject {
    int paints = 0;
    bool eventFilter(QObject *, QEvent *e) override {
        if (e->type() == QEvent::Paint) ++paints;
        return false;
    }
};

// Shows `window` until it has painted a frame and `done` holds, takes what
// is on screen, and hides it again. The program and the bare window are
// measured through this same step.
void showUntil(
    QWidget &window, const std::function<bool()> &done = [] { return true; }) {
    PaintCounter frames;
    window.installEventFilter(&frames);
    window.show();
    while (frames.paints == 0 || !done())
        QCoreApplication::processEvents();
    benchmark::DoNotOptimize(window.grab().size());
    window.hide();
    window.removeEventFilter(&frames);
}

enum class Start { BareWindow, FirstFrame, MonthOnScreen };

// One start on fresh memory, in milliseconds: from making the windows until
// the first frame (for MonthOnScreen: until the last month is drawn), then
// what is on screen. The bare window is a main window of the program's size.
// Freeing memory before and closing after are not part of the start. The
// memory freed so far goes back to the system first, so that each start
// pays for fresh pages as a program just started does; otherwise whether a
// window's buffers come from recycled memory depends on what ran before,
// and the same start takes 0.2 or 17 ms.
double timeOneStart(Start what) {
    malloc_trim(0);
    ui::RecordingServices rec;
    std::unique_ptr<Program> program;
    std::unique_ptr<QMainWindow> bare;
    const qint64 begin = benchapp::monotonicNanoseconds();
    if (what == Start::BareWindow) {
        bare = std::make_unique<QMainWindow>();
        bare->resize(1024, 760);
        showUntil(*bare);
    } else {
        program = createProgram(rec);
        TMainForm &window = program->mainForm();
        if (what == Start::MonthOnScreen)
            showUntil(window, [&window] { return window.monthShown(); });
        else
            showUntil(window);
    }
    return double(benchapp::monotonicNanoseconds() - begin) / 1e6;
}

void timeStarts(benchmark::State &state, Start what) {
    benchapp::ensureApplication();
    ProgramFolder f(true);
    for (auto _ : state)
        state.SetIterationTime(timeOneStart(what) / 1e3);
}

// From making the windows to the window's first frame. The month follows
// that frame (BM_AppMonthOnScreen).
void BM_AppFirstPaint(benchmark::State &state) {
    timeStarts(state, Start::FirstFrame);
}
BENCHMARK(BM_AppFirstPaint)->UseManualTime()->Unit(benchmark::kMillisecond);

// From making the windows until the last month is drawn and on screen.
void BM_AppMonthOnScreen(benchmark::State &state) {
    timeStarts(state, Start::MonthOnScreen);
}
BENCHMARK(BM_AppMonthOnScreen)->UseManualTime()->Unit(benchmark::kMillisecond);

void BM_BareMainWindowFirstPaint(benchmark::State &state) {
    timeStarts(state, Start::BareWindow);
}
BENCHMARK(BM_BareMainWindowFirstPaint)->UseManualTime()->Unit(benchmark::kMillisecond);

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

// The first paint against the bare window's, started by turns, so that a
// machine that gets slower or faster during the run changes both alike:
// the medians of both and their ratio.
void BM_FirstPaintAgainstBareWindow(benchmark::State &state) {
    benchapp::ensureApplication();
    ProgramFolder f(true);
    std::vector<double> program, bare;
    for (auto _ : state) {
        bare.push_back(timeOneStart(Start::BareWindow));
        program.push_back(timeOneStart(Start::FirstFrame));
        state.SetIterationTime((bare.back() + program.back()) / 1e3);
    }
    state.counters["program_ms"] = median(program);
    state.counters["bare_ms"] = median(bare);
    state.counters["ratio"] = median(program) / median(bare);
}
BENCHMARK(BM_FirstPaintAgainstBareWindow)
    ->UseManualTime()
    ->Iterations(60)
    ->Unit(benchmark::kMillisecond);

// The whole start as the user waits for it, each a process of its own (the
// helper glyko_startframe): from starting the process to the end of its
// first frame. By turns: a bare main window of the same size with one text
// label, the program's start, and the program's start until the last month
// is on screen, so that a machine that gets slower or faster during the run
// changes all three alike. Reported: the medians and the ratios of the
// program's start and of its month on screen to the bare window's start.
// Run it on a display (Xvfb) to time what a user waits for.
void BM_ProcessStartAgainstBareWindow(benchmark::State &state) {
    benchapp::ensureApplication();
    ProgramFolder f(true);
    std::vector<double> times[3];
    static const char *const modes[] = {"bare", "program", "month"};
    for (auto _ : state) {
        double total = 0;
        for (int m = 0; m < 3; ++m) {
            const qint64 start = benchapp::monotonicNanoseconds();
            const qint64 frame = benchapp::runForStamp(GLYKO_STARTFRAME, modes[m]);
            if (frame <= start) {
                state.SkipWithError("a start did not reach its first frame");
                return;
            }
            times[m].push_back(double(frame - start) / 1e6);
            total += times[m].back();
        }
        state.SetIterationTime(total / 1e3);
    }
    state.counters["bare_ms"] = median(times[0]);
    state.counters["program_ms"] = median(times[1]);
    state.counters["month_ms"] = median(times[2]);
    state.counters["first_frame_ratio"] = median(times[1]) / median(times[0]);
    state.counters["month_ratio"] = median(times[2]) / median(times[0]);
}
BENCHMARK(BM_ProcessStartAgainstBareWindow)
    ->UseManualTime()
    ->Iterations(30)
    ->Unit(benchmark::kMillisecond);

} // namespace
