#include "diarysums.h"

#include <QFileInfo>
#include <QRegularExpression>

#include "storage/diarybook.h"
#include "storage/monthtable.h"

namespace stats {

namespace {

struct Pair {
    QString key;
    QString value;
};

bool isKeyChar(QChar c) {
    return c.isLetter() || c == u'.';
}

// The "key= value" pairs of a line's cells: the cells are cut at "|", the
// value of a pair runs up to the key of the next pair in the same cell.
QList<Pair> pairsOf(const QString &section) {
    QList<Pair> pairs;
    const qsizetype colon = section.indexOf(u':');
    const QString rest = colon < 0 ? section : section.mid(colon + 1);
    for (const QString &cell : rest.split(u'|')) {
        const QStringList parts = cell.split(u'=');
        QString key = parts.first().trimmed();
        for (qsizetype i = 1; i < parts.size(); ++i) {
            QString value = parts.at(i);
            QString nextKey;
            if (i + 1 < parts.size()) {
                qsizetype e = value.size();
                while (e > 0 && value.at(e - 1).isSpace())
                    --e;
                qsizetype s = e;
                while (s > 0 && isKeyChar(value.at(s - 1)))
                    --s;
                nextKey = value.mid(s, e - s);
                value = value.left(s);
            }
            pairs.append(Pair{key, value.trimmed()});
            key = nextKey;
        }
    }
    return pairs;
}

// A number, optionally followed by a unit ("6", "1,5", "6 IE"); false otherwise.
bool numberOf(const QString &text, double &v) {
    static const QRegularExpression re(
        QStringLiteral("^(\\d{1,6}(?:[.,]\\d{1,3})?)\\s*(?:\\p{L}{1,4}\\.?)?$"));
    const auto m = re.match(text);
    if (!m.hasMatch()) return false;
    QString n = m.captured(1);
    n.replace(u',', u'.');
    bool ok = false;
    v = n.toDouble(&ok);
    return ok;
}

void add(std::optional<double> &sum, double v) {
    sum = sum.value_or(0) + v;
}

} // namespace

DaySums sumsOfPage(const QString &pageLine) {
    DaySums d;
    const DiaryBook::Sections s = DiaryBook::splitSections(pageLine);
    const qsizetype colon = s.carb.indexOf(u':');
    if (colon > 0) {
        const QString unit = s.carb.left(colon).trimmed();
        if (unit == u"BE" || unit == u"KE") d.carbUnit = unit;
    }
    for (const Pair &p : pairsOf(s.carb)) {
        double v = 0;
        if (p.value.isEmpty()) continue;
        if (numberOf(p.value, v))
            add(d.carb, v);
        else
            d.carbUnreadable = true;
    }
    for (const Pair &p : pairsOf(s.insulin)) {
        double v = 0;
        if (p.value.isEmpty()) continue;
        if (!numberOf(p.value, v)) {
            d.insulinUnreadable = true;
            continue;
        }
        add(d.insulin, v);
        if (p.key.startsWith(QStringLiteral("Bol"), Qt::CaseInsensitive)) add(d.bolus, v);
        if (p.key.startsWith(QStringLiteral("Bas"), Qt::CaseInsensitive)) add(d.basal, v);
    }
    return d;
}

QList<DaySums> diarySums(const TableReadings &table) {
    QList<DaySums> out;
    if (table.month < 1) return out;
    const QString diary = monthtable::diaryPathOf(table.path);
    if (diary.isEmpty() || !QFileInfo(diary).isFile()) return out;
    DiaryBook book;
    if (book.LadeTagebuch(table.path) != DiaryBook::LoadResult::Loaded) return out;
    for (int day = 1; day <= 31; ++day) {
        const QDate date(table.year, table.month, day);
        const QString line = book.pageLineOfDay(day);
        if (!date.isValid() || line.isEmpty()) continue;
        DaySums d = sumsOfPage(line);
        d.date = date;
        if (!d.empty()) out.append(d);
    }
    return out;
}

QString sumText(double v) {
    QString t = QString::number(v, 'f', 2);
    while (t.endsWith(u'0'))
        t.chop(1);
    if (t.endsWith(u'.')) t.chop(1);
    t.replace(u'.', u',');
    return t;
}

} // namespace stats
