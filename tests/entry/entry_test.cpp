#include <gtest/gtest.h>

#include <QDir>
#include <memory>

#include "entry/eingabedlg.h"
#include "entry/spinedit.h"
#include "entry/tablebuilder.h"
#include "platform/convert.h"
#include "platform/profile.h"
#include "platform/ui.h"
#include "recordingservices.h"
#include "storage/monthmodel.h"
#include "support/entrycontrols.h"
#include "support/golden.h"
#include "testutil.h"

namespace {

// The month model in a temp folder, as the main window sets it up, and the
// entry dialog on it (made once the settings of a test are written).
struct EntryFixture {
    testutil::TempFolder dir;
    MonthModel model{Folders::at(dir.path())};
    ui::RecordingServices rec;
    std::unique_ptr<TEingabeDlg> dialog;
    explicit EntryFixture(bool eight = false, const QString &user = "Max Muster") {
        QDir().mkpath(model.folders().data);
        model.setUserName(user);
        model.setModeTicks(!eight, eight);
    }
    TEingabeDlg &make() {
        dialog = std::make_unique<TEingabeDlg>(model, rec);
        return *dialog;
    }
    // The dialog for a new month of the given month and year.
    EntryControls newMonth(const char *month, const char *year) {
        if (!dialog) make();
        EXPECT_TRUE(dialog->startNewMonth());
        EntryControls e(dialog.get());
        e.type("SpinEdit2", QString::fromLatin1(month));
        e.type("SpinEdit3", QString::fromLatin1(year));
        return e;
    }
    QString ini(const char *key) const {
        return profile::read(model.folders().settings, "Einstellung", QString::fromLatin1(key));
    }
    QString table(const char *name) const {
        return model.folders().data + QString::fromLatin1(name);
    }
};

QString line(const char *slot, const char *date, const char *time, const char *value) {
    const QString pre = QString::fromLatin1(slot) + " den ";
    const QString pad = pre.size() == 12 ? "   " : pre.size() == 11 ? "    " : "";
    return pre + pad + date + " Z=" + time + "  ZuckerWert=" + value;
}

} // namespace

// The table texts compared whole: an empty month, a filled one (a reading of
// Messung5 is left out in four-slot mode, of two Morgens readings of a date
// the later one wins, day 32 is dropped) and values in mmol/l, which take the
// room of three digits, each in both modes. With neither mode there is none.
TEST(TableText, EmptyFilledAndMmolMonthsInBothModes) {
    const struct {
        const char *month, *user;
        GlucoseUnit unit;
        QStringList entries;
    } cases[] = {
        {"März", "Max Muster", GlucoseUnit::MgDl, {}},
        {"April",
         "Anna",
         GlucoseUnit::MgDl,
         {line("Morgens", "02.04.2024", "07:30", "95"),
          line("Messung2", "02.04.2024", "12:00", "120"),
          line("Messung5", "02.04.2024", "15:00", "7"), line("Abends", "02.04.2024", "22:10", "7"),
          line("Morgens", "05.04.2024", "08:00", "140"),
          line("Morgens", "05.04.2024", "08:20", "150"),
          line("Abends", "31.04.2024", "21:00", "99"),
          line("Abends", "32.04.2024", "21:00", "99")}},
        {"April",
         "Anna",
         GlucoseUnit::MmolL,
         {line("Morgens", "02.04.2024", "07:30", "101"),
          line("Abends", "02.04.2024", "22:10", "181")}},
    };
    QByteArray all;
    tablebuilder::TableInput in;
    for (const auto &c : cases)
        for (bool eight : {false, true}) {
            in.monthName = QString::fromUtf8(c.month);
            in.year = "2024";
            in.userName = c.user;
            in.entries = c.entries;
            in.unit = c.unit;
            in.fourSlots = !eight;
            in.eightSlots = eight;
            all += tablebuilder::BringsAufDieReihe(in).join('\n').toUtf8() + "\n\n";
        }
    EXPECT_TRUE(golden::matches(all, "entry/tables.txt"));
    in.eightSlots = false;
    EXPECT_TRUE(tablebuilder::BringsAufDieReihe(in).isEmpty());
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

    // Other month lengths: the field checks and the restored day below.
    EXPECT_EQ(entrydlg::daysInMonth(2, "1900"), 29); // taken as 2000

    using S = MeasurementSlot;
    EXPECT_EQ(entrydlg::slotAfterRestore(S::Messung3, MeasureMode::Four), S::Abends);
    EXPECT_EQ(entrydlg::slotAfterRestore(S::Messung3, MeasureMode::Eight), S::Messung4);
    EXPECT_EQ(entrydlg::slotAfterRestore(S::Messung5, MeasureMode::Four), S::Messung6);
    EXPECT_EQ(entrydlg::slotAfterRestore(S::Abends, MeasureMode::Four), S::Morgens);
    EXPECT_EQ(entrydlg::slotButtonNext(S::Messung5, MeasureMode::Four), S::Messung5);
    EXPECT_EQ(entrydlg::slotButtonNext(S::Messung3, MeasureMode::Four), S::Abends);
    EXPECT_EQ(entrydlg::slotButtonNext(S::Messung7, MeasureMode::Eight), S::Abends);
}

