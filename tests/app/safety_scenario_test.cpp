// Scenarios in which the program used to crash or lose readings.

#include <QDate>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>

#include "diary/diarypage.h"
#include "entry/eingabedlg.h"
#include "platform/profile.h"
#include "scenario.h"
#include "storage/monthtable.h"
#include "support/entrycontrols.h"
#include "support/filelimit.h"

using scenario::App;
using scenario::Folder;

using scenario::StoredMonth;
using testutil::child;

TEST(SafetyScenario, PointerOverLegendAndMeanCaptionShowsTheReadout) {
    StoredMonth s;
    App app;
    ASSERT_TRUE(app.find<QWidget>("MittelwertImage")->isVisible());
    // Over the legend (pinned at the left edge, left of client x 40) the
    // readout is empty; over the mean caption it reads the value there.
    QTest::mouseMove(app.find<QWidget>("M_einheit_Image"), QPoint(20, 201));
    App::settle();
    EXPECT_EQ(app.find<QLabel>("StatusLabel")->text(), QString());
    const QPoint onCaption(100, 5);
    QTest::mouseMove(app.find<QWidget>("MittelwertImage"), onCaption);
    App::settle();
    const int graphY = app.find<QWidget>("MittelwertImage")
                           ->mapTo(app.find<QWidget>("ScrollBox1"), onCaption)
                           .y() -
                       app.find<QWidget>("Image")->y();
    EXPECT_EQ(app.find<QLabel>("StatusLabel")->text(),
              "Cursor befindet sich auf: " + graphgeo::readoutValueText(graphY + 49) + " mg/dl");
    QTest::mouseMove(app.find<QWidget>("Pfeilimage"), QPoint(2, 2));
    QTest::mouseMove(app.find<QWidget>("Image"), QPoint(600, 300));
    App::settle();
    EXPECT_TRUE(app.find<QLabel>("StatusLabel")->text().startsWith("Cursor befindet sich auf: "));
}

TEST(SafetyScenario, SettingsOpenedWithAMovedTableLeaveTheMonthAlone) {
    StoredMonth s({"BenutzerName=Max Muster"}, false);
    profile::write(s.f.ini(), "Einstellung", "TabellenDateiName",
                   "/verschoben/Glykovalin-Daten/" + QString::number(s.year) + "/" +
                       scenario::tableName(s.month, s.year));
    App app;
    app.whenModal([](QWidget *dlg) {
        child<QSpinBox>(*dlg, "SpinEdit1").setValue(200); // a limit change redraws
        child<QPushButton>(*dlg, "OKBtn").click();
    });
    app.menu("Einstellungen");
    app.menu("Messwerte");
    app.menu("Mittelwert");
    app.menu("biszu8MessungenjeTag");
    app.menu("biszu4MessungenjeTag");
    EXPECT_EQ(s.onDisk(), s.bytes);
}

// A new month over the stored one: Escape with an unsaved reading asks
// first, and a reading thrown away does not come back, neither into the
// month on screen nor into the next new month's list.
TEST(SafetyScenario, NewMonthOverTheStoredOneKeepsTheStoredReadings) {
    StoredMonth s;
    App app;
    QDialog *entry = &app.program().entryDialog();
    const EntryControls e(entry);
    app.menu("neuerstellen1");
    ASSERT_TRUE(entry->isVisible());
    e.add(20, "08:00", 150);
    ASSERT_EQ(e.lines().size(), 1);
    app.rec.answers.enqueue(ui::Answer::No); // keep editing
    QTest::keyClick(entry, Qt::Key_Escape);
    EXPECT_TRUE(entry->isVisible());
    EXPECT_TRUE(app.rec.texts().join('|').contains("Möchten Sie wirklich abbrechen?"));
    app.rec.answers.enqueue(ui::Answer::Yes); // discard the unsaved reading
    QTest::keyClick(entry, Qt::Key_Escape);
    App::settle();
    EXPECT_FALSE(entry->isVisible());
    app.menu("Messwerte");
    EXPECT_EQ(s.onDisk(), s.bytes);
    // The dropped reading does not come back into the month on screen.
    EXPECT_EQ(app.program().model.figures().dayLineTexts[19], QString());
    app.menu("neuerstellen1");
    EXPECT_EQ(e.lines(), QStringList());
}

