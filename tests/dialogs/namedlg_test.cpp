#include <gtest/gtest.h>

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

#include "dialogs/headerdlg.h"
#include "dialogs/namedlg.h"
#include "platform/profile.h"
#include "platform/ui.h"
#include "recordingservices.h"
#include "storage/monthmodel.h"
#include "testutil.h"

namespace {

struct NameFixture {
    testutil::TempFolder dir;
    MonthModel session{Folders::at(dir.path())};
    QString ini = session.folders().settings;
    QStringList drawn, accepted;
    int newMonths = 0, quits = 0;
    void wire(TNameEingDlg &d) {
        QObject::connect(&d, &TNameEingDlg::storedTableOfName,
                         [this](const QString &p) { drawn << p; });
        QObject::connect(&d, &TNameEingDlg::nameAccepted,
                         [this](const QString &n) { accepted << n; });
        QObject::connect(&d, &TNameEingDlg::newMonthRequested, [this] { ++newMonths; });
        QObject::connect(&d, &TNameEingDlg::quitRequested, [this] { ++quits; });
    }
};

} // namespace

TEST(NameDialog, InitialsMatchDrawsTheStoredTableThenStartsANewMonth) {
    NameFixture fx;
    ui::RecordingServices rec;
    const QString table = fx.dir.path() + "Glykovalin-Daten/2024/MM032024.tab";
    profile::write(fx.ini, "Einstellung", "TabellenDateiName", table);
    profile::write(fx.ini, "Einstellung", "BenutzerName", "Alt Name");
    TNameEingDlg d(fx.session, rec);
    fx.wire(d);
    d.FormCreate();
    EXPECT_EQ(d.Edit1->text(), "Alt Name");
    EXPECT_EQ(fx.session.userName(), "Alt Name");

    d.Edit1->setText("anna maier");
    EXPECT_TRUE(d.OKBtnClick());
    EXPECT_TRUE(fx.drawn.isEmpty());
    EXPECT_EQ(fx.newMonths, 1);
    EXPECT_EQ(fx.accepted, QStringList({"anna maier"}));
    EXPECT_EQ(fx.session.userName(), "anna maier");

    d.Edit1->setText("Max Muster");
    EXPECT_TRUE(d.OKBtnClick());
    EXPECT_EQ(fx.drawn, QStringList({table}));
    EXPECT_EQ(fx.newMonths, 2);
    EXPECT_EQ(profile::read(fx.ini, "Einstellung", "BenutzerName"), "Max Muster");

    // One initial never matches.
    d.Edit1->setText("Max");
    EXPECT_TRUE(d.OKBtnClick());
    EXPECT_EQ(fx.drawn.size(), 1);
    EXPECT_TRUE(rec.shown.isEmpty());
}

TEST(NameDialog, BlankNameIsRefusedAndCancelEndsTheProgramOnlyAtStartUp) {
    NameFixture fx;
    ui::RecordingServices rec;
    TNameEingDlg d(fx.session, rec);
    fx.wire(d);
    d.FormCreate();
    for (const char *bad : {"", "   "}) {
        d.Edit1->setText(bad);
        EXPECT_FALSE(d.OKBtnClick());
    }
    ASSERT_EQ(rec.shown.size(), 2);
    EXPECT_EQ(rec.shown[0].kind, ui::Kind::Warning);
    EXPECT_TRUE(rec.shown[0].text.startsWith("Bitte geben Sie Ihren Vornamen"));
    EXPECT_TRUE(profile::read(fx.ini, "Einstellung", "BenutzerName").isEmpty());
    EXPECT_EQ(fx.newMonths, 0);

    d.atStartup = false;
    d.CancelBtn->click();
    EXPECT_EQ(fx.quits, 0);
    d.atStartup = true;
    d.CancelBtn->click();
    EXPECT_EQ(fx.quits, 1);
}

TEST(HeaderDialog, SavesTheLinesWithCrLf) {
    testutil::TempFolder dir;
    ui::RecordingServices rec;
    THeaderBearbeitenDlg d(rec);
    d.headerFileName = dir.file("Patientendaten.txt");
    d.loadFile();
    EXPECT_TRUE(d.Memo1->toPlainText().isEmpty());
    d.Memo1->setPlainText(QString::fromUtf8("Max Müller\nGeb. 1.1.1950"));
    d.OKBtn->click();
    EXPECT_EQ(testutil::readBytes(d.headerFileName),
              testutil::crlf({QString::fromUtf8("Max Müller"), "Geb. 1.1.1950"}));
    d.Memo1->clear();
    d.loadFile();
    EXPECT_EQ(d.Memo1->toPlainText(), QString::fromUtf8("Max Müller\nGeb. 1.1.1950"));

    // A file that cannot be written: a message, no crash.
    d.headerFileName = dir.file("fehlt/ordner/x.txt");
    d.OKBtn->click();
    EXPECT_EQ(rec.shown.size(), 1);
}
