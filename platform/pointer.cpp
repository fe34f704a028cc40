#include "pointer.h"

#include <QApplication>
#include <QCursor>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWidget>

namespace pointer {

QPoint position() {
    return QCursor::pos();
}

namespace {
void sendMouse(QWidget *w, QEvent::Type type, const QPoint &local) {
    if (!w) return;
    const Qt::MouseButtons held = type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton;
    QMouseEvent ev(type, QPointF(local), QPointF(w->mapToGlobal(local)), Qt::LeftButton, held,
                   Qt::NoModifier);
    QApplication::sendEvent(w, &ev);
}
} // namespace

void leftPress(QWidget *w, const QPoint &local) {
    sendMouse(w, QEvent::MouseButtonPress, local);
}
void leftRelease(QWidget *w, const QPoint &local) {
    sendMouse(w, QEvent::MouseButtonRelease, local);
}
void leftClick(QWidget *w, const QPoint &local) {
    leftPress(w, local);
    leftRelease(w, local);
}
void pressEnd(QWidget *w) {
    if (!w) return;
    QKeyEvent press(QEvent::KeyPress, Qt::Key_End, Qt::NoModifier);
    QApplication::sendEvent(w, &press);
    QKeyEvent release(QEvent::KeyRelease, Qt::Key_End, Qt::NoModifier);
    QApplication::sendEvent(w, &release);
}

} // namespace pointer
