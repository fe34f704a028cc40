#include <QAction>
#include <QDir>
#include <QFileInfo>

#include "platform/profile.h"
#include "scenario.h"

namespace {

// The program made in a fresh empty folder (made current), with a settings
// file of these lines when given; its first paint is left to the test.
struct Started {
    explicit Started(const QStringList &settings = {}) {
        if (!settings.isEmpty()) testutil::writeBytes(f.ini(), testutil::crlf(settings));
        program = createProgram(rec);
        if (!program) ADD_FAILURE() << "no program";
    }
    TMainForm &w() { return program->mainForm(); }
    scenario::Folder f{{}, false};
    ui::RecordingServices rec;
    std::unique_ptr<Program> program;
};

QString get(const QString &ini, const char *key) {
    return profile::read(ini, "Einstellung", QString::fromLatin1(key));
}

} // namespace

TEST(MainForm, StartsInEmptyFolderAndCreatesDataFolders) {
    Started s;
    auto &[f, rec, program] = s;
    ASSERT_TRUE(program);
    EXPECT_TRUE(QFileInfo(f.path() + "Glykovalin-Daten").isDir());
    EXPECT_TRUE(QFileInfo(f.path() + "Glykovalin-Daten im Browser").isDir());
    EXPECT_EQ(program->model.folders().base, f.path());
    EXPECT_EQ(program->model.folders().settings, f.path() + "glykoval.ini");
    EXPECT_EQ(s.w().windowTitle(), "Glykovalinmesswerte - ");
    // The menu entries no scenario triggers (the others are found by name there).
    for (const char *name : {"NeuerstellenneuerMonatoderJahr1", "anzeigen1", "Beenden1",
                             "DatenaktuellerTagebucheintraglschen1", "Hilfethemen1"})
        EXPECT_NE(s.w().findChild<QAction *>(name), nullptr) << name;
    // The help page: missing, then present but without a program to show it.
    s.w().menu().Hilfethemen1->trigger();
    EXPECT_TRUE(rec.opened.isEmpty());
    ASSERT_EQ(rec.shown.size(), 1);
    EXPECT_TRUE(rec.shown[0].text.contains(f.path() + "Glykovalin-Hilfe.htm"));
    testutil::writeBytes(f.path() + "Glykovalin-Hilfe.htm", "<html></html>\r\n");
    rec.shellResult = false;
    s.w().menu().Hilfethemen1->trigger();
    EXPECT_EQ(rec.opened, QStringList({"Glykovalin-Hilfe.htm"}));
    ASSERT_EQ(rec.shown.size(), 2);
    EXPECT_TRUE(rec.shown[1].text.contains("konnte nicht geöffnet werden"));
    rec.shellResult = true;
    s.w().menu().Hilfethemen1->trigger();
    EXPECT_EQ(rec.shown.size(), 2);
}

TEST(MainForm, DataFolderThatCannotBeMadeEndsTheProgram) {
    scenario::Folder f({}, false);
    testutil::writeBytes(f.path() + "Glykovalin-Daten", "Datei statt Ordner");
    ui::RecordingServices rec;
    EXPECT_FALSE(createProgram(rec));
    ASSERT_EQ(rec.shown.size(), 2);
    EXPECT_EQ(rec.shown[0].text, "Ordner \"Glykovalin-Daten\" konnte nicht erstellt werden! ");
    EXPECT_EQ(rec.shown[1].kind, ui::Kind::Information);
    EXPECT_EQ(rec.shown[1].text, "Ordner: " + f.path() +
                                     "Glykovalin-Daten/\" existiert nicht! "
                                     " Das Programm wird beendet.");
}

