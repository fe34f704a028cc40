#pragma once
#include <QObject>
#include <QString>

class QTimer;

// Waits for a time while the event loop keeps running, so windows repaint and
// the user interface stays alive.
class TMachPause : public QObject {
    Q_OBJECT
public:
    explicit TMachPause(QObject *parent = nullptr);
    void Pause(int milliseconds);
    int Interval() const;
    void setInterval(int milliseconds);

private:
    QTimer *m_timer;
    bool m_done = false;
};

// True when the path names an existing folder.
bool FolderExists(const QString &path);
// Creates the folder with all missing parents. An empty path is an error
// (returns false, *error gets "Das Verzeichnis kann nicht erstellt werden").
bool ForceFolders(const QString &path, QString *error = nullptr);
