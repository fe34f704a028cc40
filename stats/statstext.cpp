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

} // namespace

QString german(qint64 tenths) {
    return tenthsText(tenths, u',');
}

QString german(const Tenths &t) {
    return t ? german(*t) : QStringLiteral("–");
}

QString percentText(const Tenths &t) {
    return t ? german(t) + QStringLiteral(" %") : QStringLiteral("–");
}

namespace {
// The unit that is not the chosen one, for the brackets.
GlucoseUnit otherUnit(GlucoseUnit unit) {
    return unit == GlucoseUnit::MmolL ? GlucoseUnit::MgDl : GlucoseUnit::MmolL;
}
QString unitSuffix(GlucoseUnit unit) {
    return u' ' + glucoseunit::unitText(unit);
}
} // namespace

QString inUnit(const Tenths &mgdl, const Tenths &mmol, GlucoseUnit unit) {
    return german(unit == GlucoseUnit::MmolL ? mmol : mgdl);
}

QString bothUnits(const Tenths &mgdl, const Tenths &mmol, GlucoseUnit unit) {
    if (!mgdl) return QStringLiteral("–");
    return inUnit(mgdl, mmol, unit) + unitSuffix(unit) + QStringLiteral(" (") +
           inUnit(mgdl, mmol, otherUnit(unit)) + unitSuffix(otherUnit(unit)) + u')';
}

QString readingText(int mgdl, GlucoseUnit unit) {
    const GlucoseUnit other = otherUnit(unit);
    return glucoseunit::withUnit(mgdl, unit) + QStringLiteral(" (") +
           glucoseunit::withUnit(mgdl, other) + u')';
}

QString dateText(const QDate &date) {
    int y = 0, m = 0, d = 0;
    date.getDate(&y, &m, &d);
    if (!date.isValid() || y < 0 || y > 9999) return date.toString(QStringLiteral("dd.MM.yyyy"));
    const char16_t text[] = {
        char16_t(u'0' + d / 10),   char16_t(u'0' + d % 10),       u'.',
        char16_t(u'0' + m / 10),   char16_t(u'0' + m % 10),       u'.',
        char16_t(u'0' + y / 1000), char16_t(u'0' + y / 100 % 10), char16_t(u'0' + y / 10 % 10),
        char16_t(u'0' + y % 10)};
    return QString(reinterpret_cast<const QChar *>(text), 10);
}

namespace {
struct BandWords {
    const char *name, *mgdl, *mmol;
};
// By Band: VeryLow, Low, InRange, High, VeryHigh.
constexpr BandWords kBandWords[] = {{"sehr niedrig", "< 54", "< 3,0"},
                                    {"niedrig", "54–69", "3,0–3,8"},
                                    {"im Zielbereich", "70–180", "3,9–10,0"},
                                    {"hoch", "181–250", "10,1–13,9"},
                                    {"sehr hoch", "> 250", "> 13,9"}};
} // namespace

QString bandName(Band b) {
    return QString::fromUtf8(kBandWords[b].name);
}

QString bandBounds(Band b, GlucoseUnit unit) {
    const BandWords &w = kBandWords[b];
    return QString::fromUtf8(unit == GlucoseUnit::MmolL ? w.mmol : w.mgdl) + unitSuffix(unit);
}

QString bandCaption(Band b, GlucoseUnit unit) {
    return bandName(b) + QStringLiteral(" (") + bandBounds(b, unit) + QStringLiteral(" / ") +
           bandBounds(b, otherUnit(unit)) + u')';
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
    static const std::array<QString, slotinfo::kCount> captions = [] {
        std::array<QString, slotinfo::kCount> c;
        for (int n = 1; n <= slotinfo::kCount; ++n)
            c[size_t(n - 1)] = slotinfo::displayLabel(slotinfo::fromNumber(n));
        return c;
    }();
    return captions[size_t(slotinfo::number(s) - 1)];
}

QString readingsOnDays(int readings, int days) {
    return QStringLiteral("%1 an %2 %3")
        .arg(readings)
        .arg(days)
        .arg(days == 1 ? QStringLiteral("Tag") : QStringLiteral("Tagen"));
}

QString fromThirtyText() {
    return QStringLiteral("– (erst ab %1 Messwerten)").arg(kMinReadingsForSpread);
}

