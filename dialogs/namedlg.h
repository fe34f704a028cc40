#pragma once
#include <QDialog>

class MonthModel;
class QLineEdit;
class QPushButton;
namespace ui {
class Services;
}

// Asks for the user's first and last name; the initials name the month tables.
class TNameEingDlg : public QDialog {
    Q_OBJECT
public:
    TNameEingDlg(MonthModel &session, ui::Services &ui, QWidget *parent = nullptr);

    // Set while the dialog asks at start-up because no name is stored: only
    // then does "Abbrechen" end the program.
    bool atStartup = false;

    void FormCreate();
    void FormPaint();
    // False when the name was refused.
    bool OKBtnClick();
    void CancelBtnClick();

    QLineEdit *Edit1;
    QPushButton *OKBtn;
    QPushButton *CancelBtn;

signals:
    // A name was stored: the title strip and the entry dialog's heading take it.
    void nameAccepted(const QString &name);
    // The stored table is the new name's (its initials match): it is drawn.
    void storedTableOfName(const QString &tablePath);
    // After the name: the new-month command follows.
    void newMonthRequested();
    // "Abbrechen" at start-up: the program ends without storing anything.
    void quitRequested();

protected:
    void showEvent(QShowEvent *e) override;
    void reject() override;

private:
    MonthModel &m_model;
    ui::Services &m_ui;
};
