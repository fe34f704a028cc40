#include "pause.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QTimer>

TMachPause::TMachPause(QObject *parent) : QObject(parent), m_timer(new QTimer(this)) {
    m_timer->setSingleShot(false);
    connect(m_timer, &QTimer::timeout, this, [this] { m_done = true; });
}

int TMachPause::Interval() const {
    return m_timer ? m_timer->interval() : 0;
}

void TMachPause::setInterval(int milliseconds) {
    if (m_timer) m_timer->setInterval(milliseconds);
}

void TMachPause::Pause(int milliseconds) {
    if (!m_timer) return;
    if (milliseconds != m_timer->interval()) m_timer->setInterval(milliseconds);
    m_done = false;
    m_timer->start();
    while (!m_done)
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
    m_timer->stop();
}

bool FolderExists(const QString &path) {
    const QFileInfo fi(path);
    return fi.exists() && fi.isDir();
}

bool ForceFolders(const QString &path, QString *error) {
    if (path.isEmpty()) {
        if (error) *error = QStringLiteral("Das Verzeichnis kann nicht erstellt werden");
        return false;
    }
    QString p = path;
    if (p.size() > 1 && (p.endsWith(u'/') || p.endsWith(u'\\'))) p.chop(1);
    if (FolderExists(p)) return true;
    return QDir().mkpath(p);
}
