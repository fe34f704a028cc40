// The month on screen has one owner: every way that makes a table current
// attaches its diary too, every redraw starts from the template, and a new
// user's name sticks. Each scenario runs the real program.

#include <QDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>

#include "platform/picturebox.h"
#include "platform/profile.h"
#include "scenario.h"
#include "support/entrycontrols.h"

using scenario::App;
using scenario::Folder;
using MS = MeasurementSlot;

namespace {

// Max Muster's March 2024: Morgens and Abends readings on days 1 to 6.
QStringList march2024() {
    QStringList l;
    for (int d = 1; d <= 6; ++d) {
        l << scenario::reading(MS::Morgens, d, 3, 2024, "07:00", 100 + 5 * d);
        l << scenario::reading(MS::Abends, d, 3, 2024, "21:00", 160 + 7 * d);
    }
    return l;
}

// The user-name dialog of the program, and the name typed into it.
void enterName(App &app, const QString &name) {
    auto *dlg = app.window().findChild<QDialog *>("NameEingDlg");
    ASSERT_TRUE(dlg && dlg->isVisible());
    testutil::child<QLineEdit>(*dlg, "Edit1").setText(name);
    QTest::mouseClick(&testutil::child<QPushButton>(*dlg, "OKBtn"), Qt::LeftButton);
    App::settle();
}

// The entry dialog shown after the name is closed with Escape, without a
// reading.
void closeEntryDialog(App &app) {
    auto *entry = app.window().findChild<QDialog *>("EingabeDlg");
    ASSERT_TRUE(entry && entry->isVisible());
    QTest::keyClick(entry, Qt::Key_Escape);
    App::settle();
    EXPECT_FALSE(entry->isVisible());
}

} // namespace

// A month drawn after the name was asked for at start-up is attached with
// its diary: storing a page keeps the pages stored before.
TEST(MonthModelScenario, AMonthDrawnAfterTheNameIsAskedForKeepsItsDiary) {
    Folder f({"BenutzerName="});
    const QString table = f.table("MM032024.tab", 2024);
    // A table whose header names no user.
    QByteArray bytes = scenario::monthFile("Max Muster", 3, 2024, march2024());
    bytes.replace("BenutzerName=Max Muster", "BenutzerName=");
    testutil::writeBytes(table, bytes);
    const QString diary = f.data() + "2024/MM032024.txt";
    const QByteArray day3 = scenario::diaryPage(3, 2, "Tag drei");
    testutil::writeBytes(diary, day3);
    profile::write(f.ini(), "Einstellung", "TabellenDateiName", table);

    App app;
    enterName(app, "Max Muster");
    closeEntryDialog(app);
    app.clickDay(5);
    app.typeInPage(6, "Morgens= ", "4");
    app.rec.answers.enqueue(ui::Answer::Yes); // store the changed page
    app.clickDay(6);
    const QByteArray after = testutil::readBytes(diary);
    EXPECT_TRUE(after.startsWith(day3)) << after.toStdString();
    EXPECT_TRUE(after.contains("Tag05: \t #BE: Morgens= 4")) << after.toStdString();
    // The name typed stays the user's name.
    EXPECT_EQ(f.setting("BenutzerName"), "Max Muster");
}

