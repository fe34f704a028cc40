// The commands that open, show, edit and start a month, with the entry
// dialog they lead to, on the real program.

#include <QAction>
#include <QDate>
#include <QDir>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

#include "scenario.h"
#include "support/entrycontrols.h"

namespace {

using scenario::App;
using scenario::Folder;

// The tables the model reads, one entry each time it reads a month.
QStringList *recordReadings(App &app) {
    auto *read = new QStringList;
    const MonthModel *model = &app.program().model;
    QObject::connect(model, &MonthModel::monthChanged, &app.window(),
                     [read, model] { *read << model->tablePath(); });
    QObject::connect(&app.window(), &QObject::destroyed, [read] { delete read; });
    return read;
}

} // namespace

TEST(EntryCommands, NewUserEntersAWeekAndFindsItAgainAfterARestart) {
    Folder f;
    const QDate today = QDate::currentDate();
    const QString mm = today.toString("MM"), yyyy = today.toString("yyyy");
    const QString table = f.data() + yyyy + "/MM" + mm + yyyy + ".tab";
    QStringList expected;
    {
        App app;
        ui::RecordingServices &rec = app.rec;
        auto *name = app.find<QDialog>("NameEingDlg");
        ASSERT_NE(name, nullptr);
        ASSERT_TRUE(name->isVisible());
        for (QLabel *l : name->findChildren<QLabel *>())
            EXPECT_GE(l->width(), l->sizeHint().width()) << l->text().toStdString();
        // Typed, Tab to "OK" and Return, as with the keyboard only.
        QLineEdit &edit = testutil::child<QLineEdit>(*name, "Edit1");
        QTest::keyClicks(&edit, "Max Muster");
        QTest::keyClick(&edit, Qt::Key_Tab);
        EXPECT_EQ(name->focusWidget(), &testutil::child<QPushButton>(*name, "OKBtn"));
        QTest::keyClick(name->focusWidget(), Qt::Key_Return);
        App::settle();
        EXPECT_FALSE(name->isVisible());
        EXPECT_EQ(f.setting("BenutzerName"), "Max Muster");
        EXPECT_EQ(app.title()->text(), " von Max Muster");
        const QStringList &read = *recordReadings(app);
        auto *dialog = app.find<QDialog>("EingabeDlg");
        ASSERT_NE(dialog, nullptr);
        ASSERT_TRUE(dialog->isVisible());
        EXPECT_FALSE(dialog->isModal());
        EntryControls e(dialog);
        EXPECT_EQ(e.text("Label4"), "Messwerte von Max Muster");
        EXPECT_EQ(e.text("Label3"), "Heute ist der " + today.toString("dd.MM.yyyy"));
        EXPECT_EQ(e.text("SpinEdit2"), mm);
        EXPECT_EQ(e.text("SpinEdit3"), yyyy);

        // A week, four readings a day.
        expected = scenario::fourADay(today.month(), today.year(), 7);
        for (const QString &reading : expected) {
            entryline::Fields typed;
            entryline::split(reading, typed);
            e.add(typed.day.toInt(), typed.time, typed.value.toInt());
        }
        EXPECT_TRUE(rec.shown.isEmpty()) << app.said();
        EXPECT_EQ(e.lines(), expected);
        e.click("OKBtn");
        EXPECT_FALSE(dialog->isVisible());
        EXPECT_EQ(read, QStringList({table}));
        EXPECT_EQ(f.setting("TabellenDateiName"), table);
        EXPECT_EQ(f.setting("LetzteEingabe"), expected.last());
        EXPECT_EQ(scenario::readingsIn(table), expected);
        EXPECT_TRUE(app.window().monthShown());
        EXPECT_TRUE(app.window().FormClose());
    }
    // Restart: the name, the month and the readings come back.
    App app;
    EXPECT_EQ(app.program().model.tablePath(), table);
    EXPECT_EQ(app.program().model.figures().entries, expected);
    app.inEntryDialog([&](const EntryControls &e) {
        QWidget *w = e.dialog();
        // The slot after the stored Abends reading, on the next day.
        EXPECT_EQ(e.text("BitBtn3"), "Morgens");
        EXPECT_EQ(e.text("SpinEdit1"), "08");
        EXPECT_EQ(e.lines(), expected);
        EXPECT_EQ(e.text("Label4"),
                  "Messwerte " + GibMonatLang(today.month()) + " " + yyyy + "  Max Muster");
        w->close();
    });
    EXPECT_TRUE(app.rec.shown.isEmpty()) << app.said();
}

