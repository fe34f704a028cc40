#include "dialogs/einstelldlg.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>

#include "platform/colorref.h"
#include "platform/ui.h"
#include "recordingservices.h"
#include "testutil.h"

TEST(EinstellDlg, LimitsKeepLowBelowCriticalBelowHigh) {
    testutil::TempFolder tmp;
    const QString ini = tmp.file("glykoval.ini");
    testutil::writeBytes(ini, testutil::crlf({"[Einstellung]", "Hochwerte>=180",
                                              "Kritischwerte>=140", "Tiefwerte<=60"}));
    ui::RecordingServices rec;
    TEinstellDlg dlg(SettingsStore(ini), rec);
    int redraws = 0;
    QObject::connect(&dlg, &TEinstellDlg::viewChanged, [&] { ++redraws; });
    const SettingsStore st(ini);
    dlg.fillFromSettings();
    EXPECT_EQ(redraws, 0); // opening the dialog changes nothing
    EXPECT_TRUE(rec.shown.isEmpty());

    // A critical limit above the high one is refused.
    dlg.SpinEdit2->setValue(200);
    ASSERT_EQ(rec.shown.size(), 1);
    EXPECT_EQ(rec.shown[0].kind, ui::Kind::Warning);
    EXPECT_TRUE(rec.shown[0].text.contains("Tiefwerte < Kritisch < Hochwerte"));
    EXPECT_EQ(dlg.SpinEdit2->value(), 140);
    EXPECT_EQ(st.get(keys::Kritischwerte), "140");
    // So is a high limit at or below the critical one.
    dlg.SpinEdit2->setValue(170);
    EXPECT_EQ(st.get(keys::Kritischwerte), "170");
    dlg.SpinEdit1->setValue(165);
    EXPECT_EQ(rec.shown.size(), 2);
    EXPECT_EQ(dlg.SpinEdit1->value(), 180);
    EXPECT_EQ(st.get(keys::Hochwerte), "180");
    EXPECT_EQ(redraws, 1);
}

TEST(EinstellDlg, ControlsClampingColoursAndOk) {
    testutil::TempFolder tmp;
    const QString ini = tmp.file("glykoval.ini");
    testutil::writeBytes(ini,
                         testutil::crlf({"[Einstellung]", "Hochwerte>=180", "Kritischwerte>=140",
                                         "Tiefwerte<=60", "StiftBreite=3", "FarbeHochwerte=255"}));
    ui::RecordingServices rec;
    TEinstellDlg dlg(SettingsStore(ini), rec);
    int redraws = 0;
    bool diaryShown = true;
    QObject::connect(&dlg, &TEinstellDlg::viewChanged, [&] { ++redraws; });
    QObject::connect(&dlg, &TEinstellDlg::diaryVisibilityChanged,
                     [&](bool on) { diaryShown = on; });
    const SettingsStore st(ini);

    // Captions and names.
    auto *l6 = dlg.findChild<QLabel *>("Label6");
    ASSERT_TRUE(l6);
    EXPECT_EQ(l6->text(), "Hochwerte >=");
    EXPECT_EQ(dlg.findChild<QLabel *>("Label8")->text(), "Tiefwerte <=");
    EXPECT_EQ(dlg.findChild<QPushButton *>("Button6")->text(), "Ändern");
    EXPECT_EQ(dlg.findChild<QRadioButton *>("CT_Button")->text(), " CT (konventionelle)");
    EXPECT_TRUE(dlg.findChild<QCheckBox *>("LinieUnterbrechenCheckBox")->isChecked());
    EXPECT_EQ(dlg.findChild<QCheckBox *>("Tagebuch_sichtbar_checkBox")->text(),
              "Tagebuch sichtbar");

    dlg.fillFromSettings();
    EXPECT_EQ(dlg.SpinEdit1->value(), 180);
    EXPECT_EQ(dlg.SpinEdit4->value(), 3);
    EXPECT_EQ(dlg.HighColor, 255u);

    redraws = 0;
    dlg.SpinEdit1->setValue(300);
    EXPECT_EQ(dlg.SpinEdit1->value(), 250);
    EXPECT_EQ(st.get(keys::Hochwerte), "250");
    dlg.SpinEdit2->setValue(50);
    EXPECT_EQ(st.get(keys::Kritischwerte), "120");
    dlg.SpinEdit1->setValue(100);
    EXPECT_EQ(dlg.SpinEdit1->value(), 160);
    dlg.SpinEdit3->setValue(10);
    EXPECT_EQ(dlg.SpinEdit3->value(), 20);
    EXPECT_EQ(st.get(keys::Tiefwerte), "20");
    dlg.SpinEdit3->setValue(150);
    EXPECT_EQ(st.get(keys::Tiefwerte), "100");
    EXPECT_EQ(redraws, 5);
    dlg.SpinEdit4->setValue(5);
    EXPECT_EQ(st.get(keys::StiftBreite), "5");
    EXPECT_EQ(redraws, 5);

    // Cancelled colour dialog: the unchanged colour is written all the same.
    rec.colors.enqueue(QColor());
    dlg.Button1->click();
    EXPECT_EQ(st.get(keys::FarbeHochwerte), "255");
    EXPECT_EQ(redraws, 6);
    rec.colors.enqueue(QColor(0, 128, 0));
    dlg.Button4->click();
    EXPECT_EQ(st.get(keys::KurvenFarbe), QString::number(colorref::fromColor(QColor(0, 128, 0))));
    EXPECT_EQ(dlg.Label4->palette().color(QPalette::WindowText), QColor(0, 128, 0));
    rec.colors.enqueue(QColor(1, 2, 3));
    dlg.Button6->click();
    EXPECT_EQ(st.get(keys::DatenwerteOberhalbFarbe),
              QString::number(colorref::fromColor(QColor(1, 2, 3))));
    EXPECT_EQ(redraws, 7); // the value colour does not redraw

    dlg.WerteOberhalbKurveAnzeigenCheckBox->click();
    EXPECT_EQ(st.get(keys::WerteOberhalbKurveAnzeigen), "1");
    dlg.LinieUnterbrechenCheckBox->click();
    EXPECT_EQ(st.get(keys::LinieBeiNullUnterbrechen), "0");

    // OK with the diary unticked and BE chosen.
    dlg.setDiaryVisible(false);
    dlg.setCarbUnitBE(true);
    dlg.OKBtnClick();
    EXPECT_FALSE(diaryShown);
    EXPECT_TRUE(dlg.carbUnitBE());
    EXPECT_EQ(redraws, 8);
}