// The fields of a reading and the field each case is refused for; the
// messages of all cases are compared whole.
TEST(EntryRules, ANewReadingNeedsEveryFieldFilled) {
    using B = entrydlg::BadField;
    const struct {
        entrydlg::ReadingFields f;
        B bad;
    } cases[] = {
        {{"05", "03", "2024", "07:30", "120"}, B::None},
        {{"31", "03", "2024", "24:00", "0"}, B::None},
        {{"", "03", "2024", "07:30", "120"}, B::Day},
        {{"00", "03", "2024", "07:30", "120"}, B::Day},
        {{"32", "03", "2024", "07:30", "120"}, B::Day},
        {{"31", "04", "2024", "07:30", "120"}, B::Day},
        {{"29", "02", "2023", "07:30", "120"}, B::Day},
        {{"05", "13", "2024", "07:30", "120"}, B::Month},
        {{"05", "03", "24", "07:30", "120"}, B::Year},
        {{"05", "03", "2024", "7:30", "120"}, B::Time},
        {{"05", "03", "2024", "07:30", ""}, B::Value},
        {{"05", "03", "2024", "07:30", "501"}, B::Value},
        {{"05", "03", "2024", "07:30", "5,6", GlucoseUnit::MmolL}, B::None},
        {{"05", "03", "2024", "07:30", "27.8", GlucoseUnit::MmolL}, B::None},
        {{"05", "03", "2024", "07:30", "", GlucoseUnit::MmolL}, B::Value},
        {{"05", "03", "2024", "07:30", "27,9", GlucoseUnit::MmolL}, B::Value},
        {{"05", "03", "2024", "07:30", "120", GlucoseUnit::MmolL}, B::Value},
    };
    QStringList messages;
    for (const auto &c : cases) {
        const entrydlg::FieldProblem p = entrydlg::checkReading(c.f);
        EXPECT_EQ(p.field, c.bad) << messages.size();
        messages << p.message;
    }
    EXPECT_TRUE(golden::matches(messages.join(u'\n').toUtf8(), "entry/fieldmessages.txt"));
}

// The number fields keep what was typed: letters are not taken, an emptied
// field stays empty, the arrows step within the range.
TEST(EntryRules, NumberFieldsKeepWhatWasTyped) {
    SpinEdit day(2, 2);
    day.setRange(1, 31);
    QLineEdit *edit = day.findChild<QLineEdit *>();
    QTest::keyClicks(edit, "x5");
    EXPECT_EQ(day.text(), "5");
    emit day.editingFinished();
    EXPECT_EQ(day.text(), "05");
    edit->clear();
    emit day.editingFinished();
    bool ok = true;
    day.value(&ok);
    EXPECT_FALSE(ok);
    EXPECT_EQ(day.text(), "");
    day.stepBy(1);
    EXPECT_EQ(day.text(), "01");
    day.stepBy(-5);
    EXPECT_EQ(day.text(), "01");
}

