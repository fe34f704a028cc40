// The statistics at twenty years of data, each against a baseline that does
// less, in the same run and by turns (medians and their ratio):
//  - "stats" over 240 months against reading the same bytes (as cat to
//    /dev/null does): ratio at most 8;
//  - "report" over 240 months against "stats" over the same months: ratio
//    at most 1.5;
//  - the statistics window from reading its months to its first frame
//    against a bare dialog of the same size: ratio at most 3. Run it on a
//    real display (Xvfb: xvfb-run -a with QT_QPA_PLATFORM=xcb); offscreen
//    it measures drawing without the display.
#include <QDate>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <QTextStream>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <ctime>
#include <functional>
#include <malloc.h>
#include <memory>
#include <vector>

#include "benchapp.h"
#include "cli/statscli.h"
#include "platform/textfile.h"
#include "recordingservices.h"
#include "statsview/statisticswindow.h"
#include "storage/entryline.h"
#include "storage/monthtable.h"

namespace {

constexpr int kFirstYear = 2005, kYears = 20;

// Twenty years of full eight-slot months, as the program writes them, under
// Glykovalin-Daten/<year>/, each with a diary page on every day.
struct TwentyYears {
    QTemporaryDir dir;
    QStringList tables;
    TwentyYears() {
        for (int year = kFirstYear; year < kFirstYear + kYears; ++year) {
            const QString folder = base() + QStringLiteral("Glykovalin-Daten/%1/").arg(year);
            QDir().mkpath(folder);
            for (int month = 1; month <= 12; ++month)
                tables << writeMonth(folder, year, month);
        }
    }
    QString base() const { return dir.path() + u'/'; }

    static QString writeMonth(const QString &folder, int year, int month) {
        monthtable::WriteRequest req;
        req.userName = "Max Muster";
        req.month = QStringLiteral("%1").arg(month, 2, 10, QChar(u'0'));
        req.year = QString::number(year);
        req.fourSlots = false;
        req.eightSlots = true;
        QStringList diary;
        const int days = QDate(year, month, 1).daysInMonth();
        for (int d = 1; d <= days; ++d) {
            const QString day = QStringLiteral("%1").arg(d, 2, 10, QChar(u'0'));
            for (int s = 1; s <= 8; ++s)
                req.entries << entryline::format(
                    slotinfo::fromNumber(s), day, req.month, req.year,
                    QStringLiteral("%1:30").arg(5 + 2 * s, 2, 10, QChar(u'0')),
                    QString::number(40 + (d * 37 + s * 53 + month * 11 + year) % 300));
            diary << QStringLiteral(
                         "Tag%1: \t #BE: Morgens= 4 \t|  M2= 2,5 \t|  M3= 3 \t|  M4= \t|  "
                         "M5= 1 \t|  M6= \t|  M7= \t|  Abends= 3 \t #Insulin (ICT) : "
                         "Bolus= 7  Basal= 12 \t|  Bol.= 5   Bas.= \t|  Bol.= 6   "
                         "Bas.= 14  #Bemerkung: Sport")
                         .arg(day);
        }
        const QString path = folder + QStringLiteral("MM%1%2.tab").arg(req.month, req.year);
        textfile::writeLines(path, monthtable::compose(req, monthtable::Margins()));
        textfile::writeLines(folder + QStringLiteral("MM%1%2.txt").arg(req.month, req.year), diary);
        return path;
    }
};

TwentyYears &data() {
    static TwentyYears d;
    return d;
}

// Every byte of the tables read and dropped.
qint64 readBytes(const QStringList &tables) {
    qint64 n = 0;
    for (const QString &t : tables) {
        QFile f(t);
        if (f.open(QIODevice::ReadOnly)) n += f.readAll().size();
    }
    return n;
}

// A command of glykovalin-cli, run in the base folder as the user runs it.
int command(const QStringList &args) {
    QString out, err;
    QTextStream o(&out), e(&err);
    int rc = -1;
    statscli::run(args, o, e, rc);
    o.flush();
    benchmark::DoNotOptimize(out.size());
    return rc;
}

qint64 threadCpuNanoseconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return qint64(now.tv_sec) * 1000000000LL + now.tv_nsec;
}

// What the work took on the clock and of the processor, in milliseconds: on
// a machine shared with other work the two part.
struct Time {
    double wall = 0, cpu = 0;
};
Time timed(const std::function<void()> &work) {
    const qint64 c0 = threadCpuNanoseconds(), t0 = benchapp::monotonicNanoseconds();
    work();
    const qint64 t1 = benchapp::monotonicNanoseconds();
    return {double(t1 - t0) / 1e6, double(threadCpuNanoseconds() - c0) / 1e6};
}

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

