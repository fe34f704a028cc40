#include "diarybook_month.h"

#include <QFileInfo>

#include "platform/textfile.h"
#include "storage/monthtable.h"

namespace diarybook {

DiaryBookInput bookInput(const MonthResult &month, const QString &dataFolder, MeasureMode mode,
                         GlucoseUnit unit) {
    DiaryBookInput in;
    in.dayLineTexts = month.dayLineTexts;
    in.tableDateText = month.tableDate;
    in.tableUserText = month.tableUser;
    in.meanSuffixText = month.meanHeaderIn(unit);
    in.dataFolder = dataFolder;
    in.entryYear = month.entryYear;
    in.mode = mode;
    in.unit = unit;
    return in;
}

DiaryBookInput bookInput(const monthread::Month &month, const QString &dataFolder,
                         MeasureMode fallbackMode, GlucoseUnit unit) {
    const MeasureMode mode = !month.modeStored  ? fallbackMode
                             : month.eightSlots ? MeasureMode::Eight
                                                : MeasureMode::Four;
    DiaryBookInput in = bookInput(month.result, dataFolder, mode, unit);
    const QString diary = monthtable::diaryPathOf(month.path);
    QStringList lines;
    if (!diary.isEmpty() && QFileInfo(diary).isFile() && textfile::readLines(diary, lines))
        in.pages = sortPages(lines);
    return in;
}

} // namespace diarybook
