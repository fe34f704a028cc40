#pragma once
// Hand-made month tables for the statistics tests.
#include <QDate>
#include <QString>
#include <QStringList>
#include <algorithm>
#include <cmath>
#include <vector>

#include "platform/textfile.h"
#include "storage/entryline.h"
#include "storage/monthtable.h"

namespace monthfixture {

struct Entry {
    int day;
    MeasurementSlot slot;
    int value;
    QString time = QStringLiteral("07:30");
};

inline QString line(int month, int year, const Entry &e) {
    return entryline::format(e.slot, QStringLiteral("%1").arg(e.day, 2, 10, QChar(u'0')),
                             QStringLiteral("%1").arg(month, 2, 10, QChar(u'0')),
                             QString::number(year), e.time, QString::number(e.value));
}

// The lines of a table as the program writes it.
inline QStringList tableLines(int month, int year, MeasureMode mode, const QList<Entry> &entries,
                              const QStringList &extraLines = {}) {
    monthtable::WriteRequest req;
    req.userName = QStringLiteral("Max Muster");
    req.month = QStringLiteral("%1").arg(month, 2, 10, QChar(u'0'));
    req.year = QString::number(year);
    req.fourSlots = mode == MeasureMode::Four;
    req.eightSlots = mode == MeasureMode::Eight;
    for (const Entry &e : entries)
        req.entries << line(month, year, e);
    req.entries << extraLines;
    return monthtable::compose(req, monthtable::Margins());
}

// Writes the table as folder/MMmmYYYY.tab and returns its path.
inline QString writeTable(const QString &folder, int month, int year, MeasureMode mode,
                          const QList<Entry> &entries, const QStringList &extraLines = {}) {
    const QString path =
        folder + QStringLiteral("MM%1%2.tab").arg(month, 2, 10, QChar(u'0')).arg(year);
    textfile::writeLines(path, tableLines(month, year, mode, entries, extraLines));
    return path;
}

// Values from `lowest` up spread over the days and slots of a month, deterministic.
inline QList<Entry> spread(int days, int slotsPerDay, int seed, int lowest = 40) {
    QList<Entry> out;
    const MeasurementSlot four[] = {MeasurementSlot::Morgens, MeasurementSlot::Messung2,
                                    MeasurementSlot::Messung3, MeasurementSlot::Abends};
    for (int d = 1; d <= days; ++d)
        for (int s = 0; s < slotsPerDay; ++s) {
            const MeasurementSlot slot = slotsPerDay <= 4 ? four[s] : slotinfo::fromNumber(s + 1);
            const int v = lowest + (d * 71 + s * 113 + seed * 29 + (d * s * 7) % 37) % 300;
            out.append(Entry{d, slot, v,
                             QStringLiteral("%1:%2")
                                 .arg(6 + 2 * s, 2, 10, QChar(u'0'))
                                 .arg((d * 10) % 60, 2, 10, QChar(u'0'))});
        }
    return out;
}

// A percentile of the values, linear between the closest ranks (numpy's
// default): h = (n − 1) p, computed here in plain floating point.
inline double type7(std::vector<double> v, double p) {
    std::sort(v.begin(), v.end());
    const double h = (v.size() - 1) * p;
    const size_t lo = size_t(std::floor(h));
    const size_t hi = std::min(lo + 1, v.size() - 1);
    return v[lo] + (h - lo) * (v[hi] - v[lo]);
}

} // namespace monthfixture
