#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

#include "importfuzz.h"

// The importers' seeds and every input that ever broke them go through the
// fuzzer's entry function in each build.
TEST(ImportFuzzInputs, AreReadWithoutCrashOrBrokenPromise) {
    int inputs = 0;
    for (const char *kind : {"corpus", "regressions"}) {
        const QDir dir(QStringLiteral(GLYKO_FUZZ_DIR "/%1/import").arg(kind));
        for (const QString &name : dir.entryList(QDir::Files, QDir::Name)) {
            SCOPED_TRACE(dir.filePath(name).toStdString());
            QFile f(dir.filePath(name));
            ASSERT_TRUE(f.open(QIODevice::ReadOnly));
            fuzzing::readImportFile(f.readAll());
            ++inputs;
        }
    }
    EXPECT_GE(inputs, 8);
}
