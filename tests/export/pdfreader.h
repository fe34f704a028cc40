#pragma once
#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

// Small reader for the PDF files the writer makes: follows the trailer to the
// cross-reference table and hands out objects, their lines and streams. Every
// check it cannot pass is reported in errors().
class PdfReader {
public:
    explicit PdfReader(const QByteArray &file);

    const QStringList &errors() const { return m_errors; }
    int size() const { return m_size; } // trailer /Size
    int xrefEntries() const { return int(m_offsets.size()); }

    // Text of object n from its "n 0 obj" line up to and including "endobj"
    // (stream data left out), split at CR LF.
    QStringList lines(int n) const;
    // Raw stream data of object n, its length taken from /Length (direct or
    // an indirect integer object).
    QByteArray stream(int n) const;
    // The same, inflated with zlib's uncompress when the object has a Filter.
    QByteArray decodedStream(int n, qsizetype expectedSize = 0) const;
    bool hasFilter(int n) const;

private:
    qint64 dataStart(int n) const;
    qint64 streamLength(int n) const;

    QByteArray m_file;
    QStringList m_errors;
    int m_size = 0;
    qint64 m_xref = -1;
    QList<qint64> m_offsets;
};
