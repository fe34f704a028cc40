#include "profile.h"

#include <QFile>
#include <QFileInfo>
#include <QList>
#include <QStringDecoder>

#include "textfile.h"
#include "win1252.h"

namespace profile {

namespace {

struct RawLine {
    QByteArray text; // without line end
    QByteArray end;  // "\r\n", "\n", "\r" or empty
};

bool loadRaw(const QString &path, QList<RawLine> &lines, bool &utf8) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return false;
    QByteArray raw = f.readAll();
    utf8 = false;
    if (raw.startsWith("\xEF\xBB\xBF")) {
        QStringDecoder dec(QStringDecoder::Utf8);
        (void)dec.decode(raw.mid(3));
        utf8 = !dec.hasError();
    }
    qsizetype start = 0;
    const qsizetype n = raw.size();
    for (qsizetype i = 0; i < n; ++i) {
        const char c = raw.at(i);
        if (c == '\n' || c == '\r') {
            RawLine l{raw.mid(start, i - start), QByteArray(1, c)};
            if (c == '\r' && i + 1 < n && raw.at(i + 1) == '\n') {
                l.end = "\r\n";
                ++i;
            }
            lines.append(l);
            start = i + 1;
        }
    }
    if (start < n) lines.append(RawLine{raw.mid(start), {}});
    return true;
}

QString decodeLine(const QByteArray &bytes, bool utf8, bool first) {
    QByteArray b = bytes;
    if (first && b.startsWith("\xEF\xBB\xBF")) b = b.mid(3);
    return utf8 ? QString::fromUtf8(b) : win1252::decode(b);
}

QString trimBlanks(const QString &s) {
    qsizetype a = 0, e = s.size();
    while (a < e && (s.at(a) == u' ' || s.at(a) == u'\t'))
        ++a;
    while (e > a && (s.at(e - 1) == u' ' || s.at(e - 1) == u'\t'))
        --e;
    return s.mid(a, e - a);
}

bool sameName(const QString &a, const QString &b) {
    return QString::compare(a, b, Qt::CaseInsensitive) == 0;
}

// Section name of a line, or a null text when the line is no section line.
QString sectionOf(const QString &line) {
    const QString t = trimBlanks(line);
    if (!t.startsWith(u'[')) return {};
    qsizetype close = t.indexOf(u']');
    return trimBlanks(close < 0 ? t.mid(1) : t.mid(1, close - 1));
}

bool keyOf(const QString &line, QString &key, QString &value) {
    const qsizetype eq = line.indexOf(u'=');
    if (eq < 0) return false;
    key = trimBlanks(line.left(eq));
    value = trimBlanks(line.mid(eq + 1));
    return true;
}

QString unquote(const QString &v) {
    if (v.size() >= 2) {
        const QChar q = v.front();
        if ((q == u'"' || q == u'\'') && v.back() == q) return v.mid(1, v.size() - 2);
    }
    return v;
}

struct Location {
    int sectionLine = -1; // index of the section header line
    int keyLine = -1;     // index of the key line
    int lastKeyLine = -1; // last key line of the section (insert point)
    QString value;
};

Location locate(const QList<RawLine> &lines, bool utf8, const QString &section,
                const QString &key) {
    Location loc;
    bool inSection = false;
    for (int i = 0; i < lines.size(); ++i) {
        const QString line = decodeLine(lines[i].text, utf8, i == 0);
        const QString sec = sectionOf(line);
        if (!sec.isNull()) {
            if (inSection) break; // the first matching section ends here
            if (sameName(sec, section)) {
                inSection = true;
                loc.sectionLine = i;
                loc.lastKeyLine = i;
            }
            continue;
        }
        if (!inSection) continue;
        QString k, v;
        if (keyOf(line, k, v)) {
            loc.lastKeyLine = i;
            if (loc.keyLine < 0 && sameName(k, key)) {
                loc.keyLine = i;
                loc.value = v;
            }
        }
    }
    return loc;
}

} // namespace

QString read(const QString &path, const QString &section, const QString &key) {
    QList<RawLine> lines;
    bool utf8 = false;
    if (!loadRaw(path, lines, utf8)) return {};
    const Location loc = locate(lines, utf8, section, key);
    if (loc.keyLine < 0) return {};
    return unquote(loc.value).left(kMaxValue);
}

bool contains(const QString &path, const QString &section, const QString &key) {
    QList<RawLine> lines;
    bool utf8 = false;
    if (!loadRaw(path, lines, utf8)) return false;
    return locate(lines, utf8, section, key).keyLine >= 0;
}

bool write(const QString &path, const QString &section, const QString &key, const QString &value) {
    QList<RawLine> lines;
    bool utf8 = false;
    const bool exists = QFileInfo::exists(path);
    if (exists) {
        if (!QFileInfo(path).isWritable() || !loadRaw(path, lines, utf8)) return false;
    }
    auto encodeLine = [utf8](const QString &s) { return utf8 ? s.toUtf8() : win1252::encode(s); };
    const QByteArray keyLine = encodeLine(key + u'=' + value);
    const Location loc = locate(lines, utf8, section, key);
    if (loc.keyLine >= 0) {
        const bool bom = loc.keyLine == 0 && lines[0].text.startsWith("\xEF\xBB\xBF");
        lines[loc.keyLine].text = bom ? "\xEF\xBB\xBF" + keyLine : keyLine;
    } else {
        if (!lines.isEmpty() && lines.back().end.isEmpty()) lines.back().end = "\r\n";
        if (loc.sectionLine >= 0) {
            lines.insert(loc.lastKeyLine + 1, RawLine{keyLine, "\r\n"});
        } else {
            lines.append(RawLine{encodeLine(u'[' + section + u']'), "\r\n"});
            lines.append(RawLine{keyLine, "\r\n"});
        }
    }
    QByteArray out;
    for (const RawLine &l : lines)
        out += l.text + l.end;
    return textfile::writeBytes(path, out);
}

} // namespace profile
