#include "strayfiles.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

namespace strayfiles {

bool isLeftover(const QString &fileName) {
    static const QRegularExpression re(
        QStringLiteral("^(glykoval\\.ini|.+\\.(tab|txt|pdf|html))\\.[A-Za-z]{6}$"),
        QRegularExpression::CaseInsensitiveOption);
    return re.match(fileName).hasMatch();
}

namespace {

void sweep(const QString &folder, const QDateTime &before, QStringList &removed) {
    if (folder.isEmpty()) return;
    const QDir dir(folder);
    const QFileInfoList files =
        dir.entryInfoList(QDir::Files | QDir::Hidden | QDir::NoSymLinks, QDir::Name);
    for (const QFileInfo &f : files) {
        if (f.isSymLink() || !f.isFile() || !isLeftover(f.fileName())) continue;
        if (f.lastModified() > before) continue;
        if (QFile::remove(f.absoluteFilePath())) removed << f.absoluteFilePath();
    }
}

void sweepWithYears(const QString &folder, const QDateTime &before, QStringList &removed) {
    if (folder.isEmpty()) return;
    sweep(folder, before, removed);
    const QFileInfoList years = QDir(folder).entryInfoList(
        QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot | QDir::NoSymLinks, QDir::Name);
    for (const QFileInfo &y : years)
        if (!y.isSymLink()) sweep(y.absoluteFilePath(), before, removed);
}

} // namespace

QStringList removeLeftovers(const QString &baseFolder, const QString &dataFolder,
                            const QString &browserFolder, std::chrono::seconds minAge) {
    const QDateTime before = QDateTime::currentDateTime().addSecs(-minAge.count());
    QStringList removed;
    sweep(baseFolder, before, removed);
    sweepWithYears(dataFolder, before, removed);
    sweepWithYears(browserFolder, before, removed);
    return removed;
}

} // namespace strayfiles
