#include <gtest/gtest.h>

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include "platform/inidocument.h"
#include "platform/profile.h"
#include "testutil.h"

#include <fcntl.h>
#include <random>
#include <sys/stat.h>

using testutil::crlf;
using testutil::readBytes;
using testutil::writeBytes;

namespace {

// Sets the modification time of a file to a fixed second.
void setMtime(const QString &path, time_t seconds) {
    const timespec times[2] = {{seconds, 0}, {seconds, 0}};
    ASSERT_EQ(utimensat(AT_FDCWD, QFile::encodeName(path).constData(), times, 0), 0);
}

const QByteArray kSettings = crlf({"[Einstellung]", "Hochwerte>=180", "BenutzerName=Max Muster", "",
                                   "[Bemerkungen_MM032024.tab]", "05,1=\"nach Sport", "",
                                   "[einstellung]", "Hochwerte>=999"});

} // namespace

TEST(IniDocument, ReadsFromMemoryUntilTheFileChanges) {
    testutil::TempFolder dir;
    const QString ini = dir.file("glykoval.ini");
    // The settings with another high limit of the same size, at a fixed time.
    const auto put = [](const QString &path, const char *limit, time_t time) {
        writeBytes(path, QByteArray(kSettings).replace("180", limit));
        setMtime(path, time);
    };
    put(ini, "180", 1000000);
    IniDocument doc(ini);
    EXPECT_EQ(doc.loadCount(), 0) << "nothing is read before the first question";
    for (int i = 0; i < 50; ++i) {
        EXPECT_EQ(doc.read("EINSTELLUNG", "hochwerte>"), "180");
        EXPECT_EQ(doc.read("Bemerkungen_MM032024.tab", "05,1"), "\"nach Sport");
        EXPECT_EQ(doc.read("Einstellung", "Fehlt"), "");
    }
    EXPECT_TRUE(doc.contains("Einstellung", "BenutzerName"));
    EXPECT_EQ(doc.loadCount(), 1);

    // Rewritten in place with the same size and a later time.
    put(ini, "190", 1000001);
    EXPECT_EQ(doc.read("Einstellung", "Hochwerte>"), "190");
    EXPECT_EQ(doc.loadCount(), 2);

    // Same size, same time, another file put in its place.
    put(dir.file("neu"), "200", 1000001);
    ASSERT_TRUE(QFile::remove(ini));
    ASSERT_TRUE(QFile::rename(dir.file("neu"), ini));
    EXPECT_EQ(doc.read("Einstellung", "Hochwerte>"), "200");
    EXPECT_EQ(doc.loadCount(), 3);

    // Gone: empty answers, and back again.
    ASSERT_TRUE(QFile::remove(ini));
    EXPECT_EQ(doc.read("Einstellung", "Hochwerte>"), "");
    EXPECT_FALSE(doc.exists());
    writeBytes(ini, crlf({"[Einstellung]", "Hochwerte>=210"}));
    EXPECT_EQ(doc.read("Einstellung", "Hochwerte>"), "210");
    EXPECT_EQ(doc.loadCount(), 4);
}

// A write goes to the file and is not read back; the same value again
// writes nothing; a file that is not there is made. What a write keeps of
// the other lines is checked with several changes below.
TEST(IniDocument, WritesThroughOnlyWhatChanged) {
    testutil::TempFolder dir;
    const QString ini = dir.file("glykoval.ini");
    writeBytes(ini, kSettings);
    IniDocument doc(ini);
    const QString name = QString::fromUtf8("Jörg Müller");
    ASSERT_TRUE(doc.write("Einstellung", "BenutzerName", name));
    EXPECT_EQ(profile::read(ini, "Einstellung", "BenutzerName"), name);
    EXPECT_EQ(doc.read("Einstellung", "BenutzerName"), name);
    EXPECT_EQ(doc.loadCount(), 1) << "its own writes are not read back";
    const QFileInfo before(ini);
    ASSERT_TRUE(doc.write("einstellung", "BenutzerName", name));
    EXPECT_TRUE(doc.write(QList<IniDocument::Change>{}));
    EXPECT_EQ(doc.saveCount(), 1);
    EXPECT_EQ(QFileInfo(ini).lastModified(), before.lastModified());

    IniDocument fresh(dir.file("neu.ini"));
    EXPECT_FALSE(fresh.exists());
    ASSERT_TRUE(fresh.write("Einstellung", "A", QString::fromUtf8("ä")));
    EXPECT_EQ(readBytes(dir.file("neu.ini")), QByteArray("[Einstellung]\r\nA=\xE4\r\n"));
    EXPECT_EQ(fresh.loadCount(), 0);
}

