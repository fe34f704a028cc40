// Random use of the whole program: mouse moves and clicks, keys, menu
// commands and the dialogs they open, with message boxes and file dialogs
// answered at random. Nothing may crash, and no month file may lose a
// reading except through a save the user confirmed.
//
// GLYKO_MONKEY_STEPS and GLYKO_MONKEY_SEED choose a longer or another run.

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QDate>
#include <QDialog>
#include <QLineEdit>
#include <QMenu>
#include <QPointer>
#include <QSet>
#include <QTest>
#include <QThread>
#include <QTimer>
#include <iostream>
#include <random>

#include "entry/eingabedlg.h"
#include "platform/machpause.h"
#include "printing/druckvorschau.h"
#include "scenario.h"
#include "storage/monthtable.h"

using scenario::App;
using scenario::Folder;

namespace {

int envNumber(const char *name, int fallback) {
    bool ok = false;
    const int v = qEnvironmentVariableIntValue(name, &ok);
    return ok ? v : fallback;
}

// Message boxes and dialogs answered at random (folder and print dialogs
// cancelled); what was asked is kept for the check of each step.
class MonkeyServices : public ui::RecordingServices {
public:
    MonkeyServices(std::mt19937 &rng, QStringList tables, QString outFolder)
        : m_rng(rng), m_tables(std::move(tables)), m_out(std::move(outFolder)) {}

    ui::Answer message(ui::Kind, ui::Buttons buttons, const QString &text) override {
        ui::Answer a = ui::Answer::Ok;
        if (buttons == ui::Buttons::YesNo || buttons == ui::Buttons::YesNoCancel)
            a = pick(2) ? ui::Answer::Yes : ui::Answer::No;
        else if (buttons == ui::Buttons::OkCancel)
            a = pick(2) ? ui::Answer::Ok : ui::Answer::Cancel;
        asked.append({text, a});
        return a;
    }
    QString openFileName(QWidget *, const QString &, const QString &, const QString &) override {
        const int k = pick(int(m_tables.size()) + 2);
        if (k < m_tables.size()) return m_tables.at(k);
        return k == m_tables.size() ? QString() : m_out + QStringLiteral("fehlt.tab");
    }
    QString saveFileName(QWidget *, const QString &, const QString &, const QString &) override {
        return pick(3) == 0 ? QString() : m_out + QStringLiteral("ausgabe%1").arg(pick(3));
    }
    bool chooseColor(QWidget *, const QColor &, QColor &chosen) override {
        if (pick(2) == 0) return false;
        chosen = QColor::fromRgb(m_rng() & 0xFFFFFF);
        return true;
    }
    bool shellOpen(const QString &) override { return pick(2) == 0; }

    int pick(int n) { return n <= 1 ? 0 : int(m_rng() % unsigned(n)); }

    struct Asked {
        QString text;
        ui::Answer answer;
    };
    QList<Asked> asked;

private:
    std::mt19937 &m_rng;
    QStringList m_tables;
    QString m_out;
};

// The graph print preview's wait passes at once (the menu's own wait stays).
class NoPause : public TMachPause {
public:
    void Pause(int) override {}
};

// A reading is known by its day and slot.
QSet<QString> readingKeys(const QStringList &lines) {
    QSet<QString> keys;
    for (const QString &l : lines) {
        MeasurementSlot slot;
        if (entryline::slotOf(l, slot))
            keys.insert(QStringLiteral("%1/%2").arg(entryline::dayOf(l)).arg(int(slot)));
    }
    return keys;
}

class Monkey {
public:
    Monkey(App &app, MonkeyServices &services, std::mt19937 &rng)
        : m_app(app), m_w(app.window()), m_s(services), m_rng(rng) {
        m_entry = &app.program().entryDialog();
        for (QAction *a : m_w.findChildren<QAction *>())
            if (!a->objectName().isEmpty() && !a->menu() && a->objectName() != u"Beenden1")
                m_menu << a;
        // Drives whatever modal window a step opened, then closes it. Not
        // every millisecond: a timer always due keeps each settle between the
        // steps busy for its whole time.
        m_modal.setInterval(5);
        QObject::connect(&m_modal, &QTimer::timeout, [this] { driveModal(); });
        m_modal.start();
    }

