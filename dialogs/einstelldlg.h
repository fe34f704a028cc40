#pragma once
#include <QDialog>

#include "storage/glucoseunit.h"
#include "storage/settingsstore.h"

class GlucoseSpinBox;
class MonthModel;
class QCheckBox;
class QGridLayout;
class QGroupBox;
class QLineEdit;
class QLabel;
class QPushButton;
class QRadioButton;
class QSpinBox;
namespace ui {
class Services;
}

// The settings dialog: limits, colours, line width, the unit of the values,
// carbohydrate unit, insulin therapy, diary visibility and the browser-chart
// options. Limits, colours, width and chart options are stored the moment
// they change; the units, therapy and diary visibility take effect on OK
// (the unit of the values is stored then too). The limits are stored in
// mg/dl and shown in the unit chosen. The month model holds the
// options; the graph follows the changes through the model's signals.
class TEinstellDlg : public QDialog {
    Q_OBJECT
public:
    TEinstellDlg(MonthModel &model, ui::Services &ui, QWidget *parent = nullptr);

    // Fills the fields from the settings and the options from the model.
    void fillFromSettings();
    // "&Einstellungen": fills the fields and shows the dialog modally.
    void EinstellungenClick();

protected:
    void showEvent(QShowEvent *e) override;

private:
    void OKBtnClick();
    // Colour button k (1..6): the colour dialog, then the colour is stored
    // whether it was changed or not.
    void colorButtonClick(int k);
    // Label font colours from the colour variables.
    void FormPaint();
    // The options shown by the controls.
    void showOptions();
    void storeChartOption(const QString &key, bool on);
    void buildColoursAndLimits(QGridLayout *grid, int &row);
    QGroupBox *unitBox();
    // "Maßeinheit:" mg/dl or mmol/l.
    QGroupBox *valueUnitBox();
    // The limit fields show the unit whose button is chosen.
    void showLimitsIn(GlucoseUnit unit);
    QGroupBox *therapyBox();
    QGroupBox *browserBox();
    QGroupBox *backupBox();
    void chooseBackupFolder();
    void connectControls();
    void limitChanged(GlucoseSpinBox *spin, int high, int low, const QString &key);
    SettingsStore settings() const;
    MonthModel &m_model;
    ui::Services &m_ui;
    quint32 m_highColor = 0x000000FF, m_criticalColor = 0x000080FF, m_lowColor = 0x00FF0000;
    quint32 m_curveColor = defaults::KurvenFarbe, m_meanCurveColor = defaults::MittelKurvenFarbe;
    quint32 m_valueColor = 0;

    QLabel *Label1, *Label2, *Label3, *Label4, *Label5, *Label6, *Label7, *Label8, *Label9,
        *Label10, *Label13;
    QPushButton *Button1, *Button2, *Button3, *Button4, *Button5, *Button6, *OKBtn;
    GlucoseSpinBox *SpinEdit1, *SpinEdit2, *SpinEdit3;
    QSpinBox *SpinEdit4;
    QCheckBox *Tagebuch_sichtbar_checkBox, *LinieUnterbrechenCheckBox,
        *WerteOberhalbKurveAnzeigenCheckBox;
    QRadioButton *BE_Button, *KE_Button, *CT_Button, *ICT_Button;
    QRadioButton *MgDl_Button, *MmolL_Button;
    QLineEdit *m_backupFolder;
};
