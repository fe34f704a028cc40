#include <gtest/gtest.h>

#include <QJsonDocument>
#include <QJsonObject>

#include "stats/statstext.h"
#include "statsfixture.h"
#include "support/clirun.h"
#include "support/golden.h"

using namespace stats;

TEST(StatsCommands, StatsJsonCsvAndReport) {
    statsfixture::ThreeMonths m;
    testutil::Cli call;
    EXPECT_EQ(call.run({"stats", m.mar}), 0);
    EXPECT_TRUE(golden::matches(call.out.toUtf8(), "statsview/stats-maerz.txt"));
    EXPECT_EQ(call.run({"stats", "--json", m.jan, m.feb}), 0);
    EXPECT_TRUE(golden::matches(call.out.toUtf8(), "statsview/stats-januar-februar.json"));
    EXPECT_TRUE(call.err.contains(
        "Messwert der Messungen 4 bis 7 zählt mit")); // notes go to the error stream

    // March against February, found beside it.
    EXPECT_EQ(call.run({"stats", "--json", m.mar}), 0);
    EXPECT_TRUE(golden::matches(call.out.toUtf8(), "statsview/stats-maerz.json"));

    EXPECT_EQ(call.run({"export-csv", m.feb, m.jan}), 0);
    EXPECT_TRUE(call.out.startsWith(QChar(0xFEFF) +
                                    QString("Datum;Uhrzeit;Messung;mg/dl;mmol/l\r\n2024-01-01;")));
    EXPECT_EQ(call.out.count("\r\n"), 1 + 31 * 8 + 29 * 4 + 1);

    EXPECT_EQ(call.run({"report", m.tmp.file("cli.pdf"), m.mar}), 0);
    EXPECT_TRUE(testutil::readBytes(m.tmp.file("cli.pdf")).startsWith("%PDF"));
    EXPECT_EQ(call.out.trimmed(), m.tmp.file("cli.pdf"));

    // Wrong calls and unreadable tables.
    EXPECT_EQ(call.run({"stats"}), 2);
    EXPECT_EQ(call.run({"report", "x.pdf"}), 2);
    EXPECT_EQ(call.run({"export-csv"}), 2);
    EXPECT_EQ(call.run({"stats", m.tmp.file("fehlt.tab")}), 1);
    EXPECT_TRUE(call.err.contains("kann nicht gelesen werden"));
    EXPECT_EQ(call.run({"report", m.tmp.file("fehlt/x.pdf"), m.mar}), 1);
    EXPECT_TRUE(call.err.contains("konnte nicht geschrieben werden"));
}

TEST(StatsCommands, ATableNamedTwiceCountsOnce) {
    statsfixture::ThreeMonths m;
    const QString again = m.tmp.path() + "Glykovalin-Daten/2024/../2024/MM032024.tab";
    const QString note = "Hinweis: Die Tabelle \"MM032024.tab\" wurde mehrfach angegeben und "
                         "zählt nur einmal.";
    const int march = 20 * 8 + 2;
    testutil::Cli call;
    EXPECT_EQ(call.run({"stats", "--json", m.mar, again, m.mar}), 0);
    EXPECT_EQ(QJsonDocument::fromJson(call.out.toUtf8()).object()["readings"].toInt(), march);
    EXPECT_EQ(call.err.count(note), 1);
    EXPECT_EQ(call.run({"stats", m.mar, m.mar}), 0);
    EXPECT_TRUE(call.out.contains("Messwerte: " + readingsOnDays(march, 21)));
    EXPECT_TRUE(call.out.contains(note));
    EXPECT_EQ(call.run({"export-csv", m.mar, again}), 0);
    EXPECT_EQ(call.out.count("\r\n"), 1 + march);
    EXPECT_TRUE(call.err.contains(note));
    EXPECT_EQ(call.run({"report", m.tmp.file("zweimal.pdf"), m.mar, m.mar}), 0);
    EXPECT_TRUE(call.err.contains(note));
}

// "stats" in a folder whose settings name mmol/l: its text gives mmol/l
// first, mg/dl only in brackets; the JSON keeps mg/dl.
TEST(StatsCommands, StatsTextInMmol) {
    statsfixture::ThreeMonths m;
    testutil::writeBytes(m.tmp.file("glykoval.ini"),
                         testutil::crlf({"[Einstellung]", "Einheit=mmol/l"}));
    testutil::Cli call;
    EXPECT_EQ(call.run({"stats", m.mar}), 0);
    EXPECT_TRUE(golden::matches(call.out.toUtf8(), "statsview/stats-maerz-mmol.txt"));
    // mg/dl only after mmol/l.
    for (const QString &line : call.out.split('\n'))
        EXPECT_TRUE(!line.contains("mg/dl") || line.contains("mmol/l")) << line.toStdString();
    EXPECT_EQ(call.run({"stats", "--json", m.mar}), 0);
    const Tenths mean = statsfixture::collectAll({m.mar}).figures.mean;
    EXPECT_TRUE(call.out.contains("\"mean_mgdl\": " + german(mean).replace(',', '.')));
}
