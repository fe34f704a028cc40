#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <iostream>
#include <string>

#include "fuzz/readers.h"
#include "guichecks.h"
#include "importfuzz.h"

// Every seed and every input that ever crashed a reader goes through the same
// entry functions as the fuzzers, so the normal and the sanitizer builds keep
// them as regression tests.
namespace {

struct Reader {
    const char *name; // its folder in fuzz/corpus (seeds) and fuzz/regressions
    void (*read)(const QByteArray &);
    void (*windows)(); // what the windows and documents make of the same input
};

const Reader kReaders[] = {
    {"month", fuzzing::readMonthTable, guichecks::afterMonthTable},
    {"diary", fuzzing::readDiaryFile, guichecks::afterDiaryFile},
    {"settings", fuzzing::readSettingsFile, guichecks::afterSettingsFile},
    {"import", fuzzing::readImportFile, nullptr},
};

// Shown in test listings instead of the raw bytes of the parameter.
void PrintTo(const Reader &reader, std::ostream *os) {
    *os << reader.name;
}

class SavedInputs : public testing::TestWithParam<Reader> {
protected:
    static void TearDownTestSuite() { fuzzing::tearDown(); }
};

} // namespace

TEST_P(SavedInputs, AreReadWithoutCrashOrBrokenPromise) {
    const Reader &reader = GetParam();
    int seeds = 0;
    for (const char *kind : {"corpus", "regressions"}) {
        const QDir dir(QStringLiteral(GLYKO_FUZZ_DIR "/%1/%2").arg(kind, reader.name));
        for (const QString &name : dir.entryList(QDir::Files, QDir::Name)) {
            // Named first: a crash or a broken promise ends the program.
            std::cout << "input " << dir.filePath(name).toStdString() << std::endl;
            QFile f(dir.filePath(name));
            ASSERT_TRUE(f.open(QIODevice::ReadOnly));
            reader.read(f.readAll());
            if (reader.windows) reader.windows();
            seeds += kind == std::string("corpus");
        }
    }
    EXPECT_GE(seeds, 3);
}

INSTANTIATE_TEST_SUITE_P(Fuzz, SavedInputs, testing::ValuesIn(kReaders),
                         [](const auto &info) { return std::string(info.param.name); });
