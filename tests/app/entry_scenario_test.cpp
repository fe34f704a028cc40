// Entering and correcting readings as a user does it, on the real windows.

#include <QFile>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QTest>
#include <QTextBlock>

#include "dialogs/nameeingdlg.h"
#include "platform/profile.h"
#include "scenario.h"
#include "storage/tablelock.h"
#include "support/entrycontrols.h"

using scenario::App;
using scenario::Folder;
using testutil::child;
using MS = MeasurementSlot;

namespace {

using Month = scenario::StoredMonth;

QStringList timeSettings(const Folder &f) {
    QStringList out;
    for (const char *mode : {"Messung4Uhrzeit", "Messung8Uhrzeit"})
        for (int n = 1; n <= 8; ++n)
            out << f.setting(QString::fromLatin1(mode) + slotinfo::word(slotinfo::fromNumber(n)));
    return out;
}

// What the fields and the slot button show.
QStringList fields(const EntryControls &e) {
    QStringList out;
    for (const char *name :
         {"BitBtn3", "Edit1", "SpinEdit1", "SpinEdit2", "SpinEdit3", "SpinEdit4"})
        out << e.text(name);
    return out;
}

} // namespace

TEST(EntryScenario, TwoDigitDayTypedWhileTheGraphIsShownFilesTheReadingOnThatDay) {
    Month m;
    App app;
    app.inEntryDialog([&](const EntryControls &e) {
        QWidget *w = e.dialog();
        e.type("SpinEdit1", "16");
        EXPECT_TRUE(e.spin("SpinEdit1")->isAncestorOf(w->focusWidget()));
        e.type("SpinEdit4", "133");
        e.type("Edit1", "09:15");
        e.click("BitBtn1");
        e.click("OKBtn");
    });
    EXPECT_TRUE(scenario::readingsIn(m.table).contains(m.reading(MS::Morgens, 16, "09:15", 133)))
        << scenario::readingsIn(m.table).join('\n').toStdString();
    EXPECT_FALSE(app.program().model.figures().dayLineTexts[15].isEmpty());
}

// A reading added and then thrown away with Escape leaves nothing behind: the
// next showing has the fields as before, and a later save stores the last
// reading that was saved as "LetzteEingabe".
TEST(EntryScenario, AReadingDiscardedWithEscapeIsForgotten) {
    Month m;
    profile::write(m.f.ini(), "Einstellung", "LetzteEingabe", m.stored.last());
    App app;
    QStringList before;
    app.inEntryDialog([&](const EntryControls &e) {
        QWidget *w = e.dialog();
        before = fields(e);
        e.add(20, "09:09", 333);
        ASSERT_EQ(e.lines().size(), m.stored.size() + 1);
        app.rec.answers.enqueue(ui::Answer::Yes); // "Möchten Sie wirklich abbrechen?"
        QTest::keyClick(w, Qt::Key_Escape);
    });
    app.inEntryDialog([&](const EntryControls &e) {
        EXPECT_EQ(fields(e), before);
        EXPECT_EQ(e.lines(), m.stored);
        e.click("OKBtn");
    });
    EXPECT_EQ(m.f.setting("LetzteEingabe"), m.stored.last());
    EXPECT_EQ(scenario::readingsIn(m.table), m.stored);
}

// While the dialog is open another writer (the command-line tool, an import)
// saves the month: its new and changed readings are taken into the list and
// saved with it, the user is told which; what the user deleted or changed in
// the dialog stays so.
TEST(EntryScenario, ReadingsSavedMeanwhileByAnotherWriterAreKept) {
    Month m;
    App app;
    const QString changedHere = m.reading(MS::Morgens, 3, "07:00", 99);
    const QString addedHere = m.reading(MS::Morgens, 10, "08:00", 150);
    const QString changedThere = m.reading(MS::Morgens, 1, "07:05", 125);
    const QString addedThere = m.reading(MS::Abends, 5, "21:30", 177);
    app.inEntryDialog([&](const EntryControls &e) {
        e.select(5); // day 2, Messung2
        e.click("BitBtn5");
        e.add(3, "07:00", 99); // replaces day 3, Morgens (answered Yes)
        e.add(10, "08:00", 150);
        // The other writer's save.
        QStringList other = m.stored;
        other[0] = changedThere;
        scenario::storeTable(m.f, m.month, m.year, other << addedThere, false);
        app.rec.clear();
        e.click("OKBtn");
    });
    for (const QString &t : app.rec.texts())
        EXPECT_FALSE(t.contains(QString::fromUtf8("gelöscht"))) << t.toStdString();
    EXPECT_TRUE(app.saidOnce(ui::Kind::Information, addedThere));
    EXPECT_TRUE(app.saidOnce(ui::Kind::Information, changedThere));
    QStringList expected = m.stored;
    expected[0] = changedThere;
    expected[8] = changedHere;
    expected.removeAt(5);
    expected << addedThere << addedHere;
    EXPECT_EQ(scenario::readingsIn(m.table), expected);
    EXPECT_EQ(app.program().model.figures().entries, expected);
}

