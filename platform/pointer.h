#pragma once
#include <QPoint>

class QWidget;

// Pointer position and synthesised input.
namespace pointer {

QPoint position();
// A left-button press and release at a point in the widget's coordinates,
// delivered as real mouse events.
void leftClick(QWidget *widget, const QPoint &local);
void leftPress(QWidget *widget, const QPoint &local);
void leftRelease(QWidget *widget, const QPoint &local);
// An End key press and release to the widget.
void pressEnd(QWidget *widget);

} // namespace pointer