// A month saved for the first time is the current month with its own diary:
// the day selected before shows its reading at once, no page of the month
// before, and a stored page lies beside the new table.
TEST(SafetyScenario, NewMonthWithoutDiaryShowsAndStoresNoOldPage) {
    const QDate today = QDate::currentDate(), prev = today.addMonths(-1);
    Folder f({"BenutzerName=Max Muster",
              QStringLiteral("LetzteKlickPosition=%1").arg(graphgeo::DayX(2) + 10)});
    const QString old = scenario::storeTable(f, prev.month(), prev.year(),
                                             scenario::fourADay(prev.month(), prev.year()));
    const QString oldDiary = monthtable::diaryPathOf(old);
    const QByteArray oldPage = scenario::diaryPage(2, 2, "alter Monat");
    testutil::writeBytes(oldDiary, oldPage);

    App app;
    app.menu("neuerstellen1");
    const EntryControls e(&app.program().entryDialog());
    e.add(2, "07:00", 120);
    e.click("OKBtn");
    App::settle();
    const QString table = f.table(scenario::tableName(today.month(), today.year()), today.year());
    ASSERT_EQ(app.program().model.tablePath(), table);
    EXPECT_TRUE(app.page()->toPlainText().contains("Morgens (07:00) = 120"));
    EXPECT_FALSE(app.page()->toPlainText().contains("alter Monat"));

    app.clickDay(2);
    EXPECT_FALSE(app.page()->toPlainText().contains("alter Monat"));
    EXPECT_FALSE(app.page()->toPlainText().contains("gespeicherten Tagebuch"));
    app.typeInPage(6, "Morgens= ", "3");
    app.rec.answers.enqueue(ui::Answer::Yes); // store the changed page
    app.clickDay(3);
    const QByteArray diary = testutil::readBytes(monthtable::diaryPathOf(table));
    EXPECT_TRUE(diary.startsWith("Tag02: ")) << diary.toStdString();
    EXPECT_FALSE(diary.contains("alter Monat"));
    EXPECT_EQ(diary.count("\r\n"), 1);
    EXPECT_EQ(testutil::readBytes(oldDiary), oldPage);
}

// Storing one page keeps every other page and line byte for byte, in a
// Windows-1252 diary (no-break spaces, a typed "#", a line of no day) as in
// a UTF-8 one (characters Windows-1252 has no place for).
TEST(SafetyScenario, StoringOnePageKeepsEveryOtherLineByteForByte) {
    const struct {
        QByteArray before, typed;
    } cases[] = {
        {scenario::diaryPage(3, 1, "5\xA0km\xA0gelaufen &num;1") + "Notiz ohne Tag\xA0\r\n", "neu"},
        {"\xEF\xBB\xBF" + scenario::diaryPage(3, 1, "Hypo ≤ 60 → ½ BE"), "5 km → gut"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.typed.toStdString());
        StoredMonth s;
        testutil::writeBytes(s.diary(), c.before);
        App app;
        app.clickDay(1);
        app.typeInPage(10, "Bemerkung: ", QString::fromUtf8(c.typed));
        app.rec.answers.enqueue(ui::Answer::Yes);
        app.clickDay(2);
        ASSERT_EQ(app.rec.shown.size(), 1) << app.said();
        const QByteArray after = testutil::readBytes(s.diary());
        EXPECT_TRUE(after.startsWith(c.before)) << after.toStdString();
        EXPECT_TRUE(after.mid(c.before.size()).startsWith("Tag01: "));
        EXPECT_TRUE(after.contains(c.typed));
    }
}

TEST(SafetyScenario, FailedDiaryStoreAtCloseKeepsThePageAndAsksAgain) {
    StoredMonth s;
    // A folder where the diary file should be: every write of it fails.
    QDir().mkpath(s.diary());
    App app;
    TMainForm &w = app.window();
    app.clickDay(1);
    app.typeInPage(6, "Morgens= ", "2");
    ASSERT_TRUE(app.find<DiaryPage>("DiaryPage")->diaryChanged());
    app.rec.answers.enqueue(ui::Answer::Yes); // store
    app.rec.answers.enqueue(ui::Answer::Ok);  // the page could not be written
    app.rec.answers.enqueue(ui::Answer::No);  // do not end without the page
    ASSERT_TRUE(w.isVisible());
    EXPECT_FALSE(w.close());
    App::settle();
    EXPECT_TRUE(w.isVisible()) << app.said();
    EXPECT_TRUE(app.page()->toPlainText().contains("Morgens= 2"));
    // Asked again at the next close.
    app.rec.clear();
    app.rec.answers.enqueue(ui::Answer::No); // do not store
    w.close();
    App::settle();
    ASSERT_FALSE(app.rec.shown.isEmpty());
    EXPECT_EQ(app.rec.shown.first().text,
              QString::fromUtf8("Das Tagebuch wurde verändert. Möchten Sie es speichern?"));
    EXPECT_FALSE(w.isVisible());
}

