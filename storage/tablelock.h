#pragma once
#include <QString>
#include <chrono>
#include <memory>

class QLockFile;

// The lock a writer holds on one month table while it reads, changes and
// writes it (the entry dialog's save, "add", the import, a restore): a lock
// file beside the table, "NAME.tab.lock". A second writer waits for it a few
// seconds and then gives up with a message, so neither loses the other's
// readings. A lock left by a process that ended without removing it is taken
// over.
class TableLock {
public:
    static constexpr std::chrono::milliseconds kWait{5000};
    // A lock older than this whose owner cannot be asked counts as left over.
    static constexpr std::chrono::milliseconds kStale{30000};
    // Milliseconds between two tries while another writer holds the lock.
    static constexpr unsigned long kRetry = 5;

    explicit TableLock(const QString &tablePath);
    ~TableLock();
    TableLock(const TableLock &) = delete;
    TableLock &operator=(const TableLock &) = delete;

    // Takes the lock, waiting at most `wait`. False with the German reason in
    // *error when another writer holds it or the lock file cannot be made.
    bool acquire(QString *error = nullptr);
    bool acquire(QString *error, std::chrono::milliseconds wait);
    // The wait of acquire() without one (kWait unless set otherwise, as a
    // test does to keep its clock short).
    static void setDefaultWait(std::chrono::milliseconds wait);
    bool isHeld() const { return m_held; }
    // Gives the lock back (the destructor does it too).
    void release();

    // The lock file of a table.
    static QString lockPathOf(const QString &tablePath);

private:
    QString m_table;
    std::unique_ptr<QLockFile> m_lock;
    bool m_held = false;
};