// Runs baseline and subject by turns; reports the medians of both, their
// ratio (the target) and the ratio of their processor times.
void paired(benchmark::State &state, const std::function<Time()> &baseline,
            const std::function<Time()> &subject) {
    std::vector<double> base, subj, baseCpu, subjCpu;
    for (auto _ : state) {
        const Time b = baseline(), s = subject();
        base.push_back(b.wall);
        subj.push_back(s.wall);
        baseCpu.push_back(b.cpu);
        subjCpu.push_back(s.cpu);
        state.SetIterationTime((b.wall + s.wall) / 1e3);
    }
    state.counters["baseline_ms"] = median(base);
    state.counters["subject_ms"] = median(subj);
    state.counters["ratio"] = median(subj) / median(base);
    state.counters["baseline_cpu_ms"] = median(baseCpu);
    state.counters["subject_cpu_ms"] = median(subjCpu);
    state.counters["cpu_ratio"] = median(subjCpu) / median(baseCpu);
}

struct InFolder {
    QString old = QDir::currentPath();
    explicit InFolder(const QString &folder) { QDir::setCurrent(folder); }
    ~InFolder() { QDir::setCurrent(old); }
};

// "stats" over 240 months against reading their bytes.
void BM_StatsOver240MonthsAgainstReadingTheBytes(benchmark::State &state) {
    const QStringList tables = data().tables;
    const InFolder in(data().base());
    paired(
        state, [&] { return timed([&] { benchmark::DoNotOptimize(readBytes(tables)); }); },
        [&] { return timed([&] { command(QStringList{"stats"} + tables); }); });
}
BENCHMARK(BM_StatsOver240MonthsAgainstReadingTheBytes)
    ->UseManualTime()
    ->Iterations(30)
    ->Unit(benchmark::kMillisecond);

// "report" over 240 months against "stats" over the same months.
void BM_ReportOver240MonthsAgainstStats(benchmark::State &state) {
    benchapp::ensureApplication();
    const QStringList tables = data().tables;
    const InFolder in(data().base());
    // The report goes to a folder in memory where there is one: the disk's
    // flush of the file (textfile::save syncs it) takes 1 to 20 ms here,
    // depending on the disk and on what other programs write, not on the
    // report.
    const QTemporaryDir ram(QFileInfo(QStringLiteral("/dev/shm")).isWritable()
                                ? QStringLiteral("/dev/shm/glyko-bench-XXXXXX")
                                : data().base() + QStringLiteral("report-XXXXXX"));
    const QString pdf = ram.path() + QStringLiteral("/Arztbericht.pdf");
    paired(
        state, [&] { return timed([&] { command(QStringList{"stats"} + tables); }); },
        [&] { return timed([&] {
                  command(QStringList{"report", pdf} + tables);
              }); });
}
BENCHMARK(BM_ReportOver240MonthsAgainstStats)
    ->UseManualTime()
    ->Iterations(30)
    ->Unit(benchmark::kMillisecond);

// Shows a window until its first frame is painted and the display has it.
void showFirstFrame(QWidget &w) {
    struct Paints : QObject {
        int n = 0;
        bool eventFilter(QObject *, QEvent *e) override {
            n += e->type() == QEvent::Paint;
            return false;
        }
    } paints;
    w.installEventFilter(&paints);
    w.show();
    while (paints.n == 0)
        QCoreApplication::processEvents();
    QGuiApplication::sync();
    w.removeEventFilter(&paints);
}

// From the menu command to the window's first frame: the months read, the
// window made and painted. The baseline: a bare dialog of the same size.
void BM_StatisticsWindowAgainstBareDialog(benchmark::State &state) {
    benchapp::ensureApplication();
    const QString table = data().tables.back();
    const QString base = data().base();
    ui::RecordingServices rec;
    QSize size;
    {
        statsview::StatisticsWindow probe(rec);
        size = probe.size();
    }
    // Each on fresh memory, as a window opened after other work gets it;
    // freeing the memory before and closing after are not timed.
    auto open = [&](const std::function<QWidget *()> &make) {
        malloc_trim(0);
        std::unique_ptr<QWidget> w;
        const Time t = timed([&] {
            w.reset(make());
            showFirstFrame(*w);
        });
        w.reset();
        QCoreApplication::processEvents();
        return t;
    };
    paired(
        state,
        [&] {
            return open([&] {
                auto *bare = new QDialog;
                bare->resize(size);
                return bare;
            });
        },
        [&] {
            return open([&] {
                auto *w = new statsview::StatisticsWindow(rec);
                w->showTable(table, base, GlucoseUnit::MgDl);
                return w;
            });
        });
}
BENCHMARK(BM_StatisticsWindowAgainstBareDialog)
    ->UseManualTime()
    ->Iterations(40)
    ->Unit(benchmark::kMillisecond);

} // namespace
