#include "program.h"

#include <QApplication>
#include <QDir>
#include <QIcon>

#include "mainform.h"
#include "platform/german.h"
#include "platform/ui.h"
#include "wiring.h"

Program::Program(ui::Services &services, const Folders &folders) : ui(services), session(folders) {}

Program::~Program() {
    delete MainForm;
}

std::unique_ptr<Program> createProgram(ui::Services &services) {
    auto p = std::make_unique<Program>(services, Folders::at(QDir::currentPath()));
    p->MainForm = new TMainForm(p->session, services);
    if (!p->MainForm->FormCreate()) return nullptr;
    // The other windows, in their creation order.
    wireEntry(*p);
    wirePrinting(*p);
    wireBook(*p);
    wireSettings(*p);
    wireStats(*p);
    p->MainForm->restoreWindow();
    return p;
}

void setUpApplication() {
    QApplication::setApplicationName(QStringLiteral("Glykovalin"));
    german::setUp();
    QGuiApplication::setDesktopFileName(QStringLiteral("de.glykovalin.Glykovalin"));
    QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral("de.glykovalin.Glykovalin")));
}

int runProgram(QApplication &app, ui::Services &services) {
    std::unique_ptr<Program> program = createProgram(services);
    if (!program) return 1;
    QObject::connect(
        program->MainForm, &TMainForm::runEnded, &app, [] { QApplication::exit(0); },
        Qt::QueuedConnection);
    program->MainForm->show();
    return app.exec();
}
