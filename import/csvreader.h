#pragma once
#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QStringView>

namespace importer {

// A file's bytes as text: UTF-16 with its byte-order mark, UTF-8 with or
// without one when the bytes are valid UTF-8, anything else Windows-1252.
QString decodeText(const QByteArray &bytes);

// The rows of a delimited text one after the other. A field in double quotes
// may hold the delimiter, line breaks and doubled quotes; empty lines are
// passed over. Reading never fails: an unclosed quote runs to the end.
class CsvReader {
public:
    CsvReader(QStringView text, QChar delimiter) : m_text(text), m_delimiter(delimiter) {}

    // The fields of the next row; false after the last one.
    bool next(QStringList &fields);
    // The next row that is not blank (a header after blank lines).
    bool nextFilled(QStringList &fields);
    // The 1-based line on which the row last returned starts.
    int lineNumber() const { return m_rowLine; }

    // The delimiter of a file's first line that is not blank: the most
    // frequent of ";", "," and tab outside quotes (";" on a tie, nothing
    // when none occurs).
    static QChar guessDelimiter(QStringView text);

private:
    QStringView m_text;
    QChar m_delimiter;
    qsizetype m_pos = 0;
    int m_line = 1;
    int m_rowLine = 0;
};

} // namespace importer
