#pragma once
#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include "fieldparse.h"

class SettingsStore;

namespace importer {

// Which columns of a CSV file of unknown form hold what, as the user chose
// them; columns count from 0, -1 is none.
struct ColumnMapping {
    int dateColumn = -1;   // the date, or date and time together
    int timeColumn = -1;   // -1: the date column holds the time too
    int valueColumn = -1;  // blood readings
    int sensorColumn = -1; // sensor values
    DateOrder order = DateOrder::DayMonthYear;
    bool mmol = false; // the values are in mmol/l, else mg/dl

    // A date column and at least one value column.
    bool isComplete() const { return dateColumn >= 0 && (valueColumn >= 0 || sensorColumn >= 0); }
    bool operator==(const ColumnMapping &) const = default;
};

// The first row of a CSV file (its header) and the rows after it.
struct CsvPreview {
    QChar delimiter;
    QStringList header;
    QList<QStringList> rows; // at most the number asked for
};
// False when the bytes are no delimited text.
bool previewOf(const QByteArray &bytes, CsvPreview &preview, int rows = 10);

// A first guess from the header's names and the first rows.
ColumnMapping guessMapping(const CsvPreview &preview);

// The mapping as kept in glykoval.ini ("Datum=0;Uhrzeit=1;Wert=3;Sensor=-1;
// Reihenfolge=TMJ;Einheit=mg/dl"), and back; false for a text that is no
// complete mapping.
QString mappingText(const ColumnMapping &m);
bool mappingFromText(const QString &text, ColumnMapping &m);

// Section of glykoval.ini that remembers a mapping per header.
inline const QString kMappingSection = QStringLiteral("ImportSpalten");
// The key of a header: "Kopf" and 16 hex digits of a hash of its fields.
QString mappingKey(const QStringList &header);
// The mapping remembered for the header; false when none (or no valid one) is.
bool rememberedMapping(const SettingsStore &settings, const QStringList &header, ColumnMapping &m);
// Remembers the mapping; false with the German reason when the file cannot be written.
bool rememberMapping(const SettingsStore &settings, const QStringList &header,
                     const ColumnMapping &m, QString *error = nullptr);

// "TT.MM.JJJJ", "MM/TT/JJJJ", "JJJJ-MM-TT".
QString orderName(DateOrder order);

} // namespace importer
