#include "diary/diarypage.h"
#include "graph/geometry.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QTextBlock>
#include <QTextEdit>

#include "platform/textfile.h"
#include "platform/ui.h"
#include "recordingservices.h"
#include "storage/monthmodel.h"
#include "support/golden.h"
#include "testutil.h"

namespace {

const QString kMorgens = "Morgens den 05.05.2024 Z=07:30  ZuckerWert=120 -1 ";
const QString kAbends = "Abends den 05.05.2024 Z=20:00  ZuckerWert=140 -8 ";

// A diary page on its own, showing a May 2024 table in a temp folder that
// holds readings on days 5 and 7.
struct Page {
    testutil::TempFolder tmp;
    ui::RecordingServices rec;
    MonthModel model{Folders::at(tmp.path())};
    std::unique_ptr<DiaryPage> page;
    QTextEdit *editor = nullptr;
    int marked = 0;         // the day the graph would mark
    int scrolled = 0;       // days the graph would have scrolled
    bool canDelete = false; // the delete entry
    int scroll = 0;         // the graph's scroll position for clicks

    explicit Page(bool eight = false) {
        model.setModeTicks(!eight, eight);
        const QString table = tmp.file("MM052024.tab");
        testutil::writeBytes(
            table, testutil::crlf({"[Personendaten]", "BenutzerName=Max Muster", "Datum=Mai 2024",
                                   "", kMorgens.chopped(4), kAbends.chopped(4),
                                   kAbends.chopped(4).replace("05.05", "07.05")}));
        model.open(table);
        page = std::make_unique<DiaryPage>(model, rec);
        editor = page->findChild<QTextEdit *>("RichEdit1");
        QObject::connect(page.get(), &DiaryPage::dayShown, [this](int day) { marked = day; });
        QObject::connect(page.get(), &DiaryPage::scrollRequested,
                         [this](int days) { scrolled += days; });
        QObject::connect(page.get(), &DiaryPage::deleteAllowed,
                         [this](bool on) { canDelete = on; });
    }
    void click(int clientX) { page->FormMouseDown(clientX, scroll); }
    void options(bool be, bool ct, bool diary = false) {
        DisplayOptions o = model.options();
        o.carbUnitBE = be;
        o.therapyCT = ct;
        o.diaryVisible = diary;
        model.setOptions(o);
    }
    // Makes the shown page a changed one, as a typed blank does.
    void change() {
        QTextCursor c(editor->document()->findBlockByNumber(5));
        editor->setTextCursor(c);
        key(Qt::Key_Space, " ");
    }
    QStringList lines() const { return page->pageLines(); }
    void caretAt(int line, const QString &after) {
        const QTextBlock b = editor->document()->findBlockByNumber(line);
        QTextCursor c(b);
        c.setPosition(b.position() + b.text().indexOf(after) + after.size());
        editor->setTextCursor(c);
    }
    void key(int k, const QString &text, Qt::KeyboardModifiers m = Qt::NoModifier) {
        QKeyEvent press(QEvent::KeyPress, k, m, text);
        QApplication::sendEvent(editor, &press);
        QKeyEvent release(QEvent::KeyRelease, k, m, text);
        QApplication::sendEvent(editor, &release);
    }
};

} // namespace

TEST(DiaryPageDay, DayColumnsFromX) {
    // Client x (x) and the day of its column (y).
    for (const QPoint &c :
         {QPoint(39, 0), QPoint(40, 1), QPoint(87, 1), QPoint(88, 2), QPoint(580, 12),
          QPoint(1479, 30), QPoint(1480, 31), QPoint(1550, 31), QPoint(1551, 0)})
        EXPECT_EQ(graphgeo::dayAtX(c.x()), c.y()) << c.x();

    Page p;
    p.scroll = 480;
    p.click(100);
    EXPECT_EQ(p.page->currentDay(), 12);
    EXPECT_EQ(p.page->lastClickPosition(), 100);
    EXPECT_EQ(p.page->lastScrollPosition(), 480);
    EXPECT_EQ(p.marked, 12);
    EXPECT_TRUE(p.page->noValuesPageShown());
    EXPECT_EQ(p.lines().at(4), " Es sind keine Glykovalinmesswerte eingetragen! ");
    EXPECT_FALSE(p.canDelete);

    // Right of day 31 nothing new is shown, stored or deleted.
    p.change();
    ASSERT_TRUE(p.page->diaryChanged());
    ui::RecordingServices &rec = p.rec;
    rec.clear();
    p.scroll = 1200;
    p.click(400);
    EXPECT_TRUE(rec.shown.isEmpty());
    EXPECT_EQ(p.page->currentDay(), 12);
    EXPECT_TRUE(p.page->diaryChanged());

    // A click with a changed page only asks; given up, the page stays until
    // the next click.
    p.scroll = 0;
    rec.answers.enqueue(ui::Answer::No);
    p.click(100);
    ASSERT_FALSE(p.page->diaryChanged());
    EXPECT_EQ(p.page->currentDay(), 12);
    // The stored positions of the last start: a small click position is
    // raised to 64 and selects its day when the month is read.
    p.page->restorePositions(30, 0);
    EXPECT_EQ(p.page->lastClickPosition(), 64);
    p.model.reload();
    EXPECT_EQ(p.page->currentDay(), 1);
}

