#include <gtest/gtest.h>

#include "platform/profile.h"
#include "platform/ui.h"

#include "platform/textfile.h"
#include "storage/entryline.h"
#include "storage/monthtable.h"
#include "testutil.h"

#include <QFileInfo>

using testutil::crlf;
using testutil::readBytes;

using testutil::monthHeader;

// The readers of a line's fields are checked where the entry dialog, the
// import and the table command use them.
TEST(EntryLine, FormatAndReaders) {
    const QString m =
        entryline::format(MeasurementSlot::Morgens, "05", "03", "2024", "07:30", "128");
    EXPECT_EQ(m, "Morgens den    05.03.2024 Z=07:30  ZuckerWert=128");
    const QString a = entryline::format(MeasurementSlot::Abends, "05", "03", "2024", "21:00", "0");
    EXPECT_EQ(a, "Abends den     05.03.2024 Z=21:00  ZuckerWert=0");
    const QString m2 =
        entryline::format(MeasurementSlot::Messung2, "31", "12", "2023", "7:30", "99");
    EXPECT_EQ(m2.indexOf("31.12"), 13);
    // A line without fields leaves the fields as they were.
    entryline::Fields keep;
    keep.value = "7";
    entryline::split("kaputt", keep);
    EXPECT_EQ(keep.value, "7");
    EXPECT_TRUE(entryline::isEntryLine(m));
    EXPECT_FALSE(entryline::isEntryLine(""));
    EXPECT_FALSE(entryline::isEntryLine("[Personendaten]"));
    EXPECT_EQ(GibMonatLang(0), "");
    EXPECT_EQ(GibMonatLang(13), "");
}

TEST(MonthTable, WritesExactBytesAndCarriesMargins) {
    testutil::TempFolder dir;
    monthtable::WriteRequest feb;
    feb.userName = QString::fromUtf8("Jörg Müller");
    feb.month = "02";
    feb.year = "2024";
    feb.dataFolder = dir.path() + "Glykovalin-Daten/";
    feb.entries << entryline::format(MeasurementSlot::Morgens, "01", "02", "2024", "07:00", "101");
    const QString febPath = monthtable::write(feb).path;
    ASSERT_EQ(febPath, dir.path() + "Glykovalin-Daten/2024/JM022024.tab");
    EXPECT_EQ(readBytes(febPath),
              crlf(monthHeader(QString::fromUtf8("Jörg Müller"), "Februar 2024") << feb.entries));

    // March, eight slots, empty list, one-letter initials: margins come from February.
    ASSERT_TRUE(profile::write(febPath, "Personendaten", "DruckenTabellenRandLeft", "15"));
    monthtable::WriteRequest mar;
    mar.userName = "Anna";
    mar.month = "03";
    mar.year = "2024";
    mar.fourSlots = false;
    mar.eightSlots = true;
    mar.currentTablePath = febPath;
    mar.dataFolder = feb.dataFolder;
    const monthtable::WriteResult written = monthtable::write(mar);
    EXPECT_TRUE(written.notices.isEmpty());
    const QString marPath = written.path;
    ASSERT_EQ(marPath, dir.path() + "Glykovalin-Daten/2024/A032024.tab");
    EXPECT_EQ(readBytes(marPath),
              crlf(monthHeader("Anna", QString::fromUtf8("März"), true, {"15", "10", "10", "10"}))
                  .replace("Datum=M\xE4rz\r\n", "Datum=M\xE4rz 2024\r\n"));
    EXPECT_EQ(monthtable::yearOfPath(marPath), "2024");

    QStringList lines;
    ASSERT_TRUE(monthtable::readLines(febPath, lines));
    EXPECT_EQ(monthtable::entryLines(lines), feb.entries);
}

TEST(MonthTable, RefusesUnsafeNamesAndReportsWriteFailures) {
    testutil::TempFolder dir;
    monthtable::WriteRequest req;
    req.month = "03";
    req.year = "2024";
    req.dataFolder = dir.path() + "Glykovalin-Daten/";
    for (const char *name : {"", "   ", "../x", "/etc", ".versteckt", "A \\b"}) {
        req.userName = QString::fromUtf8(name);
        const monthtable::WriteResult r = monthtable::write(req);
        EXPECT_FALSE(r) << name;
        ASSERT_EQ(r.notices.size(), 1) << name;
        EXPECT_EQ(r.notices[0].kind, ui::Kind::Warning);
    }
    EXPECT_FALSE(QFileInfo::exists(req.dataFolder));

    // A year folder that cannot be made: the folder message, then the file error.
    testutil::writeBytes(dir.path() + "blocked", "x");
    req.userName = "Max Muster";
    req.dataFolder = dir.path() + "blocked/";
    const monthtable::WriteResult r = monthtable::write(req);
    EXPECT_TRUE(r.path.isEmpty());
    ASSERT_EQ(r.notices.size(), 2);
    EXPECT_EQ(r.notices[0].kind, ui::Kind::Plain);
    EXPECT_EQ(r.notices[0].text,
              "Ordner \"" + dir.path() + "blocked/2024\" konnte nicht erstellt werden! ");
    EXPECT_EQ(r.notices[1].kind, ui::Kind::Warning);
    EXPECT_EQ(r.notices[1].text,
              "Fehler beim Erzeugen der Datei " + dir.path() + "blocked/2024/MM032024.tab!");
}

// An explicit target is written as it is named.
TEST(MonthTable, ExplicitTargetIsWrittenAsNamed) {
    testutil::TempFolder dir;
    monthtable::WriteRequest req;
    req.userName = "Max Muster";
    req.month = "03";
    req.year = "2024";
    req.dataFolder = dir.path();
    req.entries << entryline::format(MeasurementSlot::Abends, "06", "03", "2024", "07:30", "120");
    req.targetPath = dir.file("eigene.tab");
    EXPECT_EQ(monthtable::write(req).path, dir.file("eigene.tab"));
    EXPECT_EQ(monthtable::entryLines(
                  textfile::splitLines(QString::fromLatin1(readBytes(dir.file("eigene.tab"))))),
              req.entries);
}
