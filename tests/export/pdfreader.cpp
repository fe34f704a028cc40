#include "pdfreader.h"

#include <QRegularExpression>
#include <QtEndian>

PdfReader::PdfReader(const QByteArray &file) : m_file(file) {
    if (!file.startsWith("%PDF-1.4\r\n")) m_errors << "no %PDF-1.4 header";
    if (!file.endsWith("%%EOF\r\n")) m_errors << "file does not end with %%EOF CR LF";
    const qsizetype sx = file.lastIndexOf("startxref\r\n");
    if (sx < 0) {
        m_errors << "no startxref";
        return;
    }
    const qsizetype numEnd = file.indexOf("\r\n", sx + 11);
    m_xref = file.mid(sx + 11, numEnd - sx - 11).toLongLong();
    if (file.mid(m_xref, 6) != "xref\r\n") {
        m_errors << QString("startxref %1 does not point at xref").arg(m_xref);
        return;
    }
    qsizetype pos = m_xref + 6;
    const qsizetype subEnd = file.indexOf("\r\n", pos);
    const QList<QByteArray> sub = file.mid(pos, subEnd - pos).split(' ');
    if (sub.size() != 2 || sub[0] != "0") {
        m_errors << "bad subsection line";
        return;
    }
    const int count = sub[1].toInt();
    pos = subEnd + 2;
    for (int k = 0; k < count; ++k) {
        const QByteArray entry = file.mid(pos + 20 * k, 20);
        if (entry.size() != 20 || !entry.endsWith("\r\n")) {
            m_errors << QString("entry %1 is not 20 bytes with CR LF").arg(k);
            return;
        }
        if (k == 0) {
            if (entry != "0000000000 65535 f\r\n") m_errors << "bad free entry";
            m_offsets << 0;
            continue;
        }
        static const QRegularExpression re("^(\\d{10}) 00000 n\r\n$");
        const auto m = re.match(QString::fromLatin1(entry));
        if (!m.hasMatch()) {
            m_errors << QString("bad entry %1: %2").arg(k).arg(QString::fromLatin1(entry));
            m_offsets << -1;
            continue;
        }
        const qint64 off = m.captured(1).toLongLong();
        m_offsets << off;
        const QByteArray head = QByteArray::number(k) + " 0 obj\r\n";
        if (file.mid(off, head.size()) != head)
            m_errors << QString("xref entry %1 (offset %2) does not point at \"%1 0 obj\"")
                            .arg(k)
                            .arg(off);
    }
    pos += 20 * count;
    const QByteArray trailer = file.mid(pos);
    static const QRegularExpression sizeRe("^trailer\r\n<< /Size (\\d+)\r\n");
    const auto m = sizeRe.match(QString::fromLatin1(trailer));
    if (!m.hasMatch())
        m_errors << "bad trailer";
    else
        m_size = m.captured(1).toInt();
}

qint64 PdfReader::dataStart(int n) const {
    if (n <= 0 || n >= m_offsets.size()) return -1;
    const qint64 off = m_offsets[n];
    const qsizetype end = m_file.indexOf("endobj\r\n", off);
    const qsizetype s = m_file.indexOf("\r\nstream\r\n", off);
    if (s < 0 || (end >= 0 && s > end)) return -1;
    return s + 10;
}

QStringList PdfReader::lines(int n) const {
    if (n <= 0 || n >= m_offsets.size()) return {};
    const qint64 off = m_offsets[n];
    const qint64 ds = dataStart(n);
    QByteArray text;
    if (ds < 0) {
        const qsizetype end = m_file.indexOf("endobj\r\n", off);
        text = m_file.mid(off, end + 6 - off);
    } else {
        text = m_file.mid(off, ds - off);
        const qsizetype es = m_file.indexOf("endstream\r\nendobj\r\n", ds + streamLength(n));
        text += "<data>\r\n" + m_file.mid(es, 17);
        if (es < 0) text.clear();
    }
    return QString::fromLatin1(text).split("\r\n");
}

qint64 PdfReader::streamLength(int n) const {
    const qint64 off = m_offsets[n];
    const qsizetype l = m_file.indexOf("/Length ", off);
    const qsizetype e = m_file.indexOf("\r\n", l);
    const QList<QByteArray> parts = m_file.mid(l + 8, e - l - 8).trimmed().split(' ');
    if (parts.size() >= 3 && parts[2] == "R") {
        const int lenObj = parts[0].toInt();
        if (lenObj <= 0 || lenObj >= m_offsets.size()) return -1;
        const qint64 lo = m_offsets[lenObj];
        const qsizetype a = m_file.indexOf("\r\n", lo) + 2;
        const qsizetype b = m_file.indexOf("\r\n", a);
        return m_file.mid(a, b - a).toLongLong();
    }
    return parts.value(0).toLongLong();
}

QByteArray PdfReader::stream(int n) const {
    const qint64 ds = dataStart(n);
    if (ds < 0) return {};
    return m_file.mid(ds, streamLength(n));
}

bool PdfReader::hasFilter(int n) const {
    const qint64 ds = dataStart(n);
    return ds >= 0 &&
           m_file.mid(m_offsets[n], ds - m_offsets[n]).contains("/Filter [/FlateDecode]");
}

QByteArray PdfReader::decodedStream(int n, qsizetype expectedSize) const {
    const QByteArray raw = stream(n);
    if (!hasFilter(n)) return raw;
    // qUncompress takes the size as a big-endian prefix and grows its buffer
    // when the size is too small.
    QByteArray prefixed(4, Qt::Uninitialized);
    qToBigEndian(quint32(expectedSize > 0 ? expectedSize : raw.size() * 4), prefixed.data());
    return qUncompress(prefixed + raw);
}
