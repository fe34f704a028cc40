#include "monthcommands.h"

#include <QAction>
#include <QDate>
#include <QFileInfo>
#include <QLabel>

#include "dialogs/namedlg.h"
#include "diary/diarypage.h"
#include "entry/eingabedlg.h"
#include "mainform.h"
#include "platform/convert.h"
#include "platform/german.h"
#include "platform/ui.h"
#include "storage/monthsession.h"
#include "storage/monthtable.h"

MonthCommands::MonthCommands(MonthSession &session, ui::Services &ui, TMainForm &window,
                             TEingabeDlg &entry, TNameEingDlg &nameDialog, QObject *parent)
    : QObject(parent), m_session(session), m_ui(ui), m_window(window), m_entry(entry),
      m_nameDialog(nameDialog) {}

// The open dialog in the data folder, month tables first.
QString MonthCommands::chooseFile() const {
    return m_ui.openFileName(&m_window, QStringLiteral("Öffnen"),
                             m_session.folders().data + QStringLiteral("*.tab"),
                             QStringLiteral("Glykovalin-Tabellen (*.tab);;Alle Dateien (*.*)"));
}

bool MonthCommands::attachTable(const QString &path) {
    if (!m_window.page().leavePage()) return false;
    QString error;
    if (!m_session.attach(path, &error) && !m_session.settings().isReadOnly())
        m_ui.showWarning(error);
    m_window.page().monthChanged();
    return true;
}

// The measure mode the table stores; a table that names none unticks both
// entries and keeps the template.
void MonthCommands::applyMode(const QString &table) {
    const SettingsStore header(table);
    const QString sec = monthtable::kSection;
    const bool four = convert::flag(header.read(sec, keys::BisZu4));
    const bool eight = convert::flag(header.read(sec, keys::BisZu8));
    m_window.applyModeTicks(four, eight);
}

// The table's entry lines into the entry list; false after a read error.
bool MonthCommands::readIntoList(const QString &table) {
    QStringList lines;
    if (!monthtable::readLines(table, lines)) {
        m_ui.showWarning(QStringLiteral("Fehler Lesen der Datei!"));
        return false;
    }
    for (const QString &line : monthtable::entryLines(lines)) {
        m_entry.appendEntry(line);
        if (!line.contains(u'.')) continue;
        const QString month = entryline::monthOf(line);
        m_entry.SpinEdit2->setFieldText(month);
        m_session.setEntryMonth(month, entryline::yearOf(line));
    }
    return true;
}

void MonthCommands::heading(bool replaceEmptyName) {
    const QString table = m_session.tablePath();
    const SettingsStore header(table);
    const QString sec = monthtable::kSection;
    const bool known = QFileInfo(table).isFile();
    const QString date = known ? header.read(sec, QStringLiteral("Datum")) : QString();
    const QString name = known ? header.read(sec, keys::BenutzerName) : QString();
    m_entry.Label4->setText(QStringLiteral("Messwerte ") + date + QStringLiteral("  ") + name);
    if (!name.isEmpty() || replaceEmptyName) m_session.setUserName(name);
}

void MonthCommands::today() {
    m_entry.Label3->setText(QStringLiteral("Heute ist der ") + german::date(QDate::currentDate()));
}

void MonthCommands::undalsGrafikanzeigen1Click() {
    const QString file = chooseFile();
    if (!file.isEmpty() && attachTable(file)) {
        applyMode(file);
        m_window.MittelwertImage->setPicture(m_window.LeerImage->picture());
        m_window.showMonth(file);
    }
    m_window.FormResize();
}

void MonthCommands::undTabelleanzeigen1Click() {
    m_entry.openTableOnShow();
    undTabellebearbeiten1Click();
    m_window.FormResize();
}

void MonthCommands::undTabellebearbeiten1Click() {
    const QString file = chooseFile();
    if (file.isEmpty() || !attachTable(file)) {
        m_entry.openTableOnShow(false);
        m_window.FormResize();
        if (file.isEmpty()) m_window.page().MacheinenKlickAufGrafik();
        return;
    }
    m_entry.clearEntries();
    m_entry.clearYearMismatch();
    m_entry.SpinEdit3->setFieldText(monthtable::yearOfPath(file));
    m_entry.LiesUhrzeitenEin();
    heading(true);
    applyMode(file);
    if (!readIntoList(file)) return;
    today();
    m_entry.showModally();
    m_window.FormResize();
    m_window.page().MacheinenKlickAufGrafik();
}

void MonthCommands::anzeigen1Click() {
    emit tableWindowRequested(m_entry.tableText(), true);
    m_window.FormResize();
}

void MonthCommands::aktuellebearbeiten1Click() {
    m_entry.clearYearMismatch();
    m_entry.clearEntries();
    m_entry.LiesUhrzeitenEin();
    heading(false);
    if (QFileInfo(m_session.tablePath()).isFile()) {
        if (!readIntoList(m_session.tablePath())) return;
        today();
        m_entry.showModally();
    } else {
        neuerstellen1Click();
    }
    m_window.FormResize();
}

void MonthCommands::neuerstellen1Click() {
    m_entry.Label4->setText(QStringLiteral("Messwerte von ") + m_session.userName());
    m_entry.clearEntries();
    m_entry.clearYearMismatch();
    const QDate d = QDate::currentDate();
    m_entry.Label3->setText(QStringLiteral("Heute ist der ") + german::date(d));
    m_entry.SpinEdit2->setValue(d.month());
    m_entry.SpinEdit3->setValue(d.year());
    m_entry.LiesUhrzeitenEin();
    m_newMonthPending = true;
    if (m_nameDialog.isVisible()) m_nameDialog.done(QDialog::Accepted);
    m_entry.showNonModal();
}

void MonthCommands::Benutzernamendern1Click() {
    m_entry.LiesUhrzeitenEin();
    m_nameDialog.atStartup = false;
    m_nameDialog.open();
}

void MonthCommands::askUserNameAtStartup() {
    // Modal to the application, but the first paint returns at once.
    m_nameDialog.atStartup = true;
    m_nameDialog.open();
}

void MonthCommands::nameAccepted(const QString &name) {
    m_reselectAfterEntry = true;
    m_window.showUserName(name);
    m_entry.Label4->setText(QStringLiteral("Messwerte von ") + name);
}

void MonthCommands::drawFromEntry(const QString &tablePath) {
    // A new month's file becomes the current table when it is first drawn.
    if (m_newMonthPending && tablePath != m_session.tablePath()) attachTable(tablePath);
    m_newMonthPending = false;
    m_window.page().skipNextReselect();
    m_window.drawMonth(tablePath);
}

void MonthCommands::afterGraphFromEntry() {
    m_window.FormResize();
    if (m_reselectAfterEntry) m_window.page().MacheinenKlickAufGrafik();
    m_reselectAfterEntry = false;
    m_window.LayoutControls();
}

void MonthCommands::tableFromEntry(const QString &tableText) {
    if (m_reselectAfterEntry) m_window.page().MacheinenKlickAufGrafik();
    m_reselectAfterEntry = false;
    emit tableWindowRequested(tableText, false);
}

void MonthCommands::unreadableTable() {
    m_entry.openTableOnShow();
    undTabellebearbeiten1Click();
    m_window.FormResize();
}

void MonthCommands::fillEntryList(const QString &tablePath) {
    const MonthResult &r = m_session.drawn();
    m_entry.SpinEdit3->setFieldText(monthtable::yearOfPath(tablePath));
    m_entry.setEntries(r.entries);
    if (!r.entryMonth.isEmpty()) m_entry.SpinEdit2->setFieldText(r.entryMonth);
}
