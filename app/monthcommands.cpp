#include "monthcommands.h"

#include <QFileInfo>

#include "dialogs/nameeingdlg.h"
#include "entry/eingabedlg.h"
#include "mainform.h"
#include "platform/ui.h"
#include "program.h"
#include "storage/monthmodel.h"

MonthCommands::MonthCommands(Program &program, QObject *parent) : QObject(parent), m_p(program) {}

// The open dialog in the data folder, month tables first.
QString MonthCommands::chooseFile() const {
    return m_p.ui.openFileName(&m_p.mainForm(), QStringLiteral("Öffnen"),
                               m_p.model.folders().data + QStringLiteral("*.tab"),
                               QStringLiteral("Glykovalin-Tabellen (*.tab);;Alle Dateien (*.*)"));
}

bool MonthCommands::openMonth(const QString &path) {
    if (!m_p.mainForm().leaveMonth()) return false;
    QString error;
    if (!m_p.model.open(path, &error) && !m_p.model.settings().isReadOnly())
        m_p.ui.showWarning(error);
    return true;
}

void MonthCommands::undalsGrafikanzeigen1Click() {
    const QString file = chooseFile();
    if (!file.isEmpty() && openMonth(file)) {
        m_p.model.applyModeOf(file);
        if (!m_p.model.figures().readable) {
            m_p.ui.showWarning(m_p.model.month().error);
            unreadableTable();
        }
    }
    m_p.mainForm().FormResize();
}

void MonthCommands::undTabelleanzeigen1Click() {
    // As "und Tabelle bearbeiten", with the month's table shown instead of
    // the entry dialog.
    if (chooseAndTake()) {
        TEingabeDlg &entry = m_p.entryDialog();
        if (entry.takeMonth()) emit tableWindowRequested(entry.tableText(), false);
    }
    m_p.mainForm().FormResize();
}

void MonthCommands::undTabellebearbeiten1Click() {
    if (chooseAndTake()) m_p.entryDialog().editMonth();
    m_p.mainForm().FormResize();
}

bool MonthCommands::chooseAndTake() {
    const QString file = chooseFile();
    if (file.isEmpty() || !openMonth(file)) return false;
    m_p.model.applyModeOf(file);
    const MonthResult &month = m_p.model.figures();
    if (!month.readable) {
        m_p.ui.showWarning(QStringLiteral("Fehler Lesen der Datei!"));
        return false;
    }
    // The table's user, also an empty one, is the current user now.
    m_p.model.setUserName(month.tableUser);
    return true;
}

void MonthCommands::anzeigen1Click() {
    emit tableWindowRequested(m_p.entryDialog().tableText(), true);
    m_p.mainForm().FormResize();
}

void MonthCommands::aktuellebearbeiten1Click() {
    if (!QFileInfo(m_p.model.tablePath()).isFile()) {
        neuerstellen1Click();
        m_p.mainForm().FormResize();
        return;
    }
    // What another program wrote meanwhile is in the list too.
    m_p.model.reload();
    if (!m_p.model.figures().readable) {
        m_p.ui.showWarning(QStringLiteral("Fehler Lesen der Datei!"));
        return;
    }
    m_p.entryDialog().editMonth();
    m_p.mainForm().FormResize();
}

void MonthCommands::neuerstellen1Click() {
    TEingabeDlg &entry = m_p.entryDialog();
    TNameEingDlg &name = m_p.nameDialog();
    if (name.isVisible()) name.done(QDialog::Accepted);
    entry.startNewMonth();
}

void MonthCommands::Benutzernamendern1Click() {
    m_p.entryDialog().LiesUhrzeitenEin();
    m_p.nameDialog().askForNewName();
}

void MonthCommands::askUserNameAtStartup() {
    // Modal to the application, but the first paint returns at once.
    m_p.nameDialog().askAtStartup();
}

void MonthCommands::nameAccepted(const QString &name) {
    m_p.model.setUserName(name);
    m_p.mainForm().showUserName(name);
    // The remembered table stays current only when it is the new user's
    // (the name's two initials begin its file name); otherwise there is no
    // month, so that no drawing writes another user's name back.
    const QString table = m_p.model.settings().get(keys::TabellenDateiName);
    QString initials = name.left(1).toUpper();
    const qsizetype blank = name.indexOf(u' ');
    if (blank >= 0) initials += name.mid(blank + 1, 1).toUpper();
    const bool own = !table.isEmpty() && initials.size() >= 2 &&
                     QFileInfo(table.toUpper()).fileName().startsWith(initials) &&
                     QFileInfo(table).isFile();
    if (own) {
        if (table != m_p.model.tablePath()) openMonth(table);
    } else if (m_p.mainForm().leaveMonth()) {
        m_p.model.close();
    }
    neuerstellen1Click();
}

void MonthCommands::monthSaved(const QString &tablePath) {
    if (tablePath == m_p.model.tablePath())
        m_p.model.reload();
    else
        openMonth(tablePath);
}

void MonthCommands::unreadableTable() {
    undTabelleanzeigen1Click();
}
