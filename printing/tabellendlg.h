#pragma once
#include <QDialog>
#include <QStringList>

class QAction;
class QMenuBar;
class QPlainTextEdit;
class MonthModel;
namespace ui {
class Services;
}

// The month as a table text; the user writes a remark behind each day row.
// Remarks are merged in on the first paint after the window was created or
// closed, and stored when it closes.
class TTabellenDlg : public QDialog {
    Q_OBJECT
public:
    TTabellenDlg(const MonthModel &session, ui::Services &ui, QWidget *parent = nullptr);

    // The table text (TableText) to show; replaces what is shown.
    void setTableText(const QString &text);
    QString tableText() const;
    QStringList tableLines() const;
    void setTextColor(const QColor &color);

    // Merges the remarks when they are pending (and starts printing when it
    // was asked for).
    void FormPaint();
    // Stores the remarks, re-arms merging and emits closed().
    void FormClose();
    void BemerkungenSpeichern();
    void druckenClick();
    void einfgen1Click();
    // Edits a patient-data file; offers to make "Patientendaten.txt" in the
    // base folder from a template when there is none.
    void bearbeiten1Click();
    void beenden1Click();

    bool remarksPending() const { return m_remarksPending; }
    // Set by the menu command "&Tabelle drucken": the next merging paint prints.
    void setPrintTableOnOpen(bool on) { m_printTableOnOpen = on; }
    bool printTableOnOpen() const { return m_printTableOnOpen; }

    QPlainTextEdit *Memo1 = nullptr;
    QMenuBar *menuBar = nullptr;

    // Filter of the patient-data file dialog.
    static QString patientDataFilter();
    // Lines of a new patient-data file.
    static QStringList patientDataTemplate();

    void done(int r) override;

signals:
    // "&Drucken": the table print preview takes the table.
    void printRequested();
    // A patient-data file is to be edited in the header editor.
    void patientDataRequested(const QString &fileName);
    // The window closed with its remarks stored: the entry dialog closes and
    // the month is drawn again.
    void closed();

protected:
    void showEvent(QShowEvent *e) override;

private:
    QString patientDataFileName();

    const MonthModel &m_model;
    ui::Services &m_ui;

    bool m_remarksPending = true;
    bool m_printTableOnOpen = false;
    bool m_open = false;
};