    // One random action; true when it could have saved a month (a click or
    // key that reaches the entry dialog's save buttons).
    bool step() {
        m_couldSave = false;
        switch (m_s.pick(10)) {
        case 0:
        case 1: {
            QAction *a = m_menu.at(m_s.pick(int(m_menu.size())));
            if (a->isEnabled()) a->trigger();
            break;
        }
        case 2:
            QTest::mouseClick(m_app.find<QWidget>("Image"), Qt::MouseButton(1 << m_s.pick(2)), {},
                              graphPoint());
            break;
        case 3:
            QTest::mouseMove(m_app.find<QWidget>("Image"), graphPoint());
            break;
        case 4:
        case 5:
            typeInDiary();
            break;
        case 6:
            QTest::keyClick(&m_w, m_s.pick(2) ? Qt::Key_Right : Qt::Key_Left, Qt::ControlModifier);
            break;
        default:
            if (m_entry->isVisible())
                actIn(m_entry);
            else
                QTest::mouseMove(m_app.find<QWidget>("M_einheit_Image"),
                                 QPoint(m_s.pick(42), m_s.pick(403)));
        }
        App::settle();
        return m_couldSave;
    }

    void stop() { m_modal.stop(); }

private:
    QPoint graphPoint() { return QPoint(m_s.pick(1550), m_s.pick(448)); }

    void typeInDiary() {
        QTextEdit *ed = m_app.find<QTextEdit>("RichEdit1");
        if (!ed->isVisible()) return;
        QTextCursor c = ed->textCursor();
        c.setPosition(m_s.pick(ed->document()->characterCount()));
        ed->setTextCursor(c);
        static const struct {
            Qt::Key key;
            const char *text;
        } keys[] = {{Qt::Key_Backspace, ""}, {Qt::Key_Delete, ""}, {Qt::Key_Tab, ""},
                    {Qt::Key_Return, ""},    {Qt::Key_Space, " "}, {Qt::Key_2, "2"},
                    {Qt::Key_A, "a"},        {Qt::Key_Comma, ","}};
        const auto &k = keys[m_s.pick(8)];
        QTest::sendKeyEvent(QTest::Click, ed, k.key, QString::fromLatin1(k.text),
                            m_s.pick(6) == 0 ? Qt::ControlModifier : Qt::NoModifier);
    }

    // A random click, typed text or key in a window.
    void actIn(QWidget *window) {
        QList<QAbstractButton *> buttons;
        for (QAbstractButton *b : window->findChildren<QAbstractButton *>())
            if (b->isVisible() && b->isEnabled()) buttons << b;
        QList<QWidget *> fields;
        for (QWidget *f : window->findChildren<QLineEdit *>())
            if (f->isVisible() && f->isEnabled()) fields << f;
        QList<QAction *> actions;
        for (QAction *a : window->findChildren<QAction *>())
            if (a->isEnabled() && !a->menu() && !a->objectName().isEmpty()) actions << a;
        auto *list = window->findChild<QAbstractItemView *>(QStringLiteral("ListBox1"));
        // In the entry dialog the monkey adds and saves more often than a
        // random button would.
        if (window == m_entry && m_s.pick(3) == 0) {
            const char *name = m_s.pick(3) ? "BitBtn1" : m_s.pick(2) ? "OKBtn" : "BitBtn4";
            auto *b = m_entry->findChild<QAbstractButton *>(QString::fromLatin1(name));
            m_couldSave = true;
            QTest::mouseClick(b, Qt::LeftButton);
            return;
        }
        switch (m_s.pick(6)) {
        case 0:
            if (!buttons.isEmpty()) {
                QAbstractButton *b = buttons.at(m_s.pick(int(buttons.size())));
                if (window == m_entry) m_couldSave = true;
                QTest::mouseClick(b, Qt::LeftButton);
            }
            break;
        case 1:
        case 2:
            if (!fields.isEmpty()) {
                QWidget *f = fields.at(m_s.pick(int(fields.size())));
                f->setFocus();
                static const char *texts[] = {"16", "7", "600", "12:30", "ab", "", "31", "0"};
                QTest::keyClick(f, Qt::Key_A, Qt::ControlModifier);
                QTest::keyClicks(f, QString::fromLatin1(texts[m_s.pick(8)]));
            }
            break;
        case 3:
            if (list && list->model()->rowCount() > 0) {
                list->setCurrentIndex(list->model()->index(m_s.pick(list->model()->rowCount()), 0));
                if (m_s.pick(3) == 0) QTest::keyClick(list, Qt::Key_Delete);
            }
            break;
        case 4:
            if (!actions.isEmpty()) actions.at(m_s.pick(int(actions.size())))->trigger();
            break;
        default: {
            if (window == m_entry) m_couldSave = true;
            QTest::keyClick(window, m_s.pick(2) ? Qt::Key_Escape : Qt::Key_Return);
        }
        }
    }

