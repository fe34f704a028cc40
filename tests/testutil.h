#pragma once
#include <QByteArray>
#include <QMap>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <ostream>
#include <stdexcept>
#include <string>

namespace testutil {

// A fresh folder for one test; path() ends in "/".
class TempFolder {
public:
    QString path() const { return m_dir.path() + "/"; }
    QString file(const QString &name) const { return path() + name; }

private:
    QTemporaryDir m_dir;
};

QByteArray readBytes(const QString &path);
// Every file below a folder (hidden ones too) by its path relative to the
// folder, with its bytes; only the file names matching `names` when given.
// With `everything`, also each folder (its path ending in "/", no bytes) and
// each link (with "-> " and its target instead of bytes).
QMap<QString, QByteArray> filesIn(const QString &folder, const QStringList &names = {},
                                  bool everything = false);
void writeBytes(const QString &path, const QByteArray &bytes);
// A file beside the test program, where the build puts the delivered files.
QString beside(const QString &name);
// Joins lines with CR LF, the last one included.
QByteArray crlf(const QStringList &lines);
// A month table's header as a save writes it: user, date, the table margins
// (left, right, top, bottom) and the slot mode, up to the first reading.
QStringList monthHeader(const QString &user, const QString &date, bool eight = false,
                        const QStringList &margins = {"18", "10", "10", "10"});

// A control of a window by its object name; a missing one ends the test
// with a failure.
template <class T> T &child(const QObject &window, const char *name) {
    if (T *c = window.findChild<T *>(QString::fromLatin1(name))) return *c;
    throw std::runtime_error(std::string("no control named ") + name);
}

} // namespace testutil

// Readable QString values in failure messages.
inline void PrintTo(const QString &s, std::ostream *os) {
    *os << '"' << s.toStdString() << '"';
}
