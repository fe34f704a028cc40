#include "entrylist.h"

#include "tablebuilder.h"

namespace entrylist {

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

} // namespace entrylist
