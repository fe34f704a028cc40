#include <QDir>
#include <QTextStream>
#include <gtest/gtest.h>

#include "cli/tablecli.h"
#include "platform/textfile.h"
#include "testutil.h"

// The table command leaves out a line whose day lies outside 01..31 and
// names it on stderr; the table itself is printed.
TEST(TableCommand, WarnsAboutLinesWithoutADayOfTheMonth) {
    testutil::TempFolder tmp;
    const QString table = tmp.file("MM032024.tab");
    textfile::writeLines(table,
                         {"[Personendaten]", "BenutzerName=Max Muster", "BisZu4MessungenJeTag=1",
                          "", "Morgens den    05.03.2024 Z=07:30  ZuckerWert=128",
                          "Morgens den    45.03.2024 Z=07:30  ZuckerWert=131"});
    QString outText, errText;
    QTextStream out(&outText), err(&errText);
    EXPECT_EQ(tablecli::tableCommand(table, out, err), 0);
    out.flush();
    err.flush();
    EXPECT_EQ(errText, QString::fromUtf8("Zeile 6 der Datei \"%1\" enthält keinen gültigen Tag "
                                         "(01 bis 31) und wurde beim Zeichnen und Rechnen "
                                         "übergangen. Sie bleibt in der Tabelle und kann unter "
                                         "\"Tabelle | aktuelle bearbeiten\" korrigiert werden.\n")
                           .arg(table));
    EXPECT_TRUE(outText.contains("128"));
    EXPECT_FALSE(outText.contains("131"));
}
