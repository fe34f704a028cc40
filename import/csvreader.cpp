#include "csvreader.h"

#include <QStringDecoder>

#include "platform/win1252.h"

namespace importer {

QString decodeText(const QByteArray &bytes) {
    const QByteArrayView raw(bytes);
    if (raw.startsWith("\xFF\xFE")) return QStringDecoder(QStringDecoder::Utf16LE)(raw.sliced(2));
    if (raw.startsWith("\xFE\xFF")) return QStringDecoder(QStringDecoder::Utf16BE)(raw.sliced(2));
    const QByteArrayView body = raw.startsWith("\xEF\xBB\xBF") ? raw.sliced(3) : raw;
    QStringDecoder utf8(QStringDecoder::Utf8);
    QString text = utf8.decode(body);
    if (!utf8.hasError()) return text;
    return win1252::decode(body.toByteArray());
}

bool CsvReader::next(QStringList &fields) {
    fields.clear();
    const qsizetype n = m_text.size();
    // Empty lines between rows.
    while (m_pos < n && (m_text[m_pos] == u'\r' || m_text[m_pos] == u'\n')) {
        if (m_text[m_pos] == u'\n' ||
            (m_text[m_pos] == u'\r' && (m_pos + 1 >= n || m_text[m_pos + 1] != u'\n')))
            ++m_line;
        ++m_pos;
    }
    if (m_pos >= n) return false;
    m_rowLine = m_line;
    for (;;) {
        if (m_pos < n && m_text[m_pos] == u'"') {
            // Quoted field: up to the closing quote, "" stands for one quote.
            QString field;
            ++m_pos;
            qsizetype start = m_pos;
            for (;;) {
                if (m_pos >= n) {
                    field += m_text.sliced(start, m_pos - start);
                    break;
                }
                const QChar c = m_text[m_pos];
                if (c == u'\n') ++m_line;
                if (c != u'"') {
                    ++m_pos;
                    continue;
                }
                field += m_text.sliced(start, m_pos - start);
                ++m_pos;
                if (m_pos < n && m_text[m_pos] == u'"') {
                    start = m_pos;
                    ++m_pos;
                    continue;
                }
                break;
            }
            // Anything between the closing quote and the delimiter belongs to the field.
            const qsizetype rest = m_pos;
            while (m_pos < n && m_text[m_pos] != m_delimiter && m_text[m_pos] != u'\r' &&
                   m_text[m_pos] != u'\n')
                ++m_pos;
            field += m_text.sliced(rest, m_pos - rest);
            fields.append(field);
        } else {
            const qsizetype start = m_pos;
            while (m_pos < n && m_text[m_pos] != m_delimiter && m_text[m_pos] != u'\r' &&
                   m_text[m_pos] != u'\n')
                ++m_pos;
            fields.append(m_text.sliced(start, m_pos - start).toString());
        }
        if (m_pos < n && m_text[m_pos] == m_delimiter) {
            ++m_pos;
            continue;
        }
        // End of the row.
        if (m_pos < n && m_text[m_pos] == u'\r') ++m_pos;
        if (m_pos < n && m_text[m_pos] == u'\n') ++m_pos;
        ++m_line;
        return true;
    }
}

bool CsvReader::nextFilled(QStringList &fields) {
    while (next(fields))
        for (const QString &f : std::as_const(fields))
            if (!f.trimmed().isEmpty()) return true;
    return false;
}

QChar CsvReader::guessDelimiter(QStringView text) {
    int semicolons = 0, commas = 0, tabs = 0;
    bool quoted = false;
    // Blank lines before the first row do not count, as for the file's kind.
    for (QChar c : text.trimmed()) {
        if (c == u'"') quoted = !quoted;
        if (quoted) continue;
        if (c == u'\n' || c == u'\r') break;
        semicolons += c == u';';
        commas += c == u',';
        tabs += c == u'\t';
    }
    if (semicolons == 0 && commas == 0 && tabs == 0) return {};
    if (semicolons >= commas && semicolons >= tabs) return u';';
    return commas >= tabs ? QChar(u',') : QChar(u'\t');
}

} // namespace importer
