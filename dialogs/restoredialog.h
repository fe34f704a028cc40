#pragma once
#include <QDialog>

#include "backup/restore.h"

class QLabel;
class QPushButton;
class QTreeWidget;

// The preview of a restore: which files the checked backup replaces, which
// it adds and which stay as they are, where the state before will be saved,
// and the button that starts the restore (accept) or leaves everything as it
// is (reject).
class RestoreDialog : public QDialog {
    Q_OBJECT
public:
    RestoreDialog(const QString &archivePath, const backup::Manifest &manifest,
                  const backup::RestorePlan &plan, const QString &backupFolder,
                  QWidget *parent = nullptr);

private:
    QLabel *m_summary;
    QTreeWidget *m_files;
    QLabel *m_note;
    QPushButton *m_restore;
    QPushButton *m_cancel;
};
