#include "strayfiles.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <functional>

namespace strayfiles {

bool isLeftover(const QString &fileName) {
    static const QRegularExpression re(
        QStringLiteral(
            "^(glykoval\\.ini|qt_temp|.+\\.(tab|txt|pdf|html?|png|csv|js))\\.[A-Za-z]{6}$"),
        QRegularExpression::CaseInsensitiveOption);
    return re.match(fileName).hasMatch();
}

namespace {

void sweep(const QString &folder, const QDateTime &before, QStringList &removed,
           const std::function<bool(const QString &)> &matches = isLeftover,
           const QStringList &nameFilters = {}) {
    if (folder.isEmpty()) return;
    const QDir dir(folder);
    const QFileInfoList files =
        dir.entryInfoList(nameFilters, QDir::Files | QDir::Hidden | QDir::NoSymLinks, QDir::Name);
    for (const QFileInfo &f : files) {
        if (f.isSymLink() || !f.isFile() || !matches(f.fileName())) continue;
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

QStringList removeLeftoversOf(const QString &target, std::chrono::seconds minAge) {
    const QFileInfo info(target);
    const QString name = info.fileName();
    QStringList removed;
    if (name.isEmpty()) return removed;
    const QDateTime before = QDateTime::currentDateTime().addSecs(-minAge.count());
    static const QRegularExpression suffix(QStringLiteral("^\\.[A-Za-z]{6}$"));
    sweep(info.absolutePath(), before, removed,
          [&name](const QString &f) {
              if (f.size() != name.size() + 7 || !f.startsWith(name) ||
                  !suffix.match(QStringView(f).mid(name.size())).hasMatch())
                  return false;
              // Outside the program's folders a user's own copy may be named
              // like this ("Bericht.pdf.backup"): random letters are mixed in
              // case, a word is not.
              const QString letters = f.right(6);
              return letters != letters.toLower() && letters != letters.toUpper() &&
                     !(letters.at(0).isUpper() && letters.mid(1) == letters.mid(1).toLower());
          },
          {QString(name).replace(u'[', QStringLiteral("[[]")) + QStringLiteral(".??????")});
    return removed;
}

} // namespace strayfiles
