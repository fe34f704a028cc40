#pragma once
#include <QDialog>
#include <QStringList>
#include <functional>

class QAction;
class QMenuBar;
class QPlainTextEdit;

// The month as a table text; the user writes a remark behind each day row.
// Remarks are merged in on the first paint after the window was created or
// closed, and stored when it closes.
class TTabellenDlg : public QDialog {
    Q_OBJECT
public:
    explicit TTabellenDlg(QWidget *parent = nullptr);

    // The table text (TableText) to show; replaces what is shown.
    void setTableText(const QString &text);
    QString tableText() const;
    QStringList tableLines() const;
    void setTextColor(const QColor &color);

    // Merges the remarks when they are pending (and starts printing when it
    // was asked for).
    void FormPaint();
    // Stores the remarks, re-arms merging and has the month redrawn.
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

    // Connections to the other windows.
    struct Hooks {
        // Prints the table through the table print preview.
        std::function<void()> print;
        // Loads a patient-data file into the header editor and shows it.
        std::function<void(const QString &fileName)> editPatientData;
        // Closes the entry dialog when it is open.
        std::function<void()> closeEntryDialog;
        // Redraws the month from the current table file.
        std::function<void()> redrawMonth;
    } hooks;

    // Filter of the patient-data file dialog.
    static QString patientDataFilter();
    // Lines of a new patient-data file.
    static QStringList patientDataTemplate();

    void done(int r) override;

protected:
    void showEvent(QShowEvent *e) override;

private:
    QString patientDataFileName();

    bool m_remarksPending = true;
    bool m_printTableOnOpen = false;
    bool m_open = false;
};
