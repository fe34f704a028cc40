#pragma once
#include <QString>
#include <QStringList>

// Whole-file access to Windows-1252 text files with CR LF line ends.
namespace textfile {

// Reads all lines; accepts CR LF, LF and a missing last line end, and skips a
// UTF-8 byte-order mark (decoding the rest as UTF-8 when it is valid UTF-8).
// Returns false when the file cannot be opened.
bool readLines(const QString &path, QStringList &lines);
// The whole file as one text with the line ends as stored.
bool readText(const QString &path, QString &text);

// Writes every line followed by CR LF through a temporary file that replaces
// the old one only when everything was written. On failure the previous file
// is untouched and *error (when given) holds the reason.
bool writeLines(const QString &path, const QStringList &lines, QString *error = nullptr);
// Writes raw bytes the same safe way.
bool writeBytes(const QString &path, const QByteArray &bytes, QString *error = nullptr);

// Splits a decoded text into lines (CR LF, LF or lone CR).
QStringList splitLines(const QString &text);

} // namespace textfile
