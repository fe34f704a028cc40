#include "diarybook_month.h"

#include <QFileInfo>

#include "graph/monthread.h"
#include "platform/textfile.h"
#include "storage/monthtable.h"
#include "storage/settingsstore.h"

namespace diarybook {

bool readMonthFigures(const QString &tablePath, MonthFigures &f, QString *error) {
    monthread::Month m;
    if (!monthread::readWhole(tablePath, m, error)) return false;
    const MonthResult &r = m.result;
    f = MonthFigures();
    f.dayLineTexts = r.dayLineTexts;
    f.dayMeans = r.dayMeanList();
    f.monthMean = r.monthMean;
    f.entryMonth = r.entryMonth;
    f.entryYear = r.entryYear;
    f.tableDateText = r.tableDate;
    f.tableUserText = r.tableUser;
    f.modeStored = m.modeStored;
    f.eightSlots = m.eightSlots;
    f.skippedNotice = r.skippedNotice;
    return true;
}

DiaryBookInput bookInput(const QString &tablePath, const MonthFigures &f, const QString &dataFolder,
                         MeasureMode fallbackMode) {
    DiaryBookInput in;
    const QString diary = monthtable::diaryPathOf(tablePath);
    QStringList lines;
    if (!diary.isEmpty() && QFileInfo(diary).isFile() && textfile::readLines(diary, lines))
        in.pages = sortPages(lines);
    in.dayLineTexts = f.dayLineTexts;
    in.tableDateText = f.tableDateText;
    in.tableUserText = f.tableUserText;
    if (!f.monthMean.isEmpty())
        in.meanSuffixText =
            QStringLiteral(" -  Mittelwert: ") + f.monthMean + QStringLiteral(" mg/dl");
    in.dataFolder = dataFolder;
    in.entryYear = f.entryYear;
    in.mode = f.modeStored ? (f.eightSlots ? MeasureMode::Eight : MeasureMode::Four) : fallbackMode;
    return in;
}

} // namespace diarybook
