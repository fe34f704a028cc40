#pragma once
#include <QObject>

// Waits for a time while the event loop keeps running, so windows repaint
// and the user interface stays alive.
class TMachPause : public QObject {
    Q_OBJECT
public:
    explicit TMachPause(QObject *parent = nullptr) : QObject(parent) {}
    // Waits the given time (which becomes the interval). Virtual so that a
    // test can stand in for the clock.
    virtual void Pause(int milliseconds);
    int Interval() const { return m_interval; }
    void setInterval(int milliseconds) { m_interval = milliseconds; }

private:
    int m_interval = 1000;
};
