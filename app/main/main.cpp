#include <QApplication>
#include <QIcon>

#include "app/program.h"
#include "platform/basefolder.h"
#include "platform/german.h"
#include "platform/ui.h"

int main(int argc, char **argv) {
    QApplication app(argc, argv);
    german::setUp();
    QGuiApplication::setDesktopFileName(QStringLiteral("de.glykovalin.Glykovalin"));
    QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral("de.glykovalin.Glykovalin")));
    ui::DesktopServices services;
    if (!basefolder::enter(services)) return 1;
    return runProgram(app, services);
}
