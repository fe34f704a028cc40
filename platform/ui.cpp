#include "ui.h"

#include <QAction>
#include <QColorDialog>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QFileInfo>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QUrl>

#include "convert.h"
#include "filedialog.h"

namespace ui {

Answer DesktopServices::message(Kind kind, Buttons buttons, const QString &text) {
    QMessageBox box;
    switch (kind) {
    case Kind::Plain:
        box.setWindowTitle(QStringLiteral("Glykovalin"));
        break;
    case Kind::Information:
        box.setIcon(QMessageBox::Information);
        box.setWindowTitle(QStringLiteral("Information"));
        break;
    case Kind::Warning:
        box.setIcon(QMessageBox::Warning);
        box.setWindowTitle(QStringLiteral("Warnung"));
        break;
    case Kind::Confirmation:
        box.setIcon(QMessageBox::Question);
        box.setWindowTitle(QStringLiteral("Bestätigen"));
        break;
    }
    box.setText(text);
    auto add = [&box](QMessageBox::StandardButton b, const char *caption) {
        box.addButton(b)->setText(QString::fromUtf8(caption));
    };
    switch (buttons) {
    case Buttons::Ok:
        add(QMessageBox::Ok, "OK");
        break;
    case Buttons::YesNo:
        add(QMessageBox::Yes, "&Ja");
        add(QMessageBox::No, "&Nein");
        break;
    case Buttons::OkCancel:
        add(QMessageBox::Ok, "OK");
        add(QMessageBox::Cancel, "Abbrechen");
        break;
    case Buttons::YesNoCancel:
        add(QMessageBox::Yes, "&Ja");
        add(QMessageBox::No, "&Nein");
        add(QMessageBox::Cancel, "Abbrechen");
        break;
    }
    switch (box.exec()) {
    case QMessageBox::Yes:
        return Answer::Yes;
    case QMessageBox::No:
        return Answer::No;
    case QMessageBox::Cancel:
        return Answer::Cancel;
    default:
        return buttons == Buttons::YesNo ? Answer::No : Answer::Ok;
    }
}

namespace {

QString chosenFile(QWidget *parent, const QString &caption, const QString &folder,
                   const QString &filter, QFileDialog::AcceptMode mode) {
    const auto dlg = makeFileDialog(parent, caption, folder, filter, mode);
    if (dlg->exec() != QDialog::Accepted) return {};
    return dlg->selectedFiles().value(0);
}

} // namespace

QString DesktopServices::openFileName(QWidget *parent, const QString &caption,
                                      const QString &folder, const QString &filter) {
    return chosenFile(parent, caption, folder, filter, QFileDialog::AcceptOpen);
}

QString DesktopServices::saveFileName(QWidget *parent, const QString &caption,
                                      const QString &folder, const QString &filter) {
    return chosenFile(parent, caption, folder, filter, QFileDialog::AcceptSave);
}

QString DesktopServices::folderName(QWidget *parent, const QString &caption,
                                    const QString &folder) {
    const auto dlg = makeFileDialog(parent, caption, folder, QString(), QFileDialog::AcceptOpen);
    dlg->setFileMode(QFileDialog::Directory);
    dlg->setOption(QFileDialog::ShowDirsOnly, true);
    if (dlg->exec() != QDialog::Accepted) return {};
    return dlg->selectedFiles().value(0);
}

bool DesktopServices::chooseColor(QWidget *parent, const QColor &initial, QColor &chosen) {
    const QColor c = QColorDialog::getColor(initial, parent);
    if (!c.isValid()) return false;
    chosen = c;
    return true;
}

bool DesktopServices::printDialog(QWidget *parent, QPrinter *printer) {
    QPrintDialog dlg(printer, parent);
    return dlg.exec() == QDialog::Accepted;
}

// The desktop's opener, xdg-open, is asked to show the file; it ends at once
// after it handed the file to a viewer, and with a status other than 0 when
// there is none or the viewer could not be started. An opener that is still
// busy after a few seconds counts as having shown the file (it goes on and
// ends by itself). Without xdg-open, Qt's own way is taken.
bool DesktopServices::shellOpen(const QString &path) {
    const QString file = QFileInfo(path).absoluteFilePath();
    const QString opener = QStandardPaths::findExecutable(QStringLiteral("xdg-open"));
    if (opener.isEmpty()) return QDesktopServices::openUrl(QUrl::fromLocalFile(file));
    auto *process = new QProcess(QCoreApplication::instance());
    process->setProgram(opener);
    process->setArguments({file});
    process->setStandardOutputFile(QProcess::nullDevice());
    process->setStandardErrorFile(QProcess::nullDevice());
    QObject::connect(process, &QProcess::finished, process, &QObject::deleteLater);
    QObject::connect(process, &QProcess::errorOccurred, process,
                     [process](QProcess::ProcessError e) {
                         if (e == QProcess::FailedToStart) process->deleteLater();
                     });
    process->start();
    if (!process->waitForStarted(3000)) return false;
    // An opener that has not ended yet has found a viewer; one that has
    // ended says by its status whether it could show the file.
    process->waitForFinished(kOpenerWait);
    if (process->state() != QProcess::NotRunning) return true;
    return process->exitStatus() == QProcess::NormalExit && process->exitCode() == 0;
}

Answer MessageLog::message(Kind, Buttons buttons, const QString &text) {
    texts.append(text);
    switch (buttons) {
    case Buttons::Ok:
        return Answer::Ok;
    case Buttons::OkCancel:
        return Answer::Cancel;
    default:
        return Answer::No;
    }
}

bool guarded(Services &ui, const std::function<void()> &operation) {
    try {
        operation();
        return true;
    } catch (const EConvertError &e) {
        ui.showWarning(e.message());
        return false;
    }
}

void onTriggered(QAction *action, QObject *context, Services &ui, std::function<void()> operation) {
    QObject::connect(action, &QAction::triggered, context,
                     [&ui, operation = std::move(operation)] { guarded(ui, operation); });
}

} // namespace ui
