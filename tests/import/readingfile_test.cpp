#include <gtest/gtest.h>

#include <QStringEncoder>
#include <ctime>

#include "import/columnmapping.h"
#include "import/csvreader.h"
#include "import/readingfile.h"
#include "import/slotrule.h"
#include "platform/german.h"
#include "storage/settingsstore.h"
#include "support/golden.h"
#include "testutil.h"

using namespace importer;

namespace {

QString data(const QString &name) {
    return QStringLiteral(GLYKO_IMPORT_DATA "/") + name;
}

// Readings as "05.03.2024 07:10 128 B" (B blood, S scan, H history).
QStringList texts(const QList<Reading> &readings) {
    QStringList out;
    for (const Reading &r : readings)
        out << QStringLiteral("%1 %2 %3 %4")
                   .arg(german::date(r.date), r.minute < 0 ? "--:--" : timeText(r.minute))
                   .arg(r.mgdl)
                   .arg(QString("BSH").at(int(r.source)));
    return out;
}

// Local time in Europe/Berlin, with its change of daylight saving time, while it lives.
struct BerlinTime {
    QByteArray old = qgetenv("TZ");
    BerlinTime() {
        qputenv("TZ", "Europe/Berlin");
        tzset();
    }
    ~BerlinTime() {
        if (old.isNull())
            qunsetenv("TZ");
        else
            qputenv("TZ", old);
        tzset();
    }
};

} // namespace

// Each known format, recognised by its content, compared whole: its name
// and its language, the blood, scan and history readings found, those
// outside the measuring range and the value range, the other rows, then the
// readings. Nightscout's times are UTC in the file, on both sides of both
// changes of the clock.
TEST(ReadingFile, KnownFormatsAreRecognisedByContentAndRead) {
    const BerlinTime zone;
    QStringList all;
    for (const char *file : {"libreview_de.csv", "libreview_en.csv", "clarity_en.csv",
                             "clarity_de.csv", "mylife.csv", "nightscout.json"}) {
        SourceFile f;
        const ReadResult r = readFile(data(file), f);
        ASSERT_TRUE(r) << file << r.error.toStdString();
        all << QStringLiteral("%1: %2, deutsch %3, %4 %5 %6 %7 %8 %9")
                   .arg(QString::fromLatin1(file), formatName(f))
                   .arg(int(f.german))
                   .arg(f.found[0])
                   .arg(f.found[1])
                   .arg(f.found[2])
                   .arg(f.outsideMeasuring)
                   .arg(f.outsideRange)
                   .arg(f.otherRows)
            << texts(f.readings);
    }
    EXPECT_TRUE(golden::matches(all.join(u'\n').toUtf8() + '\n', "import/known.txt"));
}

