// Start-up reads glykoval.ini at most twice up to the first paint, however
// large the file has grown: the windows share one parsed document. The first
// frame does not wait for the month.

#include <sys/inotify.h>
#include <unistd.h>

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QEvent>
#include <QFileInfo>
#include <QIcon>
#include <QImage>
#include <QMouseEvent>
#include <QScrollArea>
#include <QScrollBar>
#include <QShowEvent>
#include <QSplitter>
#include <QTemporaryDir>

#include "dialogs/einstelldlg.h"
#include "entry/eingabedlg.h"
#include "graph/geometry.h"
#include "platform/profile.h"
#include "platform/textfile.h"
#include "scenario.h"

namespace {

using scenario::App;
using scenario::Folder;

// Counts the opens of one file through inotify, as the kernel sees them.
struct OpenCounter {
    explicit OpenCounter(const QString &path)
        : fd(inotify_init1(IN_NONBLOCK | IN_CLOEXEC)),
          watch(inotify_add_watch(fd, path.toLocal8Bit().constData(), IN_OPEN)) {}
    ~OpenCounter() { close(fd); }
    bool active() const { return fd >= 0 && watch >= 0; }
    // The opens so far; the events of a watched file carry no name.
    int opens() {
        inotify_event e;
        while (read(fd, &e, sizeof e) == ssize_t(sizeof e))
            count += (e.mask & IN_OPEN) ? 1 : 0;
        return count;
    }
    int fd, watch, count = 0;
};

using scenario::StoredMonth;

// Where a control of the main window lies in it.
QRect placeOf(TMainForm &w, const char *name) {
    const QWidget *c = w.findChild<QWidget *>(QString::fromLatin1(name));
    return c ? QRect(c->mapTo(&w, QPoint(0, 0)), c->size()) : QRect();
}

} // namespace

TEST(Startup, SettingsFileOpenedAtMostTwiceUpToTheFirstPaint) {
    // Twenty years of remarks make the file large.
    QStringList remarks;
    for (int year = 2006; year < 2026; ++year)
        for (int month = 1; month <= 12; ++month) {
            remarks << QStringLiteral("[Bemerkungen_MM%1%2.tab]")
                           .arg(month, 2, 10, QChar(u'0'))
                           .arg(year);
            for (int day = 1; day <= 31; ++day)
                remarks << QStringLiteral("%1,1=\"nach dem Sport am Nachmittag, danach Obst")
                               .arg(day, 2, 10, QChar(u'0'));
        }
    StoredMonth m;
    QStringList settings;
    ASSERT_TRUE(textfile::readLines(m.f.ini(), settings));
    testutil::writeBytes(m.f.ini(), testutil::crlf(settings + remarks));
    ASSERT_GT(QFileInfo(m.f.ini()).size(), 250 * 1024);

    OpenCounter counter(m.f.ini());
    ASSERT_TRUE(counter.active());
    App app;
    ASSERT_TRUE(app.window().monthShown()) << app.rec.texts().join('|').toStdString();
    const int opens = counter.opens();
    EXPECT_LE(opens, 2);
    RecordProperty("opens", opens);
}

// The window's first frame comes before the month: already in its final
// place and division, the graph area the template's size. The month is drawn
// right after it.
TEST(Startup, TheFirstFrameComesBeforeTheMonthInTheFinalLayout) {
    StoredMonth m;
    // An icon theme that holds the program's icon.
    QTemporaryDir icons;
    QDir(icons.path()).mkpath("t/apps");
    testutil::writeBytes(icons.filePath("t/index.theme"),
                         "[Icon Theme]\nDirectories=apps\n[apps]\nSize=16\n");
    QImage(16, 16, QImage::Format_RGB32)
        .save(icons.filePath("t/apps/de.glykovalin.Glykovalin.png"));
    QIcon::setThemeSearchPaths({icons.path()});
    QIcon::setThemeName("t");
    QApplication::setWindowIcon(QIcon());
    ui::RecordingServices rec;
    std::unique_ptr<Program> program = createProgram(rec);
    ASSERT_TRUE(program);
    TMainForm &w = program->mainForm();

    struct FirstFrame : QObject {
        TMainForm *w = nullptr;
        bool seen = false, monthShown = false;
        QRect window, diary, graph;
        QString icon;
        bool eventFilter(QObject *, QEvent *e) override {
            if (e->type() != QEvent::Paint || seen) return false;
            seen = true;
            monthShown = w->monthShown();
            window = w->geometry();
            diary = placeOf(*w, "RichEdit1");
            graph = placeOf(*w, "Image");
            icon = QApplication::windowIcon().name();
            return false;
        }
    } frame;
    frame.w = &w;
    w.installEventFilter(&frame);
    w.show();
    App::settle();
    w.removeEventFilter(&frame);

    ASSERT_TRUE(frame.seen);
    EXPECT_FALSE(frame.monthShown);
    ASSERT_TRUE(w.monthShown());
    EXPECT_EQ(frame.window, w.geometry());
    EXPECT_EQ(frame.diary, placeOf(w, "RichEdit1"));
    EXPECT_EQ(frame.graph, placeOf(w, "Image"));
    EXPECT_EQ(frame.graph.size(), QSize(1550, 448));
    EXPECT_TRUE(rec.shown.isEmpty());
    // The icon theme's index is read once the start is on screen.
    EXPECT_EQ(frame.icon, "");
    EXPECT_EQ(QApplication::windowIcon().name(), "de.glykovalin.Glykovalin");
    w.hide();
}

