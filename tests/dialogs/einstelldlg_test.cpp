#include "dialogs/einstelldlg.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTest>

#include "platform/colorref.h"
#include "platform/ui.h"
#include "recordingservices.h"
#include "storage/monthmodel.h"
#include "testutil.h"

using testutil::child;

namespace {

// The dialog on a settings file with these lines; counts what the model
// tells the graph.
struct SettingsFixture {
    testutil::TempFolder dir;
    ui::RecordingServices rec;
    MonthModel model{Folders::at(dir.path())};
    TEinstellDlg dlg{model, rec};
    int redraws = 0, optionChanges = 0;
    explicit SettingsFixture(const QStringList &lines) {
        testutil::writeBytes(model.folders().settings, testutil::crlf(lines));
        QObject::connect(&model, &MonthModel::appearanceChanged, [this] { ++redraws; });
        QObject::connect(&model, &MonthModel::optionsChanged, [this] { ++optionChanges; });
        dlg.fillFromSettings();
    }
    QString stored(const QString &key) { return model.settings().get(key); }
    QSpinBox &spin(const char *name) { return child<QSpinBox>(dlg, name); }
    void click(const char *name) { child<QAbstractButton>(dlg, name).click(); }
};

} // namespace

// Each limit field is clamped to its range, stored and redrawn; a limit that
// breaks low < critical < high is refused with a warning, and the field
// shows the stored limit again.
TEST(EinstellDlg, LimitsAreClampedKeptInOrderAndStored) {
    SettingsFixture f({"[Einstellung]", "Hochwerte>=180", "Kritischwerte>=140", "Tiefwerte<=60",
                       "StiftBreite=3"});
    EXPECT_EQ(f.redraws, 0); // opening the dialog changes nothing
    EXPECT_EQ(f.spin("SpinEdit1").value(), 180);
    EXPECT_EQ(f.spin("SpinEdit4").value(), 3);
    const struct {
        const char *field;
        int typed, shown;
        QString key;
        qsizetype warnings; // so far
    } cases[] = {
        {"SpinEdit2", 200, 140, keys::Kritischwerte, 1},
        {"SpinEdit2", 170, 170, keys::Kritischwerte, 1},
        {"SpinEdit1", 165, 180, keys::Hochwerte, 2},
        {"SpinEdit1", 300, 250, keys::Hochwerte, 2},
        {"SpinEdit2", 50, 120, keys::Kritischwerte, 2},
        {"SpinEdit1", 100, 160, keys::Hochwerte, 2},
        {"SpinEdit3", 10, 20, keys::Tiefwerte, 2},
        {"SpinEdit3", 150, 100, keys::Tiefwerte, 2},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.field + std::to_string(c.typed));
        f.spin(c.field).setValue(c.typed);
        EXPECT_EQ(f.spin(c.field).value(), c.shown);
        EXPECT_EQ(f.stored(c.key), QString::number(c.shown));
        EXPECT_EQ(f.rec.shown.size(), c.warnings);
    }
    EXPECT_EQ(f.rec.shown[0].kind, ui::Kind::Warning);
    EXPECT_TRUE(f.rec.shown[0].text.contains("Tiefwerte < Kritisch < Hochwerte"));
    EXPECT_EQ(f.redraws, 6);
    f.spin("SpinEdit4").setValue(5);
    EXPECT_EQ(f.stored(keys::StiftBreite), "5");
}

TEST(EinstellDlg, ColoursChartOptionsAndOk) {
    SettingsFixture f({"[Einstellung]", "FarbeHochwerte=255"});
    EXPECT_EQ(child<QLabel>(f.dlg, "Label6").text(), "Hochwerte >=");
    EXPECT_EQ(child<QRadioButton>(f.dlg, "CT_Button").text(), " CT (konventionelle)");
    EXPECT_EQ(child<QLabel>(f.dlg, "Label1").palette().color(QPalette::WindowText),
              QColor(255, 0, 0));

    // Cancelled colour dialog: the unchanged colour is written all the same.
    f.rec.colors.enqueue(QColor());
    f.click("Button1");
    EXPECT_EQ(f.stored(keys::FarbeHochwerte), "255");
    EXPECT_EQ(f.redraws, 1);
    f.rec.colors.enqueue(QColor(0, 128, 0));
    f.click("Button4");
    EXPECT_EQ(f.stored(keys::KurvenFarbe), QString::number(colorref::fromColor(QColor(0, 128, 0))));
    EXPECT_EQ(child<QLabel>(f.dlg, "Label4").palette().color(QPalette::WindowText),
              QColor(0, 128, 0));
    // The value colour of the browser chart is an option, no redraw.
    f.rec.colors.enqueue(QColor(1, 2, 3));
    f.click("Button6");
    EXPECT_EQ(f.stored(keys::DatenwerteOberhalbFarbe),
              QString::number(colorref::fromColor(QColor(1, 2, 3))));
    EXPECT_EQ(f.model.options().valueColor, colorref::fromColor(QColor(1, 2, 3)));
    EXPECT_EQ(f.redraws, 2);

    f.click("WerteOberhalbKurveAnzeigenCheckBox");
    EXPECT_EQ(f.stored(keys::WerteOberhalbKurveAnzeigen), "1");
    EXPECT_TRUE(f.model.options().valuesAboveCurve);
    f.click("LinieUnterbrechenCheckBox");
    EXPECT_EQ(f.stored(keys::LinieBeiNullUnterbrechen), "1");

    // Unit, therapy and diary take effect on OK only.
    const int before = f.optionChanges;
    f.click("Tagebuch_sichtbar_checkBox");
    f.click("BE_Button");
    f.click("CT_Button");
    EXPECT_EQ(f.optionChanges, before);
    f.click("OKBtn");
    EXPECT_TRUE(f.model.options().diaryVisible);
    EXPECT_TRUE(f.model.options().carbUnitBE);
    EXPECT_TRUE(f.model.options().therapyCT);
    EXPECT_EQ(f.redraws, 2);
}

