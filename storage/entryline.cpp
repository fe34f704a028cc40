#include "entryline.h"

#include <QLocale>
#include <array>

namespace slotinfo {

namespace {
const std::array<const char *, 8> kWords = {"Morgens",  "Messung2", "Messung3", "Messung4",
                                            "Messung5", "Messung6", "Messung7", "Abends"};
int idx(MeasurementSlot s) {
    return number(s) - 1;
}
} // namespace

QString word(MeasurementSlot s) {
    return QString::fromLatin1(kWords[idx(s)]);
}
QString prefix(MeasurementSlot s) {
    return word(s) + QStringLiteral(" den ");
}
QString displayLabel(MeasurementSlot s) {
    const QString w = word(s);
    if (s == MeasurementSlot::Morgens || s == MeasurementSlot::Abends) return w;
    return QStringLiteral("Messung ") + w.right(1);
}
QString shortLabel(MeasurementSlot s) {
    return QStringLiteral("M%1").arg(number(s));
}
QChar sortLetter(MeasurementSlot s) {
    return QChar(u'a' + idx(s));
}
QString tag(MeasurementSlot s) {
    return QStringLiteral(" -%1 ").arg(number(s));
}
QString timeKey(MeasurementSlot s, MeasureMode mode) {
    return (mode == MeasureMode::Four ? QStringLiteral("Messung4Uhrzeit")
                                      : QStringLiteral("Messung8Uhrzeit")) +
           word(s);
}
bool fromLabel(const QString &label, MeasurementSlot &slot) {
    QString w = label;
    w.remove(u' ');
    for (int n = 1; n <= kCount; ++n)
        if (w == word(fromNumber(n))) {
            slot = fromNumber(n);
            return true;
        }
    return false;
}
bool usedIn(MeasurementSlot s, MeasureMode mode) {
    if (mode == MeasureMode::Eight) return true;
    return s == MeasurementSlot::Morgens || s == MeasurementSlot::Messung2 ||
           s == MeasurementSlot::Messung3 || s == MeasurementSlot::Abends;
}
MeasurementSlot next(MeasurementSlot s, MeasureMode mode) {
    if (mode == MeasureMode::Four) {
        switch (s) {
        case MeasurementSlot::Morgens:
            return MeasurementSlot::Messung2;
        case MeasurementSlot::Messung2:
            return MeasurementSlot::Messung3;
        case MeasurementSlot::Messung3:
            return MeasurementSlot::Abends;
        default:
            return MeasurementSlot::Morgens;
        }
    }
    return s == MeasurementSlot::Abends ? MeasurementSlot::Morgens : fromNumber(number(s) + 1);
}

} // namespace slotinfo

QString GibMonatLang(int month) {
    static const char *const names[] = {"Januar",    "Februar", "März",     "April",
                                        "Mai",       "Juni",    "Juli",     "August",
                                        "September", "Oktober", "November", "Dezember"};
    if (month < 1 || month > 12) return {};
    return QString::fromUtf8(names[month - 1]);
}

