#pragma once
#include <QDialog>
#include <functional>

#include "diarybook_compose.h"

class QTextEdit;
class QAction;
class PictureBox;

// The window that lays all stored diary pages out as the diary book and
// saves it as PDF ("Speichern als PDF-Datei") or saves and opens it
// ("Drucken"). The book is composed on the first paint after compose() asked
// for it; FormPaint() does that work and can be called directly.
class TTagebuchSpeichernForm : public QDialog {
    Q_OBJECT
public:
    explicit TTagebuchSpeichernForm(QWidget *parent = nullptr);

    // Lets the window repaint (the main window's pause component).
    std::function<void(int)> pause;

    // Asks for the book of this input to be composed at the next paint.
    void requestCompose(const DiaryBookInput &input);
    bool ComposeOnNextPaint = false;
    bool OpenAfterSaving = false;

    // Composes the book when requested, then runs Drucken1Click.
    void FormPaint();
    // Lays the book out in RichEdit1 without saving.
    diarybook::ComposeResult composeNow();
    void Drucken1Click();
    // Asks for the file, renders, writes the PDF, opens it when asked and
    // closes the window. Returns true when the file was written.
    bool SpeichernalsPDFDatei1Click();
    void Beenden1Click();

    // The default file name offered by the save dialog.
    QString defaultFileName() const;

    QTextEdit *RichEdit1 = nullptr;
    PictureBox *Image1 = nullptr;
    PictureBox *Image2 = nullptr;

    // Results of the last save, for the caller and for tests.
    int lastBookHeight = 0;
    int lastPageCount = 0;
    QString lastFileName;

protected:
    void paintEvent(QPaintEvent *e) override;
    bool eventFilter(QObject *watched, QEvent *e) override;

private:
    DiaryBookInput m_input;
    bool m_paintQueued = false;
};
