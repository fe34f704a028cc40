#include "diarybook_month.h"

#include <QFileInfo>

#include "graph/monthvalues.h"
#include "platform/textfile.h"
#include "platform/convert.h"
#include "storage/monthtable.h"
#include "storage/settingsstore.h"

namespace diarybook {

MonthFigures figuresOf(const QStringList &entryLines) {
    MonthFigures f;
    MonthValues values;
    values.clearValues();
    values.clearDayValues();
    for (const QString &line : entryLines) {
        if (!values.collect(line, QStringLiteral("der Zeile \"%1\"").arg(line), &f.dayLineTexts))
            continue; // no reading: neither counted nor shown
        f.entryMonth = entryline::monthOf(line);
        f.entryYear = entryline::yearOf(line);
    }
    values.GibDieTagesMittelwerte();
    f.dayMeans = values.dayMeans();
    f.monthMean = values.MonthMean();
    return f;
}

bool readMonthFigures(const QString &tablePath, MonthFigures &f, QString *error) {
    QStringList lines;
    if (!QFileInfo(tablePath).isFile() || !monthtable::readLines(tablePath, lines)) {
        if (error)
            *error = QStringLiteral("Die Monatstabelle \"%1\" kann nicht gelesen werden.")
                         .arg(tablePath);
        return false;
    }
    try {
        f = figuresOf(monthtable::entryLines(lines));
    } catch (const EConvertError &e) {
        if (error) *error = e.message();
        return false;
    }
    f.skippedNotice = entryline::skippedLinesNotice(tablePath, entryline::skippedLines(lines));
    const SettingsStore header(tablePath);
    f.tableDateText = header.read(monthtable::kSection, QStringLiteral("Datum"));
    f.tableUserText = header.read(monthtable::kSection, keys::BenutzerName);
    const bool four = convert::flag(header.read(monthtable::kSection, keys::BisZu4));
    const bool eight = convert::flag(header.read(monthtable::kSection, keys::BisZu8));
    f.modeStored = four || eight;
    f.eightSlots = eight;
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

BrowserChartInput chartInput(const QString &tablePath, const MonthFigures &f,
                             const QString &baseFolder) {
    BrowserChartInput in;
    in.dayMeans = f.dayMeans;
    in.entryMonth = f.entryMonth;
    in.entryYear = f.entryYear;
    in.entryMonthName = GibMonatLang(f.entryMonth.toInt());
    in.tableUserName = f.tableUserText;
    in.currentTablePath = tablePath;
    in.baseFolder = baseFolder;
    in.browserFolder = baseFolder + QStringLiteral("Glykovalin-Daten im Browser/");
    in.settingsPath = baseFolder + QStringLiteral("glykoval.ini");
    const SettingsStore st(in.settingsPath);
    bool ok = false;
    const quint32 curve = st.get(keys::KurvenFarbe).trimmed().toUInt(&ok);
    if (ok) in.curveColor = curve;
    const quint32 above = st.get(keys::DatenwerteOberhalbFarbe).trimmed().toUInt(&ok);
    in.aboveValuesColor = ok ? above : 0;
    in.penWidthText = st.get(keys::StiftBreite);
    in.showValues = st.flag(keys::WerteOberhalbKurveAnzeigen);
    return in;
}

} // namespace diarybook