// A window that gets no frame (here: told it is shown, but never painted)
// draws its month all the same, a moment later.
TEST(Startup, AWindowThatIsNotPaintedStillShowsItsMonth) {
    StoredMonth m;
    ui::RecordingServices rec;
    std::unique_ptr<Program> program = createProgram(rec);
    ASSERT_TRUE(program);
    TMainForm &w = program->mainForm();
    QShowEvent shown;
    QApplication::sendEvent(&w, &shown);
    App::settle(100);
    EXPECT_FALSE(w.monthShown());
    App::settle(600);
    EXPECT_TRUE(w.monthShown());
}

// The day restored at start-up, and the day shown when another month is
// opened, show the readings of the month drawn, not of the one before. In a
// small window (800 x 600) the diary gives way first: the graph shows the
// whole value range, from 500 mg/dl down to the day numbers under 0.
TEST(Startup, TheRestoredDayShowsTheReadingsOfTheMonthDrawn) {
    StoredMonth m({"BenutzerName=Max Muster", "LetzteKlickPosition=64"});
    profile::write(m.f.ini(), "Einstellung", "FensterBreite", "800");
    profile::write(m.f.ini(), "Einstellung", "FensterHoehe", "600");
    const QString earlier = scenario::storeTable(
        m.f, 1, 2020, {scenario::reading(MeasurementSlot::Morgens, 1, 1, 2020, "07:00", 99)},
        false);
    App app;
    ASSERT_TRUE(app.window().monthShown());
    ASSERT_EQ(app.window().height(), 600);
    auto *area = app.find<QScrollArea>("FormScrollArea");
    for (const int row : {graphgeo::kTopRow, graphgeo::kZeroRow + 25}) {
        const int y = app.find<QWidget>("Image")->mapTo(area->viewport(), QPoint(0, row)).y();
        EXPECT_TRUE(y >= 0 && y < area->viewport()->height()) << row;
    }
    auto *page = app.find<QTextEdit>("RichEdit1");
    EXPECT_TRUE(page->isVisible());
    EXPECT_TRUE(page->toPlainText().contains(QStringLiteral("Morgens (07:00) = 110")))
        << page->toPlainText().toStdString();
    app.rec.fileNames.enqueue(earlier);
    app.menu("undalsGrafikanzeigen1");
    EXPECT_TRUE(page->toPlainText().contains(QStringLiteral("Morgens (07:00) = 99")))
        << page->toPlainText().toStdString();
}

