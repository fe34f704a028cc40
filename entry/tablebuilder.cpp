#include "tablebuilder.h"

#include <QCollator>
#include <algorithm>
#include <array>
#include <vector>

#include "storage/entryline.h"

namespace tablebuilder {

namespace {

const QString kFourHeader = QStringLiteral(
    "  Datum  |    Morgens    | Wert |   Messung 2   | Wert |   Messung 3   | Wert |     Abends   "
    "   | Wert |                            Bemerkung");
const QString kEightHeader = QStringLiteral(
    "Datum |   M1   | Wert |   M2   | Wert |   M3   | Wert  |   M4   | Wert |   M5   | Wert |   "
    "M6   | Wert |   M7   | Wert |   M8   | Wert  |          Bemerkung");

QString separator() {
    return QString(115, u'_');
}

// The value between its bars: two blanks, the value, two blanks (a
// two-digit value four).
QString valueCell(const QString &line, GlucoseUnit unit) {
    const qsizetype p = line.indexOf(QStringLiteral("ZuckerWert="));
    QString v = p >= 0 ? line.mid(p + 11).trimmed() : QString();
    double value = 0;
    if (unit == GlucoseUnit::MmolL && entryline::readingValue(v, value)) {
        // As wide as "  125  ": "5,6" takes three blanks after it, "10,0" one.
        v = glucoseunit::valueText(int(value), unit);
        return QStringLiteral("  ") + v + QString(v.size() == 3 ? 3 : 1, u' ');
    }
    if (v.size() == 2) v += QStringLiteral("  ");
    return QStringLiteral("  ") + v + QStringLiteral("  ");
}

QString timeCell(const QString &line) {
    const qsizetype p = line.indexOf(QStringLiteral("Z="));
    return p >= 0 ? line.mid(p + 2, 5) : QString();
}

QString filledCell(int slotIndex, bool eight, const QString &dd, const QString &t,
                   const QString &v) {
    if (slotIndex == 0)
        return eight ? QStringLiteral("   ") + dd + QStringLiteral("    | ") + t +
                           QStringLiteral(" |") + v + QStringLiteral("|")
                     : QStringLiteral("   ") + dd + QStringLiteral("       |       ") + t +
                           QStringLiteral("      |") + v + QStringLiteral("|");
    return eight ? QStringLiteral(" ") + t + QStringLiteral(" |") + v + QStringLiteral("|")
                 : QStringLiteral("       ") + t + QStringLiteral("       |") + v +
                       QStringLiteral("|");
}

QString emptyCell(int slotIndex, bool eight, const QString &dd) {
    if (slotIndex == 0)
        return eight ? QStringLiteral("   ") + dd + QStringLiteral("    |           |          |")
                     : QStringLiteral("   ") + dd +
                           QStringLiteral("       |                      |          |");
    return eight ? QStringLiteral("           |          |")
                 : QStringLiteral("                       |          |");
}

} // namespace

QString SortKey(const QString &line, QString *lastDay) {
    QString day;
    const qsizetype dot = line.indexOf(u'.');
    if (dot >= 0)
        day = line.mid(qMax<qsizetype>(0, dot - 2), dot >= 2 ? 2 : dot);
    else if (lastDay)
        day = *lastDay;
    if (lastDay) *lastDay = day;
    QString letters;
    for (int n = 1; n <= slotinfo::kCount; ++n) {
        const MeasurementSlot s = slotinfo::fromNumber(n);
        if (line.contains(slotinfo::word(s) + QStringLiteral(" den")))
            letters.prepend(slotinfo::sortLetter(s));
    }
    return day + letters;
}

QStringList sortEntries(const QStringList &entries) {
    // The sorted string list: locale-aware, case-sensitive, no duplicates.
    QCollator coll;
    coll.setCaseSensitivity(Qt::CaseSensitive);
    // Key + item is sorted; the key is kept apart so that a hand-edited line
    // with a short key still comes back whole.
    std::vector<std::pair<QString, qsizetype>> keyed;
    keyed.reserve(size_t(entries.size()));
    QString lastDay;
    for (const QString &item : entries) {
        const QString key = SortKey(item, &lastDay);
        keyed.emplace_back(key + item, key.size());
    }
    std::sort(keyed.begin(), keyed.end(),
              [&](const auto &a, const auto &b) { return coll.compare(a.first, b.first) < 0; });
    QStringList out;
    out.reserve(entries.size());
    for (size_t i = 0; i < keyed.size(); ++i) {
        if (i > 0 && coll.compare(keyed[i].first, keyed[i - 1].first) == 0) continue;
        out.append(keyed[i].first.mid(keyed[i].second));
    }
    return out;
}

QStringList BringsAufDieReihe(const TableInput &in) {
    QStringList lines;
    const bool eight = in.eightSlots;
    if (!in.fourSlots && !in.eightSlots) return lines;
    QString title = QStringLiteral("GLYKOVALINMESSWERTE: ") + in.monthName + u' ' + in.year +
                    QStringLiteral(" von ") + in.userName;
    if (in.unit == GlucoseUnit::MmolL) title += QStringLiteral("  (Werte in mmol/l)");
    lines << title << QString(title.size(), u'=') << QString()
          << (eight ? kEightHeader : kFourHeader) << separator();

    // Slots per column in this mode.
    std::vector<MeasurementSlot> columns;
    for (int n = 1; n <= slotinfo::kCount; ++n) {
        const MeasurementSlot s = slotinfo::fromNumber(n);
        if (eight || slotinfo::usedIn(s, MeasureMode::Four)) columns.push_back(s);
    }
    std::array<std::array<QString, 8>, 31> cells;
    for (const QString &item : in.entries) {
        if (!entryline::isReading(item)) continue;
        int col = -1;
        QString prefix;
        for (size_t c = 0; c < columns.size(); ++c) {
            prefix = slotinfo::prefix(columns[c]);
            if (item.contains(prefix)) {
                col = int(c);
                break;
            }
        }
        if (col < 0) continue;
        QString rest = item;
        rest.remove(rest.indexOf(prefix), prefix.size());
        const qsizetype dot = rest.indexOf(u'.');
        if (dot < 0) continue;
        QString dayText = rest.left(dot);
        while (dayText.startsWith(u' '))
            dayText.remove(0, 1);
        bool ok = false;
        const int day = dayText.toInt(&ok);
        if (!ok || dayText.size() != 2 || day < 1 || day > 31) continue;
        cells[size_t(day - 1)][size_t(col)] =
            filledCell(col, eight, dayText, timeCell(rest), valueCell(rest, in.unit));
    }
    for (int day = 1; day <= 31; ++day) {
        const QString dd = QStringLiteral("%1").arg(day, 2, 10, QLatin1Char('0'));
        QString row;
        for (size_t c = 0; c < columns.size(); ++c) {
            const QString &cell = cells[size_t(day - 1)][c];
            row += cell.isEmpty() ? emptyCell(int(c), eight, dd) : cell;
        }
        lines << row << separator();
    }
    return lines;
}

QString TableText(const TableInput &in) {
    return BringsAufDieReihe(in).join(u'\n');
}

} // namespace tablebuilder
