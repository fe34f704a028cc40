#include <gtest/gtest.h>

#include <QDir>

#include "import/importplan.h"
#include "import/importreport.h"
#include "platform/textfile.h"
#include "storage/monthtable.h"
#include "storage/tablelock.h"
#include "support/filelimit.h"
#include "testutil.h"

using namespace importer;

namespace {

QString data(const QString &name) {
    return QStringLiteral(GLYKO_IMPORT_DATA "/") + name;
}

// A base folder of Max Muster with four slots at 07:00, 12:00, 18:00 and 22:00.
struct Base {
    testutil::TempFolder dir;
    Options options;
    Base() {
        testutil::writeBytes(
            dir.file("glykoval.ini"),
            testutil::crlf({"[Einstellung]", "BenutzerName=Max Muster", "BisZu4MessungenJeTag=1",
                            "BisZu8MessungenJeTag=0", "Messung4UhrzeitMorgens=07:00",
                            "Messung4UhrzeitMessung2=12:00", "Messung4UhrzeitMessung3=18:00",
                            "Messung4UhrzeitAbends=22:00", "Messung8UhrzeitMorgens=07:15"}));
        options.folders = Folders::at(dir.path());
        options.settings = SettingsStore(options.folders.settings);
        options.lockWait = std::chrono::milliseconds(0);
    }
    QString table(const char *name) const {
        return options.folders.data + "2024/" + QString::fromLatin1(name);
    }
    Plan plan(const QStringList &files) const {
        QList<SourceFile> read;
        for (const QString &f : files) {
            SourceFile s;
            EXPECT_TRUE(readFile(data(f), s));
            read << s;
        }
        Plan p;
        QString error;
        EXPECT_TRUE(makePlan(read, options, p, error)) << error.toStdString();
        return p;
    }
    // A table as the program writes it.
    void writeTable(const char *name, const char *month, bool eight, const QStringList &entries) {
        monthtable::WriteRequest req;
        req.entries = entries;
        req.userName = "Max Muster";
        req.month = month;
        req.year = "2024";
        req.fourSlots = !eight;
        req.eightSlots = eight;
        QDir().mkpath(options.folders.data + "2024");
        ASSERT_TRUE(textfile::writeLines(table(name), monthtable::compose(req, {})));
    }
};

void expectSums(const Totals &t) {
    EXPECT_EQ(t.found + t.otherRows,
              t.imported + t.duplicates + t.conflicts + t.outsideSlots + t.skipped());
}

} // namespace

TEST(ImportPlan, NewMonthsAreMadeAsTheProgramMakesThem) {
    Base b;
    const Plan plan = b.plan({"libreview_de.csv"});
    ASSERT_EQ(plan.months.size(), 2);
    const Totals t = plan.totals();
    expectSums(t);
    EXPECT_EQ(t.imported, 4);
    EXPECT_EQ(t.superseded, 1);                     // 21:50 next to 22:05
    EXPECT_EQ(t.sensorLeftOut, 4);                  // without "Sensorwerte übernehmen"
    EXPECT_EQ(t.outsideRange + t.otherRows, 1 + 2); // 600 mg/dl; insulin and a note
    EXPECT_EQ(monthLine(plan.months[0]),
              QString::fromUtf8("März 2024 (MM032024.tab, neue Tabelle): 3 neu, 0 doppelt, "
                                "0 Konflikte, 1 ohne Messzeitpunkt"));

    const ApplyResult done = apply(plan, b.options);
    ASSERT_TRUE(done.ok()) << done.error.toStdString();
    EXPECT_EQ(done.written, QStringList({b.table("MM032024.tab"), b.table("MM042024.tab")}));
    EXPECT_EQ(testutil::readBytes(b.table("MM032024.tab")),
              testutil::crlf(testutil::monthHeader("Max Muster", QString::fromUtf8("März 2024"))) +
                  testutil::crlf({"Morgens den    05.03.2024 Z=07:10  ZuckerWert=128",
                                  "Abends den     05.03.2024 Z=22:05  ZuckerWert=112",
                                  "Messung3 den 06.03.2024 Z=18:10  ZuckerWert=145"}));
    EXPECT_FALSE(QFileInfo::exists(TableLock::lockPathOf(b.table("MM032024.tab"))));
    // The same file again: the import dialog's and the command's tests.
}

