#include <gtest/gtest.h>

#include <array>

#include "platform/win1252.h"
#include "storage/readings.h"
#include "testutil.h"

using namespace glucose;

namespace {

QString entry(MeasurementSlot slot, int day, int value, const QString &time = "07:30") {
    return entryline::format(slot, QStringLiteral("%1").arg(day, 2, 10, QChar(u'0')), "03", "2024",
                             time, QString::number(value));
}

QStringList table(const QStringList &entries, bool fourSlots = true) {
    return QStringList{"[Personendaten]", "BenutzerName=Max Müller", "Datum=März 2024",
                       fourSlots ? "BisZu4MessungenJeTag=1" : "BisZu8MessungenJeTag=1", ""} +
           entries;
}

// What a reading holds, to compare two of them at once; and what a table's
// reading pass found.
auto fields(const Reading &r) {
    return std::tuple(r.date.toJulianDay(), r.slot, r.mgdl, r.minute);
}
auto found(const TableReadings &t) {
    QList<decltype(fields(Reading()))> all;
    for (const Reading &r : t.readings)
        all << fields(r);
    return std::tuple(all, t.zeroLines, t.unreadableLines, t.undrawnReadings, t.userName);
}

} // namespace

TEST(TableReadings, AReadingIsAStoredValueFrom1To500) {
    const struct {
        QString value;
        LineKind kind;
        int mgdl;
    } cases[] = {
        {"1", LineKind::Reading, 1},        {"500", LineKind::Reading, 500},
        {"128", LineKind::Reading, 128},    {" 0128 ", LineKind::Reading, 128},
        {"99,7", LineKind::Reading, 99},    {"500.9", LineKind::Reading, 500},
        {"0", LineKind::Zero, 0},           {"0,4", LineKind::Zero, 0},
        {"501", LineKind::Unreadable, 0},   {"9999", LineKind::Unreadable, 0},
        {"-5", LineKind::Unreadable, 0},    {"", LineKind::Unreadable, 0},
        {"1e2", LineKind::Unreadable, 0},   {"12a", LineKind::Unreadable, 0},
        {"1,2,3", LineKind::Unreadable, 0}, {"99999999999999999999", LineKind::Unreadable, 0},
    };
    for (const auto &c : cases) {
        Reading r;
        const QString line =
            entry(MeasurementSlot::Abends, 5, 0)
                .replace(QStringLiteral("ZuckerWert=0"), QStringLiteral("ZuckerWert=") + c.value);
        EXPECT_EQ(readLine(line, r), c.kind) << c.value.toStdString();
        if (c.kind == LineKind::Reading) {
            EXPECT_EQ(r.mgdl, c.mgdl);
            EXPECT_EQ(r.date, QDate(2024, 3, 5));
            EXPECT_EQ(r.slot, MeasurementSlot::Abends);
            EXPECT_EQ(r.timeText(), "07:30");
        }
    }
}

TEST(TableReadings, EveryStoredSlotCountsAndFourSlotTablesSayWhatTheGraphLeavesOut) {
    QStringList entries;
    for (int n = 1; n <= 8; ++n)
        entries << entry(slotinfo::fromNumber(n), 1, 100 + n);
    entries << entry(MeasurementSlot::Messung2, 2, 0) << "Morgens den    40.03.2024 Z=07:30";
    TableReadings four, eight;
    parseTable(table(entries), MeasureMode::Eight, four);
    parseTable(table(entries, false), MeasureMode::Four, eight);
    for (const TableReadings *t : {&four, &eight}) {
        EXPECT_EQ(t->readings.size(), 8);
        EXPECT_EQ(t->zeroLines, 1);
        EXPECT_EQ(t->unreadableLines, 1);
        EXPECT_EQ(t->userName, "Max Müller");
        EXPECT_EQ(t->month, 3);
    }
    EXPECT_EQ(four.undrawnReadings, 4);
    EXPECT_EQ(eight.undrawnReadings, 0);
    EXPECT_EQ(undrawnIn(eight.readings, MeasureMode::Four), 4);
}

