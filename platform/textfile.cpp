#include "textfile.h"

#include <QFile>
#include <QSaveFile>
#include <QStringDecoder>

#include "win1252.h"

namespace textfile {

namespace {

QString decodeFile(const QByteArray &raw) {
    if (raw.startsWith("\xEF\xBB\xBF")) {
        const QByteArray rest = raw.mid(3);
        QStringDecoder utf8(QStringDecoder::Utf8);
        const QString text = utf8.decode(rest);
        if (!utf8.hasError()) return text;
        return win1252::decode(rest);
    }
    return win1252::decode(raw);
}

} // namespace

QStringList splitLines(const QString &text) {
    QStringList lines;
    qsizetype start = 0;
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = text.at(i);
        if (c == u'\n' || c == u'\r') {
            lines.append(text.mid(start, i - start));
            if (c == u'\r' && i + 1 < n && text.at(i + 1) == u'\n') ++i;
            start = i + 1;
        }
    }
    if (start < n) lines.append(text.mid(start));
    return lines;
}

bool readText(const QString &path, QString &text) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return false;
    text = decodeFile(f.readAll());
    return true;
}

bool readLines(const QString &path, QStringList &lines) {
    QString text;
    if (!readText(path, text)) return false;
    lines = splitLines(text);
    return true;
}

bool writeBytes(const QString &path, const QByteArray &bytes, QString *error) {
    QSaveFile f(path);
    if (!f.open(QIODevice::WriteOnly)) {
        if (error) *error = f.errorString();
        return false;
    }
    if (f.write(bytes) != bytes.size()) {
        if (error) *error = f.errorString();
        f.cancelWriting();
        return false;
    }
    if (!f.commit()) {
        if (error) *error = f.errorString();
        return false;
    }
    return true;
}

bool writeLines(const QString &path, const QStringList &lines, QString *error) {
    QByteArray bytes;
    for (const QString &l : lines) {
        bytes += win1252::encode(l);
        bytes += "\r\n";
    }
    return writeBytes(path, bytes, error);
}

} // namespace textfile
