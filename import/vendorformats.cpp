#include "vendorformats.h"

#include <QDateTime>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTimeZone>
#include <vector>

#include "csvreader.h"
#include "storage/entryline.h"

namespace importer::formats {

namespace {

// How many rows at the start of a file may come before the header row.
constexpr int kHeaderSearchRows = 30;

bool has(const QStringList &row, const char16_t *name) {
    return column(row, {name}) >= 0;
}

bool isGlykovalinHeader(const QStringList &row) {
    static const QStringList header = {QStringLiteral("Datum"), QStringLiteral("Uhrzeit"),
                                       QStringLiteral("Messung"), QStringLiteral("mg/dl"),
                                       QStringLiteral("mmol/l")};
    return row == header;
}

// The format of a header row.
bool formatOf(const QStringList &row, Header &h) {
    if (has(row, u"Device Timestamp") && has(row, u"Record Type")) {
        h.format = Format::LibreView;
        h.german = false;
    } else if (has(row, u"Gerätezeitstempel") && has(row, u"Aufzeichnungstyp")) {
        h.format = Format::LibreView;
        h.german = true;
    } else if (column(row, {u"Timestamp ("}, true) >= 0 && has(row, u"Event Type")) {
        h.format = Format::Clarity;
        h.german = false;
    } else if (column(row, {u"Zeitstempel ("}, true) >= 0 && has(row, u"Ereignisart")) {
        h.format = Format::Clarity;
        h.german = true;
    } else if (has(row, u"Tag") && has(row, u"Datum") && has(row, u"Uhrzeit") &&
               has(row, u"Ereignis") && has(row, u"Wert") && has(row, u"Einheit")) {
        h.format = Format::MyLife;
        h.german = true;
    } else {
        return false;
    }
    return true;
}

// A reader positioned after the header row; the header's fields in `header`.
CsvReader afterHeader(QStringView text, const Header &h, QStringList &header) {
    CsvReader reader(text, h.delimiter);
    for (int i = 0; i <= h.row; ++i)
        reader.next(header);
    for (QString &f : header)
        f = f.trimmed();
    return reader;
}

// Unit of a glucose column from its name: true for mmol/l.
bool isMmol(const QString &columnName) {
    return columnName.contains(QStringLiteral("mmol"), Qt::CaseInsensitive);
}

// The value of a field in mg/dl; false when it is no number.
bool valueOf(QStringView text, bool mmol, int &mgdl) {
    double v = 0;
    if (!parseNumber(text, v)) return false;
    mgdl = mmol ? mgdlOfMmol(v) : mgdlOf(v);
    return true;
}

QString notANumber(QStringView text) {
    return text.isEmpty() ? QStringLiteral("der Messwert fehlt")
                          : QStringLiteral("\"%1\" ist kein Messwert").arg(text);
}

// "Low" and "High" (German "Niedrig", "Hoch"): the sensor's value lies
// outside what it measures.
bool isOutsideMeasuring(QStringView value) {
    for (const char16_t *bound : {u"Low", u"High", u"Niedrig", u"Hoch"})
        if (value.compare(QStringView(bound), Qt::CaseInsensitive) == 0) return true;
    return false;
}

QString missingColumn(const QString &name) {
    return QStringLiteral("die Spalte \"%1\" fehlt in der Kopfzeile").arg(name);
}

} // namespace

int column(const QStringList &header, std::initializer_list<const char16_t *> names, bool prefix) {
    for (int i = 0; i < header.size(); ++i) {
        const QStringView f = QStringView(header.at(i)).trimmed();
        for (const char16_t *n : names)
            if (prefix ? f.startsWith(QStringView(n)) : f == QStringView(n)) return i;
    }
    return -1;
}

bool recognise(QStringView text, Header &header) {
    for (QChar delimiter : {QChar(u';'), QChar(u','), QChar(u'\t')}) {
        CsvReader reader(text, delimiter);
        QStringList row;
        for (int i = 0; i < kHeaderSearchRows && reader.next(row); ++i) {
            if (row.size() < 2) continue;
            header.delimiter = delimiter;
            header.row = i;
            if (i == 0 && isGlykovalinHeader(row)) {
                header.format = Format::GlykovalinCsv;
                header.german = true;
                return true;
            }
            if (formatOf(row, header)) return true;
        }
    }
    return false;
}

void addReading(SourceFile &out, const Reading &r) {
    ++out.found[int(r.source)];
    if (r.mgdl < 1 || r.mgdl > 500) {
        ++out.outsideRange;
    } else {
        out.readings.append(r);
    }
    if (!out.first.isValid() || r.date < out.first) out.first = r.date;
    if (!out.last.isValid() || r.date > out.last) out.last = r.date;
}

ReadResult damaged(const SourceFile &f, int line, const QString &what) {
    return {ReadStatus::Damaged,
            QStringLiteral("Die Datei \"%1\" (%2) ist beschädigt und wird nicht übernommen: "
                           "Zeile %3: %4.")
                .arg(f.path, formatName(f))
                .arg(line)
                .arg(what)};
}

ReadResult readLibreView(QStringView text, const Header &h, SourceFile &out) {
    QStringList header;
    CsvReader reader = afterHeader(text, h, header);
    const int ts = column(header, {u"Device Timestamp", u"Gerätezeitstempel"});
    const int type = column(header, {u"Record Type", u"Aufzeichnungstyp"});
    // Sensor history, sensor scan and test strip, by record type 0, 1 and 2.
    const int glucose[kSourceCount] = {
        column(header, {u"Strip Glucose ", u"Glukose-Teststreifen "}, true),
        column(header, {u"Scan Glucose ", u"Glukose-Scan "}, true),
        column(header, {u"Historic Glucose ", u"Glukosewert-Verlauf "}, true)};
    const QString glucoseNames[kSourceCount] = {
        h.german ? QStringLiteral("Glukose-Teststreifen") : QStringLiteral("Strip Glucose"),
        h.german ? QStringLiteral("Glukose-Scan") : QStringLiteral("Scan Glucose"),
        h.german ? QStringLiteral("Glukosewert-Verlauf") : QStringLiteral("Historic Glucose")};
    bool mmol[kSourceCount] = {};
    for (int s = 0; s < kSourceCount; ++s)
        if (glucose[s] >= 0) mmol[s] = isMmol(header.at(glucose[s]));

    // The order of day and month is known only once every row was seen.
    struct Pending {
        DateParts date;
        Reading reading;
    };
    std::vector<Pending> pending;
    bool firstOver12 = false, secondOver12 = false;
    QStringList row;
    while (reader.next(row)) {
        const int line = reader.lineNumber();
        const QStringView typeText = field(row, type);
        double typeNumber = -1;
        if (!parseNumber(typeText, typeNumber) || typeText.contains(u'.') ||
            typeText.contains(u','))
            return damaged(out, line,
                           QStringLiteral("\"%1\" ist kein Aufzeichnungstyp").arg(typeText));
        Source source;
        if (typeNumber == 0) {
            source = Source::History;
        } else if (typeNumber == 1) {
            source = Source::Scan;
        } else if (typeNumber == 2) {
            source = Source::Blood;
        } else {
            ++out.otherRows;
            continue;
        }
        const int s = int(source);
        if (glucose[s] < 0) return damaged(out, line, missingColumn(glucoseNames[s]));
        Pending p;
        p.reading.source = source;
        p.reading.line = line;
        const QStringView stamp = field(row, ts);
        if (!splitTimestamp(stamp, p.date, p.reading.minute))
            return damaged(out, line,
                           QStringLiteral("\"%1\" ist kein Zeitstempel der Form %2 HH:MM")
                               .arg(stamp, h.german ? QStringLiteral("TT-MM-JJJJ")
                                                    : QStringLiteral("MM-TT-JJJJ")));
        if (!valueOf(field(row, glucose[s]), mmol[s], p.reading.mgdl))
            return damaged(out, line, notANumber(field(row, glucose[s])));
        if (!p.date.yearFirst) {
            firstOver12 |= p.date.first > 12;
            secondOver12 |= p.date.second > 12;
        }
        pending.push_back(p);
    }
    if (firstOver12 && secondOver12)
        return damaged(out, reader.lineNumber(),
                       QStringLiteral("in den Zeitstempeln stehen Tag und Monat mal vorn, mal in "
                                      "der Mitte"));
    const DateOrder order = firstOver12    ? DateOrder::DayMonthYear
                            : secondOver12 ? DateOrder::MonthDayYear
                            : h.german     ? DateOrder::DayMonthYear
                                           : DateOrder::MonthDayYear;
    out.readings.reserve(qsizetype(pending.size()));
    for (Pending &p : pending) {
        if (!dateOf(p.date, order, p.reading.date))
            return damaged(out, p.reading.line, QStringLiteral("der Zeitstempel ist kein Datum"));
        addReading(out, p.reading);
    }
    return {ReadStatus::Read, {}};
}

ReadResult readClarity(QStringView text, const Header &h, SourceFile &out) {
    QStringList header;
    CsvReader reader = afterHeader(text, h, header);
    const int ts = column(header, {u"Timestamp (", u"Zeitstempel ("}, true);
    const int event = column(header, {u"Event Type", u"Ereignisart"});
    const int value = column(header, {u"Glucose Value (", u"Glukosewert ("}, true);
    const bool mmol = value >= 0 && isMmol(header.at(value));
    QStringList row;
    while (reader.next(row)) {
        const int line = reader.lineNumber();
        const QStringView stamp = field(row, ts);
        // Rows without a time hold the patient's and the device's data.
        if (stamp.isEmpty()) continue;
        if (field(row, event) != u"EGV") {
            ++out.otherRows;
            continue;
        }
        if (value < 0)
            return damaged(out, line,
                           missingColumn(h.german ? QStringLiteral("Glukosewert")
                                                  : QStringLiteral("Glucose Value")));
        const QStringView v = field(row, value);
        if (isOutsideMeasuring(v)) {
            ++out.outsideMeasuring;
            continue;
        }
        Reading r;
        r.source = Source::History;
        r.line = line;
        DateParts date;
        if (!splitTimestamp(stamp, date, r.minute) ||
            !dateOf(date, DateOrder::YearMonthDay, r.date))
            return damaged(
                out, line,
                QStringLiteral("\"%1\" ist kein Zeitstempel der Form JJJJ-MM-TTThh:mm:ss")
                    .arg(stamp));
        if (!valueOf(v, mmol, r.mgdl)) return damaged(out, line, notANumber(v));
        addReading(out, r);
    }
    return {ReadStatus::Read, {}};
}

ReadResult readMyLife(QStringView text, const Header &h, SourceFile &out) {
    QStringList header;
    CsvReader reader = afterHeader(text, h, header);
    const int date = column(header, {u"Datum"});
    const int time = column(header, {u"Uhrzeit"});
    const int event = column(header, {u"Ereignis"});
    const int value = column(header, {u"Wert"});
    const int unit = column(header, {u"Einheit"});
    QStringList row;
    while (reader.next(row)) {
        const int line = reader.lineNumber();
        if (field(row, event) != u"Blutzucker manuelle Eingabe") {
            ++out.otherRows;
            continue;
        }
        Reading r;
        r.source = Source::Blood;
        r.line = line;
        DateParts parts;
        if (!splitDate(field(row, date), parts) || !dateOf(parts, DateOrder::DayMonthYear, r.date))
            return damaged(
                out, line,
                QStringLiteral("\"%1\" ist kein Datum der Form TT.MM.JJ").arg(field(row, date)));
        if (!parseTime(field(row, time), r.minute))
            return damaged(
                out, line,
                QStringLiteral("\"%1\" ist keine Uhrzeit der Form HH:MM").arg(field(row, time)));
        const QStringView u = field(row, unit);
        const bool mmol = u.compare(u"mmol/L", Qt::CaseInsensitive) == 0;
        if (!mmol && u.compare(u"mg/dL", Qt::CaseInsensitive) != 0)
            return damaged(
                out, line,
                QStringLiteral("\"%1\" ist keine Einheit; erwartet wird mg/dL oder mmol/L").arg(u));
        if (!valueOf(field(row, value), mmol, r.mgdl))
            return damaged(out, line, notANumber(field(row, value)));
        addReading(out, r);
    }
    return {ReadStatus::Read, {}};
}

ReadResult readGlykovalinCsv(QStringView text, const Header &h, SourceFile &out) {
    QStringList header;
    CsvReader reader = afterHeader(text, h, header);
    QStringList row;
    while (reader.next(row)) {
        const int line = reader.lineNumber();
        Reading r;
        r.source = Source::Blood;
        r.line = line;
        DateParts parts;
        if (!splitDate(field(row, 0), parts) || !dateOf(parts, DateOrder::YearMonthDay, r.date))
            return damaged(
                out, line,
                QStringLiteral("\"%1\" ist kein Datum der Form JJJJ-MM-TT").arg(field(row, 0)));
        if (!field(row, 1).isEmpty() && !parseTime(field(row, 1), r.minute))
            return damaged(
                out, line,
                QStringLiteral("\"%1\" ist keine Uhrzeit der Form HH:MM").arg(field(row, 1)));
        MeasurementSlot slot{};
        if (!slotinfo::fromLabel(field(row, 2).toString(), slot))
            return damaged(out, line,
                           QStringLiteral("\"%1\" ist kein Messzeitpunkt").arg(field(row, 2)));
        r.slot = slotinfo::number(slot);
        if (!valueOf(field(row, 3), false, r.mgdl))
            return damaged(out, line, notANumber(field(row, 3)));
        addReading(out, r);
    }
    return {ReadStatus::Read, {}};
}

namespace {

// A number of a JSON value: a number or a text holding one.
bool jsonNumber(const QJsonValue &v, double &out) {
    if (v.isDouble()) {
        out = v.toDouble();
        return true;
    }
    return v.isString() && parseNumber(v.toString(), out);
}

// Epoch milliseconds of the years a reading may have.
constexpr double kFirstMs = -2208988800000.0; // 1900-01-01
constexpr double kLastMs = 32503680000000.0;  // 3000-01-01

} // namespace

ReadResult readNightscout(const QByteArray &utf8, SourceFile &out) {
    QJsonParseError error;
    const QJsonDocument doc = QJsonDocument::fromJson(utf8, &error);
    if (error.error != QJsonParseError::NoError)
        return {ReadStatus::Damaged,
                QStringLiteral("Die Datei \"%1\" ist keine gültige JSON-Datei (Fehler an Zeichen "
                               "%2: %3) und wird nicht übernommen. Erwartet wird eine Liste von "
                               "Nightscout-Einträgen.")
                    .arg(out.path)
                    .arg(error.offset)
                    .arg(error.errorString())};
    const QJsonArray entries = doc.array();
    bool objects = doc.isArray();
    for (const QJsonValue &e : entries)
        objects = objects && e.isObject();
    if (!objects)
        return {ReadStatus::Unrecognised,
                QStringLiteral("Die Datei \"%1\" ist eine JSON-Datei, aber keine Liste von "
                               "Nightscout-Einträgen (Objekte mit \"type\", \"date\" und \"sgv\" "
                               "oder \"mbg\").")
                    .arg(out.path)};
    int index = 0;
    for (const QJsonValue &e : entries) {
        ++index;
        const QJsonObject o = e.toObject();
        const QString type = o.value(QLatin1String("type")).toString();
        Reading r;
        r.line = index;
        if (type == u"sgv") {
            r.source = Source::History;
        } else if (type == u"mbg") {
            r.source = Source::Blood;
        } else {
            ++out.otherRows;
            continue;
        }
        double ms = 0, value = 0;
        const QJsonValue date = o.value(QLatin1String("date"));
        if (!date.isDouble() || !((ms = date.toDouble()) >= kFirstMs && ms < kLastMs))
            return {ReadStatus::Damaged,
                    QStringLiteral("Die Datei \"%1\" (Nightscout) ist beschädigt und wird nicht "
                                   "übernommen: Eintrag %2 hat keinen Zeitpunkt \"date\" in "
                                   "Millisekunden.")
                        .arg(out.path)
                        .arg(index)};
        if (!jsonNumber(o.value(type), value) || !(value >= 0 && value < 1e6))
            return {ReadStatus::Damaged,
                    QStringLiteral("Die Datei \"%1\" (Nightscout) ist beschädigt und wird nicht "
                                   "übernommen: Eintrag %2 hat keinen Messwert \"%3\".")
                        .arg(out.path)
                        .arg(index)
                        .arg(type)};
        const QDateTime local =
            QDateTime::fromMSecsSinceEpoch(qint64(ms), QTimeZone::utc()).toLocalTime();
        r.date = local.date();
        r.minute = local.time().hour() * 60 + local.time().minute();
        r.mgdl = mgdlOf(value);
        if (!r.date.isValid() || r.date.year() < kFirstYear || r.date.year() > kLastYear)
            return {ReadStatus::Damaged,
                    QStringLiteral("Die Datei \"%1\" (Nightscout) ist beschädigt und wird nicht "
                                   "übernommen: Eintrag %2 liegt außerhalb der Jahre %3 bis %4.")
                        .arg(out.path)
                        .arg(index)
                        .arg(kFirstYear)
                        .arg(kLastYear)};
        addReading(out, r);
    }
    return {ReadStatus::Read, {}};
}

} // namespace importer::formats
