#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTextStream>
#include <QToolButton>

#include "cli/tablecli.h"
#include "entry/eingabedlg.h"
#include "entry/tablebuilder.h"
#include "platform/convert.h"
#include "platform/profile.h"
#include "platform/ui.h"
#include "recordingservices.h"
#include "storage/monthmodel.h"
#include "testutil.h"

// Readable QString values in failure messages.
inline void PrintTo(const QString &s, std::ostream *os) {
    *os << '"' << s.toStdString() << '"';
}

namespace {

// A month session in a temp folder, as the main window sets it up.
struct EntryFixture {
    testutil::TempFolder dir;
    MonthModel session{Folders::at(dir.path())};
    QString settingsPath = session.folders().settings;
    EntryFixture(bool eight = false) {
        QDir().mkpath(session.folders().data);
        session.setUserName("Max Muster");
        session.setModeTicks(!eight, eight);
    }
    QString ini(const char *key) const {
        return profile::read(settingsPath, "Einstellung", QString::fromLatin1(key));
    }
    // What a drawing pass that ran to its end leaves in the session.
    void drawn() {
        MonthResult r;
        r.complete = true;
        session.setDrawn(r);
    }
};

QString line(const char *slot, const char *date, const char *time, const char *value) {
    const QString pre = QString::fromLatin1(slot) + " den ";
    const QString pad = pre.size() == 12 ? "   " : pre.size() == 11 ? "    " : "";
    return pre + pad + date + " Z=" + time + "  ZuckerWert=" + value;
}

// Types a reading into the dialog's fields and presses "In Liste aufnehmen".
void add(TEingabeDlg &d, int day, const char *time, int value) {
    d.SpinEdit1->setValue(day);
    d.Edit1->setText(QString::fromLatin1(time));
    d.SpinEdit4->setValue(value);
    d.BitBtn1->click();
}

const QString kHead4 = "  Datum  |    Morgens    | Wert |   Messung 2   | Wert |   Messung 3   | "
                       "Wert |     Abends      | Wert |                            Bemerkung";
const QString kHead8 =
    "Datum |   M1   | Wert |   M2   | Wert |   M3   | Wert  |   M4   | Wert |   M5   | Wert |   "
    "M6   | Wert |   M7   | Wert |   M8   | Wert  |          Bemerkung";

} // namespace

TEST(TableText, EmptyListGivesHeadAndThirtyOneEmptyRowsInBothModes) {
    tablebuilder::TableInput in;
    in.monthName = QString::fromUtf8("März");
    in.year = "2024";
    in.userName = "Max Muster";
    QStringList l = tablebuilder::BringsAufDieReihe(in);
    ASSERT_EQ(l.size(), 67);
    EXPECT_EQ(l[0], QString::fromUtf8("GLYKOVALINMESSWERTE: März 2024 von Max Muster"));
    EXPECT_EQ(l[1], QString(l[0].size(), '='));
    EXPECT_EQ(l[2], "");
    EXPECT_EQ(l[3], kHead4);
    EXPECT_EQ(kHead4.size(), 141);
    EXPECT_EQ(l[4], QString(115, '_'));
    EXPECT_EQ(l[5], "   01       |                      |          |" +
                        QString("                       |          |").repeated(3));
    EXPECT_EQ(l[5].left(47).size(), 47);
    EXPECT_EQ(l[6], QString(115, '_'));
    EXPECT_TRUE(l[65].startsWith("   31       |"));
    EXPECT_EQ(l[66], QString(115, '_'));

    in.fourSlots = false;
    in.eightSlots = true;
    l = tablebuilder::BringsAufDieReihe(in);
    ASSERT_EQ(l.size(), 67);
    EXPECT_EQ(l[3], kHead8);
    EXPECT_EQ(kHead8.size(), 156);
    EXPECT_EQ(l[5],
              "   01    |           |          |" + QString("           |          |").repeated(7));
    EXPECT_EQ(QString("   01    |           |          |").size(), 33);

    in.eightSlots = false;
    EXPECT_TRUE(tablebuilder::BringsAufDieReihe(in).isEmpty());
}

