#include "statstext.h"

#include "platform/textfile.h"

namespace stats {

namespace {

QString tenthsText(qint64 tenths, QChar point) {
    const qint64 a = tenths < 0 ? -tenths : tenths;
    return (tenths < 0 ? QStringLiteral("-") : QString()) + QString::number(a / 10) + point +
           QString::number(a % 10);
}

QString jsonTenths(const Tenths &t) {
    return t ? tenthsText(*t, u'.') : QStringLiteral("null");
}

QString jsonString(const QString &s) {
    QString out = QStringLiteral("\"");
    for (QChar c : s) {
        if (c == u'"' || c == u'\\')
            out += u'\\' + QString(c);
        else if (c.unicode() < 0x20)
            out += QStringLiteral("\\u%1").arg(c.unicode(), 4, 16, QChar(u'0'));
        else
            out += c;
    }
    return out + u'"';
}

QString percent(const Tenths &t) {
    return t ? german(t) + QStringLiteral(" %") : QStringLiteral("–");
}

} // namespace

QString german(qint64 tenths) {
    return tenthsText(tenths, u',');
}

QString german(const Tenths &t) {
    return t ? german(*t) : QStringLiteral("–");
}

QString mgdlAndMmol(const Tenths &mgdl, const Tenths &mmol) {
    if (!mgdl) return QStringLiteral("–");
    return german(mgdl) + QStringLiteral(" mg/dl (") + german(mmol) + QStringLiteral(" mmol/l)");
}

QString readingText(int mgdl) {
    return QString::number(mgdl) + QStringLiteral(" mg/dl (") + german(mmolTenths(mgdl)) +
           QStringLiteral(" mmol/l)");
}

QString dateText(const QDate &date) {
    return date.toString(QStringLiteral("dd.MM.yyyy"));
}

QString bandCaption(Band b) {
    switch (b) {
    case VeryLow:
        return QStringLiteral("sehr niedrig (< 54 mg/dl / < 3,0 mmol/l)");
    case Low:
        return QStringLiteral("niedrig (54–69 mg/dl / 3,0–3,8 mmol/l)");
    case InRange:
        return QStringLiteral("im Zielbereich (70–180 mg/dl / 3,9–10,0 mmol/l)");
    case High:
        return QStringLiteral("hoch (181–250 mg/dl / 10,1–13,9 mmol/l)");
    default:
        return QStringLiteral("sehr hoch (> 250 mg/dl / > 13,9 mmol/l)");
    }
}

namespace {
struct TargetWords {
    const char *text, *caption;
};
// By Target: InRange, LowAll, VeryLow, HighAll, VeryHigh.
constexpr TargetWords kTargetWords[] = {{"> 70 %", "im Zielbereich"},
                                        {"< 4 %", "niedrig und sehr niedrig"},
                                        {"< 1 %", "sehr niedrig"},
                                        {"< 25 %", "hoch und sehr hoch"},
                                        {"< 5 %", "sehr hoch"}};
} // namespace

QString targetText(Target t) {
    return QString::fromUtf8(kTargetWords[int(t)].text);
}

QString targetCaption(Target t) {
    return QString::fromUtf8(kTargetWords[int(t)].caption);
}

QString slotCaption(MeasurementSlot s) {
    return slotinfo::displayLabel(s);
}

QStringList germanLines(const Collection &c) {
    const Figures &f = c.figures;
    QStringList l;
    l << QStringLiteral("Statistik der Blutzuckermesswerte");
    if (!c.userName.isEmpty()) l << QStringLiteral("Name: ") + c.userName;
    l << QStringLiteral("Zeitraum: ") + c.periodName() +
             (c.period.isEmpty() ? QString() : QStringLiteral(" (") + c.period + u')');
    l << QStringLiteral("Tabellen: ") + c.fileNames().join(QStringLiteral(", "));
    l << QStringLiteral("Anteile beziehen sich auf die Zahl der Messwerte (Blutzuckermessungen), "
                        "nicht auf die Zeit.");
    l << QString();
    l << QStringLiteral("Messwerte: %1 an %2 Tagen").arg(f.readings).arg(f.daysWithReadings);
    l << QStringLiteral("Mittelwert: ") + mgdlAndMmol(f.mean, f.meanMmol);
    const QString fromThirty =
        QStringLiteral("– (erst ab %1 Messwerten)").arg(kMinReadingsForSpread);
    l << QStringLiteral("Standardabweichung: ") + (f.sd ? mgdlAndMmol(f.sd, f.sdMmol) : fromThirty);
    l << QStringLiteral("Variationskoeffizient: ") + (f.cv ? percent(f.cv) : fromThirty);
    l << QStringLiteral(
             "Geschätzter HbA1c (eA1c, aus dem Mittelwert berechnet, kein Laborwert): ") +
             (f.ea1cPercent ? german(f.ea1cPercent) + QStringLiteral(" % (") +
                                  QString::number(*f.ea1cMmolMol) + QStringLiteral(" mmol/mol)")
                            : QStringLiteral("– (erst ab %1 Messwerten an %2 Tagen)")
                                  .arg(kMinReadingsForSpread)
                                  .arg(kMinDaysForEa1c));
    l << QString();
    l << QStringLiteral("Anteile der Messwerte (Ziele nach internationalem Konsens):");
    auto targetNote = [&f](Target t) {
        return QStringLiteral("  – Ziel ") + targetText(t) +
               (f.readings == 0 ? QString()
                : f.met(t)      ? QStringLiteral(": erreicht")
                                : QStringLiteral(": nicht erreicht"));
    };
    l << QStringLiteral("  ") + bandCaption(VeryLow) + QStringLiteral(": ") +
             percent(f.bands[VeryLow]) + targetNote(Target::VeryLow);
    l << QStringLiteral("  ") + bandCaption(Low) + QStringLiteral(": ") + percent(f.bands[Low]);
    l << QStringLiteral("  niedrig und sehr niedrig zusammen: ") + percent(f.lowAll) +
             targetNote(Target::LowAll);
    l << QStringLiteral("  ") + bandCaption(InRange) + QStringLiteral(": ") +
             percent(f.bands[InRange]) + targetNote(Target::InRange);
    l << QStringLiteral("  ") + bandCaption(High) + QStringLiteral(": ") + percent(f.bands[High]);
    l << QStringLiteral("  ") + bandCaption(VeryHigh) + QStringLiteral(": ") +
             percent(f.bands[VeryHigh]) + targetNote(Target::VeryHigh);
    l << QStringLiteral("  hoch und sehr hoch zusammen: ") + percent(f.highAll) +
             targetNote(Target::HighAll);
    l << QString();
    l << QStringLiteral("Tageszeiten (Median, 25–75 %, kleinster und größter Wert):");
    if (f.perSlot.isEmpty()) l << QStringLiteral("  keine Messwerte");
    for (const SlotFigures &s : f.perSlot)
        l << QStringLiteral("  %1: %2 Messwerte, Median %3 mg/dl (%4 mmol/l), 25–75 %: %5–%6 mg/dl "
                            "(%7–%8 mmol/l), Min–Max: %9–%10 mg/dl (%11–%12 mmol/l)")
                 .arg(slotCaption(s.slot))
                 .arg(s.readings)
                 .arg(german(s.median), german(s.medianMmol), german(s.p25), german(s.p75),
                      german(s.p25Mmol), german(s.p75Mmol))
                 .arg(s.min)
                 .arg(s.max)
                 .arg(german(s.minMmol), german(s.maxMmol));
    l << QString();
    l << QStringLiteral("Unterzuckerungen: Stufe 1 (54–69 mg/dl): %1, Stufe 2 (< 54 mg/dl): %2")
             .arg(f.hypoLevel1)
             .arg(f.hypoLevel2);
    for (const Reading &r : f.hypos)
        l << QStringLiteral("  %1  %2  %3  %4  Stufe %5")
                 .arg(dateText(r.date), slotCaption(r.slot),
                      r.time.isEmpty() ? QStringLiteral("--:--") : r.time, readingText(r.mgdl))
                 .arg(r.mgdl < 54 ? 2 : 1);
    if (!c.notes.isEmpty()) {
        l << QString();
        for (const QString &n : c.notes)
            l << QStringLiteral("Hinweis: ") + n;
    }
    return l;
}

QByteArray json(const Collection &c) {
    const Figures &f = c.figures;
    QString j = QStringLiteral("{\n");
    auto field = [&j](const char *key, const QString &value, bool last = false) {
        j += QStringLiteral("  \"") + QLatin1String(key) + QStringLiteral("\": ") + value +
             (last ? QStringLiteral("\n") : QStringLiteral(",\n"));
    };
    QStringList tables;
    for (const QString &n : c.fileNames())
        tables << jsonString(n);
    field("tables", u'[' + tables.join(QStringLiteral(", ")) + u']');
    field("period", jsonString(c.period));
    field("readings", QString::number(f.readings));
    field("days_with_readings", QString::number(f.daysWithReadings));
    field("mean_mgdl", jsonTenths(f.mean));
    field("sd_mgdl", jsonTenths(f.sd));
    field("cv_percent", jsonTenths(f.cv));
    field("bands_percent", QStringLiteral("{\"very_low\": %1, \"low\": %2, \"in_range\": %3, "
                                          "\"high\": %4, \"very_high\": %5}")
                               .arg(jsonTenths(f.bands[VeryLow]), jsonTenths(f.bands[Low]),
                                    jsonTenths(f.bands[InRange]), jsonTenths(f.bands[High]),
                                    jsonTenths(f.bands[VeryHigh])));
    field("hypo_level1", QString::number(f.hypoLevel1));
    field("hypo_level2", QString::number(f.hypoLevel2));
    field("ea1c_percent", jsonTenths(f.ea1cPercent));
    field("ea1c_mmol_mol",
          f.ea1cMmolMol ? QString::number(*f.ea1cMmolMol) : QStringLiteral("null"));
    QStringList slotList;
    for (const SlotFigures &s : f.perSlot)
        slotList << QStringLiteral(
                        "    {\"slot\": %1, \"readings\": %2, \"median\": %3, \"p25\": %4, "
                        "\"p75\": %5, \"min\": %6, \"max\": %7}")
                        .arg(jsonString(slotinfo::word(s.slot)))
                        .arg(s.readings)
                        .arg(tenthsText(s.median, u'.'), tenthsText(s.p25, u'.'),
                             tenthsText(s.p75, u'.'))
                        .arg(s.min)
                        .arg(s.max);
    field("slots",
          slotList.isEmpty() ? QStringLiteral("[]")
                             : QStringLiteral("[\n") + slotList.join(QStringLiteral(",\n")) +
                                   QStringLiteral("\n  ]"),
          true);
    j += QStringLiteral("}\n");
    return j.toUtf8();
}

QByteArray csv(const QList<Reading> &input) {
    QList<Reading> readings = input;
    sortByDateAndSlot(readings);
    QString t = QStringLiteral("Datum;Uhrzeit;Messung;mg/dl;mmol/l\r\n");
    for (const Reading &r : readings)
        t += r.date.toString(QStringLiteral("yyyy-MM-dd")) + u';' + r.time + u';' +
             slotCaption(r.slot) + u';' + QString::number(r.mgdl) + u';' +
             german(mmolTenths(r.mgdl)) + QStringLiteral("\r\n");
    return QByteArray("\xEF\xBB\xBF") + t.toUtf8();
}

bool writeCsv(const QString &path, const QList<Reading> &readings, QString *error) {
    QString why;
    if (textfile::writeBytes(path, csv(readings), &why)) return true;
    if (error)
        *error = QStringLiteral("Die CSV-Datei \"%1\" konnte nicht geschrieben werden.\n%2")
                     .arg(path, why);
    return false;
}

} // namespace stats
