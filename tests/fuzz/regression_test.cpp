#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <ostream>

#include "fuzz/readers.h"
#include "guichecks.h"

// Every seed and every input that ever crashed a reader goes through the same
// entry functions as the fuzzers, so the normal and the sanitizer builds keep
// them as regression tests.
namespace {

struct Input {
    QString reader; // "month", "diary", "settings"
    QString kind;   // "corpus" (seeds) or "regressions" (inputs that crashed)
    QString path;
};

// Shown in test listings instead of the raw bytes of the parameter.
void PrintTo(const Input &in, std::ostream *os) {
    *os << in.path.toStdString();
}

std::vector<Input> inputs() {
    std::vector<Input> out;
    for (const char *reader : {"month", "diary", "settings"})
        for (const char *kind : {"corpus", "regressions"}) {
            const QDir dir(QStringLiteral(GLYKO_FUZZ_DIR "/%1/%2").arg(kind, reader));
            for (const QString &name : dir.entryList(QDir::Files, QDir::Name))
                out.push_back(
                    {QString::fromLatin1(reader), QString::fromLatin1(kind), dir.filePath(name)});
        }
    return out;
}

std::string nameOf(const testing::TestParamInfo<Input> &info) {
    std::string name =
        (info.param.reader + u'_' + info.param.kind + u'_' + QFileInfo(info.param.path).fileName())
            .toStdString();
    for (char &c : name)
        if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
    return name;
}

class SavedInput : public testing::TestWithParam<Input> {
protected:
    static void TearDownTestSuite() { fuzzing::tearDown(); }
};

} // namespace

TEST_P(SavedInput, IsReadWithoutCrashOrBrokenPromise) {
    QFile f(GetParam().path);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly)) << GetParam().path.toStdString();
    const QByteArray bytes = f.readAll();
    // The core reader as the fuzzer runs it, then what the windows and
    // documents make of the same input.
    if (GetParam().reader == u"month") {
        fuzzing::readMonthTable(bytes);
        guichecks::afterMonthTable();
    } else if (GetParam().reader == u"diary") {
        fuzzing::readDiaryFile(bytes);
        guichecks::afterDiaryFile();
    } else {
        fuzzing::readSettingsFile(bytes);
        guichecks::afterSettingsFile();
    }
}

INSTANTIATE_TEST_SUITE_P(Fuzz, SavedInput, testing::ValuesIn(inputs()), nameOf);

TEST(FuzzInputs, EveryReaderHasSeeds) {
    for (const char *reader : {"month", "diary", "settings"})
        EXPECT_FALSE(QDir(QStringLiteral(GLYKO_FUZZ_DIR "/corpus/%1").arg(reader))
                         .entryList(QDir::Files)
                         .isEmpty())
            << reader;
}
