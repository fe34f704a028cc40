#include "readings.h"

#include <QFile>
#include <QFileInfo>
#include <algorithm>

#include "platform/convert.h"
#include "platform/inidocument.h"
#include "platform/textfile.h"
#include "platform/win1252.h"

namespace glucose {

namespace {

// The scanning rules work on decoded text and, for lines of plain ASCII, on
// the file's bytes: in ASCII both are the same characters.
char16_t unitAt(QStringView v, qsizetype i) {
    return v[i].unicode();
}
char16_t unitAt(QByteArrayView v, qsizetype i) {
    return char16_t(uchar(v[i]));
}
qsizetype find(QStringView v, QLatin1StringView what, qsizetype from = 0) {
    return v.indexOf(what, from);
}
qsizetype find(QByteArrayView v, QLatin1StringView what, qsizetype from = 0) {
    return v.indexOf(QByteArrayView(what.data(), what.size()), from);
}
qsizetype findChar(QStringView v, char c, qsizetype from = 0) {
    return v.indexOf(QLatin1Char(c), from);
}
qsizetype findChar(QByteArrayView v, char c, qsizetype from = 0) {
    return v.indexOf(c, from);
}

bool isDigit(char16_t c) {
    return c >= u'0' && c <= u'9';
}

// The part [from, to) without blanks at either end.
template <typename View> View trimmedPart(View v, qsizetype from, qsizetype to) {
    while (from < to && QChar::isSpace(unitAt(v, from)))
        ++from;
    while (to > from && QChar::isSpace(unitAt(v, to - 1)))
        --to;
    return v.sliced(from, to - from);
}

// A whole number of 1 to `maxDigits` digits and nothing else; -1 otherwise.
template <typename View> int digitsValue(View v, qsizetype maxDigits) {
    if (v.isEmpty() || v.size() > maxDigits) return -1;
    int n = 0;
    for (qsizetype i = 0; i < v.size(); ++i) {
        const char16_t c = unitAt(v, i);
        if (!isDigit(c)) return -1;
        n = n * 10 + (c - u'0');
    }
    return n;
}

template <typename View> int minuteIn(View t) {
    const qsizetype colon = findChar(t, ':');
    if (colon < 1 || colon > 2 || t.size() != colon + 3) return -1;
    const int h = digitsValue(t.first(colon), 2);
    const int m = digitsValue(t.sliced(colon + 1), 2);
    if (h < 0 || h > 24 || m < 0 || m > 59 || (h == 24 && m != 0)) return -1;
    return h * 60 + m;
}

// The slot word that decides: the last of Morgens, Messung2 .. Messung7,
// Abends (in that order) that the line contains.
template <typename View> bool slotIn(View line, MeasurementSlot &slot) {
    if (find(line, QLatin1StringView("Abends")) >= 0) {
        slot = MeasurementSlot::Abends;
        return true;
    }
    int best = 0;
    const QLatin1StringView messung("Messung");
    for (qsizetype p = find(line, messung); p >= 0; p = find(line, messung, p + 1)) {
        const qsizetype d = p + messung.size();
        if (d >= line.size()) break;
        const char16_t c = unitAt(line, d);
        if (c >= u'2' && c <= u'7') best = std::max(best, int(c - u'0'));
    }
    if (best > 0) {
        slot = slotinfo::fromNumber(best);
        return true;
    }
    if (find(line, QLatin1StringView("Morgens")) >= 0) {
        slot = MeasurementSlot::Morgens;
        return true;
    }
    return false;
}

// The day of the date: a blank, two digits and the line's first ".".
template <typename View> int dayIn(View line) {
    const qsizetype dot = findChar(line, '.');
    if (dot < 3 || unitAt(line, dot - 3) != u' ') return 0;
    const char16_t a = unitAt(line, dot - 2), b = unitAt(line, dot - 1);
    if (!isDigit(a) || !isDigit(b)) return 0;
    const int day = (a - u'0') * 10 + (b - u'0');
    return day >= 1 && day <= 31 ? day : 0;
}

// The whole part of the value after "ZuckerWert=": digits with at most one
// decimal comma or point between digits, blanks around; -1 for anything else
// and for a whole part above kMaxReading.
template <typename View> int valueIn(View line) {
    const QLatin1StringView marker("ZuckerWert=");
    const qsizetype p = find(line, marker);
    if (p < 0) return -1;
    const View t = trimmedPart(line, p + marker.size(), line.size());
    qsizetype i = 0;
    int whole = 0;
    for (; i < t.size() && isDigit(unitAt(t, i)); ++i)
        whole = std::min(whole * 10 + (unitAt(t, i) - u'0'), kMaxReading + 1);
    if (i == 0) return -1;
    if (i < t.size()) {
        const char16_t sep = unitAt(t, i);
        if (sep != u',' && sep != u'.') return -1;
        qsizetype j = i + 1;
        while (j < t.size() && isDigit(unitAt(t, j)))
            ++j;
        if (j == i + 1 || j != t.size()) return -1;
    }
    return whole > kMaxReading ? -1 : whole;
}

template <typename View> LineKind readIn(View line, Reading &out) {
    MeasurementSlot slot{};
    if (line.isEmpty() || (unitAt(line, 0) != u'M' && unitAt(line, 0) != u'A'))
        return LineKind::Unreadable;
    if (!slotIn(line, slot)) return LineKind::Unreadable;
    const int day = dayIn(line);
    if (day < 1) return LineKind::Unreadable;
    const int value = valueIn(line);
    if (value < 0) return LineKind::Unreadable;
    // Month and year: after "den " and the day's ".", up to the next "." and
    // from there up to the next blank.
    qsizetype s = find(line, QLatin1StringView("den "));
    s = s < 0 ? 0 : s + 4;
    const qsizetype dot1 = findChar(line, '.', s);
    if (dot1 < 0) return LineKind::Unreadable;
    const qsizetype dot2 = findChar(line, '.', dot1 + 1);
    if (dot2 < 0) return LineKind::Unreadable;
    const int month = digitsValue(trimmedPart(line, dot1 + 1, dot2), 2);
    qsizetype yearEnd = findChar(line, ' ', dot2 + 1);
    if (yearEnd < 0) yearEnd = line.size();
    const View yearText = trimmedPart(line, dot2 + 1, yearEnd);
    const int year = yearText.size() == 4 ? digitsValue(yearText, 4) : -1;
    const QDate date(year, month, day);
    if (year < 1 || month < 1 || !date.isValid()) return LineKind::Unreadable;
    if (value == 0) return LineKind::Zero;
    out.date = date;
    out.slot = slot;
    out.mgdl = value;
    const qsizetype z = find(line, QLatin1StringView("Z="));
    out.minute = qint16(
        z < 0 ? -1 : minuteIn(trimmedPart(line, z + 2, std::min<qsizetype>(line.size(), z + 7))));
    return LineKind::Reading;
}

bool isAscii(QByteArrayView v) {
    for (char c : v)
        if (uchar(c) >= 0x80) return false;
    return true;
}

// Header values of section "Personendaten" with the profile rules; the
// entry lines never hold one of these keys, so the other lines suffice.
void finishTable(const QStringList &headerLines, MeasureMode fallback, TableReadings &out) {
    const QString section = QStringLiteral("Personendaten");
    auto header = [&](const char *key) {
        return ini::valueIn(headerLines, section, QLatin1StringView(key));
    };
    const bool four = convert::flag(header("BisZu4MessungenJeTag"));
    const bool eight = convert::flag(header("BisZu8MessungenJeTag"));
    out.mode = eight ? MeasureMode::Eight : four ? MeasureMode::Four : fallback;
    out.userName = header("BenutzerName");
    out.undrawnReadings = undrawnIn(out.readings, out.mode);

    // The month: the header's "Datum" ("März 2024"), else the file name
    // (…MMYYYY.tab), else the last reading.
    out.month = out.year = 0;
    const QStringList date = header("Datum").simplified().split(u' ');
    if (date.size() == 2 && date[1].size() == 4 && digitsValue(QStringView(date[1]), 4) > 0)
        for (int m = 1; m <= 12; ++m)
            if (QString::compare(date[0], GibMonatLang(m), Qt::CaseInsensitive) == 0) {
                out.month = m;
                out.year = date[1].toInt();
            }
    const QString name = QFileInfo(out.path).fileName();
    if (out.month == 0 && name.endsWith(QStringLiteral(".tab"), Qt::CaseInsensitive) &&
        name.size() >= 10) {
        const int m = digitsValue(QStringView(name).sliced(name.size() - 10, 2), 2);
        const int y = digitsValue(QStringView(name).sliced(name.size() - 8, 4), 4);
        if (m >= 1 && m <= 12 && y >= 1) {
            out.month = m;
            out.year = y;
        }
    }
    if (out.month == 0 && !out.readings.isEmpty()) {
        out.month = out.readings.back().date.month();
        out.year = out.readings.back().date.year();
    }
}

void count(LineKind kind, const Reading &r, TableReadings &out) {
    switch (kind) {
    case LineKind::Reading:
        out.readings.append(r);
        break;
    case LineKind::Zero:
        ++out.zeroLines;
        break;
    case LineKind::Unreadable:
        ++out.unreadableLines;
        break;
    }
}

void startTable(TableReadings &out) {
    out.readings.clear();
    out.zeroLines = out.unreadableLines = out.undrawnReadings = 0;
}

} // namespace

QString Reading::timeText() const {
    if (minute < 0) return {};
    return QStringLiteral("%1:%2")
        .arg(minute / 60, 2, 10, QChar(u'0'))
        .arg(minute % 60, 2, 10, QChar(u'0'));
}

LineKind readLine(QStringView line, Reading &out) {
    return readIn(line, out);
}

int minuteOf(QStringView text) {
    return minuteIn(text.trimmed());
}

void parseTable(const QStringList &lines, MeasureMode fallback, TableReadings &out) {
    startTable(out);
    QStringList header;
    for (const QString &line : lines) {
        if (!entryline::isEntryLine(line)) {
            header.append(line);
            continue;
        }
        Reading r;
        count(readIn(QStringView(line), r), r, out);
    }
    finishTable(header, fallback, out);
}

void parseTableBytes(QByteArrayView bytes, MeasureMode fallback, TableReadings &out) {
    startTable(out);
    const bool utf8 = textfile::isUtf8(bytes);
    if (bytes.startsWith("\xEF\xBB\xBF")) bytes = bytes.sliced(3);
    auto decode = [utf8](QByteArrayView line) {
        return utf8 ? QString::fromUtf8(line) : win1252::decode(line.toByteArray());
    };
    QStringList header;
    const qsizetype n = bytes.size();
    qsizetype start = 0;
    while (start <= n) {
        qsizetype end = start;
        while (end < n && bytes[end] != '\n' && bytes[end] != '\r')
            ++end;
        if (end == n && start == n) break; // no line after the last line end
        const QByteArrayView line = bytes.sliced(start, end - start);
        if (!line.isEmpty() && (line[0] == 'M' || line[0] == 'A')) {
            Reading r;
            const LineKind kind =
                isAscii(line) ? readIn(line, r) : readIn(QStringView(decode(line)), r);
            count(kind, r, out);
        } else {
            header.append(decode(line));
        }
        start = end + (end + 1 < n && bytes[end] == '\r' && bytes[end + 1] == '\n' ? 2 : 1);
    }
    finishTable(header, fallback, out);
}

bool readTable(const QString &path, MeasureMode fallback, TableReadings &out, QString *error) {
    out.path = path;
    QFile f(path);
    if (!QFileInfo(path).isFile() || !f.open(QIODevice::ReadOnly)) {
        if (error)
            *error = QStringLiteral("Die Tabelle \"%1\" kann nicht gelesen werden.").arg(path);
        return false;
    }
    const QByteArray bytes = f.readAll();
    parseTableBytes(bytes, fallback, out);
    return true;
}

int undrawnIn(const QList<Reading> &readings, MeasureMode mode) {
    if (mode == MeasureMode::Eight) return 0;
    return int(std::count_if(readings.begin(), readings.end(), [](const Reading &r) {
        return !slotinfo::usedIn(r.slot, MeasureMode::Four);
    }));
}

namespace {
bool earlier(const Reading &a, const Reading &b) {
    if (a.date != b.date) return a.date < b.date;
    return slotinfo::number(a.slot) < slotinfo::number(b.slot);
}
} // namespace

void sortByDateAndSlot(QList<Reading> &readings) {
    if (!isSortedByDateAndSlot(readings))
        std::stable_sort(readings.begin(), readings.end(), earlier);
}

bool isSortedByDateAndSlot(const QList<Reading> &readings) {
    return std::is_sorted(readings.begin(), readings.end(), earlier);
}

bool MonthMeans::hasDayMean(int day) const {
    return day >= 1 && day <= 31 && count[size_t(day - 1)] > 0;
}

double MonthMeans::dayMean(int day) const {
    if (!hasDayMean(day)) return 0;
    return double(sum[size_t(day - 1)]) / count[size_t(day - 1)];
}

namespace {
// Hundredths of sum / n, rounded half up; n > 0, sum >= 0.
qint64 hundredths(qint64 sum, qint64 n) {
    return (200 * sum + n) / (2 * n);
}
} // namespace

int MonthMeans::dayMeanWhole(int day) const {
    if (!hasDayMean(day)) return 0;
    const qint64 h = hundredths(sum[size_t(day - 1)], count[size_t(day - 1)]);
    return int(h / 100 + (h % 100 >= 50 ? 1 : 0));
}

QString MonthMeans::dayMeanText(int day) const {
    return QString::number(dayMeanWhole(day));
}

std::array<QString, 31> MonthMeans::dayMeanTexts() const {
    std::array<QString, 31> out;
    for (int d = 1; d <= 31; ++d)
        out[size_t(d - 1)] = dayMeanText(d);
    return out;
}

double MonthMeans::monthMean() const {
    return readings > 0 ? double(total) / readings : 0;
}

QString MonthMeans::monthMeanText() const {
    if (!hasMonthMean()) return {};
    const qint64 h = hundredths(total, readings);
    return QStringLiteral("%1,%2").arg(h / 100).arg(h % 100, 2, 10, QChar(u'0'));
}

MonthMeans monthMeans(const QList<Reading> &readings) {
    MonthMeans m;
    for (const Reading &r : readings) {
        const size_t d = size_t(r.date.day() - 1);
        ++m.count[d];
        m.sum[d] += r.mgdl;
        ++m.readings;
        m.total += r.mgdl;
    }
    return m;
}

MonthMeans monthMeansOf(const QStringList &tableLines) {
    QList<Reading> readings;
    for (const QString &line : tableLines) {
        Reading r;
        if (entryline::isEntryLine(line) && readLine(line, r) == LineKind::Reading)
            readings.append(r);
    }
    return monthMeans(readings);
}

} // namespace glucose