// In mmol/l the value field takes one decimal after a comma or a point and
// shows it with a comma; the arrows step by 0,1.
TEST(EntryRules, ValueFieldInMmolTakesOneDecimal) {
    SpinEdit value(1, 2);
    value.setOneDecimal(true);
    value.setRange(0, 278);
    QLineEdit *edit = value.findChild<QLineEdit *>();
    QTest::keyClicks(edit, "5.6x7");
    EXPECT_EQ(value.text(), "5.6");
    emit value.editingFinished();
    EXPECT_EQ(value.text(), "5,6");
    value.stepBy(2);
    EXPECT_EQ(value.text(), "5,8");
    value.setValue(277);
    value.stepBy(5);
    EXPECT_EQ(value.text(), "27,8");
    edit->selectAll();
    QTest::keyClicks(edit, ",7");
    EXPECT_EQ(value.text(), "7");
    emit value.editingFinished();
    EXPECT_EQ(value.text(), "7,0");
}

// With mmol/l chosen, the value field takes a point or a comma and the list
// shows mmol/l; a switch of the unit keeps what the field's value stands for.
// (The unit scenario test shows the captions, the table and the stored file.)
TEST(EntryDialog, ValuesInMmolAreTypedShownAndStoredInMgdl) {
    EntryFixture fx;
    fx.model.setUnit(GlucoseUnit::MmolL);
    EntryControls e = fx.newMonth("3", "2024");
    e.add(5, "07:00", 5);
    e.add(5, "12:00", 10);
    EXPECT_TRUE(fx.rec.shown.isEmpty()) << fx.rec.texts().join('|').toStdString();
    EXPECT_EQ(e.lines(), QStringList({line("Morgens", "05.03.2024", "07:00", "5,0 mmol/l"),
                                      line("Messung2", "05.03.2024", "12:00", "10,0 mmol/l")}));
    // Opened for correction, the value comes back in mmol/l.
    e.select(1);
    e.click("BitBtn2");
    EXPECT_EQ(e.text("SpinEdit4"), "10,0");
    fx.model.setUnit(GlucoseUnit::MgDl);
    fx.dialog->showUnit();
    EXPECT_EQ(e.text("SpinEdit4"), "180");
    EXPECT_EQ(e.lines()[0], line("Morgens", "05.03.2024", "07:00", "90"));
}

TEST(EntryDialog, AddOverTwoDaysSavesTheExactFileAndSettings) {
    EntryFixture fx;
    EntryControls e = fx.newMonth("3", "2024");
    TEingabeDlg &d = *fx.dialog;
    EXPECT_EQ(e.text("BitBtn3"), "Morgens");
    QString saved;
    QObject::connect(&d, &TEingabeDlg::monthSaved, [&](const QString &p) { saved = p; });

    const char *times[] = {"07:00", "12:00", "18:00", "22:00"};
    for (int i = 0; i < 4; ++i)
        e.add(5, times[i], 100 + i);
    e.add(4, "07:10", 95);
    e.add(6, "07:20", 7);
    EXPECT_TRUE(fx.rec.shown.isEmpty()) << fx.rec.texts().join('|').toStdString();
    const QStringList expected = {line("Morgens", "04.03.2024", "07:10", "95"),
                                  line("Morgens", "05.03.2024", "07:00", "100"),
                                  line("Messung2", "05.03.2024", "12:00", "101"),
                                  line("Messung3", "05.03.2024", "18:00", "102"),
                                  line("Abends", "05.03.2024", "22:00", "103"),
                                  line("Messung2", "06.03.2024", "07:20", "7")};
    // Sorted by day, then slot; the selection is on the last item.
    EXPECT_EQ(e.lines(), expected);
    EXPECT_EQ(e.selectedRow(), 5);
    EXPECT_TRUE(d.hasUnsavedChanges());

    e.click("OKBtn");
    const QString path = fx.table("2024/MM032024.tab");
    EXPECT_EQ(saved, path);
    EXPECT_FALSE(d.isVisible());
    EXPECT_FALSE(d.hasUnsavedChanges());
    const QByteArray file = testutil::crlf(
        testutil::monthHeader("Max Muster", QString::fromUtf8("März 2024")) + expected);
    EXPECT_EQ(testutil::readBytes(path), file);
    EXPECT_EQ(fx.ini("BenutzerName"), "Max Muster");
    EXPECT_EQ(fx.ini("LetzteEingabe"), expected[5]);
    // Each slot remembers the time of the last reading saved for it, under
    // the four-slot key; the time field of the next slot stores nothing.
    EXPECT_EQ(e.text("BitBtn3"), "Messung 3");
    EXPECT_EQ(fx.ini("Messung4UhrzeitMorgens"), "07:10");
    EXPECT_EQ(fx.ini("Messung4UhrzeitMessung2"), "07:20");
    EXPECT_EQ(fx.ini("Messung4UhrzeitMessung3"), "18:00");
    EXPECT_EQ(fx.ini("Messung4UhrzeitAbends"), "22:00");

    // Saving again produces the same bytes.
    d.show();
    e.click("OKBtn");
    EXPECT_EQ(testutil::readBytes(path), file);
    EXPECT_TRUE(fx.rec.shown.isEmpty()) << fx.rec.texts().join('|').toStdString();
}

