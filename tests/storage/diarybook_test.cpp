#include "storage/diarybook.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "platform/win1252.h"
#include "storage/settingsstore.h"
#include "testutil.h"

using testutil::crlf;
using testutil::readBytes;

namespace {

// The editor lines of a normal four-slot BE/CT page with a remark.
QStringList page(const QString &carb, const QString &remark) {
    return {QStringLiteral("                Glykovalin-Tagebuch"),
            QStringLiteral("          05 Mai 2024 Muster"),
            QString(98, u'_'),
            QString(),
            QStringLiteral(" Messwerte [mg/dl]: Morgens (07:30) = 120"),
            QString(),
            QStringLiteral("\t BE: Morgens= ") + carb +
                QStringLiteral(" \t|  M2= \t|  M3= \t|  Abends= "),
            QString(),
            QStringLiteral("\t Insulin (CT)  : Morgens= 4\t|  M2= \t|  M3= \t|  Abends=  "),
            QString(),
            QStringLiteral("\t Bemerkung: ") + remark};
}

} // namespace

TEST(DiaryBookFile, NameRule) {
    EXPECT_EQ(DiaryBook::diaryPathFor("C:\\Daten\\JAN.TAB"), "C:\\Daten\\JAN.txt");
    EXPECT_EQ(DiaryBook::diaryPathFor("/d/Mai 2005.tab"), "/d/Mai 2005.txt");
    EXPECT_EQ(DiaryBook::diaryPathFor("/d/x.tab.tab"), "/d/x.txt");
    EXPECT_EQ(DiaryBook::diaryPathFor("/d.tab/x.dat", "/alt.txt"), "/alt.txt");
    EXPECT_TRUE(DiaryBook::dayKey(0).isEmpty());
    EXPECT_TRUE(DiaryBook::dayKey(32).isEmpty());
}

TEST(DiaryBookFile, MarkedTextOfANormalPage) {
    const QString m = DiaryBook::GibMarkierteTagebuchseite(page("2", ""));
    EXPECT_EQ(
        m, "\t #BE: Morgens= 2 \t|  M2= \t|  M3= \t|  Abends= \t #Insulin (CT)  : Morgens= 4\t|  "
           "M2= \t|  M3= \t|  Abends=  \t #Bemerkung: ");
    const auto s = DiaryBook::splitSections("Tag05: " + m);
    EXPECT_TRUE(s.complete);
    EXPECT_EQ(s.head, "\t ");
    EXPECT_EQ(s.carb, "BE: Morgens= 2 \t|  M2= \t|  M3= \t|  Abends= \t ");
    EXPECT_EQ(s.insulin, "Insulin (CT)  : Morgens= 4\t|  M2= \t|  M3= \t|  Abends=  \t ");
    EXPECT_EQ(s.remark, "Bemerkung: ");
}

TEST(DiaryBookFile, StoreTwiceReplaceDeleteOnRealFile) {
    testutil::TempFolder tmp;
    const QString table = tmp.file("MM052024.tab");
    const QString ini = tmp.file("glykoval.ini");
    testutil::writeBytes(table, crlf({"[Personendaten]"}));
    // Lines in any day order, one without a day key, and one whose remark
    // names another day's key.
    const QString foreign = "Notiz ohne Tag";
    const QString day12 = "Tag12: \t #KE: x#Insulin y#Bemerkung: siehe Tag05: Sport";
    const QByteArray others = crlf({day12, foreign, "Tag03: \t #BE: a#Insulin b#Bemerkung: c"});
    testutil::writeBytes(tmp.file("MM052024.txt"), others);
    DiaryBook book;
    ASSERT_EQ(book.LadeTagebuch(table), DiaryBook::LoadResult::Loaded);
    EXPECT_EQ(book.path(), tmp.file("MM052024.txt"));
    EXPECT_EQ(book.pageLineOfDay(12), day12);
    EXPECT_EQ(book.pageLineOfDay(3), "Tag03: \t #BE: a#Insulin b#Bemerkung: c");
    EXPECT_TRUE(book.pageLineOfDay(5).isEmpty()); // "Tag05" inside day 12's remark

    QString error;
    ASSERT_TRUE(book.SpeichereTagebuchseite(5, DiaryBook::GibMarkierteTagebuchseite(page("1", "ä")),
                                            DiaryBook::StoreFrom::DayClick, table,
                                            SettingsStore(ini), &error))
        << error.toStdString();
    EXPECT_EQ(SettingsStore(ini).get(keys::TabellenDateiName), table);
    ASSERT_TRUE(book.SpeichereTagebuchseite(5, DiaryBook::GibMarkierteTagebuchseite(page("2", "ö")),
                                            DiaryBook::StoreFrom::Close, table, SettingsStore(ini),
                                            &error));
    const QString l5 = "Tag05: " + DiaryBook::GibMarkierteTagebuchseite(page("2", "ö"));
    EXPECT_EQ(readBytes(book.path()), others + win1252::encode(l5) + "\r\n"); // ö as one byte

    // Deleting day 5 keeps day 12 although its remark names Tag05.
    ASSERT_TRUE(book.deleteDay(5, &error));
    EXPECT_EQ(readBytes(book.path()), others);
    // Deleting a day without a line rewrites the file unchanged.
    ASSERT_TRUE(book.deleteDay(20, &error));
    EXPECT_EQ(readBytes(book.path()), others);
    // No day: nothing is stored or deleted under an empty key.
    EXPECT_FALSE(book.deleteDay(0, &error));
    EXPECT_FALSE(book.SpeichereTagebuchseite(0, "x", DiaryBook::StoreFrom::Close, table,
                                             SettingsStore(ini), &error));
    EXPECT_EQ(book.lines().size(), 3);
}

