#include <gtest/gtest.h>

#include <QAction>
#include <QDate>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

#include "app/mainform.h"
#include "app/program.h"
#include "dialogs/namedlg.h"
#include "diary/diarypage.h"
#include "entry/eingabedlg.h"
#include "graph/monthgraph.h"
#include "platform/profile.h"
#include "platform/textfile.h"
#include "platform/ui.h"
#include "recordingservices.h"
#include "scenario.h"
#include "storage/monthtable.h"
#include "testutil.h"

inline void PrintTo(const QString &s, std::ostream *os) {
    *os << '"' << s.toStdString() << '"';
}

namespace {

using scenario::App;
using scenario::Folder;

// Records the tables the main window draws.
QStringList *recordDrawings(Program &program, TMainForm &w) {
    auto *drawn = new QStringList;
    QObject::connect(&program.model, &MonthModel::monthChanged, &w,
                     [drawn, &program] { *drawn << program.model.tablePath(); });
    QObject::connect(&w, &QObject::destroyed, [drawn] { delete drawn; });
    return drawn;
}

QString line(const char *slot, const QString &date, const char *time, int value) {
    const QString pre = QString::fromLatin1(slot) + " den ";
    const QString pad = pre.size() == 12 ? "   " : pre.size() == 11 ? "    " : "";
    return pre + pad + date + " Z=" + time + "  ZuckerWert=" + QString::number(value);
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
        Program *program = &app.program();
        TMainForm &w = app.window();
        const QStringList &drawn = *recordDrawings(*program, w);
        TNameEingDlg *name = (&program->nameDialog());
        ASSERT_TRUE(name->isVisible());
        // A blank name is refused.
        name->Edit1->setText("   ");
        name->OKBtn->click();
        ASSERT_EQ(rec.shown.size(), 1);
        EXPECT_EQ(rec.shown[0].kind, ui::Kind::Warning);
        EXPECT_TRUE(name->isVisible());
        rec.clear();

        name->Edit1->setText("Max Muster");
        name->OKBtn->click();
        EXPECT_FALSE(name->isVisible());
        EXPECT_EQ(f.setting("BenutzerName"), "Max Muster");
        EXPECT_EQ(app.title()->text(), " von Max Muster");
        TEingabeDlg *entry = (&program->entryDialog());
        ASSERT_TRUE(entry->isVisible());
        EXPECT_FALSE(entry->isModal());
        EXPECT_EQ(entry->Label4->text(), "Messwerte von Max Muster");
        EXPECT_EQ(entry->Label3->text(), "Heute ist der " + today.toString("dd.MM.yyyy"));
        EXPECT_EQ(entry->SpinEdit2->text(), mm);
        EXPECT_EQ(entry->SpinEdit3->text(), yyyy);

        // A week, four readings a day.
        const char *times[] = {"07:00", "12:00", "18:00", "22:00"};
        for (int day = 1; day <= 7; ++day)
            for (int i = 0; i < 4; ++i) {
                entry->SpinEdit1->setValue(day);
                entry->Edit1->setText(times[i]);
                entry->SpinEdit4->setValue(100 + day * 4 + i);
                entry->BitBtn1->click();
                const char *slotWords[] = {"Morgens", "Messung2", "Messung3", "Abends"};
                expected << line(slotWords[i],
                                 QString("%1.%2.%3").arg(day, 2, 10, QChar('0')).arg(mm, yyyy),
                                 times[i], 100 + day * 4 + i);
            }
        EXPECT_TRUE(rec.shown.isEmpty()) << rec.texts().join('|').toStdString();
        EXPECT_EQ(entry->entries(), expected);
        entry->OKBtn->click();
        EXPECT_FALSE(entry->isVisible());
        EXPECT_EQ(drawn, QStringList({table}));
        EXPECT_EQ(f.setting("TabellenDateiName"), table);
        EXPECT_EQ(f.setting("LetzteEingabe"), expected.last());
        QStringList lines;
        ASSERT_TRUE(textfile::readLines(table, lines));
        EXPECT_EQ(monthtable::entryLines(lines), expected);
        EXPECT_TRUE(w.monthShown());
        EXPECT_TRUE(w.FormClose());
    }
    // Restart: the name, the month and the readings come back.
    App app;
    Program *program = &app.program();
    TEingabeDlg *entry = (&program->entryDialog());
    // The slot after the stored Abends reading, on the next day.
    EXPECT_EQ(entry->BitBtn3->text(), "Morgens");
    EXPECT_EQ(entry->SpinEdit1->value(), 8);
    EXPECT_FALSE((&program->nameDialog())->isVisible());
    EXPECT_EQ(program->model.tablePath(), table);
    EXPECT_EQ(program->model.figures().entries, expected);
    EXPECT_EQ(entry->Label4->text(), "Messwerte von Max Muster");
    app.whenModal([&](QWidget *) {
        EXPECT_EQ(entry->entries(), expected);
        EXPECT_EQ(entry->Label4->text(),
                  "Messwerte " + GibMonatLang(today.month()) + " " + yyyy + "  Max Muster");
        entry->close();
    });
    app.menu("aktuellebearbeiten1");
    EXPECT_TRUE(app.rec.shown.isEmpty()) << app.rec.texts().join('|').toStdString();
}