QString ea1cText(const Figures &f) {
    if (!f.ea1cPercent)
        return QStringLiteral("– (erst ab %1 Messwerten an %2 Tagen)")
            .arg(kMinReadingsForSpread)
            .arg(kMinDaysForEa1c);
    return german(f.ea1cPercent) + QStringLiteral(" % (") + QString::number(*f.ea1cMmolMol) +
           QStringLiteral(" mmol/mol)");
}

Verdict verdictOf(const Figures &f, Target t) {
    if (!f.judged()) return Verdict::TooFew;
    return f.met(t) ? Verdict::Met : Verdict::Missed;
}

QString verdictText(Verdict v) {
    switch (v) {
    case Verdict::Met:
        return QStringLiteral("erreicht");
    case Verdict::Missed:
        return QStringLiteral("nicht erreicht");
    case Verdict::TooFew:
        break;
    }
    return QStringLiteral("zu wenige Messwerte für eine Bewertung");
}

namespace {

enum class Unit { Count, Mgdl, Percent };

Unit unitOf(Compared what) {
    switch (what) {
    case Compared::Readings:
    case Compared::HypoLevel1:
    case Compared::HypoLevel2:
        return Unit::Count;
    case Compared::Mean:
    case Compared::Sd:
        return Unit::Mgdl;
    default:
        return Unit::Percent;
    }
}

} // namespace

QString comparedCaption(Compared what, GlucoseUnit unit) {
    auto share = [unit](Band b) {
        return bandName(b) + QStringLiteral(" (") + bandBounds(b, unit) + u')';
    };
    switch (what) {
    case Compared::Readings:
        return QStringLiteral("Messwerte");
    case Compared::Mean:
        return QStringLiteral("Mittelwert");
    case Compared::Sd:
        return QStringLiteral("Standardabweichung");
    case Compared::Cv:
        return QStringLiteral("Variationskoeffizient");
    case Compared::VeryHighShare:
        return share(VeryHigh);
    case Compared::HighShare:
        return share(High);
    case Compared::InRangeShare:
        return share(InRange);
    case Compared::LowShare:
        return share(Low);
    case Compared::VeryLowShare:
        return share(VeryLow);
    case Compared::HypoLevel1:
        return QStringLiteral("Unterzuckerungen Stufe 1");
    case Compared::HypoLevel2:
        return QStringLiteral("Unterzuckerungen Stufe 2");
    case Compared::Ea1c:
        return QStringLiteral("Geschätzter HbA1c (eA1c)");
    }
    return {};
}

QString comparedValue(const Figures &f, Compared what, GlucoseUnit unit) {
    const Tenths v = valueOf(f, what);
    if (!v || (unitOf(what) != Unit::Count && f.readings == 0)) return QStringLiteral("–");
    switch (unitOf(what)) {
    case Unit::Count:
        return QString::number(*v / 10);
    case Unit::Mgdl:
        return inUnit(v, what == Compared::Mean ? f.meanMmol : f.sdMmol, unit) + unitSuffix(unit);
    case Unit::Percent:
        break;
    }
    return german(v) + QStringLiteral(" %");
}

QString changeText(const Tenths &change, Compared what, GlucoseUnit unit) {
    if (!change) return QStringLiteral("–");
    qint64 c = *change;
    // A change of mg/dl in mmol/l, signed by what is shown.
    if (unitOf(what) == Unit::Mgdl && unit == GlucoseUnit::MmolL)
        c = glucoseunit::mmolTenthsOfTenths(c);
    const QString sign = c > 0   ? QStringLiteral("+")
                         : c < 0 ? QStringLiteral("-")
                                 : QStringLiteral("±");
    const qint64 a = c < 0 ? -c : c;
    switch (unitOf(what)) {
    case Unit::Count:
        return sign + QString::number(a / 10);
    case Unit::Mgdl:
        return sign + german(a) + unitSuffix(unit);
    case Unit::Percent:
        break;
    }
    return sign + german(a) + QStringLiteral(" %-Punkte");
}

QString percentileCaption(Percentile p) {
    if (p == P50) return QStringLiteral("Median");
    return QString::number(kPercent[p]) + QStringLiteral(" %");
}

QString percentileRule() {
    return QStringLiteral("Median ab %1, 25–75 % ab %2, 10–90 % ab %3, 5–95 % ab %4 Messwerten "
                          "einer Messzeit; darunter nur die Werte selbst")
        .arg(kMinReadingsFor[P50])
        .arg(kMinReadingsFor[P25])
        .arg(kMinReadingsFor[P10])
        .arg(kMinReadingsFor[P5]);
}