// The unit of the values takes effect on OK and is stored then; the limits
// are shown and typed in it and stay stored in mg/dl.
TEST(EinstellDlg, LimitsInMmolAndTheUnitOnOk) {
    SettingsFixture f({"[Einstellung]", "Hochwerte>=180", "Kritischwerte>=140", "Tiefwerte<=60"});
    int unitChanges = 0;
    QObject::connect(&f.model, &MonthModel::unitChanged, [&] { ++unitChanges; });
    EXPECT_TRUE(child<QRadioButton>(f.dlg, "MgDl_Button").isChecked());
    f.click("MmolL_Button");
    EXPECT_EQ(f.spin("SpinEdit1").text(), "10,0");
    EXPECT_EQ(f.spin("SpinEdit3").text(), "3,3");
    EXPECT_EQ(unitChanges, 0);
    EXPECT_EQ(f.stored(keys::Einheit), "");
    f.click("OKBtn");
    EXPECT_EQ(unitChanges, 1);

    // Typed in mmol/l with a comma or a point, stored as whole mg/dl, clamped
    // on mg/dl; the arrows step by 0,1 mmol/l.
    const struct {
        const char *field, *typed, *shown, *stored;
        QString key;
    } cases[] = {{"SpinEdit1", "11.1", "11,1", "200", keys::Hochwerte},
                 {"SpinEdit1", "20", "13,9", "250", keys::Hochwerte},
                 {"SpinEdit3", "4,4", "4,4", "79", keys::Tiefwerte},
                 {"SpinEdit3", "0,5", "1,1", "20", keys::Tiefwerte}};
    for (const auto &c : cases) {
        QSpinBox &spin = f.spin(c.field);
        QLineEdit *edit = spin.findChild<QLineEdit *>();
        edit->selectAll();
        QTest::keyClicks(edit, QString::fromLatin1(c.typed));
        QTest::keyClick(edit, Qt::Key_Return);
        EXPECT_EQ(spin.text(), QString::fromLatin1(c.shown)) << c.typed;
        EXPECT_EQ(f.stored(c.key), QString::fromLatin1(c.stored)) << c.typed;
    }
    f.spin("SpinEdit2").stepBy(1);
    EXPECT_EQ(f.spin("SpinEdit2").text(), "7,9");
    EXPECT_EQ(f.stored(keys::Kritischwerte), "142");
    // A limit out of order is named in mmol/l.
    f.spin("SpinEdit2").setValue(250);
    ASSERT_FALSE(f.rec.shown.isEmpty());
    EXPECT_TRUE(f.rec.shown.last().text.contains("Der Wert 13,9 passt nicht"))
        << f.rec.texts().join('|').toStdString();

    // Opened again, the dialog shows the unit in force.
    f.dlg.fillFromSettings();
    EXPECT_TRUE(child<QRadioButton>(f.dlg, "MmolL_Button").isChecked());
    f.click("MgDl_Button");
    f.click("OKBtn");
    EXPECT_EQ(f.stored(keys::Einheit), "mg/dl");
    EXPECT_EQ(f.spin("SpinEdit1").text(), "250");
}

// The folder of the automatic backups: one outside the Glykovalin folder is
// stored at once, one inside it is refused with a message.
TEST(EinstellDlg, BackupFolderOutsideTheBaseFolderOnly) {
    SettingsFixture f({"[Einstellung]"});
    const QString outside = QDir::cleanPath(f.dir.path() + "../sicherungen-anderswo");
    const struct {
        QString chosen, stored;
        int messages;
    } cases[] = {
        {f.dir.path() + "Glykovalin-Daten", "", 1}, {outside, outside, 0}, {"", outside, 0}};
    for (const auto &c : cases) {
        f.rec.clear();
        f.rec.fileNames.enqueue(c.chosen);
        f.click("SicherungsOrdnerBtn");
        EXPECT_EQ(f.stored("SicherungsOrdner"), c.stored) << c.chosen.toStdString();
        EXPECT_EQ(f.rec.shown.size(), c.messages) << c.chosen.toStdString();
    }
    EXPECT_EQ(child<QLineEdit>(f.dlg, "SicherungsOrdnerEdit").text(),
              QDir::toNativeSeparators(outside));
}
