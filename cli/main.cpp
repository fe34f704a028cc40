// glykovalin-cli: headless exports of a month, run in a folder that holds the
// delivered files.
#include <QApplication>
#include <QTextStream>
#include <cstdio>

#include "cli/commands.h"
#include "platform/german.h"

int main(int argc, char **argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    german::setUp();
    QStringList args = app.arguments();
    args.removeFirst();
    return cli::run(args);
}
