#include <gtest/gtest.h>

#include <QDir>
#include <QTextStream>

#include "cli/commands.h"
#include "platform/textfile.h"
#include "storage/entryline.h"
#include "storage/monthtable.h"
#include "support/clirun.h"
#include "support/filelimit.h"
#include "testutil.h"

#include <cerrno>

using testutil::readBytes;

namespace {

using testutil::Cli;

QString line(MeasurementSlot slot, const QString &day, const QString &time, const QString &value,
             const QString &month = "02", const QString &year = "2024") {
    return entryline::format(slot, day, month, year, time, value);
}

// A February 2024 table as the entry dialog saves it, margins set by the
// print preview.
struct Table {
    testutil::TempFolder dir;
    monthtable::WriteRequest req;
    QString path;
    explicit Table(bool eight = false) {
        req.userName = QString::fromUtf8("Jörg Müller");
        req.month = "02";
        req.year = "2024";
        req.fourSlots = !eight;
        req.eightSlots = eight;
        req.dataFolder = dir.path() + "Glykovalin-Daten/";
        req.entries = {line(MeasurementSlot::Morgens, "03", "07:30", "128"),
                       line(MeasurementSlot::Abends, "03", "21:00", "99"),
                       line(MeasurementSlot::Morgens, "10", "07:00", "140")};
        path = monthtable::write(req).path;
        const monthtable::Margins m{"15", "9", "8", "7"};
        textfile::writeLines(path, monthtable::compose(req, m));
    }
    // The bytes the table has with these entries.
    QByteArray with(const QStringList &entries) const {
        monthtable::WriteRequest r = req;
        r.entries = entries;
        return textfile::encodeLines(monthtable::compose(r, {"15", "9", "8", "7"}));
    }
};

} // namespace

TEST(CliAdd, AddsSortedAndReplacesInPlaceKeepingTheHeader) {
    Table t;
    Cli cli;
    ASSERT_EQ(cli.run({"add", t.path, "5", "Messung2", "12:10", "087"}), 0)
        << cli.err.toStdString();
    const QString added = line(MeasurementSlot::Messung2, "05", "12:10", "87");
    EXPECT_EQ(cli.out, QStringLiteral("Messwert eingetragen: ") + added + u'\n');
    EXPECT_TRUE(cli.err.isEmpty());
    QStringList expected = t.req.entries;
    expected.insert(2, added);
    EXPECT_EQ(readBytes(t.path), t.with(expected));

    // Day 3 evening again: replaced where it stands.
    ASSERT_EQ(cli.run({"add", t.path, "03", "Abends", "22:00", "0"}), 0);
    expected[1] = line(MeasurementSlot::Abends, "03", "22:00", "0");
    EXPECT_EQ(cli.out, QStringLiteral("Messwert ersetzt: ") + expected[1] + u'\n');
    EXPECT_EQ(readBytes(t.path), t.with(expected));

    // The first day and the last of a leap February, and 24:00.
    ASSERT_EQ(cli.run({"add", t.path, "29", "Morgens", "24:00", "500"}), 0);
    ASSERT_EQ(cli.run({"add", t.path, "1", "Messung 3", "00:00", "60"}), 0);
    expected.prepend(line(MeasurementSlot::Messung3, "01", "00:00", "60"));
    expected.append(line(MeasurementSlot::Morgens, "29", "24:00", "500"));
    EXPECT_EQ(readBytes(t.path), t.with(expected));
}

TEST(CliAdd, BadInputChangesNothing) {
    Table t;
    const QByteArray before = readBytes(t.path);
    Cli cli;
    // Day, slot, time and value; Messung5 does not exist in a four-slot table.
    QList<QStringList> bad = {{"5", "Mittags", "12:00", "100"},  {"5", "Messung5", "12:00", "100"},
                              {"30", "Morgens", "07:00", "100"}, {"0", "Morgens", "07:00", "100"},
                              {"x", "Morgens", "07:00", "100"},  {"5", "Morgens", "7:30", "100"},
                              {"5", "Morgens", "25:00", "100"},  {"5", "Morgens", "24:10", "100"},
                              {"5", "Morgens", "12:60", "100"},  {"5", "Morgens", "07:00", "501"},
                              {"5", "Morgens", "07:00", "-1"},   {"5", "Morgens", "07:00", "NaN"},
                              {"5", "Morgens", "07:00", "1e2"},  {"5", "Morgens", "07:00", ""}};
    for (QStringList &args : bad)
        args = QStringList{"add", t.path} + args;
    bad << QStringList{"add", t.dir.file("fehlt.tab"), "5", "Morgens", "07:00", "100"};
    for (const QStringList &args : bad) {
        EXPECT_EQ(cli.run(args), 1) << args.join(' ').toStdString();
        EXPECT_FALSE(cli.err.isEmpty()) << args.join(' ').toStdString();
        EXPECT_EQ(readBytes(t.path), before) << args.join(' ').toStdString();
    }
    cli.run(bad[2]);
    EXPECT_EQ(cli.err, QStringLiteral("Den 30. gibt es im Februar 2024 nicht.\n"));
    cli.run(bad[1]);
    EXPECT_TRUE(cli.err.contains("bis zu 4 Messungen je Tag")) << cli.err.toStdString();

    EXPECT_EQ(cli.run({"add", t.path, "5", "Morgens", "07:00"}), 2);
    EXPECT_EQ(cli.err,
              QStringLiteral("Aufruf: glykovalin-cli add TABELLE TAG ZEITPUNKT HH:MM WERT\n"));

    // Eight slots allow Messung5.
    Table eight(true);
    EXPECT_EQ(cli.run({"add", eight.path, "5", "Messung5", "12:00", "100"}), 0);
}

