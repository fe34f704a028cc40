#pragma once
#include <QByteArray>
#include <QString>
#include <QStringList>

// Whole-file access to Windows-1252 text files with CR LF line ends.
namespace textfile {

// Reads all lines; accepts CR LF, LF and a missing last line end, and skips a
// UTF-8 byte-order mark (decoding the rest as UTF-8 when it is valid UTF-8).
// Returns false when the file cannot be opened.
bool readLines(const QString &path, QStringList &lines);
// Whether a file's bytes are UTF-8: they begin with the byte-order mark and
// all that follows it is valid UTF-8. Any other file is Windows-1252.
bool isUtf8(QByteArrayView raw);
// The whole file as one text with the line ends as stored.
bool readText(const QString &path, QString &text);

// Outcome of a verified save.
struct SaveResult {
    bool ok = true;
    bool opened = true;   // false when not even the temporary file could be made
    bool existed = false; // a previous file was there (and is still there on failure)
    int code = 0;         // system error number of the failed step, 0 when unknown
    QString reason;       // German sentence naming the cause; empty on success

    explicit operator bool() const { return ok; }
    // German message for the user naming the file, the cause and that the
    // previous file was kept.
    QString message(const QString &path) const;
};

// Writes the bytes through a temporary file beside the target that replaces
// it only after every write, the flush and the sync to disk succeeded. On
// any failure the temporary file is removed and the previous file stays byte
// for byte.
SaveResult save(const QString &path, const QByteArray &bytes);
// Every line followed by CR LF, in Windows-1252.
QByteArray encodeLines(const QStringList &lines);

// The same safe writes with a yes/no answer; *error (when given) receives the
// German reason.
bool writeLines(const QString &path, const QStringList &lines, QString *error = nullptr);
bool writeBytes(const QString &path, const QByteArray &bytes, QString *error = nullptr);

// German sentence for a system error number of a failed write.
QString reasonOf(int code);

// Splits a decoded text into lines (CR LF, LF or lone CR).
QStringList splitLines(const QString &text);

} // namespace textfile
