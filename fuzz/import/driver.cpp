// libFuzzer driver for the importers; it needs no widgets.
#include <QCoreApplication>
#include <cstdint>
#include <cstdio>

#include "importfuzz.h"

namespace {
// Only a broken promise is worth printing.
void quiet(QtMsgType type, const QMessageLogContext &, const QString &text) {
    if (type == QtFatalMsg) std::fprintf(stderr, "%s\n", qPrintable(text));
}
} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***argv) {
    qInstallMessageHandler(quiet);
    qputenv("TZ", "Europe/Berlin");
    static int argc = 1;
    static char *args[] = {(*argv)[0], nullptr};
    // Never destroyed: Qt's clean-up at exit runs after other statics are gone.
    new QCoreApplication(argc, args);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    fuzzing::readImportFile(QByteArray(reinterpret_cast<const char *>(data), qsizetype(size)));
    return 0;
}
