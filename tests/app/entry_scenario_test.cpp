// Entering and correcting readings as a user does it, on the real windows.
#include <gtest/gtest.h>

#include <QDate>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QTest>
#include <QTextBlock>
#include <QTextEdit>
#include <QToolButton>

#include "app/mainform.h"
#include "dialogs/namedlg.h"
#include "diary/diarypage.h"
#include "entry/eingabedlg.h"
#include "graph/monthgraph.h"
#include "platform/profile.h"
#include "scenario.h"

using scenario::App;
using scenario::Folder;
using MS = MeasurementSlot;

inline void PrintTo(const QString &s, std::ostream *os) {
    *os << '"' << s.toStdString() << '"';
}

namespace {

const QDate kToday = QDate::currentDate();
const int kMonth = kToday.month();
const int kYear = kToday.year();

QString tableName() {
    return QStringLiteral("MM%1%2.tab").arg(kMonth, 2, 10, QChar(u'0')).arg(kYear);
}

// Max Muster's month with four readings a day on days 1 to 3; it is the
// month shown at start.
struct Month {
    Folder f;
    QString table;
    explicit Month(const QStringList &settings = {"BenutzerName=Max Muster"}) : f(settings) {
        table = f.table(tableName(), kYear);
        QStringList l;
        const MS slotList[] = {MS::Morgens, MS::Messung2, MS::Messung3, MS::Abends};
        const char *times[] = {"07:00", "12:00", "18:00", "22:00"};
        for (int d = 1; d <= 3; ++d)
            for (int s = 0; s < 4; ++s)
                l << scenario::reading(slotList[s], d, kMonth, kYear, QString::fromLatin1(times[s]),
                                       100 + 10 * d + s);
        testutil::writeBytes(table, scenario::monthFile("Max Muster", kMonth, kYear, l));
        profile::write(f.ini(), "Einstellung", "TabellenDateiName", table);
    }
};

// Types into a field as a user does: click, select all, then each key goes
// to whatever widget of the window has the focus at that moment.
void typeInto(QWidget *field, const QString &text) {
    QLineEdit *edit = field->findChild<QLineEdit *>();
    QWidget *target = edit ? static_cast<QWidget *>(edit) : field;
    QTest::mouseClick(target, Qt::LeftButton);
    target->setFocus();
    QTest::keyClick(target, Qt::Key_A, Qt::ControlModifier);
    for (QChar c : text) {
        QWidget *focus = field->window()->focusWidget();
        QTest::keyClicks(focus ? focus : target, QString(c));
    }
}

QStringList timeSettings(const Folder &f) {
    QStringList out;
    for (const char *mode : {"Messung4Uhrzeit", "Messung8Uhrzeit"})
        for (int n = 1; n <= 8; ++n)
            out << f.setting(QString::fromLatin1(mode) + slotinfo::word(slotinfo::fromNumber(n)));
    return out;
}

} // namespace

TEST(EntryScenario, TwoDigitDayTypedWhileTheGraphIsShownFilesTheReadingOnThatDay) {
    Month m;
    App app;
    TEingabeDlg *entry = (&app.program().entryDialog());
    app.whenModal([&](QWidget *) {
        typeInto(entry->SpinEdit1, "16");
        EXPECT_EQ(entry->SpinEdit1->text(), "16");
        EXPECT_TRUE(entry->SpinEdit1->isAncestorOf(entry->focusWidget()));
        typeInto(entry->SpinEdit4, "133");
        entry->Edit1->setText("09:15");
        QTest::mouseClick(entry->BitBtn1, Qt::LeftButton);
        QTest::mouseClick(entry->OKBtn, Qt::LeftButton);
    });
    app.menu("aktuellebearbeiten1");
    const QString expected =
        scenario::reading(MS::Morgens, 16, kMonth, kYear, QStringLiteral("09:15"), 133);
    EXPECT_TRUE(scenario::readingsIn(m.table).contains(expected))
        << scenario::readingsIn(m.table).join('\n').toStdString();
    EXPECT_FALSE(app.program().model.figures().dayLineTexts[15].isEmpty());
}

