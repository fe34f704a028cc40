#include <gtest/gtest.h>

#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QXmlStreamReader>

#include "platform/win1252.h"
#include "testutil.h"

TEST(DeliveredFiles, HelpPageExplainsTheTopicsInWindows1252) {
    const QByteArray bytes = testutil::readBytes(testutil::beside("Glykovalin-Hilfe.htm"));
    ASSERT_GT(bytes.size(), 10000);
    EXPECT_TRUE(bytes.contains("<meta charset=\"windows-1252\">"));
    EXPECT_TRUE(bytes.contains("l\xF6schen")) << "umlauts as single Windows-1252 bytes";
    EXPECT_FALSE(bytes.contains("\xC3")) << "no UTF-8";
    EXPECT_EQ(bytes.count("\r\n"), bytes.count("\n")) << "CR LF line ends";
    const QString page = win1252::decode(bytes);
    // Entering, correcting and deleting readings; the diary page; printing,
    // exports, files and backups (the menu entries are checked against the
    // running program's menus by HelpPage.NamesEveryMenuEntryOfTheProgram).
    for (const QString &topic :
         QString::fromUtf8(
             "In Liste aufnehmen|Grafik zeigen|Eintrag bearbeiten|Eintrag löschen|"
             "<kbd>Entf</kbd>|Broteinheiten (BE)|Kohlenhydrateinheiten (KE)|(CT)|(ICT)|Bolus|"
             "Basal|Tagessumme|DIN A4|PDF-Datei|Webbrowser|glykovalin-cli|~/Glykovalin|"
             "Glykovalin-Daten|glykoval.ini|Daten sichern|Sicherung wiederherstellen|"
             "~/Glykovalin-Sicherungen|Maßeinheit|Einheit=mmol/l|18,016")
             .split(u'|'))
        EXPECT_TRUE(page.contains(topic)) << topic.toStdString();
}

TEST(DeliveredFiles, IconAsSvgAndPngOfEverySize) {
    const QByteArray svg = testutil::readBytes(testutil::beside("icons/glykovalin.svg"));
    QXmlStreamReader xml(svg);
    int paths = 0;
    QString viewBox;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement) continue;
        if (xml.name() == u"svg") viewBox = xml.attributes().value("viewBox").toString();
        if (xml.name() == u"path") ++paths;
    }
    EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
    EXPECT_EQ(viewBox, "0 0 256 256");
    EXPECT_GE(paths, 10);

    for (int size : {16, 24, 32, 48, 64, 128, 256}) {
        const QImage png(testutil::beside(QStringLiteral("icons/glykovalin-%1.png").arg(size)));
        ASSERT_EQ(png.size(), QSize(size, size)) << size;
        EXPECT_EQ(qAlpha(png.pixel(0, 0)), 0) << "transparent corner, " << size;
        EXPECT_EQ(qAlpha(png.pixel(size / 2, size - size / 8)), 255) << "opaque tile, " << size;
    }
    // The blue tile, the white sheet and the red drop.
    const QImage big(testutil::beside("icons/glykovalin-256.png"));
    EXPECT_EQ(big.pixelColor(24, 128), QColor(0x1f, 0x5f, 0xa8));
    EXPECT_EQ(big.pixelColor(60, 190), QColor(Qt::white));
    EXPECT_EQ(big.pixelColor(204, 80), QColor(0xc8, 0x1e, 0x1e));
}

// The demo folder made by "glyko_makeassets DIR --demo" holds the chart
// script, so that its month's chart page shows the charts.
TEST(DeliveredFiles, DemoFolderHoldsTheChartScript) {
    const QString tool = testutil::beside("glyko_makeassets");
    if (!QFileInfo(tool).isExecutable()) GTEST_SKIP() << "glyko_makeassets not built";
    testutil::TempFolder dir;
    QProcess p;
    p.start(tool, {dir.path(), "--demo"});
    ASSERT_TRUE(p.waitForFinished(60000));
    EXPECT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();
    const QByteArray script = testutil::readBytes(dir.file("scripts/Chart.min.js"));
    EXPECT_GT(script.size(), 100000);
    EXPECT_EQ(script, testutil::readBytes(testutil::beside("scripts/Chart.min.js")));
}
