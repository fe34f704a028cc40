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

// Collects every reading up to the first value that is no number; the
// entry lines after it stay in the list all the same.
void compute(Month &m) {
    MonthResult &r = m.result;
    QList<int> skipped;
    m.stopLine = int(m.lines.size());
    r.complete = true;
    for (int i = 0; i < m.lines.size(); ++i) {
        const QString &line = m.lines.at(i);
        if (!entryline::isEntryLine(line)) continue;
        r.entries << line;
        if (!r.complete) continue;
        QString value;
        switch (monthvalues::collect(line, r.dayLineTexts, value)) {
        case monthvalues::Collected::NoReading:
            skipped.append(i + 1);
            break;
        case monthvalues::Collected::NoNumber:
            m.stopLine = i;
            r.complete = false;
            m.error = QStringLiteral("Der Messwert \"%1\" in Zeile %2 der Datei \"%3\" ist keine "
                                     "gültige Zahl. Die Grafik wurde nur bis zu dieser Zeile "
                                     "gezeichnet.")
                          .arg(value, QString::number(i + 1), m.path);
            break;
        case monthvalues::Collected::Reading:
            r.entryMonth = entryline::monthOf(line);
            r.entryYear = entryline::yearOf(line);
            break;
        }
    }
    // Every figure of the month counts the readings by the one rule: every
    // stored value from 1 to 500, whatever the table's mode.
    QList<glucose::Reading> readings;
    for (const QString &line : std::as_const(r.entries)) {
        glucose::Reading reading;
        if (glucose::readLine(line, reading) == glucose::LineKind::Reading)
            readings.append(reading);
    }
    const glucose::MonthMeans means = glucose::monthMeans(readings);
    r.dayMeans = means.dayMeanTexts();
    r.monthMean = means.monthMeanText();
    r.readingCount = means.readings;
    r.readingSum = means.total;
    r.eightSlotReadings = glucose::undrawnIn(readings, MeasureMode::Four);
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
