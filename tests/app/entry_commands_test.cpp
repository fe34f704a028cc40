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
#include "entry/eingabedlg.h"
#include "platform/profile.h"
#include "platform/textfile.h"
#include "platform/ui.h"
#include "recordingservices.h"
#include "storage/monthtable.h"
#include "testutil.h"

inline void PrintTo(const QString &s, std::ostream *os) {
    *os << '"' << s.toStdString() << '"';
}

namespace {

class InFolder {
public:
    InFolder() : m_old(QDir::currentPath()) { QDir::setCurrent(m_dir.path()); }
    ~InFolder() {
        QDir::setCurrent(m_old);
        appState() = AppState{};
    }
    QString path() const { return m_dir.path(); }
    QString ini() const { return m_dir.file("glykoval.ini"); }
    QString get(const char *key) const {
        return profile::read(ini(), "Einstellung", QString::fromLatin1(key));
    }

private:
    testutil::TempFolder m_dir;
    QString m_old;
};

// Stand-in for the drawing pass: remembers a new month's table as the
// current one, as the graph does.
void fakeDrawing(TMainForm &w, QStringList &drawn) {
    w.hooks.drawMonth = [&w, &drawn](const QString &path) {
        drawn << path;
        AppState &s = w.state();
        if (s.NewMonthPending) {
            profile::write(s.SettingsPath, "Einstellung", "TabellenDateiName", path);
            s.CurrentTablePath = path;
            s.NewMonthPending = false;
        }
        s.GraphShown = true;
    };
}

QString line(const char *slot, const QString &date, const char *time, int value) {
    const QString pre = QString::fromLatin1(slot) + " den ";
    const QString pad = pre.size() == 12 ? "   " : pre.size() == 11 ? "    " : "";
    return pre + pad + date + " Z=" + time + "  ZuckerWert=" + QString::number(value);
}

} // namespace

TEST(EntryCommands, NewUserEntersAWeekAndFindsItAgainAfterARestart) {
    InFolder f;
    ui::RecordingServices rec;
    const QDate today = QDate::currentDate();
    const QString mm = today.toString("MM"), yyyy = today.toString("yyyy");
    const QString table = f.path() + "Glykovalin-Daten/" + yyyy + "/MM" + mm + yyyy + ".tab";
    QStringList expected;
    {
        auto program = createProgram();
        ASSERT_TRUE(program);
        TMainForm &w = *program->MainForm;
        QStringList drawn;
        fakeDrawing(w, drawn);
        w.FirstPaint();
        TNameEingDlg *name = program->NameEingDlg;
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
        EXPECT_EQ(f.get("BenutzerName"), "Max Muster");
        EXPECT_EQ(w.Label1->text(), " von Max Muster");
        TEingabeDlg *entry = program->EingabeDlg;
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
        EXPECT_EQ(f.get("TabellenDateiName"), table);
        EXPECT_EQ(f.get("LetzteEingabe"), expected.last());
        QStringList lines;
        ASSERT_TRUE(textfile::readLines(table, lines));
        EXPECT_EQ(monthtable::entryLines(lines), expected);
        w.FormClose();
    }
    // Restart: the name, the month and the readings come back.
    auto program = createProgram();
    ASSERT_TRUE(program);
    TMainForm &w = *program->MainForm;
    QStringList drawn;
    fakeDrawing(w, drawn);
    TEingabeDlg *entry = program->EingabeDlg;
    entry->callbacks.runModal = [](TEingabeDlg *d) { d->show(); };
    // The slot after the stored Abends reading, on the next day.
    EXPECT_EQ(entry->BitBtn3->text(), "Morgens");
    EXPECT_EQ(entry->SpinEdit1->value(), 8);
    w.FirstPaint();
    EXPECT_FALSE(program->NameEingDlg->isVisible());
    EXPECT_EQ(drawn, QStringList({table}));
    EXPECT_EQ(entry->Label4->text(), "Messwerte von Max Muster");
    w.menuAction("aktuellebearbeiten1")->trigger();
    EXPECT_TRUE(entry->isVisible());
    EXPECT_EQ(entry->entries(), expected);
    EXPECT_EQ(entry->Label4->text(),
              "Messwerte " + GibMonatLang(today.month()) + " " + yyyy + "  Max Muster");
}