TEST(EntryScenario, NameDialogWorksWithMouseTabAndReturnAndShowsItsWholeTexts) {
    Folder f;
    {
        App app;
        TNameEingDlg *name = (&app.program().nameDialog());
        ASSERT_TRUE(name->isVisible());
        for (QLabel *l : name->findChildren<QLabel *>())
            EXPECT_GE(l->width(), l->sizeHint().width()) << l->text().toStdString();
        QTest::keyClicks(name->Edit1, "Max Muster");
        QTest::keyClick(name->Edit1, Qt::Key_Tab);
        EXPECT_EQ(name->focusWidget(), name->OKBtn);
        QTest::keyClick(name->OKBtn, Qt::Key_Return);
        App::settle();
        EXPECT_FALSE(name->isVisible());
        EXPECT_EQ(f.setting("BenutzerName"), "Max Muster");
        EXPECT_TRUE((&app.program().entryDialog())->isVisible());
        (&app.program().entryDialog())->hide();
    }
    {
        App app;
        TNameEingDlg *name = (&app.program().nameDialog());
        // From the menu: the mouse reaches both buttons.
        app.menu("Benutzernamendern1");
        ASSERT_TRUE(name->isVisible());
        QTest::mouseClick(name->CancelBtn, Qt::LeftButton);
        App::settle();
        EXPECT_FALSE(name->isVisible());
        EXPECT_TRUE(app.window().isVisible());
    }
    profile::write(f.ini(), "Einstellung", "BenutzerName", "");
    App app;
    TNameEingDlg *name = (&app.program().nameDialog());
    ASSERT_TRUE(name->isVisible());
    // At the first start "Abbrechen" ends the program.
    QTest::mouseClick(name->CancelBtn, Qt::LeftButton);
    App::settle();
    EXPECT_FALSE(name->isVisible());
    EXPECT_FALSE(app.window().isVisible());
}

TEST(EntryScenario, SlotTimesChangeOnlyWithASavedReadingOfThatSlot) {
    Month m({"BenutzerName=Max Muster", "Messung4UhrzeitMorgens=07:00",
             "Messung4UhrzeitAbends=21:00", "Messung8UhrzeitMorgens=06:30"});
    profile::write(m.f.ini(), "Einstellung", "LetzteEingabe",
                   scenario::reading(MS::Abends, 3, kMonth, kYear, "21:45", 140));
    const QStringList before = timeSettings(m.f);
    // An eight-slot month of the year before, opened as graph in four-slot mode.
    const QString eight = m.f.table(
        QStringLiteral("MM%1%2.tab").arg(kMonth, 2, 10, QChar(u'0')).arg(kYear - 1), kYear - 1);
    testutil::writeBytes(
        eight, scenario::monthFile(
                   "Max Muster", kMonth, kYear - 1,
                   {scenario::reading(MS::Messung5, 2, kMonth, kYear - 1, "15:00", 99)}, true));
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
    TEingabeDlg *entry = (&app.program().entryDialog());
    app.whenModal([&](QWidget *) {
        // The slot after the stored Abends reading, with its remembered time.
        EXPECT_EQ(entry->BitBtn3->text(), "Morgens");
        EXPECT_EQ(entry->Edit1->text(), "07:00");
        QTest::mouseClick(entry->BitBtn3, Qt::LeftButton);
        EXPECT_EQ(entry->BitBtn3->text(), "Messung 2");
        EXPECT_EQ(entry->Edit1->text(), ""); // no remembered time
        QTest::mouseClick(entry->SpinButton1Up, Qt::LeftButton);
        EXPECT_TRUE(app.rec.shown.isEmpty());
        EXPECT_EQ(entry->Edit1->text(), "12:00");
        entry->SpinEdit1->setValue(20);
        entry->Edit1->setText("12:30");
        QTest::mouseClick(entry->BitBtn1, Qt::LeftButton);
        QTest::mouseClick(entry->OKBtn, Qt::LeftButton);
    });
    app.rec.fileNames.enqueue(m.table);
    app.menu("undTabellebearbeiten1");
    QStringList after = before;
    after[1] = "12:30"; // Messung4UhrzeitMessung2
    EXPECT_EQ(timeSettings(m.f), after);
}

TEST(EntryScenario, StoredGraphFormatSurvivesARunWithoutThePreview) {
    Month m;
    profile::write(m.f.ini(), "Einstellung", "Grafikformat", "DINA5");
    {
        App app;
        app.window().close();
    }
    EXPECT_EQ(m.f.setting("Grafikformat"), "DINA5");
}

