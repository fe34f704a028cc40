#pragma once
#include <QColor>
#include <QList>
#include <QQueue>
#include <QStringList>

#include "platform/ui.h"

namespace ui {

// Services for tests: answers come from queues (defaults: Ok/Yes, cancel),
// everything shown is recorded.
class RecordingServices : public Services {
public:
    struct Shown {
        Kind kind;
        Buttons buttons;
        QString text;
    };

    Answer message(Kind kind, Buttons buttons, const QString &text) override;
    QString openFileName(QWidget *, const QString &caption, const QString &folder,
                         const QString &filter) override;
    QString saveFileName(QWidget *, const QString &caption, const QString &folder,
                         const QString &filter) override;
    QString folderName(QWidget *, const QString &caption, const QString &folder) override;
    bool chooseColor(QWidget *, const QColor &initial, QColor &chosen) override;
    bool printDialog(QWidget *, QPrinter *) override;
    bool shellOpen(const QString &path) override;

    QQueue<Answer> answers;
    QQueue<QString> fileNames;
    QQueue<QColor> colors; // an invalid colour answers cancel
    QQueue<bool> printAnswers;
    QList<Shown> shown;
    QStringList dialogCalls; // "open|caption|folder|filter", "save|...", "folder|caption|folder"
    QStringList opened;
    QList<QColor> colorInitials;
    bool shellResult = true;

    QStringList texts() const;
    void clear();
};

} // namespace ui