TEST(EntryCommands, OpeningMaerz2004ForEditingFillsTheDialog) {
    Folder f;
    App app;
    ui::RecordingServices &rec = app.rec;
    Program &program = app.program();
    TMainForm &w = app.window();
    TEingabeDlg *entry = (&program.entryDialog());
    const QString folder = f.data() + "2004/";
    QDir().mkpath(folder);
    const QString path = folder + "Maerz2004.tab";
    testutil::writeBytes(path, testutil::crlf({"[Personendaten]", "BenutzerName=Max Muster",
                                               QString::fromUtf8("Datum=März 2004"), "",
                                               "BisZu8MessungenJeTag=1", "BisZu4MessungenJeTag=0",
                                               "", "", line("Morgens", "01.03.2004", "07:00", 120),
                                               line("Messung5", "01.03.2004", "15:00", 130)}));
    rec.fileNames.enqueue(path);
    int modal = 0;
    app.whenModal([&](QWidget *dlg) {
        ++modal;
        EXPECT_EQ(dlg, entry);
        EXPECT_EQ(entry->SpinEdit3->text(), "2004");
        EXPECT_EQ(entry->SpinEdit2->text(), "03");
        EXPECT_EQ(entry->entries().size(), 2);
        EXPECT_EQ(entry->Label4->text(), QString::fromUtf8("Messwerte März 2004  Max Muster"));
        entry->close();
    });
    app.menu("undTabellebearbeiten1");
    ASSERT_EQ(rec.dialogCalls.size(), 1);
    EXPECT_EQ(rec.dialogCalls[0], QString::fromUtf8("open|Öffnen|") + f.data() +
                                      "*.tab|Glykovalin-Tabellen "
                                      "(*.tab);;Alle Dateien (*.*)");
    EXPECT_EQ(modal, 1);
    EXPECT_EQ(program.model.userName(), "Max Muster");
    EXPECT_EQ(program.model.tablePath(), path);
    EXPECT_EQ(program.model.diary().path(), folder + "Maerz2004.txt");
    EXPECT_EQ(f.setting("TabellenDateiName"), path);
    EXPECT_TRUE(program.model.eightSlotsTicked());
    EXPECT_FALSE(w.menu().AllegespeichertenTagebuchseitendrucken1->isEnabled());
    EXPECT_EQ(program.model.entryYear(), "2004");

    // Cancelled open dialog: nothing changes.
    app.menu("undTabellebearbeiten1");
    EXPECT_EQ(modal, 1);
    EXPECT_EQ(entry->entries().size(), 2);

    // A table that cannot be read.
    rec.clear();
    rec.fileNames.enqueue(folder + "fehlt.tab");
    app.menu("undTabellebearbeiten1");
    EXPECT_TRUE(rec.texts().contains("Fehler Lesen der Datei!"));
    EXPECT_EQ(modal, 1);

    // "aktuelle bearbeiten" without a current table starts a new month: the
    // first save makes it the current table.
    program.model.close();
    program.model.setUserName("Max Muster");
    app.menu("aktuellebearbeiten1");
    EXPECT_TRUE(entry->isVisible());
    EXPECT_FALSE(entry->isModal());
    EXPECT_TRUE(entry->entries().isEmpty());
    entry->SpinEdit1->setValue(2);
    entry->Edit1->setText("08:00");
    entry->SpinEdit4->setValue(111);
    entry->BitBtn1->click();
    entry->OKBtn->click();
    EXPECT_EQ(rec.texts(), QStringList({"Fehler Lesen der Datei!"}));
    EXPECT_FALSE(entry->isVisible());
    const QDate today = QDate::currentDate();
    const QString table =
        f.data() + today.toString("yyyy") + "/MM" + today.toString("MMyyyy") + ".tab";
    EXPECT_EQ(program.model.tablePath(), table);
    EXPECT_EQ(f.setting("TabellenDateiName"), table);
}

TEST(EntryCommands, OpenAsGraphShowsTheChosenMonthWithoutWritingIt) {
    Folder f({"BenutzerName=Max Muster"});
    App app;
    ui::RecordingServices &rec = app.rec;
    TMainForm &w = app.window();
    TEingabeDlg *entry = (&app.program().entryDialog());
    entry->appendEntry(line("Morgens", "01.01.2024", "07:00", 99)); // a list from before
    const QString folder = f.data() + "2024/";
    QDir().mkpath(folder);
    const QString path = folder + "MM032024.tab";
    const QStringList file = {"[Personendaten]",
                              "BenutzerName=Max Muster",
                              QString::fromUtf8("Datum=März 2024"),
                              "",
                              "DruckenTabellenRandLeft=20",
                              "DruckenTabellenRandRight=10",
                              "DruckenTabellenRandTop=10",
                              "DruckenTabellenRandBottom=10",
                              "",
                              "",
                              "BisZu4MessungenJeTag=1",
                              "BisZu8MessungenJeTag=0",
                              "",
                              "",
                              line("Morgens", "05.03.2024", "07:00", 120)};
    testutil::writeBytes(path, testutil::crlf(file));
    rec.fileNames.enqueue(path);
    const QStringList &drawn = *recordDrawings(app.program(), w);
    app.menu("undalsGrafikanzeigen1");
    EXPECT_TRUE(rec.shown.isEmpty()) << rec.texts().join('|').toStdString();
    // One drawing pass, as "Messwerte" draws.
    EXPECT_EQ(drawn, QStringList({path}));
    // The drawing of the chosen month fills the entry list from its file.
    EXPECT_EQ(entry->entries(), QStringList({line("Morgens", "05.03.2024", "07:00", 120)}));
    EXPECT_EQ(app.program().model.tablePath(), path);
    EXPECT_TRUE(w.monthShown());
    // Showing a month never writes it.
    EXPECT_EQ(testutil::readBytes(path), testutil::crlf(file));
    EXPECT_FALSE(QFile::exists(f.data() + "2024/MM012024.tab"));
    // The table of the current month.
    const QStringList table = entry->tableText().split('\n');
    EXPECT_EQ(table[0], QString::fromUtf8("GLYKOVALINMESSWERTE: März 2024 von Max Muster"));
}
