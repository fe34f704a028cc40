#include "remarkstore.h"

#include <QFileInfo>
#include <functional>

#include "platform/profile.h"

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
    : m_path(settingsPath), m_section(sectionFor(tablePath)) {}

QString RemarkStore::sectionFor(const QString &tablePath) {
    return QStringLiteral("Bemerkungen_") + QFileInfo(tablePath).fileName();
}

QString RemarkStore::rowKey(const QString &line) {
    const qsizetype bar = line.indexOf(u'|');
    if (bar < 0) return {};
    return line.left(bar).trimmed();
}

QString RemarkStore::remark(const QString &fullKey) const {
    QString v = profile::read(m_path, m_section, fullKey);
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

RemarkStore::StoreResult RemarkStore::store(const QStringList &lines) const {
    StoreResult result;
    scan(lines, [&](const ScannedLine &l) {
        if (l.empty || l.rowKey.isEmpty()) return;
        const QString &line = lines.at(l.index);
        const QString head = line.left(10).trimmed();
        if (!head.startsWith(l.rowKey)) return;
        const qsizetype lastBar = line.lastIndexOf(u'|');
        const QString text = lastBar < 0 ? line : line.mid(lastBar + 1);
        bool ok = true;
        if (!text.isEmpty()) {
            if (text.size() > kMaxRemark) result.tooLong << l.fullKey;
            ok = profile::write(m_path, m_section, l.fullKey, u'"' + text);
        } else if (!profile::read(m_path, m_section, l.fullKey).isEmpty()) {
            ok = profile::write(m_path, m_section, l.fullKey, QString());
        }
        if (!ok) result.written = false;
    });
    return result;
}
