#include "tablelock.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QLockFile>
#include <QThread>

TableLock::TableLock(const QString &tablePath)
    : m_table(tablePath), m_lock(std::make_unique<QLockFile>(lockPathOf(tablePath))) {
    m_lock->setStaleLockTime(int(kStale.count()));
}

TableLock::~TableLock() {
    release();
}

QString TableLock::lockPathOf(const QString &tablePath) {
    return tablePath + QStringLiteral(".lock");
}

namespace {
std::chrono::milliseconds g_defaultWait = TableLock::kWait;
} // namespace

void TableLock::setDefaultWait(std::chrono::milliseconds wait) {
    g_defaultWait = wait;
}

bool TableLock::acquire(QString *error) {
    return acquire(error, g_defaultWait);
}

bool TableLock::acquire(QString *error, std::chrono::milliseconds wait) {
    if (m_held) return true;
    // A table in a year folder that does not exist yet: its folder is made
    // by the write, the lock waits for nothing.
    const QFileInfo folder(QFileInfo(m_table).absolutePath());
    if (!folder.isDir()) QDir().mkpath(folder.absoluteFilePath());
    // Asked again every few milliseconds: another writer holds the lock only
    // for the moment of its own write.
    QElapsedTimer waited;
    waited.start();
    for (;;) {
        m_held = m_lock->tryLock(0);
        if (m_held || m_lock->error() != QLockFile::LockFailedError ||
            waited.elapsed() >= wait.count())
            break;
        QThread::msleep(kRetry);
    }
    if (m_held || !error) return m_held;
    const QString table = QDir::toNativeSeparators(m_table);
    switch (m_lock->error()) {
    case QLockFile::LockFailedError:
        *error = QStringLiteral("Die Tabelle „%1“ wird gerade von einem anderen Vorgang "
                                "geändert. Es wurde nichts gespeichert; bitte versuchen Sie es "
                                "gleich noch einmal.")
                     .arg(table);
        break;
    case QLockFile::PermissionError:
        *error = QStringLiteral("Die Tabelle „%1“ kann nicht gesperrt werden, weil im Ordner "
                                "die Berechtigung zum Schreiben fehlt. Es wurde nichts "
                                "gespeichert.")
                     .arg(table);
        break;
    default:
        *error = QStringLiteral("Die Tabelle „%1“ kann nicht gesperrt werden. Es wurde nichts "
                                "gespeichert.")
                     .arg(table);
        break;
    }
    return false;
}

void TableLock::release() {
    if (!m_held) return;
    m_lock->unlock();
    m_held = false;
}
