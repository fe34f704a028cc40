#include "columnmapping.h"

#include <QCryptographicHash>

#include "csvreader.h"
#include "readingfile.h"
#include "storage/settingsstore.h"
#include "vendorformats.h"

namespace importer {

bool previewOf(const QByteArray &bytes, CsvPreview &preview, int rows) {
    const QString text = decodeText(bytes);
    preview = CsvPreview();
    preview.delimiter = CsvReader::guessDelimiter(text);
    if (preview.delimiter.isNull()) return false;
    CsvReader reader(text, preview.delimiter);
    if (!reader.nextFilled(preview.header)) return false;
    for (QString &h : preview.header)
        h = h.trimmed();
    QStringList row;
    while (preview.rows.size() < rows && reader.next(row))
        preview.rows.append(row);
    return true;
}

namespace {

int columnNamed(const QStringList &header, std::initializer_list<const char *> words,
                int skip = -1) {
    for (int i = 0; i < header.size(); ++i) {
        if (i == skip) continue;
        for (const char *w : words)
            if (header.at(i).contains(QLatin1String(w), Qt::CaseInsensitive)) return i;
    }
    return -1;
}

const char *orderCode(DateOrder o) {
    switch (o) {
    case DateOrder::DayMonthYear:
        return "TMJ";
    case DateOrder::MonthDayYear:
        return "MTJ";
    case DateOrder::YearMonthDay:
        break;
    }
    return "JMT";
}

} // namespace

QString orderName(DateOrder order) {
    switch (order) {
    case DateOrder::DayMonthYear:
        return QStringLiteral("TT.MM.JJJJ");
    case DateOrder::MonthDayYear:
        return QStringLiteral("MM/TT/JJJJ");
    case DateOrder::YearMonthDay:
        break;
    }
    return QStringLiteral("JJJJ-MM-TT");
}

ColumnMapping guessMapping(const CsvPreview &p) {
    ColumnMapping m;
    m.dateColumn = columnNamed(p.header, {"zeitstempel", "timestamp"});
    if (m.dateColumn < 0) {
        m.dateColumn = columnNamed(p.header, {"datum", "date"});
        m.timeColumn = columnNamed(p.header, {"uhrzeit", "zeit", "time"}, m.dateColumn);
    }
    m.valueColumn = columnNamed(
        p.header, {"blutzucker", "glukose", "glucose", "wert", "value", "mg/dl", "mmol"});
    m.mmol = m.valueColumn >= 0 &&
             p.header.at(m.valueColumn).contains(QLatin1String("mmol"), Qt::CaseInsensitive);
    // The date order from the first rows: a four-digit year in front, or a
    // number over 12 in the first or second place.
    if (m.dateColumn >= 0)
        for (const QStringList &row : p.rows) {
            DateParts parts;
            int minute = 0;
            const QStringView cell = formats::field(row, m.dateColumn);
            if (!splitDate(cell, parts) && !splitTimestamp(cell, parts, minute)) continue;
            if (parts.yearFirst) {
                m.order = DateOrder::YearMonthDay;
                break;
            }
            if (parts.first > 12) break;
            if (parts.second > 12) {
                m.order = DateOrder::MonthDayYear;
                break;
            }
        }
    return m;
}

QString mappingText(const ColumnMapping &m) {
    return QStringLiteral("Datum=%1;Uhrzeit=%2;Wert=%3;Sensor=%4;Reihenfolge=%5;Einheit=%6")
        .arg(m.dateColumn)
        .arg(m.timeColumn)
        .arg(m.valueColumn)
        .arg(m.sensorColumn)
        .arg(QLatin1String(orderCode(m.order)))
        .arg(m.mmol ? QStringLiteral("mmol/l") : QStringLiteral("mg/dl"));
}

bool mappingFromText(const QString &text, ColumnMapping &out) {
    ColumnMapping m;
    int seen = 0;
    for (const QString &part : text.split(u';')) {
        const qsizetype eq = part.indexOf(u'=');
        if (eq < 0) return false;
        const QString key = part.left(eq).trimmed(), value = part.mid(eq + 1).trimmed();
        bool ok = true;
        const int number = value.toInt(&ok);
        if (key == u"Reihenfolge") {
            ok = true;
            if (value == u"TMJ")
                m.order = DateOrder::DayMonthYear;
            else if (value == u"MTJ")
                m.order = DateOrder::MonthDayYear;
            else if (value == u"JMT")
                m.order = DateOrder::YearMonthDay;
            else
                return false;
        } else if (key == u"Einheit") {
            if (value != u"mg/dl" && value != u"mmol/l") return false;
            m.mmol = value == u"mmol/l";
        } else if (!ok || number < -1 || number > 999) {
            return false;
        } else if (key == u"Datum") {
            m.dateColumn = number;
        } else if (key == u"Uhrzeit") {
            m.timeColumn = number;
        } else if (key == u"Wert") {
            m.valueColumn = number;
        } else if (key == u"Sensor") {
            m.sensorColumn = number;
        } else {
            return false;
        }
        ++seen;
    }
    if (seen != 6 || !m.isComplete()) return false;
    out = m;
    return true;
}

QString mappingKey(const QStringList &header) {
    const QByteArray hash =
        QCryptographicHash::hash(header.join(QChar(0x1F)).toUtf8(), QCryptographicHash::Sha1);
    return QStringLiteral("Kopf") + QString::fromLatin1(hash.left(8).toHex());
}

bool rememberedMapping(const SettingsStore &settings, const QStringList &header, ColumnMapping &m) {
    ColumnMapping stored;
    if (!mappingFromText(settings.read(kMappingSection, mappingKey(header)), stored)) return false;
    const int columns = int(header.size());
    if (stored.dateColumn >= columns || stored.timeColumn >= columns ||
        stored.valueColumn >= columns || stored.sensorColumn >= columns)
        return false;
    m = stored;
    return true;
}

bool rememberMapping(const SettingsStore &settings, const QStringList &header,
                     const ColumnMapping &m, QString *error) {
    return settings.write(kMappingSection, mappingKey(header), mappingText(m), error);
}

ReadResult readMapped(const QString &path, const QByteArray &bytes, const ColumnMapping &m,
                      SourceFile &out) {
    out = SourceFile();
    out.path = path;
    out.format = Format::MappedCsv;
    out.german = true;
    const QString text = decodeText(bytes);
    const QChar delimiter = CsvReader::guessDelimiter(text);
    if (delimiter.isNull() || !m.isComplete())
        return {ReadStatus::Unrecognised, unrecognisedMessage(path)};
    CsvReader reader(text, delimiter);
    QStringList row;
    reader.nextFilled(row); // the header
    const QString format =
        m.timeColumn >= 0 ? orderName(m.order) : orderName(m.order) + QStringLiteral(" HH:MM");
    while (reader.next(row)) {
        const int line = reader.lineNumber();
        const QStringView blood = formats::field(row, m.valueColumn);
        const QStringView sensor = formats::field(row, m.sensorColumn);
        if (blood.isEmpty() && sensor.isEmpty()) {
            ++out.otherRows;
            continue;
        }
        Reading r;
        r.line = line;
        DateParts parts;
        const QStringView date = formats::field(row, m.dateColumn);
        const bool dated =
            m.timeColumn >= 0
                ? splitDate(date, parts) && parseTime(formats::field(row, m.timeColumn), r.minute)
                : splitTimestamp(date, parts, r.minute);
        if (!dated || !dateOf(parts, m.order, r.date)) {
            const QString time =
                m.timeColumn >= 0 ? u' ' + formats::field(row, m.timeColumn).toString() : QString();
            return formats::damaged(out, line,
                                    QStringLiteral("\"%1\" ist kein Zeitpunkt der Form %2")
                                        .arg(date.toString() + time, format));
        }
        for (const auto &[cell, source] :
             {std::pair{blood, Source::Blood}, std::pair{sensor, Source::History}}) {
            if (cell.isEmpty()) continue;
            double v = 0;
            if (!parseNumber(cell, v))
                return formats::damaged(out, line,
                                        QStringLiteral("\"%1\" ist kein Messwert").arg(cell));
            r.source = source;
            r.mgdl = m.mmol ? mgdlOfMmol(v) : mgdlOf(v);
            formats::addReading(out, r);
        }
    }
    return {ReadStatus::Read, {}};
}

} // namespace importer
