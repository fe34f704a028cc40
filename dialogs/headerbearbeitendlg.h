#pragma once
#include <QByteArray>
#include <QDialog>

class QPlainTextEdit;
class QPushButton;
namespace ui {
class Services;
}

// Plain text editor for the patient-data file shown above a table. Storing
// what was loaded gives the file's bytes unchanged; an edited text is
// written as Windows-1252 lines ending in CR LF.
class THeaderBearbeitenDlg : public QDialog {
    Q_OBJECT
public:
    explicit THeaderBearbeitenDlg(ui::Services &ui, QWidget *parent = nullptr);

    // Loads the file and shows the editor modally; a file that exists but
    // cannot be read is said so and not shown.
    void editFile(const QString &fileName);
    // Loads the file into the editor (empty when missing). False with a
    // message when it exists but cannot be read; it is then never
    // overwritten from this dialog.
    bool loadFile(const QString &fileName);
    const QString &fileName() const { return m_fileName; }
    // The text as it goes into the file: lines separated by "\n", no-break
    // spaces kept.
    QString editedText() const;

private:
    // "&Speichern": writes the lines to the file (CR LF) and closes. When
    // the file cannot be written the user is told and the dialog stays open
    // with the text.
    void OKBtnClick();

    ui::Services &m_ui;
    QString m_fileName;
    QByteArray m_loadedBytes; // the file as read
    QString m_loadedText;     // and as it was shown
    bool m_unreadable = false;
    QPlainTextEdit *Memo1;
    QPushButton *OKBtn;
    QPushButton *CancelBtn;
};
