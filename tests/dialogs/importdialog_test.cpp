#include "dialogs/importdialog.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>

#include "dialogs/columnmappingdialog.h"
#include "platform/profile.h"
#include "platform/textfile.h"
#include "recordingservices.h"
#include "storage/monthmodel.h"
#include "testutil.h"

namespace {

QString data(const char *name) {
    return QStringLiteral(GLYKO_IMPORT_DATA "/") + QString::fromLatin1(name);
}

// The dialog over a base folder of Max Muster (four slots at 07:00, 12:00,
// 18:00 and 22:00), answered by recording services.
struct Import {
    testutil::TempFolder dir;
    ui::RecordingServices rec;
    std::unique_ptr<MonthModel> session;
    std::unique_ptr<ImportDialog> dlg;
    QStringList imported;
    explicit Import(const QString &user = "Max Muster") {
        testutil::writeBytes(
            dir.file("glykoval.ini"),
            testutil::crlf({"[Einstellung]", "BenutzerName=" + user, "BisZu4MessungenJeTag=1",
                            "Messung4UhrzeitMorgens=07:00", "Messung4UhrzeitMessung2=12:00",
                            "Messung4UhrzeitMessung3=18:00", "Messung4UhrzeitAbends=22:00"}));
        session = std::make_unique<MonthModel>(Folders::at(dir.path()));
        dlg = std::make_unique<ImportDialog>(*session, rec);
        QObject::connect(dlg.get(), &ImportDialog::imported,
                         [this](const QString &p) { imported << p; });
    }
    void start(const QString &file) {
        rec.fileNames.enqueue(file);
        dlg->start(nullptr);
    }
    template <class T> T *get(const char *name) const {
        T *w = dlg->findChild<T *>(QString::fromLatin1(name));
        EXPECT_NE(w, nullptr) << name;
        return w;
    }
    QString text(const char *label) const { return get<QLabel>(label)->text(); }
    QStringList row(int r) const {
        QStringList cells;
        auto *t = get<QTableWidget>("MonthTable");
        for (int c = 0; c < t->columnCount(); ++c)
            cells << t->item(r, c)->text();
        return cells;
    }
    QString table(const char *name) const {
        return dir.path() + "Glykovalin-Daten/2024/" + QString::fromLatin1(name);
    }
};

} // namespace

TEST(ImportDialog, PreviewWithSensorChoiceThenApply) {
    Import im;
    im.start(data("libreview_de.csv"));
    ASSERT_EQ(im.rec.dialogCalls.size(), 1);
    EXPECT_EQ(im.rec.dialogCalls[0],
              "open|Messwerte aus Datei importieren|" + im.dir.path() +
                  "|Messwert-Dateien (*.csv *.txt *.tsv *.json);;Alle Dateien (*)");
    ASSERT_TRUE(im.dlg->isVisible());
    EXPECT_EQ(im.text("FormatLabel"), "Erkannt: LibreView (deutsch)");
    EXPECT_EQ(im.text("PeriodLabel"), "Zeitraum: 05.03.2024 bis 01.04.2024");
    EXPECT_EQ(im.text("FoundLabel"),
              "Gefunden: 11 Messwerte (Blutzucker 7, Sensor-Scan 2, Sensor-Verlauf 2)");
    EXPECT_EQ(im.row(0), QStringList({"März 2024", "MM032024.tab (neu)", "3", "0", "0", "1"}));
    EXPECT_EQ(im.row(1), QStringList({"April 2024", "MM042024.tab (neu)", "1", "0", "0", "0"}));
    EXPECT_TRUE(im.get<QLabel>("SkippedLabel")->text().startsWith("Übergangen: 8 ("));

    auto *sensor = im.get<QCheckBox>("SensorCheck");
    EXPECT_EQ(sensor->text(), "&Sensorwerte übernehmen");
    sensor->click();
    EXPECT_EQ(im.row(0), QStringList({"März 2024", "MM032024.tab (neu)", "4", "0", "0", "1"}));
    EXPECT_FALSE(QDir(im.dir.path() + "Glykovalin-Daten").exists()); // a preview writes nothing

    auto *apply = im.get<QPushButton>("ApplyBtn");
    EXPECT_EQ(apply->text(), "Übernehmen");
    apply->click();
    EXPECT_FALSE(im.dlg->isVisible());
    EXPECT_EQ(im.imported, QStringList({im.table("MM042024.tab")}));
    ASSERT_EQ(im.rec.shown.size(), 1);
    EXPECT_EQ(im.rec.shown[0].kind, ui::Kind::Information);
    EXPECT_EQ(im.rec.shown[0].text, "5 Messwerte übernommen (MM032024.tab, MM042024.tab).");
    EXPECT_EQ(testutil::readBytes(im.table("MM032024.tab")),
              testutil::crlf(testutil::monthHeader("Max Muster", "März 2024") +
                             QStringList{"Morgens den    05.03.2024 Z=07:10  ZuckerWert=128",
                                         "Messung2 den 05.03.2024 Z=12:20  ZuckerWert=160",
                                         "Abends den     05.03.2024 Z=22:05  ZuckerWert=112",
                                         "Messung3 den 06.03.2024 Z=18:10  ZuckerWert=145"}));

    // The same file again: nothing new, the check box starts unticked.
    const QByteArray march = testutil::readBytes(im.table("MM032024.tab"));
    im.start(data("libreview_de.csv"));
    EXPECT_FALSE(sensor->isChecked());
    EXPECT_EQ(im.row(0), QStringList({"März 2024", "MM032024.tab", "0", "3", "0", "1"}));
    EXPECT_FALSE(apply->isEnabled());
    EXPECT_EQ(im.text("StatusLabel"), "Es gibt nichts Neues zu übernehmen.");
    im.get<QPushButton>("CancelBtn")->click();
    EXPECT_FALSE(im.dlg->isVisible());
    EXPECT_EQ(testutil::readBytes(im.table("MM032024.tab")), march);
    EXPECT_EQ(im.imported.size(), 1);
}

