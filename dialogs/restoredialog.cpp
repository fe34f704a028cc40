#include "restoredialog.h"

#include <QDir>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "platform/german.h"

namespace {

// A group of files: its heading with the count, the files below it.
void addGroup(QTreeWidget *tree, const QString &heading, const QStringList &files, bool expanded) {
    auto *group =
        new QTreeWidgetItem(tree, {QStringLiteral("%1 (%2)").arg(heading).arg(files.size())});
    for (const QString &f : files)
        new QTreeWidgetItem(group, {QDir::toNativeSeparators(f)});
    group->setExpanded(expanded);
}

} // namespace

RestoreDialog::RestoreDialog(const QString &archivePath, const backup::Manifest &manifest,
                             const backup::RestorePlan &plan, const QString &backupFolder,
                             QWidget *parent)
    : QDialog(parent) {
    setObjectName(QStringLiteral("RestoreDialog"));
    setWindowTitle(QStringLiteral("Sicherung wiederherstellen"));
    resize(600, 480);
    const QDateTime created = manifest.created.toLocalTime();
    m_summary = new QLabel(
        QStringLiteral("Sicherung „%1“ vom %2 um %3 Uhr (Glykovalin %4), geprüft und in Ordnung.")
            .arg(QDir::toNativeSeparators(archivePath), german::date(created.date()),
                 created.toString(QStringLiteral("HH:mm")), manifest.version),
        this);
    m_summary->setObjectName(QStringLiteral("Zusammenfassung"));
    m_summary->setWordWrap(true);
    m_files = new QTreeWidget(this);
    m_files->setObjectName(QStringLiteral("Dateien"));
    m_files->setHeaderHidden(true);
    m_files->setRootIsDecorated(true);
    addGroup(m_files, QStringLiteral("Wird ersetzt"), plan.replaced, true);
    addGroup(m_files, QStringLiteral("Wird hinzugefügt"), plan.added, true);
    addGroup(m_files, QStringLiteral("Bleibt unverändert"), plan.leftAlone, false);
    m_note = new QLabel(
        QStringLiteral("Vor dem Wiederherstellen wird der jetzige Stand automatisch gesichert, "
                       "im Ordner „%1“. Dateien, die nicht in der Sicherung sind, werden nicht "
                       "gelöscht.")
            .arg(QDir::toNativeSeparators(backupFolder)),
        this);
    m_note->setObjectName(QStringLiteral("Hinweis"));
    m_note->setWordWrap(true);
    m_restore = new QPushButton(QStringLiteral("&Wiederherstellen"), this);
    m_restore->setObjectName(QStringLiteral("WiederherstellenBtn"));
    m_cancel = new QPushButton(QStringLiteral("Abbrechen"), this);
    m_cancel->setObjectName(QStringLiteral("AbbrechenBtn"));
    m_cancel->setDefault(true);
    connect(m_restore, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_restore);
    buttons->addWidget(m_cancel);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_summary);
    layout->addWidget(m_files, 1);
    layout->addWidget(m_note);
    layout->addLayout(buttons);
}
