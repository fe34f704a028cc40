#pragma once
#include <QDialog>

#include "diarybook_compose.h"

class QTextEdit;
class TMachPause;
namespace ui {
class Services;
}

// The window that shows all stored diary pages as the diary book and saves
// it as PDF ("Speichern als PDF-Datei") or saves and opens it ("Drucken").
// The PDF is made from the same input by diarybook::writeDiaryBook, as the
// command-line tool makes it.
class TTagebuchSpeichernForm : public QDialog {
    Q_OBJECT
public:
    explicit TTagebuchSpeichernForm(ui::Services &ui, QWidget *parent = nullptr);

    // Lets the window repaint while the file is made (the main window's
    // pause component); none: no pause.
    void setPause(TMachPause *pause) { m_pause = pause; }

    // The menu command: the book of this input in the window, shown
    // modally; "Drucken" follows as soon as it is shown.
    void showBook(const DiaryBookInput &input);
    // Composes the book in the window without saving.
    diarybook::ComposeResult compose(const DiaryBookInput &input);

    // The file name the save dialog proposes: in the data folder's year
    // folder, named after the month and the user, with every character that
    // could lead elsewhere or that file systems refuse replaced.
    QString defaultFileName() const;

    // The last file written and its pages.
    int lastPageCount() const { return m_lastPageCount; }
    const QString &lastFileName() const { return m_lastFileName; }

protected:
    bool eventFilter(QObject *watched, QEvent *e) override;

private:
    void Drucken1Click();
    void SpeichernalsPDFDatei1Click();
    void Beenden1Click();
    // Asks for the file, writes the PDF, opens it when asked and closes the
    // window. False when the dialog was cancelled or the file not written:
    // the book then stays in the window.
    bool save(bool openAfterSaving);

    ui::Services &m_ui;
    TMachPause *m_pause = nullptr;
    DiaryBookInput m_input;
    QTextEdit *RichEdit1 = nullptr;
    int m_lastPageCount = 0;
    QString m_lastFileName;
};
