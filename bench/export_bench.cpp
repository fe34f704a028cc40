// The diary book as the menu command and the command-line tool make it,
// against zlib alone over the same picture bytes, and the peak memory of the
// whole command in a process of its own.
#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <chrono>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <zlib.h>

#include "diary/diarybook_month.h"
#include "diary/diarybook_pdf.h"
#include "diary/tagebuchspeichernform.h"
#include "platform/machpause.h"
#include "platform/textfile.h"
#include "platform/ui.h"
#include "recordingservices.h"
#include "storage/entryline.h"
#include "storage/monthtable.h"

namespace {

using Clock = std::chrono::steady_clock;

double seconds(Clock::duration d) {
    return std::chrono::duration<double>(d).count();
}

// Processor time of this process; on a shared, busy machine a steadier
// measure than the clock on the wall.
double cpuSeconds() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) / 1e9;
}

// Time spent in a piece of work, on the wall and on the processor.
struct Spent {
    double wall = 0, cpu = 0;
    template <class F> void add(F &&work) {
        const auto w0 = Clock::now();
        const double c0 = cpuSeconds();
        work();
        cpu += cpuSeconds() - c0;
        wall += seconds(Clock::now() - w0);
    }
};

// A stored eight-slot page of day d; n makes every line its own.
QString pageLine(int d, int n) {
    return QStringLiteral("Tag%1: \t #BE: Morgens= 2\t|  M2= 1\t|  M3= \t|  M4= 3\t|  M5= \t|  "
                          "M6= 1\t|  M7= \t|  Abends= 4\t #Insulin (ICT) : Bolus= 4   Basal= 10\t| "
                          " Bol.=   Bas.= \t|  Bol.= 6   Bas.= \t|  Bol.=   Bas.= \t|  Bol.=   "
                          "Bas.= \t|  Bol.=   Bas.= \t|  Bol.=   Bas.= \t|  Bol.= 5   Bas.= 12  "
                          "\t #Bemerkung: BE-Tagessumme= 11\t•    Eintrag %2, Spaziergang nach "
                          "dem Essen, Werte stabil")
        .arg(d, 2, 10, QChar(u'0'))
        .arg(n);
}

// A base folder with settings and an eight-slot March 2024: 31 days of eight
// readings and a diary of `pages` stored pages (the days over and over).
struct BookFolder {
    QTemporaryDir dir;
    QString table;
    explicit BookFolder(int pages) {
        const QString base = dir.path() + u'/';
        textfile::writeLines(base + "glykoval.ini",
                             {"[Einstellung]", "BisZu4MessungenJeTag=0", "BisZu8MessungenJeTag=1"});
        monthtable::WriteRequest req{.entries = {},
                                     .userName = "Max Muster",
                                     .month = "03",
                                     .year = "2024",
                                     .fourSlots = false,
                                     .eightSlots = true,
                                     .currentTablePath = {},
                                     .dataFolder = base + "Glykovalin-Daten/",
                                     .targetPath = {}};
        for (int d = 1; d <= 31; ++d)
            for (int k = 1; k <= 8; ++k)
                req.entries << entryline::format(
                    slotinfo::fromNumber(k), QStringLiteral("%1").arg(d, 2, 10, QChar(u'0')), "03",
                    "2024", QStringLiteral("%1:15").arg(4 + 2 * k, 2, 10, QChar(u'0')),
                    QString::number(80 + (d * 7 + k * 13) % 140));
        QDir().mkpath(req.dataFolder + "2024");
        table = monthtable::pathFor(req.dataFolder, "MM", "03", "2024");
        textfile::writeLines(table, monthtable::compose(req, monthtable::Margins()));
        QStringList diary;
        for (int n = 0; n < pages; ++n)
            diary << pageLine(n % 31 + 1, n);
        textfile::writeLines(monthtable::diaryPathOf(table), diary);
    }
    QString base() const { return dir.path() + u'/'; }
    // What the book is made from, as the tool reads it.
    DiaryBookInput input() const {
        monthread::Month month;
        QString error;
        monthread::readWhole(table, month, &error);
        return diarybook::bookInput(month, base() + "Glykovalin-Daten/", MeasureMode::Eight,
                                    GlucoseUnit::MgDl);
    }
};

// The book window and the main window's pause, made once as the program
// makes them at start-up.
struct BookWindow {
    ui::RecordingServices rec;
    TMachPause pause;
    TTagebuchSpeichernForm form{rec};
    BookWindow() { form.setPause(&pause); }
    // The menu command's work from the window on: compose the book in the
    // window, "Drucken" with the file name answered, write, hand the file to
    // the shell (recorded, not opened).
    bool print(const DiaryBookInput &in, const QString &pdf) {
        rec.clear();
        rec.fileNames.enqueue(pdf);
        form.showBook(in);
        return rec.shown.isEmpty() && rec.opened == QStringList{pdf};
    }
};

// compress2 at the default level over the pictures' bytes as the PDF holds
// them (rows of red, green, blue); only the zlib calls are timed.
void compress2Pages(const DiaryBookInput &in, Spent &spent) {
    const diarybook::BookPages book(diarybook::composeContent(in));
    QByteArray raw, out;
    for (int i = 0; i < book.pageCount(); ++i) {
        const QImage rgb = book.renderPage(i).convertToFormat(QImage::Format_RGB888);
        const qsizetype row = qsizetype(rgb.width()) * 3;
        raw.resize(row * rgb.height());
        for (int y = 0; y < rgb.height(); ++y)
            std::memcpy(raw.data() + y * row, rgb.constScanLine(y), size_t(row));
        uLongf size = compressBound(uLong(raw.size()));
        out.resize(qsizetype(size));
        spent.add([&] {
            compress2(reinterpret_cast<Bytef *>(out.data()), &size,
                      reinterpret_cast<const Bytef *>(raw.constData()), uLong(raw.size()),
                      Z_DEFAULT_COMPRESSION);
        });
        benchmark::DoNotOptimize(out.data());
    }
}

