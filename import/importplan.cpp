#include "importplan.h"

#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <algorithm>
#include <array>
#include <memory>

#include "platform/convert.h"
#include "platform/folders.h"
#include "platform/inidocument.h"
#include "platform/textfile.h"
#include "platform/win1252.h"
#include "storage/monthtable.h"
#include "storage/tablelock.h"

namespace importer {

namespace {

QString twoDigits(int n) {
    return QStringLiteral("%1").arg(n, 2, 10, QChar(u'0'));
}

// Day and slot as one sortable number.
int keyOf(int day, int slot) {
    return day * 10 + slot;
}

// Day and slot as an index from 0 to 31 * 8 - 1, in day and slot order.
int cellOf(int day, int slot) {
    return (day - 1) * slotinfo::kCount + slot - 1;
}

// A month table's bytes taken apart into lines, each with its line end, so
// lines can be put in between and every other byte stays as it was.
struct TableBytes {
    struct Line {
        qsizetype start = 0, length = 0, end = 0; // end: after the line end
        QString text;
    };
    QList<Line> lines;

    explicit TableBytes(const QByteArray &raw) {
        const bool utf8 = textfile::isUtf8(raw);
        qsizetype pos = utf8 ? 3 : 0;
        const qsizetype n = raw.size();
        while (pos < n) {
            Line l;
            l.start = pos;
            while (pos < n && raw[pos] != '\r' && raw[pos] != '\n')
                ++pos;
            l.length = pos - l.start;
            if (pos < n && raw[pos] == '\r') ++pos;
            if (pos < n && raw[pos] == '\n') ++pos;
            l.end = pos;
            const QByteArray bytes = raw.mid(l.start, l.length);
            l.text = utf8 ? QString::fromUtf8(bytes) : win1252::decode(bytes);
            lines.append(l);
        }
    }
    QStringList texts() const {
        QStringList out;
        for (const Line &l : lines)
            out.append(l.text);
        return out;
    }
};

// The entry line's slot and day when it is a reading of the month; false
// for any other line.
bool slotAndDay(const QString &line, int year, int month, int &slot, int &day) {
    MeasurementSlot s{};
    day = entryline::readingDay(line);
    if (day < 1 || !entryline::slotOf(line, s)) return false;
    slot = slotinfo::number(s);
    return entryline::monthOf(line).trimmed() == twoDigits(month) &&
           entryline::yearOf(line).trimmed() == QString::number(year);
}

// Same value at a time at most a minute apart (or both without a time).
bool isDuplicate(const QString &existing, const Reading &r) {
    double value = 0;
    if (!entryline::readingValue(entryline::valueOf(existing), value) || value != r.mgdl)
        return false;
    int minute = -1;
    if (!parseTime(entryline::timeOf(existing), minute)) minute = -1;
    if (minute < 0 || r.minute < 0) return minute == r.minute;
    return std::abs(minute - r.minute) <= 1;
}

QString entryLineOf(const MonthPlan &m, int slot, const Reading &r) {
    return entryline::format(slotinfo::fromNumber(slot), twoDigits(r.date.day()),
                             twoDigits(m.month), QString::number(m.year),
                             r.minute < 0 ? QString() : timeText(r.minute),
                             QString::number(r.mgdl));
}

// The table's bytes with the added lines put after the last reading of an
// earlier or the same day and slot (before the first reading when none is),
// or at the end of a table without readings.
QByteArray withAdded(const QByteArray &raw, const QList<Placed> &added, int year, int month) {
    const TableBytes table(raw);
    QList<int> keys;
    for (const TableBytes::Line &l : table.lines) {
        int slot = 0, day = 0;
        keys.append(entryline::isReading(l.text) && slotAndDay(l.text, year, month, slot, day)
                        ? keyOf(day, slot)
                        : -1);
    }
    const qsizetype count = table.lines.size();
    // For each added line, the index of the table line it goes before.
    QList<std::pair<qsizetype, qsizetype>> at; // (position, index into added)
    for (qsizetype a = 0; a < added.size(); ++a) {
        const int key = keyOf(added[a].reading.date.day(), added[a].slot);
        qsizetype position = -1, firstLater = -1;
        for (qsizetype i = 0; i < count; ++i) {
            if (keys[i] < 0) continue;
            if (keys[i] <= key) position = i + 1;
            if (keys[i] > key && firstLater < 0) firstLater = i;
        }
        if (position < 0) position = firstLater >= 0 ? firstLater : count;
        at.append({position, a});
    }
    std::stable_sort(at.begin(), at.end(),
                     [](const auto &x, const auto &y) { return x.first < y.first; });
    QByteArray out;
    out.reserve(raw.size() + added.size() * 48);
    if (!table.lines.isEmpty()) out += raw.left(table.lines.first().start); // byte-order mark
    qsizetype next = 0;
    bool unended = false; // the last line written has no line end (the file's last line)
    auto insertAt = [&](qsizetype position) {
        for (; next < at.size() && at[next].first == position; ++next) {
            if (unended) out += "\r\n";
            unended = false;
            out += win1252::encode(added[at[next].second].line) + "\r\n";
        }
    };
    for (qsizetype i = 0; i < count; ++i) {
        insertAt(i);
        const TableBytes::Line &l = table.lines[i];
        out += raw.mid(l.start, l.end - l.start);
        unended = l.end == l.start + l.length;
    }
    insertAt(count);
    return out;
}

QString userNameOf(const Options &o) {
    return o.settings.get(keys::BenutzerName);
}

// A new month's table as the program makes one.
QByteArray newTable(const MonthPlan &m, const Options &o) {
    monthtable::WriteRequest req;
    for (const Placed &p : m.added)
        req.entries.append(p.line);
    req.userName = userNameOf(o);
    req.month = twoDigits(m.month);
    req.year = QString::number(m.year);
    req.fourSlots = m.mode == MeasureMode::Four;
    req.eightSlots = m.mode == MeasureMode::Eight;
    req.currentTablePath = o.currentTablePath;
    req.dataFolder = o.folders.data;
    return textfile::encodeLines(
        monthtable::compose(req, monthtable::readMargins(o.currentTablePath)));
}

// Reads a table's bytes; `exists` false when there is no such file.
bool readTable(const QString &path, QByteArray &bytes, bool &exists, QString &error) {
    exists = QFileInfo::exists(path);
    bytes.clear();
    if (!exists) return true;
    QFile f(path);
    if (!QFileInfo(path).isFile() || !f.open(QIODevice::ReadOnly)) {
        error = QStringLiteral("Die Tabelle \"%1\" kann nicht gelesen werden; es wurde nichts "
                               "übernommen.")
                    .arg(path);
        return false;
    }
    bytes = f.readAll();
    return true;
}

// Places the month's candidates into the table as it is in `bytes`.
void placeMonth(MonthPlan &m, const QByteArray &bytes, const Options &o) {
    const TableBytes table(bytes);
    const QStringList lines = table.texts();
    if (m.exists) {
        const bool eight = convert::flag(ini::valueIn(lines, monthtable::kSection, keys::BisZu8));
        const bool four = convert::flag(ini::valueIn(lines, monthtable::kSection, keys::BisZu4));
        m.mode = eight ? MeasureMode::Eight : four ? MeasureMode::Four : o.currentMode;
    } else {
        m.mode = o.currentMode;
        // Our own export names slots 4 to 7 only for a month kept with eight.
        for (const Reading &r : m.candidates)
            if (r.slot > 0 && !slotinfo::usedIn(slotinfo::fromNumber(r.slot), MeasureMode::Four))
                m.mode = MeasureMode::Eight;
    }
    m.times = slotTimes(o.settings, m.mode);
    m.before = bytes;
    m.added.clear();
    m.conflicts.clear();
    m.outside.clear();
    m.duplicates = m.superseded = 0;
    m.after.clear();

    // The best reading of each day and slot, by its index in the candidates.
    std::array<qsizetype, 31 * slotinfo::kCount> best;
    best.fill(-1);
    for (qsizetype i = 0; i < m.candidates.size(); ++i) {
        const Reading &r = m.candidates.at(i);
        const int slot = r.slot > 0
                             ? (slotinfo::usedIn(slotinfo::fromNumber(r.slot), m.mode) ? r.slot : 0)
                             : slotFor(m.times, r.minute);
        if (slot == 0) {
            m.outside.append(r);
            continue;
        }
        qsizetype &b = best[size_t(cellOf(r.date.day(), slot))];
        if (b < 0) {
            b = i;
            continue;
        }
        ++m.superseded;
        if (ranksBefore(r, m.candidates.at(b), m.times.minute[size_t(slot - 1)])) b = i;
    }
    // What the table holds in those slots: the first line of each.
    std::array<qsizetype, 31 * slotinfo::kCount> held;
    held.fill(-1);
    for (qsizetype i = 0; i < lines.size(); ++i) {
        int slot = 0, day = 0;
        if (entryline::isReading(lines.at(i)) &&
            slotAndDay(lines.at(i), m.year, m.month, slot, day) &&
            held[size_t(cellOf(day, slot))] < 0)
            held[size_t(cellOf(day, slot))] = i;
    }
    for (int cell = 0; cell < int(best.size()); ++cell) {
        if (best[size_t(cell)] < 0) continue;
        const Reading &r = m.candidates.at(best[size_t(cell)]);
        const int slot = cell % slotinfo::kCount + 1;
        const qsizetype existing = held[size_t(cell)];
        if (existing < 0)
            m.added.append({r, slot, entryLineOf(m, slot, r)});
        else if (isDuplicate(lines.at(existing), r))
            ++m.duplicates;
        else
            m.conflicts.append({r, slot, lines.at(existing)});
    }
    std::stable_sort(m.outside.begin(), m.outside.end(), [](const Reading &a, const Reading &b) {
        return a.date != b.date ? a.date < b.date : a.minute < b.minute;
    });
    if (m.added.isEmpty()) return;
    m.after = m.exists ? withAdded(bytes, m.added, m.year, m.month) : newTable(m, o);
}

Totals totalsOf(const QList<SourceFile> &files, const QList<MonthPlan> &months, bool sensor) {
    Totals t;
    for (const SourceFile &f : files) {
        for (int s = 0; s < kSourceCount; ++s)
            t.bySource[s] += f.found[s];
        t.found += f.foundTotal();
        t.otherRows += f.otherRows;
        t.outsideMeasuring += f.outsideMeasuring;
        t.outsideRange += f.outsideRange;
        if (!sensor)
            for (const Reading &r : f.readings)
                t.sensorLeftOut += isSensor(r.source);
    }
    for (const MonthPlan &m : months) {
        t.imported += int(m.added.size());
        t.duplicates += m.duplicates;
        t.conflicts += int(m.conflicts.size());
        t.outsideSlots += int(m.outside.size());
        t.superseded += m.superseded;
    }
    return t;
}

} // namespace

QString MonthPlan::fileName() const {
    return QFileInfo(path).fileName();
}

QString MonthPlan::title() const {
    return GibMonatLang(month) + u' ' + QString::number(year);
}

Totals Plan::totals() const {
    return totalsOf(files, months, sensor);
}

Totals ApplyResult::totals(const Plan &plan) const {
    return totalsOf(plan.files, months, plan.sensor);
}

bool Plan::hasAdditions() const {
    return std::any_of(months.begin(), months.end(),
                       [](const MonthPlan &m) { return !m.added.isEmpty(); });
}

QString Plan::newestTable() const {
    for (auto it = months.crbegin(); it != months.crend(); ++it)
        if (!it->added.isEmpty()) return it->path;
    for (auto it = months.crbegin(); it != months.crend(); ++it)
        if (it->exists) return it->path;
    return {};
}

bool makePlan(const QList<SourceFile> &files, const Options &o, Plan &plan, QString &error) {
    plan = Plan();
    plan.files = files;
    plan.sensor = o.sensor;
    QString initials;
    if (!monthtable::initialsOf(userNameOf(o), initials, &error)) return false;
    QMap<int, MonthPlan> months; // by year * 100 + month
    for (const SourceFile &f : files) {
        if (f.first.isValid() && (!plan.first.isValid() || f.first < plan.first))
            plan.first = f.first;
        if (f.last.isValid() && (!plan.last.isValid() || f.last > plan.last)) plan.last = f.last;
        for (const Reading &r : f.readings) {
            if (isSensor(r.source) && !o.sensor) continue;
            int year = 0, month = 0;
            r.date.getDate(&year, &month, nullptr);
            MonthPlan &m = months[year * 100 + month];
            m.year = year;
            m.month = month;
            m.candidates.append(r);
        }
    }
    for (MonthPlan &m : months) {
        m.path = monthtable::pathFor(o.folders.data, initials, twoDigits(m.month),
                                     QString::number(m.year));
        QByteArray bytes;
        if (!readTable(m.path, bytes, m.exists, error)) return false;
        placeMonth(m, bytes, o);
        plan.months.append(m);
    }
    return true;
}

ApplyResult apply(const Plan &plan, const Options &o) {
    ApplyResult result;
    result.months = plan.months;
    QList<qsizetype> due;
    for (qsizetype i = 0; i < plan.months.size(); ++i)
        if (!plan.months[i].added.isEmpty()) due.append(i);
    auto names = [&result](const QList<qsizetype> &which) {
        QStringList out;
        for (qsizetype i : which)
            out << result.months[i].fileName();
        return out;
    };
    auto nothingWritten = [&](const QString &why) {
        for (qsizetype i : due)
            result.notWritten << result.months[i].path;
        result.error = why;
        return result;
    };
    // Every table is locked and read again first, so a failure there leaves all as they were.
    std::vector<std::unique_ptr<TableLock>> locks;
    for (qsizetype i : due) {
        QString why;
        locks.push_back(std::make_unique<TableLock>(result.months[i].path));
        if (!locks.back()->acquire(&why, o.lockWait))
            return nothingWritten(why + QStringLiteral(" Es wurden keine Messwerte übernommen."));
        MonthPlan &m = result.months[i];
        QByteArray bytes;
        const bool existed = m.exists;
        if (!readTable(m.path, bytes, m.exists, why)) return nothingWritten(why);
        if (m.exists != existed || bytes != m.before) placeMonth(m, bytes, o);
    }
    QList<qsizetype> written;
    for (qsizetype k = 0; k < due.size(); ++k) {
        const MonthPlan &m = result.months[due[k]];
        if (m.added.isEmpty()) continue;
        const QString folder = o.folders.data + QString::number(m.year);
        if (!FolderExists(folder)) ForceFolders(folder);
        const textfile::SaveResult saved = textfile::save(m.path, m.after);
        if (saved) {
            result.written << m.path;
            written << due[k];
            continue;
        }
        QList<qsizetype> rest;
        for (qsizetype i : due.mid(k))
            if (!result.months[i].added.isEmpty()) {
                rest << i;
                result.notWritten << result.months[i].path;
            }
        QString text = saved.message(m.path);
        text += written.isEmpty() ? QStringLiteral(" Es wurde keine Tabelle geändert.")
                                  : QStringLiteral(" Geschrieben wurden: %1.")
                                        .arg(names(written).join(QStringLiteral(", ")));
        text += QStringLiteral(" Nicht geschrieben wurden: %1.")
                    .arg(names(rest).join(QStringLiteral(", ")));
        result.error = text;
        return result;
    }
    return result;
}

} // namespace importer
