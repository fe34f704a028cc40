#pragma once
#include <QDialog>
#include <functional>

class QLineEdit;
class QPushButton;

// Asks for the user's first and last name; the initials name the month tables.
class TNameEingDlg : public QDialog {
    Q_OBJECT
public:
    explicit TNameEingDlg(QWidget *parent = nullptr);

    struct Callbacks {
        std::function<void(const QString &)> setTitle;        // main window's Label1
        std::function<void(const QString &)> setEntryHeading; // entry dialog's Label4
        std::function<void(const QString &)> drawMonth;       // draws a stored table
        std::function<void()> newMonth;                       // the new-month command
        std::function<void()> quitProgram;                    // ends the program
    } callbacks;

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

protected:
    void showEvent(QShowEvent *e) override;
    void reject() override;
};
