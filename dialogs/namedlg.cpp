#include "namedlg.h"

#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "platform/ui.h"
#include "storage/appstate.h"
#include "storage/monthtable.h"
#include "storage/settingsstore.h"

TNameEingDlg::TNameEingDlg(QWidget *parent) : QDialog(parent) {
    setObjectName(QStringLiteral("NameEingDlg"));
    setWindowTitle(QString());
    setWindowFlags(Qt::Dialog | Qt::WindowStaysOnTopHint | Qt::MSWindowsFixedSizeDialogHint);
    setFixedSize(272, 173);
    auto *l1 = new QLabel(QStringLiteral("Geben Sie Ihren Vornamen und Nachname ein:"), this);
    l1->setObjectName(QStringLiteral("Label1"));
    l1->setGeometry(12, 10, 250, 18);
    Edit1 = new QLineEdit(this);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setGeometry(12, 32, 248, 24);
    auto *l2 = new QLabel(QStringLiteral("Die Anfangsbuchstaben des Namens werden für"), this);
    l2->setObjectName(QStringLiteral("Label2"));
    l2->setGeometry(12, 66, 250, 18);
    auto *l3 = new QLabel(QStringLiteral("die Kennzeichnung der Tabellen-Dateien benutzt."), this);
    l3->setObjectName(QStringLiteral("Label3"));
    l3->setGeometry(12, 84, 250, 18);
    OKBtn = new QPushButton(QStringLiteral("OK"), this);
    OKBtn->setObjectName(QStringLiteral("OKBtn"));
    OKBtn->setDefault(true);
    OKBtn->setGeometry(40, 130, 88, 28);
    CancelBtn = new QPushButton(QStringLiteral("Abbrechen"), this);
    CancelBtn->setObjectName(QStringLiteral("CancelBtn"));
    CancelBtn->setAutoDefault(false);
    CancelBtn->setGeometry(144, 130, 88, 28);
    connect(OKBtn, &QPushButton::clicked, this, [this] { OKBtnClick(); });
    connect(CancelBtn, &QPushButton::clicked, this, [this] { CancelBtnClick(); });
}

void TNameEingDlg::FormCreate() {
    Edit1->clear();
    const QString name = SettingsStore(appState().SettingsPath).get(keys::BenutzerName);
    if (!name.isEmpty()) {
        appState().TableUserName = name;
        Edit1->setText(name);
    }
}

void TNameEingDlg::paintEvent(QPaintEvent *e) {
    QDialog::paintEvent(e);
    FormPaint();
}

void TNameEingDlg::FormPaint() {
    if (!Edit1->hasFocus()) Edit1->setFocus();
}

bool TNameEingDlg::OKBtnClick() {
    AppState &s = appState();
    const QString name = Edit1->text();
    // The initials name the month table files: a blank name cannot make one.
    QString initials, error;
    if (name.trimmed().isEmpty()) {
        ui::showWarning(QStringLiteral("Bitte geben Sie Ihren Vornamen und Nachnamen ein! Aus den "
                                       "Anfangsbuchstaben werden die Namen der Tabellen-Dateien "
                                       "gebildet."));
        return false;
    }
    if (!monthtable::initialsOf(name, initials, &error)) {
        ui::showWarning(error);
        return false;
    }
    s.ReselectAfterEntry = true;
    s.TableUserName = name;
    const SettingsStore st(s.SettingsPath);
    st.set(keys::BenutzerName, name);
    if (callbacks.setTitle) callbacks.setTitle(QStringLiteral(" von ") + name);
    if (callbacks.setEntryHeading)
        callbacks.setEntryHeading(QStringLiteral("Messwerte von ") + name);
    const QString table = st.get(keys::TabellenDateiName);
    if (!table.isEmpty()) {
        const QString file = QFileInfo(table.toUpper()).fileName();
        QString ini = name.left(1).toUpper();
        const qsizetype blank = name.indexOf(u' ');
        if (blank >= 0) ini += name.mid(blank + 1, 1).toUpper();
        if (ini.size() >= 2 && ini.left(2) == file.left(2) && callbacks.drawMonth)
            callbacks.drawMonth(table);
    }
    if (callbacks.newMonth) callbacks.newMonth();
    accept();
    return true;
}

void TNameEingDlg::CancelBtnClick() {
    if (atStartup && callbacks.quitProgram) {
        done(QDialog::Rejected);
        callbacks.quitProgram();
        return;
    }
    done(QDialog::Rejected);
}

void TNameEingDlg::reject() {
    CancelBtnClick();
}
