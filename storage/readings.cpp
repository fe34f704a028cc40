#include "readings.h"

#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <cstring>

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

// Whether the text at `pos` is `what` (ASCII).
template <typename View> bool textAt(View line, qsizetype pos, const char *what) {
    for (; *what; ++what, ++pos)
        if (pos >= line.size() || unitAt(line, pos) != char16_t(uchar(*what))) return false;
    return true;
}
bool textAt(QByteArrayView line, qsizetype pos, const char *what) {
    const size_t n = strlen(what);
    return pos + qsizetype(n) <= line.size() && memcmp(line.data() + pos, what, n) == 0;
}

// The date of year, month and day when it exists, without the calendar's
// general machinery: a line of each reading is read this way.
QDate dateOf(int year, int month, int day) {
    static constexpr int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (year < 1 || month < 1 || month > 12 || day < 1) return {};
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    if (day > days[month - 1] + (month == 2 && leap)) return {};
    // The Julian day number of a Gregorian date (Fliegel and Van Flandern).
    const qint64 a = (14 - month) / 12, y = year + 4800 - a, m = month + 12 * a - 3;
    return QDate::fromJulianDay(day + (153 * m + 2) / 5 + 365 * y + y / 4 - y / 100 + y / 400 -
                                32045);
}

// Two digits at `pos`; -1 otherwise.
template <typename View> int twoDigits(View line, qsizetype pos) {
    const char16_t a = unitAt(line, pos), b = unitAt(line, pos + 1);
    return isDigit(a) && isDigit(b) ? (a - u'0') * 10 + (b - u'0') : -1;
}

// A line in the program's own form (entryline::format with the time "HH:MM"
// and a whole value of up to four digits) read at its fixed positions. It
// gives what the rules give; false for any other line, which then goes
// through the rules.
template <typename View> bool readOwnForm(View line, Reading &out, LineKind &kind) {
    int slot = 0;
    qsizetype pos = 0;
    if (textAt(line, 0, "Messung")) {
        const char16_t digit = line.size() > 7 ? unitAt(line, 7) : u' ';
        if (digit < u'2' || digit > u'7' || !textAt(line, 8, " den ")) return false;
        slot = digit - u'0';
        pos = 13;
    } else if (textAt(line, 0, "Morgens den    ")) {
        slot = 1;
        pos = 15;
    } else if (textAt(line, 0, "Abends den     ")) {
        slot = 8;
        pos = 15;
    }
    // "DD.MM.YYYY Z=HH:MM  ZuckerWert=" and one to four digits.
    const qsizetype valueAt = pos + 31, length = line.size() - valueAt;
    if (slot == 0 || length < 1 || length > 4 || unitAt(line, pos + 2) != u'.' ||
        unitAt(line, pos + 5) != u'.' || !textAt(line, pos + 10, " Z=") ||
        unitAt(line, pos + 15) != u':' || !textAt(line, pos + 18, "  ZuckerWert="))
        return false;
    const int day = twoDigits(line, pos), month = twoDigits(line, pos + 3);
    const int century = twoDigits(line, pos + 6), yearInCentury = twoDigits(line, pos + 8);
    const int hour = twoDigits(line, pos + 13), minute = twoDigits(line, pos + 16);
    int value = 0;
    for (qsizetype i = valueAt; i < line.size(); ++i) {
        if (!isDigit(unitAt(line, i))) return false;
        value = value * 10 + (unitAt(line, i) - u'0');
    }
    if (day < 1 || day > 31 || month < 1 || century < 0 || yearInCentury < 0 || hour < 0 ||
        hour > 24 || minute < 0 || minute > 59 || (hour == 24 && minute != 0) ||
        value > kMaxReading)
        return false;
    const QDate date = dateOf(century * 100 + yearInCentury, month, day);
    if (!date.isValid()) return false;
    if (value == 0) {
        kind = LineKind::Zero;
        return true;
    }
    out.date = date;
    out.slot = slotinfo::fromNumber(slot);
    out.mgdl = value;
    out.minute = qint16(hour * 60 + minute);
    kind = LineKind::Reading;
    return true;
}

template <typename View> LineKind readFast(View line, Reading &out) {
    LineKind kind;
    return readOwnForm(line, out, kind) ? kind : readIn(line, out);
}

bool isAscii(QByteArrayView v) {
    for (char c : v)
        if (uchar(c) >= 0x80) return false;
    return true;
}

