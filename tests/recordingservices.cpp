#include "recordingservices.h"

namespace ui {

Answer RecordingServices::message(Kind kind, Buttons buttons, const QString &text) {
    shown.append({kind, buttons, text});
    if (!answers.isEmpty()) return answers.dequeue();
    return (buttons == Buttons::YesNo || buttons == Buttons::YesNoCancel) ? Answer::Yes
                                                                          : Answer::Ok;
}
// Records a file dialog's call and answers with the next queued name.
static QString answered(RecordingServices &r, const QStringList &call) {
    r.dialogCalls.append(call.join(u'|'));
    return r.fileNames.isEmpty() ? QString() : r.fileNames.dequeue();
}
QString RecordingServices::openFileName(QWidget *, const QString &caption, const QString &folder,
                                        const QString &filter) {
    return answered(*this, {"open", caption, folder, filter});
}
QString RecordingServices::saveFileName(QWidget *, const QString &caption, const QString &folder,
                                        const QString &filter) {
    return answered(*this, {"save", caption, folder, filter});
}
QString RecordingServices::folderName(QWidget *, const QString &caption, const QString &folder) {
    return answered(*this, {"folder", caption, folder});
}
bool RecordingServices::chooseColor(QWidget *, const QColor &initial, QColor &chosen) {
    colorInitials.append(initial);
    const QColor c = colors.isEmpty() ? QColor() : colors.dequeue();
    if (c.isValid()) chosen = c;
    return c.isValid();
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
