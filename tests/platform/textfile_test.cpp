#include <gtest/gtest.h>

#include <QDir>

#include "platform/textfile.h"
#include "support/filelimit.h"
#include "testutil.h"

#include <cerrno>
#include <cstring>

using testutil::readBytes;

TEST(TextFile, CausesAreGermanSentences) {
    EXPECT_EQ(textfile::reasonOf(ENOSPC), QString::fromUtf8("Der Datenträger ist voll."));
    for (int code : {ENOSPC, EDQUOT, EFBIG, EACCES, EPERM, EROFS, ENOENT, ENOTDIR, EISDIR, EIO,
                     ENAMETOOLONG, EMFILE, ENOMEM, EBUSY, 0, 9999}) {
        const QString reason = textfile::reasonOf(code);
        EXPECT_TRUE(reason.endsWith(u'.')) << code;
        EXPECT_FALSE(reason.contains(QString::fromLocal8Bit(std::strerror(code)))) << code;
    }
    EXPECT_NE(textfile::reasonOf(EDQUOT), textfile::reasonOf(ENOSPC));
    EXPECT_NE(textfile::reasonOf(EROFS), textfile::reasonOf(EACCES));
    EXPECT_TRUE(textfile::reasonOf(9999).contains("9999"));
}

TEST(TextFile, FilesThatCannotBeMadeAreNamedByTheirCause) {
    testutil::TempFolder dir;
    textfile::SaveResult r = textfile::save(dir.file("fehlt/x.tab"), "x");
    EXPECT_FALSE(r.ok);
    EXPECT_FALSE(r.opened);
    EXPECT_EQ(r.code, ENOENT);
    EXPECT_EQ(r.reason, QStringLiteral("Der Ordner der Datei existiert nicht."));

    QDir(dir.path()).mkdir("ordner.tab");
    r = textfile::save(dir.file("ordner.tab"), "x");
    EXPECT_FALSE(r.opened);
    EXPECT_EQ(r.code, EISDIR);

    testutil::writeBytes(dir.file("datei"), "x");
    r = textfile::save(dir.file("datei/x.tab"), "x");
    EXPECT_EQ(r.code, ENOTDIR);
    EXPECT_EQ(readBytes(dir.file("datei")), QByteArray("x"));
}

// A file written in pieces: the first failure is kept, later writes fail at
// once, and the commit reports it without touching the old file.
TEST(TextFile, SafeFileWrittenInPiecesKeepsTheFirstFailure) {
    testutil::TempFolder dir;
    const QString path = dir.file("bild.png");
    testutil::writeBytes(path, "alt");
    {
        textfile::SafeFile f(path);
        ASSERT_TRUE(f.open());
        for (int i = 0; i < 4; ++i)
            EXPECT_EQ(f.write(QByteArray(1000, char('a' + i))), 1000);
        EXPECT_EQ(readBytes(path), QByteArray("alt"));
        EXPECT_TRUE(f.commit().ok);
    }
    EXPECT_EQ(readBytes(path).size(), 4000);
    textfile::SaveResult r;
    {
        testutil::FileSizeLimit limit(2500);
        ASSERT_TRUE(limit.active());
        textfile::SafeFile f(path);
        ASSERT_TRUE(f.open());
        EXPECT_EQ(f.write(QByteArray(2000, 'x')), 2000);
        EXPECT_EQ(f.write(QByteArray(2000, 'y')), -1);
        EXPECT_EQ(f.write(QByteArray(1, 'z')), -1);
        r = f.commit();
    }
    EXPECT_EQ(r.code, EFBIG);
    EXPECT_EQ(r.reason, textfile::reasonOf(EFBIG));
    EXPECT_EQ(readBytes(path).size(), 4000);
    EXPECT_EQ(testutil::filesIn(dir.path()).keys(), QStringList{"bild.png"});
}
