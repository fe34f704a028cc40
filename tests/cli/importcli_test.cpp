#include <gtest/gtest.h>

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <ctime>

#include "platform/textfile.h"
#include "storage/entryline.h"
#include "storage/monthtable.h"
#include "storage/readings.h"
#include "support/clirun.h"
#include "support/golden.h"
#include "testutil.h"

namespace {

QString data(const char *name) {
    return QStringLiteral(GLYKO_IMPORT_DATA "/") + QString::fromLatin1(name);
}

// A base folder of Max Muster (four slots at 07:00, 12:00, 18:00 and 22:00)
// that is the current folder while it lives.
struct Base {
    testutil::TempFolder dir;
    QString old = QDir::currentPath();
    QByteArray oldZone = qgetenv("TZ");
    QString out, err;
    explicit Base(const QString &user = "Max Muster") {
        // Local time with its change of daylight saving time.
        qputenv("TZ", "Europe/Berlin");
        tzset();
        testutil::writeBytes(
            dir.file("glykoval.ini"),
            testutil::crlf({"[Einstellung]", "BenutzerName=" + user, "BisZu4MessungenJeTag=1",
                            "Messung4UhrzeitMorgens=07:00", "Messung4UhrzeitMessung2=12:00",
                            "Messung4UhrzeitMessung3=18:00", "Messung4UhrzeitAbends=22:00"}));
        QDir::setCurrent(dir.path());
    }
    ~Base() {
        QDir::setCurrent(old);
        if (oldZone.isNull())
            qunsetenv("TZ");
        else
            qputenv("TZ", oldZone);
        tzset();
    }
    int run(const QStringList &args) {
        testutil::Cli cli;
        const int code = cli.run(args);
        out = cli.out;
        err = cli.err;
        return code;
    }
    QJsonObject json(const QStringList &args) {
        EXPECT_EQ(run(QStringList{"import", "--json"} + args), 0) << err.toStdString();
        return QJsonDocument::fromJson(out.toUtf8()).object();
    }
    QString table(const char *name) const {
        return dir.path() + "Glykovalin-Daten/2024/" + QString::fromLatin1(name);
    }
    // Every file below the folder with its bytes.
    QMap<QString, QByteArray> files() const { return testutil::filesIn(dir.path()); }
};

} // namespace

TEST(ImportCommand, EachFormatInBothLanguages) {
    const struct {
        QStringList args;
        const char *format;
        int found, imported, outside, skipped;
        QStringList months;
    } cases[] = {
        {{data("libreview_de.csv")}, "libreview", 11, 4, 1, 8, {"MM032024.tab", "MM042024.tab"}},
        {{data("libreview_en.csv")}, "libreview", 4, 2, 1, 2, {"MM032024.tab"}},
        {{data("clarity_en.csv"), "--sensor"}, "clarity", 5, 2, 0, 4, {"MM032024.tab"}},
        {{data("clarity_de.csv"), "--sensor"}, "clarity", 4, 2, 0, 3, {"MM032024.tab"}},
        {{data("clarity_en.csv")}, "clarity", 5, 0, 0, 6, {}}, // sensor values only
        {{data("mylife.csv")}, "mylife", 3, 2, 1, 2, {"MM032024.tab"}},
        {{"--sensor", data("nightscout.json")},
         "nightscout",
         5,
         5,
         0,
         1,
         {"MM032024.tab", "MM102024.tab"}}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.args.join(' ').toStdString());
        Base b;
        const QJsonObject o = b.json(c.args);
        EXPECT_EQ(o.keys(), QStringList({"conflicts", "duplicates", "format", "found", "imported",
                                         "months", "outside_slots", "skipped"}));
        EXPECT_EQ(o["format"].toString(), c.format);
        EXPECT_EQ(
            QList<int>({o["found"].toInt(), o["imported"].toInt(), o["duplicates"].toInt(),
                        o["conflicts"].toInt(), o["outside_slots"].toInt(), o["skipped"].toInt()}),
            QList<int>({c.found, c.imported, 0, 0, c.outside, c.skipped}));
        EXPECT_EQ(o["months"].toVariant().toStringList(), c.months);
        for (const QString &m : c.months)
            EXPECT_TRUE(QFileInfo::exists(b.table("") + m));
    }
}

