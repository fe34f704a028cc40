#pragma once
#include <QDate>
#include <QList>
#include <QString>

#include "fieldparse.h"

// A file of readings from a meter's or portal's export, recognised by its
// content, and the readings found in it.
namespace importer {

enum class Format { LibreView, Clarity, MyLife, Nightscout, GlykovalinCsv, MappedCsv };

// Where a reading comes from; the order is the rank when several readings
// compete for one slot.
enum class Source { Blood, Scan, History };
constexpr int kSourceCount = 3;
inline bool isSensor(Source s) {
    return s != Source::Blood;
}
// "Blutzucker", "Sensor-Scan", "Sensor-Verlauf".
QString sourceName(Source s);

struct Reading {
    QDate date;
    int minute = -1; // minute of the day; -1 when the file gives no time
    int mgdl = 0;
    Source source = Source::Blood;
    int slot = 0; // the slot the file names (our own export), 1..8; 0: by the time
    int line = 0; // the line in the file where the reading stands
};

// Which columns of an unknown CSV file hold what, as the user chose them.
struct ColumnMapping;

struct SourceFile {
    QString path;
    Format format = Format::LibreView;
    bool german = false;          // the file's language, where the format has two
    QList<Reading> readings;      // the readings with a value of 1 to 500 mg/dl, in file order
    int found[kSourceCount] = {}; // readings in the file by source, whatever their value
    int outsideRange = 0;         // readings with a value outside 1 to 500 mg/dl
    int outsideMeasuring = 0;     // sensor rows "Low"/"High": outside what the sensor measures
    int otherRows = 0;            // rows that hold no reading (insulin, notes, other events)
    QDate first, last;            // the period of the readings

    int foundTotal() const { return found[0] + found[1] + found[2] + outsideMeasuring; }
};

// The key of a format in the command's JSON: "libreview", "clarity",
// "mylife", "nightscout", "glykovalin-csv" ("csv" for a mapped file).
QString formatKey(Format f);
// The German name shown to the user, with the language where it has two:
// "LibreView (deutsch)".
QString formatName(const SourceFile &f);

enum class ReadStatus {
    Read,         // a known format, read completely
    UnknownCsv,   // a delimited text of no known format: columns can be mapped
    Unreadable,   // cannot be opened
    Unrecognised, // no file of readings at all
    Damaged       // a known format with a row that cannot be read
};

struct ReadResult {
    ReadStatus status = ReadStatus::Unreadable;
    QString error; // German, naming the file and what was expected
    explicit operator bool() const { return status == ReadStatus::Read; }
};

// Reads a file, recognising its format by its content. A file of no known
// format gives UnknownCsv when it is a delimited text, else Unrecognised.
ReadResult readFile(const QString &path, SourceFile &out);
// The same for bytes already read; `path` names them in messages.
ReadResult readBytes(const QString &path, const QByteArray &bytes, SourceFile &out);
// An unknown CSV file read with the user's choice of columns.
ReadResult readMapped(const QString &path, const QByteArray &bytes, const ColumnMapping &mapping,
                      SourceFile &out);

// The sentence of an unrecognised file.
QString unrecognisedMessage(const QString &path);

} // namespace importer
