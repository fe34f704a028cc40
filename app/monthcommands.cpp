#include "monthcommands.h"

#include <QDate>
#include <QFileInfo>
#include <QLabel>

#include "dialogs/namedlg.h"
#include "entry/eingabedlg.h"
#include "mainform.h"
#include "platform/german.h"
#include "platform/ui.h"
#include "program.h"
#include "storage/monthmodel.h"
#include "storage/monthtable.h"

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

// The entry list holds the readings of the month as its file holds them.
void MonthCommands::fillEntryList() {
    TEingabeDlg &entry = m_p.entryDialog();
    const MonthResult &r = m_p.model.figures();
    entry.SpinEdit3->setFieldText(monthtable::yearOfPath(m_p.model.tablePath()));
    entry.setEntries(r.entries);
    if (!r.entryMonth.isEmpty()) entry.SpinEdit2->setFieldText(r.entryMonth);
}

void MonthCommands::heading(bool replaceEmptyName) {
    const MonthResult &r = m_p.model.figures();
    m_p.entryDialog().Label4->setText(QStringLiteral("Messwerte ") + r.tableDate +
                                      QStringLiteral("  ") + r.tableUser);
    if (!r.tableUser.isEmpty() || replaceEmptyName) m_p.model.setUserName(r.tableUser);
}

void MonthCommands::today() {
    m_p.entryDialog().Label3->setText(QStringLiteral("Heute ist der ") +
                                      german::date(QDate::currentDate()));
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
    m_p.entryDialog().openTableOnShow();
    undTabellebearbeiten1Click();
    m_p.mainForm().FormResize();
}

void MonthCommands::undTabellebearbeiten1Click() {
    TEingabeDlg &entry = m_p.entryDialog();
    const QString file = chooseFile();
    if (file.isEmpty() || !openMonth(file)) {
        entry.openTableOnShow(false);
        m_p.mainForm().FormResize();
        return;
    }
    entry.clearYearMismatch();
    entry.LiesUhrzeitenEin();
    heading(true);
    m_p.model.applyModeOf(file);
    if (!m_p.model.figures().readable) {
        entry.clearEntries();
        m_p.ui.showWarning(QStringLiteral("Fehler Lesen der Datei!"));
        return;
    }
    fillEntryList();
    today();
    entry.showModally();
    m_p.mainForm().FormResize();
}

void MonthCommands::anzeigen1Click() {
    emit tableWindowRequested(m_p.entryDialog().tableText(), true);
    m_p.mainForm().FormResize();
}

void MonthCommands::aktuellebearbeiten1Click() {
    TEingabeDlg &entry = m_p.entryDialog();
    entry.clearYearMismatch();
    entry.LiesUhrzeitenEin();
    if (QFileInfo(m_p.model.tablePath()).isFile()) {
        // What another program wrote meanwhile is in the list too.
        m_p.model.reload();
        heading(false);
        if (!m_p.model.figures().readable) {
            entry.clearEntries();
            m_p.ui.showWarning(QStringLiteral("Fehler Lesen der Datei!"));
            return;
        }
        fillEntryList();
        today();
        entry.showModally();
    } else {
        neuerstellen1Click();
    }
    m_p.mainForm().FormResize();
}

void MonthCommands::neuerstellen1Click() {
    TEingabeDlg &entry = m_p.entryDialog();
    entry.Label4->setText(QStringLiteral("Messwerte von ") + m_p.model.userName());
    entry.clearEntries();
    entry.clearYearMismatch();
    const QDate d = QDate::currentDate();
    entry.Label3->setText(QStringLiteral("Heute ist der ") + german::date(d));
    entry.SpinEdit2->setValue(d.month());
    entry.SpinEdit3->setValue(d.year());
    entry.LiesUhrzeitenEin();
    TNameEingDlg &name = m_p.nameDialog();
    if (name.isVisible()) name.done(QDialog::Accepted);
    entry.showNonModal();
}

void MonthCommands::Benutzernamendern1Click() {
    m_p.entryDialog().LiesUhrzeitenEin();
    TNameEingDlg &name = m_p.nameDialog();
    name.atStartup = false;
    name.open();
}

void MonthCommands::askUserNameAtStartup() {
    // Modal to the application, but the first paint returns at once.
    TNameEingDlg &name = m_p.nameDialog();
    name.atStartup = true;
    name.open();
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
    m_p.entryDialog().Label4->setText(QStringLiteral("Messwerte von ") + name);
    neuerstellen1Click();
}

void MonthCommands::monthSaved(const QString &tablePath) {
    if (tablePath == m_p.model.tablePath())
        m_p.model.reload();
    else
        openMonth(tablePath);
}

void MonthCommands::unreadableTable() {
    m_p.entryDialog().openTableOnShow();
    undTabellebearbeiten1Click();
    m_p.mainForm().FormResize();
}
