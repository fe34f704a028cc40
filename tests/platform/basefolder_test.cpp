#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "platform/basefolder.h"
#include "platform/ui.h"
#include "recordingservices.h"
#include "testutil.h"

namespace {

// A start as the desktop makes it: HOME points at a fresh folder and the
// program starts in another folder, both made for the test; the current
// directory and HOME are restored afterwards.
class Start {
public:
    Start() : m_oldDir(QDir::currentPath()), m_oldHome(qgetenv("HOME")) {
        QDir().mkpath(home());
        QDir().mkpath(startDir());
        qputenv("HOME", QFile::encodeName(home()));
        QDir::setCurrent(startDir());
    }
    ~Start() {
        QDir::setCurrent(m_oldDir);
        qputenv("HOME", m_oldHome);
    }
    QString home() const { return m_tmp.path() + "home"; }
    QString startDir() const { return m_tmp.path() + "start"; }
    QString userFolder() const { return home() + "/Glykovalin"; }
    QString path(const QString &name) const { return m_tmp.path() + name; }

private:
    testutil::TempFolder m_tmp;
    QString m_oldDir;
    QByteArray m_oldHome;
};

QString canonical(const QString &path) {
    return QFileInfo(path).canonicalFilePath();
}

} // namespace

TEST(BaseFolder, FirstStartFillsAnEmptyPerUserFolderAndLaterStartsKeepTheUsersFiles) {
    Start start;
    ui::RecordingServices rec;
    ASSERT_TRUE(basefolder::enter(rec));
    EXPECT_TRUE(rec.shown.isEmpty()) << rec.texts().join(u'\n').toStdString();
    EXPECT_EQ(canonical(QDir::currentPath()), canonical(start.userFolder()));
    for (const QString &name : basefolder::deliveredFiles()) {
        const QString copy = start.userFolder() + u'/' + name;
        EXPECT_EQ(testutil::readBytes(copy), testutil::readBytes(testutil::beside(name)))
            << name.toStdString();
        EXPECT_TRUE(QFileInfo(copy).permissions() & QFileDevice::WriteOwner) << name.toStdString();
    }
    EXPECT_TRUE(QDir(start.startDir()).isEmpty()) << "the start folder stays untouched";

    // The user changed the settings and lost a picture; the next start from
    // the desktop keeps the settings and brings the picture back.
    const QString ini = start.userFolder() + "/glykoval.ini";
    testutil::writeBytes(ini, "[Einstellung]\r\nBenutzerName=Erika Muster\r\n");
    ASSERT_TRUE(QFile::remove(start.userFolder() + "/Header.bmp"));
    QDir::setCurrent(start.startDir());
    ASSERT_TRUE(basefolder::enter(rec));
    EXPECT_EQ(testutil::readBytes(ini), "[Einstellung]\r\nBenutzerName=Erika Muster\r\n");
    EXPECT_EQ(testutil::readBytes(start.userFolder() + "/Header.bmp"),
              testutil::readBytes(testutil::beside("Header.bmp")));
    EXPECT_TRUE(rec.shown.isEmpty());
}

TEST(BaseFolder, StartedInAFolderWithSettingsWorksThereAndCopiesNothing) {
    Start start;
    ui::RecordingServices rec;
    testutil::writeBytes(start.startDir() + "/glykoval.ini", "[Einstellung]\r\n");
    ASSERT_TRUE(basefolder::enter(rec));
    EXPECT_EQ(canonical(QDir::currentPath()), canonical(start.startDir()));
    EXPECT_FALSE(QFileInfo::exists(start.userFolder()));
    EXPECT_EQ(QDir(start.startDir()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries),
              QStringList({"glykoval.ini"}));
    EXPECT_TRUE(rec.shown.isEmpty());
}

