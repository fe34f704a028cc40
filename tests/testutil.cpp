#include "testutil.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QStringList>

#include "platform/win1252.h"

namespace testutil {

QByteArray readBytes(const QString &path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return {};
    return f.readAll();
}

QMap<QString, QByteArray> filesIn(const QString &folder, const QStringList &names,
                                  bool everything) {
    QMap<QString, QByteArray> files;
    const QDir base(folder);
    const QDir::Filters kinds = everything ? QDir::AllEntries | QDir::NoDotAndDotDot : QDir::Files;
    for (QDirIterator it(folder, names, kinds | QDir::Hidden | QDir::System,
                         QDirIterator::Subdirectories);
         it.hasNext();) {
        const QString path = it.next(), relative = base.relativeFilePath(path);
        if (everything && it.fileInfo().isSymLink())
            files.insert(relative, "-> " + it.fileInfo().symLinkTarget().toUtf8());
        else if (it.fileInfo().isDir())
            files.insert(relative + u'/', {});
        else
            files.insert(relative, readBytes(path));
    }
    return files;
}

void writeBytes(const QString &path, const QByteArray &bytes) {
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(bytes) != bytes.size())
        ADD_FAILURE() << "test file not written: " << path.toStdString();
}

QString beside(const QString &name) {
    return QCoreApplication::applicationDirPath() + u'/' + name;
}

QByteArray crlf(const QStringList &lines) {
    QByteArray out;
    for (const QString &l : lines)
        out += win1252::encode(l) + "\r\n";
    return out;
}

QStringList monthHeader(const QString &user, const QString &date, bool eight,
                        const QStringList &margins) {
    const QString on = eight ? "8" : "4", off = eight ? "4" : "8";
    return {"[Personendaten]",
            "BenutzerName=" + user,
            "Datum=" + date,
            "",
            "DruckenTabellenRandLeft=" + margins.value(0),
            "DruckenTabellenRandRight=" + margins.value(1),
            "DruckenTabellenRandTop=" + margins.value(2),
            "DruckenTabellenRandBottom=" + margins.value(3),
            "",
            "",
            "BisZu" + on + "MessungenJeTag=1",
            "BisZu" + off + "MessungenJeTag=0",
            "",
            ""};
}

} // namespace testutil
