#pragma once
#include <QObject>
#include <QString>

class Program;

// The main window's commands that choose, show, edit or start a month table,
// and what follows the entry dialog's and the user-name dialog's work. Every
// way that makes a month current goes through openMonth().
class MonthCommands : public QObject {
    Q_OBJECT
public:
    explicit MonthCommands(Program &program, QObject *parent = nullptr);

    // Makes a month table the current one (table and diary together), after
    // a changed page of the month shown so far was offered for storing.
    // False when the user kept that page on screen.
    bool openMonth(const QString &path);

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
    void askUserNameAtStartup();

    // The entry dialog wrote a month: it becomes (or stays) the current one
    // and is read again.
    void monthSaved(const QString &tablePath);
    // The user-name dialog stored a name: the current month becomes that
    // user's stored month, or none, and a new month is started.
    void nameAccepted(const QString &name);
    // A table that cannot be read: the user chooses one.
    void unreadableTable();

signals:
    // The table window is to show a table text (modally for the menu's table
    // commands, beside the graph for the entry dialog's table button).
    void tableWindowRequested(const QString &tableText, bool modal);

private:
    QString chooseFile() const;
    // Chooses a table and makes it the current month with its user and
    // measure mode; false when cancelled or unreadable (said).
    bool chooseAndTake();

    Program &m_p;
};