TEST(TableText, MixedListFillsCellsInBothModes) {
    tablebuilder::TableInput in;
    in.monthName = "April";
    in.year = "2024";
    in.userName = "Anna";
    in.entries = {
        line("Morgens", "02.04.2024", "07:30", "95"),
        line("Messung2", "02.04.2024", "12:00", "120"),
        line("Messung5", "02.04.2024", "15:00", "7"), line("Abends", "02.04.2024", "22:10", "7"),
        line("Morgens", "05.04.2024", "08:00", "140"),
        // A second Morgens reading of the same date: the later one wins.
        line("Morgens", "05.04.2024", "08:20", "150"), line("Abends", "31.04.2024", "21:00", "99"),
        line("Abends", "32.04.2024", "21:00", "99")};
    QStringList l = tablebuilder::BringsAufDieReihe(in);
    ASSERT_EQ(l.size(), 67);
    const QString empty4 = "                       |          |";
    // Day 2 is row index 5 + 2 * 1.
    EXPECT_EQ(l[7], "   02       |       07:30      |  95    |"
                    "       12:00       |  120  |" +
                        empty4 + "       22:10       |  7  |");
    EXPECT_EQ(l[13], "   05       |       08:20      |  150  |" + empty4.repeated(3));
    EXPECT_EQ(l[65], "   31       |                      |          |" + empty4.repeated(2) +
                         "       21:00       |  99    |");
    // The Messung5 reading is left out in four-slot mode.
    EXPECT_FALSE(l.join('\n').contains("15:00"));

    in.fourSlots = false;
    in.eightSlots = true;
    l = tablebuilder::BringsAufDieReihe(in);
    const QString empty8 = "           |          |";
    EXPECT_EQ(l[7], "   02    | 07:30 |  95    | 12:00 |  120  |" + empty8.repeated(2) +
                        " 15:00 |  7  |" + empty8.repeated(2) + " 22:10 |  7  |");
    EXPECT_EQ(l[9], "   03    |           |          |" + empty8.repeated(7));
}

TEST(ListOrder, SortsByDayThenSlotAndDropsExactDuplicates) {
    EXPECT_EQ(tablebuilder::SortKey(line("Abends", "03.03.2024", "22:00", "100")), "03h");
    EXPECT_EQ(tablebuilder::SortKey(line("Messung2", "13.03.2024", "12:00", "100")), "13b");
    const QStringList sorted = tablebuilder::sortEntries(
        {line("Abends", "03.03.2024", "22:00", "100"), line("Morgens", "02.03.2024", "07:00", "90"),
         line("Messung3", "03.03.2024", "18:00", "110"),
         line("Morgens", "03.03.2024", "07:00", "95"),
         line("Morgens", "03.03.2024", "07:00", "95")});
    EXPECT_EQ(sorted, QStringList({line("Morgens", "02.03.2024", "07:00", "90"),
                                   line("Morgens", "03.03.2024", "07:00", "95"),
                                   line("Messung3", "03.03.2024", "18:00", "110"),
                                   line("Abends", "03.03.2024", "22:00", "100")}));
    // A hand-edited line without a date is kept whole.
    EXPECT_TRUE(tablebuilder::sortEntries({"Morgens kaputt"}).contains("Morgens kaputt"));
}

TEST(EntryRules, TimeButtonsMonthLengthsAndSlotCycles) {
    using entrydlg::stepTimeText;
    EXPECT_EQ(stepTimeText("23:50", true), "24:00");
    EXPECT_EQ(stepTimeText("24:00", true), "00:10");
    EXPECT_EQ(stepTimeText("00:00", false), "24:00");
    EXPECT_EQ(stepTimeText("24:00", false), "23:50");
    EXPECT_EQ(stepTimeText("07:35", true), "07:45");
    EXPECT_EQ(stepTimeText("07:55", true), "07:65");
    EXPECT_EQ(stepTimeText("10:00", false), "09:50");
    EXPECT_THROW(stepTimeText("ab:cd", true), EConvertError);

    EXPECT_EQ(entrydlg::daysInMonth(2, "2024"), 29);
    EXPECT_EQ(entrydlg::daysInMonth(2, "2023"), 28);
    EXPECT_EQ(entrydlg::daysInMonth(2, "1900"), 29); // taken as 2000
    EXPECT_EQ(entrydlg::daysInMonth(4, "2024"), 30);

    using S = MeasurementSlot;
    EXPECT_EQ(entrydlg::slotAfterRestore(S::Messung3, MeasureMode::Four), S::Abends);
    EXPECT_EQ(entrydlg::slotAfterRestore(S::Messung3, MeasureMode::Eight), S::Messung4);
    EXPECT_EQ(entrydlg::slotAfterRestore(S::Messung5, MeasureMode::Four), S::Messung6);
    EXPECT_EQ(entrydlg::slotAfterRestore(S::Abends, MeasureMode::Four), S::Morgens);
    EXPECT_EQ(entrydlg::slotButtonNext(S::Messung5, MeasureMode::Four), S::Messung5);
    EXPECT_EQ(entrydlg::slotButtonNext(S::Messung3, MeasureMode::Four), S::Abends);
    EXPECT_EQ(entrydlg::slotButtonNext(S::Messung7, MeasureMode::Eight), S::Abends);
}

