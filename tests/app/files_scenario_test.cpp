// Readings from a meter's file and the backups, from the main menu of the
// real program: the month on screen follows what they wrote.

#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QTest>

#include "platform/profile.h"
#include "scenario.h"

using scenario::App;
using scenario::Folder;
using MS = MeasurementSlot;

// A mylife file imported from the menu: "Übernehmen" writes the month and
// the program shows it at once, with its diary.
TEST(FilesScenario, AnImportedMonthIsShownAtOnce) {
    Folder f({"BenutzerName=Max Muster"});
    const QString source = f.path() + "mylife.csv";
    ASSERT_TRUE(QFile::copy(QStringLiteral(GLYKO_IMPORT_DATA "/mylife.csv"), source));
    App app;
    app.rec.fileNames.enqueue(source);
    app.menu("MesswerteausDatei1");
    auto *dlg = app.window().findChild<QDialog *>("ImportDlg");
    ASSERT_TRUE(dlg && dlg->isVisible()) << app.rec.texts().join('|').toStdString();
    QTest::mouseClick(&testutil::child<QPushButton>(*dlg, "ApplyBtn"), Qt::LeftButton);
    App::settle();
    const QString table = f.data() + "2024/MM032024.tab";
    ASSERT_TRUE(QFile::exists(table)) << app.rec.texts().join('|').toStdString();
    EXPECT_EQ(app.program().model.tablePath(), table);
    EXPECT_TRUE(app.window().monthShown());
    EXPECT_EQ(app.program().model.diary().path(), f.data() + "2024/MM032024.txt");
    EXPECT_EQ(f.setting("TabellenDateiName"), table);
}

// A backup made from the menu and restored after the month was changed:
// the month on screen is the restored one, and the state before the
// restore lies in the backup folder.
TEST(FilesScenario, ARestoreShowsTheRestoredMonth) {
    Folder f({"BenutzerName=Max Muster"});
    const QString backups = f.path() + "../sicherungen-" + QFileInfo(f.path()).fileName();
    profile::write(f.ini(), "Einstellung", "SicherungsOrdner", backups);
    const QString table = scenario::storeTable(
        f, 3, 2024, {scenario::reading(MS::Morgens, 2, 3, 2024, "07:00", 111)});
    const QByteArray stored = testutil::readBytes(table);
    App app;
    ASSERT_TRUE(app.window().monthShown());
    const QString archive = f.path() + "../" + QFileInfo(f.path()).fileName() + "-sicherung.zip";
    app.rec.fileNames.enqueue(archive);
    app.menu("Sicherungerstellen1");
    ASSERT_TRUE(QFile::exists(archive)) << app.rec.texts().join('|').toStdString();

    // Changed afterwards by another writer, then restored.
    scenario::storeTable(f, 3, 2024, {scenario::reading(MS::Morgens, 2, 3, 2024, "07:00", 222)});
    app.program().model.reload();
    app.rec.fileNames.enqueue(archive);
    app.whenModal([](QWidget *dlg) {
        QTest::mouseClick(&testutil::child<QPushButton>(*dlg, "WiederherstellenBtn"),
                          Qt::LeftButton);
    });
    app.menu("Sicherungwiederherstellen1");
    EXPECT_EQ(testutil::readBytes(table), stored);
    EXPECT_TRUE(app.program().model.figures().dayLineTexts[1].contains("ZuckerWert=111"));
    EXPECT_FALSE(QDir(backups).entryList({"*vor-Wiederherstellung.zip"}).isEmpty());
    QFile::remove(archive);
    QDir(backups).removeRecursively();
}