TEST(BaseFolder, AnInstalledProgramFindsItsShareFolderAndNeverWorksInIt) {
    testutil::TempFolder tmp;
    const QString bin = tmp.path() + "usr/bin";
    const QString share = tmp.path() + "usr/share/glykovalin";
    const QString home = tmp.path() + "home";
    QDir().mkpath(bin);
    QDir().mkpath(share + "/scripts");
    EXPECT_EQ(basefolder::installedDataFolder(bin), "");
    EXPECT_EQ(basefolder::deliveredFolder(bin), "");
    for (const QString &name : basefolder::deliveredFiles())
        testutil::writeBytes(share + u'/' + name, name.toUtf8());
    EXPECT_EQ(basefolder::installedDataFolder(bin), share);
    EXPECT_EQ(basefolder::deliveredFolder(bin), share);

    // Started in the installation: the per-user folder, never the share folder.
    EXPECT_EQ(basefolder::choose(share, share, home), home + "/Glykovalin");
    EXPECT_EQ(basefolder::choose(share + "/", share, home), home + "/Glykovalin");
    EXPECT_EQ(basefolder::choose(tmp.path() + "usr", share, home), home + "/Glykovalin");
    testutil::writeBytes(tmp.path() + "glykoval.ini", "");
    EXPECT_EQ(basefolder::choose(tmp.path(), share, home), QDir::cleanPath(tmp.path()));

    // A program beside its delivered files (a build, a copied program).
    EXPECT_EQ(basefolder::deliveredFolder(share), share);
    EXPECT_EQ(basefolder::installedDataFolder(share), "");

    // Installed files are read-only; the user's copies are not.
    QFile::setPermissions(share + "/glykoval.ini", QFileDevice::ReadOwner | QFileDevice::ReadOther);
    QStringList notCopied;
    ASSERT_TRUE(basefolder::prepare(home + "/Glykovalin", share, notCopied));
    EXPECT_TRUE(notCopied.isEmpty());
    for (const QString &name : basefolder::deliveredFiles())
        EXPECT_EQ(testutil::readBytes(home + "/Glykovalin/" + name), name.toUtf8());
    EXPECT_TRUE(QFileInfo(home + "/Glykovalin/glykoval.ini").isWritable());
}

TEST(BaseFolder, AUserFolderThatCannotBeMadeEndsTheStartWithAGermanMessage) {
    Start start;
    testutil::writeBytes(start.userFolder(), "eine Datei, kein Ordner");
    ui::RecordingServices rec;
    EXPECT_FALSE(basefolder::enter(rec));
    ASSERT_EQ(rec.shown.size(), 1);
    EXPECT_EQ(rec.shown[0].kind, ui::Kind::Warning);
    EXPECT_EQ(rec.shown[0].text, "Ordner \"" + start.userFolder() +
                                     "\" konnte nicht erstellt werden! Das Programm wird beendet.");
    EXPECT_EQ(canonical(QDir::currentPath()), canonical(start.startDir()));
}

TEST(BaseFolder, FilesThatCannotBeCopiedAreNamedAndTheProgramRunsOn) {
    Start start;
    QDir().mkpath(start.userFolder());
    testutil::writeBytes(start.userFolder() + "/scripts", "eine Datei, kein Ordner");
    ui::RecordingServices rec;
    ASSERT_TRUE(basefolder::enter(rec));
    EXPECT_EQ(canonical(QDir::currentPath()), canonical(start.userFolder()));
    ASSERT_EQ(rec.shown.size(), 1);
    EXPECT_EQ(rec.shown[0].text, "Diese mitgelieferten Dateien konnten nicht in den Ordner \"" +
                                     start.userFolder() +
                                     "\" kopiert werden:\nscripts/Chart.min.js\n"
                                     "Das Programm läuft ohne sie weiter.");
    EXPECT_TRUE(QFileInfo::exists(start.userFolder() + "/glykoval.ini"));
    EXPECT_TRUE(QFileInfo::exists(start.userFolder() + "/Grafik4.bmp"));

    // Without any delivered files every one of them is named.
    QStringList notCopied;
    ASSERT_TRUE(basefolder::prepare(start.path("leer"), QString(), notCopied));
    EXPECT_EQ(notCopied, basefolder::deliveredFiles());
}

TEST(BaseFolder, TheProgramCopiesWhatTheInstallationDelivers) {
    QStringList installed =
        QString::fromLatin1(GLYKO_INSTALLED_DELIVERED).split(u',', Qt::SkipEmptyParts);
    QStringList copied = basefolder::deliveredFiles();
    installed.sort();
    copied.sort();
    EXPECT_EQ(copied, installed);
    for (const QString &name : copied)
        EXPECT_TRUE(QFileInfo(testutil::beside(name)).size() > 0) << name.toStdString();
}
