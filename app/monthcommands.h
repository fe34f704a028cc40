#pragma once
#include <QObject>
#include <QString>

class MonthSession;
class TEingabeDlg;
class TMainForm;
class TNameEingDlg;
namespace ui {
class Services;
}

// The main window's commands that choose, show, edit or start a month table,
// and what follows the entry dialog's and the user-name dialog's work.
class MonthCommands : public QObject {
    Q_OBJECT
public:
    MonthCommands(MonthSession &session, ui::Services &ui, TMainForm &window, TEingabeDlg &entry,
                  TNameEingDlg &nameDialog, QObject *parent = nullptr);

    // Makes a month table the current one: remembered as the last table and
    // its diary loaded, after a changed page of the month shown so far was
    // offered for storing. False when the user kept that page on screen.
    bool attachTable(const QString &path);

    // Datei › Öffnen › ...
    void undalsGrafikanzeigen1Click();
    void undTabelleanzeigen1Click();
    void undTabellebearbeiten1Click();
    // Tabelle › ...; "Datei › Neu erstellen" is the same as "neu erstellen".
    void anzeigen1Click();
    void aktuellebearbeiten1Click();
    void neuerstellen1Click();
    // Optionen › Benutzername ändern
    void Benutzernamendern1Click();

    // The entry dialog asks for a month to be drawn (the one saved).
    void drawFromEntry(const QString &tablePath);
    // "&Grafik zeigen" closed the entry dialog.
    void afterGraphFromEntry();
    // "&Tabelle zeigen": the table window is to show the text.
    void tableFromEntry(const QString &tableText);
    // The user-name dialog stored a name; at start-up it opens from here.
    void nameAccepted(const QString &name);
    void askUserNameAtStartup();
    // A drawing found the table unreadable: the user chooses one.
    void unreadableTable();
    // Every drawing: the entry list holds the month drawn.
    void fillEntryList(const QString &tablePath);

signals:
    // The table window is to show a table text (modally for the menu's table
    // commands, beside the graph for the entry dialog's table button).
    void tableWindowRequested(const QString &tableText, bool modal);

private:
    QString chooseFile() const;
    void applyMode(const QString &table);
    bool readIntoList(const QString &table);
    void heading(bool replaceEmptyName);
    void today();

    MonthSession &m_session;
    ui::Services &m_ui;
    TMainForm &m_window;
    TEingabeDlg &m_entry;
    TNameEingDlg &m_nameDialog;
    bool m_newMonthPending = false;    // the next saved month becomes the current table
    bool m_reselectAfterEntry = false; // a new name: the entry dialog re-selects the day
};
