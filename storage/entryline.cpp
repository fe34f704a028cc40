#include "entryline.h"

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

} // namespace entryline
