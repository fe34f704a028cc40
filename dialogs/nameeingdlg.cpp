#include "nameeingdlg.h"

#include <QBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "platform/ui.h"
#include "platform/win1252.h"
#include "storage/monthmodel.h"
#include "storage/monthtable.h"
#include "storage/settingsstore.h"

TNameEingDlg::TNameEingDlg(MonthModel &model, ui::Services &ui, QWidget *parent)
    : QDialog(parent), m_model(model), m_ui(ui) {
    setObjectName(QStringLiteral("NameEingDlg"));
    setWindowTitle(QString());
    setWindowFlags(Qt::Dialog | Qt::WindowStaysOnTopHint | Qt::MSWindowsFixedSizeDialogHint);
    auto *l1 = new QLabel(QStringLiteral("Geben Sie Ihren Vornamen und Nachname ein:"), this);
    l1->setObjectName(QStringLiteral("Label1"));
    Edit1 = new QLineEdit(this);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    l1->setBuddy(Edit1);
    auto *l2 = new QLabel(QStringLiteral("Die Anfangsbuchstaben des Namens werden für"), this);
    l2->setObjectName(QStringLiteral("Label2"));
    auto *l3 = new QLabel(QStringLiteral("die Kennzeichnung der Tabellen-Dateien benutzt."), this);
    l3->setObjectName(QStringLiteral("Label3"));
    OKBtn = new QPushButton(QStringLiteral("OK"), this);
    OKBtn->setObjectName(QStringLiteral("OKBtn"));
    OKBtn->setDefault(true);
    CancelBtn = new QPushButton(QStringLiteral("Abbrechen"), this);
    CancelBtn->setObjectName(QStringLiteral("CancelBtn"));
    CancelBtn->setAutoDefault(false);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(OKBtn);
    buttons->addWidget(CancelBtn);
    buttons->addStretch(1);
    auto *box = new QVBoxLayout(this);
    box->addWidget(l1);
    box->addWidget(Edit1);
    box->addSpacing(8);
    box->addWidget(l2);
    box->addWidget(l3);
    box->addSpacing(12);
    box->addLayout(buttons);
    // Every label shows its whole text; the dialog is as large as they need.
    box->setSizeConstraint(QLayout::SetFixedSize);
    setTabOrder(Edit1, OKBtn);
    setTabOrder(OKBtn, CancelBtn);
    connect(OKBtn, &QPushButton::clicked, this, [this] { OKBtnClick(); });
    connect(CancelBtn, &QPushButton::clicked, this, [this] { CancelBtnClick(); });
}

void TNameEingDlg::FormCreate() {
    Edit1->setText(m_model.settings().get(keys::BenutzerName));
}

void TNameEingDlg::askAtStartup() {
    m_atStartup = true;
    open();
}

void TNameEingDlg::askForNewName() {
    m_atStartup = false;
    open();
}

void TNameEingDlg::showEvent(QShowEvent *e) {
    QDialog::showEvent(e);
    FormPaint();
}

void TNameEingDlg::FormPaint() {
    // Only when the dialog appears: a focus taken at every paint would keep
    // Tab and the mouse from ever leaving the name field.
    Edit1->setFocus();
    Edit1->selectAll();
}

void TNameEingDlg::OKBtnClick() {
    const QString name = Edit1->text();
    // The initials name the month table files: a blank name cannot make one.
    QString initials, error;
    if (name.trimmed().isEmpty()) {
        m_ui.showWarning(QStringLiteral("Bitte geben Sie Ihren Vornamen und Nachnamen ein! Aus den "
                                        "Anfangsbuchstaben werden die Namen der Tabellen-Dateien "
                                        "gebildet."));
        return;
    }
    if (!monthtable::initialsOf(name, initials, &error)) {
        m_ui.showWarning(error);
        return;
    }
    if (!win1252::encodable(name) &&
        !m_ui.askYesNo(win1252::lossQuestion(QStringLiteral("Der Name"), name)))
        return;
    if (!m_model.settings().set(keys::BenutzerName, name, &error)) m_ui.showWarning(error);
    accept();
    emit nameAccepted(name);
}

void TNameEingDlg::CancelBtnClick() {
    done(QDialog::Rejected);
    if (m_atStartup) emit quitRequested();
}

void TNameEingDlg::reject() {
    CancelBtnClick();
}
