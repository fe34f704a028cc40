#include "entrylist.h"

#include <QHash>
#include <QSet>

#include "tablebuilder.h"

namespace entrylist {

QString shownLine(const QString &line, GlucoseUnit unit) {
    if (unit == GlucoseUnit::MgDl) return line;
    const qsizetype p = line.indexOf(QStringLiteral("ZuckerWert="));
    if (p < 0) return line;
    const QString value = line.mid(p + 11).trimmed();
    bool digits = !value.isEmpty() && value.size() <= 5;
    for (QChar c : value)
        digits = digits && c >= u'0' && c <= u'9';
    if (!digits) return line;
    return line.left(p + 11) + glucoseunit::withUnit(value.toInt(), unit);
}

QString readingOf(const QString &line) {
    const qsizetype time = line.indexOf(QStringLiteral(" Z="));
    return time < 0 ? line : line.left(time);
}

int find(const QStringList &entries, const QString &line) {
    const QString reading = readingOf(line);
    for (int i = 0; i < entries.size(); ++i)
        if (entries.at(i).contains(reading)) return i;
    return -1;
}

Added addOrReplace(QStringList &entries, const QString &line) {
    const int at = find(entries, line);
    if (at >= 0) {
        entries[at] = line;
        return Added::Replaced;
    }
    entries.append(line);
    entries = sorted(entries);
    return Added::Appended;
}

QStringList sorted(const QStringList &entries) {
    return tablebuilder::sortEntries(entries);
}

int remove(QStringList &entries, MeasurementSlot slot, const QString &day, const QString &month,
           const QString &year) {
    const QString reading =
        readingOf(entryline::format(slot, day, month, year, QString(), QString()));
    return int(entries.removeIf([&](const QString &e) { return e.contains(reading); }));
}

namespace {
// The entries of each reading (slot and date), in list order.
QHash<QString, QStringList> byReading(const QStringList &entries) {
    QHash<QString, QStringList> out;
    for (const QString &e : entries)
        out[readingOf(e)].append(e);
    return out;
}
} // namespace

Merged takeNewReadings(QStringList &entries, const QStringList &loaded, const QStringList &file) {
    Merged merged;
    QHash<QString, QStringList> mine = byReading(entries);
    const QHash<QString, QStringList> before = byReading(loaded);
    const QSet<QString> known =
        QSet<QString>(entries.begin(), entries.end()) + QSet<QString>(loaded.begin(), loaded.end());
    for (const QString &line : file) {
        if (known.contains(line)) continue;
        const QString reading = readingOf(line);
        QStringList &here = mine[reading];
        if (here != before.value(reading)) {
            merged.overruled << line;
            continue;
        }
        here = {line};
        merged.taken << line;
    }
    if (merged.taken.isEmpty()) return merged;
    // Replaced in place; new ones appended, then the list is put in order.
    QHash<QString, int> rowOf;
    for (int i = int(entries.size()) - 1; i >= 0; --i)
        rowOf[readingOf(entries.at(i))] = i;
    bool appended = false;
    for (const QString &line : merged.taken) {
        const auto row = rowOf.constFind(readingOf(line));
        if (row != rowOf.cend()) {
            entries[*row] = line;
        } else {
            entries << line;
            appended = true;
        }
    }
    if (appended) entries = sorted(entries);
    return merged;
}

} // namespace entrylist
