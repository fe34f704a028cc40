// A start as far as the main window's first frame, for the start-up
// benchmark, which runs it as a process of its own:
//   glyko_startframe bare     a bare main window of the program's size with
//                             one text label
//   glyko_startframe program  the program's start, as main() does it
//   glyko_startframe month    the same, until the last month is on screen
// When the frame is painted it writes CLOCK_MONOTONIC in nanoseconds to
// standard output and ends the process at once.
#include <QApplication>
#include <QEvent>
#include <QLabel>
#include <QMainWindow>
#include <QTimer>
#include <cstdio>
#include <ctime>
#include <functional>
#include <unistd.h>

#include "app/mainform.h"
#include "app/program.h"
#include "platform/basefolder.h"
#include "platform/ui.h"

namespace {

[[noreturn]] void stampAndEnd() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    std::printf("%lld\n", static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec);
    std::fflush(stdout);
    _exit(0);
}

// After a paint of its window has been flushed: the stamp, when `done` says
// what is wanted is on screen.
struct FrameWatch : QObject {
    std::function<bool()> done = [] { return true; };
    bool eventFilter(QObject *, QEvent *e) override {
        if (e->type() == QEvent::Paint)
            QTimer::singleShot(0, qApp, [this] {
                if (done()) stampAndEnd();
            });
        return false;
    }
};

} // namespace

int main(int argc, char **argv) {
    const QByteArray mode = argc > 1 ? QByteArray(argv[1]) : QByteArray("program");
    QApplication app(argc, argv);
    FrameWatch watch;
    if (mode == "bare") {
        QMainWindow w;
        w.resize(1024, 760);
        w.setCentralWidget(new QLabel(QStringLiteral("Glykovalinmesswerte")));
        w.installEventFilter(&watch);
        w.show();
        return app.exec();
    }
    setUpApplication();
    ui::DesktopServices services;
    if (!basefolder::enter(services)) return 1;
    std::unique_ptr<Program> program = createProgram(services);
    if (!program) return 1;
    TMainForm *window = &program->mainForm();
    if (mode == "month") {
        watch.done = [window] { return window->monthShown(); };
        window->findChild<QWidget *>(QStringLiteral("Image"))->installEventFilter(&watch);
    }
    window->installEventFilter(&watch);
    window->show();
    return app.exec();
}
