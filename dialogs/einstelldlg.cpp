#include "einstelldlg.h"

#include <QCheckBox>
#include <QDir>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QVBoxLayout>

#include "backup/autobackup.h"
#include "glucosespinbox.h"
#include "platform/colorref.h"
#include "platform/convert.h"
#include "platform/ui.h"
#include "storage/monthmodel.h"

namespace {

template <class W> W *named(W *w, const char *name) {
    w->setObjectName(QString::fromLatin1(name));
    return w;
}

void setFontColor(QLabel *l, quint32 ref) {
    QPalette p = l->palette();
    p.setColor(QPalette::WindowText, colorref::toColor(ref));
    l->setPalette(p);
}

} // namespace

TEinstellDlg::TEinstellDlg(MonthModel &model, ui::Services &ui, QWidget *parent)
    : QDialog(parent), m_model(model), m_ui(ui) {
    setObjectName(QStringLiteral("EinstellDlg"));
    setWindowTitle(QStringLiteral("Einstellungen"));
    setModal(true);
    resize(354, 601);
    auto *grid = new QGridLayout;
    int row = 0;
    buildColoursAndLimits(grid, row);
    Tagebuch_sichtbar_checkBox = named(new QCheckBox(QStringLiteral("Tagebuch sichtbar"), this),
                                       "Tagebuch_sichtbar_checkBox");
    grid->addWidget(Tagebuch_sichtbar_checkBox, row++, 0, 1, 2);

    grid->addWidget(valueUnitBox(), row++, 0, 1, 2);
    grid->addWidget(unitBox(), row++, 0, 1, 2);
    grid->addWidget(therapyBox(), row++, 0, 1, 2);
    grid->addWidget(browserBox(), row++, 0, 1, 2);
    grid->addWidget(backupBox(), row++, 0, 1, 2);
    OKBtn = named(new QPushButton(QStringLiteral("OK"), this), "OKBtn");
    OKBtn->setDefault(true);
    grid->addWidget(OKBtn, row++, 0, 1, 2, Qt::AlignHCenter);
    setLayout(grid);
    connectControls();
}

// The colour buttons of the lines and curves, the limits and the line width.
void TEinstellDlg::buildColoursAndLimits(QGridLayout *grid, int &row) {
    auto colorRow = [&](QLabel *&label, const char *lname, const QString &caption,
                        QPushButton *&button, const char *bname) {
        label = named(new QLabel(caption, this), lname);
        button = named(new QPushButton(QStringLiteral("Ändern"), this), bname);
        grid->addWidget(label, row, 0);
        grid->addWidget(button, row++, 1);
    };
    colorRow(Label1, "Label1", QStringLiteral("Farbe Trennlinie Hochwerte"), Button1, "Button1");
    colorRow(Label2, "Label2", QStringLiteral("Farbe Trennlinie kritisch"), Button2, "Button2");
    colorRow(Label3, "Label3", QStringLiteral("Farbe Trennlinie Tiefwerte"), Button3, "Button3");
    colorRow(Label4, "Label4", QStringLiteral("Farbe der Messkurve"), Button4, "Button4");
    colorRow(Label5, "Label5", QStringLiteral("Farbe der Mittelwert-Messkurve"), Button5,
             "Button5");
    auto spinRow = [&](QLabel *&label, const char *lname, const QString &caption, auto *spin,
                       const char *sname, int lo, int hi) {
        label = named(new QLabel(caption, this), lname);
        named(spin, sname);
        spin->setRange(lo, hi);
        // Clamped when the typed value is taken, not at every keystroke.
        spin->setKeyboardTracking(false);
        grid->addWidget(label, row, 0);
        grid->addWidget(spin, row++, 1);
        return spin;
    };
    SpinEdit1 = spinRow(Label6, "Label6", QStringLiteral("Hochwerte >="), new GlucoseSpinBox(this),
                        "SpinEdit1", 0, 99999);
    SpinEdit2 = spinRow(Label7, "Label7", QStringLiteral("Kritisch ab:"), new GlucoseSpinBox(this),
                        "SpinEdit2", 0, 99999);
    SpinEdit3 = spinRow(Label8, "Label8", QStringLiteral("Tiefwerte <="), new GlucoseSpinBox(this),
                        "SpinEdit3", 0, 99999);
    SpinEdit4 = spinRow(Label10, "Label10", QStringLiteral("Breite der Grafik-Linien:"),
                        new QSpinBox(this), "SpinEdit4", 1, 8);
    SpinEdit4->setValue(1);
}