TEST(MainForm, FirstPaintRestoresAndCloseWritesState) {
    Started s({"[Einstellung]", "BisZu4MessungenJeTag=1", "BisZu8MessungenJeTag=10",
               "Tagebuch_sichtbar=1", "BE_Einheit=1", "FensterPosTop=50", "FensterPosLinks=60",
               "FensterHoehe=700", "LetzteKlickPosition=", "BenutzerName=Max Muster",
               "LetzteHScrollPosition=96"});
    auto &[f, rec, program] = s;
    ASSERT_TRUE(program);
    TMainForm &w = s.w();
    // Both flags set: both entries ticked, the eight-slot mode wins.
    EXPECT_TRUE(w.menu().biszu4MessungenjeTag->isChecked());
    EXPECT_TRUE(w.menu().biszu8MessungenjeTag->isChecked());
    w.FirstPaint();
    EXPECT_EQ(w.width(), 300);
    EXPECT_EQ(w.height(), 700);
    EXPECT_TRUE(program->model.options().carbUnitBE);
    EXPECT_TRUE(program->model.options().diaryVisible);
    EXPECT_EQ(w.findChild<QLabel *>("Label1")->text(), "von Max Muster");
    // Without a month there are no pages for the diary book.
    EXPECT_FALSE(w.menu().AllegespeichertenTagebuchseitendrucken1->isEnabled());

    // The mode toggle: the ticked "4" entry switches to eight measurements.
    program->model.setModeTicks(true, false);
    w.biszu4MessungenjeTagClick();
    EXPECT_FALSE(w.menu().biszu4MessungenjeTag->isChecked());
    EXPECT_TRUE(w.menu().biszu8MessungenjeTag->isChecked());
    w.biszu8MessungenjeTagClick();
    EXPECT_TRUE(w.menu().biszu4MessungenjeTag->isChecked());

    DisplayOptions hidden = program->model.options();
    hidden.diaryVisible = false;
    program->model.setOptions(hidden);
    w.resize(640, 500);
    w.close();
    // A height below 590 is never stored. The mode switch only draws again:
    // no month is written or made current.
    const std::pair<const char *, QString> stored[] = {
        {"Tagebuch_sichtbar", "0"},    {"BE_Einheit", "1"},
        {"CT_Therapie", "0"},          {"FensterBreite", "640"},
        {"FensterHoehe", "700"},       {"LetzteHScrollPosition", "96"},
        {"BisZu4MessungenJeTag", "1"}, {"BisZu8MessungenJeTag", "0"},
        {"LetzteKlickPosition", "64"}, {"FensterPosTop", QString::number(w.y())},
        {"TabellenDateiName", ""}};
    for (const auto &[key, value] : stored)
        EXPECT_EQ(get(f.ini(), key), value) << key;
    EXPECT_TRUE(QDir(f.path() + "Glykovalin-Daten")
                    .entryList(QDir::NoDotAndDotDot | QDir::AllEntries)
                    .isEmpty());
}

TEST(MainForm, DiaryHiddenForcesHeightAndEmptyNameAsksForOne) {
    Started s({"[Einstellung]", "FensterHoehe=900"});
    ASSERT_TRUE(s.program);
    TMainForm &w = s.w();
    bool asked = false;
    QObject::disconnect(&w, &TMainForm::userNameMissing, nullptr, nullptr);
    QObject::connect(&w, &TMainForm::userNameMissing, [&] { asked = true; });
    w.FirstPaint();
    EXPECT_TRUE(asked);
    EXPECT_EQ(w.height(), 590);
    EXPECT_FALSE(w.findChild<QTextEdit *>("RichEdit1")->isVisibleTo(&w));
    EXPECT_FALSE(w.menu().AllegespeichertenTagebuchseitendrucken1->isEnabled());
}

TEST(MainForm, NumericKeyThatIsNoNumberIsReported) {
    Started s({"[Einstellung]", "FensterBreite=breit"});
    ASSERT_TRUE(s.program);
    s.w().FirstPaint();
    ASSERT_FALSE(s.rec.shown.isEmpty());
    EXPECT_TRUE(s.rec.shown[0].text.contains("breit"));
    EXPECT_TRUE(s.rec.shown[0].text.contains("FensterBreite"));
}

TEST(MainForm, CloseWhileMaximisedKeepsSizeButStoresPosition) {
    Started s({"[Einstellung]", "FensterBreite=777", "FensterHoehe=800", "Tagebuch_sichtbar=1",
               "BenutzerName=Anna"});
    ASSERT_TRUE(s.program);
    TMainForm &w = s.w();
    const QString &ini = s.f.ini();
    w.FirstPaint();
    w.setWindowState(Qt::WindowMaximized);
    ASSERT_TRUE(w.isMaximized());
    w.FormClose();
    EXPECT_EQ(get(ini, "FensterBreite"), "777");
    EXPECT_EQ(get(ini, "FensterHoehe"), "800");
    EXPECT_FALSE(get(ini, "FensterPosTop").isEmpty());
    EXPECT_FALSE(get(ini, "FensterPosLinks").isEmpty());
    EXPECT_EQ(get(ini, "Tagebuch_sichtbar"), "1");
}