TEST(EntryDialog, ReplaceQuestionYearRefusalAndEmptyList) {
    EntryFixture fx;
    EntryControls e = fx.newMonth("3", "2024");

    // An empty list is refused by both closing buttons; nothing is written.
    e.click("OKBtn");
    e.click("BitBtn4");
    ASSERT_EQ(fx.rec.shown.size(), 2);
    EXPECT_EQ(fx.rec.shown[0].kind, ui::Kind::Plain);
    EXPECT_EQ(fx.rec.shown[0].text,
              QString::fromUtf8("Sie haben noch keinen Messwert eingetragen! Betätigen Sie bitte "
                                "den Schalter \"In Liste aufnehmen\"!"));
    EXPECT_FALSE(QFile::exists(fx.table("2024/MM032024.tab")));
    fx.rec.clear();

    e.add(5, "07:00", 100); // Morgens
    e.add(5, "12:00", 110); // Messung2
    for (int i = 0; i < 3; ++i)
        e.click("BitBtn3"); // Messung3, Abends, Morgens, Messung2
    ASSERT_EQ(e.text("BitBtn3"), "Messung 2");
    fx.rec.answers.enqueue(ui::Answer::No);
    e.add(5, "12:30", 200);
    ASSERT_EQ(fx.rec.shown.size(), 1);
    EXPECT_EQ(fx.rec.shown[0].kind, ui::Kind::Confirmation);
    EXPECT_EQ(fx.rec.shown[0].text, "Ein Eintrag mit dem Datum: Messung2 den 05.03.2024 existiert "
                                    "schon in der Liste. Soll er ersetzt werden?");
    EXPECT_EQ(e.lines()[1], line("Messung2", "05.03.2024", "12:00", "110"));
    EXPECT_EQ(e.text("BitBtn3"), "Messung 2"); // the slot does not move

    e.add(5, "12:30", 200);
    EXPECT_EQ(e.lines(), QStringList({line("Morgens", "05.03.2024", "07:00", "100"),
                                      line("Messung2", "05.03.2024", "12:30", "200")}));
    fx.rec.clear();

    // Another year in the year field: the next add is refused.
    e.type("SpinEdit3", "2023");
    e.add(6, "07:00", 100);
    ASSERT_EQ(fx.rec.shown.size(), 1);
    EXPECT_EQ(fx.rec.shown[0].kind, ui::Kind::Information);
    EXPECT_TRUE(fx.rec.shown[0].text.startsWith(
        QString::fromUtf8("Überprüfen Sie bitte die Jahresangabe \"2023\" sie stimmt nicht mit "
                          "den bisherigen Eintragungen überein!\r\nWenn Sie")));
    EXPECT_EQ(e.lines().size(), 2);
}