QGroupBox *TEinstellDlg::unitBox() {
    auto *unit = new QGroupBox(this);
    auto *ul = new QVBoxLayout(unit);
    BE_Button = named(new QRadioButton(QStringLiteral("Broteinheit (BE)"), unit), "BE_Button");
    KE_Button =
        named(new QRadioButton(QStringLiteral("Kohlenhydrateinheit (KE)"), unit), "KE_Button");
    Label9 = named(new QLabel(QStringLiteral("(Sie sollten sich für den gesamten Monat für eine "
                                             "Einheit entscheiden)"),
                              unit),
                   "Label9");
    Label9->setWordWrap(true);
    ul->addWidget(BE_Button);
    ul->addWidget(KE_Button);
    ul->addWidget(Label9);
    KE_Button->setChecked(true);
    return unit;
}

QGroupBox *TEinstellDlg::valueUnitBox() {
    auto *box = new QGroupBox(QStringLiteral("Maßeinheit:"), this);
    auto *l = new QHBoxLayout(box);
    MgDl_Button = named(new QRadioButton(QStringLiteral("mg/dl"), box), "MgDl_Button");
    MmolL_Button = named(new QRadioButton(QStringLiteral("mmol/l"), box), "MmolL_Button");
    MgDl_Button->setToolTip(QStringLiteral("Alle Werte in Milligramm je Deziliter"));
    MmolL_Button->setToolTip(QStringLiteral("Alle Werte in Millimol je Liter (mg/dl ÷ 18,016); "
                                            "gespeichert wird weiter in mg/dl"));
    l->addWidget(MgDl_Button);
    l->addWidget(MmolL_Button);
    l->addStretch(1);
    MgDl_Button->setChecked(true);
    connect(MmolL_Button, &QRadioButton::toggled, this,
            [this](bool mmol) { showLimitsIn(mmol ? GlucoseUnit::MmolL : GlucoseUnit::MgDl); });
    return box;
}

void TEinstellDlg::showLimitsIn(GlucoseUnit unit) {
    for (GlucoseSpinBox *spin : {SpinEdit1, SpinEdit2, SpinEdit3})
        spin->setUnit(unit);
}

QGroupBox *TEinstellDlg::therapyBox() {
    auto *therapy = new QGroupBox(QStringLiteral("Welche Insulintherapie"), this);
    auto *tl = new QVBoxLayout(therapy);
    CT_Button =
        named(new QRadioButton(QStringLiteral(" CT (konventionelle)"), therapy), "CT_Button");
    CT_Button->setToolTip(QStringLiteral("Konventionelle Therapie (CT)"));
    ICT_Button =
        named(new QRadioButton(QStringLiteral(" ICT (intensiviert)"), therapy), "ICT_Button");
    ICT_Button->setToolTip(QStringLiteral("Bolus -Basal (ICT)"));
    tl->addWidget(CT_Button);
    tl->addWidget(ICT_Button);
    ICT_Button->setChecked(true);
    return therapy;
}

// The options of the line chart in the browser.
QGroupBox *TEinstellDlg::browserBox() {
    auto *browser = new QGroupBox(QStringLiteral("Beim Liniendiagramm im Browser:"), this);
    auto *bl = new QGridLayout(browser);
    LinieUnterbrechenCheckBox =
        named(new QCheckBox(QStringLiteral("Ist Mittelwert = 0 dann Linie unterbrechen."), browser),
              "LinieUnterbrechenCheckBox");
    LinieUnterbrechenCheckBox->setChecked(true);
    WerteOberhalbKurveAnzeigenCheckBox =
        named(new QCheckBox(QStringLiteral("Die Datenwerte anzeigen"), browser),
              "WerteOberhalbKurveAnzeigenCheckBox");
    Label13 = named(new QLabel(QStringLiteral("Farbe der Datenwerte"), browser), "Label13");
    Button6 = named(new QPushButton(QStringLiteral("Ändern"), browser), "Button6");
    bl->addWidget(LinieUnterbrechenCheckBox, 0, 0, 1, 2);
    bl->addWidget(WerteOberhalbKurveAnzeigenCheckBox, 1, 0, 1, 2);
    bl->addWidget(Label13, 2, 0);
    bl->addWidget(Button6, 2, 1);
    return browser;
}

// Where the automatic backups go.
QGroupBox *TEinstellDlg::backupBox() {
    auto *box = new QGroupBox(QStringLiteral("Automatische Datensicherung in den Ordner:"), this);
    auto *bl = new QHBoxLayout(box);
    m_backupFolder = named(new QLineEdit(box), "SicherungsOrdnerEdit");
    m_backupFolder->setReadOnly(true);
    auto *choose =
        named(new QPushButton(QStringLiteral("Ordner wählen…"), box), "SicherungsOrdnerBtn");
    bl->addWidget(m_backupFolder, 1);
    bl->addWidget(choose);
    connect(choose, &QPushButton::clicked, this, [this] { chooseBackupFolder(); });
    return box;
}

