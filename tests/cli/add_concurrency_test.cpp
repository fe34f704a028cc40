#include <QProcess>
#include <QRegularExpression>
#include <gtest/gtest.h>

#include "support/cliprocess.h"
#include "support/printfolder.h"

// Two "add" processes on the same month at the same moment, 200 times: each
// reading that was reported as written is in the table afterwards; a writer
// that did not get the table in time says so and fails.
TEST(AddConcurrency, TwoWritersOfOneMonthLoseNoReading) {
    if (!cliprocess::built()) GTEST_SKIP() << "glykovalin-cli not built";
    PrintFolder f;
    const char *slotNames[] = {"Morgens", "Abends"};
    int lostOrFailed = 0;
    for (int pair = 0; pair < 200; ++pair) {
        const QString day = QString::number(1 + pair % 28);
        QProcess p[2];
        QString values[2];
        for (int k = 0; k < 2; ++k) {
            values[k] = QString::number(100 + (pair * 2 + k) % 400);
            cliprocess::prepare(p[k], f.tmp.path());
            p[k].start(cliprocess::tool(),
                       {"add", f.table, day, slotNames[k], k == 0 ? "07:00" : "21:30", values[k]});
        }
        QStringList lines;
        for (int k = 0; k < 2; ++k)
            ASSERT_TRUE(p[k].waitForFinished(60000));
        ASSERT_TRUE(monthtable::readLines(f.table, lines));
        for (int k = 0; k < 2; ++k) {
            const QString err = QString::fromUtf8(p[k].readAllStandardError());
            const QRegularExpression stored(
                QStringLiteral("^%1 den +%2\\.03\\.2024 .*ZuckerWert=%3$")
                    .arg(slotNames[k])
                    .arg(day.toInt(), 2, 10, QChar(u'0'))
                    .arg(values[k]));
            const bool inTable = !lines.filter(stored).isEmpty();
            if (p[k].exitCode() == 0) {
                EXPECT_TRUE(inTable) << "pair " << pair << ": reading " << k << " lost";
            } else {
                ++lostOrFailed;
                EXPECT_TRUE(err.contains(QString::fromUtf8("anderen Vorgang")))
                    << err.toStdString();
            }
        }
    }
    // The writers wait for each other: none had to give up.
    EXPECT_EQ(lostOrFailed, 0);
}
