#include <QAction>
#include <QFileInfo>
#include <QPlainTextEdit>
#include <gtest/gtest.h>

#include "platform/profile.h"
#include "platform/ui.h"
#include "printing/tabellendlg.h"
#include "recordingservices.h"
#include "storage/monthmodel.h"
#include "tabellendlg_table.h"
#include "testutil.h"

using testutil::child;

namespace {

// The table window of March 2024; the base folder is `sub` in the test's folder.
struct TableFixture {
    testutil::TempFolder dir;
    ui::RecordingServices rec;
    MonthModel model;
    TTabellenDlg dlg{model, rec};
    int closes = 0;
    QStringList edited; // the patient-data files handed to the editor
    explicit TableFixture(const QString &sub = QString()) : model(Folders::at(dir.path() + sub)) {
        model.open(dir.file("MM032024.tab"));
        QObject::connect(&dlg, &TTabellenDlg::closed, [this] { ++closes; });
        QObject::connect(&dlg, &TTabellenDlg::patientDataRequested,
                         [this](const QString &name) { edited << name; });
    }
    void show(const QStringList &lines) {
        ASSERT_TRUE(dlg.showTable(lines.join(u'\n'), TTabellenDlg::Opening::Beside));
        ASSERT_TRUE(dlg.isVisible());
    }
    // Types a remark behind the row of a day.
    void remark(int day, const QString &text) {
        QStringList lines = dlg.tableLines();
        lines[rowOfDay(day)] += text;
        child<QPlainTextEdit>(dlg, "Memo1").setPlainText(lines.join(u'\n'));
    }
    QString stored(const QString &key) const {
        return profile::read(model.folders().settings, "Bemerkungen_MM032024.tab", key);
    }
    void menu(const char *entry) { child<QAction>(dlg, entry).trigger(); }
};

} // namespace

TEST(TabellenDlg, RemarkWrittenClosedAndShownAgain) {
    TableFixture f;
    EXPECT_EQ(f.dlg.windowTitle(), QStringLiteral("Glykovalinmesswerte-Tabelle"));
    f.show(sampleTableLines());
    ASSERT_EQ(f.dlg.tableLines(), sampleTableLines());
    f.remark(5, QStringLiteral("nach Sport"));
    f.menu("beenden1");
    EXPECT_FALSE(f.dlg.isVisible());
    EXPECT_EQ(f.closes, 1);
    EXPECT_EQ(f.stored("05,1"), QStringLiteral("\"nach Sport"));

    // Shown again, twice without closing: the remark stands once.
    f.show(sampleTableLines());
    f.show(sampleTableLines());
    QStringList expected = sampleTableLines();
    expected[rowOfDay(5)] += QStringLiteral("nach Sport");
    EXPECT_EQ(f.dlg.tableLines(), expected);

    // Deleted and closed: the key stays with an empty value.
    f.dlg.showTable(sampleTableLines().join(u'\n'), TTabellenDlg::Opening::Beside);
    child<QPlainTextEdit>(f.dlg, "Memo1").setPlainText(sampleTableLines().join(u'\n'));
    f.dlg.close();
    EXPECT_TRUE(profile::contains(f.model.folders().settings, "Bemerkungen_MM032024.tab", "05,1"));
    EXPECT_TRUE(f.stored("05,1").isEmpty());
    EXPECT_TRUE(f.rec.shown.isEmpty());

    // Remarks belong to their month: another one shows none of them.
    f.show(sampleTableLines());
    f.remark(9, QStringLiteral("Arzt"));
    f.dlg.close();
    f.model.open(f.dir.file("MM042024.tab"));
    f.show(sampleTableLines());
    EXPECT_EQ(f.dlg.tableLines(), sampleTableLines());
}

// A character the settings file cannot hold is not turned into "?" without
// a word: the question names the row; "Nein" keeps the window open with the
// remark, "Ja" stores it as it can.
TEST(TabellenDlg, RemarkOutsideWindows1252IsAskedFor) {
    TableFixture f;
    f.show(sampleTableLines());
    f.remark(5, QStringLiteral("Sport \u2192 Arzt"));
    const QStringList typed = f.dlg.tableLines();
    f.rec.answers.enqueue(ui::Answer::No);
    f.dlg.close();
    ASSERT_EQ(f.rec.shown.size(), 1);
    EXPECT_EQ(f.rec.shown[0].kind, ui::Kind::Confirmation);
    EXPECT_TRUE(f.rec.shown[0].text.startsWith(QStringLiteral("Die Bemerkung in Zeile 05 "
                                                              "enthält Zeichen")));
    EXPECT_TRUE(f.rec.shown[0].text.contains(QStringLiteral("„\u2192“")));
    EXPECT_TRUE(f.dlg.isVisible());
    EXPECT_EQ(f.dlg.tableLines(), typed);
    EXPECT_EQ(f.closes, 0);
    EXPECT_TRUE(f.stored("05,1").isEmpty());

    f.rec.answers.enqueue(ui::Answer::Yes);
    f.dlg.close();
    EXPECT_FALSE(f.dlg.isVisible());
    EXPECT_EQ(f.closes, 1);
    EXPECT_EQ(f.stored("05,1"), QStringLiteral("\"Sport ? Arzt"));
}