// A folder inside the Glykovalin folder is refused: a backup there would be
// lost with the folder it is to save.
void TEinstellDlg::chooseBackupFolder() {
    const QString folder = m_ui.folderName(this, QStringLiteral("Ordner für die Datensicherungen"),
                                           backup::backupFolder(settings()));
    if (folder.isEmpty()) return;
    if (backup::liesInside(folder, m_model.folders().base)) {
        m_ui.showWarning(QStringLiteral("Der Ordner „%1“ liegt im Glykovalin-Ordner. Wählen Sie "
                                        "bitte einen Ordner außerhalb, zum Beispiel auf einem "
                                        "anderen Laufwerk; eine Sicherung im Glykovalin-Ordner "
                                        "ginge mit ihm verloren.")
                             .arg(QDir::toNativeSeparators(folder)));
        return;
    }
    QString error;
    if (!settings().set(keys::SicherungsOrdner, QDir::cleanPath(folder), &error)) {
        m_ui.showWarning(error);
        return;
    }
    m_backupFolder->setText(QDir::toNativeSeparators(backup::backupFolder(settings())));
}

void TEinstellDlg::connectControls() {
    QPushButton *buttons[6] = {Button1, Button2, Button3, Button4, Button5, Button6};
    for (int k = 0; k < 6; ++k)
        connect(buttons[k], &QPushButton::clicked, this, [this, k] { colorButtonClick(k + 1); });
    connect(SpinEdit1, &QSpinBox::valueChanged, this,
            [this] { limitChanged(SpinEdit1, 250, 160, keys::Hochwerte); });
    connect(SpinEdit2, &QSpinBox::valueChanged, this,
            [this] { limitChanged(SpinEdit2, 250, 120, keys::Kritischwerte); });
    connect(SpinEdit3, &QSpinBox::valueChanged, this,
            [this] { limitChanged(SpinEdit3, 100, 20, keys::Tiefwerte); });
    connect(SpinEdit4, &QSpinBox::valueChanged, this, [this](int v) {
        settings().set(keys::StiftBreite, QString::number(v));
        m_model.appearanceWasChanged();
    });
    connect(LinieUnterbrechenCheckBox, &QCheckBox::clicked, this,
            [this](bool on) { storeChartOption(keys::LinieBeiNullUnterbrechen, on); });
    connect(WerteOberhalbKurveAnzeigenCheckBox, &QCheckBox::clicked, this,
            [this](bool on) { storeChartOption(keys::WerteOberhalbKurveAnzeigen, on); });
    connect(OKBtn, &QPushButton::clicked, this, &TEinstellDlg::OKBtnClick);
}

void TEinstellDlg::limitChanged(GlucoseSpinBox *spin, int high, int low, const QString &key) {
    int v = spin->value();
    if (v >= high) v = high;
    if (v < low + 1) v = low;
    if (v != spin->value()) {
        const QSignalBlocker block(spin);
        spin->setValue(v);
    }
    // The normal band lies between the low and the critical limit, and the
    // critical limit below the high one.
    if (!(SpinEdit3->value() < SpinEdit2->value() && SpinEdit2->value() < SpinEdit1->value())) {
        m_ui.showWarning(
            QStringLiteral(
                "Die Grenzwerte müssen in dieser Reihenfolge stehen: Tiefwerte < Kritisch < "
                "Hochwerte. Der Wert %1 passt nicht dazu und wird nicht übernommen.")
                .arg(glucoseunit::valueText(v, spin->unit())));
        bool ok = false;
        const int stored = settings().get(key).trimmed().toInt(&ok);
        const QSignalBlocker block(spin);
        if (ok) spin->setValue(stored);
        return;
    }
    settings().set(key, QString::number(v));
    m_model.appearanceWasChanged();
}

SettingsStore TEinstellDlg::settings() const {
    return m_model.settings();
}

// The browser chart's options are stored the moment they change.
void TEinstellDlg::storeChartOption(const QString &key, bool on) {
    settings().set(key, convert::flagText(on));
    DisplayOptions o = m_model.options();
    o.breakLineAtZero = LinieUnterbrechenCheckBox->isChecked();
    o.valuesAboveCurve = WerteOberhalbKurveAnzeigenCheckBox->isChecked();
    m_model.setOptions(o);
}

void TEinstellDlg::showOptions() {
    const DisplayOptions &o = m_model.options();
    Tagebuch_sichtbar_checkBox->setChecked(o.diaryVisible);
    (m_model.unit() == GlucoseUnit::MmolL ? MmolL_Button : MgDl_Button)->setChecked(true);
    showLimitsIn(m_model.unit());
    (o.carbUnitBE ? BE_Button : KE_Button)->setChecked(true);
    (o.therapyCT ? CT_Button : ICT_Button)->setChecked(true);
    WerteOberhalbKurveAnzeigenCheckBox->setChecked(o.valuesAboveCurve);
    LinieUnterbrechenCheckBox->setChecked(o.breakLineAtZero);
    m_valueColor = o.valueColor;
    setFontColor(Label13, o.valueColor);
}