TEST(EntryDialog, AddOverTwoDaysSavesTheExactFileAndSettings) {
    EntryFixture fx;
    ui::RecordingServices rec;
    TEingabeDlg d(fx.session, rec);
    d.FormCreate();
    EXPECT_EQ(d.BitBtn3->text(), "Morgens");
    QString drawn;
    QObject::connect(&d, &TEingabeDlg::drawRequested, [&](const QString &p) { drawn = p; });
    d.SpinEdit2->setValue(3);
    d.SpinEdit3->setValue(2024);
    EXPECT_EQ(d.SpinEdit2->text(), "03");

    const QStringList labels = {"Messung 2", "Messung 3", "Abends", "Morgens"};
    const char *times[] = {"07:00", "12:00", "18:00", "22:00"};
    for (int i = 0; i < 4; ++i) {
        add(d, 5, times[i], 100 + i);
        EXPECT_EQ(d.BitBtn3->text(), labels[i]);
    }
    add(d, 4, "07:10", 95);
    add(d, 6, "07:20", 7);
    EXPECT_TRUE(rec.shown.isEmpty()) << rec.texts().join('|').toStdString();
    const QStringList expected = {line("Morgens", "04.03.2024", "07:10", "95"),
                                  line("Morgens", "05.03.2024", "07:00", "100"),
                                  line("Messung2", "05.03.2024", "12:00", "101"),
                                  line("Messung3", "05.03.2024", "18:00", "102"),
                                  line("Abends", "05.03.2024", "22:00", "103"),
                                  line("Messung2", "06.03.2024", "07:20", "7")};
    // Sorted by day, then slot; the selection is on the last item.
    EXPECT_EQ(d.entries(), expected);
    EXPECT_EQ(d.ListBox1->currentRow(), 5);
    EXPECT_EQ(d.lastEntryLine(), expected[5]);

    d.OKBtn->click();
    const QString path = fx.dir.path() + "Glykovalin-Daten/2024/MM032024.tab";
    EXPECT_EQ(drawn, path);
    QStringList file = {"[Personendaten]",
                        "BenutzerName=Max Muster",
                        QString::fromUtf8("Datum=März 2024"),
                        "",
                        "DruckenTabellenRandLeft=18",
                        "DruckenTabellenRandRight=10",
                        "DruckenTabellenRandTop=10",
                        "DruckenTabellenRandBottom=10",
                        "",
                        "",
                        "BisZu4MessungenJeTag=1",
                        "BisZu8MessungenJeTag=0",
                        "",
                        ""};
    file << expected;
    EXPECT_EQ(testutil::readBytes(path), testutil::crlf(file));
    EXPECT_EQ(fx.ini("BenutzerName"), "Max Muster");
    EXPECT_EQ(fx.ini("LetzteEingabe"), expected[5]);
    // Each slot remembers the time of the last reading saved for it, under
    // the four-slot key; the time field of the next slot stores nothing.
    EXPECT_EQ(d.BitBtn3->text(), "Messung 3");
    EXPECT_EQ(fx.ini("Messung4UhrzeitMorgens"), "07:10");
    EXPECT_EQ(fx.ini("Messung4UhrzeitMessung2"), "07:20");
    EXPECT_EQ(fx.ini("Messung4UhrzeitMessung3"), "18:00");
    EXPECT_EQ(fx.ini("Messung4UhrzeitAbends"), "22:00");
    EXPECT_EQ(fx.session.entryMonthName(), QString::fromUtf8("März"));

    // Saving again produces the same bytes.
    const QByteArray first = testutil::readBytes(path);
    d.GrafikZeigen();
    EXPECT_EQ(testutil::readBytes(path), first);

    // The table text of the saved list.
    const QStringList table = d.tableText().split('\n');
    EXPECT_EQ(table[0], QString::fromUtf8("GLYKOVALINMESSWERTE: März 2024 von Max Muster"));
    EXPECT_TRUE(table[13].startsWith("   05       |       07:00      |  100  |"));
}