// A save that cannot get the table because another writer holds it says so,
// writes nothing and keeps the list; once the other writer is done it saves.
TEST(EntryScenario, ASaveWhileAnotherWriterHoldsTheTableWritesNothing) {
    Month m;
    App app;
    const QByteArray before = testutil::readBytes(m.table);
    TableLock other(m.table);
    ASSERT_TRUE(other.acquire());
    // The save waits a short while for the lock here, not the usual seconds.
    TableLock::setDefaultWait(std::chrono::milliseconds(200));
    app.inEntryDialog([&](const EntryControls &e) {
        QWidget *w = e.dialog();
        e.add(10, "08:00", 150);
        const QStringList list = e.lines();
        app.rec.clear();
        e.click("OKBtn");
        EXPECT_TRUE(w->isVisible());
        EXPECT_EQ(e.lines(), list);
        EXPECT_TRUE(app.saidOnce(ui::Kind::Warning, "anderen Vorgang"));
        EXPECT_EQ(testutil::readBytes(m.table), before);
        other.release();
        e.click("OKBtn");
    });
    TableLock::setDefaultWait(TableLock::kWait);
    EXPECT_TRUE(scenario::readingsIn(m.table).contains(m.reading(MS::Morgens, 10, "08:00", 150)));
}

// "Abbrechen" in the name dialog: from the menu it keeps the program, at the
// first start it ends it. Both are reached with the mouse.
TEST(EntryScenario, NameDialogCancelledFromTheMenuOrAtTheFirstStart) {
    Folder f({"BenutzerName=Max Muster"});
    {
        App app;
        TNameEingDlg *name = (&app.program().nameDialog());
        app.menu("Benutzernamendern1");
        ASSERT_TRUE(name->isVisible());
        QTest::mouseClick(&child<QPushButton>(*name, "CancelBtn"), Qt::LeftButton);
        App::settle();
        EXPECT_FALSE(name->isVisible());
        EXPECT_TRUE(app.window().isVisible());
    }
    profile::write(f.ini(), "Einstellung", "BenutzerName", "");
    App app;
    TNameEingDlg *name = (&app.program().nameDialog());
    ASSERT_TRUE(name->isVisible());
    // At the first start "Abbrechen" ends the program.
    QTest::mouseClick(&child<QPushButton>(*name, "CancelBtn"), Qt::LeftButton);
    App::settle();
    EXPECT_FALSE(name->isVisible());
    EXPECT_FALSE(app.window().isVisible());
}

TEST(EntryScenario, SlotTimesChangeOnlyWithASavedReadingOfThatSlot) {
    Month m({"BenutzerName=Max Muster", "Messung4UhrzeitMorgens=07:00",
             "Messung4UhrzeitAbends=21:00", "Messung8UhrzeitMorgens=06:30"});
    profile::write(m.f.ini(), "Einstellung", "LetzteEingabe",
                   m.reading(MS::Abends, 3, "21:45", 140));
    const QStringList before = timeSettings(m.f);
    // An eight-slot month of the year before, opened as graph in four-slot mode.
    const QString eight = scenario::storeTable(
        m.f, m.month, m.year - 1,
        {scenario::reading(MS::Messung5, 2, m.month, m.year - 1, "15:00", 99)}, false, true);
    {
        App app;
        app.menu("Messwerte");
        app.menu("Mittelwert");
        app.rec.fileNames.enqueue(eight);
        app.menu("undalsGrafikanzeigen1");
        EXPECT_EQ(app.program().model.tablePath(), eight);
        app.menu("biszu4MessungenjeTag");
        app.menu("biszu8MessungenjeTag");
        EXPECT_EQ(timeSettings(m.f), before);
    }
    App app;
    app.rec.fileNames.enqueue(m.table);
    app.inEntryDialog(
        [&](const EntryControls &e) {
            // The slot after the stored Abends reading, with its remembered time.
            EXPECT_EQ(e.text("BitBtn3"), "Morgens");
            EXPECT_EQ(e.text("Edit1"), "07:00");
            e.click("BitBtn3");
            EXPECT_EQ(e.text("BitBtn3"), "Messung 2");
            EXPECT_EQ(e.text("Edit1"), ""); // no remembered time
            QTest::mouseClick(e.get<QWidget>("SpinButton1Up"), Qt::LeftButton);
            EXPECT_TRUE(app.rec.shown.isEmpty());
            EXPECT_EQ(e.text("Edit1"), "12:00");
            e.add(20, "12:30", 120);
            e.click("OKBtn");
        },
        "undTabellebearbeiten1");
    QStringList after = before;
    after[1] = "12:30"; // Messung4UhrzeitMessung2
    EXPECT_EQ(timeSettings(m.f), after);
}