// Tables that a save would change beyond the new reading are refused.
TEST(CliAdd, TablesOfAnotherFormAreLeftAlone) {
    Table t;
    const QByteArray original = readBytes(t.path);
    const QList<QByteArray> forms = {
        QByteArray(original).replace("Datum=Februar 2024", "Datum=Feb 2024"),
        QByteArray(original).replace("BisZu4MessungenJeTag=1", "BisZu4MessungenJeTag=0"),
        QByteArray(original).replace("BenutzerName=J", "BenutzerName = J"),
        original + "Notiz: Arzttermin\r\n",
        QByteArray(original).replace("\r\n\r\nMorgens", "\r\n\r\n\r\nZeile\r\nMorgens"),
        QByteArray("[Einstellung]\r\nHochwerte>=180\r\n"),
        QByteArray(),
    };
    Cli cli;
    for (const QByteArray &form : forms) {
        testutil::writeBytes(t.path, form);
        EXPECT_EQ(cli.run({"add", t.path, "5", "Morgens", "07:00", "100"}), 1) << form.constData();
        EXPECT_TRUE(cli.err.contains(QString::fromUtf8("bleibt unverändert")))
            << cli.err.toStdString();
        EXPECT_EQ(readBytes(t.path), form);
    }
    // Blank lines after the header carry nothing and may go.
    testutil::writeBytes(t.path, original + "\r\n\r\n");
    EXPECT_EQ(cli.run({"add", t.path, "5", "Morgens", "07:00", "100"}), 0) << cli.err.toStdString();
}

TEST(CliAdd, FullDiskLeavesTheTableAndFails) {
    Table t;
    const QByteArray before = readBytes(t.path);
    Cli cli;
    int code = 0;
    {
        testutil::FileSizeLimit limit(before.size());
        ASSERT_TRUE(limit.active());
        code = cli.run({"add", t.path, "20", "Abends", "21:30", "110"});
    }
    EXPECT_EQ(code, 1);
    EXPECT_EQ(readBytes(t.path), before);
    EXPECT_TRUE(cli.err.contains(t.path)) << cli.err.toStdString();
    EXPECT_TRUE(cli.err.contains(textfile::reasonOf(EFBIG))) << cli.err.toStdString();
    EXPECT_TRUE(cli.out.isEmpty());
}

TEST(CliAdd, FoundInTheDataFolderAndListedInTheHelp) {
    Table t;
    const QString previous = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(t.dir.path()));
    Cli cli;
    const int code = cli.run({"add", "2024/JM022024.tab", "6", "Morgens", "06:50", "101"});
    QDir::setCurrent(previous);
    EXPECT_EQ(code, 0) << cli.err.toStdString();
    EXPECT_TRUE(readBytes(t.path).contains("06.02.2024 Z=06:50  ZuckerWert=101"));

    EXPECT_EQ(cli.run({"--help"}), 0);
    EXPECT_TRUE(cli.out.contains("  add TABELLE TAG ZEITPUNKT HH:MM WERT  Messwert eintragen"));
    EXPECT_EQ(cli.run({"diary-pdf", "fehlt.tab"}), 2);
    EXPECT_TRUE(cli.err.startsWith("Aufruf: glykovalin-cli diary-pdf")) << cli.err.toStdString();
    EXPECT_EQ(cli.run({"entfernen"}), 2);
    EXPECT_TRUE(cli.err.startsWith("Unbekannter Befehl: entfernen\n"));
}