// In mmol/l the page's reading line shows the readings in it; switching
// back shows the page in mg/dl again.
TEST(DiaryPageLayout, ReadingLineInMmol) {
    Page p;
    p.model.setUnit(GlucoseUnit::MmolL);
    p.click(40 + 48 * 4 + 5);
    EXPECT_EQ(p.lines().at(4), " Messwerte [mmol/l]: Morgens (07:30) = 6,7\t|\tM2 (  ?  ) =   "
                               "?\t|\tM3 (  ?  ) =   ?\t|\tAbends (20:00) = 7,8");
    p.model.setUnit(GlucoseUnit::MgDl);
    p.page->monthChanged();
    EXPECT_TRUE(p.lines().at(4).startsWith(" Messwerte [mg/dl]: Morgens (07:30) = 120\t"));
}

// The pages of day 5 before anything is typed, for both modes, carbohydrate
// units and therapies, compared whole.
TEST(DiaryPageLayout, EmptyPagesForUnitsTherapiesAndModes) {
    QByteArray all;
    for (bool eight : {false, true})
        for (bool be : {false, true})
            for (bool ct : {false, true}) {
                Page p(eight);
                p.options(be, ct);
                p.click(40 + 48 * 4 + 5);
                EXPECT_FALSE(p.page->noValuesPageShown());
                all += p.lines().join(u'\n').toUtf8() + "\n\n";
            }
    EXPECT_TRUE(golden::matches(all, "diary/emptypages.txt"));
}

TEST(DiaryPageEditing, KeysDaySumStoreAndShowAgain) {
    Page p;
    ui::RecordingServices &rec = p.rec;
    p.options(true, true);
    p.click(40 + 48 * 4 + 5);

    // The title line takes no key.
    p.caretAt(0, "Glyko");
    const QStringList before = p.lines();
    p.key(Qt::Key_A, "a");
    p.key(Qt::Key_Backspace, "");
    p.key(Qt::Key_V, "", Qt::ControlModifier);
    EXPECT_EQ(p.lines(), before);
    EXPECT_FALSE(p.page->diaryChanged());

    p.caretAt(6, "Morgens= ");
    p.key(Qt::Key_2, "2");
    EXPECT_TRUE(p.page->diaryChanged());
    p.caretAt(6, "Abends= ");
    p.key(Qt::Key_3, "3");
    EXPECT_EQ(p.lines().at(10), "\t Bemerkung: BE-Tagessumme= 5\t\u2022    ");
    p.caretAt(6, "M2= ");
    p.key(Qt::Key_1, "1");
    EXPECT_EQ(p.lines().at(10), "\t Bemerkung: BE-Tagessumme= 6\t\u2022    ");
    // Keypad digits change the page but not the sum.
    p.caretAt(6, "M3= ");
    p.key(Qt::Key_4, "4", Qt::KeypadModifier);
    EXPECT_EQ(p.lines().at(10), "\t Bemerkung: BE-Tagessumme= 6\t\u2022    ");
    p.caretAt(10, "\u2022    ");
    for (QChar c : QString("Sport #1"))
        p.key(c == ' ' ? Qt::Key_Space : Qt::Key_A, QString(c));

    // Leaving the changed page asks; Yes stores it, the other day is not shown.
    rec.answers.enqueue(ui::Answer::Yes);
    p.click(40 + 48 * 9 + 5);
    ASSERT_EQ(rec.texts().size(), 1);
    EXPECT_EQ(p.page->currentDay(), 5);
    EXPECT_FALSE(p.page->diaryChanged());
    QStringList file;
    ASSERT_TRUE(textfile::readLines(p.tmp.file("MM052024.txt"), file));
    ASSERT_EQ(file.size(), 1);
    EXPECT_TRUE(file.at(0).startsWith(
        "Tag05: \t #BE: Morgens= 2\t|  M2= 1\t|  M3= 4\t|  Abends= 3\t #Insulin"))
        << file.at(0).toStdString();
    EXPECT_TRUE(file.at(0).endsWith("#Bemerkung: BE-Tagessumme= 6\t\u2022    Sport &num;1"));

    // Shown again from the diary, with the note and the user's "#".
    p.click(40 + 48 * 4 + 5);
    const QStringList l = p.lines();
    EXPECT_TRUE(l.at(0).endsWith("\t\t(Diese Seite stammt aus dem gespeicherten Tagebuch.)"));
    EXPECT_TRUE(l.at(6).startsWith("\t BE: Morgens= 2\t|  M2= 1\t"));
    EXPECT_TRUE(l.at(8).startsWith("\t Insulin (CT)  : Morgens= "));
    EXPECT_EQ(l.at(10), "\t Bemerkung: BE-Tagessumme= 6\t\u2022    Sport #1");
    EXPECT_TRUE(p.canDelete);

    // Stored again without a real change: the same bytes.
    const QByteArray first = testutil::readBytes(p.tmp.file("MM052024.txt"));
    p.caretAt(10, "Sport #1");
    p.key(Qt::Key_Space, " ");
    p.key(Qt::Key_Backspace, "");
    ASSERT_TRUE(p.page->diaryChanged());
    rec.answers.enqueue(ui::Answer::Yes);
    p.click(40 + 48 * 9 + 5);
    EXPECT_EQ(testutil::readBytes(p.tmp.file("MM052024.txt")), first);
}