// Every field that does not hold what a reading needs is refused with a
// message naming it; nothing is added. An emptied value or day field does
// not fall back to the number it held before. A wrong reading is deleted
// with the button or the Del key.
TEST(EntryScenario, BadFieldsAreRefusedAndAWrongReadingIsDeleted) {
    Month m;
    App app;
    const QStringList &stored = m.stored;
    QString added;
    app.inEntryDialog([&](const EntryControls &e) {
        QWidget *w = e.dialog();
        struct Case {
            const char *day, *time, *value, *said;
        };
        const Case cases[] = {{"20", "08:00", "", "Messwert"}, {"00", "08:00", "120", "Tag"},
                              {"", "08:00", "120", "Tag"},     {"20", "08:00", "600", "600"},
                              {"20", "7:3", "120", "SS:MM"},   {"20", "25:00", "120", "SS:MM"},
                              {"20", "08:60", "120", "SS:MM"}, {"20", "", "120", "SS:MM"},
                              {"20", "ab:cd", "120", "SS:MM"}};
        for (const Case &c : cases) {
            SCOPED_TRACE(std::string(c.day) + "|" + c.time + "|" + c.value);
            app.rec.clear();
            e.type("SpinEdit1", QString::fromLatin1(c.day));
            e.type("Edit1", QString::fromLatin1(c.time));
            e.type("SpinEdit4", QString::fromLatin1(c.value));
            e.pressReturn("SpinEdit4");
            EXPECT_EQ(e.lines(), stored);
            EXPECT_TRUE(app.saidOnce(ui::Kind::Warning, QString::fromLatin1(c.said)));
        }
        // The arrows stay within 0 … 500.
        e.type("SpinEdit4", "499");
        e.spin("SpinEdit4")->stepBy(5);
        EXPECT_EQ(e.text("SpinEdit4"), "500");
        e.type("SpinEdit1", "20");
        e.type("Edit1", "24:00");
        e.pressReturn("SpinEdit4");
        ASSERT_EQ(e.lines().size(), stored.size() + 1);
        added = e.lines().last();

        EXPECT_EQ(e.text("BitBtn5"), QString::fromUtf8("Eintrag &löschen"));
        // No selection: a hint, nothing deleted.
        e.list()->clearSelection();
        e.click("BitBtn5");
        EXPECT_EQ(e.lines().size(), 13);
        app.rec.clear();
        // "No" keeps it.
        e.select(5);
        app.rec.answers.enqueue(ui::Answer::No);
        e.click("BitBtn5");
        EXPECT_EQ(e.lines().size(), 13);
        EXPECT_TRUE(app.saidOnce(ui::Kind::Confirmation, stored[5]));
        e.click("BitBtn5");
        EXPECT_EQ(e.lines().size(), 12);
        EXPECT_FALSE(e.lines().contains(stored[5]));
        e.select(0);
        QTest::keyClick(e.list(), Qt::Key_Delete);
        EXPECT_EQ(e.lines().size(), 11);
        app.rec.clear();
        e.click("OKBtn");
        EXPECT_FALSE(w->isVisible());
        // Deleted on purpose: no message about readings.
        EXPECT_TRUE(app.rec.shown.isEmpty()) << app.said();
    });
    QStringList expected = stored;
    expected.removeAt(5);
    expected.removeAt(0);
    expected << added;
    EXPECT_EQ(scenario::readingsIn(m.table), expected);
    // The deleted readings no longer count in the month.
    EXPECT_EQ(app.program().model.figures().dayLineTexts[0].count("ZuckerWert="), 3);
}