void TEinstellDlg::fillFromSettings() {
    const SettingsStore st = settings();
    m_backupFolder->setText(QDir::toNativeSeparators(backup::backupFolder(st)));
    auto colorOf = [&st](const QString &key, quint32 &var) {
        bool ok = false;
        const quint32 v = st.get(key).trimmed().toUInt(&ok);
        if (ok) var = v;
    };
    colorOf(keys::FarbeHochwerte, m_highColor);
    colorOf(keys::FarbeKritischwerte, m_criticalColor);
    colorOf(keys::FarbeTiefwerte, m_lowColor);
    colorOf(keys::KurvenFarbe, m_curveColor);
    colorOf(keys::MittelKurvenFarbe, m_meanCurveColor);
    // Filling the fields is no change by the user: nothing is stored or redrawn.
    const QSignalBlocker b1(SpinEdit1), b2(SpinEdit2), b3(SpinEdit3), b4(SpinEdit4);
    ui::guarded(m_ui, [&] {
        GlucoseSpinBox *spins[3] = {SpinEdit1, SpinEdit2, SpinEdit3};
        const QString limitKeys[3] = {keys::Hochwerte, keys::Kritischwerte, keys::Tiefwerte};
        for (int i = 0; i < 3; ++i) {
            const QString t = st.get(limitKeys[i]);
            if (!t.isEmpty())
                spins[i]->setValue(
                    convert::toInt(t, QStringLiteral("Einstellung \"%1\"").arg(limitKeys[i])));
        }
        const QString w = st.get(keys::StiftBreite);
        if (!w.isEmpty())
            SpinEdit4->setValue(convert::toInt(w, QStringLiteral("Einstellung \"StiftBreite\"")));
    });
    showOptions();
    FormPaint();
}

void TEinstellDlg::EinstellungenClick() {
    fillFromSettings();
    exec();
}

void TEinstellDlg::OKBtnClick() {
    DisplayOptions o = m_model.options();
    o.diaryVisible = Tagebuch_sichtbar_checkBox->isChecked();
    o.carbUnitBE = BE_Button->isChecked();
    o.therapyCT = CT_Button->isChecked();
    m_model.setOptions(o);
    QString error;
    if (!m_model.setUnit(MmolL_Button->isChecked() ? GlucoseUnit::MmolL : GlucoseUnit::MgDl,
                         &error))
        m_ui.showWarning(error + QStringLiteral("\nDie gewählte Maßeinheit gilt nur, bis das "
                                                "Programm beendet wird."));
    accept();
}

void TEinstellDlg::colorButtonClick(int k) {
    quint32 *var = nullptr;
    QString key;
    switch (k) {
    case 1:
        var = &m_highColor, key = keys::FarbeHochwerte;
        break;
    case 2:
        var = &m_criticalColor, key = keys::FarbeKritischwerte;
        break;
    case 3:
        var = &m_lowColor, key = keys::FarbeTiefwerte;
        break;
    case 4:
        var = &m_curveColor, key = keys::KurvenFarbe;
        break;
    case 5:
        var = &m_meanCurveColor, key = keys::MittelKurvenFarbe;
        break;
    case 6:
        var = &m_valueColor, key = keys::DatenwerteOberhalbFarbe;
        break;
    default:
        return;
    }
    QColor chosen;
    if (m_ui.chooseColor(this, colorref::toColor(*var), chosen) && chosen.isValid())
        *var = colorref::fromColor(chosen);
    // Stored also when the dialog was cancelled.
    settings().set(key, QString::number(*var));
    FormPaint();
    if (k == 6) {
        setFontColor(Label13, *var);
        DisplayOptions o = m_model.options();
        o.valueColor = *var;
        m_model.setOptions(o);
    } else {
        m_model.appearanceWasChanged();
    }
}

void TEinstellDlg::FormPaint() {
    setFontColor(Label1, m_highColor);
    setFontColor(Label6, m_highColor);
    setFontColor(Label2, m_criticalColor);
    setFontColor(Label7, m_criticalColor);
    setFontColor(Label3, m_lowColor);
    setFontColor(Label8, m_lowColor);
    setFontColor(Label4, m_curveColor);
    setFontColor(Label5, m_meanCurveColor);
}

void TEinstellDlg::showEvent(QShowEvent *e) {
    FormPaint();
    QDialog::showEvent(e);
}
