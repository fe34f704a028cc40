#include "program.h"

#include <QApplication>

#include "aboutbox.h"
#include "dialogs/readonlydlg.h"
#include "graph/monthgraph.h"
#include "mainform.h"
#include "wiring.h"

// The dialogs are children of the main window and go with it.
Program::~Program() {
    delete MainForm;
    delete MonthGraph;
}

std::unique_ptr<Program> createProgram() {
    auto p = std::make_unique<Program>();
    p->MainForm = new TMainForm;
    if (!p->MainForm->FormCreate()) return nullptr;
    p->AboutBox = new TAboutBox(p->MainForm);
    p->readonlyDlg = new TreadonlyDlg(p->MainForm);
    p->MainForm->setAboutBox(p->AboutBox);
    p->MainForm->setReadonlyDlg(p->readonlyDlg);
    // Subsystem windows, in creation order.
    wireEntry(*p);
    wireGraph(*p);
    wirePrinting(*p);
    wireBook(*p);
    wireDiary(*p);
    wireStats(*p);
    return p;
}

int runProgram(QApplication &app) {
    QApplication::setApplicationName(QStringLiteral("Glykovalin"));
    std::unique_ptr<Program> program = createProgram();
    if (!program) return 1;
    program->MainForm->show();
    const int rc = app.exec();
    return rc;
}
