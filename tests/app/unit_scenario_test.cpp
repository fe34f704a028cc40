// The unit of the values chosen in the settings dialog, on the real program:
// what is typed and shown follows it, what is stored stays mg/dl.

#include <QPushButton>
#include <QTest>

#include "entry/eingabedlg.h"
#include "graph/geometry.h"
#include "graph/templatepicture.h"
#include "platform/picturebox.h"
#include "scenario.h"
#include "support/entrycontrols.h"

using scenario::App;
using scenario::Folder;
using MS = MeasurementSlot;

namespace {

// The settings dialog: the unit's button, then OK. Only the setting
// changes.
void chooseUnit(App &app, const Folder &f, const char *button) {
    QMap<QString, QByteArray> before = testutil::filesIn(f.path());
    app.whenModal([button](QWidget *dlg) {
        QTest::mouseClick(&testutil::child<QAbstractButton>(*dlg, button), Qt::LeftButton);
        QTest::mouseClick(&testutil::child<QPushButton>(*dlg, "OKBtn"), Qt::LeftButton);
    });
    app.menu("Einstellungen");
    QMap<QString, QByteArray> after = testutil::filesIn(f.path());
    after.remove("glykoval.ini");
    before.remove("glykoval.ini");
    EXPECT_EQ(after, before);
}

// The readout with the pointer on the graph's row of 100 mg/dl (5,6 mmol/l),
// moved there from elsewhere.
QString readoutAt100(App &app) {
    QTest::mouseMove(app.find<QWidget>("Image"), QPoint(600, graphgeo::RowY(200)));
    QTest::mouseMove(app.find<QWidget>("Image"), QPoint(600, graphgeo::RowY(100)));
    App::settle();
    return app.find<QLabel>("StatusLabel")->text();
}

} // namespace

TEST(UnitScenario, TypedInMmolStoredInMgdlAndSwitchedBack) {
    Folder f({"BenutzerName=Max Muster"});
    const QString first = scenario::reading(MS::Morgens, 1, 3, 2024, "07:00", 120);
    const QString table = scenario::storeTable(f, 3, 2024, {first});
    App app;
    TEingabeDlg &entry = app.program().entryDialog();
    chooseUnit(app, f, "MmolL_Button");
    EXPECT_EQ(f.setting("Einheit"), "mmol/l");
    EXPECT_EQ(app.find<PictureBox>("M_einheit_Image")->picture(),
              templatepicture::legend(GlucoseUnit::MmolL));

    // "5,6" typed: the list shows 5,6 mmol/l, the file holds 101.
    app.inEntryDialog([&](const EntryControls &e) {
        EXPECT_EQ(e.text("Label1"), QString::fromUtf8("Glykovalinmeßwert mmol/l"));
        EXPECT_EQ(e.lines(),
                  QStringList({first.left(first.indexOf("=", first.indexOf("Zucker")) + 1) +
                               "6,7 mmol/l"}));
        e.type("SpinEdit1", "2");
        e.type("Edit1", "07:30");
        e.type("SpinEdit4", "5,6");
        e.click("BitBtn1");
        EXPECT_TRUE(e.lines().last().endsWith("ZuckerWert=5,6 mmol/l"))
            << e.lines().join('|').toStdString();
        e.click("OKBtn");
    });
    const QString added = scenario::reading(MS::Morgens, 2, 3, 2024, "07:30", 101);
    EXPECT_EQ(scenario::readingsIn(table), QStringList({first, added}));
    EXPECT_TRUE(entry.tableText().contains("   02       |       07:30      |  5,6   |"));
    EXPECT_EQ(readoutAt100(app), "Cursor befindet sich auf: 5,6 mmol/l");

    // Back to mg/dl: everything shows mg/dl, nothing but the setting changed.
    chooseUnit(app, f, "MgDl_Button");
    EXPECT_EQ(f.setting("Einheit"), "mg/dl");
    EXPECT_EQ(readoutAt100(app), "Cursor befindet sich auf: 100 mg/dl");
    EXPECT_TRUE(entry.tableText().contains("   02       |       07:30      |  101  |"));
    app.inEntryDialog([&](const EntryControls &e) {
        EXPECT_EQ(e.text("Label1"), QString::fromUtf8("Glykovalinmeßwert mg/dl"));
        EXPECT_EQ(e.lines(), QStringList({first, added}));
        e.click("OKBtn");
    });
    EXPECT_EQ(app.find<PictureBox>("M_einheit_Image")->picture(),
              PictureBox::decode(f.path() + "M_einheit.bmp"));
}
