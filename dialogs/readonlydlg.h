#pragma once
#include <QDialog>
#include <QStringList>

class QPlainTextEdit;

// Notice shown when the settings file cannot be written.
class TreadonlyDlg : public QDialog {
    Q_OBJECT
public:
    explicit TreadonlyDlg(QWidget *parent = nullptr);
    // The six lines of the notice.
    static QStringList noticeLines();

protected:
    void showEvent(QShowEvent *e) override;

private:
    // The memo gets the notice anew each time the window is shown.
    void FormPaint();

    QPlainTextEdit *m_memo;
};
