#include <gtest/gtest.h>

#include "entry/entrylist.h"

namespace {
QString reading(MeasurementSlot slot, const QString &day, const QString &time,
                const QString &value) {
    return entryline::format(slot, day, "03", "2024", time, value);
}
} // namespace

TEST(EntryList, AddReplaceAndRemoveReadings) {
    const QString m5 = reading(MeasurementSlot::Morgens, "05", "07:30", "128");
    const QString a5 = reading(MeasurementSlot::Abends, "05", "21:00", "99");
    const QString m2 = reading(MeasurementSlot::Messung2, "05", "12:00", "140");
    const QString m1 = reading(MeasurementSlot::Morgens, "01", "07:00", "101");
    QStringList list = {a5, m5}; // an order the dialog never makes, kept when replacing
    // The same slot and date is found whatever the time (replaced in place),
    // another is not (appended in order).
    const QString m5new = reading(MeasurementSlot::Morgens, "05", "08:00", "0");
    EXPECT_EQ(entrylist::addOrReplace(list, m5new), entrylist::Added::Replaced);
    EXPECT_EQ(list, QStringList({a5, m5new}));

    EXPECT_EQ(entrylist::addOrReplace(list, m2), entrylist::Added::Appended);
    EXPECT_EQ(list, QStringList({m5new, m2, a5}));
    EXPECT_EQ(entrylist::addOrReplace(list, m1), entrylist::Added::Appended);
    EXPECT_EQ(list, QStringList({m1, m5new, m2, a5}));

    EXPECT_EQ(entrylist::remove(list, MeasurementSlot::Messung2, "05", "03", "2024"), 1);
    EXPECT_EQ(entrylist::remove(list, MeasurementSlot::Messung2, "05", "03", "2024"), 0);
    EXPECT_EQ(list, QStringList({m1, m5new, a5}));
    EXPECT_EQ(entrylist::sorted({a5, m1, a5}), QStringList({m1, a5}));
    // A hand-edited line without a date is kept whole.
    EXPECT_EQ(entrylist::sorted({"Morgens kaputt", m1}).count("Morgens kaputt"), 1);
}

TEST(EntryList, ReadingsOfTheFileBeyondTheLoadedOnesAreTakenIn) {
    const auto m = [](const char *day, const char *value) {
        return reading(MeasurementSlot::Morgens, day, "07:00", value);
    };
    const QString m1 = m("01", "100"), m1b = m("01", "120"), m1c = m("01", "130");
    const QString a1 = reading(MeasurementSlot::Abends, "01", "21:00", "90");
    const QString m2 = m("02", "110"), m3 = m("03", "130");
    struct Case {
        const char *what;
        QStringList loaded, mine, file, expected, taken, overruled;
    };
    const Case cases[] = {
        {"nothing new", {m1, a1}, {m1, a1}, {m1, a1}, {m1, a1}, {}, {}},
        {"came in, sorted in", {m1, m3}, {m1, m3}, {m1, m2, m3}, {m1, m2, m3}, {m2}, {}},
        {"changed there only", {m1, a1}, {m1, a1}, {m1b, a1}, {m1b, a1}, {m1b}, {}},
        {"deleted here", {m1, a1}, {a1}, {m1, a1}, {a1}, {}, {}},
        {"changed here", {m1}, {m1b}, {m1}, {m1b}, {}, {}},
        {"changed on both sides", {m1}, {m1b}, {m1c}, {m1b}, {}, {m1c}},
        {"deleted here, changed there", {m1}, {}, {m1b}, {}, {}, {m1b}},
        {"added on both sides", {}, {m1}, {m1b}, {m1}, {}, {m1b}},
        {"gone from the file", {m1, a1}, {m1, a1}, {a1}, {m1, a1}, {}, {}},
        {"new month over a stored one", {}, {m2}, {m1, a1}, {m1, a1, m2}, {m1, a1}, {}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        QStringList entries = c.mine;
        const entrylist::Merged merged = entrylist::takeNewReadings(entries, c.loaded, c.file);
        EXPECT_EQ(entries, c.expected);
        EXPECT_EQ(merged.taken, c.taken);
        EXPECT_EQ(merged.overruled, c.overruled);
    }
}
