#include "machpause.h"

#include <QEventLoop>
#include <QTimer>

void TMachPause::Pause(int milliseconds) {
    m_interval = milliseconds;
    QEventLoop loop;
    QTimer::singleShot(milliseconds, &loop, &QEventLoop::quit);
    loop.exec();
}
