#pragma once
#include <QDialog>
#include <QStringList>

class QPlainTextEdit;
class MonthModel;
namespace ui {
class Services;
}

// The month as a table text; the user writes a remark behind each day row.
// The remarks stored for the current month are merged in each time a table
// is shown, and stored when the window closes.
class TTabellenDlg : public QDialog {
    Q_OBJECT
public:
    TTabellenDlg(const MonthModel &model, ui::Services &ui, QWidget *parent = nullptr);

    enum class Opening {
        Beside,        // beside the entry dialog, which stays usable
        Modal,         // the table commands of the menu
        ModalAndPrint, // "&Tabelle drucken": printing starts once it is shown
    };
    // Shows a table text (TableText) with its remarks. A table still open is
    // closed first, its remarks stored; when they cannot be stored it stays
    // as it is, and false.
    bool showTable(const QString &tableText, Opening how);
    // The lines as the window shows them, remarks and inserted lines included.
    QStringList tableLines() const;
    void setTextColor(const QColor &color);

    // Filter of the patient-data file dialog.
    static QString patientDataFilter();
    // Lines of a new patient-data file.
    static QStringList patientDataTemplate();

    // Closing stores the remarks first; the window stays open with them when
    // the user wants to change a character that cannot be stored or when
    // the settings file cannot be written.
    void done(int r) override;

signals:
    // "&drucken": the table print preview takes the table.
    void printRequested();
    // A patient-data file is to be edited in the header editor.
    void patientDataRequested(const QString &fileName);
    // The window closed with its remarks stored: the entry dialog closes.
    void closed();

protected:
    void showEvent(QShowEvent *e) override;

private:
    void buildMenu();
    // False when the remarks were not stored (the user was told or asked).
    bool BemerkungenSpeichern();
    bool remarksEncodable(const QStringList &lines);
    void druckenClick();
    void einfgen1Click();
    // Edits a patient-data file; offers to make "Patientendaten.txt" in the
    // base folder from a template when there is none.
    void bearbeiten1Click();
    void beenden1Click();
    QString patientDataFileName();

    const MonthModel &m_model;
    ui::Services &m_ui;
    QPlainTextEdit *Memo1 = nullptr;
};