// Several changes in one write give the bytes the same changes give one by
// one: replaced keys, keys new to a section (also twice), new sections, a
// last line without line end, a later section of a known name.
TEST(IniDocument, ChangesInOneWriteEqualSingleWrites) {
    testutil::TempFolder dir;
    const QList<QByteArray> files = {"[S]\r\nA=1\r\n\r\n[T]\r\nB=2\r\n[s]\r\nC=3",
                                     "\xEF\xBB\xBF[S]\nA=1\n; x\n[U]", "", "vorab=1\r\n[T]\r\n"};
    const QList<IniDocument::Change> changes = {{"S", "A", "10"},
                                                {"s", "neu", "x"},
                                                {"T", "B", ""},
                                                {"S", "NEU", "y"},
                                                {"Bemerkungen_a]b", "05,1", "\"z"},
                                                {"V", "k", "1"},
                                                {"bemerkungen_A]B", "06,1", "\"w"},
                                                {"S", "zwei", "2"},
                                                {"U", "u", QString::fromUtf8("ü")},
                                                {"V", "K", "2"},
                                                {"T", "C", "3"}};
    for (int f = 0; f < files.size(); ++f) {
        const QString one = dir.file(QStringLiteral("einzeln%1.ini").arg(f));
        const QString all = dir.file(QStringLiteral("gesamt%1.ini").arg(f));
        writeBytes(one, files[f]);
        writeBytes(all, files[f]);
        for (const IniDocument::Change &c : changes)
            ASSERT_TRUE(profile::write(one, c.section, c.key, c.value));
        IniDocument doc(all);
        ASSERT_TRUE(doc.write(changes));
        EXPECT_EQ(doc.saveCount(), 1);
        EXPECT_EQ(readBytes(all), readBytes(one)) << f;
        for (const IniDocument::Change &c : changes)
            EXPECT_EQ(doc.read(c.section, c.key), profile::read(one, c.section, c.key)) << f;
    }
    EXPECT_EQ(readBytes(dir.file("einzeln0.ini")),
              QByteArray("[S]\r\nA=10\r\nNEU=y\r\nzwei=2\r\n\r\n[T]\r\nB=\r\nC=3\r\n[s]\r\nC=3\r\n"
                         "[Bemerkungen_a]b]\r\n05,1=\"z\r\n06,1=\"w\r\n[V]\r\nK=2\r\n[U]\r\n"
                         "u=\xFC\r\n"));
    EXPECT_TRUE(readBytes(dir.file("einzeln1.ini")).contains("[U]\r\nu=\xC3\xBC\r\n[T]\r\n"));
}

// Lines end at CR LF, LF or a lone CR, mixed as a hand-edited file has them;
// a change keeps every other byte and line end.
TEST(IniDocument, EveryKindOfLineEndIsKept) {
    testutil::TempFolder dir;
    const QString ini = dir.file("gemischt.ini");
    writeBytes(ini, "\r[S]\rA=1\r\r\nB=2\n\n[T]\r\nC=3\r");
    IniDocument doc(ini);
    EXPECT_EQ(doc.read("S", "A"), "1");
    EXPECT_EQ(doc.read("S", "B"), "2");
    EXPECT_EQ(doc.read("T", "C"), "3");
    ASSERT_TRUE(doc.write({{"S", "B", "20"}, {"T", "D", "4"}}));
    EXPECT_EQ(readBytes(ini), QByteArray("\r[S]\rA=1\r\r\nB=20\n\n[T]\r\nC=3\rD=4\r\n"));
    writeBytes(ini, "[S]\nA=1\r\nB=2");
    ASSERT_TRUE(doc.write("S", "A", "9"));
    EXPECT_EQ(readBytes(ini), QByteArray("[S]\nA=9\r\nB=2"));
}

