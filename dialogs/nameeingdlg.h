#pragma once
#include <QDialog>

class MonthModel;
class QLineEdit;
class QPushButton;
namespace ui {
class Services;
}

// Asks for the user's first and last name; the initials name the month
// tables. The dialog stores the name; which month becomes current then is
// for the receiver of nameAccepted() to decide.
class TNameEingDlg : public QDialog {
    Q_OBJECT
public:
    TNameEingDlg(MonthModel &model, ui::Services &ui, QWidget *parent = nullptr);

    // Shows the stored name in the field.
    void FormCreate();
    // At start-up, when no name is stored: "Abbrechen" ends the program.
    void askAtStartup();
    // "Benutzername ändern": "Abbrechen" leaves everything as it was.
    void askForNewName();

signals:
    // A name was stored as "BenutzerName".
    void nameAccepted(const QString &name);
    // "Abbrechen" at start-up: the program ends without storing anything.
    void quitRequested();

protected:
    void showEvent(QShowEvent *e) override;
    void reject() override;

private:
    void FormPaint();
    // A blank name, one without initials, or one the user wants to change
    // is not taken: the dialog stays open.
    void OKBtnClick();
    void CancelBtnClick();

    MonthModel &m_model;
    ui::Services &m_ui;
    bool m_atStartup = false;
    QLineEdit *Edit1;
    QPushButton *OKBtn;
    QPushButton *CancelBtn;
};
