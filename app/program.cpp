#include "program.h"

#include <QApplication>
#include <QDir>
#include <QIcon>

#include "dialogs/backupcommands.h"
#include "dialogs/headerbearbeitendlg.h"
#include "mainform.h"
#include "monthcommands.h"
#include "platform/germaninterface.h"
#include "platform/ui.h"
#include "wiring.h"

Program::Program(ui::Services &services, const Folders &folders) : ui(services), model(folders) {}

Program::~Program() {
    delete m_mainForm;
}

TEingabeDlg &Program::entryDialog() {
    if (!m_entry) m_entry = makeEntryDialog(*this);
    return *m_entry;
}

TNameEingDlg &Program::nameDialog() {
    if (!m_name) m_name = makeNameDialog(*this);
    return *m_name;
}

THeaderBearbeitenDlg &Program::headerEditor() {
    if (!m_header) m_header = new THeaderBearbeitenDlg(ui, m_mainForm);
    return *m_header;
}

TTabellenDlg &Program::tableWindow() {
    if (!m_table) m_table = makeTableWindow(*this);
    return *m_table;
}

TDruckvorschauTabelleDlg &Program::tablePrintPreview() {
    if (!m_tablePreview) m_tablePreview = makeTablePrintPreview(*this);
    return *m_tablePreview;
}

TDruckvorschau &Program::graphPrintPreview() {
    if (!m_graphPreview) m_graphPreview = makeGraphPrintPreview(*this);
    return *m_graphPreview;
}

TTagebuchSpeichernForm &Program::diaryBookWindow() {
    if (!m_book) m_book = makeDiaryBookWindow(*this);
    return *m_book;
}

TEinstellDlg &Program::settingsDialog() {
    if (!m_settings) m_settings = makeSettingsDialog(*this);
    return *m_settings;
}

ImportDialog &Program::importDialog() {
    if (!m_import) m_import = makeImportDialog(*this);
    return *m_import;
}

std::unique_ptr<Program> createProgram(ui::Services &services) {
    auto p = std::make_unique<Program>(services, Folders::at(QDir::currentPath()));
    p->m_mainForm = new TMainForm(p->model, services);
    if (!p->m_mainForm->FormCreate()) return nullptr;
    p->m_mainForm->restoreWindow();
    p->m_commands = new MonthCommands(*p, p->m_mainForm);
    wireMonthCommands(*p);
    wirePrinting(*p);
    wireBook(*p);
    wireSettings(*p);
    wireStats(*p);
    p->m_backups = makeBackupCommands(*p);
    wireFiles(*p);
    // Looking the icon up in the icon theme reads the theme's whole index:
    // it waits until the start is on screen.
    QObject::connect(p->m_mainForm, &TMainForm::startShown, p->m_mainForm, setApplicationIcon);
    return p;
}

void setUpApplication() {
    QApplication::setApplicationName(QStringLiteral("Glykovalin"));
    german::setUp();
    QGuiApplication::setDesktopFileName(QStringLiteral("de.glykovalin.Glykovalin"));
}

void setApplicationIcon() {
    QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral("de.glykovalin.Glykovalin")));
}

int runProgram(QApplication &app, ui::Services &services) {
    std::unique_ptr<Program> program = createProgram(services);
    if (!program) return 1;
    QObject::connect(
        &program->mainForm(), &TMainForm::runEnded, &app, [] { QApplication::exit(0); },
        Qt::QueuedConnection);
    program->mainForm().show();
    const int code = app.exec();
    // After the settings were written: the day's automatic backup, when this
    // run changed a file of the user.
    program->backups().SicherungBeimBeenden();
    return code;
}
