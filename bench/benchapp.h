#pragma once
#include <QApplication>
#include <benchmark/benchmark.h>
#include <malloc.h>

namespace benchapp {

// Widgets need an application object; benchmarks run on the offscreen platform.
inline void ensureApplication() {
    if (QApplication::instance()) return;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "glyko_bench";
    static char *argv[] = {name, nullptr};
    new QApplication(argc, argv);
}

// Gives the memory freed so far back to the system (outside the timing), so
// that each start-up pays for fresh pages as a program just started does.
// Otherwise whether a window's buffers come from recycled memory depends on
// what ran before, and the same start-up takes 0.2 or 17 ms.
inline void returnFreedMemory(benchmark::State &state) {
    state.PauseTiming();
    malloc_trim(0);
    state.ResumeTiming();
}

} // namespace benchapp