namespace {

// The settings on top and twenty years of remarks under them, with the line
// ends and blanks of a hand-edited file; the same remark section once more
// near the end (the first one counts).
QByteArray longSettingsFile(quint32 seed) {
    std::mt19937 random(seed);
    const char *ends[] = {"\r\n", "\r\n", "\r\n", "\n", "\r"};
    QByteArray out = "[Einstellung]\r\nBenutzerName=Max Muster\r\nHochwerte>=180\r\n";
    for (int m = 0; m < 240; ++m) {
        out += (m % 7 == 0 ? "  [Bemerkungen_M" : "[Bemerkungen_M") + QByteArray::number(m) + "]";
        out += ends[random() % 5];
        const int days = 15 + int(random() % 17);
        for (int d = 1; d <= days; ++d) {
            out += QByteArray::number(d) + ",1=\"Tag " + QByteArray::number(d) + " Monat " +
                   QByteArray::number(m) + " " + QByteArray(int(random() % 40), 'x');
            out += ends[random() % 5];
        }
    }
    out += "[bemerkungen_m3]\r\n1,1=\"spaeter\r\n[Schluss]\r\nEnde=ja";
    return out;
}

// The same file's value by the rules, from all its lines at once.
QString wholeFileValue(const QByteArray &text, const QString &section, const QString &key) {
    static const QRegularExpression lineEnd(QStringLiteral("\r\n|\n|\r"));
    return ini::valueIn(QString::fromLatin1(text).split(lineEnd), section, key);
}

} // namespace

// Start-up reads only the settings at the top of a long file; every read
// gives what the whole file gives, wherever a part of it ends, and a write
// keeps every other byte.
TEST(IniDocument, ALongFileIsReadInPartsAsFarAsNeeded) {
    testutil::TempFolder dir;
    const QString ini = dir.file("glykoval.ini");
    for (quint32 seed : {1u, 2u, 3u}) {
        const QByteArray text = longSettingsFile(seed);
        ASSERT_GT(text.size(), 150000);
        writeBytes(ini, text);
        IniDocument doc(ini);
        EXPECT_EQ(doc.read("einstellung", "Hochwerte>"), "180");
        EXPECT_LT(doc.bytesRead(), text.size() / 4);
        for (const char *section : {"Bemerkungen_M3", "Bemerkungen_M100", "Bemerkungen_M239",
                                    "Bemerkungen_M7", "Schluss", "Einstellung"})
            for (const char *key : {"1,1", "2,1", "30,1", "Ende", "fehlt"})
                EXPECT_EQ(doc.read(section, key), wholeFileValue(text, section, key))
                    << seed << section << key;
        EXPECT_EQ(doc.read("fehlt", "1,1"), "");
        EXPECT_EQ(doc.bytesRead(), text.size());
        EXPECT_EQ(doc.loadCount(), 1);

        // A write right after the first read; one that repeats a stored
        // value needs no more of the file (a start stores what it read).
        IniDocument writer(ini);
        ASSERT_EQ(writer.read("Einstellung", "BenutzerName"), "Max Muster");
        const qsizetype head = writer.bytesRead();
        ASSERT_TRUE(writer.write("Einstellung", "BenutzerName", "Max Muster"));
        EXPECT_EQ(writer.bytesRead(), head);
        ASSERT_TRUE(writer.write({{"Einstellung", "Hochwerte>", "200"}, {"Schluss", "Neu", "1"}}));
        QByteArray expected = text;
        expected.replace("Hochwerte>=180", "Hochwerte>=200");
        expected += "\r\nNeu=1\r\n";
        EXPECT_EQ(readBytes(ini), expected) << seed;
    }
}

// A part may end anywhere: inside a CR LF, a section line or a key. Parts
// end at 4, 8, 16, ... KiB.
TEST(IniDocument, APartEndsAnywhereInALine) {
    testutil::TempFolder dir;
    const QString ini = dir.file("grenze.ini");
    for (int shift = 0; shift < 80; ++shift) {
        const int partEnd = shift < 40 ? 4096 : 16384;
        const QByteArray head = "[A]\r\n;" + QByteArray(partEnd - 7 - shift % 40, '-') + "\r\n";
        const QByteArray text = head + "[B]\r\nK=1\r\n\r\n[C]\r\nL=2\r\n[b]\r\nK=3\r\n";
        writeBytes(ini, text);
        IniDocument doc(ini);
        EXPECT_EQ(doc.read("B", "K"), "1") << shift;
        EXPECT_EQ(doc.read("C", "L"), "2") << shift;
        ASSERT_TRUE(doc.write("C", "M", "4"));
        EXPECT_EQ(readBytes(ini), head + "[B]\r\nK=1\r\n\r\n[C]\r\nL=2\r\nM=4\r\n[b]\r\nK=3\r\n")
            << shift;
    }
}

