#pragma once
#include <QColor>
#include <QList>
#include <QString>
#include <QStringList>
#include <functional>

#include "messagekind.h"

class QAction;
class QObject;
class QWidget;
class QPrinter;

// Message boxes, common dialogs and the shell's "open", behind one interface
// so tests can answer them and read back what was shown.
namespace ui {

class Services {
public:
    virtual ~Services() = default;
    virtual Answer message(Kind kind, Buttons buttons, const QString &text) = 0;
    // Empty text when the user cancels.
    virtual QString openFileName(QWidget *parent, const QString &caption, const QString &folder,
                                 const QString &filter) = 0;
    virtual QString saveFileName(QWidget *parent, const QString &caption, const QString &folder,
                                 const QString &filter) = 0;
    // A folder; empty text when the user cancels.
    virtual QString folderName(QWidget *parent, const QString &caption, const QString &folder) = 0;
    // Returns false on cancel.
    virtual bool chooseColor(QWidget *parent, const QColor &initial, QColor &chosen) = 0;
    virtual bool printDialog(QWidget *parent, QPrinter *printer) = 0;
    // Opens a document with the desktop's default handler.
    virtual bool shellOpen(const QString &path) = 0;

    // Shorthands for the four kinds of message box.
    void showMessage(const QString &text) { message(Kind::Plain, Buttons::Ok, text); }
    void showInformation(const QString &text) { message(Kind::Information, Buttons::Ok, text); }
    void showWarning(const QString &text) { message(Kind::Warning, Buttons::Ok, text); }
    // Confirmation with Yes and No; true on Yes.
    bool askYesNo(const QString &text) {
        return message(Kind::Confirmation, Buttons::YesNo, text) == Answer::Yes;
    }
};

// The desktop's message boxes, Qt's own file, colour and print dialogs, and
// the desktop's handler for opening documents.
class DesktopServices final : public Services {
public:
    Answer message(Kind kind, Buttons buttons, const QString &text) override;
    QString openFileName(QWidget *parent, const QString &caption, const QString &folder,
                         const QString &filter) override;
    QString saveFileName(QWidget *parent, const QString &caption, const QString &folder,
                         const QString &filter) override;
    QString folderName(QWidget *parent, const QString &caption, const QString &folder) override;
    bool chooseColor(QWidget *parent, const QColor &initial, QColor &chosen) override;
    bool printDialog(QWidget *parent, QPrinter *printer) override;
    bool shellOpen(const QString &path) override;

    // Milliseconds the opener is waited for before it counts as having shown
    // the file.
    static constexpr int kOpenerWait = 4000;
};

// For work without a window (the command-line tool): messages are kept
// instead of shown, questions are answered No, dialogs are cancelled and
// nothing is opened.
class MessageLog final : public Services {
public:
    Answer message(Kind kind, Buttons buttons, const QString &text) override;
    QString openFileName(QWidget *, const QString &, const QString &, const QString &) override {
        return {};
    }
    QString saveFileName(QWidget *, const QString &, const QString &, const QString &) override {
        return {};
    }
    QString folderName(QWidget *, const QString &, const QString &) override { return {}; }
    bool chooseColor(QWidget *, const QColor &, QColor &) override { return false; }
    bool printDialog(QWidget *, QPrinter *) override { return false; }
    bool shellOpen(const QString &) override { return false; }

    QStringList texts; // every message, in order
};

// Runs an operation; a text that should have been a number (EConvertError)
// is shown as a warning and ends it. False when it was ended that way.
bool guarded(Services &ui, const std::function<void()> &operation);

// Runs `operation` through guarded() each time `action` is triggered, as
// long as `context` exists: a menu entry's command.
void onTriggered(QAction *action, QObject *context, Services &ui, std::function<void()> operation);

} // namespace ui