// The whole menu command per iteration (manual time: the wall clock) and, in
// the same run, compress2 over the same picture bytes. ratio: command /
// compress2 in processor time, ratio_wall the same on the wall clock.
void BM_DiaryBookMenuCommand(benchmark::State &state) {
    const int pages = int(state.range(0));
    BookFolder folder(pages);
    const DiaryBookInput in = folder.input();
    const QString pdf = folder.base() + "buch.pdf";
    BookWindow window;
    Spent command, zlib;
    for (auto _ : state) {
        const double before = command.wall;
        bool ok = false;
        command.add([&] { ok = window.print(in, pdf); });
        if (!ok) {
            state.SkipWithError("the diary book was not written");
            return;
        }
        state.SetIterationTime(command.wall - before);
        compress2Pages(in, zlib);
    }
    const double n = double(state.iterations());
    state.counters["compress2_ms"] = zlib.wall / n * 1000;
    state.counters["ratio"] = command.cpu / zlib.cpu;
    state.counters["ratio_wall"] = command.wall / zlib.wall;
    state.counters["cpu_ms_per_page"] = command.cpu / n * 1000 / pages;
    state.counters["printed_pages"] =
        diarybook::BookPages(diarybook::composeContent(in)).pageCount();
    state.counters["pdf_KiB"] = double(QFileInfo(pdf).size()) / 1024;
}
BENCHMARK(BM_DiaryBookMenuCommand)
    ->Arg(1)
    ->Arg(8)
    ->Arg(31)
    ->Arg(365)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

// Peak resident memory of a child process running the arguments in the
// folder; *ok tells whether it ended with exit code 0.
double childPeakMiB(const QString &program, const QStringList &args, const QString &folder,
                    bool *ok) {
    QList<QByteArray> bytes = {QFile::encodeName(program)};
    for (const QString &a : args)
        bytes << QFile::encodeName(a);
    std::vector<char *> argv;
    for (QByteArray &b : bytes)
        argv.push_back(b.data());
    argv.push_back(nullptr);
    const QByteArray dir = QFile::encodeName(folder);
    const pid_t pid = fork();
    if (pid == 0) {
        if (chdir(dir.constData()) != 0) _exit(126);
        const int null = open("/dev/null", O_WRONLY);
        dup2(null, 1);
        dup2(null, 2);
        execv(argv[0], argv.data());
        _exit(127);
    }
    int status = 0;
    rusage usage{};
    const bool waited = pid > 0 && wait4(pid, &status, 0, &usage) == pid;
    *ok = waited && WIFEXITED(status) && WEXITSTATUS(status) == 0;
    return waited ? double(usage.ru_maxrss) / 1024 : 0; // kilobytes on Linux
}

// The whole command in a process of its own: the tool's "diary-pdf", the
// window's "Drucken" (this program in its child mode, below) and, for
// comparison, the tool doing nothing but print its usage.
void BM_DiaryBookPeakMemory(benchmark::State &state) {
    const int pages = int(state.range(0));
    BookFolder folder(pages);
    const QString dir = QCoreApplication::applicationDirPath();
    const QString cli = dir + "/glykovalin-cli";
    if (!QFileInfo(cli).isExecutable()) {
        state.SkipWithError("glykovalin-cli not built");
        return;
    }
    double tool = 0, window = 0, bare = 0;
    bool toolOk = false, windowOk = false, usage = false;
    for (auto _ : state) {
        tool =
            childPeakMiB(cli, {"diary-pdf", folder.table, "werkzeug.pdf"}, folder.base(), &toolOk);
        window = childPeakMiB(QCoreApplication::applicationFilePath(),
                              {"--diary-book-window", folder.table, "fenster.pdf"}, folder.base(),
                              &windowOk);
        bare = childPeakMiB(cli, {}, folder.base(), &usage); // prints its usage
    }
    if (!toolOk || !windowOk) state.SkipWithError("a child process failed");
    state.counters["cli_peak_MiB"] = tool;
    state.counters["window_peak_MiB"] = window;
    state.counters["bare_cli_MiB"] = bare;
}
BENCHMARK(BM_DiaryBookPeakMemory)
    ->Arg(1)
    ->Arg(31)
    ->Arg(365)
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);

// Child mode: the window's "Drucken" for TABLE into OUT.pdf, nothing else.
int windowChild(const QString &table, const QString &pdf) {
    monthread::Month month;
    QString error;
    if (!monthread::readWhole(table, month, &error)) return 1;
    const DiaryBookInput in = diarybook::bookInput(
        month, QDir::currentPath() + "/Glykovalin-Daten/", MeasureMode::Eight, GlucoseUnit::MgDl);
    BookWindow window;
    return window.print(in, QDir::current().absoluteFilePath(pdf)) ? 0 : 1;
}

} // namespace

// The benchmark program's entry point, unless another benchmark file brings
// one. It makes the application all benchmarks draw with.
__attribute__((weak)) int main(int argc, char **argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (argc == 4 && std::strcmp(argv[1], "--diary-book-window") == 0)
        return windowChild(QString::fromLocal8Bit(argv[2]), QString::fromLocal8Bit(argv[3]));
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
