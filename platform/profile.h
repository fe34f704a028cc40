#pragma once
#include <QString>

// Key access to INI files with the rules of the Windows profile functions:
// sections and keys match without regard to case, the first occurrence of a
// section or key wins, names and values are trimmed of blanks and tabs, a
// value in matching double or single quotes loses them, the value is all text
// after the first "=", and ";" starts no comment. Reads return at most
// kMaxValue characters and the empty text when file, section or key is missing.
namespace profile {

constexpr int kMaxValue = 255;

QString read(const QString &path, const QString &section, const QString &key);
// Whether the key exists (its value may be empty).
bool contains(const QString &path, const QString &section, const QString &key);
// Creates file, section or key as needed and keeps every other line of the
// file byte for byte. Returns false (and leaves the file as it was) when the
// file cannot be written.
bool write(const QString &path, const QString &section, const QString &key, const QString &value);

} // namespace profile
