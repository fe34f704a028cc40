#include <QApplication>
#include <QIcon>

#include "app/program.h"
#include "platform/basefolder.h"
#include "platform/german.h"

int main(int argc, char **argv) {
    QApplication app(argc, argv);
    german::setUp();
    QGuiApplication::setDesktopFileName(QStringLiteral("de.glykovalin.Glykovalin"));
    QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral("de.glykovalin.Glykovalin")));
    if (!basefolder::enter()) return 1;
    return runProgram(app);
}
