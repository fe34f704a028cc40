// Damaged input against a normal month, through the commands of the
// command-line tool: "print-table" with one long damaged line in the month
// table and "diary-pdf" with a long run of tabs in a stored page. Each
// benchmark also times the normal month in the same run; "ratio" is the
// damaged document's time over the normal one's, "us_per_kchar" the time per
// thousand characters of damage, which stays flat while the time grows in
// proportion to the damage (doubling the damage at most doubles the time).
#include <QDir>
#include <QString>
#include <QTemporaryDir>
#include <QTextStream>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <chrono>
#include <vector>

#include "benchapp.h"
#include "cli/diarybook_cli.h"
#include "cli/printcli.h"
#include "platform/textfile.h"
#include "storage/entryline.h"
#include "storage/monthtable.h"

namespace {

using Clock = std::chrono::steady_clock;

// A base folder with settings and a four-slot March 2024 (four readings a
// day) and a diary page for each day; the folder is the current one while
// it lives.
struct MonthFolder {
    QTemporaryDir dir;
    QString table, old;

    MonthFolder(const QString &damagedTableLine, const QString &damagedRemark) {
        old = QDir::currentPath();
        const QString base = dir.path() + u'/';
        textfile::writeLines(base + "glykoval.ini",
                             {"[Einstellung]", "BisZu4MessungenJeTag=1", "BisZu8MessungenJeTag=0",
                              "Hochwerte>=180", "Kritischwerte>=140", "Tiefwerte<=60"});
        monthtable::WriteRequest req;
        req.userName = "Max Muster";
        req.month = "03";
        req.year = "2024";
        req.dataFolder = base + "Glykovalin-Daten/";
        const MeasurementSlot slots4[] = {MeasurementSlot::Morgens, MeasurementSlot::Messung2,
                                          MeasurementSlot::Messung3, MeasurementSlot::Abends};
        QStringList diary;
        for (int d = 1; d <= 31; ++d) {
            const QString day = QStringLiteral("%1").arg(d, 2, 10, QChar(u'0'));
            for (int s = 0; s < 4; ++s)
                req.entries << entryline::format(
                    slots4[s], day, "03", "2024",
                    QStringLiteral("%1:00").arg(7 + 4 * s, 2, 10, QChar(u'0')),
                    QString::number(80 + (d * 7 + s * 13) % 140));
            diary << QStringLiteral("Tag%1: \t #BE: Morgens= 2\t|  M2= \t|  M3= \t|  Abends= 3"
                                    "\t #Insulin (CT)  : Morgens= 4\t|  M2= \t|  M3= \t|  "
                                    "Abends= 6 \t #Bemerkung: Spaziergang nach dem Essen%2")
                         .arg(day, d == 5 ? damagedRemark : QString());
        }
        if (!damagedTableLine.isEmpty()) req.entries.insert(20, damagedTableLine);
        QDir().mkpath(req.dataFolder + "2024");
        table = monthtable::pathFor(req.dataFolder, "MM", "03", "2024");
        textfile::writeLines(table, monthtable::compose(req, monthtable::Margins()));
        textfile::writeLines(monthtable::diaryPathOf(table), diary);
        QDir::setCurrent(base);
    }
    ~MonthFolder() { QDir::setCurrent(old); }
    QString pdf() const { return dir.path() + QStringLiteral("/out.pdf"); }
};

enum class Command { PrintTable, DiaryPdf };

double secondsOf(Command c, const MonthFolder &f) {
    QString outText, errText;
    QTextStream out(&outText), err(&errText);
    const auto start = Clock::now();
    const int rc = c == Command::PrintTable
                       ? printcli::printTableCommand(f.table, f.pdf(), out, err)
                       : diarybook::diaryPdfCommand(f.table, f.pdf(), out, err);
    const double s = std::chrono::duration<double>(Clock::now() - start).count();
    if (rc != 0) return -1;
    return s;
}

// The median of three runs of the command on the normal month.
double normalMonth(Command c) {
    const MonthFolder normal({}, {});
    std::vector<double> t;
    for (int i = 0; i < 3; ++i)
        t.push_back(secondsOf(c, normal));
    std::sort(t.begin(), t.end());
    return t[1];
}

void run(benchmark::State &state, Command c, const MonthFolder &damaged, double damage) {
    const double baseline = normalMonth(c);
    double total = 0;
    for (auto _ : state) {
        const double s = secondsOf(c, damaged);
        if (s < 0) {
            state.SkipWithError("the command failed");
            return;
        }
        state.SetIterationTime(s);
        total += s;
    }
    const double mean = total / double(state.iterations());
    state.counters["ratio"] = mean / baseline;
    state.counters["us_per_kchar"] = mean * 1e6 / (damage / 1000.0);
}

// One entry line of the table followed by `length` characters of damage:
// words of letters with a blank now and then.
void BM_PrintTableLongDamagedLine(benchmark::State &state) {
    benchapp::ensureApplication();
    const int length = int(state.range(0));
    QString damage;
    damage.reserve(length);
    for (int i = 0; i < length; ++i)
        damage += i % 97 == 96 ? QChar(u' ') : QChar(u'a' + i % 26);
    const MonthFolder f(
        QStringLiteral("Morgens den    02.03.2024 Z=07:00  ZuckerWert=120") + damage, {});
    run(state, Command::PrintTable, f, length);
}
BENCHMARK(BM_PrintTableLongDamagedLine)
    ->RangeMultiplier(2)
    ->Range(16 << 10, 1 << 20)
    ->UseManualTime()
    ->Iterations(2)
    ->Unit(benchmark::kMillisecond);

// A stored page whose remark holds a run of `count` tabs.
void BM_DiaryPdfRunOfTabs(benchmark::State &state) {
    benchapp::ensureApplication();
    const int count = int(state.range(0));
    const MonthFolder f({}, QString(count, u'\t') + QStringLiteral("Ende"));
    run(state, Command::DiaryPdf, f, count);
}
BENCHMARK(BM_DiaryPdfRunOfTabs)
    ->Arg(10000)
    ->Arg(20000)
    ->Arg(40000)
    ->Arg(100000)
    ->UseManualTime()
    ->Iterations(2)
    ->Unit(benchmark::kMillisecond);

// The same with tabs between words, each tab going to a tab stop.
void BM_DiaryPdfTabsBetweenWords(benchmark::State &state) {
    benchapp::ensureApplication();
    const int count = int(state.range(0));
    const MonthFolder f({}, QStringLiteral("\tWort").repeated(count));
    run(state, Command::DiaryPdf, f, count * 5);
}
BENCHMARK(BM_DiaryPdfTabsBetweenWords)
    ->Arg(10000)
    ->Arg(20000)
    ->Arg(40000)
    ->UseManualTime()
    ->Iterations(2)
    ->Unit(benchmark::kMillisecond);

} // namespace
