#include "settingsstore.h"

#include <QFileInfo>

#include "platform/convert.h"
#include "platform/profile.h"
#include "platform/textfile.h"

SettingsStore::SettingsStore(std::shared_ptr<IniDocument> document)
    : m_path(document ? document->path() : QString()), m_document(std::move(document)) {}

void SettingsStore::setPath(const QString &path) {
    m_path = path;
    m_document.reset();
}

QString SettingsStore::read(const QString &section, const QString &key) const {
    return m_document ? m_document->read(section, key) : profile::read(m_path, section, key);
}

bool SettingsStore::write(const QString &section, const QString &key, const QString &value,
                          QString *error) const {
    return write(QList<Change>{{section, key, value}}, error);
}

bool SettingsStore::write(const QList<Change> &changes, QString *error) const {
    if (m_document) return m_document->write(changes, error);
    return IniDocument(m_path).write(changes, error);
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

quint32 SettingsStore::color(const QString &key, quint32 fallback) const {
    const QString text = get(key);
    if (text.isEmpty()) return fallback;
    return quint32(convert::toInt(text, QStringLiteral("Einstellung \"%1\"").arg(key)));
}

bool SettingsStore::isReadOnly() const {
    return !QFileInfo::exists(m_path) || textfile::isWriteProtected(m_path);
}
