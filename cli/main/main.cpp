// glykovalin-cli: headless exports and scripted entries of a month, run in a
// folder that holds the delivered files.
#include <QApplication>
#include <QLocale>
#include <csignal>
#include <memory>

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
    // Only the commands that draw load the toolkit's display and fonts; the
    // others start in a fraction of the time.
    std::unique_ptr<QCoreApplication> app;
    if (argc > 1 && cli::draws(QString::fromLocal8Bit(argv[1]))) {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
        app = std::make_unique<QApplication>(argc, argv);
        german::setUp();
    } else {
        app = std::make_unique<QCoreApplication>(argc, argv);
        QLocale::setDefault(german::locale());
    }
    QStringList args = app->arguments();
    args.removeFirst();
    return cli::run(args);
}
