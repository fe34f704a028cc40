#pragma once
#include <QDialog>
#include <QStringList>

class QPlainTextEdit;

// Notice shown when the settings file cannot be written.
class TreadonlyDlg : public QDialog {
    Q_OBJECT
public:
    explicit TreadonlyDlg(QWidget *parent = nullptr);
    static QStringList noticeLines();
    QPlainTextEdit *memo() const { return m_memo; }
    // Fills the memo as every paint of the window does.
    void FormPaint();

protected:
    void showEvent(QShowEvent *e) override;

private:
    QPlainTextEdit *m_memo;
};
