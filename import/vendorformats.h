#pragma once
#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QStringView>

#include "readingfile.h"

// The readers of the known formats, behind readFile().
namespace importer::formats {

// Where the header row of a recognised delimited file is.
struct Header {
    Format format = Format::LibreView;
    QChar delimiter;
    int row = 0; // how many rows come before it
    bool german = false;
};
// The format of a delimited text by its header row among the first rows;
// false when none is known.
bool recognise(QStringView text, Header &header);

// Each reads the rows after the header into `out` (path, format and
// language are set by the caller).
ReadResult readLibreView(QStringView text, const Header &h, SourceFile &out);
ReadResult readClarity(QStringView text, const Header &h, SourceFile &out);
ReadResult readMyLife(QStringView text, const Header &h, SourceFile &out);
ReadResult readGlykovalinCsv(QStringView text, const Header &h, SourceFile &out);
// A JSON array of Nightscout entries; Unrecognised when the text is JSON
// but no such array.
ReadResult readNightscout(const QByteArray &utf8, SourceFile &out);

// Shared by the readers: counts a reading and keeps it when its value is a
// reading (1 to 500 mg/dl).
void addReading(SourceFile &out, const Reading &r);
// A broken row: the file, its format, the line and what was expected there.
ReadResult damaged(const SourceFile &f, int line, const QString &what);
// The field of a row, or an empty view when the row is shorter.
inline QStringView field(const QStringList &row, int index) {
    return index >= 0 && index < row.size() ? QStringView(row.at(index)).trimmed() : QStringView();
}
// The index of the first field equal to one of the names (or starting with
// it when `prefix`); -1 when none.
int column(const QStringList &header, std::initializer_list<const char16_t *> names,
           bool prefix = false);

} // namespace importer::formats