QString slotWithTime(const SlotFigures &s) {
    const QString time = s.typicalTime();
    return slotCaption(s.slot) + (time.isEmpty() ? QString() : QStringLiteral(" (") + time + u')');
}

QString percentileText(const SlotFigures &s, Percentile p, GlucoseUnit unit) {
    return inUnit(s.mgdl[p], s.mmol[p], unit);
}

QString percentileRange(const SlotFigures &s, Percentile lo, Percentile hi, GlucoseUnit unit) {
    if (!s.mgdl[lo] || !s.mgdl[hi]) return QStringLiteral("–");
    return percentileText(s, lo, unit) + QStringLiteral("–") + percentileText(s, hi, unit);
}

QString minMaxText(const SlotFigures &s, GlucoseUnit unit) {
    return glucoseunit::valueText(s.min, unit) + QStringLiteral("–") +
           glucoseunit::valueText(s.max, unit);
}

QStringList slotValues(const SlotFigures &s, GlucoseUnit unit) {
    QStringList values;
    for (int v : s.values)
        values << glucoseunit::valueText(v, unit);
    return values;
}

namespace {

void addTargetLines(QStringList &l, const Figures &f, GlucoseUnit unit) {
    l << QStringLiteral("Anteile der Messwerte (Ziele nach internationalem Konsens, bewertet ab "
                        "%1 Messwerten):")
             .arg(kMinReadingsForVerdict);
    auto targetNote = [&f](Target t) {
        return QStringLiteral("  – Ziel ") + targetText(t) + QStringLiteral(": ") +
               verdictText(verdictOf(f, t));
    };
    l << QStringLiteral("  ") + bandCaption(VeryLow, unit) + QStringLiteral(": ") +
             percentText(f.bands[VeryLow]) + targetNote(Target::VeryLow);
    l << QStringLiteral("  ") + bandCaption(Low, unit) + QStringLiteral(": ") +
             percentText(f.bands[Low]);
    l << QStringLiteral("  niedrig und sehr niedrig zusammen: ") + percentText(f.lowAll) +
             targetNote(Target::LowAll);
    l << QStringLiteral("  ") + bandCaption(InRange, unit) + QStringLiteral(": ") +
             percentText(f.bands[InRange]) + targetNote(Target::InRange);
    l << QStringLiteral("  ") + bandCaption(High, unit) + QStringLiteral(": ") +
             percentText(f.bands[High]);
    l << QStringLiteral("  ") + bandCaption(VeryHigh, unit) + QStringLiteral(": ") +
             percentText(f.bands[VeryHigh]) + targetNote(Target::VeryHigh);
    l << QStringLiteral("  hoch und sehr hoch zusammen: ") + percentText(f.highAll) +
             targetNote(Target::HighAll);
}

void addComparisonLines(QStringList &l, const Collection &c) {
    const GlucoseUnit unit = c.unit;
    l << QStringLiteral("Vergleich mit dem Zeitraum davor (%1):").arg(c.previousPeriodName());
    if (!c.previous.exists()) {
        l << QStringLiteral("  keine Tabelle in diesem Zeitraum");
        return;
    }
    l << QStringLiteral("  (Änderung nur, wo beide Zeiträume genug Messwerte haben: ab %1)")
             .arg(kMinReadingsForVerdict);
    for (Compared what : kCompared)
        l << QStringLiteral("  %1: %2, davor %3, Änderung %4")
                 .arg(comparedCaption(what, unit), comparedValue(c.figures, what, unit),
                      comparedValue(c.previous.figures, what, unit),
                      changeText(change(c.figures, c.previous.figures, what), what, unit));
}

void addProfileLines(QStringList &l, const Figures &f, GlucoseUnit unit) {
    l << QStringLiteral("Tagesprofil (Perzentile je Messzeit, ") + glucoseunit::unitText(unit) +
             QStringLiteral("; ") + percentileRule() + QStringLiteral("):");
    if (f.perSlot.isEmpty()) l << QStringLiteral("  keine Messwerte");
    for (const SlotFigures &s : f.perSlot) {
        QString line = QStringLiteral("  %1: n=%2").arg(slotWithTime(s)).arg(s.readings);
        if (!s.mgdl[P50]) {
            line += QStringLiteral(", nur die Werte: ") +
                    slotValues(s, unit).join(QStringLiteral(", "));
        } else {
            line += QStringLiteral(", Median %1, 25–75 %: %2, 10–90 %: %3, 5–95 %: %4")
                        .arg(percentileText(s, P50, unit), percentileRange(s, P25, P75, unit),
                             percentileRange(s, P10, P90, unit), percentileRange(s, P5, P95, unit));
        }
        line += QStringLiteral(", Min–Max: ") + minMaxText(s, unit);
        l << line;
    }
}

void addTrendLines(QStringList &l, const Collection &c) {
    l << QStringLiteral("Verlauf je Monat (Mittelwert; eA1c ab %1 Messwerten an %2 Tagen):")
             .arg(kMinReadingsForSpread)
             .arg(kMinDaysForEa1c);
    for (const MonthPoint &m : c.months) {
        QString line = QStringLiteral("  ") + monthName(m.key) + QStringLiteral(": ");
        if (!m.hasTable && m.readings == 0)
            line += QStringLiteral("keine Tabelle");
        else if (m.readings == 0)
            line += QStringLiteral("keine Messwerte");
        else
            line += QStringLiteral("%1 Messwerte, Mittelwert %2, eA1c %3")
                        .arg(m.readings)
                        .arg(inUnit(m.mean, m.meanMmol, c.unit) + unitSuffix(c.unit),
                             m.ea1cPercent ? german(m.ea1cPercent) + QStringLiteral(" %")
                                           : QStringLiteral("–"));
        l << line;
    }
}

} // namespace

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
    l << QStringLiteral("Messwerte: ") + readingsOnDays(f.readings, f.daysWithReadings);
    const GlucoseUnit unit = c.unit;
    l << QStringLiteral("Mittelwert: ") + bothUnits(f.mean, f.meanMmol, unit);
    l << QStringLiteral("Standardabweichung: ") +
             (f.sd ? bothUnits(f.sd, f.sdMmol, unit) : fromThirtyText());
    l << QStringLiteral("Variationskoeffizient: ") + (f.cv ? percentText(f.cv) : fromThirtyText());
    l << QStringLiteral(
             "Geschätzter HbA1c (eA1c, aus dem Mittelwert berechnet, kein Laborwert): ") +
             ea1cText(f);
    l << QString();
    addTargetLines(l, f, unit);
    l << QString();
    if (c.previous.firstMonth >= 0) {
        addComparisonLines(l, c);
        l << QString();
    }
    addProfileLines(l, f, unit);
    if (!c.months.isEmpty()) {
        l << QString();
        addTrendLines(l, c);
    }
    l << QString();
    l << QStringLiteral("Unterzuckerungen: Stufe 1 (%1): %2, Stufe 2 (%3): %4")
             .arg(bandBounds(Low, unit))
             .arg(f.hypoLevel1)
             .arg(bandBounds(VeryLow, unit))
             .arg(f.hypoLevel2);
    // Twenty years hold thousands of them: put together without formatting.
    const QString gap = QStringLiteral("  ");
    for (const Reading &r : f.hypos) {
        QString line;
        line.reserve(64);
        line += gap;
        line += dateText(r.date);
        line += gap;
        line += slotCaption(r.slot);
        line += gap;
        line += r.minute < 0 ? QStringLiteral("--:--") : r.timeText();
        line += gap;
        line += readingText(r.mgdl, unit);
        line += r.mgdl < 54 ? QStringLiteral("  Stufe 2") : QStringLiteral("  Stufe 1");
        l << line;
    }
    if (!c.notes.isEmpty()) {
        l << QString();
        for (const QString &n : c.notes)
            l << QStringLiteral("Hinweis: ") + n;
    }
    return l;
}

