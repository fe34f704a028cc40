#include "settingsstore.h"

#include <QFileInfo>

#include "convert.h"
#include "platform/profile.h"

QString SettingsStore::read(const QString &section, const QString &key) const {
    return profile::read(m_path, section, key);
}

bool SettingsStore::write(const QString &section, const QString &key, const QString &value) const {
    return profile::write(m_path, section, key, value);
}

bool SettingsStore::setUnlessEmpty(const QString &key, const QString &value) const {
    return value.isEmpty() ? false : set(key, value);
}

bool SettingsStore::flag(const QString &key) const {
    return convert::flag(get(key));
}

int SettingsStore::number(const QString &key, int fallback) const {
    return convert::toIntOr(get(key), fallback, QStringLiteral("Einstellung \"%1\"").arg(key));
}

int SettingsStore::requiredNumber(const QString &key) const {
    return convert::toInt(get(key), QStringLiteral("Einstellung \"%1\"").arg(key));
}

bool SettingsStore::isReadOnly() const {
    const QFileInfo fi(m_path);
    return !fi.exists() || !fi.isWritable();
}
