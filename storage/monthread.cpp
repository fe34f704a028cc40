#include "monthread.h"

#include <QFileInfo>

#include "monthtable.h"
#include "monthvalues.h"
#include "platform/convert.h"
#include "platform/inidocument.h"
#include "platform/textfile.h"
#include "readings.h"
#include "settingsstore.h"

QString MonthResult::meanValueIn(GlucoseUnit unit) const {
    if (unit == GlucoseUnit::MgDl || meanValueText.isEmpty()) return meanValueText;
    return glucoseunit::tenthsText(glucoseunit::mmolTenthsOfMean(readingSum, readingCount)) +
           QStringLiteral(" mmol/l");
}

QString MonthResult::meanHeaderIn(GlucoseUnit unit) const {
    const QString value = meanValueIn(unit);
    return value.isEmpty() ? QString() : QStringLiteral(" -  Mittelwert: ") + value;
}

namespace monthread {

QList<int> dayEndsOf(const QStringList &lines) {
    QList<int> out;
    int last = -1, lastDay = 0;
    for (int i = 0; i < lines.size(); ++i) {
        const int day = entryline::readingDay(lines.at(i));
        if (day == 0) continue;
        if (last >= 0 && day != lastDay) out.append(last);
        last = i;
        lastDay = day;
    }
    if (last >= 0) out.append(last);
    return out;
}

namespace {

// Collects every reading up to the first value that is no number.
void compute(Month &m) {
    MonthResult &r = m.result;
    MonthValues values;
    values.clearValues();
    values.clearDayValues();
    QList<int> skipped;
    m.stopLine = int(m.lines.size());
    try {
        for (int i = 0; i < m.lines.size(); ++i) {
            const QString &line = m.lines.at(i);
            if (!entryline::isEntryLine(line)) continue;
            r.entries << line;
            const QString where =
                QStringLiteral("Zeile %1 der Datei \"%2\"").arg(i + 1).arg(m.path);
            m.stopLine = i;
            if (!values.collect(line, where, &r.dayLineTexts)) {
                skipped.append(i + 1);
                continue;
            }
            r.entryMonth = entryline::monthOf(line);
            r.entryYear = entryline::yearOf(line);
        }
        m.stopLine = int(m.lines.size());
        r.complete = true;
    } catch (const EConvertError &e) {
        m.error = e.message();
        // The rest of the entry lines stay in the list all the same.
        for (int i = m.stopLine + 1; i < m.lines.size(); ++i)
            if (entryline::isEntryLine(m.lines.at(i))) r.entries << m.lines.at(i);
    }
    // Every figure of the month counts the readings by the one rule: every
    // stored value from 1 to 500, whatever the table's mode.
    const glucose::MonthMeans means = glucose::monthMeansOf(m.lines);
    r.dayMeans = means.dayMeanTexts();
    r.monthMean = means.monthMeanText();
    r.readingCount = means.readings;
    r.readingSum = means.total;
    for (const QString &line : std::as_const(r.entries)) {
        glucose::Reading reading;
        if (glucose::readLine(line, reading) == glucose::LineKind::Reading &&
            !slotinfo::usedIn(reading.slot, MeasureMode::Four))
            ++r.eightSlotReadings;
    }
    if (!r.monthMean.isEmpty()) {
        r.meanValueText = r.monthMean + QStringLiteral(" mg/dl");
        r.meanHeaderText = QStringLiteral(" -  Mittelwert: ") + r.meanValueText;
    }
    r.skippedNotice = entryline::skippedLinesNotice(m.path, skipped);
}

} // namespace

bool read(const QString &tablePath, Month &m) {
    m = Month();
    m.path = tablePath;
    if (!QFileInfo(tablePath).isFile() || !textfile::readLines(tablePath, m.lines)) {
        m.error = QStringLiteral("Fehler beim Lesen der Datei: ") + tablePath;
        return false;
    }
    m.result.readable = true;
    const QString section = monthtable::kSection;
    m.result.tableDate = ini::valueIn(m.lines, section, QStringLiteral("Datum"));
    m.result.tableUser = ini::valueIn(m.lines, section, keys::BenutzerName);
    const bool four = convert::flag(ini::valueIn(m.lines, section, keys::BisZu4));
    m.eightSlots = convert::flag(ini::valueIn(m.lines, section, keys::BisZu8));
    m.modeStored = four || m.eightSlots;
    m.dayEnds = dayEndsOf(m.lines);
    compute(m);
    return true;
}

bool readWhole(const QString &tablePath, Month &m, QString *error) {
    if (!read(tablePath, m)) {
        if (error)
            *error = QStringLiteral("Die Monatstabelle \"%1\" kann nicht gelesen werden.")
                         .arg(tablePath);
        return false;
    }
    if (m.result.complete) return true;
    if (error) *error = m.error;
    return false;
}

} // namespace monthread
