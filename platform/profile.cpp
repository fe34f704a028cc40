#include "profile.h"

namespace profile {

QString read(const QString &path, const QString &section, const QString &key) {
    return IniDocument(path).read(section, key);
}

bool contains(const QString &path, const QString &section, const QString &key) {
    return IniDocument(path).contains(section, key);
}

bool write(const QString &path, const QString &section, const QString &key, const QString &value,
           QString *error) {
    return IniDocument(path).write(section, key, value, error);
}

QString readFromLines(const QStringList &lines, const QString &section, const QString &key) {
    return ini::valueIn(lines, section, key);
}

} // namespace profile