TEST(EntryDialog, ReplaceQuestionYearRefusalAndEmptyList) {
    EntryFixture fx;
    ui::RecordingServices rec;
    TEingabeDlg d(fx.session, rec);
    d.FormCreate();
    d.SpinEdit2->setValue(3);
    d.SpinEdit3->setValue(2024);

    // An empty list is refused by both closing buttons; nothing is written.
    d.OKBtn->click();
    d.BitBtn4->click();
    ASSERT_EQ(rec.shown.size(), 2);
    EXPECT_EQ(rec.shown[0].kind, ui::Kind::Plain);
    EXPECT_EQ(rec.shown[0].text,
              QString::fromUtf8("Sie haben noch keinen Messwert eingetragen! Betätigen Sie bitte "
                                "den Schalter \"In Liste aufnehmen\"!"));
    EXPECT_FALSE(QFile::exists(fx.dir.path() + "Glykovalin-Daten/2024/MM032024.tab"));
    rec.clear();

    add(d, 5, "07:00", 100); // Morgens
    add(d, 5, "12:00", 110); // Messung2
    d.setCurrentSlot(MeasurementSlot::Messung2);
    rec.answers.enqueue(ui::Answer::No);
    add(d, 5, "12:30", 200);
    ASSERT_EQ(rec.shown.size(), 1);
    EXPECT_EQ(rec.shown[0].kind, ui::Kind::Confirmation);
    EXPECT_EQ(rec.shown[0].text, "Ein Eintrag mit dem Datum: Messung2 den 05.03.2024 existiert "
                                 "schon in der Liste. Soll er ersetzt werden?");
    EXPECT_EQ(d.entries()[1], line("Messung2", "05.03.2024", "12:00", "110"));
    EXPECT_TRUE(d.lastEntryLine().isEmpty());
    EXPECT_EQ(d.BitBtn3->text(), "Messung 2"); // the slot does not move

    rec.answers.enqueue(ui::Answer::Yes);
    add(d, 5, "12:30", 200);
    EXPECT_EQ(d.entries()[1], line("Messung2", "05.03.2024", "12:30", "200"));
    EXPECT_EQ(d.entries().size(), 2);
    rec.clear();

    // Another year in the year field: the next add is refused.
    d.SpinEdit3->setValue(2023);
    EXPECT_TRUE(d.yearMismatch());
    add(d, 6, "07:00", 100);
    ASSERT_EQ(rec.shown.size(), 1);
    EXPECT_EQ(rec.shown[0].kind, ui::Kind::Information);
    EXPECT_TRUE(rec.shown[0].text.startsWith(
        QString::fromUtf8("Überprüfen Sie bitte die Jahresangabe \"2023\" sie stimmt nicht mit "
                          "den bisherigen Eintragungen überein!\r\nWenn Sie")));
    EXPECT_EQ(d.entries().size(), 2);

    // The month of a filled list cannot be changed.
    d.SpinEdit2->setValue(4);
    EXPECT_EQ(d.SpinEdit2->text(), "03");
}