namespace entryline {

QString format(MeasurementSlot slot, const QString &day, const QString &month, const QString &year,
               const QString &time, const QString &value) {
    const QString pre = slotinfo::prefix(slot);
    QString pad;
    if (pre.size() == 12)
        pad = QStringLiteral("   ");
    else if (pre.size() == 11)
        pad = QStringLiteral("    ");
    return pre + pad + day + u'.' + month + u'.' + year + QStringLiteral(" Z=") + time +
           QStringLiteral("  ZuckerWert=") + value;
}

void split(const QString &line, Fields &f) {
    QString s = line;
    qsizetype p = s.indexOf(QStringLiteral("den "));
    if (p >= 0) {
        f.slotPrefix = s.left(p + 4);
        s = s.mid(p + 4);
    }
    p = s.indexOf(u'.');
    if (p >= 0) {
        f.day = s.left(p).trimmed();
        s = s.mid(p + 1);
    }
    p = s.indexOf(u'.');
    if (p >= 0) {
        f.month = s.left(p).trimmed();
        s = s.mid(p + 1);
    }
    p = s.indexOf(u' ');
    if (p >= 0) {
        f.year = s.left(p).trimmed();
        s = s.mid(p + 1);
    }
    p = s.indexOf(QStringLiteral("Z="));
    if (p >= 0) {
        f.time = s.mid(p + 2, 5);
        s = s.mid(p + 7);
    }
    p = s.indexOf(QStringLiteral("ZuckerWert="));
    if (p >= 0) f.value = s.mid(p + 11).trimmed();
}

bool isEntryLine(const QString &line) {
    const QString l = line.isEmpty() ? QStringLiteral("test") : line;
    return l.front() == u'M' || l.front() == u'A';
}

bool slotOf(const QString &line, MeasurementSlot &slot) {
    bool found = false;
    for (int n = 1; n <= slotinfo::kCount; ++n)
        if (line.contains(slotinfo::word(slotinfo::fromNumber(n)))) {
            slot = slotinfo::fromNumber(n);
            found = true;
        }
    return found;
}

int dayOf(const QString &line) {
    int day = 0;
    for (int d = 1; d <= 31; ++d)
        if (line.contains(QStringLiteral(" %1.").arg(d, 2, 10, QChar(u'0')))) day = d;
    return day;
}

QString valueOf(const QString &line) {
    const qsizetype p = line.indexOf(QStringLiteral("ZuckerWert="));
    return p < 0 ? QString() : line.mid(p + 11);
}

namespace {
// The text after "den " and the first ".": "MM.YYYY Z=...".
QString afterDay(const QString &line) {
    qsizetype p = line.indexOf(QStringLiteral("den "));
    QString s = p < 0 ? line : line.mid(p + 4);
    p = s.indexOf(u'.');
    return p < 0 ? s : s.mid(p + 1);
}
} // namespace

QString monthOf(const QString &line) {
    const QString s = afterDay(line);
    const qsizetype p = s.indexOf(u'.');
    return p < 0 ? s : s.left(p);
}

QString yearOf(const QString &line) {
    QString s = afterDay(line);
    qsizetype p = s.indexOf(u'.');
    if (p >= 0) s = s.mid(p + 1);
    p = s.indexOf(u' ');
    return p < 0 ? s : s.left(p);
}

QString timeOf(const QString &line) {
    const qsizetype p = line.indexOf(QStringLiteral("Z="));
    return p < 0 ? QString() : line.mid(p + 2, 5);
}

int readingDay(const QString &line) {
    if (!isEntryLine(line)) return 0;
    const qsizetype dot = line.indexOf(u'.');
    if (dot < 3 || line.at(dot - 3) != u' ') return 0;
    const QChar a = line.at(dot - 2), b = line.at(dot - 1);
    if (a < u'0' || a > u'9' || b < u'0' || b > u'9') return 0;
    const int day = (a.unicode() - u'0') * 10 + (b.unicode() - u'0');
    return day >= 1 && day <= 31 ? day : 0;
}

bool isReading(const QString &line) {
    return readingDay(line) > 0;
}

bool readingValue(const QString &text, double &value) {
    const QStringView t = QStringView(text).trimmed();
    qsizetype digitsBefore = 0, digitsAfter = 0, separatorAt = -1;
    for (qsizetype i = 0; i < t.size(); ++i) {
        const QChar c = t[i];
        if (c >= u'0' && c <= u'9') {
            ++(separatorAt >= 0 ? digitsAfter : digitsBefore);
        } else if ((c == u',' || c == u'.') && separatorAt < 0) {
            separatorAt = i;
        } else {
            return false;
        }
    }
    if (digitsBefore == 0 || (separatorAt >= 0 && digitsAfter == 0)) return false;
    double v = 0;
    if (separatorAt < 0 && digitsBefore <= 15) {
        // A whole number is exact in a double: no detour through the locale.
        qint64 n = 0;
        for (QChar c : t)
            n = n * 10 + (c.unicode() - u'0');
        v = double(n);
    } else {
        QString number = t.toString();
        if (separatorAt >= 0) number[separatorAt] = u'.';
        bool ok = false;
        v = QLocale::c().toDouble(number, &ok);
        if (!ok) return false;
    }
    if (!(v <= kMaxValue)) return false;
    value = v;
    return true;
}

QList<int> skippedLines(const QStringList &lines) {
    QList<int> out;
    for (qsizetype i = 0; i < lines.size(); ++i)
        if (isEntryLine(lines.at(i)) && !isReading(lines.at(i))) out.append(int(i + 1));
    return out;
}

QString skippedLinesNotice(const QString &path, const QList<int> &lineNumbers) {
    if (lineNumbers.isEmpty()) return {};
    const QString first =
        QStringLiteral("Zeile %1 der Datei \"%2\"").arg(lineNumbers.first()).arg(path);
    const qsizetype more = lineNumbers.size() - 1;
    if (more == 0)
        return first + QStringLiteral(" enthält keinen gültigen Tag (01 bis 31) und wurde beim "
                                      "Zeichnen und Rechnen übergangen. Sie bleibt in der Tabelle "
                                      "und kann unter \"Tabelle | aktuelle bearbeiten\" "
                                      "korrigiert werden.");
    return first +
           (more == 1 ? QStringLiteral(" und 1 weitere Zeile")
                      : QStringLiteral(" und %1 weitere Zeilen").arg(more)) +
           QStringLiteral(" enthalten keinen gültigen Tag (01 bis 31) und wurden beim Zeichnen "
                          "und Rechnen übergangen. Sie bleiben in der Tabelle und können unter "
                          "\"Tabelle | aktuelle bearbeiten\" korrigiert werden.");
}

} // namespace entryline
