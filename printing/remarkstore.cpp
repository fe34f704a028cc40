#include "remarkstore.h"

#include <QFileInfo>
#include <QHash>
#include <functional>

namespace {

// One line of the scan with the key that is current for it.
struct ScannedLine {
    int index;
    QString rowKey;  // row key of the current full key
    QString fullKey; // row key + ",1" or ",2"
    bool empty;      // header, separator or blank
};

// Goes through the lines from the one that holds "DATUM" on.
void scan(const QStringList &lines, const std::function<void(const ScannedLine &)> &visit) {
    bool on = false;
    QString rowKey, fullKey;
    for (int i = 0; i < lines.size(); ++i) {
        const QString &line = lines.at(i);
        const QString upper = line.toUpper();
        if (upper.contains(QStringLiteral("DATUM"))) on = true;
        if (!on) continue;
        if (line.contains(u'|')) {
            const QString key = RemarkStore::rowKey(line);
            const QString suffix =
                fullKey.startsWith(key) ? QStringLiteral(",2") : QStringLiteral(",1");
            rowKey = key;
            fullKey = key + suffix;
        }
        const bool empty = upper.contains(QStringLiteral("DATUM")) ||
                           line.contains(QStringLiteral("__")) || line.trimmed().isEmpty();
        visit({i, rowKey, fullKey, empty});
    }
}

} // namespace

RemarkStore::RemarkStore(const QString &settingsPath, const QString &tablePath)
    : RemarkStore(std::make_shared<IniDocument>(settingsPath), tablePath) {}

RemarkStore::RemarkStore(std::shared_ptr<IniDocument> settings, const QString &tablePath)
    : m_settings(std::move(settings)), m_section(sectionFor(tablePath)) {}

QString RemarkStore::sectionFor(const QString &tablePath) {
    return QStringLiteral("Bemerkungen_") + QFileInfo(tablePath).fileName();
}

QString RemarkStore::rowKey(const QString &line) {
    const qsizetype bar = line.indexOf(u'|');
    if (bar < 0) return {};
    return line.left(bar).trimmed();
}

QString RemarkStore::remark(const QString &fullKey) const {
    QString v = m_settings->read(m_section, fullKey);
    if (v.startsWith(u'"')) v.remove(0, 1);
    return v;
}

QStringList RemarkStore::merge(const QStringList &lines) const {
    QStringList out = lines;
    scan(lines, [&](const ScannedLine &l) {
        if (l.empty || l.fullKey.isEmpty()) return;
        const QString r = remark(l.fullKey);
        if (!r.isEmpty()) out[l.index] += r;
    });
    return out;
}

QList<RemarkStore::Remark> RemarkStore::remarks(const QStringList &lines) {
    QList<Remark> out;
    scan(lines, [&](const ScannedLine &l) {
        if (l.empty || l.rowKey.isEmpty()) return;
        const QString &line = lines.at(l.index);
        const QString head = line.left(10).trimmed();
        if (!head.startsWith(l.rowKey)) return;
        const qsizetype lastBar = line.lastIndexOf(u'|');
        out.append({l.fullKey, lastBar < 0 ? line : line.mid(lastBar + 1)});
    });
    return out;
}

RemarkStore::StoreResult RemarkStore::store(const QStringList &lines) const {
    StoreResult result;
    QList<IniDocument::Change> changes;
    QHash<QString, QString> pending; // values set earlier in this pass, by folded key
    auto stored = [&](const QString &fullKey) {
        const auto it = pending.constFind(fullKey.toCaseFolded());
        return it != pending.cend() ? ini::readValue(*it) : m_settings->read(m_section, fullKey);
    };
    auto set = [&](const QString &fullKey, const QString &value) {
        changes.append({m_section, fullKey, value});
        pending.insert(fullKey.toCaseFolded(), value);
    };
    for (const Remark &r : remarks(lines)) {
        if (!r.text.isEmpty()) {
            if (r.text.size() > kMaxRemark) result.tooLong << r.fullKey;
            set(r.fullKey, u'"' + r.text);
        } else if (!stored(r.fullKey).isEmpty()) {
            set(r.fullKey, QString());
        }
    }
    const int saves = m_settings->saveCount();
    if (!m_settings->write(changes)) {
        result.written = false;
        result.reason = m_settings->lastReason();
    }
    result.changed = m_settings->saveCount() != saves;
    return result;
}