TEST(EntryDialog, CorrectionRefusesTheFirstItemAndZeroesTheSecond) {
    EntryFixture fx;
    EntryControls e = fx.newMonth("3", "2024");
    e.add(5, "07:00", 100);
    e.add(5, "12:00", 95);
    e.list()->clearSelection();
    e.click("BitBtn2");
    ASSERT_EQ(fx.rec.shown.size(), 1);
    EXPECT_EQ(fx.rec.shown[0].text, QString::fromUtf8("Sie müssen zuerst einen Eintrag in der "
                                                      "Liste durch Anklicken auswählen!"));
    fx.rec.clear();

    e.select(0);
    e.click("BitBtn2"); // answered Yes
    ASSERT_EQ(fx.rec.shown.size(), 2);
    EXPECT_EQ(fx.rec.shown[0].buttons, ui::Buttons::YesNo);
    EXPECT_TRUE(fx.rec.shown[0].text.contains("betätigen,wird in der Grafik"));
    EXPECT_EQ(fx.rec.shown[1].text, "Der erste Eintrag der Liste muss einen Messwert haben und "
                                    "kann nicht 0 sein!");
    EXPECT_EQ(e.lines()[0], line("Morgens", "05.03.2024", "07:00", "100"));

    e.click("BitBtn3"); // Abends
    e.select(1);
    e.click("BitBtn2");
    EXPECT_EQ(e.lines()[1], line("Messung2", "05.03.2024", "12:00", "0"));
    EXPECT_EQ(e.text("BitBtn3"), "Messung 2");
    EXPECT_EQ(e.text("Edit1"), "12:00");
    EXPECT_EQ(e.text("SpinEdit4"), "95");
    // Adding it again offers to replace the zeroed item.
    e.type("SpinEdit4", "98");
    e.click("BitBtn1");
    EXPECT_EQ(e.lines()[1], line("Messung2", "05.03.2024", "12:00", "98"));
}

TEST(EntryDialog, RestoresFromTheLastEntry) {
    struct Case {
        QString stored;
        const char *day, *slot;
    };
    const Case cases[] = {{line("Abends", "31.03.2024", "22:00", "100"), "31", "Morgens"},
                          {line("Abends", "30.04.2024", "22:00", "100"), "30", "Morgens"},
                          {line("Abends", "28.02.2024", "22:00", "100"), "29", "Morgens"},
                          {line("Abends", "28.02.2023", "22:00", "100"), "28", "Morgens"},
                          {line("Messung3", "10.05.2024", "18:00", "100"), "10", "Abends"}};
    for (const Case &c : cases) {
        EntryFixture fx;
        profile::write(fx.model.folders().settings, "Einstellung", "LetzteEingabe", c.stored);
        EntryControls e(&fx.make());
        EXPECT_EQ(e.text("SpinEdit1"), c.day) << c.stored.toStdString();
        EXPECT_EQ(e.text("BitBtn3"), c.slot);
        EXPECT_EQ(e.text("SpinEdit4"), "100");
        EXPECT_EQ(e.text("Edit1"), c.stored.mid(c.stored.indexOf("Z=") + 2, 5));
    }
}

// A new month whose table is stored already: its readings are not dropped
// but taken into the list, and the user is told.
TEST(EntryDialog, NewMonthOverAStoredTableKeepsItsReadings) {
    EntryFixture fx;
    const QString path = fx.table("2024/MM032024.tab");
    QDir().mkpath(fx.table("2024"));
    const QString old = line("Morgens", "01.03.2024", "07:00", "111");
    testutil::writeBytes(path, testutil::crlf({"[Personendaten]", "BenutzerName=Max Muster", "",
                                               "BisZu4MessungenJeTag=1", "", old}));
    EntryControls e = fx.newMonth("3", "2024");
    e.add(5, "07:00", 100);
    fx.rec.clear();
    e.click("OKBtn");
    ASSERT_EQ(fx.rec.shown.size(), 1);
    EXPECT_EQ(fx.rec.shown[0].kind, ui::Kind::Information);
    EXPECT_TRUE(fx.rec.shown[0].text.contains(old));
    const QStringList readings = {old, line("Morgens", "05.03.2024", "07:00", "100")};
    EXPECT_EQ(testutil::readBytes(path),
              testutil::crlf(testutil::monthHeader("Max Muster", QString::fromUtf8("März 2024")) +
                             readings));
}