TEST(SafetyScenario, CharactersTheDiaryCannotHoldAreNamedBeforeAnythingIsStored) {
    StoredMonth s;
    const QString typed = QString::fromUtf8("Hypo ≤ 60 → ½ BE");
    App app;
    app.clickDay(1);
    app.typeInPage(10, "Bemerkung: ", typed);
    ASSERT_TRUE(app.find<DiaryPage>("DiaryPage")->diaryChanged());
    app.rec.answers.enqueue(ui::Answer::Yes); // store
    app.rec.answers.enqueue(ui::Answer::No);  // not with "?" in place of ≤ and →
    app.clickDay(2);
    ASSERT_EQ(app.rec.shown.size(), 2);
    EXPECT_TRUE(app.rec.shown[1].text.contains(QString::fromUtf8("„≤“, „→“")))
        << app.rec.shown[1].text.toStdString();
    EXPECT_FALSE(QFile::exists(s.diary()));
    EXPECT_TRUE(app.find<DiaryPage>("DiaryPage")->diaryChanged());
    EXPECT_TRUE(app.page()->toPlainText().contains(typed));

    // Confirmed: stored, with "?" for what Windows-1252 has no place for.
    app.rec.clear();
    app.rec.answers.enqueue(ui::Answer::Yes);
    app.rec.answers.enqueue(ui::Answer::Yes);
    app.clickDay(2);
    EXPECT_TRUE(testutil::readBytes(s.diary()).contains("Hypo ? 60 ? \xBD BE"));
}

TEST(SafetyScenario, ADamagedMonthIsDrawnWithoutItsBadLinesAtEveryStart) {
    StoredMonth s;
    // One flipped bit made day 13 a 33, another a day 00.
    QByteArray bytes = s.bytes;
    bytes.replace("Morgens den    02.", "Morgens den    33.");
    bytes.replace("Abends den     03.", "Abends den     00.");
    testutil::writeBytes(s.table, bytes);
    for (int run = 0; run < 2; ++run) {
        App app;
        TMainForm &w = app.window();
        EXPECT_TRUE(w.monthShown());
        EXPECT_TRUE(app.saidOnce(ui::Kind::Warning, s.table));
        EXPECT_TRUE(app.saidOnce(ui::Kind::Warning, "und 1 weitere"));
        EXPECT_EQ(app.program().model.figures().dayLineTexts[1].count("ZuckerWert="), 3);
        app.clickDay(2);
        app.menu("Mittelwert");
        app.menu("Messwerte");
        EXPECT_EQ(app.rec.shown.size(), 1); // said once, not at every redraw
        w.close();
    }
    // Passed over, never dropped.
    EXPECT_EQ(s.onDisk(), bytes);
}

TEST(SafetyScenario, LeftoversOfInterruptedSavesAreRemovedAtStart) {
    StoredMonth s;
    const QStringList leftovers = {s.table + ".AbCdEf", s.f.ini() + ".XyZabc"};
    testutil::writeBytes(s.table + ".notiz", "meins");
    for (const QString &p : leftovers) {
        testutil::writeBytes(p, "halb");
        QFile file(p);
        ASSERT_TRUE(file.open(QIODevice::ReadWrite));
        file.setFileTime(QDateTime::currentDateTime().addSecs(-3600),
                         QFileDevice::FileModificationTime);
    }
    App app;
    for (const QString &p : leftovers)
        EXPECT_FALSE(QFile::exists(p)) << p.toStdString();
    EXPECT_TRUE(QFile::exists(s.table + ".notiz"));
}

TEST(SafetyScenario, AFullDiskAtCloseKeepsTheSettingsAndSaysSo) {
    StoredMonth s;
    App app;
    TMainForm &w = app.window();
    const QByteArray before = testutil::readBytes(s.f.ini());
    w.resize(900, 700);
    {
        testutil::FileSizeLimit full(64);
        ASSERT_TRUE(full.active());
        w.close();
    }
    EXPECT_EQ(testutil::readBytes(s.f.ini()), before);
    EXPECT_TRUE(app.saidOnce(ui::Kind::Warning, s.f.ini()));
}