TEST(TableReadings, FileBytesReadAsTheirLines) {
    // Windows-1252 and UTF-8 with byte-order mark, CR LF, LF and lone CR, a
    // non-ASCII entry line, a missing last line end: the bytes give what the
    // decoded lines give.
    QStringList entries;
    for (int d = 1; d <= 28; ++d)
        entries << entry(d % 2 ? MeasurementSlot::Morgens : MeasurementSlot::Messung5, d,
                         40 + d * 13 % 460, d % 5 ? "07:30" : "7:3");
    const QChar nbsp(0xA0);
    entries << QStringLiteral("Morgens den    29.03.2024 Z=07:30") + nbsp +
                   QStringLiteral(" ZuckerWert=120") + nbsp
            << "Abends den     30.03.2024 Z=21:00  ZuckerWert=77 é"
            << "Messung3 den 31.03.2024 Z=12:00  ZuckerWert=0"
            << "A"
            << "M";
    const QStringList lines = table(entries);
    TableReadings fromLines;
    fromLines.path = "/x/MM032024.tab";
    parseTable(lines, MeasureMode::Four, fromLines);
    const QByteArray cp1252 = testutil::crlf(lines);
    const QByteArray utf8 = "\xEF\xBB\xBF" + lines.join("\n").toUtf8();
    QByteArray lone = win1252::encode(lines.join("\r"));
    for (const QByteArray &bytes : {cp1252, utf8, lone}) {
        TableReadings t;
        t.path = fromLines.path;
        parseTableBytes(bytes, MeasureMode::Four, t);
        EXPECT_EQ(found(t), found(fromLines));
    }
    EXPECT_EQ(fromLines.readings.size(), 29);
    EXPECT_EQ(fromLines.readings[28].mgdl, 120); // the no-break space is a blank
    EXPECT_EQ(fromLines.unreadableLines, 3);
}

TEST(TableReadings, MonthMeansOfTheGraphAndItsDocuments) {
    // The means of an eight-slot month of readings given as {slot, day, value}.
    auto monthMeansOf = [](std::initializer_list<std::array<int, 3>> readings) {
        QStringList entries;
        for (const auto &[slot, day, value] : readings)
            entries << entry(slotinfo::fromNumber(slot), day, value);
        TableReadings t;
        parseTable(table(entries), MeasureMode::Eight, t);
        return monthMeans(t.readings);
    };
    // A 0 is no reading: 100, 100, 100, 0, 100 give 100, not 80.
    MonthMeans m = monthMeansOf({{1, 1, 100}, {2, 1, 100}, {3, 2, 100}, {8, 2, 0}, {1, 3, 100}});
    EXPECT_EQ(m.readings, 4);
    EXPECT_EQ(m.monthMeanText(), "100,00");
    EXPECT_EQ(m.dayMeanText(2), "100");
    // Only zeros: no mean at all, and every day without readings says "0".
    m = monthMeansOf({{1, 1, 0}, {8, 1, 0}, {2, 2, 0}});
    EXPECT_EQ(m.readings, 0);
    EXPECT_FALSE(m.hasMonthMean());
    EXPECT_EQ(m.monthMeanText(), "");
    EXPECT_EQ(m.dayMeanText(1), "0");
    // Two decimals first, then half up: 100 and 101 give 101; 100, 100, 101 give 100;
    // 99 and 100 give 100. The month: (100+101+100+100+101+99+100) / 7 = 100,14.
    m = monthMeansOf(
        {{1, 1, 100}, {8, 1, 101}, {1, 2, 100}, {2, 2, 100}, {8, 2, 101}, {1, 3, 99}, {8, 3, 100}});
    EXPECT_EQ(m.dayMeanWhole(1), 101);
    EXPECT_EQ(m.dayMeanWhole(2), 100);
    EXPECT_EQ(m.dayMeanWhole(3), 100);
    EXPECT_EQ(m.monthMeanText(), "100,14");
    EXPECT_EQ(m.dayMeanTexts()[30], "0");
    // Fewer than three readings give no monthly mean.
    m = monthMeansOf({{1, 1, 120}, {8, 1, 130}});
    EXPECT_EQ(m.monthMeanText(), "");
    EXPECT_DOUBLE_EQ(m.monthMean(), 125);
}

TEST(TableReadings, TheShortcutReadsAsTheRules) {
    // Lines in the program's own form and ones just beside it.
    int lines = 0;
    for (int n = 1; n <= 8; ++n)
        for (const char *day : {"00", "01", "29", "31", "32", "3x"})
            for (const char *month : {"00", "02", "12", "13"})
                for (const char *year : {"2024", "2023", "0000"})
                    for (const char *time : {"07:30", "24:00", "24:10", "7:30 ", "12:60", "ab:cd"})
                        for (const char *value :
                             {"0", "1", "500", "501", "0128", "12345", "12,5", "7 ", ""}) {
                            const QString line = entryline::format(slotinfo::fromNumber(n), day,
                                                                   month, year, time, value);
                            for (const QString &l :
                                 {line, line + "x", QString(line).replace(" Z=", " Z= ")}) {
                                Reading a, b;
                                const LineKind ka = readLine(l, a), kb = readLineByRules(l, b);
                                ASSERT_EQ(ka, kb) << l.toStdString();
                                ++lines;
                                EXPECT_TRUE(ka != LineKind::Reading || fields(a) == fields(b))
                                    << l.toStdString();
                            }
                        }
    EXPECT_GT(lines, 10000);
}
