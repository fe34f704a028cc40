#pragma once
#include <QString>
#include <QStringList>

#include "inidocument.h"

// Key access to INI files with the rules of the Windows profile functions
// (see ini:: in inidocument.h). Each call reads the file anew; code that reads
// many keys of one file keeps an IniDocument instead.
namespace profile {

constexpr int kMaxValue = ini::kMaxValue;

QString read(const QString &path, const QString &section, const QString &key);
// Whether the key exists (its value may be empty).
bool contains(const QString &path, const QString &section, const QString &key);
// Creates file, section or key as needed and keeps every other line of the
// file byte for byte. Returns false (and leaves the file as it was) when the
// file cannot be written; *error then holds the German message naming the file.
bool write(const QString &path, const QString &section, const QString &key, const QString &value,
           QString *error = nullptr);

// A key of lines that were already read, with the same rules.
QString readFromLines(const QStringList &lines, const QString &section, const QString &key);

} // namespace profile
