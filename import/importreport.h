#pragma once
#include <QByteArray>
#include <QString>
#include <QStringList>

#include "importplan.h"

// What an import found and did, in German for people and as JSON for programs.
namespace importer {

// "LibreView (deutsch), 01.03.2024 bis 29.05.2024".
QString fileDescription(const SourceFile &f);
// "01.03.2024 bis 29.05.2024"; "–" without readings.
QString periodText(const QDate &first, const QDate &last);
// "9000 Messwerte (Blutzucker 90, Sensor-Scan 270, Sensor-Verlauf 8640)".
QString foundText(const Totals &t);
// "Übergangen: 8700 (Sensorwerte nicht gewählt: 8610, …)"; empty when none.
QString skippedText(const Totals &t);
// "März 2024 (MM032024.tab, neue Tabelle): 93 neu, 1 doppelt, 0 Konflikte,
// 2 ohne Messzeitpunkt".
QString monthLine(const MonthPlan &m);
// The conflicts and the blood readings without a slot, one a line, and per
// month the number of sensor values without one.
QStringList detailLines(const QList<MonthPlan> &months);

// The whole summary. `done`: the months were written (else: a dry run).
QStringList summary(const Plan &plan, const QList<MonthPlan> &months, const Totals &totals,
                    bool done);

// One JSON object with the keys format, found, imported, duplicates,
// conflicts, outside_slots, skipped and months (the table file names).
QByteArray json(const Plan &plan, const Totals &totals, const QStringList &monthFiles);

} // namespace importer
