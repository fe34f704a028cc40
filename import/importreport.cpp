#include "importreport.h"

#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include "platform/german.h"

namespace importer {

namespace {

QString clockText(int minute) {
    return minute < 0 ? QStringLiteral("--:--") : timeText(minute);
}

QString readingText(const Reading &r) {
    return german::date(r.date) + u' ' + clockText(r.minute) +
           QStringLiteral(" %1 mg/dl (%2)").arg(r.mgdl).arg(sourceName(r.source));
}

QString countText(int n, const QString &one, const QString &many) {
    return QString::number(n) + u' ' + (n == 1 ? one : many);
}

} // namespace

QString periodText(const QDate &first, const QDate &last) {
    if (!first.isValid()) return QStringLiteral("–");
    return german::date(first) + QStringLiteral(" bis ") + german::date(last);
}

QString fileDescription(const SourceFile &f) {
    return formatName(f) + QStringLiteral(", ") + periodText(f.first, f.last);
}

QString foundText(const Totals &t) {
    QString text = countText(t.found, QStringLiteral("Messwert"), QStringLiteral("Messwerte"));
    QStringList parts;
    for (int s = 0; s < kSourceCount; ++s)
        if (t.bySource[s] > 0)
            parts << sourceName(Source(s)) + u' ' + QString::number(t.bySource[s]);
    if (t.outsideMeasuring > 0)
        parts << QStringLiteral("außerhalb des Sensor-Messbereichs %1").arg(t.outsideMeasuring);
    if (!parts.isEmpty()) text += QStringLiteral(" (") + parts.join(QStringLiteral(", ")) + u')';
    return text;
}

QString skippedText(const Totals &t) {
    if (t.skipped() == 0) return {};
    QStringList parts;
    const std::pair<int, QString> reasons[] = {
        {t.sensorLeftOut, QStringLiteral("Sensorwerte nicht gewählt")},
        {t.superseded, QStringLiteral("ein passenderer Wert im selben Messzeitpunkt")},
        {t.outsideRange, QStringLiteral("außerhalb von 1 bis 500 mg/dl")},
        {t.outsideMeasuring, QStringLiteral("außerhalb des Sensor-Messbereichs")},
        {t.otherRows, QStringLiteral("Einträge ohne Glukosewert")}};
    for (const auto &[n, why] : reasons)
        if (n > 0) parts << why + QStringLiteral(": ") + QString::number(n);
    return QStringLiteral("Übergangen: %1 (%2)")
        .arg(t.skipped())
        .arg(parts.join(QStringLiteral(", ")));
}

QString monthLine(const MonthPlan &m) {
    return QStringLiteral("%1 (%2%3): %4 neu, %5 doppelt, %6, %7 ohne Messzeitpunkt")
        .arg(m.title(), m.fileName(), m.exists ? QString() : QStringLiteral(", neue Tabelle"))
        .arg(m.added.size())
        .arg(m.duplicates)
        .arg(countText(int(m.conflicts.size()), QStringLiteral("Konflikt"),
                       QStringLiteral("Konflikte")))
        .arg(m.outside.size());
}

QStringList detailLines(const QList<MonthPlan> &months) {
    QStringList conflicts, outside;
    for (const MonthPlan &m : months) {
        for (const Conflict &c : m.conflicts) {
            const QString held = entryline::valueOf(c.existingLine).trimmed();
            const QString time = entryline::timeOf(c.existingLine).trimmed();
            conflicts << QStringLiteral("  %1 %2: in der Tabelle %3 mg/dl um %4, in der Datei "
                                        "%5 mg/dl um %6 (%7)")
                             .arg(german::date(c.reading.date),
                                  slotinfo::displayLabel(slotinfo::fromNumber(c.slot)), held,
                                  time.isEmpty() ? QStringLiteral("--:--") : time)
                             .arg(c.reading.mgdl)
                             .arg(clockText(c.reading.minute), sourceName(c.reading.source));
        }
        int sensor = 0;
        for (const Reading &r : m.outside) {
            if (isSensor(r.source))
                ++sensor;
            else
                outside << QStringLiteral("  ") + readingText(r);
        }
        if (sensor > 0)
            outside << QStringLiteral("  %1: %2 Sensorwerte").arg(m.title()).arg(sensor);
    }
    QStringList lines;
    if (!conflicts.isEmpty())
        lines << QStringLiteral("Konflikte (der Wert in der Tabelle bleibt):") << conflicts;
    if (!outside.isEmpty())
        lines << QStringLiteral("Ohne Messzeitpunkt (nicht übernommen):") << outside;
    return lines;
}

QStringList summary(const Plan &plan, const QList<MonthPlan> &months, const Totals &t, bool done) {
    QStringList lines;
    for (const SourceFile &f : plan.files)
        lines << QStringLiteral("Datei \"%1\": %2").arg(f.path, fileDescription(f));
    lines << QStringLiteral("Gefunden: ") + foundText(t);
    for (const MonthPlan &m : months)
        lines << monthLine(m);
    lines << (done ? QStringLiteral("Übernommen: %1") : QStringLiteral("Zu übernehmen: %1"))
                     .arg(t.imported) +
                 QStringLiteral(", doppelt: %1, Konflikte: %2, ohne Messzeitpunkt: %3")
                     .arg(t.duplicates)
                     .arg(t.conflicts)
                     .arg(t.outsideSlots);
    if (const QString skipped = skippedText(t); !skipped.isEmpty()) lines << skipped;
    lines << detailLines(months);
    return lines;
}

QByteArray json(const Plan &plan, const Totals &t, const QStringList &monthFiles) {
    QStringList formats;
    for (const SourceFile &f : plan.files)
        if (!formats.contains(formatKey(f.format))) formats << formatKey(f.format);
    QJsonArray months;
    for (const QString &m : monthFiles)
        months.append(QFileInfo(m).fileName());
    const QJsonObject o{{QStringLiteral("format"), formats.join(u',')},
                        {QStringLiteral("found"), t.found},
                        {QStringLiteral("imported"), t.imported},
                        {QStringLiteral("duplicates"), t.duplicates},
                        {QStringLiteral("conflicts"), t.conflicts},
                        {QStringLiteral("outside_slots"), t.outsideSlots},
                        {QStringLiteral("skipped"), t.skipped()},
                        {QStringLiteral("months"), months}};
    return QJsonDocument(o).toJson(QJsonDocument::Indented);
}

} // namespace importer