// After "Mittelwert" every other redraw starts from the template: the mode
// switch, a limit changed in the settings and a saved reading each give the
// picture that a fresh start shows for the settings and the month as they
// are then.
TEST(MonthModelScenario, EveryRedrawAfterTheMeanStartsFromTheTemplate) {
    Folder f({"BenutzerName=Max Muster"});
    const QString table = scenario::storeTable(f, 3, 2024, march2024());
    const std::function<void(App &)> redraws[] = {
        [](App &app) { app.menu("biszu8MessungenjeTag"); },
        [](App &app) {
            app.whenModal([](QWidget *dlg) {
                testutil::child<QSpinBox>(*dlg, "SpinEdit1").setValue(200);
                QTest::mouseClick(&testutil::child<QPushButton>(*dlg, "OKBtn"), Qt::LeftButton);
            });
            app.menu("Einstellungen");
        },
        [](App &app) {
            app.whenModal([](QWidget *dlg) {
                EntryControls(dlg).add(7, "12:00", 250);
                EntryControls(dlg).click("OKBtn");
            });
            app.menu("aktuellebearbeiten1");
        }};
    const char *names[] = {"the mode switch", "a limit change", "a saved reading"};
    for (int i = 0; i < 3; ++i) {
        QImage after;
        {
            App app;
            ASSERT_TRUE(app.window().monthShown());
            app.menu("Mittelwert");
            redraws[i](app);
            after = app.find<PictureBox>("Image")->picture();
            app.window().close();
        }
        App fresh;
        EXPECT_TRUE(after == fresh.find<PictureBox>("Image")->picture()) << names[i];
    }
    ASSERT_EQ(scenario::readingsIn(table).size(), 13);
    EXPECT_EQ(f.setting("Hochwerte>"), "200");
    EXPECT_EQ(f.setting("BisZu8MessungenJeTag"), "1");
}

// "Benutzername ändern" with the same name keeps the month, also through
// Escape in the entry dialog and the view commands. A changed name sticks:
// the month of the user before is no longer shown, and neither a redraw nor
// a restart writes that user's name back. The stored graph format survives
// a run without the print preview.
TEST(MonthModelScenario, AChangedUserNameSticks) {
    Folder f({"BenutzerName=Max Muster"});
    profile::write(f.ini(), "Einstellung", "Grafikformat", "DINA5");
    const QString table = scenario::storeTable(f, 3, 2024, march2024());
    const QByteArray stored = testutil::readBytes(table);
    {
        App app;
        ASSERT_TRUE(app.window().monthShown());
        app.menu("Benutzernamendern1");
        enterName(app, "Max Muster");
        closeEntryDialog(app);
        app.menu("Messwerte");
        app.menu("Mittelwert");
        EXPECT_EQ(app.program().model.tablePath(), table);
        EXPECT_TRUE(app.window().monthShown());
        app.menu("Benutzernamendern1");
        enterName(app, "Erika Beispiel");
        closeEntryDialog(app);
        app.menu("Messwerte");
        app.menu("Mittelwert");
        app.menu("biszu8MessungenjeTag");
        EXPECT_EQ(f.setting("BenutzerName"), "Erika Beispiel");
        EXPECT_FALSE(app.window().monthShown());
        EXPECT_EQ(app.title()->text(), " von Erika Beispiel");
        app.window().close();
    }
    App again;
    EXPECT_EQ(f.setting("BenutzerName"), "Erika Beispiel");
    EXPECT_FALSE(again.window().monthShown());
    EXPECT_EQ(again.title()->text(), "von Erika Beispiel");
    EXPECT_EQ(testutil::readBytes(table), stored);
    EXPECT_EQ(f.setting("Grafikformat"), "DINA5");
}

// A four-slot month that holds readings of Messung4 .. 7: the graph draws
// its four slots, counts every reading in the mean and says how many it does
// not draw; in eight-slot mode it draws them all.
TEST(MonthModelScenario, TheGraphSaysWhichStoredReadingsItDoesNotDraw) {
    Folder f({"BenutzerName=Max Muster"});
    scenario::storeTable(f, 3, 2024,
                         march2024() << scenario::reading(MS::Messung5, 2, 3, 2024, "15:00", 300));
    App app;
    auto *readout = app.find<QLabel>("StatusLabel");
    EXPECT_EQ(readout->text(), QString::fromUtf8("1 gespeicherter Messwert der Messungen 4 bis 7 "
                                                 "wird bei bis zu 4 Messungen je Tag nicht "
                                                 "gezeichnet; er zählt in den Mittelwerten."));
    // The twelve readings of days 1 to 6 and the 300: 13 in the mean.
    EXPECT_EQ(app.window().shownGraph().meanValue, "162,46 mg/dl");
    app.menu("biszu8MessungenjeTag");
    EXPECT_EQ(readout->text(), QString());
}