TEST(DiaryPageEditing, DecimalsBadCellsAndDelete) {
    Page p;
    ui::RecordingServices &rec = p.rec;
    p.options(false, false);
    p.click(40 + 48 * 4 + 5);
    p.caretAt(6, "Morgens= ");
    p.key(Qt::Key_1, "1");
    p.key(Qt::Key_Period, ".");
    p.key(Qt::Key_5, "5");
    p.caretAt(6, "M2= ");
    p.key(Qt::Key_2, "2");
    EXPECT_EQ(p.lines().at(10), "\t Bemerkung: KE-Tagessumme= 3,5\t\u2022    ");

    // A cell that is not a number: the message, the page as typed.
    p.caretAt(6, "M3= ");
    p.key(Qt::Key_X, "x");
    p.key(Qt::Key_7, "7");
    ASSERT_EQ(rec.texts().size(), 1);
    EXPECT_EQ(rec.texts().at(0), "'x7' ist kein gültiger Gleitkommawert");
    EXPECT_TRUE(p.lines().at(6).contains("M3= x7"));
    EXPECT_EQ(p.lines().at(10), "\t Bemerkung: KE-Tagessumme= 3,5\t\u2022    ");

    // No to the store question cancels the delete.
    rec.answers.enqueue(ui::Answer::No);
    p.page->DatenaktuellerTagebucheintraglschen1Click();
    EXPECT_TRUE(p.page->diaryChanged());
    EXPECT_EQ(rec.texts().size(), 2);
    EXPECT_FALSE(QFile::exists(p.tmp.file("MM052024.txt")));

    // Yes stores the page, then Yes deletes it; the day shows as empty page.
    rec.answers.enqueue(ui::Answer::Yes);
    rec.answers.enqueue(ui::Answer::Yes);
    p.page->DatenaktuellerTagebucheintraglschen1Click();
    ASSERT_EQ(rec.texts().size(), 4) << rec.texts().join("|").toStdString();
    EXPECT_EQ(rec.texts().at(3), "Möchten Sie wirklich die Tagebuch-Daten von Tag 05 löschen ?");
    EXPECT_EQ(testutil::readBytes(p.tmp.file("MM052024.txt")), QByteArray());
    EXPECT_EQ(p.lines().at(6), DiaryPage::carbTemplate(false, MeasureMode::Four));
    EXPECT_TRUE(p.model.diary().lines().isEmpty());
}

TEST(DiaryPageEditing, ColumnKeepingNoValuesAndDayScroll) {
    Page p;
    p.options(true, false);
    p.click(40 + 48 * 4 + 5);
    p.caretAt(6, "Morgens= ");
    p.key(Qt::Key_1, "1");
    p.key(Qt::Key_2, "2");
    p.key(Qt::Key_Backspace, "");
    EXPECT_TRUE(p.lines().at(6).startsWith("\t BE: Morgens= 1  \t|  M2= "));
    // The caret in front of a separator goes back before its tab on mouse up.
    p.caretAt(6, "1  \t");
    QMouseEvent up(QEvent::MouseButtonRelease, QPointF(1, 1), QPointF(1, 1), Qt::LeftButton,
                   Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(p.editor->viewport(), &up);
    EXPECT_EQ(p.editor->textCursor().position(),
              p.editor->document()->findBlockByNumber(6).position() +
                  p.lines().at(6).indexOf("1  \t") + 3);

    // Ctrl+Right scrolls one day only while the diary is switched on.
    p.key(Qt::Key_Right, "", Qt::ControlModifier);
    EXPECT_EQ(p.scrolled, 0);
    p.options(true, false, true);
    p.key(Qt::Key_Right, "", Qt::ControlModifier);
    EXPECT_EQ(p.scrolled, 1);

    // The no-values notice: letters leave the page unchanged, a blank not.
    p.rec.answers.enqueue(ui::Answer::No); // the changed page is not stored
    p.click(40 + 48 * 11 + 5);
    p.click(40 + 48 * 11 + 5);
    ASSERT_TRUE(p.page->noValuesPageShown());
    QTextCursor c(p.editor->document()->findBlockByNumber(5));
    p.editor->setTextCursor(c);
    p.key(Qt::Key_A, "a");
    p.key(Qt::Key_Backspace, "");
    EXPECT_FALSE(p.page->diaryChanged());
    p.key(Qt::Key_Space, " ");
    EXPECT_TRUE(p.page->diaryChanged());
}
