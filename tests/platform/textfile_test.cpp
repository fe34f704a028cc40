#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "support/filelimit.h"
#include "platform/textfile.h"
#include "testutil.h"

#include <cerrno>
#include <cstring>

using testutil::readBytes;

namespace {

QStringList filesIn(const QString &folder) {
    return QDir(folder).entryList(QDir::Files | QDir::Hidden);
}

} // namespace

// A write that fails after the temporary file was made (the disk fills up
// while it is written) keeps the old file byte for byte, leaves no temporary
// file behind and names the cause in German. The bytes stay below Qt's write
// buffer, where QSaveFile alone reports success and truncates the file.
TEST(TextFile, FailedWriteKeepsTheOldFileAndNamesTheCause) {
    testutil::TempFolder dir;
    const QString path = dir.file("MM032024.txt");
    const QByteArray old = QByteArray("Tag01: alt\r\n").repeated(50);
    testutil::writeBytes(path, old);
    const QByteArray big(10000, 'x');
    textfile::SaveResult r;
    {
        testutil::FileSizeLimit limit(4096);
        ASSERT_TRUE(limit.active());
        r = textfile::save(path, big);
    }
    EXPECT_FALSE(r.ok);
    EXPECT_TRUE(r.opened);
    EXPECT_TRUE(r.existed);
    EXPECT_EQ(r.code, EFBIG);
    EXPECT_EQ(r.reason, textfile::reasonOf(EFBIG));
    EXPECT_EQ(readBytes(path), old);
    EXPECT_EQ(filesIn(dir.path()), QStringList{"MM032024.txt"});
    const QString message = r.message(path);
    EXPECT_TRUE(message.contains(path)) << message.toStdString();
    EXPECT_TRUE(message.contains(QString::fromUtf8("größer als erlaubt"))) << message.toStdString();
    EXPECT_TRUE(message.contains(QString::fromUtf8("bisheriger Inhalt bleibt unverändert")));
    EXPECT_FALSE(message.contains(QString::fromLocal8Bit(std::strerror(EFBIG))));

    // The same through the line writer, and for a file that did not exist yet.
    QString why;
    {
        testutil::FileSizeLimit limit(100);
        EXPECT_FALSE(textfile::writeLines(path, QStringList(20, QString(20, u'y')), &why));
        EXPECT_FALSE(textfile::writeBytes(dir.file("neu.txt"), big, &why));
        EXPECT_TRUE(textfile::writeBytes(dir.file("klein.txt"), "passt", &why));
    }
    EXPECT_EQ(why, textfile::reasonOf(EFBIG));
    EXPECT_EQ(readBytes(path), old);
    EXPECT_FALSE(QFileInfo::exists(dir.file("neu.txt")));
    EXPECT_EQ(readBytes(dir.file("klein.txt")), QByteArray("passt"));
    EXPECT_FALSE(textfile::save(dir.file("neu.txt"), "x").existed);
}

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

// A file without write permission bits is not replaced, also when the
// administrator runs the program (who could write it); the reason says so.
TEST(TextFile, WriteProtectedFileIsNotReplaced) {
    testutil::TempFolder dir;
    const QString path = dir.file("glykoval.ini");
    testutil::writeBytes(path, "[Einstellung]\r\n");
    const auto readOnly = QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther;
    ASSERT_TRUE(QFile::setPermissions(path, readOnly));
    EXPECT_TRUE(textfile::isWriteProtected(path));
    const textfile::SaveResult r = textfile::save(path, "neu");
    EXPECT_FALSE(r.ok);
    EXPECT_TRUE(r.existed);
    EXPECT_EQ(r.reason, QString::fromUtf8("Die Datei ist schreibgeschützt."));
    EXPECT_TRUE(r.message(path).contains(path));
    EXPECT_EQ(readBytes(path), QByteArray("[Einstellung]\r\n"));
    EXPECT_EQ(QFileInfo(path).permissions() &
                  (readOnly | QFile::WriteOwner | QFile::WriteGroup | QFile::WriteOther),
              readOnly);
    EXPECT_EQ(filesIn(dir.path()), QStringList{"glykoval.ini"});
    EXPECT_FALSE(textfile::isWriteProtected(dir.file("neu.ini")));
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
    EXPECT_EQ(filesIn(dir.path()), QStringList{"bild.png"});
}
