#pragma once
#include <QByteArray>
#include <QString>
#include <QStringList>

#include "collection.h"

// The figures as text: German numbers for people (decimal comma, whatever
// the system's locale), JSON for programs, CSV for spreadsheets.
namespace stats {

// "143,5" from tenths; "–" for a figure that is not given.
QString german(const Tenths &t);
QString german(qint64 tenths);
// "12,5 %"; "–" for a share that is not given.
QString percentText(const Tenths &t);
// A figure in both units, the chosen one first: "143,5 mg/dl (8,0 mmol/l)"
// or "8,0 mmol/l (143,5 mg/dl)"; "–" when not given.
QString bothUnits(const Tenths &mgdl, const Tenths &mmol, GlucoseUnit unit);
// The same of a whole reading: "128 mg/dl (7,1 mmol/l)", "7,1 mmol/l (128 mg/dl)".
QString readingText(int mgdl, GlucoseUnit unit);
// A figure in tenths of the unit: "143,5" of mgdl or "8,0" of mmol.
QString inUnit(const Tenths &mgdl, const Tenths &mmol, GlucoseUnit unit);
// "05.03.2024".
QString dateText(const QDate &date);
// "248 an 31 Tagen", "1 an 1 Tag".
QString readingsOnDays(int readings, int days);
// "6,6 % (49 mmol/mol)"; "– (erst ab 30 Messwerten an 14 Tagen)" when not given.
QString ea1cText(const Figures &f);
// "– (erst ab 30 Messwerten)".
QString fromThirtyText();

// "im Zielbereich" etc.
QString bandName(Band b);
// The bounds of a band in a unit: "70–180 mg/dl", "3,9–10,0 mmol/l", "< 54 mg/dl".
QString bandBounds(Band b, GlucoseUnit unit);
// German caption of a band with its bounds in both units, the chosen one
// first, e.g. "im Zielbereich (70–180 mg/dl / 3,9–10,0 mmol/l)".
QString bandCaption(Band b, GlucoseUnit unit);
// "> 70 %" etc. and the caption of what the target speaks of.
QString targetText(Target t);
QString targetCaption(Target t);
// "Messung 2" etc.
QString slotCaption(MeasurementSlot s);

// Whether a target is met; below kMinReadingsForVerdict readings there is no verdict.
enum class Verdict { Met, Missed, TooFew };
Verdict verdictOf(const Figures &f, Target t);
// "erreicht", "nicht erreicht", "zu wenige Messwerte für eine Bewertung".
QString verdictText(Verdict v);

// The compared figures: caption ("Mittelwert"), value of a period ("143,5
// mg/dl"; "–" when not given) and the change ("+5,2 mg/dl", "-1,0
// Prozentpunkte", "±0"; "–" when not marked), values and bounds in the unit.
QString comparedCaption(Compared what, GlucoseUnit unit);
QString comparedValue(const Figures &f, Compared what, GlucoseUnit unit);
// `change` in tenths of mg/dl for the mean and the standard deviation.
QString changeText(const Tenths &change, Compared what, GlucoseUnit unit);

// The percentile captions "5 %", …, "Median", …, "95 %", and the rule.
QString percentileCaption(Percentile p);
QString percentileRule();
// "Morgens (07:30)": the slot with its typical clock time, when known.
QString slotWithTime(const SlotFigures &s);
// A slot's percentiles, least and largest reading and, below the readings a
// median needs, the readings themselves, in the unit: "143,5", "120,5–160,0"
// ("–" when not given), "95–180", {"95", "120"}.
QString percentileText(const SlotFigures &s, Percentile p, GlucoseUnit unit);
QString percentileRange(const SlotFigures &s, Percentile lo, Percentile hi, GlucoseUnit unit);
QString minMaxText(const SlotFigures &s, GlucoseUnit unit);
QStringList slotValues(const SlotFigures &s, GlucoseUnit unit);

// The figures of a collection as German lines in its unit (the "stats"
// command and the window's copy).
QStringList germanLines(const Collection &c);

// One JSON object with the keys readings, days_with_readings, mean_mgdl,
// sd_mgdl, cv_percent, bands_percent, hypo_level1, hypo_level2, ea1c_percent,
// ea1c_mmol_mol, slots, tables, period, profile, previous and months; numbers
// with a point, null for figures not given.
QByteArray json(const Collection &c);

// The readings as CSV: UTF-8 with byte-order mark, ";" between the fields,
// CR LF after each row, a header row "Datum;Uhrzeit;Messung;mg/dl;mmol/l",
// then one row per reading in date and slot order.
QByteArray csv(const QList<Reading> &readings);
// Writes the CSV file safely; false with a German *error.
bool writeCsv(const QString &path, const QList<Reading> &readings, QString *error);

} // namespace stats
