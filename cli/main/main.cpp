// glykovalin-cli: headless exports and scripted entries of a month, run in a
// folder that holds the delivered files.
#include <QApplication>
#include <csignal>

#include "cli/commands.h"
#include "platform/german.h"
#include "platform/germaninterface.h"

namespace {

// The headless commands print only their own messages, not the toolkit's
// notes about the missing display ("This plugin does not support raise()").
void quietToolkit(QtMsgType type, const QMessageLogContext &, const QString &message) {
    if (type == QtCriticalMsg || type == QtFatalMsg)
        fprintf(stderr, "%s\n", message.toLocal8Bit().constData());
}

} // namespace

int main(int argc, char **argv) {
    // A write past the file size limit fails (EFBIG) and is reported like a
    // full disk instead of ending the program without a word.
    std::signal(SIGXFSZ, SIG_IGN);
    qInstallMessageHandler(quietToolkit);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    german::setUp();
    QStringList args = app.arguments();
    args.removeFirst();
    return cli::run(args);
}
