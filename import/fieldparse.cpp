#include "fieldparse.h"

#include <cmath>

namespace importer {

namespace {

// Digits from `pos` on; how many were read (0 when none).
int readDigits(QStringView t, qsizetype &pos, int &value, int maxDigits) {
    int count = 0;
    value = 0;
    while (pos < t.size() && count < maxDigits && t[pos] >= u'0' && t[pos] <= u'9') {
        value = value * 10 + (t[pos].unicode() - u'0');
        ++pos;
        ++count;
    }
    return count;
}

bool isDateSeparator(QChar c) {
    return c == u'-' || c == u'/' || c == u'.';
}

} // namespace

bool splitDate(QStringView text, DateParts &parts) {
    const QStringView t = text.trimmed();
    qsizetype pos = 0;
    int digits[3] = {};
    int values[3] = {};
    for (int i = 0; i < 3; ++i) {
        digits[i] = readDigits(t, pos, values[i], 4);
        if (digits[i] == 0) return false;
        if (i < 2) {
            if (pos >= t.size() || !isDateSeparator(t[pos])) return false;
            ++pos;
        }
    }
    if (pos != t.size()) return false;
    parts.yearFirst = digits[0] == 4;
    // A two-digit year stands for 20xx; only the year may have four digits.
    if (parts.yearFirst) {
        if (digits[1] > 2 || (digits[2] != 1 && digits[2] != 2)) return false;
    } else {
        if (digits[0] > 2 || digits[1] > 2 || digits[2] == 1 || digits[2] == 3) return false;
        if (digits[2] == 2) values[2] += 2000;
    }
    parts.first = values[0];
    parts.second = values[1];
    parts.third = values[2];
    return true;
}

bool dateOf(const DateParts &p, DateOrder order, QDate &date) {
    int y = 0, m = 0, d = 0;
    if (p.yearFirst || order == DateOrder::YearMonthDay) {
        if (!p.yearFirst) return false;
        y = p.first;
        m = p.second;
        d = p.third;
    } else if (order == DateOrder::DayMonthYear) {
        d = p.first;
        m = p.second;
        y = p.third;
    } else {
        m = p.first;
        d = p.second;
        y = p.third;
    }
    if (y < kFirstYear || y > kLastYear || !QDate::isValid(y, m, d)) return false;
    date = QDate(y, m, d);
    return true;
}

bool parseTime(QStringView text, int &minute) {
    const QStringView t = text.trimmed();
    qsizetype pos = 0;
    int h = 0, m = 0, s = 0;
    if (readDigits(t, pos, h, 2) == 0) return false;
    if (pos >= t.size() || t[pos] != u':') return false;
    ++pos;
    if (readDigits(t, pos, m, 2) != 2) return false;
    if (pos < t.size() && t[pos] == u':') {
        ++pos;
        if (readDigits(t, pos, s, 2) != 2 || s > 59) return false;
        // Fractions of a second.
        if (pos < t.size() && t[pos] == u'.') {
            ++pos;
            int ignored = 0;
            if (readDigits(t, pos, ignored, 9) == 0) return false;
        }
    }
    QStringView rest = t.sliced(pos).trimmed();
    if (!rest.isEmpty()) {
        const bool am = rest.compare(u"AM", Qt::CaseInsensitive) == 0;
        const bool pm = rest.compare(u"PM", Qt::CaseInsensitive) == 0;
        if ((!am && !pm) || h < 1 || h > 12) return false;
        h = h % 12 + (pm ? 12 : 0);
    }
    if (h > 23 || m > 59) return false;
    minute = h * 60 + m;
    return true;
}

bool splitTimestamp(QStringView text, DateParts &date, int &minute) {
    const QStringView t = text.trimmed();
    qsizetype cut = t.indexOf(u'T');
    if (cut < 0) cut = t.indexOf(u' ');
    if (cut < 0) return false;
    return splitDate(t.first(cut), date) && parseTime(t.sliced(cut + 1), minute);
}

bool parseNumber(QStringView text, double &value) {
    const QStringView t = text.trimmed();
    if (t.isEmpty() || t.size() > 12) return false;
    double whole = 0, fraction = 0, scale = 1;
    bool separator = false;
    int before = 0, after = 0;
    for (QChar c : t) {
        if (c >= u'0' && c <= u'9') {
            const int digit = c.unicode() - u'0';
            if (separator) {
                scale /= 10;
                fraction += digit * scale;
                ++after;
            } else {
                whole = whole * 10 + digit;
                ++before;
            }
        } else if ((c == u'.' || c == u',') && !separator) {
            separator = true;
        } else {
            return false;
        }
    }
    if (before == 0 || (separator && after == 0)) return false;
    value = whole + fraction;
    return true;
}

int mgdlOfMmol(double mmol) {
    return int(std::round(mmol * 18.016));
}

int mgdlOf(double mgdl) {
    return int(std::round(mgdl));
}

QString timeText(int minute) {
    return QStringLiteral("%1:%2")
        .arg(minute / 60, 2, 10, QChar(u'0'))
        .arg(minute % 60, 2, 10, QChar(u'0'));
}

} // namespace importer