    void driveModal() {
        // Only inside a window's own event loop (a modal dialog); the steps
        // drive everything else.
        if (QThread::currentThread()->loopLevel() == 0) return;
        QPointer<QWidget> top = QApplication::activeModalWidget();
        if (!top)
            for (QWidget *w : QApplication::topLevelWidgets())
                if (qobject_cast<QDialog *>(w) && w->isVisible()) top = w;
        if (!top || !top->isVisible()) {
            m_modalActions = 0;
            return;
        }
        if (++m_modalActions > 12) {
            m_modalActions = 0;
            if (auto *d = qobject_cast<QDialog *>(top.data()))
                d->reject();
            else
                top->close();
            if (top && top->isVisible()) top->hide();
            return;
        }
        // From the event loop, not from this timer: an action that opens
        // another modal window must not keep this timer from driving it.
        QTimer::singleShot(0, top, [this, top] {
            if (top && top->isVisible()) actIn(top);
        });
    }

    App &m_app;
    TMainForm &m_w;
    MonkeyServices &m_s;
    std::mt19937 &m_rng;
    QDialog *m_entry = nullptr;
    QList<QAction *> m_menu;
    QTimer m_modal;
    int m_modalActions = 0;
    bool m_couldSave = false;
};

} // namespace

TEST(Monkey, RandomUseNeitherCrashesNorLosesReadings) {
    const int steps = envNumber("GLYKO_MONKEY_STEPS", 600);
    const unsigned seed = unsigned(envNumber("GLYKO_MONKEY_SEED", 20261207));
    std::mt19937 rng(seed);

    Folder f({"BenutzerName=Max Muster"});
    const QDate today = QDate::currentDate();
    QStringList tables;
    for (int back = 1; back >= 0; --back) {
        const QDate d = today.addMonths(-back);
        tables.prepend(
            scenario::storeTable(f, d.month(), d.year(), scenario::fourADay(d.month(), d.year())));
    }
    testutil::writeBytes(monthtable::diaryPathOf(tables.first()),
                         scenario::diaryPage(2, 1, "Sport"));
    const QString out = f.path() + "ausgabe/";
    QDir().mkpath(out);

    MonkeyServices services(rng, tables, out);
    App app(&services);
    NoPause noPause;
    app.program().graphPrintPreview().setPause(&noPause);
    Monkey monkey(app, services, rng);
    QMap<QString, QByteArray> files = testutil::filesIn(f.data(), {"*.tab"});
    QSet<QString> deleted; // readings the user deleted in the entry dialog
    int done = 0, writes = 0;
    for (int i = 0; i < steps; ++i, ++done) {
        services.asked.clear();
        const bool couldSave = monkey.step();
        bool overwriteConfirmed = false;
        for (const auto &a : std::as_const(services.asked)) {
            if (a.answer != ui::Answer::Yes) continue;
            if (a.text.contains(QStringLiteral("existiert schon! Alle Messwerte")))
                overwriteConfirmed = true;
            if (a.text.startsWith(QStringLiteral("Möchten Sie den Eintrag")))
                deleted.unite(readingKeys({a.text.section(u'\n', 1, 1)}));
        }
        const QMap<QString, QByteArray> now = testutil::filesIn(f.data(), {"*.tab"});
        for (auto it = now.cbegin(); it != now.cend(); ++it) {
            const QByteArray before = files.value(it.key());
            if (before == it.value()) continue;
            ASSERT_TRUE(couldSave)
                << "step " << i << " wrote " << it.key().toStdString() << " without a save";
            ++writes;
            QSet<QString> lost = readingKeys(QString::fromLatin1(before).split("\r\n"));
            lost.subtract(readingKeys(QString::fromLatin1(it.value()).split("\r\n")));
            if (!overwriteConfirmed) {
                QSet<QString> unexplained = lost;
                unexplained.subtract(deleted);
                ASSERT_TRUE(unexplained.isEmpty())
                    << "step " << i << " lost readings of " << it.key().toStdString();
            }
        }
        for (auto it = files.cbegin(); it != files.cend(); ++it)
            ASSERT_TRUE(now.contains(it.key()))
                << "step " << i << " removed " << it.key().toStdString();
        files = now;
        ASSERT_TRUE(app.window().isVisible()) << "step " << i << " closed the main window";
    }
    monkey.stop();
    EXPECT_EQ(done, steps);
    std::cout << "[ MONKEY   ] " << done << " steps, seed " << seed << ", " << writes
              << " month files written by confirmed saves" << std::endl;
}
