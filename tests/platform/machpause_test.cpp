#include <gtest/gtest.h>

#include <QDir>
#include <QTimer>

#include "platform/folders.h"
#include "platform/machpause.h"
#include "testutil.h"

TEST(Pause, ProcessesEventsAndKeepsInterval) {
    TMachPause pause;
    pause.setInterval(1000);
    bool fired = false;
    QTimer::singleShot(10, [&] { fired = true; });
    pause.Pause(50);
    EXPECT_TRUE(fired);
    EXPECT_EQ(pause.Interval(), 50);
}

TEST(Folders, ForceCreatesParents) {
    testutil::TempFolder dir;
    const QString deep = dir.path() + "A/B/C/";
    QDir().mkpath(dir.path() + "A");
    EXPECT_FALSE(FolderExists(deep));
    EXPECT_TRUE(ForceFolders(deep));
    EXPECT_TRUE(FolderExists(dir.path() + "A/B/C"));
    EXPECT_TRUE(ForceFolders(deep));
    QString error;
    EXPECT_FALSE(ForceFolders(QString(), &error));
    EXPECT_EQ(error, QStringLiteral("Das Verzeichnis kann nicht erstellt werden"));
    EXPECT_FALSE(FolderExists(dir.file("nothing")));
}