// A month table: its header keys on top of one long section of entry lines.
// A key is read only as far as its first line; a key further down, a
// missing key and a write read on as far as they need.
TEST(IniDocument, AKeyIsReadOnlyAsFarAsItsFirstLine) {
    testutil::TempFolder dir;
    const QString table = dir.file("MM122026.tab");
    QByteArray text = "[Glykovalin]\r\nDatum=Dezember 2026\r\nBenutzerName=Max Muster\r\n";
    for (int i = 0; i < 2000; ++i)
        text += "Morgens den " + QByteArray::number(i) + ".12.2026 Z=07:00  ZuckerWert=120\r\n";
    text += "Datum=doppelt\r\nSpaet=ja\r\n";
    writeBytes(table, text);

    IniDocument doc(table);
    EXPECT_EQ(doc.read("glykovalin", "Datum"), "Dezember 2026");
    EXPECT_EQ(doc.read("Glykovalin", "BenutzerName"), "Max Muster");
    EXPECT_LE(doc.bytesRead(), 4096);
    EXPECT_EQ(doc.read("Glykovalin", "Morgens den 500.12.2026 Z"), "07:00  ZuckerWert=120");
    EXPECT_LT(doc.bytesRead(), text.size());
    EXPECT_EQ(doc.read("Glykovalin", "Spaet"), "ja");
    EXPECT_EQ(doc.read("Glykovalin", "fehlt"), "");
    EXPECT_EQ(doc.read("Glykovalin", "Datum"), "Dezember 2026");
    EXPECT_EQ(doc.bytesRead(), text.size());
    EXPECT_EQ(doc.loadCount(), 1);

    // A new key follows the section's last key line, wherever reading stopped.
    IniDocument writer(table);
    ASSERT_EQ(writer.read("Glykovalin", "Datum"), "Dezember 2026");
    ASSERT_TRUE(writer.write("Glykovalin", "Neu", "1"));
    EXPECT_EQ(readBytes(table), text + "Neu=1\r\n");
}

// A file changed in place while only its top was read is read anew, never a
// mix of both.
TEST(IniDocument, AFileChangedBetweenPartsIsReadAnew) {
    testutil::TempFolder dir;
    const QString ini = dir.file("glykoval.ini");
    const QByteArray text = longSettingsFile(4);
    writeBytes(ini, text);
    IniDocument doc(ini);
    ASSERT_EQ(doc.read("Einstellung", "Hochwerte>"), "180");
    QByteArray changed = text;
    changed.replace("Tag 1 Monat 200 ", "Tag eins Monat 200 ");
    {
        QFile f(ini);
        ASSERT_TRUE(f.open(QIODevice::ReadWrite));
        ASSERT_EQ(f.write(changed), changed.size());
    }
    EXPECT_EQ(doc.read("Bemerkungen_M200", "1,1"),
              wholeFileValue(changed, "Bemerkungen_M200", "1,1"));
    EXPECT_TRUE(doc.read("Bemerkungen_M200", "1,1").startsWith("\"Tag eins"));
    EXPECT_EQ(doc.loadCount(), 2);
}

TEST(IniDocument, ValueOfLinesAlreadyRead) {
    const QStringList lines = {"[Personendaten]", " BenutzerName = \"Max Muster\" ",
                               "Datum=März 2024", "benutzername=Zweiter",
                               "[Personendaten]", "Extra=1"};
    bool found = false;
    EXPECT_EQ(ini::valueIn(lines, "personendaten", "benutzername", &found), "Max Muster");
    EXPECT_TRUE(found);
    EXPECT_EQ(ini::valueIn(lines, "Personendaten", "Extra", &found), "");
    EXPECT_FALSE(found);
    EXPECT_EQ(ini::sectionOf(u"  [ a]b ]  "), "a]b");
    EXPECT_EQ(ini::sectionOf(u"[]"), "");
    EXPECT_FALSE(ini::sectionOf(u"[]").isNull());
    EXPECT_TRUE(ini::sectionOf(u"kein=Abschnitt").isNull());
}
