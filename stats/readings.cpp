#include "readings.h"

#include <QFileInfo>
#include <algorithm>

#include "platform/convert.h"
#include "platform/inidocument.h"
#include "platform/textfile.h"

namespace stats {

namespace {

// A whole number of at most `maxDigits` digits and nothing else; -1 otherwise.
int digitsValue(const QString &text, int maxDigits) {
    if (text.isEmpty() || text.size() > maxDigits) return -1;
    int v = 0;
    for (QChar c : text) {
        if (c < u'0' || c > u'9') return -1;
        v = v * 10 + (c.unicode() - u'0');
    }
    return v;
}

// Month and year of "März 2024"; false when the text is no such date.
bool monthOfDateText(const QString &text, int &month, int &year) {
    const QStringList parts = text.simplified().split(u' ');
    if (parts.size() != 2) return false;
    const int y = digitsValue(parts[1], 4);
    if (parts[1].size() != 4 || y < 1) return false;
    for (int m = 1; m <= 12; ++m)
        if (QString::compare(parts[0], GibMonatLang(m), Qt::CaseInsensitive) == 0) {
            month = m;
            year = y;
            return true;
        }
    return false;
}

// Month and year of a table name ending in MMYYYY.tab.
bool monthOfFileName(const QString &path, int &month, int &year) {
    const QString name = QFileInfo(path).fileName();
    if (!name.endsWith(QStringLiteral(".tab"), Qt::CaseInsensitive) || name.size() < 10)
        return false;
    const int m = digitsValue(name.mid(name.size() - 10, 2), 2);
    const int y = digitsValue(name.mid(name.size() - 8, 4), 4);
    if (m < 1 || m > 12 || y < 1) return false;
    month = m;
    year = y;
    return true;
}

} // namespace

QString headerValue(const QStringList &lines, const QString &key) {
    return ini::valueIn(lines, QStringLiteral("Personendaten"), key);
}

QString normalTime(const QString &text) {
    const QString t = text.trimmed();
    const qsizetype colon = t.indexOf(u':');
    if (colon < 1 || colon > 2 || t.size() != colon + 3) return {};
    const int h = digitsValue(t.left(colon), 2);
    const int m = digitsValue(t.mid(colon + 1), 2);
    if (h < 0 || h > 24 || m < 0 || m > 59 || (h == 24 && m != 0)) return {};
    return QStringLiteral("%1:%2").arg(h, 2, 10, QChar(u'0')).arg(m, 2, 10, QChar(u'0'));
}

LineKind readLine(const QString &line, MeasureMode mode, Reading &out) {
    MeasurementSlot slot{};
    if (!entryline::slotOf(line, slot)) return LineKind::Unreadable;
    if (!slotinfo::usedIn(slot, mode)) return LineKind::HiddenSlot;
    // The readings the month graph draws: a day 01..31 and a value text that
    // is a plain number; the graph takes its whole part.
    const int day = entryline::readingDay(line);
    if (day < 1) return LineKind::Unreadable;
    double number = 0;
    if (!entryline::readingValue(entryline::valueOf(line), number)) return LineKind::Unreadable;
    const int value = int(number);
    if (value > kMaxReading) return LineKind::Unreadable;
    const int month = digitsValue(entryline::monthOf(line).trimmed(), 2);
    const QString yearText = entryline::yearOf(line).trimmed();
    const int year = yearText.size() == 4 ? digitsValue(yearText, 4) : -1;
    const QDate date(year, month, day);
    if (year < 1 || month < 1 || !date.isValid()) return LineKind::Unreadable;
    if (value == 0) return LineKind::Zero;
    out.date = date;
    out.slot = slot;
    out.time = normalTime(entryline::timeOf(line));
    out.mgdl = value;
    return LineKind::Reading;
}

void parseTable(const QStringList &lines, MeasureMode fallback, TableReadings &out) {
    const bool four = convert::flag(headerValue(lines, QStringLiteral("BisZu4MessungenJeTag")));
    const bool eight = convert::flag(headerValue(lines, QStringLiteral("BisZu8MessungenJeTag")));
    out.mode = eight ? MeasureMode::Eight : four ? MeasureMode::Four : fallback;
    out.userName = headerValue(lines, QStringLiteral("BenutzerName"));
    out.readings.clear();
    out.unreadableLines = out.hiddenLines = 0;
    for (const QString &line : lines) {
        if (!entryline::isEntryLine(line)) continue;
        Reading r;
        switch (readLine(line, out.mode, r)) {
        case LineKind::Reading:
            out.readings.append(r);
            break;
        case LineKind::HiddenSlot:
            ++out.hiddenLines;
            break;
        case LineKind::Unreadable:
            ++out.unreadableLines;
            break;
        case LineKind::Zero:
            break;
        }
    }
    out.month = out.year = 0;
    if (!monthOfDateText(headerValue(lines, QStringLiteral("Datum")), out.month, out.year) &&
        !monthOfFileName(out.path, out.month, out.year) && !out.readings.isEmpty()) {
        out.month = out.readings.back().date.month();
        out.year = out.readings.back().date.year();
    }
}

bool readTable(const QString &path, MeasureMode fallback, TableReadings &out, QString *error) {
    QStringList lines;
    out.path = path;
    if (!QFileInfo(path).isFile() || !textfile::readLines(path, lines)) {
        if (error)
            *error = QStringLiteral("Die Tabelle \"%1\" kann nicht gelesen werden.").arg(path);
        return false;
    }
    parseTable(lines, fallback, out);
    return true;
}

void sortByDateAndSlot(QList<Reading> &readings) {
    std::stable_sort(readings.begin(), readings.end(), [](const Reading &a, const Reading &b) {
        if (a.date != b.date) return a.date < b.date;
        return slotinfo::number(a.slot) < slotinfo::number(b.slot);
    });
}

} // namespace stats