TEST(EntryScenario, TabMovesBetweenTheCellsAndTheBookOffersAChangedPage) {
    Month m;
    App app;
    app.clickDay(2);
    QTextEdit *ed = app.page();
    const QTextBlock carb = ed->document()->findBlockByNumber(6);
    const int morning = carb.position() + int(carb.text().indexOf("Morgens= ")) + 9;
    app.typeInPage(6, "Morgens= ", "2");
    QTest::keyClick(ed, Qt::Key_Tab);
    QTest::keyClicks(ed, "3");
    const QString line = ed->document()->findBlockByNumber(6).text();
    EXPECT_TRUE(line.contains("Morgens= 2\t|  M2= 3\t|")) << line.toStdString();
    EXPECT_EQ(line.count('\t'), 4);
    QTest::keyClick(ed, Qt::Key_Tab, Qt::ShiftModifier);
    EXPECT_EQ(ed->textCursor().position(), morning);

    app.rec.answers.enqueue(ui::Answer::Yes); // store the changed page first
    app.whenModal([](QWidget *book) { book->close(); });
    app.menu("AllegespeichertenTagebuchseitendrucken1");
    ASSERT_FALSE(app.rec.shown.isEmpty());
    EXPECT_EQ(app.rec.shown[0].text,
              QString::fromUtf8("Das Tagebuch wurde verändert. Möchten Sie es speichern?"));
    const QByteArray diary = testutil::readBytes(m.diary());
    EXPECT_TRUE(diary.startsWith("Tag02: \t #BE: Morgens= 2\t|  M2= 3\t|")) << diary.toStdString();
}

TEST(EntryScenario, TheDiaryPageStaysInViewWhileTheGraphScrolls) {
    Month m;
    profile::write(m.f.ini(), "Einstellung", "BisZu4MessungenJeTag", "0");
    profile::write(m.f.ini(), "Einstellung", "BisZu8MessungenJeTag", "1");
    App app;
    TMainForm &w = app.window();
    ASSERT_EQ(w.size(), QSize(1000, 780));
    app.clickDay(2);
    QTextEdit *ed = app.page();
    ASSERT_TRUE(ed->document()->findBlockByNumber(6).text().contains("M7="));
    // The remark line of an eight-column page is visible at the default size.
    const QTextBlock remark = ed->document()->findBlockByNumber(10);
    const QRect line = ed->cursorRect(QTextCursor(remark));
    EXPECT_TRUE(ed->viewport()->rect().contains(line))
        << line.y() << " " << line.height() << " in " << ed->viewport()->height();
    // Scrolling the graph by days leaves the page where it is.
    const QPoint before = ed->mapTo(&w, QPoint(0, 0));
    for (int i = 0; i < 10; ++i)
        QTest::keyClick(&w, Qt::Key_Right, Qt::ControlModifier);
    App::settle();
    EXPECT_GT(app.find<QScrollArea>("FormScrollArea")->horizontalScrollBar()->value(), 0);
    EXPECT_EQ(ed->mapTo(&w, QPoint(0, 0)), before);
    EXPECT_TRUE(ed->isVisible());
    EXPECT_GE(ed->width(), w.width() - 10);
    // Its scroll bar shows only while the page is taller than the editor.
    EXPECT_FALSE(ed->verticalScrollBar()->isVisible());
    ed->setPlainText(QStringLiteral("Zeile\n").repeated(40));
    App::settle();
    EXPECT_TRUE(ed->verticalScrollBar()->isVisible());
}

// A diary file without a stored page (a hand-edited one): the book says so,
// and only that. The month table is not read, so a table gone meanwhile
// adds no second message.
TEST(EntryScenario, StatisticsReportCsvAndTheBookFromTheMenu) {
    Month m;
    testutil::writeBytes(m.diary(), "Notizen\r\n");
    App app;
    bool shown = false;
    app.whenModal([&](QWidget *dlg) {
        shown = true;
        dlg->close();
    });
    app.menu("Statistik1");
    EXPECT_TRUE(shown) << app.said();
    const QString csv = m.f.path() + "Messwerte.csv";
    app.rec.fileNames.enqueue(csv);
    app.menu("MesswertealsCSV1");
    const QByteArray bytes = testutil::readBytes(csv);
    EXPECT_TRUE(bytes.startsWith("\xEF\xBB\xBF")) << app.said();
    EXPECT_EQ(bytes.count("\r\n"), 13); // the heading and twelve readings
    const QString pdf = m.f.path() + "Arztbericht.pdf";
    app.rec.fileNames.enqueue(pdf);
    app.menu("Arztbericht1");
    EXPECT_TRUE(testutil::readBytes(pdf).startsWith("%PDF-"));
    ASSERT_TRUE(QFile::remove(m.table));
    app.rec.clear();
    app.menu("AllegespeichertenTagebuchseitendrucken1");
    EXPECT_EQ(app.rec.texts(), QStringList{"Es sind keine Tagebuchseiten gespeichert."});
}
