#pragma once
#include <QByteArray>
#include <QDialog>

class QPlainTextEdit;
class QPushButton;

// Plain text editor for the patient-data file shown above a table. Storing
// what was loaded gives the file's bytes unchanged; an edited text is
// written as Windows-1252 lines ending in CR LF.
namespace ui {
class Services;
}

class THeaderBearbeitenDlg : public QDialog {
    Q_OBJECT
public:
    explicit THeaderBearbeitenDlg(ui::Services &ui, QWidget *parent = nullptr);

    // The header file; set by the table window before showing the dialog.
    QString headerFileName;
    // Loads the header file into Memo1 (empty when missing). False with a
    // message when the file exists but cannot be read; it is then never
    // overwritten from this dialog.
    bool loadFile();
    // Saves Memo1's lines to the header file (CR LF) and closes. When the
    // file cannot be written the user is told and the dialog stays open with
    // the text.
    void OKBtnClick();
    // The text as it goes into the file: lines separated by "\n", no-break
    // spaces kept.
    QString editedText() const;

    QPlainTextEdit *Memo1;
    QPushButton *OKBtn;
    QPushButton *CancelBtn;

private:
    ui::Services &m_ui;
    QByteArray m_loadedBytes; // the file as read
    QString m_loadedText;     // and as it was shown
    bool m_unreadable = false;
};
