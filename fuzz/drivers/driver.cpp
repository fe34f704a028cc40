// libFuzzer driver for one reader; GLYKO_FUZZ_ENTRY names its entry function.
#include <QCoreApplication>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "fuzz/readers.h"

namespace {
// Only a broken promise is worth printing; the readers' warnings would slow
// every run down.
void quiet(QtMsgType type, const QMessageLogContext &, const QString &text) {
    if (type == QtFatalMsg) std::fprintf(stderr, "%s\n", qPrintable(text));
}
} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***argv) {
    qInstallMessageHandler(quiet);
    static int argc = 1;
    static char *args[] = {(*argv)[0], nullptr};
    // Never destroyed: Qt's clean-up at exit runs after other statics are gone.
    new QCoreApplication(argc, args);
    fuzzing::setUp();
    std::atexit(fuzzing::tearDown);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    GLYKO_FUZZ_ENTRY(QByteArray(reinterpret_cast<const char *>(data), qsizetype(size)));
    return 0;
}