TEST(ImportPlan, SensorValuesCompeteForTheirSlot) {
    Base b;
    b.options.sensor = true;
    const Plan plan = b.plan({"libreview_de.csv", "mylife.csv"});
    const Totals t = plan.totals();
    expectSums(t);
    // 05.03 Morgens: strip 07:10 (LibreView) before mylife 07:12, scan and history;
    // Messung2: the scan at 12:20 before the history value nearer to 12:00 and mylife's
    // blood reading at 12:30 before both.
    QStringList lines;
    for (const Placed &p : plan.months[0].added)
        lines << p.line;
    EXPECT_EQ(lines, QStringList({"Morgens den    05.03.2024 Z=07:10  ZuckerWert=128",
                                  "Messung2 den 05.03.2024 Z=12:30  ZuckerWert=160",
                                  "Abends den     05.03.2024 Z=22:05  ZuckerWert=112",
                                  "Messung3 den 06.03.2024 Z=18:10  ZuckerWert=145"}));
    EXPECT_EQ(t.superseded, 6);
    EXPECT_EQ(t.outsideSlots, 2); // 03:15 and mylife's 02:00
}

TEST(ImportPlan, ExistingTableKeepsEveryByteAndItsReadings) {
    Base b;
    b.writeTable("MM032024.tab", "03", false,
                 {"Morgens den    05.03.2024 Z=07:11  ZuckerWert=128", // duplicate
                  "Abends den     05.03.2024 Z=22:00  ZuckerWert=118", // conflict
                  "Messung2 den 07.03.2024 Z=12:00  ZuckerWert=99"});
    const QByteArray before = testutil::readBytes(b.table("MM032024.tab"));
    const Plan plan = b.plan({"libreview_de.csv"});
    const MonthPlan &march = plan.months[0];
    EXPECT_TRUE(march.exists);
    EXPECT_EQ(march.duplicates, 1);
    ASSERT_EQ(march.conflicts.size(), 1);
    EXPECT_EQ(detailLines(plan.months).mid(0, 2),
              QStringList({"Konflikte (der Wert in der Tabelle bleibt):",
                           "  05.03.2024 Abends: in der Tabelle 118 mg/dl um 22:00, in der Datei "
                           "112 mg/dl um 22:05 (Blutzucker)"}));
    ASSERT_TRUE(apply(plan, b.options).ok());
    QByteArray expected = before;
    expected.insert(expected.indexOf("Messung2 den 07"),
                    "Messung3 den 06.03.2024 Z=18:10  ZuckerWert=145\r\n");
    EXPECT_EQ(testutil::readBytes(b.table("MM032024.tab")), expected);
}

TEST(ImportPlan, ModeAndSlotTimesOfTheTargetMonth) {
    Base b;
    // An eight-slot March: Messung8Uhrzeit… (Morgens stored at 07:15, the others by
    // default every two hours up to Abends at 21:00), 60 minutes at most.
    b.writeTable("MM032024.tab", "03", true, {});
    b.options.currentMode = MeasureMode::Eight;
    const Plan plan = b.plan({"libreview_de.csv"});
    EXPECT_EQ(plan.months[0].mode, MeasureMode::Eight);
    EXPECT_EQ(plan.months[1].mode, MeasureMode::Eight); // new April: the current mode
    QStringList lines;
    for (const Placed &p : plan.months[0].added)
        lines << p.line;
    EXPECT_EQ(lines, QStringList({"Morgens den    05.03.2024 Z=07:10  ZuckerWert=128",
                                  "Abends den     05.03.2024 Z=21:50  ZuckerWert=110",
                                  "Messung7 den 06.03.2024 Z=18:10  ZuckerWert=145"}));
    // 22:05 lies past Abends 21:00 + 60 minutes, 03:15 before every slot.
    EXPECT_EQ(plan.months[0].outside.size(), 2);
}

