#include "diarybook_month.h"

#include <QFileInfo>
#include <QLocale>
#include <cmath>

#include "platform/profile.h"
#include "platform/textfile.h"
#include "storage/convert.h"
#include "storage/monthtable.h"
#include "storage/settingsstore.h"

namespace diarybook {

namespace {

double toNumber(const QString &text, const QString &line) {
    bool ok = false;
    double v = QLocale(QLocale::German).toDouble(text.trimmed(), &ok);
    if (!ok) v = text.trimmed().toDouble(&ok);
    if (!ok)
        throw EConvertError(
            QStringLiteral("\"%1\" ist keine gültige Zahl (Zeile \"%2\").").arg(text, line));
    return v;
}

// Whole-number mean: two decimals first, then half up on that text's value.
QString roundedMean(long double sum, int count) {
    const double twoDecimals = QString::number(double(sum / count), 'f', 2).toDouble();
    const double whole = std::floor(twoDecimals);
    const double half = std::floor(2 * (twoDecimals - whole));
    return QString::number(qint64(whole + half));
}

} // namespace

MonthFigures figuresOf(const QStringList &entryLines) {
    MonthFigures f;
    QStringList values;
    QStringList dayValues;
    for (const QString &line : entryLines) {
        MeasurementSlot slot;
        const QString tag = entryline::slotOf(line, slot) ? slotinfo::tag(slot) : QString();
        const int day = entryline::dayOf(line);
        if (day >= 1) f.dayLineTexts[size_t(day - 1)] += line + tag;
        const qsizetype zw = line.indexOf(QStringLiteral("ZuckerWert="));
        if (zw >= 0) values.append(line.mid(zw + 11));
        // Day-value text: the two digits before the first "." and the trimmed value.
        const qsizetype dot = line.indexOf(u'.');
        const QString dd = dot >= 2 ? line.mid(dot - 2, 2) : QString();
        const QString value = zw >= 0 ? line.mid(zw + 11).trimmed() : line.trimmed();
        dayValues.append(dd + u'_' + value);
        f.entryMonth = entryline::monthOf(line);
        f.entryYear = entryline::yearOf(line);
    }

    if (values.size() >= 3) {
        long double sum = 0;
        for (const QString &v : values)
            sum += toNumber(v, v);
        f.monthMean =
            QLocale(QLocale::German).toString(double(sum / values.size()), 'f', 2).remove(u'.');
    }

    for (int d = 0; d < 31; ++d)
        f.dayMeans.append(QStringLiteral("0"));
    long double sum = 0;
    int count = 0;
    QString previous;
    for (const QString &item : dayValues) {
        const qsizetype us = item.indexOf(u'_');
        const QString day = item.left(us);
        const QString value = item.mid(us + 1);
        if (previous.isEmpty() || !day.contains(previous)) {
            sum = 0;
            count = 0;
        }
        previous = day;
        for (int d = 1; d <= 31; ++d)
            if (day.contains(QStringLiteral("%1").arg(d, 2, 10, QChar(u'0')))) {
                ++count;
                sum += toNumber(value, item);
                f.dayMeans[d - 1] = roundedMean(sum, count);
                break;
            }
    }
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