TEST(DiaryBookFile, HashesAndDeletedLabelsKeepTheText) {
    QStringList p = page("1", "Zimmer #4 & &num; Test#");
    const QString m = DiaryBook::GibMarkierteTagebuchseite(p);
    EXPECT_EQ(m.count(u'#'), 3);
    auto s = DiaryBook::splitSections("Tag07: " + m);
    EXPECT_EQ(s.remark, "Bemerkung: Zimmer #4 & &num; Test#");

    // A "#" in the carbohydrate line and a deleted insulin label.
    p[6] = "\t BE: Morgens= 1 #2";
    p[8] = "\t nur Text";
    s = DiaryBook::splitSections("Tag07: " + DiaryBook::GibMarkierteTagebuchseite(p));
    EXPECT_TRUE(s.complete);
    EXPECT_EQ(s.carb, "BE: Morgens= 1 #2\t ");
    EXPECT_EQ(s.insulin, "nur Text\t ");
    EXPECT_EQ(s.remark, "Bemerkung: Zimmer #4 & &num; Test#");

    // All labels deleted, even lines removed: three markers, nothing lost.
    const QString few =
        DiaryBook::GibMarkierteTagebuchseite({"a", "b", "c", "d", "e", "", "\t frei"});
    EXPECT_EQ(few.count(u'#'), 3);
    s = DiaryBook::splitSections("Tag01: " + few);
    EXPECT_EQ(s.head + s.carb + s.insulin + s.remark, "\t frei");

    // Old lines read as before, an extra "#" in the remark stays there.
    s = DiaryBook::splitSections("Tag02: \t #BE: a#Insulin b#Bemerkung: c #1");
    EXPECT_EQ(s.remark, "Bemerkung: c #1");
}

TEST(DiaryBookFile, MissingFileAndUnwritableFolder) {
    testutil::TempFolder tmp;
    DiaryBook book;
    book.setLines({"Tag01: alt"});
    EXPECT_EQ(book.LadeTagebuch(tmp.file("a.dat")), DiaryBook::LoadResult::NotATable);
    EXPECT_EQ(book.lines().size(), 1);
    EXPECT_EQ(book.LadeTagebuch(tmp.file("A.tab"), false), DiaryBook::LoadResult::Missing);
    EXPECT_EQ(book.lines().size(), 1);
    EXPECT_EQ(book.LadeTagebuch(tmp.file("A.tab")), DiaryBook::LoadResult::Missing);
    EXPECT_TRUE(book.lines().isEmpty());
    book.setPath(tmp.file("fehlt/A.txt"));
    QString error;
    EXPECT_FALSE(book.SpeichereTagebuchseite(4, "x", DiaryBook::StoreFrom::Close, "",
                                             SettingsStore(""), &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_EQ(book.lines(), QStringList{"Tag04: x"}); // the list keeps the change
}

// A book that never read its file (no month attached, or another program
// wrote the file since) stores and deletes against the file as it is: the
// other days' pages stay. A file that cannot be read is not written.
TEST(DiaryBookFile, AStoreNeverWritesOverPagesItHasNotRead) {
    testutil::TempFolder tmp;
    const QString table = tmp.file("MM032024.tab");
    const QString diary = tmp.file("MM032024.txt");
    const QByteArray day3 = crlf({"Tag03: \t #BE: 2#Insulin#Bemerkung: drei"});
    testutil::writeBytes(diary, day3);
    DiaryBook book; // its path comes from the table at the first store
    QString error;
    ASSERT_TRUE(book.SpeichereTagebuchseite(5, DiaryBook::GibMarkierteTagebuchseite(page("4", "")),
                                            DiaryBook::StoreFrom::Close, table,
                                            SettingsStore(QString()), &error))
        << error.toStdString();
    EXPECT_TRUE(readBytes(diary).startsWith(day3 + "Tag05: "));
    // Another writer adds day 7; a delete of day 5 keeps it.
    testutil::writeBytes(diary, readBytes(diary) + crlf({"Tag07: x#y#z#w"}));
    ASSERT_TRUE(book.deleteDay(5, &error));
    EXPECT_EQ(readBytes(diary), day3 + crlf({"Tag07: x#y#z#w"}));
    // A diary that cannot be read stays as it is.
    QFile::remove(diary);
    QDir().mkpath(diary);
    EXPECT_FALSE(book.deleteDay(3, &error));
    EXPECT_TRUE(QFileInfo(diary).isDir());
}
