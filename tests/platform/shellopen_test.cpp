#include <gtest/gtest.h>

#include <QFile>

#include "platform/ui.h"
#include "testutil.h"

// The desktop's opener tells whether it could show a file: xdg-open ends
// with a status other than 0 when there is no viewer or it fails. Here a
// stand-in opener on the PATH ends with the status of each case.
TEST(ShellOpen, TheOpenersStatusDecides) {
    testutil::TempFolder dir;
    const QString file = dir.file("Bericht.pdf");
    testutil::writeBytes(file, "%PDF-1.4\n");
    const QByteArray path = qgetenv("PATH");
    const struct {
        const char *script;
        bool shown;
    } cases[] = {{"exit 0", true}, {"exit 3", false}, {"exit 4", false}};
    for (const auto &c : cases) {
        testutil::writeBytes(dir.file("xdg-open"), QByteArray("#!/bin/sh\n") + c.script + "\n");
        QFile(dir.file("xdg-open")).setPermissions(QFile::ReadOwner | QFile::ExeOwner);
        qputenv("PATH", dir.path().toLocal8Bit());
        ui::DesktopServices services;
        EXPECT_EQ(services.shellOpen(file), c.shown) << c.script;
        qputenv("PATH", path);
    }
}