TEST(EntryCommands, OpeningMaerz2004ForEditingFillsTheDialog) {
    Folder f;
    App app;
    ui::RecordingServices &rec = app.rec;
    MonthModel &model = app.program().model;
    const QString path = f.table("Maerz2004.tab", 2004);
    const QString folder = f.data() + "2004/";
    testutil::writeBytes(
        path,
        testutil::crlf({"[Personendaten]", "BenutzerName=Max Muster",
                        QString::fromUtf8("Datum=März 2004"), "", "BisZu8MessungenJeTag=1",
                        "BisZu4MessungenJeTag=0", "", "",
                        scenario::reading(MeasurementSlot::Morgens, 1, 3, 2004, "07:00", 120),
                        scenario::reading(MeasurementSlot::Messung5, 1, 3, 2004, "15:00", 130)}));
    rec.fileNames.enqueue(path);
    int modal = 0;
    app.whenModal([&](QWidget *w) {
        ++modal;
        EXPECT_EQ(w->objectName(), "EingabeDlg");
        EntryControls e(w);
        EXPECT_EQ(e.text("SpinEdit3"), "2004");
        EXPECT_EQ(e.text("SpinEdit2"), "03");
        EXPECT_EQ(e.lines().size(), 2);
        EXPECT_EQ(e.text("Label4"), QString::fromUtf8("Messwerte März 2004  Max Muster"));
        w->close();
    });
    app.menu("undTabellebearbeiten1");
    ASSERT_EQ(rec.dialogCalls.size(), 1);
    EXPECT_EQ(rec.dialogCalls[0], QString::fromUtf8("open|Öffnen|") + f.data() +
                                      "*.tab|Glykovalin-Tabellen "
                                      "(*.tab);;Alle Dateien (*.*)");
    EXPECT_EQ(modal, 1);
    EXPECT_EQ(model.userName(), "Max Muster");
    EXPECT_EQ(model.tablePath(), path);
    EXPECT_EQ(model.diary().path(), folder + "Maerz2004.txt");
    EXPECT_EQ(f.setting("TabellenDateiName"), path);
    EXPECT_TRUE(model.eightSlotsTicked());
    EXPECT_FALSE(app.find<QAction>("AllegespeichertenTagebuchseitendrucken1")->isEnabled());

    // Cancelled open dialog: nothing changes.
    app.menu("undTabellebearbeiten1");
    EXPECT_EQ(modal, 1);
    EXPECT_EQ(model.tablePath(), path);

    // A table that cannot be read.
    rec.clear();
    rec.fileNames.enqueue(folder + "fehlt.tab");
    app.menu("undTabellebearbeiten1");
    EXPECT_TRUE(rec.texts().contains("Fehler Lesen der Datei!"));
    EXPECT_EQ(modal, 1);

    // "aktuelle bearbeiten" without a current table starts a new month: the
    // first save makes it the current table.
    model.close();
    model.setUserName("Max Muster");
    rec.clear();
    app.menu("aktuellebearbeiten1");
    auto *dialog = app.find<QDialog>("EingabeDlg");
    ASSERT_TRUE(dialog->isVisible());
    EXPECT_FALSE(dialog->isModal());
    EntryControls e(dialog);
    EXPECT_TRUE(e.lines().isEmpty());
    e.add(2, "08:00", 111);
    e.click("OKBtn");
    EXPECT_TRUE(rec.shown.isEmpty()) << app.said();
    EXPECT_FALSE(dialog->isVisible());
    const QDate today = QDate::currentDate();
    const QString table =
        f.data() + today.toString("yyyy") + "/MM" + today.toString("MMyyyy") + ".tab";
    EXPECT_EQ(model.tablePath(), table);
    EXPECT_EQ(f.setting("TabellenDateiName"), table);
}

// Showing a month, as a graph or as a table, never writes it.
TEST(EntryCommands, OpenAsGraphOrTableShowsTheChosenMonthWithoutWritingIt) {
    Folder f({"BenutzerName=Max Muster"});
    App app;
    ui::RecordingServices &rec = app.rec;
    const QString path = f.table("MM032024.tab", 2024);
    // Margins of its own: a save would not give the same bytes.
    const QByteArray file =
        scenario::monthFile("Max Muster", 3, 2024,
                            {scenario::reading(MeasurementSlot::Morgens, 5, 3, 2024, "07:00", 120)})
            .replace("RandLeft=18", "RandLeft=20");
    testutil::writeBytes(path, file);
    const QStringList &read = *recordReadings(app);
    rec.fileNames.enqueue(path);
    app.menu("undalsGrafikanzeigen1");
    EXPECT_TRUE(rec.shown.isEmpty()) << app.said();
    EXPECT_EQ(read, QStringList({path}));
    EXPECT_EQ(app.program().model.tablePath(), path);
    EXPECT_TRUE(app.window().monthShown());

    rec.fileNames.enqueue(path);
    app.menu("undTabelleanzeigen1");
    EXPECT_TRUE(rec.shown.isEmpty()) << app.said();
    auto *dialog = app.find<QDialog>("EingabeDlg");
    EXPECT_FALSE(dialog && dialog->isVisible());
    auto *table = app.find<QWidget>("TabellenDlg");
    ASSERT_NE(table, nullptr);
    EXPECT_TRUE(table->isVisible());
    EXPECT_TRUE(
        testutil::child<QPlainTextEdit>(*table, "Memo1")
            .toPlainText()
            .startsWith(QString::fromUtf8("GLYKOVALINMESSWERTE: März 2024 von Max Muster")));
    table->close();
    EXPECT_EQ(testutil::readBytes(path), file);
    EXPECT_FALSE(QFile::exists(f.data() + "2024/MM012024.tab"));
}
