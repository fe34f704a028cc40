#include "ui.h"

#include <QColorDialog>
#include <QDesktopServices>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QUrl>

namespace ui {

namespace {

class RealServices : public Services {
public:
    Answer message(Kind kind, Buttons buttons, const QString &text) override {
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
    QString openFileName(QWidget *parent, const QString &caption, const QString &folder,
                         const QString &filter) override {
        return QFileDialog::getOpenFileName(parent, caption, folder, filter);
    }
    QString saveFileName(QWidget *parent, const QString &caption, const QString &folder,
                         const QString &filter) override {
        return QFileDialog::getSaveFileName(parent, caption, folder, filter);
    }
    bool chooseColor(QWidget *parent, const QColor &initial, QColor &chosen) override {
        const QColor c = QColorDialog::getColor(initial, parent);
        if (!c.isValid()) return false;
        chosen = c;
        return true;
    }
    bool printDialog(QWidget *parent, QPrinter *printer) override {
        QPrintDialog dlg(printer, parent);
        return dlg.exec() == QDialog::Accepted;
    }
    bool shellOpen(const QString &path) override {
        return QDesktopServices::openUrl(QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath()));
    }
};

RealServices &real() {
    static RealServices r;
    return r;
}

Services *g_current = nullptr;

} // namespace

Services &services() {
    return g_current ? *g_current : real();
}
void setServices(Services *s) {
    g_current = s;
}

void showMessage(const QString &text) {
    services().message(Kind::Plain, Buttons::Ok, text);
}
void showInformation(const QString &text) {
    services().message(Kind::Information, Buttons::Ok, text);
}
void showWarning(const QString &text) {
    services().message(Kind::Warning, Buttons::Ok, text);
}
bool askYesNo(const QString &text) {
    return services().message(Kind::Confirmation, Buttons::YesNo, text) == Answer::Yes;
}

Answer RecordingServices::message(Kind kind, Buttons buttons, const QString &text) {
    shown.append({kind, buttons, text});
    if (!answers.isEmpty()) return answers.dequeue();
    return (buttons == Buttons::YesNo || buttons == Buttons::YesNoCancel) ? Answer::Yes
                                                                          : Answer::Ok;
}
QString RecordingServices::openFileName(QWidget *, const QString &caption, const QString &folder,
                                        const QString &filter) {
    dialogCalls.append(QStringList{"open", caption, folder, filter}.join(u'|'));
    return fileNames.isEmpty() ? QString() : fileNames.dequeue();
}
QString RecordingServices::saveFileName(QWidget *, const QString &caption, const QString &folder,
                                        const QString &filter) {
    dialogCalls.append(QStringList{"save", caption, folder, filter}.join(u'|'));
    return fileNames.isEmpty() ? QString() : fileNames.dequeue();
}
bool RecordingServices::chooseColor(QWidget *, const QColor &initial, QColor &chosen) {
    colorInitials.append(initial);
    if (colors.isEmpty()) return false;
    const QColor c = colors.dequeue();
    if (!c.isValid()) return false;
    chosen = c;
    return true;
}
bool RecordingServices::printDialog(QWidget *, QPrinter *) {
    return printAnswers.isEmpty() ? false : printAnswers.dequeue();
}
bool RecordingServices::shellOpen(const QString &path) {
    opened.append(path);
    return shellResult;
}
QStringList RecordingServices::texts() const {
    QStringList t;
    for (const Shown &s : shown)
        t.append(s.text);
    return t;
}
void RecordingServices::clear() {
    shown.clear();
    dialogCalls.clear();
    opened.clear();
    colorInitials.clear();
}

} // namespace ui
