#pragma once
#include <QString>
#include <QStringList>
#include <memory>

#include "platform/inidocument.h"

// The remarks the user writes behind the day rows of the table window. They
// live in the settings file, in one section per month table file: the key is
// the row key with ",1" or ",2", the value a double quote followed by the
// remark as it stood behind the row's last bar.
class RemarkStore {
public:
    // Longest remark the profile access gives back whole: the stored value
    // (quote + remark) is read back with at most 255 characters.
    static constexpr int kMaxRemark = 254;

    // Works on the settings file at that path, read once on first use.
    RemarkStore(const QString &settingsPath, const QString &tablePath);
    // Works on a settings document shared with other windows.
    RemarkStore(std::shared_ptr<IniDocument> settings, const QString &tablePath);

    // "Bemerkungen_" + the table's file name without folder.
    static QString sectionFor(const QString &tablePath);
    // The line up to and including its first "|", trimmed, without that bar,
    // trimmed again; empty when the line has no bar.
    static QString rowKey(const QString &line);

    const QString &section() const { return m_section; }

    // The remarks appended to the lines they belong to.
    QStringList merge(const QStringList &lines) const;

    // The remark of each row of a table text as store() takes it: the text
    // behind the row's last bar (empty when there is none), with its full key.
    struct Remark {
        QString fullKey;
        QString text;
    };
    static QList<Remark> remarks(const QStringList &lines);

    struct StoreResult {
        bool written = true;  // false when the settings file could not be written
        bool changed = false; // the settings file was written
        QString reason;       // German cause when it could not be written
        QStringList tooLong;  // full keys whose remark is longer than kMaxRemark
    };
    // Stores the remark of every row; an emptied remark overwrites a stored one
    // with the empty value. All remarks go to the file in one write, and only
    // when one of them differs from what is stored.
    StoreResult store(const QStringList &lines) const;

    // The stored remark of a full key, without its leading quote.
    QString remark(const QString &fullKey) const;

    IniDocument &document() const { return *m_settings; }

private:
    std::shared_ptr<IniDocument> m_settings;
    QString m_section;
};
