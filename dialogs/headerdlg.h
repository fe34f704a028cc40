#pragma once
#include <QDialog>

class QPlainTextEdit;
class QPushButton;

// Plain text editor for the patient-data file shown above a table.
class THeaderBearbeitenDlg : public QDialog {
    Q_OBJECT
public:
    explicit THeaderBearbeitenDlg(QWidget *parent = nullptr);

    // The header file; set by the table window before showing the dialog.
    QString headerFileName;
    // Loads the header file into Memo1 (empty when missing).
    void loadFile();
    // Saves Memo1's lines to the header file (CR LF) and closes.
    void OKBtnClick();

    QPlainTextEdit *Memo1;
    QPushButton *OKBtn;
    QPushButton *CancelBtn;
};
