#include <QApplication>

#include "app/program.h"
#include "platform/basefolder.h"
#include "platform/ui.h"

int main(int argc, char **argv) {
    QApplication app(argc, argv);
    setUpApplication();
    ui::DesktopServices services;
    if (!basefolder::enter(services)) return 1;
    return runProgram(app, services);
}
