#pragma once
// Scenario tests run the real program: all windows, the real drawing pass and
// the real saves, in a fresh folder with the delivered files, driven through
// menu actions, buttons, keys and mouse events. Only message boxes, file
// dialogs and the shell are answered by ui::RecordingServices.
#include <QLabel>
#include <QTextEdit>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <string>

#include "app/mainform.h"
#include "app/program.h"
#include "platform/ui.h"
#include "recordingservices.h"
#include "storage/entryline.h"
#include "support/entrycontrols.h"
#include "testutil.h"

class QWidget;

namespace scenario {

// The settings file as delivered, with the lines given appended.
QStringList deliveredSettings(const QStringList &extra = {});

// One reading as the entry dialog writes it ("05" style day, "12" month).
QString reading(MeasurementSlot slot, int day, int month, int year, const QString &time, int value);
// A month table file as a save writes it (header, mode lines, entry lines).
QByteArray monthFile(const QString &user, int month, int year, const QStringList &entries,
                     bool eight = false);
// Types text into a widget key by key, also characters that have no key of
// their own on a German keyboard (≤, →).
void typeText(QWidget *widget, const QString &text);

// A stored diary page as the program writes it, with the morning's
// carbohydrates and a remark.
QByteArray diaryPage(int day, int carbs, const QByteArray &remark);

// The entry lines of a month table on disk.
QStringList readingsIn(const QString &tablePath);

// A fresh folder made current, with glykoval.ini and the pictures, or
// empty.
class Folder {
public:
    explicit Folder(const QStringList &extraSettings = {}, bool delivered = true);
    ~Folder();
    QString path() const { return m_dir.path(); }
    QString ini() const { return m_dir.file("glykoval.ini"); }
    QString data() const { return m_dir.path() + "Glykovalin-Daten/"; }
    // Data folder + year + "/" + name; the year folder is made.
    QString table(const QString &name, int year) const;
    QString setting(const QString &key) const;

private:
    testutil::TempFolder m_dir;
    QString m_old;
};

// The name of a month's table, "MMmmyyyy.tab".
QString tableName(int month, int year);
// Readings of a month: four a day (07:00, 12:00, 18:00, 22:00) on days 1 to
// `days`, day d's slot s (0 .. 3) with the value 100 + 10 d + s.
QStringList fourADay(int month, int year, int days = 3);

// Max Muster's table of a month in the folder, holding `entries`; made the
// month shown at start unless `current` is false.
QString storeTable(const Folder &f, int month, int year, const QStringList &entries,
                   bool current = true, bool eight = false);

// A folder whose table of this month (Max Muster's) holds the twelve
// readings; it is the month shown at start unless `current` is false.
struct StoredMonth {
    explicit StoredMonth(const QStringList &settings = {"BenutzerName=Max Muster"},
                         bool current = true);
    int month, year;
    Folder f;
    QStringList stored;
    QString table;
    QByteArray bytes;
    QByteArray onDisk() const { return testutil::readBytes(table); }
    // The month's diary file beside the table.
    QString diary() const;
    // A reading of this month.
    QString reading(MeasurementSlot slot, int day, const char *time, int value) const;
};

// The running program; its main window is shown and has had its first paint.
class App {
public:
    // Messages and dialogs go to `rec`, or to `services` when given.
    explicit App(ui::Services *services = nullptr);
    ~App();
    Program &program() { return *m_program; }
    TMainForm &window();
    ui::RecordingServices rec;

    // A control of the program's windows by its object name (the main window
    // and its dialogs).
    template <class T> T *find(const char *objectName) {
        return window().findChild<T *>(QString::fromLatin1(objectName));
    }
    // The title strip's caption of the main window.
    QLabel *title() {
        return window().findChild<QWidget *>("Panel1")->findChild<QLabel *>("Label1");
    }
    // What the program said, for failure messages.
    std::string said() const { return rec.texts().join('|').toStdString(); }
    // The program said one thing, a message of this kind holding `part`.
    testing::AssertionResult saidOnce(ui::Kind kind, const QString &part) const;
    // Triggers a menu entry by its object name, as a click on it does.
    void menu(const char *objectName);
    // A click on the graph in the column of the day (which shows its page).
    void clickDay(int day);
    // The diary page's editor, and text typed into it after the text
    // `after` of the page's line `line`.
    QTextEdit *page() { return find<QTextEdit>("RichEdit1"); }
    void typeInPage(int line, const QString &after, const QString &text);
    // Runs `inside` on the entry dialog the menu entry opens modally.
    void inEntryDialog(const std::function<void(const EntryControls &)> &inside,
                       const char *menuEntry = "aktuellebearbeiten1");
    // Runs `inside` on the next modal dialog that opens; it must close it.
    // The dialog is closed (and the test fails) when it is still open after.
    void whenModal(const std::function<void(QWidget *)> &inside);
    // Lets queued events (first paint, posted clicks, timers) run.
    static void settle(int ms = 0);

private:
    std::unique_ptr<Program> m_program;
};

} // namespace scenario
