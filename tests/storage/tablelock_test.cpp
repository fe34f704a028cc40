#include <gtest/gtest.h>

#include <QFileInfo>
#include <QLockFile>

#include "storage/tablelock.h"
#include "testutil.h"

#include <sys/wait.h>
#include <unistd.h>

using namespace std::chrono_literals;

// A second writer of the same table waits the given time and gives up with
// a German message naming the table; once the first lets go it gets the lock.
TEST(TableLock, SecondWriterGivesUpAfterTheWait) {
    testutil::TempFolder dir;
    const QString table = dir.file("MM032024.tab");
    TableLock first(table);
    ASSERT_TRUE(first.acquire());
    EXPECT_TRUE(QFileInfo::exists(TableLock::lockPathOf(table)));
    TableLock second(table);
    QString error;
    EXPECT_FALSE(second.acquire(&error, 200ms));
    EXPECT_TRUE(error.contains(table)) << error.toStdString();
    EXPECT_TRUE(error.contains(QString::fromUtf8("von einem anderen Vorgang geändert")));
    // Another table is not held up.
    TableLock other(dir.file("MM042024.tab"));
    EXPECT_TRUE(other.acquire(nullptr, 0ms));
    first.release();
    EXPECT_TRUE(second.acquire(nullptr, 200ms));
    second.release();
    EXPECT_FALSE(QFileInfo::exists(TableLock::lockPathOf(table)));
}

// A writer that was killed while it held the lock leaves the lock file
// behind; the next writer takes it over at once instead of waiting for it to
// grow old.
TEST(TableLock, LockOfAProcessThatDiedIsTakenOver) {
    testutil::TempFolder dir;
    const QString table = dir.file("MM032024.tab");
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        QLockFile lock(TableLock::lockPathOf(table));
        _exit(lock.tryLock(0) ? 0 : 1); // ends without letting go
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    ASSERT_TRUE(QFileInfo::exists(TableLock::lockPathOf(table)));
    TableLock next(table);
    QString error;
    EXPECT_TRUE(next.acquire(&error, 1000ms)) << error.toStdString();
}