TEST(EntryDialog, CorrectionRefusesTheFirstItemAndZeroesTheSecond) {
    EntryFixture fx;
    ui::RecordingServices rec;
    TEingabeDlg d(fx.session, rec);
    d.FormCreate();
    d.SpinEdit2->setValue(3);
    d.SpinEdit3->setValue(2024);
    add(d, 5, "07:00", 100);
    add(d, 5, "12:00", 95);
    d.ListBox1->setCurrentRow(-1);
    d.ListBox1->clearSelection();
    d.BitBtn2->click();
    ASSERT_EQ(rec.shown.size(), 1);
    EXPECT_EQ(rec.shown[0].text, QString::fromUtf8("Sie müssen zuerst einen Eintrag in der Liste "
                                                   "durch Anklicken auswählen!"));
    rec.clear();

    d.ListBox1->setCurrentRow(0);
    d.BitBtn2->click(); // answered Yes by default
    ASSERT_EQ(rec.shown.size(), 2);
    EXPECT_EQ(rec.shown[0].buttons, ui::Buttons::YesNo);
    EXPECT_TRUE(rec.shown[0].text.contains("betätigen,wird in der Grafik"));
    EXPECT_EQ(rec.shown[1].text, "Der erste Eintrag der Liste muss einen Messwert haben und kann "
                                 "nicht 0 sein!");
    EXPECT_EQ(d.entries()[0], line("Morgens", "05.03.2024", "07:00", "100"));
    rec.clear();

    d.setCurrentSlot(MeasurementSlot::Abends);
    d.ListBox1->setCurrentRow(1);
    d.BitBtn2->click();
    EXPECT_EQ(d.entries()[1], line("Messung2", "05.03.2024", "12:00", "0"));
    EXPECT_EQ(d.BitBtn3->text(), "Messung 2");
    EXPECT_EQ(d.Edit1->text(), "12:00");
    EXPECT_EQ(d.SpinEdit4->value(), 95);
    // Adding it again offers to replace the zeroed item.
    rec.answers.enqueue(ui::Answer::Yes);
    d.SpinEdit4->setValue(98);
    d.BitBtn1->click();
    EXPECT_EQ(d.entries()[1], line("Messung2", "05.03.2024", "12:00", "98"));
}

TEST(EntryDialog, RestoresFromTheLastEntry) {
    struct Case {
        QString stored;
        int day;
        const char *slot;
    };
    const Case cases[] = {{line("Abends", "31.03.2024", "22:00", "100"), 31, "Morgens"},
                          {line("Abends", "30.04.2024", "22:00", "100"), 30, "Morgens"},
                          {line("Abends", "28.02.2024", "22:00", "100"), 29, "Morgens"},
                          {line("Abends", "28.02.2023", "22:00", "100"), 28, "Morgens"},
                          {line("Messung3", "10.05.2024", "18:00", "100"), 10, "Abends"}};
    for (const Case &c : cases) {
        EntryFixture fx;
        ui::RecordingServices rec;
        profile::write(fx.settingsPath, "Einstellung", "LetzteEingabe", c.stored);
        TEingabeDlg d(fx.session, rec);
        d.FormCreate();
        EXPECT_EQ(d.SpinEdit1->value(), c.day) << c.stored.toStdString();
        EXPECT_EQ(d.BitBtn3->text(), c.slot);
        EXPECT_EQ(d.SpinEdit4->value(), 100);
        EXPECT_EQ(d.Edit1->text(), c.stored.mid(c.stored.indexOf("Z=") + 2, 5));
    }
}

TEST(EntryDialog, NewMonthAsksBeforeReplacingAFileWithOtherReadings) {
    EntryFixture fx;
    ui::RecordingServices rec;
    const QString path = fx.dir.path() + "Glykovalin-Daten/2024/MM032024.tab";
    QDir().mkpath(fx.dir.path() + "Glykovalin-Daten/2024");
    const QByteArray old = testutil::crlf({"[Personendaten]", "BenutzerName=Max Muster", "",
                                           line("Morgens", "01.03.2024", "07:00", "111")});
    testutil::writeBytes(path, old);
    TEingabeDlg d(fx.session, rec);
    d.FormCreate();
    d.SpinEdit2->setValue(3);
    d.SpinEdit3->setValue(2024);
    add(d, 5, "07:00", 100);
    rec.clear();
    rec.answers.enqueue(ui::Answer::No);
    d.OKBtn->click();
    ASSERT_EQ(rec.shown.size(), 1);
    EXPECT_EQ(rec.shown[0].kind, ui::Kind::Warning);
    EXPECT_EQ(rec.shown[0].text,
              QString::fromUtf8("Eine Tabelle mit Namen: MM032024.tab existiert schon! Alle "
                                "Messwerte darin werden gelöscht! Möchten Sie das?"));
    EXPECT_EQ(testutil::readBytes(path), old);
    EXPECT_TRUE(fx.ini("LetzteEingabe").isEmpty());

    rec.answers.enqueue(ui::Answer::Yes);
    d.BitBtn4->click();
    EXPECT_TRUE(testutil::readBytes(path).contains("ZuckerWert=100"));
    EXPECT_FALSE(testutil::readBytes(path).contains("ZuckerWert=111"));
}