TEST(EntryDialog, TimeButtonsStepFromTheSlotsTimeOrNoon) {
    EntryFixture fx;
    EntryControls e = fx.newMonth("3", "2024");
    const auto step = [&](const char *arrow, const char *from, const char *to) {
        e.type("Edit1", QString::fromLatin1(from));
        QTest::mouseClick(e.get<QWidget>(arrow), Qt::LeftButton);
        EXPECT_EQ(e.text("Edit1"), QString::fromLatin1(to)) << from;
    };
    step("SpinButton1Up", "24:00", "00:10");
    // A field without a time starts from the slot's remembered time, or noon.
    step("SpinButton1Up", "kaputt", "12:00");
    profile::write(fx.model.folders().settings, "Einstellung", "Messung4UhrzeitMorgens", "06:40");
    step("SpinButton1Down", "", "06:40");
    EXPECT_TRUE(fx.rec.shown.isEmpty());
    EXPECT_EQ(fx.dialog->windowTitle(),
              "Eingabe der Glykovalinmesswerte - Bis zu 4 Messungen je Tag");
}

TEST(EntryDialog, MarkingSelectsTheReadingOfSlotAndDateOfADrawnMonth) {
    EntryFixture fx;
    const QString path = fx.table("2024/MM032024.tab");
    QDir().mkpath(fx.table("2024"));
    testutil::writeBytes(
        path, testutil::crlf(testutil::monthHeader("Max Muster", QString::fromUtf8("März 2024")) +
                             QStringList{line("Morgens", "05.03.2024", "07:00", "100"),
                                         line("Messung2", "05.03.2024", "12:00", "110"),
                                         line("Morgens", "06.03.2024", "07:00", "120")}));
    fx.model.open(path);
    TEingabeDlg &d = fx.make();
    d.showMonth();
    d.show();
    EntryControls e(&d);
    EXPECT_EQ(e.lines().size(), 3);
    EXPECT_EQ(e.text("Label4"), QString::fromUtf8("Messwerte März 2024  Max Muster"));
    e.type("SpinEdit1", "05");
    EXPECT_EQ(e.selectedRow(), 0);
    e.click("BitBtn3");
    EXPECT_EQ(e.selectedRow(), 1);
    for (int i = 0; i < 3; ++i)
        e.click("BitBtn3");    // back to Morgens
    e.type("SpinEdit1", "06"); // the day change marks too
    EXPECT_EQ(e.selectedRow(), 2);
    e.type("SpinEdit1", "07");
    EXPECT_EQ(e.selectedRow(), -1);
    // The month of a filled list stays, shown in grey.
    e.type("SpinEdit2", "5");
    EXPECT_EQ(e.text("SpinEdit2"), "03");
}

TEST(EntryDialog, EightSlotSaveStoresTheSlotTimeAndTheExactFile) {
    EntryFixture fx(true, "Max");
    EntryControls e = fx.newMonth("7", "2025");
    QString table;
    QObject::connect(fx.dialog.get(), &TEingabeDlg::tableRequested,
                     [&](const QString &t) { table = t; });
    for (int i = 0; i < 4; ++i)
        e.click("BitBtn3");
    ASSERT_EQ(e.text("BitBtn3"), "Messung 5");
    // A reading in eight-slot mode; the slot moves on to Messung6.
    e.add(9, "14:30", 180);
    EXPECT_EQ(e.text("BitBtn3"), "Messung 6");
    e.click("BitBtn4");
    EXPECT_TRUE(table.contains("|   M8   | Wert  |"));
    EXPECT_EQ(testutil::readBytes(fx.table("2025/M072025.tab")),
              testutil::crlf(testutil::monthHeader("Max", "Juli 2025", true) +
                             QStringList{line("Messung5", "09.07.2025", "14:30", "180")}));
    EXPECT_EQ(fx.ini("Messung8UhrzeitMessung5"), "14:30");
    EXPECT_EQ(fx.ini("Messung8UhrzeitMessung6"), "");
    EXPECT_TRUE(fx.rec.shown.isEmpty()) << fx.rec.texts().join('|').toStdString();
}
