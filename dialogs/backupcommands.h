#pragma once
#include <QObject>
#include <QString>

#include "backup/backupset.h"
#include "storage/settingsstore.h"

class QWidget;
namespace ui {
class Services;
}

// The backup commands of the main menu ("Datei › Datensicherung") and the
// automatic backup at the end of a run. Made when the program starts: it
// notes the state of the user's files then, so that the end of the run knows
// whether a file changed. Messages and file dialogs go through `ui`; the
// backup folder is read from the settings each time it is needed.
class BackupCommands : public QObject {
    Q_OBJECT
public:
    BackupCommands(ui::Services &ui, const Folders &folders, const SettingsStore &settings,
                   QWidget *window);

    // "Sicherung erstellen…": asks for the archive (proposed:
    // "Glykovalin-Sicherung-YYYY-MM-DD.zip" in the backup folder) and writes it.
    void SicherungErstellen();
    // "Sicherung wiederherstellen…": asks for an archive, checks it, shows
    // what a restore replaces, adds and leaves alone, and on confirmation
    // saves the current state and restores. Emits restored() when files were
    // written.
    void SicherungWiederherstellen();
    // For the end of the program, after the settings were written: the
    // automatic backup, made when this run changed a file of the user and no
    // end-of-run backup of today exists. A failure is told in one message;
    // it never keeps the program from ending.
    void SicherungBeimBeenden();

    // The folder of the automatic backups now in force.
    QString sicherungsOrdner() const;

signals:
    // Files of the base folder were replaced or added: the current month is
    // to be read and shown again.
    void restored();

private:
    ui::Services &m_ui;
    Folders m_folders;
    SettingsStore m_settings;
    QWidget *m_window;
    backup::Snapshot m_atStart;
};
