#pragma once
#include <QDialog>

#include "diarybook_compose.h"

class QTextEdit;
class QAction;
class TMachPause;
namespace ui {
class Services;
}

// The window that shows all stored diary pages as the diary book and saves
// it as PDF ("Speichern als PDF-Datei") or saves and opens it ("Drucken").
// The book is composed on the first paint after requestCompose() asked for
// it; FormPaint() does that work and can be called directly. The PDF is made
// from the same input by diarybook::writeDiaryBook, as the command-line tool
// makes it.
class TTagebuchSpeichernForm : public QDialog {
    Q_OBJECT
public:
    explicit TTagebuchSpeichernForm(ui::Services &ui, QWidget *parent = nullptr);

    // Lets the window repaint while the file is made (the main window's
    // pause component); none: no pause.
    TMachPause *pause = nullptr;

    // Asks for the book of this input to be composed at the next paint.
    void requestCompose(const DiaryBookInput &input);
    bool ComposeOnNextPaint = false;
    bool OpenAfterSaving = false;

    // Composes the book when requested, then runs Drucken1Click.
    void FormPaint();
    // Shows the book in RichEdit1 without saving.
    diarybook::ComposeResult composeNow();
    void Drucken1Click();
    // Asks for the file, writes the PDF, opens it when asked and closes the
    // window. Returns true when the file was written.
    bool SpeichernalsPDFDatei1Click();
    void Beenden1Click();

    // The file name the save dialog proposes: in the data folder's year
    // folder, named after the month and the user, with every character that
    // could lead elsewhere or that file systems refuse replaced.
    QString defaultFileName() const;

    QTextEdit *RichEdit1 = nullptr;

    // Results of the last save, for the caller and for tests.
    int lastPageCount = 0;
    QString lastFileName;

protected:
    void paintEvent(QPaintEvent *e) override;
    bool eventFilter(QObject *watched, QEvent *e) override;

private:
    ui::Services &m_ui;
    DiaryBookInput m_input;
    bool m_paintQueued = false;
};
