#include <QDate>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <chrono>

#include "platform/textfile.h"
#include "stats/collection.h"
#include "storage/entryline.h"
#include "storage/monthtable.h"

namespace {

// Twelve full eight-slot months (every day, every slot) as the program writes them.
struct YearFolder {
    QTemporaryDir dir;
    QStringList tables;
    YearFolder() {
        for (int month = 1; month <= 12; ++month) {
            monthtable::WriteRequest req;
            req.userName = "Max Muster";
            req.month = QStringLiteral("%1").arg(month, 2, 10, QChar(u'0'));
            req.year = "2023";
            req.fourSlots = false;
            req.eightSlots = true;
            const int days = QDate(2023, month, 1).daysInMonth();
            for (int d = 1; d <= days; ++d)
                for (int s = 1; s <= 8; ++s)
                    req.entries << entryline::format(
                        slotinfo::fromNumber(s), QStringLiteral("%1").arg(d, 2, 10, QChar(u'0')),
                        req.month, "2023",
                        QStringLiteral("%1:30").arg(5 + 2 * s, 2, 10, QChar(u'0')),
                        QString::number(40 + (d * 37 + s * 53 + month * 11) % 300));
            const QString path = dir.path() + "/MM" + req.month + "2023.tab";
            textfile::writeLines(path, monthtable::compose(req, monthtable::Margins()));
            tables << path;
        }
    }
};

YearFolder &year() {
    static YearFolder y;
    return y;
}

// Reading the twelve files and taking every entry line apart with the
// scanning readers, and nothing else.
int readAndParse(const QStringList &tables) {
    int sum = 0;
    for (const QString &t : tables) {
        QStringList lines;
        monthtable::readLines(t, lines);
        for (const QString &l : monthtable::entryLines(lines)) {
            MeasurementSlot slot{};
            entryline::slotOf(l, slot);
            sum += entryline::dayOf(l) + entryline::valueOf(l).trimmed().toInt() +
                   slotinfo::number(slot);
        }
    }
    return sum;
}

qint64 statistics(const QStringList &tables) {
    stats::Collection c;
    stats::collect(tables, MeasureMode::Four, c, nullptr);
    return c.figures.readings + c.figures.mean.value_or(0);
}

void BM_ReadAndParse12Months(benchmark::State &state) {
    const QStringList tables = year().tables;
    for (auto _ : state)
        benchmark::DoNotOptimize(readAndParse(tables));
}
BENCHMARK(BM_ReadAndParse12Months)->Unit(benchmark::kMillisecond);

void BM_Statistics12Months(benchmark::State &state) {
    const QStringList tables = year().tables;
    for (auto _ : state)
        benchmark::DoNotOptimize(statistics(tables));
    state.counters["readings"] = 365 * 8;
}
BENCHMARK(BM_Statistics12Months)->Unit(benchmark::kMillisecond);

// Both alternately in one run; "ratio" is the statistics' time over the
// reading's, to stay at or below 2.
void BM_StatisticsOverReading(benchmark::State &state) {
    using clock = std::chrono::steady_clock;
    const QStringList tables = year().tables;
    double base = 0, figures = 0;
    for (auto _ : state) {
        const auto t0 = clock::now();
        benchmark::DoNotOptimize(readAndParse(tables));
        const auto t1 = clock::now();
        benchmark::DoNotOptimize(statistics(tables));
        const auto t2 = clock::now();
        base += std::chrono::duration<double>(t1 - t0).count();
        figures += std::chrono::duration<double>(t2 - t1).count();
    }
    state.counters["ratio"] = base > 0 ? figures / base : 0;
}
BENCHMARK(BM_StatisticsOverReading)->Unit(benchmark::kMillisecond);

} // namespace