TEST(ReadingFile, UnknownDamagedAndUnreadableFilesSayWhy) {
    const struct {
        QString path;
        QByteArray bytes; // written to the path when not empty
        ReadStatus status;
        QString says;
    } cases[] = {
        {data("unbekannt.txt"), {}, ReadStatus::Unrecognised, "wurde nicht erkannt"},
        {data("fremd.csv"), {}, ReadStatus::UnknownCsv, "selbst zuordnen"},
        {data("libreview_beschaedigt.csv"),
         {},
         ReadStatus::Damaged,
         "(LibreView (deutsch)) ist beschädigt und wird nicht übernommen: Zeile 9: \"05-03-2024 "
         "2x:05\" ist kein Zeitstempel"},
        {data("fehlt.csv"), {}, ReadStatus::Unreadable, "Sie existiert nicht."},
        {"nightscout-kaputt.json", "[{\"type\": \"sgv\"", ReadStatus::Damaged,
         "keine gültige JSON-Datei"},
        {"nightscout-ohne-zeit.json", "[{\"type\": \"sgv\", \"sgv\": 120}]", ReadStatus::Damaged,
         "Eintrag 1 hat keinen Zeitpunkt"},
        {"zahlen.json", "[{}, 2]", ReadStatus::Unrecognised, "keine Liste von Nightscout"},
        {"MM032024.tab", "[Personendaten]\r\nBenutzerName=Max Muster\r\n", ReadStatus::Unrecognised,
         "wurde nicht erkannt"},
        {"leer.csv", " ", ReadStatus::Unrecognised, "wurde nicht erkannt"},
        {"bild.png", QByteArray("\x89PNG\r\n\x1a\n\0\0;,", 12), ReadStatus::Unrecognised,
         "wurde nicht erkannt"},
        {"mylife-einheit.csv",
         "\"Tag\";\"Datum\";\"Uhrzeit\";\"Ereignis\";\"Wert\";\"Einheit\"\n"
         "\"Di\";\"05.03.24\";\"07:12\";\"Blutzucker manuelle Eingabe\";\"128\";\"mg\"\n",
         ReadStatus::Damaged, "Zeile 2: \"mg\" ist keine Einheit"},
    };
    testutil::TempFolder dir;
    for (const auto &c : cases) {
        SCOPED_TRACE(c.path.toStdString());
        const QString path = c.bytes.isEmpty() ? c.path : dir.file(c.path);
        if (!c.bytes.isEmpty()) testutil::writeBytes(path, c.bytes);
        SourceFile f;
        const ReadResult r = readFile(path, f);
        EXPECT_EQ(r.status, c.status);
        EXPECT_TRUE(r.error.contains(path)) << r.error.toStdString();
        EXPECT_TRUE(r.error.contains(c.says)) << r.error.toStdString();
    }
}

TEST(ReadingFile, LibreViewDayAndMonthOrder) {
    const QString de = QStringLiteral("Gerät,Seriennummer,Gerätezeitstempel,Aufzeichnungstyp,"
                                      "Glukose-Teststreifen mg/dL\n");
    const QString en =
        QStringLiteral("Device,Serial Number,Device Timestamp,Record Type,Strip Glucose mg/dL\n");
    const struct {
        QString header;
        QStringList stamps;
        QString first; // the first date, or empty when the file is damaged
    } cases[] = {
        {de, {"05-03-2024 07:00", "06-03-2024 07:00"}, "05.03.2024"}, // German: day first
        {en, {"05-03-2024 07:00", "06-03-2024 07:00"}, "03.05.2024"}, // English: month first
        {en, {"05-03-2024 07:00", "13-03-2024 07:00"}, "05.03.2024"}, // a day over 12 settles it
        {de, {"03-05-2024 07:00", "03-13-2024 07:00"}, "05.03.2024"},
        {en, {"2024-03-05 07:00"}, "05.03.2024"},
        {en, {"13-03-2024 07:00", "03-13-2024 07:00"}, ""}, // both ways: no order
        {de, {"31-02-2024 07:00"}, ""},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.stamps.join(' ').toStdString());
        QString text = c.header;
        for (const QString &s : c.stamps)
            text += "Libre,1," + s + ",2,120\n";
        SourceFile f;
        const ReadResult r = readBytes("x.csv", text.toUtf8(), f);
        if (c.first.isEmpty()) {
            EXPECT_EQ(r.status, ReadStatus::Damaged);
            continue;
        }
        ASSERT_TRUE(r) << r.error.toStdString();
        EXPECT_EQ(german::date(f.readings.first().date), c.first);
    }
}