TEST(ImportCommand, DryRunTellsWhatItWouldDoAndWritesNothing) {
    Base b;
    const auto before = b.files();
    ASSERT_EQ(b.run({"import", data("libreview_de.csv"), data("mylife.csv"), "--dry-run"}), 0);
    EXPECT_EQ(b.files(), before);
    // The files are named by their paths, here without their folder.
    EXPECT_TRUE(golden::matches(b.out.remove(data("")).toUtf8(), "cli/import-probelauf.txt"));
    const QJsonObject o = b.json({"--dry-run", data("libreview_de.csv"), data("nightscout.json")});
    EXPECT_EQ(o["format"].toString(), "libreview,nightscout");
    EXPECT_EQ(o["months"].toVariant().toStringList(),
              QStringList({"MM032024.tab", "MM042024.tab", "MM102024.tab"}));
    EXPECT_EQ(b.files(), before);
}

TEST(ImportCommand, AFileThatCannotBeReadOrRecognisedStopsEverything) {
    const struct {
        QStringList args;
        int code;
        QString says;
    } cases[] = {{{data("libreview_de.csv"), data("fremd.csv")}, 2, "selbst zuordnen"},
                 {{data("libreview_beschaedigt.csv")}, 2, "Zeile 9"},
                 {{data("unbekannt.txt"), data("mylife.csv")}, 2, "wurde nicht erkannt"},
                 {{data("fehlt.json")}, 2, "kann nicht gelesen werden"},
                 {{}, 2, "Aufruf: glykovalin-cli import DATEI"},
                 {{"--schnell", data("mylife.csv")}, 2, "Unbekannte Option: --schnell"}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.args.join(' ').toStdString());
        Base b;
        const auto before = b.files();
        EXPECT_EQ(b.run(QStringList{"import"} + c.args), c.code);
        EXPECT_TRUE(b.err.contains(c.says)) << b.err.toStdString();
        EXPECT_EQ(b.files(), before);
    }
    Base nameless("");
    EXPECT_EQ(nameless.run({"import", data("mylife.csv")}), 1);
    EXPECT_TRUE(nameless.err.contains("kein Benutzername"));
}

TEST(ImportCommand, OurExportComesBackWithTheSameReadingsAndAgainChangesNothing) {
    Base source;
    const auto write = [&](const char *month, bool eight, const QStringList &entries) {
        monthtable::WriteRequest req;
        req.userName = "Max Muster";
        req.month = month;
        req.year = "2024";
        req.fourSlots = !eight;
        req.eightSlots = eight;
        req.dataFolder = source.dir.path() + "Glykovalin-Daten/";
        req.entries = entries;
        return monthtable::write(req).path;
    };
    const auto line = [](MeasurementSlot s, const char *day, const char *month, const char *time,
                         const char *value) {
        return entryline::format(s, day, month, "2024", time, value);
    };
    const QStringList tables = {write("02", false,
                                      {line(MeasurementSlot::Morgens, "03", "02", "7:30", "128"),
                                       line(MeasurementSlot::Messung3, "03", "02", "03:10", "95"),
                                       line(MeasurementSlot::Abends, "03", "02", "21:00", "0"),
                                       line(MeasurementSlot::Abends, "29", "02", "23:50", "240")}),
                                write("03", true,
                                      {line(MeasurementSlot::Morgens, "01", "03", "06:00", "101"),
                                       line(MeasurementSlot::Messung5, "01", "03", "15:30", "180"),
                                       line(MeasurementSlot::Messung7, "31", "03", "", "77")})};
    ASSERT_EQ(source.run(QStringList{"export-csv"} + tables), 0);
    const QString csv = source.dir.file("export.csv");
    testutil::writeBytes(csv, source.out.toUtf8());

    Base target;
    const QJsonObject o = target.json({csv});
    EXPECT_EQ(o["format"].toString(), "glykovalin-csv");
    EXPECT_EQ(o["imported"].toInt(), 6);
    for (const QString &t : tables) {
        const QString copy = target.table("") + QFileInfo(t).fileName();
        glucose::TableReadings was, is;
        ASSERT_TRUE(glucose::readTable(t, MeasureMode::Four, was, nullptr));
        ASSERT_TRUE(glucose::readTable(copy, MeasureMode::Four, is, nullptr));
        EXPECT_EQ(is.mode, was.mode);
        ASSERT_EQ(is.readings.size(), was.readings.size());
        for (qsizetype i = 0; i < was.readings.size(); ++i) {
            EXPECT_EQ(is.readings[i].date, was.readings[i].date);
            EXPECT_EQ(is.readings[i].slot, was.readings[i].slot);
            EXPECT_EQ(is.readings[i].minute, was.readings[i].minute);
            EXPECT_EQ(is.readings[i].mgdl, was.readings[i].mgdl);
        }
    }
    const auto after = target.files();
    const QJsonObject again = target.json({csv});
    EXPECT_EQ(again["imported"].toInt(), 0);
    EXPECT_EQ(again["duplicates"].toInt(), 6);
    EXPECT_TRUE(again["months"].toArray().isEmpty());
    EXPECT_EQ(target.files(), after);
}