// The dialogs, the program information and the notice about a read-only
// settings file are made when they are first needed, not at start-up; the
// settings dialog then shows the options restored at start-up. The month
// shown last is gone (moved, deleted): the start says which table it looked
// for, and shows the template.
TEST(Startup, DialogsAreMadeOnFirstUseAndAMissingMonthIsNamed) {
    Folder f;
    const QString gone = f.data() + "2024/MM032024.tab";
    // Each option the other way than the settings dialog starts with.
    QStringList settings =
        scenario::deliveredSettings({"BenutzerName=Max Muster", "TabellenDateiName=" + gone});
    settings.replaceInStrings("CT_Therapie=0", "CT_Therapie=1");
    settings.replaceInStrings("WerteOberhalbKurveAnzeigen=0", "WerteOberhalbKurveAnzeigen=1");
    settings.replaceInStrings("LinieBeiNullUnterbrechen=1", "LinieBeiNullUnterbrechen=0");
    ASSERT_TRUE(settings.contains("BE_Einheit=1") && settings.contains("Tagebuch_sichtbar=1"));
    testutil::writeBytes(f.ini(), testutil::crlf(settings));
    App app;
    TMainForm &w = app.window();
    EXPECT_FALSE(w.monthShown());
    EXPECT_TRUE(app.saidOnce(ui::Kind::Warning, gone));
    EXPECT_TRUE(w.findChildren<QDialog *>().isEmpty());
    app.whenModal([](QWidget *dlg) {
        for (const char *name : {"Tagebuch_sichtbar_checkBox", "BE_Button", "CT_Button",
                                 "WerteOberhalbKurveAnzeigenCheckBox"})
            EXPECT_TRUE(dlg->findChild<QAbstractButton *>(name)->isChecked()) << name;
        EXPECT_FALSE(dlg->findChild<QAbstractButton *>("LinieUnterbrechenCheckBox")->isChecked());
        static_cast<QDialog *>(dlg)->reject();
    });
    app.menu("Einstellungen");
    EXPECT_EQ(w.findChildren<TEinstellDlg *>().size(), 1);
    EXPECT_EQ(w.findChildren<TEingabeDlg *>().size(), 0);
    EXPECT_EQ(app.find<QLabel>("Label1")->text(), QStringLiteral("von Max Muster"));
    QStringList shown;
    const auto close = [&](QWidget *m) {
        shown << m->objectName();
        m->close();
    };
    app.whenModal(close);
    app.menu("Infober1");
    app.whenModal(close);
    emit app.program().model.settingsReadOnly();
    app.whenModal(close);
    app.menu("Infober1");
    EXPECT_EQ(shown, QStringList({"AboutBox", "readonlyDlg", "AboutBox"}));
    EXPECT_EQ(w.findChildren<QDialog *>(QStringLiteral("AboutBox")).size(), 1);
}

// The graph area shows a vertical scroll bar only when it is short of more
// than the blank margin under the readout line: the margin gives way first,
// on a smaller window and on a dragged divider alike.
TEST(GraphArea, ScrollsOnlyWhenShortOfMoreThanTheBlankMargin) {
    StoredMonth m;
    App app;
    TMainForm &w = app.window();
    ASSERT_TRUE(w.monthShown());
    auto *split = app.find<QSplitter>("GraphDiarySplitter");
    auto *area = app.find<QScrollArea>("FormScrollArea");
    auto *client = app.find<QWidget>("ClientArea");
    auto *readout = app.find<QLabel>("StatusLabel");
    ASSERT_TRUE(split && area && client && readout);
    QScrollBar *bar = area->verticalScrollBar();
    const int readoutEnd = readout->mapTo(client, QPoint(0, readout->height())).y();
    const int hbar = area->horizontalScrollBar()->height();
    ASSERT_TRUE(area->horizontalScrollBar()->isVisible());
    auto room = [&] { return area->height() - hbar; };
    // The window made shorter until the graph area has `target` rows.
    auto shortenTo = [&](int target) {
        for (int i = 0; i < 20 && room() != target; ++i) {
            w.resize(w.width(), w.height() - (room() - target));
            App::settle();
        }
    };
    ASSERT_GE(room(), readoutEnd + 20);
    EXPECT_FALSE(bar->isVisible());

    // Ten pixels short: the margin shrinks, the readout line stays in view.
    shortenTo(readoutEnd + 10);
    ASSERT_EQ(room(), readoutEnd + 10);
    EXPECT_FALSE(bar->isVisible());
    EXPECT_EQ(client->height(), area->viewport()->height());

    // Short of part of the readout line: the bar scrolls exactly to its end.
    shortenTo(readoutEnd - 5);
    ASSERT_EQ(room(), readoutEnd - 5);
    ASSERT_TRUE(bar->isVisible());
    EXPECT_EQ(bar->maximum(), 5);

    // A taller window again, then the divider dragged up: the same.
    shortenTo(readoutEnd + 10);
    ASSERT_EQ(room(), readoutEnd + 10);
    EXPECT_FALSE(bar->isVisible());
    QSplitterHandle *handle = split->handle(1);
    const QPoint at = handle->rect().center();
    auto send = [&](QEvent::Type type, QPoint pos, Qt::MouseButtons buttons) {
        QMouseEvent e(type, pos, handle->mapToGlobal(pos), Qt::LeftButton, buttons, Qt::NoModifier);
        QApplication::sendEvent(handle, &e);
    };
    send(QEvent::MouseButtonPress, at, Qt::LeftButton);
    send(QEvent::MouseMove, at - QPoint(0, 15), Qt::LeftButton);
    send(QEvent::MouseButtonRelease, at - QPoint(0, 15), Qt::NoButton);
    App::settle();
    ASSERT_EQ(room(), readoutEnd - 5);
    ASSERT_TRUE(bar->isVisible());
    EXPECT_EQ(bar->maximum(), 5);
}