TEST(ReadingFile, NumbersTimesAndUnits) {
    const std::pair<double, int> mmol[] = {{7.1, 128},  {5.55, 100}, {2.2, 40},
                                           {27.7, 499}, {0.05, 1},   {27.8, 501}};
    for (const auto &[v, mgdl] : mmol)
        EXPECT_EQ(mgdlOfMmol(v), mgdl) << v;
    const std::pair<const char *, int> times[] = {
        {"07:30", 450},     {"7:30", 450}, {"07:30:59", 450}, {"12:05 AM", 5},  {"12:05 pm", 725},
        {"11:59 PM", 1439}, {"24:00", -1}, {"7:3", -1},       {"13:00 PM", -1}, {"07:30:5", -1}};
    for (const auto &[text, minute] : times) {
        int m = -1;
        EXPECT_EQ(parseTime(QString::fromLatin1(text), m), minute >= 0) << text;
        if (minute >= 0) {
            EXPECT_EQ(m, minute) << text;
        }
    }
    const std::pair<const char *, double> numbers[] = {{"128", 128}, {" 7,1 ", 7.1}, {"5.55", 5.55},
                                                       {"", -1},     {"7,", -1},     {"1.2.3", -1},
                                                       {"-5", -1}};
    for (const auto &[text, value] : numbers) {
        double v = -1;
        EXPECT_EQ(parseNumber(QString::fromLatin1(text), v), value >= 0) << text;
        if (value >= 0) {
            EXPECT_DOUBLE_EQ(v, value) << text;
        }
    }
}

TEST(ReadingFile, TextEncodings) {
    const QString text = QStringLiteral("Datum;Zeit;Wert\n05.03.2024;07:20;131 nüchtern\n");
    const QByteArray utf8 = text.toUtf8();
    const QByteArray encodings[] = {
        "\xEF\xBB\xBF" + utf8, utf8, QByteArray("\xFF\xFE") + QStringEncoder("UTF-16LE")(text),
        QByteArray("\xFE\xFF") + QStringEncoder("UTF-16BE")(text), text.toLatin1()};
    for (const QByteArray &bytes : encodings)
        EXPECT_EQ(decodeText(bytes), text);
}

TEST(ReadingFile, CsvFieldsInQuotes) {
    const QString text = "a;\"b;c\";\"d \"\"e\"\"\"\r\n\r\n\"f\ng\";h\n";
    CsvReader reader(text, u';');
    QStringList row;
    ASSERT_TRUE(reader.next(row));
    EXPECT_EQ(row, QStringList({"a", "b;c", "d \"e\""}));
    ASSERT_TRUE(reader.next(row));
    EXPECT_EQ(reader.lineNumber(), 3);
    EXPECT_EQ(row, QStringList({"f\ng", "h"}));
    EXPECT_FALSE(reader.next(row));
    EXPECT_EQ(CsvReader::guessDelimiter(u"a,b;c,d"), u',');
    EXPECT_EQ(CsvReader::guessDelimiter(u"a\tb\tc;d"), u'\t');
}

