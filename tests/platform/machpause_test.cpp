#include <gtest/gtest.h>

#include <QTimer>

#include "platform/machpause.h"

TEST(Pause, ProcessesEventsAndKeepsInterval) {
    TMachPause pause;
    pause.setInterval(1000);
    bool fired = false;
    QTimer::singleShot(10, [&] { fired = true; });
    pause.Pause(50);
    EXPECT_TRUE(fired);
    EXPECT_EQ(pause.Interval(), 50);
}
