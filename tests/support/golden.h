#pragma once
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QString>
#include <gtest/gtest.h>

// Outputs compared whole against files under tests/data/golden. With
// GLYKO_UPDATE_GOLDEN=1 in the environment the files are rewritten from what
// the program makes now instead (see tests/data/README.md).
namespace golden {

inline QString path(const QString &name) {
    return QStringLiteral(GLYKO_TEST_DATA "/golden/") + name;
}

// The bytes equal those of the golden file `name`; a difference names the
// first line that differs.
inline ::testing::AssertionResult matches(const QByteArray &actual, const QString &name) {
    QFile file(path(name));
    if (qEnvironmentVariable("GLYKO_UPDATE_GOLDEN") == QLatin1String("1")) {
        QDir().mkpath(QFileInfo(file).path());
        if (file.open(QIODevice::WriteOnly) && file.write(actual) == actual.size())
            return ::testing::AssertionSuccess();
        return ::testing::AssertionFailure() << "cannot write " << path(name).toStdString();
    }
    if (!file.open(QIODevice::ReadOnly))
        return ::testing::AssertionFailure() << "no golden file " << path(name).toStdString()
                                             << " (GLYKO_UPDATE_GOLDEN=1 makes it)";
    const QByteArray expected = file.readAll();
    if (expected == actual) return ::testing::AssertionSuccess();
    const QList<QByteArray> want = expected.split('\n'), got = actual.split('\n');
    qsizetype line = 0;
    while (line < want.size() && line < got.size() && want[line] == got[line])
        ++line;
    return ::testing::AssertionFailure() << name.toStdString() << " differs in line " << line + 1
                                         << "\n  expected: " << want.value(line).toStdString()
                                         << "\n  actual:   " << got.value(line).toStdString();
}

} // namespace golden