TEST(ReadingFile, MappedColumnsAreRememberedPerHeader) {
    const QByteArray bytes = testutil::readBytes(data("fremd.csv"));
    CsvPreview preview;
    ASSERT_TRUE(previewOf(bytes, preview));
    EXPECT_EQ(preview.header, QStringList({"Datum", "Zeit", "Blutzucker (mg/dl)", "Bemerkung"}));
    // The guess and its readings: the import dialog's test shows them.
    SourceFile f;
    ASSERT_TRUE(readMapped("fremd.csv", bytes, guessMapping(preview), f));
    EXPECT_EQ(f.otherRows, 1);

    // Timestamps in one column, sensor values in mmol/l, a wrong order is damage.
    const QByteArray stamped = "Zeit,BZ,CGM\n2024-03-05 07:20,,7.1\n2024-03-05 12:10,8.6,\n";
    ColumnMapping m;
    m.dateColumn = 0;
    m.valueColumn = 1;
    m.sensorColumn = 2;
    m.order = DateOrder::YearMonthDay;
    m.mmol = true;
    ASSERT_TRUE(readMapped("z.csv", stamped, m, f));
    EXPECT_EQ(texts(f.readings), QStringList({"05.03.2024 07:20 128 H", "05.03.2024 12:10 155 B"}));
    m.timeColumn = 1;
    EXPECT_EQ(readMapped("z.csv", stamped, m, f).status, ReadStatus::Damaged);
    m.timeColumn = -1;
    m.order = DateOrder::DayMonthYear;

    testutil::TempFolder dir;
    const SettingsStore settings(dir.file("glykoval.ini"));
    ColumnMapping remembered;
    EXPECT_FALSE(rememberedMapping(settings, preview.header, remembered));
    m.dateColumn = 3;
    ASSERT_TRUE(rememberMapping(settings, preview.header, m));
    ASSERT_TRUE(rememberedMapping(settings, preview.header, remembered));
    EXPECT_EQ(remembered, m);
    EXPECT_EQ(settings.read(kMappingSection, mappingKey(preview.header)),
              "Datum=3;Uhrzeit=-1;Wert=1;Sensor=2;Reihenfolge=TMJ;Einheit=mmol/l");
    EXPECT_FALSE(rememberedMapping(settings, {"Datum", "Zeit"}, remembered));
    for (const char *broken : {"", "Datum=0",
                               "Datum=x;Uhrzeit=-1;Wert=1;Sensor=2;Reihenfolge=TMJ;"
                               "Einheit=mg/dl"})
        EXPECT_FALSE(mappingFromText(QString::fromLatin1(broken), remembered)) << broken;
}

TEST(SlotRule, NearestSlotWithinItsLimit) {
    const SlotTimes four = defaultSlotTimes(MeasureMode::Four);   // 07:00 12:00 17:00 21:00
    const SlotTimes eight = defaultSlotTimes(MeasureMode::Eight); // 07:00, 09:00 … 21:00
    const struct {
        const SlotTimes &times;
        const char *time;
        int slot;
    } cases[] = {
        {four, "05:30", 1},  {four, "05:29", 0},  {four, "08:30", 1},  {four, "08:31", 0},
        {four, "13:30", 2},  {four, "13:31", 0},  {four, "15:30", 3},  {four, "19:29", 0},
        {four, "19:30", 8},  {four, "22:30", 8},  {four, "22:31", 0},  {eight, "06:00", 1},
        {eight, "05:59", 0}, {eight, "08:00", 1}, {eight, "08:01", 2}, {eight, "22:00", 8},
        {eight, "22:01", 0},
    };
    for (const auto &c : cases) {
        int minute = 0;
        ASSERT_TRUE(parseTime(QString::fromLatin1(c.time), minute));
        EXPECT_EQ(slotFor(c.times, minute), c.slot) << c.time;
    }
    // Of two readings as near to the slot, the earlier comes first. (A blood
    // reading before a scan before a history value, and the nearer first:
    // the import plan's and the import dialog's tests.)
    Reading early, late;
    early.minute = 415;
    late.minute = 425;
    EXPECT_TRUE(ranksBefore(early, late, 420));
    EXPECT_FALSE(ranksBefore(late, early, 420));
}

TEST(SlotRule, StoredTimesOfTheModeWithDefaultsForTheRest) {
    testutil::TempFolder dir;
    const SettingsStore settings(dir.file("glykoval.ini"));
    settings.set("Messung4UhrzeitMorgens", "6:30");
    settings.set("Messung4UhrzeitAbends", "kaputt");
    settings.set("Messung8UhrzeitMessung5", "14:40");
    const SlotTimes four = slotTimes(settings, MeasureMode::Four);
    EXPECT_EQ(slotTimesText(four), "Morgens 06:30, Messung 2 12:00, Messung 3 17:00, Abends 21:00");
    EXPECT_EQ(four.limit(), 90);
    const SlotTimes eight = slotTimes(settings, MeasureMode::Eight);
    EXPECT_EQ(eight.minute[4], 14 * 60 + 40);
    EXPECT_EQ(eight.minute[0], 7 * 60);
    EXPECT_EQ(eight.limit(), 60);
}
