#pragma once
#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

namespace testutil {

// A fresh folder for one test; path() ends in "/".
class TempFolder {
public:
    TempFolder();
    QString path() const { return m_dir.path() + "/"; }
    QString file(const QString &name) const { return path() + name; }

private:
    QTemporaryDir m_dir;
};

QByteArray readBytes(const QString &path);
void writeBytes(const QString &path, const QByteArray &bytes);
// Joins lines with CR LF, the last one included.
QByteArray crlf(const QStringList &lines);

} // namespace testutil
