#include "recordingservices.h"

namespace ui {

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
QString RecordingServices::folderName(QWidget *, const QString &caption, const QString &folder) {
    dialogCalls.append(QStringList{"folder", caption, folder}.join(u'|'));
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