namespace {

QString jsonCount(qint64 n) {
    return QString::number(n);
}

// The figure keys of the top level, for a collection's figures.
QStringList figureFields(const Figures &f) {
    auto field = [](const char *key, const QString &value) {
        return QStringLiteral("\"") + QLatin1String(key) + QStringLiteral("\": ") + value;
    };
    QStringList slotList;
    for (const SlotFigures &s : f.perSlot)
        slotList << QStringLiteral("{\"slot\": %1, \"readings\": %2, \"median\": %3, \"p25\": %4, "
                                   "\"p75\": %5, \"min\": %6, \"max\": %7}")
                        .arg(jsonString(slotinfo::word(s.slot)))
                        .arg(s.readings)
                        .arg(jsonTenths(s.mgdl[P50]), jsonTenths(s.mgdl[P25]),
                             jsonTenths(s.mgdl[P75]))
                        .arg(s.min)
                        .arg(s.max);
    return {
        field("readings", jsonCount(f.readings)),
        field("days_with_readings", jsonCount(f.daysWithReadings)),
        field("mean_mgdl", jsonTenths(f.mean)),
        field("sd_mgdl", jsonTenths(f.sd)),
        field("cv_percent", jsonTenths(f.cv)),
        field("bands_percent", QStringLiteral("{\"very_low\": %1, \"low\": %2, \"in_range\": %3, "
                                              "\"high\": %4, \"very_high\": %5}")
                                   .arg(jsonTenths(f.bands[VeryLow]), jsonTenths(f.bands[Low]),
                                        jsonTenths(f.bands[InRange]), jsonTenths(f.bands[High]),
                                        jsonTenths(f.bands[VeryHigh]))),
        field("hypo_level1", jsonCount(f.hypoLevel1)),
        field("hypo_level2", jsonCount(f.hypoLevel2)),
        field("ea1c_percent", jsonTenths(f.ea1cPercent)),
        field("ea1c_mmol_mol",
              f.ea1cMmolMol ? QString::number(*f.ea1cMmolMol) : QStringLiteral("null")),
        field("slots", u'[' + slotList.join(QStringLiteral(", ")) + u']'),
    };
}

QString jsonList(const QStringList &items) {
    QStringList quoted;
    for (const QString &n : items)
        quoted << jsonString(n);
    return u'[' + quoted.join(QStringLiteral(", ")) + u']';
}

QString profileJson(const Figures &f) {
    QStringList slotList;
    for (const SlotFigures &s : f.perSlot) {
        QString item = QStringLiteral("    {\"slot\": %1, \"n\": %2")
                           .arg(jsonString(slotinfo::word(s.slot)))
                           .arg(s.readings);
        for (int p = 0; p < PercentileCount; ++p)
            item += QStringLiteral(", \"") +
                    (p == P50 ? QStringLiteral("median")
                              : QStringLiteral("p") + QString::number(kPercent[p])) +
                    QStringLiteral("\": ") + jsonTenths(s.mgdl[p]);
        slotList << item + u'}';
    }
    return slotList.isEmpty() ? QStringLiteral("[]")
                              : QStringLiteral("[\n") + slotList.join(QStringLiteral(",\n")) +
                                    QStringLiteral("\n  ]");
}

QString monthsJson(const QList<MonthPoint> &months) {
    QStringList items;
    for (const MonthPoint &m : months)
        items << QStringLiteral("    {\"month\": \"%1\", \"readings\": %2, \"mean_mgdl\": %3, "
                                "\"ea1c_percent\": %4}")
                     .arg(m.isoMonth())
                     .arg(m.readings)
                     .arg(jsonTenths(m.mean), jsonTenths(m.ea1cPercent));
    return items.isEmpty() ? QStringLiteral("[]")
                           : QStringLiteral("[\n") + items.join(QStringLiteral(",\n")) +
                                 QStringLiteral("\n  ]");
}

} // namespace

