#include "collection.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

#include "storage/settingsstore.h"

namespace stats {

namespace {

QString monthNumber(int year, int month) {
    return QStringLiteral("%1.%2").arg(month, 2, 10, QChar(u'0')).arg(year, 4, 10, QChar(u'0'));
}

QString monthName(int year, int month) {
    return GibMonatLang(month) + u' ' + QString::number(year);
}

// First and last month (year × 12 + month − 1) of the tables, else of the readings.
bool monthRange(const Collection &c, int &first, int &last) {
    QList<int> months;
    for (const TableReadings &t : c.tables)
        if (t.month >= 1) months.append(t.year * 12 + t.month - 1);
    if (months.isEmpty())
        for (const Reading &r : c.readings)
            months.append(r.date.year() * 12 + r.date.month() - 1);
    if (months.isEmpty()) return false;
    first = *std::min_element(months.begin(), months.end());
    last = *std::max_element(months.begin(), months.end());
    return true;
}

} // namespace

QStringList Collection::fileNames() const {
    QStringList names;
    for (const TableReadings &t : tables)
        names << QFileInfo(t.path).fileName();
    return names;
}

QString Collection::periodName() const {
    int first = 0, last = 0;
    if (!monthRange(*this, first, last)) return {};
    const QString a = monthName(first / 12, first % 12 + 1);
    if (first == last) return a;
    return a + QStringLiteral(" – ") + monthName(last / 12, last % 12 + 1);
}

Collection collectTables(const QList<TableReadings> &tables) {
    Collection c;
    c.tables = tables;
    int unreadable = 0, hidden = 0;
    for (const TableReadings &t : tables) {
        c.readings += t.readings;
        if (c.userName.isEmpty()) c.userName = t.userName;
        unreadable += t.unreadableLines;
        hidden += t.hiddenLines;
    }
    sortByDateAndSlot(c.readings);
    c.figures = compute(c.readings);
    int first = 0, last = 0;
    if (monthRange(c, first, last)) {
        c.period = monthNumber(first / 12, first % 12 + 1);
        if (last != first) c.period += QChar(0x2013) + monthNumber(last / 12, last % 12 + 1);
    }
    if (unreadable == 1)
        c.notes << QStringLiteral("1 Zeile mit unlesbarem Datum oder Messwert wurde übersprungen.");
    else if (unreadable > 1)
        c.notes << QStringLiteral("%1 Zeilen mit unlesbarem Datum oder Messwert wurden "
                                  "übersprungen.")
                       .arg(unreadable);
    if (hidden > 0)
        c.notes << QStringLiteral("%1 Eintr%2 der Messungen 4 bis 7 zähl%3 nicht mit, weil die "
                                  "Tabelle bis zu 4 Messungen je Tag führt (wie in der Grafik).")
                       .arg(hidden)
                       .arg(hidden == 1 ? QStringLiteral("ag") : QStringLiteral("äge"))
                       .arg(hidden == 1 ? QStringLiteral("t") : QStringLiteral("en"));
    return c;
}

bool collect(const QStringList &tablePaths, MeasureMode fallback, Collection &out, QString *error) {
    QList<TableReadings> tables;
    for (const QString &p : tablePaths) {
        TableReadings t;
        if (!readTable(p, fallback, t, error)) return false;
        tables.append(t);
    }
    out = collectTables(tables);
    return true;
}

QStringList lastThreeMonths(const QString &tablePath, const QString &baseFolder,
                            QStringList *missing) {
    const QFileInfo fi(tablePath);
    static const QRegularExpression re(QStringLiteral("^(.*)(\\d\\d)(\\d{4})(\\.tab)$"),
                                       QRegularExpression::CaseInsensitiveOption);
    const auto m = re.match(fi.fileName());
    const int month = m.hasMatch() ? m.captured(2).toInt() : 0;
    if (month < 1 || month > 12) return {tablePath};
    const int year = m.captured(3).toInt();
    const QString tableDir = fi.absolutePath();
    QDir parent(tableDir);
    const bool inYearFolder = QFileInfo(tableDir).fileName() == m.captured(3) && parent.cdUp();
    QString base = baseFolder;
    if (!base.isEmpty() && !base.endsWith(u'/')) base += u'/';

    QStringList paths;
    for (int back = 2; back >= 1; --back) {
        int y = year, mo = month - back;
        if (mo < 1) mo += 12, --y;
        const QString yearText = QStringLiteral("%1").arg(y, 4, 10, QChar(u'0'));
        const QString name = m.captured(1) + QStringLiteral("%1").arg(mo, 2, 10, QChar(u'0')) +
                             yearText + m.captured(4);
        QStringList candidates;
        if (!base.isEmpty())
            candidates << base + QStringLiteral("Glykovalin-Daten/") + yearText + u'/' + name;
        if (inYearFolder) candidates << parent.absolutePath() + u'/' + yearText + u'/' + name;
        candidates << tableDir + u'/' + name;
        bool found = false;
        for (const QString &c : candidates)
            if (QFileInfo(c).isFile()) {
                paths << QDir::cleanPath(c);
                found = true;
                break;
            }
        if (!found && missing) *missing << monthName(y, mo);
    }
    paths << tablePath;
    return paths;
}

MeasureMode fallbackMode(const QString &baseFolder) {
    QString base = baseFolder;
    if (!base.isEmpty() && !base.endsWith(u'/')) base += u'/';
    const SettingsStore st(base + QStringLiteral("glykoval.ini"));
    return st.flag(keys::BisZu8) ? MeasureMode::Eight : MeasureMode::Four;
}

} // namespace stats
