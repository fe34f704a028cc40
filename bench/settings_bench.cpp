#include <QFileInfo>
#include <benchmark/benchmark.h>

#include "platform/inidocument.h"
#include "platform/profile.h"
#include "settings_fixture.h"
#include "storage/settingsstore.h"

namespace {

// The settings one redraw of the month asks for.
const QStringList kRedrawKeys = {"Hochwerte>",
                                 "Kritischwerte>",
                                 "Tiefwerte<",
                                 "FarbeHochwerte",
                                 "FarbeKritischwerte",
                                 "FarbeTiefwerte",
                                 "StiftBreite",
                                 "KurvenFarbe",
                                 "MittelKurvenFarbe",
                                 "DatenwerteOberhalbFarbe",
                                 "WerteOberhalbKurveAnzeigen",
                                 "LinieBeiNullUnterbrechen",
                                 "BenutzerName",
                                 "TabellenDateiName",
                                 "BisZu4MessungenJeTag",
                                 "BisZu8MessungenJeTag",
                                 "Messung8UhrzeitMorgens",
                                 "Messung8UhrzeitMessung2",
                                 "Messung8UhrzeitMessung3",
                                 "Messung8UhrzeitMessung4",
                                 "Messung8UhrzeitMessung5",
                                 "Messung8UhrzeitMessung6",
                                 "Messung8UhrzeitMessung7",
                                 "Messung8UhrzeitAbends"};

// The reads of one redraw through a settings store on a shared document:
// argument 0 is a 1 KB glykoval.ini, 1 one with twenty years of remarks.
void BM_SettingsRedrawReadsShared(benchmark::State &state) {
    benchfixture::SettingsFolder f(state.range(0) == 1);
    const SettingsStore st(std::make_shared<IniDocument>(f.ini));
    for (auto _ : state)
        for (const QString &key : kRedrawKeys)
            benchmark::DoNotOptimize(st.get(key));
    state.counters["bytes"] = double(QFileInfo(f.ini).size());
    state.counters["loads"] = st.document()->loadCount();
}
BENCHMARK(BM_SettingsRedrawReadsShared)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

// The same reads with a store made from the path: the file is read each time.
void BM_SettingsRedrawReadsByPath(benchmark::State &state) {
    benchfixture::SettingsFolder f(state.range(0) == 1);
    const SettingsStore st(f.ini);
    for (auto _ : state)
        for (const QString &key : kRedrawKeys)
            benchmark::DoNotOptimize(st.get(key));
    state.counters["bytes"] = double(QFileInfo(f.ini).size());
}
BENCHMARK(BM_SettingsRedrawReadsByPath)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

// Opening and parsing the file once, then one read.
void BM_SettingsFirstRead(benchmark::State &state) {
    benchfixture::SettingsFolder f(state.range(0) == 1);
    for (auto _ : state) {
        IniDocument doc(f.ini);
        benchmark::DoNotOptimize(doc.read("Einstellung", "Hochwerte>"));
    }
}
BENCHMARK(BM_SettingsFirstRead)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

// One settings change written through the shared document.
void BM_SettingsWriteShared(benchmark::State &state) {
    benchfixture::SettingsFolder f(state.range(0) == 1);
    IniDocument doc(f.ini);
    int n = 0;
    for (auto _ : state)
        doc.write("Einstellung", "LetzteKlickPosition", QString::number(++n % 1000));
    state.counters["loads"] = doc.loadCount();
}
BENCHMARK(BM_SettingsWriteShared)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

} // namespace
