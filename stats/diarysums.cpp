#include "diarysums.h"

#include <QFileInfo>
#include <cmath>

#include "storage/daysums.h"
#include "storage/diarybook.h"
#include "storage/monthtable.h"

namespace stats {

namespace {

std::optional<double> valueOf(qint64 millionths, int cells) {
    if (cells == 0) return std::nullopt;
    return double(millionths) / 1e6;
}

} // namespace

DaySums sumsOfPage(const QString &pageLine) {
    DaySums d;
    const DiaryBook::Sections s = DiaryBook::splitSections(pageLine);
    const daysums::LineSum carb = daysums::sumOf(s.carb);
    if (carb.label == u"BE" || carb.label == u"KE") d.carbUnit = carb.label;
    d.carbUnreadable = !carb.readable();
    d.carb = valueOf(carb.millionths, carb.cells);
    const daysums::LineSum insulin = daysums::sumOf(s.insulin);
    d.insulinUnreadable = !insulin.readable();
    d.insulin = valueOf(insulin.millionths, insulin.cells);
    d.bolus = valueOf(insulin.bolusMillionths, insulin.bolusCells);
    d.basal = valueOf(insulin.basalMillionths, insulin.basalCells);
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
    return daysums::LineSum::numberText(std::llround(v * 1e6));
}

} // namespace stats