TEST(ImportPlan, ATableThatCannotBeReadOrLockedStopsEverything) {
    Base b;
    QDir().mkpath(b.table("MM042024.tab")); // a folder where April's table should be
    Plan plan;
    QString error;
    SourceFile f;
    ASSERT_TRUE(readFile(data("libreview_de.csv"), f));
    EXPECT_FALSE(makePlan({f}, b.options, plan, error));
    EXPECT_TRUE(error.contains("MM042024.tab\" kann nicht gelesen werden; es wurde nichts"));
    QDir(b.table("MM042024.tab")).removeRecursively();

    plan = b.plan({"libreview_de.csv"});
    TableLock other(b.table("MM042024.tab"));
    ASSERT_TRUE(other.acquire());
    const ApplyResult done = apply(plan, b.options);
    EXPECT_FALSE(done.ok());
    EXPECT_TRUE(done.error.contains("von einem anderen Vorgang geändert"));
    EXPECT_TRUE(done.written.isEmpty());
    EXPECT_EQ(done.notWritten.size(), 2);
    EXPECT_FALSE(QFileInfo::exists(b.table("MM032024.tab")));
    // No user name: the import dialog's and the command's tests.
}

TEST(ImportPlan, AFailedWriteNamesTheTablesWrittenAndNot) {
    Base b;
    // A long April table: March's new table fits under the limit, April's does not.
    QStringList april;
    for (int d = 2; d <= 30; ++d)
        april << QStringLiteral("Messung2 den %1.04.2024 Z=12:00  ZuckerWert=120")
                     .arg(d, 2, 10, QChar('0'));
    b.writeTable("MM042024.tab", "04", false, april);
    const QByteArray before = testutil::readBytes(b.table("MM042024.tab"));
    const Plan plan = b.plan({"libreview_de.csv"});
    ApplyResult done;
    {
        testutil::FileSizeLimit limit(1024);
        ASSERT_TRUE(limit.active());
        done = apply(plan, b.options);
    }
    EXPECT_FALSE(done.ok());
    EXPECT_EQ(done.written, QStringList({b.table("MM032024.tab")}));
    EXPECT_EQ(done.notWritten, QStringList({b.table("MM042024.tab")}));
    EXPECT_TRUE(done.error.contains("Geschrieben wurden: MM032024.tab. Nicht geschrieben wurden: "
                                    "MM042024.tab."))
        << done.error.toStdString();
    EXPECT_EQ(testutil::readBytes(b.table("MM042024.tab")), before);
    EXPECT_EQ(done.totals(plan).imported, 4);
}

TEST(ImportPlan, AHandEditedTableKeepsItsLineEnds) {
    Base b;
    QDir().mkpath(b.options.folders.data + "2024");
    // LF line ends, a reading of another month, no line end after the last line.
    const QByteArray before = "[Personendaten]\nBenutzerName=Max Muster\nBisZu4MessungenJeTag=1\n"
                              "Morgens den    05.02.2024 Z=07:00  ZuckerWert=90\n"
                              "Morgens den    05.03.2024 Z=07:10  ZuckerWert=128";
    testutil::writeBytes(b.table("MM032024.tab"), before);
    ASSERT_TRUE(apply(b.plan({"libreview_de.csv"}), b.options).ok());
    EXPECT_EQ(testutil::readBytes(b.table("MM032024.tab")),
              before + "\r\nAbends den     05.03.2024 Z=22:05  ZuckerWert=112\r\n"
                       "Messung3 den 06.03.2024 Z=18:10  ZuckerWert=145\r\n");
}
