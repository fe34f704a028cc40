#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "filelimit.h"
#include "platform/inidocument.h"
#include "platform/profile.h"
#include "platform/textfile.h"
#include "testutil.h"

#include <cerrno>
#include <fcntl.h>
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
    writeBytes(ini, kSettings);
    setMtime(ini, 1000000);
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
    QByteArray same = kSettings;
    same.replace("180", "190");
    writeBytes(ini, same);
    setMtime(ini, 1000001);
    EXPECT_EQ(doc.read("Einstellung", "Hochwerte>"), "190");
    EXPECT_EQ(doc.loadCount(), 2);

    // Same size, same time, another file put in its place.
    QByteArray other = same;
    other.replace("190", "200");
    writeBytes(dir.file("neu"), other);
    setMtime(dir.file("neu"), 1000001);
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

TEST(IniDocument, WritesThroughKeepingEveryOtherLine) {
    testutil::TempFolder dir;
    const QString ini = dir.file("glykoval.ini");
    writeBytes(ini, kSettings);
    IniDocument doc(ini);
    ASSERT_TRUE(doc.write("Einstellung", "BenutzerName", QString::fromUtf8("Jörg Müller")));
    ASSERT_TRUE(doc.write("Bemerkungen_MM032024.tab", "06,1", "\"Feier"));
    QByteArray expected = kSettings;
    expected.replace("BenutzerName=Max Muster", "BenutzerName=J\xF6rg M\xFCller");
    expected.replace("05,1=\"nach Sport\r\n", "05,1=\"nach Sport\r\n06,1=\"Feier\r\n");
    EXPECT_EQ(readBytes(ini), expected);
    EXPECT_EQ(doc.read("Einstellung", "BenutzerName"), QString::fromUtf8("Jörg Müller"));
    EXPECT_EQ(doc.read("Bemerkungen_MM032024.tab", "06,1"), "\"Feier");
    EXPECT_EQ(doc.saveCount(), 2);
    EXPECT_EQ(doc.loadCount(), 1) << "its own writes are not read back";

    // The same value again writes nothing.
    const QFileInfo before(ini);
    ASSERT_TRUE(doc.write("einstellung", "BenutzerName", QString::fromUtf8("Jörg Müller")));
    EXPECT_EQ(doc.saveCount(), 2);
    EXPECT_EQ(QFileInfo(ini).lastModified(), before.lastModified());
    EXPECT_TRUE(doc.write(QList<IniDocument::Change>{}));

    // A new file.
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
    const QList<QByteArray> files = {
        "[S]\r\nA=1\r\n\r\n[T]\r\nB=2\r\n[s]\r\nC=3",
        "\xEF\xBB\xBF[S]\nA=1\n; x\n[U]",
        "",
        "vorab=1\r\n[T]\r\n",
    };
    const QList<IniDocument::Change> changes = {
        {"S", "A", "10"},
        {"s", "neu", "x"},
        {"T", "B", ""},
        {"S", "NEU", "y"},
        {"Bemerkungen_a]b", "05,1", "\"z"},
        {"V", "k", "1"},
        {"bemerkungen_A]B", "06,1", "\"w"},
        {"S", "zwei", "2"},
        {"U", "u", QString::fromUtf8("ü")},
        {"V", "K", "2"},
        {"T", "C", "3"},
    };
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

TEST(IniDocument, FailedWriteLeavesFileAndDocumentAsTheyWere) {
    testutil::TempFolder dir;
    const QString ini = dir.file("glykoval.ini");
    writeBytes(ini, kSettings);
    IniDocument doc(ini);
    ASSERT_EQ(doc.read("Einstellung", "Hochwerte>"), "180");
    QString error;
    {
        testutil::FileSizeLimit limit(kSettings.size());
        ASSERT_TRUE(limit.active());
        EXPECT_FALSE(doc.write(
            QList<IniDocument::Change>{{"Einstellung", "Hochwerte>", "200"},
                                       {"Bemerkungen_MM042024.tab", "01,1", "\"neu und lang"}},
            &error));
    }
    EXPECT_EQ(readBytes(ini), kSettings);
    EXPECT_EQ(doc.read("Einstellung", "Hochwerte>"), "180");
    EXPECT_EQ(doc.read("Bemerkungen_MM042024.tab", "01,1"), "");
    EXPECT_EQ(doc.saveCount(), 0);
    EXPECT_EQ(doc.lastReason(), textfile::reasonOf(EFBIG));
    EXPECT_TRUE(error.startsWith(QStringLiteral("Die Datei \"") + ini)) << error.toStdString();
    EXPECT_TRUE(error.contains(textfile::reasonOf(EFBIG)));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"glykoval.ini"});
    // Once there is room again the same change goes through.
    EXPECT_TRUE(doc.write("Einstellung", "Hochwerte>", "200"));
    EXPECT_EQ(profile::read(ini, "Einstellung", "Hochwerte>"), "200");
}

TEST(IniDocument, ValueOfLinesAlreadyRead) {
    const QStringList lines = {"[Personendaten]", " BenutzerName = \"Max Muster\" ",
                               "Datum=März 2024", "[Personendaten]", "Extra=1"};
    bool found = false;
    EXPECT_EQ(ini::valueIn(lines, "personendaten", "benutzername", &found), "Max Muster");
    EXPECT_TRUE(found);
    EXPECT_EQ(profile::readFromLines(lines, "Personendaten", "Datum"), "März 2024");
    EXPECT_EQ(ini::valueIn(lines, "Personendaten", "Extra", &found), "");
    EXPECT_FALSE(found);
    EXPECT_EQ(ini::sectionOf(u"  [ a]b ]  "), "a]b");
    EXPECT_EQ(ini::sectionOf(u"[]"), "");
    EXPECT_FALSE(ini::sectionOf(u"[]").isNull());
    EXPECT_TRUE(ini::sectionOf(u"kein=Abschnitt").isNull());
}