QByteArray json(const Collection &c) {
    QStringList fields;
    fields << QStringLiteral("\"tables\": ") + jsonList(c.fileNames());
    fields << QStringLiteral("\"period\": ") + jsonString(c.period);
    fields << figureFields(c.figures);
    fields << QStringLiteral("\"profile\": ") + profileJson(c.figures);
    QString previous = QStringLiteral("null");
    if (c.previous.exists()) {
        QStringList p;
        p << QStringLiteral("\"tables\": ") + jsonList(c.previous.files);
        p << QStringLiteral("\"period\": ") +
                 jsonString(periodNumbers(c.previous.firstMonth, c.previous.lastMonth));
        p << figureFields(c.previous.figures);
        previous =
            QStringLiteral("{\n    ") + p.join(QStringLiteral(",\n    ")) + QStringLiteral("\n  }");
    }
    fields << QStringLiteral("\"previous\": ") + previous;
    fields << QStringLiteral("\"months\": ") + monthsJson(c.months);
    return (QStringLiteral("{\n  ") + fields.join(QStringLiteral(",\n  ")) +
            QStringLiteral("\n}\n"))
        .toUtf8();
}

QByteArray csv(const QList<Reading> &input) {
    QList<Reading> readings = input;
    sortByDateAndSlot(readings);
    QString t = QStringLiteral("Datum;Uhrzeit;Messung;mg/dl;mmol/l\r\n");
    for (const Reading &r : readings)
        t += r.date.toString(QStringLiteral("yyyy-MM-dd")) + u';' + r.timeText() + u';' +
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
