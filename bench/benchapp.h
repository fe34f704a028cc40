#pragma once
#include <QApplication>

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

} // namespace benchapp
