#include <QDir>
#include <QTextStream>
#include <gtest/gtest.h>

#include "cli/tablecli.h"
#include "platform/textfile.h"
#include "support/golden.h"
#include "testutil.h"

namespace {

struct TableRun {
    int code;
    QByteArray out;
    QString err;
};

TableRun table(const QString &name) {
    TableRun r;
    QByteArray err;
    {
        QTextStream out(&r.out), e(&err);
        r.code = tablecli::tableCommand(name, out, e);
    }
    r.err = QString::fromUtf8(err);
    return r;
}

} // namespace

// The table text in UTF-8, for a path or a bare name inside the data folder,
// in mmol/l where the folder's settings say so; a missing table is named.
TEST(TableCommand, PrintsTheTableTextInUtf8AndFailsOnAMissingTable) {
    testutil::TempFolder dir;
    const QString old = QDir::currentPath();
    QDir::setCurrent(dir.path());
    QDir().mkpath(dir.path() + "Glykovalin-Daten/2024");
    const QString path = "Glykovalin-Daten/2024/MM032024.tab";
    testutil::writeBytes(
        dir.file(path),
        testutil::crlf({"[Personendaten]", QString::fromUtf8("BenutzerName=Max Müller"),
                        QString::fromUtf8("Datum=März 2024"), "", "BisZu4MessungenJeTag=1",
                        "BisZu8MessungenJeTag=0", "",
                        "Morgens den    05.03.2024 Z=07:00  ZuckerWert=95"}));
    const TableRun r = table(path);
    EXPECT_EQ(r.code, 0);
    EXPECT_TRUE(golden::matches(r.out, "cli/tabelle.txt"));
    EXPECT_EQ(QString::fromUtf8(r.out).split('\n')[13],
              "   05       |       07:00      |  95    |" +
                  QString("                       |          |").repeated(3));
    EXPECT_EQ(table("2024/MM032024.tab").out, r.out);
    testutil::writeBytes(dir.file("glykoval.ini"),
                         testutil::crlf({"[Einstellung]", "Einheit=mmol/l"}));
    EXPECT_TRUE(golden::matches(table(path).out, "cli/tabelle-mmol.txt"));
    const TableRun missing = table("fehlt.tab");
    EXPECT_NE(missing.code, 0);
    EXPECT_TRUE(missing.out.isEmpty());
    EXPECT_TRUE(missing.err.contains("fehlt.tab"));
    QDir::setCurrent(old);
}

// A line whose day lies outside 01..31 is left out and named on stderr; the
// table itself is printed.
TEST(TableCommand, WarnsAboutLinesWithoutADayOfTheMonth) {
    testutil::TempFolder tmp;
    const QString path = tmp.file("MM032024.tab");
    textfile::writeLines(path,
                         {"[Personendaten]", "BenutzerName=Max Muster", "BisZu4MessungenJeTag=1",
                          "", "Morgens den    05.03.2024 Z=07:30  ZuckerWert=128",
                          "Morgens den    45.03.2024 Z=07:30  ZuckerWert=131"});
    const TableRun r = table(path);
    EXPECT_EQ(r.code, 0);
    EXPECT_EQ(r.err, QString::fromUtf8("Zeile 6 der Datei \"%1\" enthält keinen gültigen Tag "
                                       "(01 bis 31) und wurde beim Zeichnen und Rechnen "
                                       "übergangen. Sie bleibt in der Tabelle und kann unter "
                                       "\"Tabelle | aktuelle bearbeiten\" korrigiert werden.\n")
                         .arg(path));
    EXPECT_TRUE(r.out.contains("128"));
    EXPECT_FALSE(r.out.contains("131"));
}