TEST(ImportDialog, ColumnsOfAnUnknownCsvAreMappedAndRemembered) {
    Import im;
    im.start(data("fremd.csv"));
    auto *mapping = im.dlg->findChild<ColumnMappingDialog *>();
    ASSERT_NE(mapping, nullptr);
    ASSERT_TRUE(mapping->isVisible());
    EXPECT_FALSE(im.dlg->isVisible());
    auto *value = im.get<QComboBox>("ValueColumnBox");
    EXPECT_EQ(im.get<QComboBox>("DateColumnBox")->currentText(), "1: Datum");
    EXPECT_EQ(im.get<QComboBox>("TimeColumnBox")->currentText(), "2: Zeit");
    EXPECT_EQ(value->currentText(), "3: Blutzucker (mg/dl)");
    EXPECT_EQ(im.get<QComboBox>("DateOrderBox")->currentText(), "TT.MM.JJJJ");
    auto *preview = im.get<QTableWidget>("PreviewTable");
    EXPECT_EQ(preview->rowCount(), 4);
    EXPECT_EQ(preview->item(0, 3)->text(), "nüchtern"); // Windows-1252 in the file

    // A column without values: the file cannot be read so, the step stays.
    value->setCurrentIndex(value->findData(3));
    im.get<QPushButton>("NextBtn")->click();
    ASSERT_EQ(im.rec.shown.size(), 1);
    EXPECT_TRUE(im.rec.shown[0].text.contains("Zeile 2: \"nüchtern\" ist kein Messwert"));
    EXPECT_TRUE(mapping->isVisible());
    // No date column: "Weiter" cannot be pressed.
    im.get<QComboBox>("DateColumnBox")->setCurrentIndex(0);
    EXPECT_FALSE(im.get<QPushButton>("NextBtn")->isEnabled());
    im.get<QComboBox>("DateColumnBox")->setCurrentIndex(1);

    value->setCurrentIndex(value->findData(2));
    im.get<QPushButton>("NextBtn")->click();
    EXPECT_FALSE(mapping->isVisible());
    ASSERT_TRUE(im.dlg->isVisible());
    EXPECT_EQ(im.text("FormatLabel"), "Erkannt: CSV mit eigener Spaltenzuordnung");
    EXPECT_TRUE(
        profile::read(im.dir.file("glykoval.ini"), "ImportSpalten",
                      importer::mappingKey({"Datum", "Zeit", "Blutzucker (mg/dl)", "Bemerkung"})) ==
        "Datum=0;Uhrzeit=1;Wert=2;Sensor=-1;Reihenfolge=TMJ;Einheit=mg/dl");
    im.get<QPushButton>("ApplyBtn")->click();
    QStringList lines;
    ASSERT_TRUE(textfile::readLines(im.table("MM032024.tab"), lines));
    EXPECT_EQ(lines.mid(14), QStringList({"Morgens den    05.03.2024 Z=07:20  ZuckerWert=131",
                                          "Messung2 den 05.03.2024 Z=12:10  ZuckerWert=155",
                                          "Messung3 den 06.03.2024 Z=18:00  ZuckerWert=142"}));

    // The remembered mapping is offered for the same header, not a new guess.
    profile::write(im.dir.file("glykoval.ini"), "ImportSpalten",
                   importer::mappingKey({"Datum", "Zeit", "Blutzucker (mg/dl)", "Bemerkung"}),
                   "Datum=0;Uhrzeit=1;Wert=2;Sensor=-1;Reihenfolge=MTJ;Einheit=mmol/l");
    im.start(data("fremd.csv"));
    EXPECT_EQ(im.get<QComboBox>("DateOrderBox")->currentText(), "MM/TT/JJJJ");
    EXPECT_EQ(im.get<QComboBox>("UnitBox")->currentText(), "mmol/l");
    im.get<QPushButton>("MappingCancelBtn")->click();
    EXPECT_FALSE(mapping->isVisible());
    EXPECT_FALSE(im.dlg->isVisible());
}

TEST(ImportDialog, UnusableFilesGetAMessageAndChangeNothing) {
    const struct {
        const char *file;
        QString user;
        QString says;
    } cases[] = {{"unbekannt.txt", "Max Muster", "wurde nicht erkannt"},
                 {"fehlt.csv", "Max Muster", "kann nicht gelesen werden"},
                 {"mylife.csv", "", "kein Benutzername"}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.file);
        Import im(c.user);
        const QByteArray ini = testutil::readBytes(im.dir.file("glykoval.ini"));
        im.start(data(c.file));
        EXPECT_FALSE(im.dlg->isVisible());
        ASSERT_EQ(im.rec.shown.size(), 1);
        EXPECT_EQ(im.rec.shown[0].kind, ui::Kind::Warning);
        EXPECT_TRUE(im.rec.shown[0].text.contains(c.says)) << im.rec.shown[0].text.toStdString();
        EXPECT_EQ(testutil::readBytes(im.dir.file("glykoval.ini")), ini);
        EXPECT_FALSE(QDir(im.dir.path() + "Glykovalin-Daten").exists());
    }
    // The file dialog cancelled: nothing at all.
    Import im;
    im.dlg->start(nullptr);
    EXPECT_TRUE(im.rec.shown.isEmpty());
    EXPECT_FALSE(im.dlg->isVisible());
}
