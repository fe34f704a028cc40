#include "backupcommands.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>

#include "backup/autobackup.h"
#include "backup/restore.h"
#include "platform/ui.h"
#include "restoredialog.h"

namespace {

const QString kFilter = QStringLiteral("ZIP-Archive (*.zip)");

} // namespace

BackupCommands::BackupCommands(ui::Services &ui, const Folders &folders,
                               const SettingsStore &settings, QWidget *window)
    : QObject(window), m_ui(ui), m_folders(folders), m_settings(settings), m_window(window),
      m_atStart(backup::snapshot(folders)) {}

QString BackupCommands::sicherungsOrdner() const {
    return backup::backupFolder(m_settings);
}

void BackupCommands::SicherungErstellen() {
    const QString folder =
        QFileInfo(sicherungsOrdner()).isDir() ? sicherungsOrdner() : QDir::homePath();
    const QString proposal =
        QDir(folder).filePath(QStringLiteral("Glykovalin-Sicherung-%1.zip")
                                  .arg(QDate::currentDate().toString(Qt::ISODate)));
    QString file =
        m_ui.saveFileName(m_window, QStringLiteral("Sicherung erstellen"), proposal, kFilter);
    if (file.isEmpty()) return;
    if (QFileInfo(file).suffix().isEmpty()) file += QStringLiteral(".zip");
    const backup::WriteResult w =
        backup::writeArchive(m_folders, file, QDateTime::currentDateTime());
    if (!w.ok) {
        m_ui.showWarning(w.message);
        return;
    }
    m_ui.showInformation(QStringLiteral("Die Sicherung wurde gespeichert: „%1“ (%2: "
                                        "Monatstabellen, Tagebücher, Einstellungen mit den "
                                        "Bemerkungen und Patientendaten).")
                             .arg(QDir::toNativeSeparators(file), backup::filesText(w.fileCount)));
}

void BackupCommands::SicherungWiederherstellen() {
    const QString backups = sicherungsOrdner();
    const QString file =
        m_ui.openFileName(m_window, QStringLiteral("Sicherung wiederherstellen"),
                          QFileInfo(backups).isDir() ? backups : QDir::homePath(), kFilter);
    if (file.isEmpty()) return;
    backup::Archive archive;
    QString error;
    if (!backup::readArchive(file, archive, &error)) {
        m_ui.showWarning(error + QStringLiteral(" Es wurde nichts verändert."));
        return;
    }
    const backup::RestorePlan plan = backup::planRestore(archive, m_folders);
    if (!plan.changesAnything()) {
        m_ui.showInformation(QStringLiteral("Ihre Daten stimmen bereits mit der Sicherung "
                                            "überein; es gibt nichts wiederherzustellen."));
        return;
    }
    RestoreDialog preview(file, archive.manifest, plan, backups, m_window);
    if (preview.exec() != QDialog::Accepted) return;
    const backup::RestoreResult r =
        backup::applyRestore(archive, plan, m_folders, backups, QDateTime::currentDateTime());
    if (r.ok)
        m_ui.showInformation(QStringLiteral("Die Sicherung wurde wiederhergestellt: %1 ersetzt, "
                                            "%2 hinzugefügt. Der vorherige Stand ist gesichert "
                                            "in „%3“.")
                                 .arg(backup::filesText(plan.replaced.size()),
                                      backup::filesText(plan.added.size()),
                                      QDir::toNativeSeparators(r.safetyBackup)));
    else
        m_ui.showWarning(r.message);
    if (!r.written.isEmpty()) emit restored();
}

void BackupCommands::SicherungBeimBeenden() {
    const backup::AutoResult r =
        backup::backupAtEnd(m_folders, sicherungsOrdner(), m_atStart, QDateTime::currentDateTime());
    if (r.status != backup::AutoResult::Failed) return;
    m_ui.showWarning(QStringLiteral("Die automatische Datensicherung ist nicht gelungen. %1 Ihre "
                                    "Daten im Glykovalin-Ordner sind davon nicht berührt.")
                         .arg(r.message));
}
