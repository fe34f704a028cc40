#include <benchmark/benchmark.h>

#include <QStringList>
#include <algorithm>
#include <random>

#include "entry/tablebuilder.h"
#include "storage/entryline.h"

namespace {

// A full eight-slot month: 31 days x 8 readings, in shuffled order.
QStringList fullMonth() {
    QStringList l;
    for (int day = 1; day <= 31; ++day)
        for (int n = 1; n <= slotinfo::kCount; ++n)
            l << entryline::format(slotinfo::fromNumber(n),
                                   QStringLiteral("%1").arg(day, 2, 10, QLatin1Char('0')),
                                   QStringLiteral("03"), QStringLiteral("2024"),
                                   QStringLiteral("%1:00").arg(5 + 2 * n, 2, 10, QLatin1Char('0')),
                                   QString::number(80 + (day * 7 + n * 13) % 200));
    std::mt19937 rng(7);
    std::shuffle(l.begin(), l.end(), rng);
    return l;
}

void BM_SortFullMonth(benchmark::State &state) {
    const QStringList month = fullMonth();
    for (auto _ : state)
        benchmark::DoNotOptimize(tablebuilder::sortEntries(month));
}
BENCHMARK(BM_SortFullMonth);

void BM_TableTextFullMonth(benchmark::State &state) {
    tablebuilder::TableInput in;
    in.entries = tablebuilder::sortEntries(fullMonth());
    in.monthName = QStringLiteral("März");
    in.year = QStringLiteral("2024");
    in.userName = QStringLiteral("Max Muster");
    in.fourSlots = false;
    in.eightSlots = true;
    for (auto _ : state)
        benchmark::DoNotOptimize(tablebuilder::TableText(in));
}
BENCHMARK(BM_TableTextFullMonth);

} // namespace
