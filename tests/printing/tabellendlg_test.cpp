#include <QPlainTextEdit>
#include <gtest/gtest.h>

#include "platform/profile.h"
#include "platform/ui.h"
#include "printing/remarkstore.h"
#include "printing/tabellendlg.h"
#include "recordingservices.h"
#include "storage/monthmodel.h"
#include "tabellendlg_table.h"
#include "testutil.h"

namespace {

struct TableFixture {
    testutil::TempFolder dir;
    ui::RecordingServices rec;
    MonthModel session{Folders::at(dir.path())};
    TTabellenDlg dlg{session, rec};
    int closes = 0;
    int prints = 0;
    TableFixture() {
        session.open(dir.file("MM032024.tab"));
        QObject::connect(&dlg, &TTabellenDlg::closed, [this] { ++closes; });
        QObject::connect(&dlg, &TTabellenDlg::printRequested, [this] { ++prints; });
    }
    void show(const QStringList &lines) {
        dlg.setTableText(lines.join(u'\n'));
        dlg.FormPaint();
    }
};

} // namespace

TEST(TabellenDlg, RemarkWrittenClosedAndShownAgain) {
    TableFixture f;
    EXPECT_EQ(f.dlg.windowTitle(), QStringLiteral("Glykovalinmesswerte-Tabelle"));
    f.show(sampleTableLines());
    EXPECT_FALSE(f.dlg.remarksPending());
    QStringList lines = f.dlg.tableLines();
    ASSERT_EQ(lines, sampleTableLines());
    lines[rowOfDay(5)] += QStringLiteral("nach Sport");
    f.dlg.Memo1->setPlainText(lines.join(u'\n'));

    f.dlg.FormClose();
    EXPECT_TRUE(f.dlg.remarksPending());
    EXPECT_EQ(f.closes, 1);
    EXPECT_EQ(profile::read(f.session.folders().settings,
                            QStringLiteral("Bemerkungen_MM032024.tab"), QStringLiteral("05,1")),
              QStringLiteral("\"nach Sport"));

    // Opened again: the rebuilt table shows the remark, once.
    f.show(sampleTableLines());
    EXPECT_TRUE(f.dlg.tableLines()[rowOfDay(5)].endsWith(QStringLiteral("|nach Sport")));
    f.dlg.setTableText(sampleTableLines().join(u'\n'));
    f.dlg.FormPaint(); // shown again without closing: nothing merged
    EXPECT_EQ(f.dlg.tableLines(), sampleTableLines());

    // Deleted and closed: the key stays with an empty value.
    f.show(sampleTableLines());
    f.dlg.FormClose();
    f.show(sampleTableLines());
    EXPECT_TRUE(profile::contains(f.session.folders().settings,
                                  QStringLiteral("Bemerkungen_MM032024.tab"),
                                  QStringLiteral("05,1")));
    EXPECT_EQ(f.dlg.tableLines(), sampleTableLines());
    EXPECT_TRUE(f.rec.shown.isEmpty());

    // Another month shows none.
    f.dlg.FormClose();
    QStringList withRemark = sampleTableLines();
    withRemark[rowOfDay(9)] += QStringLiteral("Arzt");
    f.dlg.Memo1->setPlainText(withRemark.join(u'\n'));
    f.dlg.FormClose();
    f.session.open(f.dir.file("MM042024.tab"));
    f.show(sampleTableLines());
    EXPECT_EQ(f.dlg.tableLines(), sampleTableLines());
}

TEST(TabellenDlg, OverlongRemarkTellsTheUser) {
    TableFixture f;
    f.show(sampleTableLines());
    QStringList lines = f.dlg.tableLines();
    lines[rowOfDay(3)] += QString(260, u'a');
    f.dlg.Memo1->setPlainText(lines.join(u'\n'));
    f.dlg.FormClose();
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
    f.dlg.einfgen1Click();
    ASSERT_EQ(f.rec.dialogCalls.size(), 1);
    EXPECT_EQ(f.rec.dialogCalls[0].section(u'|', 2, 2), f.dir.path() + "Patientendaten.txt");
    EXPECT_EQ(f.rec.dialogCalls[0].section(u'|', 3), TTabellenDlg::patientDataFilter());
    const QStringList lines = f.dlg.tableLines();
    ASSERT_EQ(lines.size(), sampleTableLines().size() + 2);
    EXPECT_EQ(lines[0], QStringLiteral("Max Muster"));
    EXPECT_EQ(lines[1], QStringLiteral("geb. 01.02.1960 ä"));
    EXPECT_EQ(lines.mid(2), sampleTableLines());

    // A file that cannot be read leaves the table as it is.
    f.rec.fileNames.enqueue(f.dir.file("fehlt.txt"));
    f.dlg.einfgen1Click();
    EXPECT_EQ(f.rec.texts(), QStringList{"Fehler Lesen der Datei!"});
    EXPECT_EQ(f.dlg.tableLines(), lines);
    // Cancelled: nothing happens.
    f.dlg.einfgen1Click();
    EXPECT_EQ(f.dlg.tableLines(), lines);

    // Editing hands the chosen file to the header editor.
    QString edited;
    QObject::connect(&f.dlg, &TTabellenDlg::patientDataRequested,
                     [&edited](const QString &name) { edited = name; });
    f.rec.fileNames.enqueue(file);
    f.dlg.bearbeiten1Click();
    EXPECT_EQ(edited, file);
}

TEST(TabellenDlg, PrintingArmedStartsWithTheMergingPaint) {
    TableFixture f;
    f.dlg.setPrintTableOnOpen(true);
    f.show(sampleTableLines());
    EXPECT_EQ(f.prints, 1);
    EXPECT_FALSE(f.dlg.printTableOnOpen());
    f.dlg.FormPaint();
    EXPECT_EQ(f.prints, 1);
}
