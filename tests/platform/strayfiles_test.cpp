#include <gtest/gtest.h>

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "platform/strayfiles.h"
#include "testutil.h"

namespace {

void make(const QString &path) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    testutil::writeBytes(path, "x");
}

} // namespace

TEST(StrayFiles, OnlyLeftoversOfTheProgramsOwnFilesMatch) {
    for (const char *name :
         {"glykoval.ini.aBcDeF", "GLYKOVAL.INI.QWERTZ", "MM032024.tab.AbCdEf", "JAN.TAB.xxxxxx",
          "MM032024.txt.ZyXwVu", "Patientendaten.txt.abcdef", "Tagebuch Max.pdf.AAAAAA",
          "MM032024.html.qwertz", "MM032024.png.aBcDeF", "Export.csv.aBcDeF", "Chart.min.js.aBcDeF",
          "Glykovalin-Hilfe.htm.aBcDeF", "qt_temp.XyZabc"})
        EXPECT_TRUE(strayfiles::isLeftover(QString::fromUtf8(name))) << name;
    for (const char *name : {"glykoval.ini", "MM032024.tab", "andere.ini.aBcDeF",
                             "Grafik4.bmp.aBcDeF", "MM032024.tab.aBcDe", "MM032024.tab.aBcDeFg",
                             "MM032024.tab.aBc1eF", "MM032024.tab_aBcDeF", ".tab.aBcDeF",
                             "MM032024.tab.aBcDeF.tab", "notiz.doc.abcdef", "qt_temp.aBcDe"})
        EXPECT_FALSE(strayfiles::isLeftover(QString::fromUtf8(name))) << name;
}

TEST(StrayFiles, RemovesLeftoversInTheProgramsFoldersAndNothingElse) {
    testutil::TempFolder dir;
    const QString base = dir.path();
    const QString data = base + "Glykovalin-Daten/";
    const QString browser = base + "Glykovalin-Browser/";
    const QStringList leftovers = {
        base + "glykoval.ini.aBcDeF",      base + "Patientendaten.txt.QwErTz",
        data + "2024/MM032024.tab.xYzAbC", data + "2024/MM032024.txt.HgFeDc",
        data + "alt.tab.PoIuZt",           browser + "2024/MM032024.html.LkJhGf"};
    const QStringList kept = {base + "glykoval.ini",
                              data + "2024/MM032024.tab",
                              data + "2024/MM032024.tab.aBc",
                              data + "2024/Grafik.bmp.aBcDeF",
                              base + "scripts/glykoval.ini.aBcDeF",
                              data + "2024/tief/MM032024.tab.aBcDeF",
                              base + "anderes/MM.tab.aBcDeF"};
    for (const QString &p : leftovers + kept)
        make(p);
    QDir().mkpath(data + "2023/MM032023.tab.aBcDeF"); // a folder, not a file
    // A link to a leftover elsewhere is not followed.
    make(base + "anderes/x.tab.ZzZzZz");
    ASSERT_TRUE(QFile::link(base + "anderes/x.tab.ZzZzZz", data + "2024/link.tab.YyYyYy"));
    ASSERT_TRUE(QFile::link(base + "anderes", data + "2022"));
    QMap<QString, QByteArray> after = testutil::filesIn(base, {}, true);
    QStringList removed = strayfiles::removeLeftovers(base, data, browser, std::chrono::seconds(0));
    removed.sort();
    QStringList expected = leftovers;
    expected.sort();
    EXPECT_EQ(removed, expected);
    // The files, folders and links kept are all there as they were.
    for (const QString &p : leftovers)
        after.remove(QDir(base).relativeFilePath(p));
    EXPECT_EQ(testutil::filesIn(base, {}, true), after);
}

TEST(StrayFiles, YoungFilesMayBeASaveUnderWayAndStay) {
    testutil::TempFolder dir;
    const QString young = dir.file("glykoval.ini.aBcDeF");
    const QString old = dir.file("MM032024.tab.aBcDeF");
    make(young);
    make(old);
    QFile f(old);
    ASSERT_TRUE(f.open(QIODevice::ReadWrite));
    ASSERT_TRUE(f.setFileTime(QDateTime::currentDateTime().addSecs(-120),
                              QFileDevice::FileModificationTime));
    f.close();
    EXPECT_EQ(strayfiles::removeLeftovers(dir.path(), QString(), QString()), QStringList{old});
    EXPECT_TRUE(QFileInfo::exists(young));
}

// An output may lie in any folder: the leftovers of that one file go, its
// neighbours and copies named with a word stay.
TEST(StrayFiles, LeftoversOfOneOutputFileAnywhere) {
    testutil::TempFolder dir;
    const QString target = dir.file("Ausgabe [1].pdf");
    const QStringList leftovers = {target + ".QwErTz", target + ".aBcDeF"};
    QStringList kept = {target, dir.file("Ausgabe [1].png.aBcDeF"),
                        dir.file("Ausgabe 1.pdf.aBcDeF")};
    for (const char *suffix : {".aBc", ".aBcDe1", ".backup", ".KOPIEN", ".Sicher"})
        kept << target + suffix;
    for (const QString &p : leftovers + kept)
        make(p);
    QStringList removed = strayfiles::removeLeftoversOf(target, std::chrono::seconds(0));
    removed.sort();
    EXPECT_EQ(removed, leftovers);
    for (const QString &p : kept)
        EXPECT_TRUE(QFileInfo::exists(p)) << p.toStdString();
}
