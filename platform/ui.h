#pragma once
#include <QColor>
#include <QList>
#include <QQueue>
#include <QString>
#include <QStringList>

class QWidget;
class QPrinter;

// Message boxes, common dialogs and the shell's "open", behind one interface
// so tests can answer them and read back what was shown.
namespace ui {

enum class Kind { Plain, Information, Warning, Confirmation };
enum class Buttons { Ok, YesNo, OkCancel, YesNoCancel };
enum class Answer { Ok, Yes, No, Cancel };

class Services {
public:
    virtual ~Services() = default;
    virtual Answer message(Kind kind, Buttons buttons, const QString &text) = 0;
    // Empty text when the user cancels.
    virtual QString openFileName(QWidget *parent, const QString &caption, const QString &folder,
                                 const QString &filter) = 0;
    virtual QString saveFileName(QWidget *parent, const QString &caption, const QString &folder,
                                 const QString &filter) = 0;
    // Returns false on cancel.
    virtual bool chooseColor(QWidget *parent, const QColor &initial, QColor &chosen) = 0;
    virtual bool printDialog(QWidget *parent, QPrinter *printer) = 0;
    // Opens a document with the desktop's default handler.
    virtual bool shellOpen(const QString &path) = 0;
};

// The services in use; the real dialogs unless a test installed others.
Services &services();
// Installs other services (nullptr restores the real ones); not owned.
void setServices(Services *s);

// Shorthands for the four kinds of message box.
void showMessage(const QString &text);
void showInformation(const QString &text);
void showWarning(const QString &text);
// Confirmation with Yes and No; true on Yes.
bool askYesNo(const QString &text);

// Services for tests: answers come from queues (defaults: Ok/Yes, cancel),
// everything shown is recorded.
class RecordingServices : public Services {
public:
    struct Shown {
        Kind kind;
        Buttons buttons;
        QString text;
    };
    RecordingServices() { setServices(this); }
    ~RecordingServices() override { setServices(nullptr); }

    Answer message(Kind kind, Buttons buttons, const QString &text) override;
    QString openFileName(QWidget *, const QString &caption, const QString &folder,
                         const QString &filter) override;
    QString saveFileName(QWidget *, const QString &caption, const QString &folder,
                         const QString &filter) override;
    bool chooseColor(QWidget *, const QColor &initial, QColor &chosen) override;
    bool printDialog(QWidget *, QPrinter *) override;
    bool shellOpen(const QString &path) override;

    QQueue<Answer> answers;
    QQueue<QString> fileNames;
    QQueue<QColor> colors; // an invalid colour answers cancel
    QQueue<bool> printAnswers;
    QList<Shown> shown;
    QStringList dialogCalls; // "open|caption|folder|filter" and "save|..."
    QStringList opened;
    QList<QColor> colorInitials;
    bool shellResult = true;

    QStringList texts() const;
    void clear();
};

} // namespace ui
