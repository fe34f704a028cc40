#include "autobackup.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <algorithm>

#include "archive.h"

namespace backup {

namespace {

const QString kPrefix = QStringLiteral("Glykovalin-Autosicherung-");
const QString kBeforeRestore = QStringLiteral("-vor-Wiederherstellung");

// Date, time, the number of a second backup in the same second, and the
// mark of a backup made before a restore.
const QRegularExpression &namePattern() {
    static const QRegularExpression re(
        QStringLiteral("^Glykovalin-Autosicherung-(\\d{4}-\\d\\d-\\d\\d)_(\\d\\d-\\d\\d-\\d\\d)"
                       "(?:-(\\d+))?(-vor-Wiederherstellung)?\\.zip$"));
    return re;
}

struct Found {
    QString path, stamp; // stamp: "2024-03-05_14-30-12"
    int number = 1;
    bool beforeRestore = false;
};

QList<Found> automaticBackups(const QString &folder) {
    QList<Found> found;
    const QFileInfoList files = QDir(folder).entryInfoList(QDir::Files | QDir::NoSymLinks);
    for (const QFileInfo &f : files) {
        const auto m = namePattern().match(f.fileName());
        if (!m.hasMatch()) continue;
        const int number = m.captured(3).isEmpty() ? 1 : m.captured(3).toInt();
        found.append({f.absoluteFilePath(), m.captured(1) + u'_' + m.captured(2), number,
                      !m.captured(4).isEmpty()});
    }
    // Newest first.
    std::sort(found.begin(), found.end(), [](const Found &a, const Found &b) {
        return a.stamp != b.stamp ? a.stamp > b.stamp : a.number > b.number;
    });
    return found;
}

// The path of a folder with links resolved: the deepest part that exists is
// resolved, the rest appended.
QString resolved(const QString &folder) {
    QString path = QDir::cleanPath(QFileInfo(folder).absoluteFilePath());
    QString rest;
    while (!QFileInfo::exists(path)) {
        const qsizetype slash = path.lastIndexOf(u'/');
        if (slash <= 0) return QDir::cleanPath(folder);
        rest.prepend(path.mid(slash));
        path.truncate(slash);
    }
    return QFileInfo(path).canonicalFilePath() + rest;
}

} // namespace

QString defaultFolder(const QString &home) {
    return QDir(home).filePath(QStringLiteral("Glykovalin-Sicherungen"));
}

QString backupFolder(const SettingsStore &settings) {
    const QString set = settings.get(keys::SicherungsOrdner).trimmed();
    return set.isEmpty() ? defaultFolder() : set;
}

bool liesInside(const QString &folder, const QString &base) {
    const QString f = resolved(folder), b = resolved(base);
    return f == b || f.startsWith(b.endsWith(u'/') ? b : b + u'/');
}

QString automaticName(const QDateTime &now, AutoKind kind, int number) {
    return kPrefix + now.toString(QStringLiteral("yyyy-MM-dd_HH-mm-ss")) +
           (number > 1 ? QStringLiteral("-%1").arg(number) : QString()) +
           (kind == AutoKind::BeforeRestore ? kBeforeRestore : QString()) + QStringLiteral(".zip");
}

bool madeOn(const QString &folder, const QDate &day) {
    const QString date = day.toString(Qt::ISODate);
    const QList<Found> found = automaticBackups(folder);
    return std::any_of(found.begin(), found.end(), [&](const Found &f) {
        return !f.beforeRestore && f.stamp.startsWith(date);
    });
}

QStringList rotate(const QString &folder, int keep) {
    QStringList removed;
    const QList<Found> found = automaticBackups(folder);
    for (qsizetype i = keep; i < found.size(); ++i)
        if (QFile::remove(found.at(i).path)) removed << found.at(i).path;
    return removed;
}

AutoResult writeAutomatic(const Folders &folders, const QString &folder, const QDateTime &now,
                          AutoKind kind) {
    AutoResult r;
    r.status = AutoResult::Failed;
    const QString shown = QDir::toNativeSeparators(folder);
    if (liesInside(folder, folders.base)) {
        r.message = QStringLiteral("Der Sicherungsordner „%1“ liegt im Glykovalin-Ordner. "
                                   "Sicherungen gehören an einen anderen Ort; bitte wählen Sie "
                                   "unter „Einstellungen“ einen Ordner außerhalb.")
                        .arg(shown);
        return r;
    }
    if (!QDir().mkpath(folder)) {
        r.message =
            QStringLiteral("Der Sicherungsordner „%1“ kann nicht angelegt werden.").arg(shown);
        return r;
    }
    // A second backup in the same second gets a number instead of replacing
    // the first.
    const QDir dir(folder);
    int number = 1;
    while (QFileInfo::exists(dir.filePath(automaticName(now, kind, number))))
        ++number;
    r.path = dir.filePath(automaticName(now, kind, number));
    const WriteResult w = writeArchive(folders, r.path, now);
    if (!w.ok) {
        r.message = w.message;
        return r;
    }
    r.status = AutoResult::Written;
    rotate(folder);
    return r;
}

AutoResult backupAtEnd(const Folders &folders, const QString &folder, const Snapshot &atStart,
                       const QDateTime &now) {
    if (snapshot(folders) == atStart || madeOn(folder, now.date())) return {};
    return writeAutomatic(folders, folder, now, AutoKind::AtEnd);
}

} // namespace backup
