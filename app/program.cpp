#include "program.h"

#include <QApplication>
#include <QDir>
#include <QEvent>
#include <QIcon>

#include "mainform.h"
#include "platform/german.h"
#include "platform/germaninterface.h"
#include "platform/ui.h"
#include "wiring.h"

namespace {

// Makes the program's other windows at the first key or mouse press, so
// that no input reaches a menu entry that is not yet connected.
class FirstInputWatch : public QObject {
public:
    explicit FirstInputWatch(Program &p) : m_program(p) {}

protected:
    bool eventFilter(QObject *, QEvent *e) override {
        switch (e->type()) {
        case QEvent::KeyPress:
        case QEvent::ShortcutOverride:
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick:
        case QEvent::ContextMenu:
        case QEvent::TouchBegin:
            m_program.makeOtherWindows(); // removes this filter
            break;
        default:
            break;
        }
        return false;
    }

private:
    Program &m_program;
};

} // namespace

Program::Program(ui::Services &services, const Folders &folders) : ui(services), session(folders) {}

Program::~Program() {
    delete MainForm;
}

void Program::makeOtherWindows() {
    if (m_othersMade) return;
    m_othersMade = true;
    // Safe inside the watch's own filter; the watch goes with the program.
    if (m_inputWatch) QCoreApplication::instance()->removeEventFilter(m_inputWatch.get());
    MainForm->setOtherWindowsMaker({});
    // In their creation order.
    wireEntry(*this);
    wirePrinting(*this);
    wireBook(*this);
    wireSettings(*this);
    wireStats(*this);
}

std::unique_ptr<Program> createProgram(ui::Services &services) {
    auto p = std::make_unique<Program>(services, Folders::at(QDir::currentPath()));
    p->MainForm = new TMainForm(p->session, services);
    if (!p->MainForm->FormCreate()) return nullptr;
    p->MainForm->restoreWindow();
    Program *program = p.get();
    p->MainForm->setOtherWindowsMaker([program] { program->makeOtherWindows(); });
    if (QCoreApplication *app = QCoreApplication::instance()) {
        p->m_inputWatch = std::make_unique<FirstInputWatch>(*p);
        app->installEventFilter(p->m_inputWatch.get());
    }
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