TEST(TabellenDlg, OverlongRemarkTellsTheUser) {
    TableFixture f;
    f.show(sampleTableLines());
    f.remark(3, QString(260, u'a'));
    f.dlg.close();
    ASSERT_EQ(f.rec.shown.size(), 1);
    EXPECT_EQ(f.rec.shown[0].kind, ui::Kind::Warning);
    EXPECT_TRUE(f.rec.shown[0].text.contains(QStringLiteral("Zeile 03")));
    EXPECT_TRUE(f.rec.shown[0].text.contains(QStringLiteral("254 Zeichen")));
    EXPECT_TRUE(f.rec.shown[0].text.contains(QStringLiteral("nicht vollständig")));
}

TEST(TabellenDlg, PatientDataIsInsertedAtTheTop) {
    TableFixture f;
    f.show(sampleTableLines());
    const QString file = f.dir.file("Patientendaten.txt");
    testutil::writeBytes(file, QByteArray("Max Muster\r\ngeb. 01.02.1960 \xE4\r\n"));
    f.rec.fileNames.enqueue(file);
    f.menu("einfgen1");
    ASSERT_EQ(f.rec.dialogCalls.size(), 1);
    EXPECT_EQ(f.rec.dialogCalls[0].section(u'|', 2, 2), f.dir.path() + "Patientendaten.txt");
    EXPECT_EQ(f.rec.dialogCalls[0].section(u'|', 3), TTabellenDlg::patientDataFilter());
    const QStringList lines = f.dlg.tableLines();
    EXPECT_EQ(lines, QStringList({"Max Muster", "geb. 01.02.1960 ä"}) + sampleTableLines());

    // A file that cannot be read leaves the table as it is.
    f.rec.fileNames.enqueue(f.dir.file("fehlt.txt"));
    f.menu("einfgen1");
    EXPECT_EQ(f.rec.texts(), QStringList{"Fehler Lesen der Datei!"});
    EXPECT_EQ(f.dlg.tableLines(), lines);
    // Cancelled: nothing happens.
    f.menu("einfgen1");
    EXPECT_EQ(f.dlg.tableLines(), lines);
}

// "Patientendaten bearbeiten" without a patient-data file offers to make
// "Patientendaten.txt" in the base folder from a German template, and opens
// it in the editor.
TEST(PatientData, MissingFileIsMadeFromTheTemplateAndEdited) {
    TableFixture f;
    const QString file = f.dir.file("Patientendaten.txt");
    f.menu("bearbeiten1");
    ASSERT_EQ(f.rec.shown.size(), 1);
    EXPECT_EQ(f.rec.shown[0].kind, ui::Kind::Confirmation);
    EXPECT_TRUE(f.rec.shown[0].text.contains(QStringLiteral("\"Patientendaten.txt\"")));
    EXPECT_TRUE(f.rec.shown[0].text.contains(f.dir.path()));
    EXPECT_TRUE(f.rec.dialogCalls.isEmpty());
    EXPECT_EQ(f.edited, QStringList{file});
    const QByteArray made = testutil::readBytes(file);
    EXPECT_EQ(made, testutil::crlf(TTabellenDlg::patientDataTemplate()));
    EXPECT_TRUE(made.startsWith("Patientendaten\r\nName:\r\n"));

    // Once it exists, the file is chosen in the open dialog without a question.
    f.rec.clear();
    f.rec.fileNames.enqueue(file);
    f.menu("bearbeiten1");
    EXPECT_TRUE(f.rec.shown.isEmpty());
    ASSERT_EQ(f.rec.dialogCalls.size(), 1);
    EXPECT_EQ(f.rec.dialogCalls[0].section(u'|', 2, 2), file);
    EXPECT_EQ(f.edited.size(), 2);
}

TEST(PatientData, DecliningTheTemplateLeavesTheChoiceOfAFile) {
    TableFixture f;
    f.rec.answers.enqueue(ui::Answer::No);
    f.menu("bearbeiten1"); // the open dialog is cancelled
    EXPECT_FALSE(QFileInfo::exists(f.dir.file("Patientendaten.txt")));
    EXPECT_EQ(f.rec.dialogCalls.size(), 1);
    EXPECT_TRUE(f.edited.isEmpty());
}

TEST(PatientData, TemplateThatCannotBeWrittenIsReported) {
    TableFixture f(QStringLiteral("fehlt/"));
    f.menu("bearbeiten1");
    ASSERT_EQ(f.rec.shown.size(), 2);
    EXPECT_EQ(f.rec.shown[1].kind, ui::Kind::Warning);
    EXPECT_TRUE(f.rec.shown[1].text.contains(f.dir.file("fehlt/Patientendaten.txt")));
    EXPECT_TRUE(f.edited.isEmpty());
    EXPECT_FALSE(QFileInfo::exists(f.dir.file("fehlt")));
}