TEST(EntryDialog, ReturnInTheValueFieldAddsAndTimeButtonsStep) {
    EntryFixture fx;
    ui::RecordingServices rec;
    TEingabeDlg d(fx.session, rec);
    d.FormCreate();
    d.SpinEdit1->setValue(1);
    d.SpinEdit2->setValue(3);
    d.SpinEdit3->setValue(2024);
    d.Edit1->setText("23:50");
    d.SpinButton1Up->click();
    EXPECT_EQ(d.Edit1->text(), "24:00");
    d.SpinButton1Up->click();
    EXPECT_EQ(d.Edit1->text(), "00:10");
    d.Edit1->setText("00:00");
    d.SpinButton1Down->click();
    EXPECT_EQ(d.Edit1->text(), "24:00");
    // A field without a time starts from the slot's remembered time, or noon.
    d.Edit1->setText("kaputt");
    d.SpinButton1Up->click();
    EXPECT_TRUE(rec.shown.isEmpty());
    EXPECT_EQ(d.Edit1->text(), "12:00");
    profile::write(fx.dir.file("glykoval.ini"), "Einstellung", "Messung4UhrzeitMorgens", "06:40");
    d.Edit1->clear();
    d.SpinButton1Down->click();
    EXPECT_EQ(d.Edit1->text(), "06:40");

    d.Edit1->setText("07:00");
    QKeyEvent ret(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QCoreApplication::sendEvent(d.SpinEdit4->findChild<QLineEdit *>(), &ret);
    EXPECT_EQ(d.entries(), QStringList({line("Morgens", "01.03.2024", "07:00", "140")}));

    // Caption after the mode.
    d.FormPaint();
    EXPECT_EQ(d.windowTitle(), "Eingabe der Glykovalinmesswerte - Bis zu 4 Messungen je Tag");
}

TEST(TableCommand, PrintsTheTableTextInUtf8AndFailsOnAMissingTable) {
    testutil::TempFolder dir;
    const QString old = QDir::currentPath();
    QDir::setCurrent(dir.path());
    QDir().mkpath(dir.path() + "Glykovalin-Daten/2024");
    const QString table = "Glykovalin-Daten/2024/MM032024.tab";
    testutil::writeBytes(
        dir.file(table),
        testutil::crlf({"[Personendaten]", QString::fromUtf8("BenutzerName=Max Müller"),
                        QString::fromUtf8("Datum=März 2024"), "", "BisZu4MessungenJeTag=1",
                        "BisZu8MessungenJeTag=0", "",
                        line("Morgens", "05.03.2024", "07:00", "95")}));
    QByteArray outBytes, errBytes;
    {
        QTextStream out(&outBytes), err(&errBytes);
        EXPECT_EQ(tablecli::tableCommand(table, out, err), 0);
    }
    const QStringList lines = QString::fromUtf8(outBytes).split('\n');
    ASSERT_EQ(lines.size(), 68); // 67 lines and the closing line end
    EXPECT_EQ(lines[0], QString::fromUtf8("GLYKOVALINMESSWERTE: März 2024 von Max Müller"));
    EXPECT_TRUE(outBytes.contains("M\xc3\xa4rz"));
    EXPECT_EQ(lines[13], "   05       |       07:00      |  95    |" +
                             QString("                       |          |").repeated(3));
    // Found by its bare name inside the data folder too.
    outBytes.clear();
    {
        QTextStream out(&outBytes), err(&errBytes);
        EXPECT_EQ(tablecli::tableCommand("2024/MM032024.tab", out, err), 0);
    }
    EXPECT_FALSE(outBytes.isEmpty());
    outBytes.clear();
    {
        QTextStream out(&outBytes), err(&errBytes);
        EXPECT_NE(tablecli::tableCommand("fehlt.tab", out, err), 0);
    }
    EXPECT_TRUE(outBytes.isEmpty());
    EXPECT_TRUE(QString::fromUtf8(errBytes).contains("fehlt.tab"));
    QDir::setCurrent(old);
}

TEST(EntryDialog, MarkingSelectsTheReadingOfSlotAndDate) {
    EntryFixture fx;
    ui::RecordingServices rec;
    TEingabeDlg d(fx.session, rec);
    d.FormCreate();
    d.setEntries({line("Morgens", "05.03.2024", "07:00", "100"),
                  line("Messung2", "05.03.2024", "12:00", "110"),
                  line("Morgens", "06.03.2024", "07:00", "120")});
    fx.session.setEntryMonth("03", "2024");
    d.SpinEdit2->setValue(3);
    d.SpinEdit3->setValue(2024);
    d.SpinEdit1->setValue(5);
    // Without a graph nothing is marked.
    EXPECT_EQ(d.ListBox1->currentRow(), -1);
    fx.drawn();
    d.setCurrentSlot(MeasurementSlot::Messung2);
    d.MarkierEintragInListe();
    EXPECT_EQ(d.ListBox1->currentRow(), 1);
    d.setCurrentSlot(MeasurementSlot::Morgens);
    d.SpinEdit1->setValue(6); // the day change marks too
    EXPECT_EQ(d.ListBox1->currentRow(), 2);
    d.SpinEdit1->setValue(7);
    EXPECT_EQ(d.ListBox1->currentRow(), -1);
    EXPECT_TRUE(d.ListBox1->selectedItems().isEmpty());
    // The month of a filled list stays, shown in grey.
    d.SpinEdit2->setValue(5);
    EXPECT_EQ(d.SpinEdit2->text(), "03");
}

TEST(EntryDialog, EightSlotSaveStoresTheSlotTimeAndEmptyListWritesTheHeader) {
    EntryFixture fx(true);
    ui::RecordingServices rec;
    fx.session.setUserName("Max");
    TEingabeDlg d(fx.session, rec);
    d.FormCreate();
    d.SpinEdit2->setValue(7);
    d.SpinEdit3->setValue(2025);
    QStringList drawn;
    QObject::connect(&d, &TEingabeDlg::drawRequested, [&](const QString &p) { drawn << p; });
    d.setCurrentSlot(MeasurementSlot::Messung5);
    d.Edit1->setText("14:30");
    // A save of an empty list writes the header; the time field alone
    // changes no remembered time.
    d.GrafikZeigen();
    const QString path = fx.dir.path() + "Glykovalin-Daten/2025/M072025.tab";
    ASSERT_EQ(drawn, QStringList({path}));
    EXPECT_EQ(fx.ini("Messung8UhrzeitMessung5"), "");
    QStringList header = {"[Personendaten]",
                          "BenutzerName=Max",
                          "Datum=Juli 2025",
                          "",
                          "DruckenTabellenRandLeft=18",
                          "DruckenTabellenRandRight=10",
                          "DruckenTabellenRandTop=10",
                          "DruckenTabellenRandBottom=10",
                          "",
                          "",
                          "BisZu8MessungenJeTag=1",
                          "BisZu4MessungenJeTag=0",
                          "",
                          ""};
    EXPECT_EQ(testutil::readBytes(path), testutil::crlf(header));

    // A reading in eight-slot mode; the slot moves on to Messung6.
    add(d, 9, "14:30", 180);
    EXPECT_EQ(d.BitBtn3->text(), "Messung 6");
    d.BitBtn4->click();
    header << line("Messung5", "09.07.2025", "14:30", "180");
    EXPECT_EQ(testutil::readBytes(path), testutil::crlf(header));
    EXPECT_EQ(fx.ini("Messung8UhrzeitMessung5"), "14:30");
    EXPECT_EQ(fx.ini("Messung8UhrzeitMessung6"), "");
    EXPECT_TRUE(rec.shown.isEmpty());
}
