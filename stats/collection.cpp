#include "collection.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSet>

#include "storage/settingsstore.h"

#include <sys/stat.h>

namespace stats {

namespace {

constexpr int kTrendMonths = 12;

QString monthNumber(int key) {
    return QStringLiteral("%1.%2")
        .arg(key % 12 + 1, 2, 10, QChar(u'0'))
        .arg(key / 12, 4, 10, QChar(u'0'));
}

QString rangeName(int first, int last) {
    if (first < 0) return {};
    const QString a = monthName(first);
    return first == last ? a : a + QStringLiteral(" – ") + monthName(last);
}

// First and last month of the tables, else of the readings.
void monthRange(Collection &c) {
    c.firstMonth = c.lastMonth = -1;
    QList<int> months;
    for (const TableReadings &t : std::as_const(c.tables))
        if (t.month >= 1) months.append(monthKey(t.year, t.month));
    if (months.isEmpty() && !c.readings.isEmpty())
        months << monthKey(c.readings.front().date.year(), c.readings.front().date.month())
               << monthKey(c.readings.back().date.year(), c.readings.back().date.month());
    if (months.isEmpty()) return;
    c.firstMonth = *std::min_element(months.begin(), months.end());
    c.lastMonth = *std::max_element(months.begin(), months.end());
}

QString countedNote(int n, const char *one, const char *many) {
    return n == 1 ? QString::fromUtf8(one) : QString::fromUtf8(many).arg(n);
}

// A table's name split into what comes before the month, the month, the
// year and ".tab"; false for a name of another form.
struct TableName {
    QString prefix, suffix;
    int key = 0;
};
bool splitTableName(const QString &fileName, TableName &out) {
    static const QRegularExpression re(QStringLiteral("^(.*)(\\d\\d)(\\d{4})(\\.tab)$"),
                                       QRegularExpression::CaseInsensitiveOption);
    const auto m = re.match(fileName);
    if (!m.hasMatch()) return false;
    const int month = m.captured(2).toInt();
    if (month < 1 || month > 12) return false;
    out.prefix = m.captured(1);
    out.suffix = m.captured(4);
    out.key = monthKey(m.captured(3).toInt(), month);
    return true;
}

} // namespace

int monthKey(int year, int month) {
    return year * 12 + month - 1;
}

QString periodNumbers(int first, int last) {
    if (first < 0) return {};
    QString p = monthNumber(first);
    if (last != first) p += QChar(0x2013) + monthNumber(last);
    return p;
}

QString monthName(int key) {
    return GibMonatLang(key % 12 + 1) + u' ' + QString::number(key / 12);
}

QString MonthPoint::isoMonth() const {
    return QStringLiteral("%1-%2")
        .arg(key / 12, 4, 10, QChar(u'0'))
        .arg(key % 12 + 1, 2, 10, QChar(u'0'));
}

QStringList Collection::fileNames() const {
    QStringList names;
    for (const TableReadings &t : tables)
        names << QFileInfo(t.path).fileName();
    return names;
}

QString Collection::periodName() const {
    return rangeName(firstMonth, lastMonth);
}

QString Collection::previousPeriodName() const {
    return rangeName(previous.firstMonth, previous.lastMonth);
}

const TableReadings *TableCache::get(const QString &path, MeasureMode fallback, QString *error) {
    auto it = m_tables.constFind(path);
    if (it != m_tables.constEnd()) return &*it;
    TableReadings t;
    if (!readTable(path, fallback, t, error)) return nullptr;
    return &*m_tables.insert(path, t);
}

Collection collectTables(const QList<TableReadings> &tables) {
    Collection c;
    c.tables = tables;
    int unreadable = 0, zeros = 0, undrawn = 0;
    for (const TableReadings &t : tables) {
        c.readings += t.readings;
        if (c.userName.isEmpty()) c.userName = t.userName;
        unreadable += t.unreadableLines;
        zeros += t.zeroLines;
        undrawn += t.undrawnReadings;
    }
    sortByDateAndSlot(c.readings);
    c.figures = compute(c.readings);
    monthRange(c);
    c.period = periodNumbers(c.firstMonth, c.lastMonth);
    if (unreadable > 0)
        c.notes << countedNote(unreadable,
                               "1 Zeile mit unlesbarem Datum oder Messwert (erlaubt sind 1 bis "
                               "500 mg/dl) wurde übersprungen.",
                               "%1 Zeilen mit unlesbarem Datum oder Messwert (erlaubt sind 1 bis "
                               "500 mg/dl) wurden übersprungen.");
    if (zeros > 0)
        c.notes << countedNote(zeros,
                               "1 Eintrag mit dem Wert 0 ist kein Messwert und zählt nicht mit.",
                               "%1 Einträge mit dem Wert 0 sind keine Messwerte und zählen nicht "
                               "mit.");
    if (undrawn > 0)
        c.notes << countedNote(undrawn,
                               "1 Messwert der Messungen 4 bis 7 zählt mit, obwohl seine Tabelle "
                               "bis zu 4 Messungen je Tag führt; die Grafik zeigt ihn nicht.",
                               "%1 Messwerte der Messungen 4 bis 7 zählen mit, obwohl ihre "
                               "Tabelle bis zu 4 Messungen je Tag führt; die Grafik zeigt sie "
                               "nicht.");
    return c;
}

bool collect(const QStringList &tablePaths, MeasureMode fallback, Collection &out, QString *error,
             TableCache *cache) {
    QList<TableReadings> tables;
    QSet<QPair<quint64, quint64>> seen; // device and inode of each file read
    QStringList twice;
    for (const QString &p : tablePaths) {
        struct stat st {};
        if (::stat(QFile::encodeName(p).constData(), &st) == 0) {
            const QPair<quint64, quint64> id{quint64(st.st_dev), quint64(st.st_ino)};
            if (seen.contains(id)) {
                const QString name = QFileInfo(p).fileName();
                if (!twice.contains(name)) twice << name;
                continue;
            }
            seen.insert(id);
        }
        if (cache) {
            const TableReadings *t = cache->get(p, fallback, error);
            if (!t) return false;
            tables.append(*t);
        } else {
            TableReadings t;
            if (!readTable(p, fallback, t, error)) return false;
            tables.append(t);
        }
    }
    out = collectTables(tables);
    for (const QString &name : std::as_const(twice))
        out.notes.prepend(QStringLiteral("Die Tabelle \"%1\" wurde mehrfach angegeben und zählt "
                                         "nur einmal.")
                              .arg(name));
    return true;
}

namespace {

// The tables of the months first .. last that can be read.
QList<TableReadings> readMonths(const Collection &c, const QString &baseFolder, int first, int last,
                                MeasureMode fallback, TableCache *cache) {
    QList<TableReadings> out;
    if (c.tables.isEmpty() || first > last) return out;
    // Named like the last table with a month in its name.
    QString pattern;
    for (const TableReadings &t : c.tables) {
        TableName n;
        if (splitTableName(QFileInfo(t.path).fileName(), n)) pattern = t.path;
    }
    if (pattern.isEmpty()) return out;
    for (const QString &p : monthTables(pattern, baseFolder, first, last)) {
        QString error;
        if (cache) {
            if (const TableReadings *t = cache->get(p, fallback, &error)) out.append(*t);
        } else {
            TableReadings t;
            if (readTable(p, fallback, t, &error)) out.append(t);
        }
    }
    return out;
}

MonthPoint pointOf(int key, std::span<const Reading> readings, bool hasTable) {
    MonthPoint m;
    m.key = key;
    m.hasTable = hasTable;
    qint64 sum = 0;
    for (qsizetype i = 0; i < qsizetype(readings.size()); ++i) {
        sum += readings[size_t(i)].mgdl;
        if (i == 0 || readings[size_t(i)].date != readings[size_t(i - 1)].date)
            ++m.daysWithReadings;
    }
    m.readings = int(readings.size());
    if (m.readings > 0) {
        m.mean = roundDiv(10 * sum, m.readings);
        m.meanMmol = glucoseunit::mmolTenthsOfMean(sum, m.readings);
    }
    m.ea1cPercent = ea1cPercentOf(sum, m.readings, m.daysWithReadings);
    return m;
}

// The months first .. last of readings in date order, each with its readings.
void addMonths(QList<MonthPoint> &out, int first, int last, const QList<Reading> &readings,
               const QSet<int> &withTable) {
    const Reading *r = readings.constData(), *end = r + readings.size();
    for (int key = first; key <= last; ++key) {
        const QDate from(key / 12, key % 12 + 1, 1), to = from.addMonths(1);
        while (r != end && r->date < from)
            ++r;
        const Reading *stop = r;
        while (stop != end && stop->date < to)
            ++stop;
        out.append(pointOf(key, std::span<const Reading>(r, stop), withTable.contains(key)));
        r = stop;
    }
}

} // namespace

void addContext(Collection &c, const QString &baseFolder, MeasureMode fallback, TableCache *cache) {
    c.previous = Collection::Previous();
    c.months.clear();
    if (c.firstMonth < 0) return;
    const int length = c.lastMonth - c.firstMonth + 1;

    const QList<TableReadings> previous =
        readMonths(c, baseFolder, c.firstMonth - length, c.firstMonth - 1, fallback, cache);
    c.previous.firstMonth = c.firstMonth - length;
    c.previous.lastMonth = c.firstMonth - 1;
    if (!previous.isEmpty()) {
        const Collection p = collectTables(previous);
        c.previous.files = p.fileNames();
        c.previous.figures = p.figures;
    }

    // The trend: the collection's own months, and the months before it that
    // a year needs.
    const int first = std::min(c.firstMonth, c.lastMonth - (kTrendMonths - 1));
    QList<TableReadings> earlier;
    if (first < c.firstMonth)
        earlier = readMonths(c, baseFolder, first, c.firstMonth - 1, fallback, cache);
    QSet<int> withTable;
    for (const QList<TableReadings> *list : {&earlier, &c.tables})
        for (const TableReadings &t : *list)
            if (t.month >= 1) withTable.insert(monthKey(t.year, t.month));
    QList<Reading> earlierReadings;
    for (const TableReadings &t : std::as_const(earlier))
        earlierReadings += t.readings;
    sortByDateAndSlot(earlierReadings);
    addMonths(c.months, first, c.firstMonth - 1, earlierReadings, withTable);
    addMonths(c.months, c.firstMonth, c.lastMonth, c.readings, withTable);
}

QStringList monthTables(const QString &tablePath, const QString &baseFolder, int first, int last,
                        QStringList *missing) {
    const QFileInfo fi(tablePath);
    TableName name;
    if (!splitTableName(fi.fileName(), name)) return {tablePath};
    const QString tableDir = fi.absolutePath();
    const QString yearOfTable = QString::number(name.key / 12).rightJustified(4, u'0');
    QDir parent(tableDir);
    const bool inYearFolder = QFileInfo(tableDir).fileName() == yearOfTable && parent.cdUp();
    QString base = baseFolder;
    if (!base.isEmpty() && !base.endsWith(u'/')) base += u'/';

    // Each folder is looked at once: a period of twenty years asks for
    // hundreds of months, most of whose year folders do not exist.
    QHash<QString, bool> folderExists;
    auto exists = [&folderExists](const QString &dir) {
        auto it = folderExists.constFind(dir);
        if (it != folderExists.constEnd()) return *it;
        return *folderExists.insert(dir, QFileInfo(dir).isDir());
    };
    QStringList paths;
    for (int key = first; key <= last; ++key) {
        if (key == name.key) {
            paths << tablePath;
            continue;
        }
        const QString yearText = QString::number(key / 12).rightJustified(4, u'0');
        const QString file = name.prefix +
                             QStringLiteral("%1").arg(key % 12 + 1, 2, 10, QChar(u'0')) + yearText +
                             name.suffix;
        QStringList folders;
        if (!base.isEmpty()) folders << base + QStringLiteral("Glykovalin-Daten/") + yearText;
        if (inYearFolder) folders << parent.absolutePath() + u'/' + yearText;
        folders << tableDir;
        bool found = false;
        for (const QString &dir : std::as_const(folders))
            if (exists(dir) && QFileInfo(dir + u'/' + file).isFile()) {
                paths << QDir::cleanPath(dir + u'/' + file);
                found = true;
                break;
            }
        if (!found && missing) *missing << monthName(key);
    }
    return paths;
}

QStringList lastThreeMonths(const QString &tablePath, const QString &baseFolder,
                            QStringList *missing) {
    TableName name;
    if (!splitTableName(QFileInfo(tablePath).fileName(), name)) return {tablePath};
    return monthTables(tablePath, baseFolder, name.key - 2, name.key, missing);
}

bool readShownMonths(const QString &tablePath, const QString &baseFolder, GlucoseUnit unit,
                     ShownMonths &out, QString *error) {
    const MeasureMode fallback = fallbackMode(baseFolder);
    TableCache cache;
    out.missing.clear();
    if (!collect({tablePath}, fallback, out.month, error, &cache) ||
        !collect(lastThreeMonths(tablePath, baseFolder, &out.missing), fallback, out.lastThree,
                 error, &cache))
        return false;
    addContext(out.month, baseFolder, fallback, &cache);
    addContext(out.lastThree, baseFolder, fallback, &cache);
    out.month.unit = out.lastThree.unit = unit;
    return true;
}

namespace {
SettingsStore settingsOf(const QString &baseFolder) {
    QString base = baseFolder;
    if (!base.isEmpty() && !base.endsWith(u'/')) base += u'/';
    return SettingsStore(base + QStringLiteral("glykoval.ini"));
}
} // namespace

MeasureMode fallbackMode(const QString &baseFolder) {
    return settingsOf(baseFolder).flag(keys::BisZu8) ? MeasureMode::Eight : MeasureMode::Four;
}

GlucoseUnit unitOfFolder(const QString &baseFolder) {
    return glucoseunit::fromSetting(settingsOf(baseFolder).get(keys::Einheit));
}

} // namespace stats
