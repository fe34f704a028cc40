#include <gtest/gtest.h>

#include "platform/profile.h"
#include "platform/textfile.h"
#include "testutil.h"

using testutil::crlf;
using testutil::readBytes;
using testutil::writeBytes;

TEST(Profile, ReadsWithWindowsRules) {
    testutil::TempFolder dir;
    const QString ini = dir.file("a.ini");
    writeBytes(ini, crlf({"[Einstellung]", "  Hochwerte>  =  180  ", "hochwerte>=999",
                          "Quoted=\"Max Muster\"", "Single='x'", "Lone=\"Bemerkung",
                          "Semi=;kein Kommentar", "Eq=a=b", "NoKey", "[ÄNDERUNG]", "größe=1",
                          "[einstellung]", "Later=2"}));
    EXPECT_EQ(profile::read(ini, "einstellung", "HOCHWERTE>"), "180");
    EXPECT_EQ(profile::read(ini, "Einstellung", "Quoted"), "Max Muster");
    EXPECT_EQ(profile::read(ini, "Einstellung", "Single"), "x");
    EXPECT_EQ(profile::read(ini, "Einstellung", "Lone"), "\"Bemerkung");
    EXPECT_EQ(profile::read(ini, "Einstellung", "Semi"), ";kein Kommentar");
    EXPECT_EQ(profile::read(ini, "Einstellung", "Eq"), "a=b");
    EXPECT_EQ(profile::read(ini, "Einstellung", "NoKey"), "");
    EXPECT_EQ(profile::read(ini, "änderung", "GRÖSSE"), "");
    EXPECT_EQ(profile::read(ini, "änderung", "GRÖßE"), "1");
    // The first section of a name wins; its duplicate is not searched.
    EXPECT_EQ(profile::read(ini, "Einstellung", "Later"), "");
    EXPECT_EQ(profile::read(ini, "Fehlt", "x"), "");
    EXPECT_EQ(profile::read(dir.file("missing.ini"), "Einstellung", "x"), "");
}

TEST(Profile, LongValuesLfFilesAndBom) {
    testutil::TempFolder dir;
    const QString ini = dir.file("b.ini");
    writeBytes(ini, "\xEF\xBB\xBF[S]\nK=" + QByteArray(300, 'x') + "\nU=\xC3\xA4");
    EXPECT_EQ(profile::read(ini, "S", "K"), QString(255, 'x'));
    EXPECT_EQ(profile::read(ini, "S", "U"), QString::fromUtf8("ä"));
    // A byte-order mark over text that is no UTF-8 (Windows-1252 after all):
    // read and written as Windows-1252, as the other text files are.
    const QString mixed = dir.file("m.ini");
    writeBytes(mixed, "\xEF\xBB\xBF[S]\r\nName=J\xF6rg \xD6zt\xFCrk\r\n");
    EXPECT_EQ(profile::read(mixed, "S", "Name"), QString::fromUtf8("Jörg Öztürk"));
    ASSERT_TRUE(profile::write(mixed, "S", "Ort", QString::fromUtf8("Köln")));
    EXPECT_EQ(readBytes(mixed),
              QByteArray("\xEF\xBB\xBF[S]\r\nName=J\xF6rg \xD6zt\xFCrk\r\nOrt=K\xF6ln\r\n"));
}

TEST(TextFile, LinesRoundTripAndAcceptLf) {
    testutil::TempFolder dir;
    const QString f = dir.file("t.txt");
    writeBytes(f, "a\r\nb\nc");
    QStringList lines;
    ASSERT_TRUE(textfile::readLines(f, lines));
    EXPECT_EQ(lines, QStringList({"a", "b", "c"}));
    ASSERT_TRUE(textfile::writeLines(f, {"Ä€", ""}));
    EXPECT_EQ(readBytes(f), QByteArray("\xC4\x80\r\n\r\n"));
    EXPECT_FALSE(textfile::readLines(dir.file("none.txt"), lines));
    QString error;
    EXPECT_FALSE(textfile::writeLines(dir.file("no/such/folder/x.txt"), {"a"}, &error));
    EXPECT_FALSE(error.isEmpty());
}
