#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>

#include "platform/ui.h"
#include "testutil.h"

// The desktop's opener tells whether it could show a file: xdg-open ends
// with a status other than 0 when there is no viewer or it fails. Here a
// stand-in opener on the PATH ends with the status of each case. It lies
// beside the test program, since the temporary folder may forbid running
// programs (noexec).
TEST(ShellOpen, TheOpenersStatusDecides) {
    QTemporaryDir bin(QCoreApplication::applicationDirPath() + "/opener-XXXXXX");
    ASSERT_TRUE(bin.isValid());
    testutil::TempFolder dir;
    const QString file = dir.file("Bericht.pdf");
    testutil::writeBytes(file, "%PDF-1.4\n");
    const QByteArray path = qgetenv("PATH");
    const struct {
        const char *script;
        bool shown;
    } cases[] = {{"exit 0", true}, {"exit 3", false}, {"exit 4", false}};
    for (const auto &c : cases) {
        const QString opener = bin.filePath("xdg-open");
        testutil::writeBytes(opener, QByteArray("#!/bin/sh\n") + c.script + "\n");
        QFile(opener).setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        qputenv("PATH", bin.path().toLocal8Bit());
        ui::DesktopServices services;
        EXPECT_EQ(services.shellOpen(file), c.shown) << c.script;
        qputenv("PATH", path);
    }
}