TEST(EntryScenario, ValuesAndTimesOutsideTheRulesAreRefusedWithAMessage) {
    Month m;
    App app;
    TEingabeDlg *entry = (&app.program().entryDialog());
    app.whenModal([&](QWidget *) {
        const QStringList list = entry->entries();
        entry->SpinEdit1->setValue(20);
        entry->Edit1->setText("08:00");
        typeInto(entry->SpinEdit4, "600");
        EXPECT_EQ(entry->SpinEdit4->text(), "600");
        QTest::mouseClick(entry->BitBtn1, Qt::LeftButton);
        ASSERT_EQ(app.rec.shown.size(), 1);
        EXPECT_EQ(app.rec.shown[0].kind, ui::Kind::Warning);
        EXPECT_TRUE(app.rec.shown[0].text.contains("600"));
        EXPECT_EQ(entry->entries(), list);
        typeInto(entry->SpinEdit4, "120");
        for (const char *bad : {"7:3", "25:00", "08:60", "", "ab:cd"}) {
            entry->Edit1->setText(QString::fromLatin1(bad));
            QTest::mouseClick(entry->BitBtn1, Qt::LeftButton);
            EXPECT_EQ(entry->entries(), list) << bad;
        }
        EXPECT_EQ(app.rec.shown.size(), 6);
        EXPECT_TRUE(app.rec.shown.last().text.contains("SS:MM"));
        // The arrows stay within 0 … 500.
        entry->SpinEdit4->setValue(499);
        entry->SpinEdit4->stepBy(5);
        EXPECT_EQ(entry->SpinEdit4->value(), 500);
        entry->Edit1->setText("24:00");
        QTest::mouseClick(entry->BitBtn1, Qt::LeftButton);
        EXPECT_EQ(entry->entries().size(), list.size() + 1);
        app.rec.answers.enqueue(ui::Answer::Yes);
        QTest::keyClick(entry, Qt::Key_Escape);
    });
    app.menu("aktuellebearbeiten1");
    EXPECT_EQ(scenario::readingsIn(m.table).size(), 12);
}

TEST(EntryScenario, AWrongReadingIsDeletedWithTheButtonOrTheDelKey) {
    Month m;
    App app;
    TEingabeDlg *entry = (&app.program().entryDialog());
    const QStringList stored = scenario::readingsIn(m.table);
    app.whenModal([&](QWidget *) {
        ASSERT_EQ(entry->entries(), stored);
        ASSERT_NE(entry->BitBtn5, nullptr);
        EXPECT_EQ(entry->BitBtn5->text(), "Eintrag &löschen");
        // No selection: a hint, nothing deleted.
        entry->ListBox1->setCurrentRow(-1);
        QTest::mouseClick(entry->BitBtn5, Qt::LeftButton);
        EXPECT_EQ(entry->entries(), stored);
        app.rec.clear();
        // "No" keeps it.
        entry->ListBox1->setCurrentRow(5);
        app.rec.answers.enqueue(ui::Answer::No);
        QTest::mouseClick(entry->BitBtn5, Qt::LeftButton);
        EXPECT_EQ(entry->entries(), stored);
        ASSERT_EQ(app.rec.shown.size(), 1);
        EXPECT_TRUE(app.rec.shown[0].text.contains(stored[5]));
        app.rec.answers.enqueue(ui::Answer::Yes);
        QTest::mouseClick(entry->BitBtn5, Qt::LeftButton);
        EXPECT_EQ(entry->entries().size(), 11);
        EXPECT_FALSE(entry->entries().contains(stored[5]));
        entry->ListBox1->setCurrentRow(0);
        app.rec.answers.enqueue(ui::Answer::Yes);
        QTest::keyClick(entry->ListBox1, Qt::Key_Delete);
        EXPECT_EQ(entry->entries().size(), 10);
        app.rec.clear();
        QTest::mouseClick(entry->OKBtn, Qt::LeftButton);
        EXPECT_FALSE(entry->isVisible());
        // Deleted on purpose: no warning about readings that would be lost.
        EXPECT_TRUE(app.rec.shown.isEmpty()) << app.rec.texts().join('|').toStdString();
    });
    app.menu("aktuellebearbeiten1");
    QStringList expected = stored;
    expected.removeAt(5);
    expected.removeAt(0);
    EXPECT_EQ(scenario::readingsIn(m.table), expected);
    // The deleted readings no longer count in the month.
    EXPECT_EQ(app.program().model.figures().dayLineTexts[0].count("ZuckerWert="), 3);
}

