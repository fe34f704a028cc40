#include <QApplication>
#include <csignal>

#include "app/program.h"
#include "platform/basefolder.h"
#include "platform/ui.h"

int main(int argc, char **argv) {
    std::signal(SIGXFSZ, SIG_IGN); // a write past "ulimit -f" fails with EFBIG and a message
    QApplication app(argc, argv);
    setUpApplication();
    ui::DesktopServices services;
    if (!basefolder::enter(services)) return 1;
    return runProgram(app, services);
}