TEST(EntryCommands, OpeningMaerz2004ForEditingFillsTheDialog) {
    InFolder f;
    ui::RecordingServices rec;
    auto program = createProgram();
    ASSERT_TRUE(program);
    TMainForm &w = *program->MainForm;
    TEingabeDlg *entry = program->EingabeDlg;
    bool modal = false;
    entry->callbacks.runModal = [&](TEingabeDlg *) { modal = true; };
    const QString folder = f.path() + "Glykovalin-Daten/2004/";
    QDir().mkpath(folder);
    const QString path = folder + "Maerz2004.tab";
    testutil::writeBytes(path, testutil::crlf({"[Personendaten]", "BenutzerName=Max Muster",
                                               QString::fromUtf8("Datum=März 2004"), "",
                                               "BisZu8MessungenJeTag=1", "BisZu4MessungenJeTag=0",
                                               "", "", line("Morgens", "01.03.2004", "07:00", 120),
                                               line("Messung5", "01.03.2004", "15:00", 130)}));
    rec.fileNames.enqueue(path);
    w.menuAction("undTabellebearbeiten1")->trigger();
    ASSERT_EQ(rec.dialogCalls.size(), 1);
    EXPECT_EQ(rec.dialogCalls[0], QString::fromUtf8("open|Öffnen|") + f.path() +
                                      "Glykovalin-Daten/*.tab|Glykovalin-Tabellen "
                                      "(*.tab);;Alle Dateien (*.*)");
    EXPECT_TRUE(modal);
    EXPECT_EQ(entry->SpinEdit3->text(), "2004");
    EXPECT_EQ(entry->SpinEdit2->text(), "03");
    EXPECT_EQ(entry->entries().size(), 2);
    EXPECT_EQ(entry->Label4->text(), QString::fromUtf8("Messwerte März 2004  Max Muster"));
    EXPECT_EQ(w.state().TableUserName, "Max Muster");
    EXPECT_EQ(w.state().CurrentTablePath, path);
    EXPECT_EQ(w.state().DiaryPath, folder + "Maerz2004.txt");
    EXPECT_EQ(f.get("TabellenDateiName"), path);
    EXPECT_TRUE(w.state().EightSlotsTicked);
    EXPECT_FALSE(w.menuAction("AllegespeichertenTagebuchseitendrucken1")->isEnabled());
    EXPECT_EQ(w.state().EntryYear, "2004");

    // Cancelled open dialog: nothing changes.
    modal = false;
    w.menuAction("undTabellebearbeiten1")->trigger();
    EXPECT_FALSE(modal);
    EXPECT_EQ(entry->entries().size(), 2);

    // A table that cannot be read.
    rec.clear();
    rec.fileNames.enqueue(folder + "fehlt.tab");
    w.menuAction("undTabellebearbeiten1")->trigger();
    EXPECT_TRUE(rec.texts().contains("Fehler Lesen der Datei!"));
    EXPECT_FALSE(modal);

    // "aktuelle bearbeiten" without a current table starts a new month.
    w.state().CurrentTablePath.clear();
    w.menuAction("aktuellebearbeiten1")->trigger();
    EXPECT_TRUE(entry->isVisible());
    EXPECT_TRUE(entry->entries().isEmpty());
    EXPECT_TRUE(w.state().NewMonthPending);
}

TEST(EntryCommands, OpenAsGraphShowsTheChosenMonthWithoutWritingIt) {
    InFolder f;
    testutil::writeBytes(f.ini(),
                         testutil::crlf({"[Einstellung]", "BenutzerName=Max Muster",
                                         "Hochwerte>=180", "Kritischwerte>=140", "Tiefwerte<=60"}));
    ui::RecordingServices rec;
    auto program = createProgram();
    ASSERT_TRUE(program);
    TMainForm &w = *program->MainForm;
    w.FirstPaint();
    TEingabeDlg *entry = program->EingabeDlg;
    entry->appendEntry(line("Morgens", "01.01.2024", "07:00", 99)); // a list from before
    const QString folder = f.path() + "Glykovalin-Daten/2024/";
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
    w.menuAction("undalsGrafikanzeigen1")->trigger();
    EXPECT_TRUE(rec.shown.isEmpty()) << rec.texts().join('|').toStdString();
    // The drawing of the chosen month fills the entry list from its file.
    EXPECT_EQ(entry->entries(), QStringList({line("Morgens", "05.03.2024", "07:00", 120)}));
    EXPECT_EQ(w.state().CurrentTablePath, path);
    EXPECT_TRUE(w.state().GraphShown);
    // Showing a month never writes it.
    EXPECT_EQ(testutil::readBytes(path), testutil::crlf(file));
    EXPECT_FALSE(QFile::exists(f.path() + "Glykovalin-Daten/2024/MM012024.tab"));
    // The table of the current month.
    const QStringList table = entry->tableText().split('\n');
    EXPECT_EQ(table[0], QString::fromUtf8("GLYKOVALINMESSWERTE: März 2024 von Max Muster"));
}