TEST(EntryScenario, TabMovesBetweenTheCellsAndTheBookOffersAChangedPage) {
    Month m;
    App app;
    QTest::mouseClick(app.find<QWidget>("Image"), Qt::LeftButton, {},
                      QPoint(graphgeo::DayX(2) + 10, 200));
    App::settle();
    QTextEdit *ed = app.find<QTextEdit>("RichEdit1");
    const QTextBlock carb = ed->document()->findBlockByNumber(6);
    QTextCursor c(carb);
    c.setPosition(carb.position() + carb.text().indexOf("Morgens= ") + 9);
    ed->setTextCursor(c);
    ed->setFocus();
    QTest::keyClicks(ed, "2");
    QTest::keyClick(ed, Qt::Key_Tab);
    QTest::keyClicks(ed, "3");
    const QString line = ed->document()->findBlockByNumber(6).text();
    EXPECT_TRUE(line.contains("Morgens= 2\t|  M2= 3\t|")) << line.toStdString();
    EXPECT_EQ(line.count('\t'), 4);
    QTest::keyClick(ed, Qt::Key_Tab, Qt::ShiftModifier);
    EXPECT_EQ(ed->textCursor().position(), carb.position() + carb.text().indexOf("Morgens= ") + 9);

    app.rec.answers.enqueue(ui::Answer::Yes); // store the changed page first
    app.whenModal([](QWidget *book) { book->close(); });
    app.menu("AllegespeichertenTagebuchseitendrucken1");
    ASSERT_FALSE(app.rec.shown.isEmpty());
    EXPECT_EQ(app.rec.shown[0].text,
              QString::fromUtf8("Das Tagebuch wurde verändert. Möchten Sie es speichern?"));
    const QByteArray diary = testutil::readBytes(m.table.left(m.table.size() - 3) + "txt");
    EXPECT_TRUE(diary.startsWith("Tag02: \t #BE: Morgens= 2\t|  M2= 3\t|")) << diary.toStdString();
}

TEST(EntryScenario, TheDiaryPageStaysInViewWhileTheGraphScrolls) {
    Month m;
    profile::write(m.f.ini(), "Einstellung", "BisZu4MessungenJeTag", "0");
    profile::write(m.f.ini(), "Einstellung", "BisZu8MessungenJeTag", "1");
    App app;
    TMainForm &w = app.window();
    ASSERT_EQ(w.size(), QSize(1000, 780));
    QTest::mouseClick(app.find<QWidget>("Image"), Qt::LeftButton, {},
                      QPoint(graphgeo::DayX(2) + 10, 200));
    App::settle();
    QTextEdit *ed = app.find<QTextEdit>("RichEdit1");
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
}

TEST(EntryScenario, StatisticsReportAndCsvFromTheMenu) {
    Month m;
    App app;
    bool shown = false;
    app.whenModal([&](QWidget *dlg) {
        shown = true;
        dlg->close();
    });
    app.menu("Statistik1");
    EXPECT_TRUE(shown) << app.rec.texts().join("|").toStdString();
    const QString csv = m.f.path() + "Messwerte.csv";
    app.rec.fileNames.enqueue(csv);
    app.menu("MesswertealsCSV1");
    const QByteArray bytes = testutil::readBytes(csv);
    EXPECT_TRUE(bytes.startsWith("\xEF\xBB\xBF")) << app.rec.texts().join('|').toStdString();
    EXPECT_EQ(bytes.count("\r\n"), 13); // the heading and twelve readings
    const QString pdf = m.f.path() + "Arztbericht.pdf";
    app.rec.fileNames.enqueue(pdf);
    app.menu("Arztbericht1");
    EXPECT_TRUE(testutil::readBytes(pdf).startsWith("%PDF-"));
}

// A diary file without a stored page (a hand-edited one): the book says so,
// and only that. The month table is not read, so a table gone meanwhile
// adds no second message.
TEST(EntryScenario, TheBookWithoutStoredPagesOnlySaysSo) {
    Month m;
    testutil::writeBytes(m.table.left(m.table.size() - 3) + "txt", "Notizen\r\n");
    App app;
    ASSERT_TRUE(QFile::remove(m.table));
    app.menu("AllegespeichertenTagebuchseitendrucken1");
    EXPECT_EQ(app.rec.texts(), QStringList{"Es sind keine Tagebuchseiten gespeichert."});
}