// Blanks and tabs off both ends, as the profile rules trim names and values.
QStringView trimBlanks(QStringView v) {
    qsizetype a = 0, e = v.size();
    while (a < e && (v[a] == u' ' || v[a] == u'\t'))
        ++a;
    while (e > a && (v[e - 1] == u' ' || v[e - 1] == u'\t'))
        --e;
    return v.sliced(a, e - a);
}

// The keys of section "Personendaten" a table's figures need, read in one
// pass with the profile rules (ini::valueIn): the first section of the name,
// keys without regard to case, the first occurrence wins. The entry lines
// never hold one of these keys, so the other lines suffice.
struct Header {
    QString four, eight, user, date;
};
Header headerOf(const QStringList &lines) {
    Header h;
    struct Want {
        QLatin1StringView key;
        QString *value;
        bool found = false;
    } wants[] = {{QLatin1StringView("BisZu4MessungenJeTag"), &h.four},
                 {QLatin1StringView("BisZu8MessungenJeTag"), &h.eight},
                 {QLatin1StringView("BenutzerName"), &h.user},
                 {QLatin1StringView("Datum"), &h.date}};
    bool inSection = false;
    for (const QString &line : lines) {
        const QString section = ini::sectionOf(line);
        if (!section.isNull()) {
            if (inSection) break; // the first section of the name ends here
            inSection =
                section.compare(QLatin1StringView("Personendaten"), Qt::CaseInsensitive) == 0;
            continue;
        }
        const qsizetype eq = inSection ? line.indexOf(u'=') : -1;
        if (eq < 0) continue;
        const QStringView key = trimBlanks(QStringView(line).first(eq));
        for (Want &w : wants)
            if (!w.found && key.compare(w.key, Qt::CaseInsensitive) == 0) {
                *w.value = ini::readValue(trimBlanks(QStringView(line).sliced(eq + 1)).toString());
                w.found = true;
            }
    }
    return h;
}

void finishTable(const QStringList &headerLines, MeasureMode fallback, TableReadings &out) {
    const Header header = headerOf(headerLines);
    const bool four = convert::flag(header.four);
    const bool eight = convert::flag(header.eight);
    out.mode = eight ? MeasureMode::Eight : four ? MeasureMode::Four : fallback;
    out.userName = header.user;
    out.undrawnReadings = undrawnIn(out.readings, out.mode);

    // The month: the header's "Datum" ("März 2024"), else the file name
    // (…MMYYYY.tab), else the last reading.
    out.month = out.year = 0;
    const QStringList date = header.date.simplified().split(u' ');
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
    const int h = minute / 60, m = minute % 60;
    const char16_t text[] = {char16_t(u'0' + h / 10), char16_t(u'0' + h % 10), u':',
                             char16_t(u'0' + m / 10), char16_t(u'0' + m % 10)};
    return QString(reinterpret_cast<const QChar *>(text), 5);
}

LineKind readLine(QStringView line, Reading &out) {
    return readFast(line, out);
}

LineKind readLineByRules(QStringView line, Reading &out) {
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
        count(readFast(QStringView(line), r), r, out);
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
    out.readings.reserve(n / 48);
    const char *data = bytes.data();
    qsizetype start = 0;
    // The next CR and LF at or after the line's start, each looked for once.
    auto next = [&](char c, qsizetype from) {
        if (from >= n) return n;
        const void *at = memchr(data + from, c, size_t(n - from));
        return at ? static_cast<const char *>(at) - data : n;
    };
    qsizetype cr = next('\r', 0), lf = next('\n', 0);
    while (start < n) {
        // The line ends at the next LF, or at a CR before it (CR LF or a lone CR).
        if (cr < start) cr = next('\r', start);
        if (lf < start) lf = next('\n', start);
        const qsizetype end = std::min(cr, lf);
        const QByteArrayView line = bytes.sliced(start, end - start);
        if (!line.isEmpty() && (line[0] == 'M' || line[0] == 'A')) {
            // A line in the program's own form is ASCII through and through.
            Reading r;
            LineKind kind;
            if (!readOwnForm(line, r, kind))
                kind = isAscii(line) ? readIn(line, r) : readFast(QStringView(decode(line)), r);
            count(kind, r, out);
        } else {
            header.append(decode(line));
        }
        start = end + (end + 1 < n && data[end] == '\r' && data[end + 1] == '\n' ? 2 : 1);
    }
    finishTable(header, fallback, out);
}

bool readTable(const QString &path, MeasureMode fallback, TableReadings &out, QString *error) {
    out.path = path;
    QFile f(path); // refuses a folder
    if (!f.open(QIODevice::ReadOnly | QIODevice::Unbuffered)) {
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

} // namespace glucose
