#include "inidocument.h"

#include <QFile>
#include <QFileInfo>

#include "textfile.h"
#include "win1252.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <memory>

namespace {

constexpr char kBom[] = "\xEF\xBB\xBF";

QStringView trimBlanks(QStringView s) {
    qsizetype a = 0, e = s.size();
    while (a < e && (s.at(a) == u' ' || s.at(a) == u'\t'))
        ++a;
    while (e > a && (s.at(e - 1) == u' ' || s.at(e - 1) == u'\t'))
        --e;
    return s.sliced(a, e - a);
}

// The name with every character case-folded as QString::compare does for
// Qt::CaseInsensitive, so equal folded names are exactly the names that
// compare equal.
QString fold(QStringView s) {
    QString out;
    out.reserve(s.size());
    for (qsizetype i = 0; i < s.size(); ++i) {
        char32_t c = s.at(i).unicode();
        if (QChar::isHighSurrogate(c) && i + 1 < s.size() && s.at(i + 1).isLowSurrogate()) {
            c = QChar::surrogateToUcs4(s.at(i), s.at(i + 1));
            ++i;
        }
        c = QChar::toCaseFolded(c);
        if (QChar::requiresSurrogates(c)) {
            out += QChar(QChar::highSurrogate(c));
            out += QChar(QChar::lowSurrogate(c));
        } else {
            out += QChar(char16_t(c));
        }
    }
    return out;
}

bool sectionName(QStringView line, QStringView &name) {
    const QStringView t = trimBlanks(line);
    if (!t.startsWith(u'[')) return false;
    // Like the Windows profile functions, the name ends at the last "]".
    const qsizetype close = t.lastIndexOf(u']');
    name = trimBlanks(close < 0 ? t.sliced(1) : t.sliced(1, close - 1));
    return true;
}

QString nonNull(QString s) {
    return s.isNull() ? QStringLiteral("") : s;
}

} // namespace

namespace ini {

QString sectionOf(QStringView line) {
    QStringView name;
    if (!sectionName(line, name)) return {};
    return nonNull(name.toString());
}

bool keyOf(QStringView line, QString &key, QString &value) {
    const qsizetype eq = line.indexOf(u'=');
    if (eq < 0) return false;
    key = trimBlanks(line.first(eq)).toString();
    value = trimBlanks(line.sliced(eq + 1)).toString();
    return true;
}

QString readValue(const QString &stored) {
    QString v = stored;
    if (v.size() >= 2) {
        const QChar q = v.front();
        if ((q == u'"' || q == u'\'') && v.back() == q) v = v.mid(1, v.size() - 2);
    }
    return v.left(kMaxValue);
}

QString valueIn(const QStringList &lines, const QString &section, const QString &key, bool *found) {
    if (found) *found = false;
    bool inSection = false;
    for (const QString &line : lines) {
        QStringView name;
        if (sectionName(line, name)) {
            if (inSection) break; // the first section of the name ends here
            inSection = QStringView(section).compare(name, Qt::CaseInsensitive) == 0;
            continue;
        }
        QString k, v;
        if (!inSection || !keyOf(line, k, v)) continue;
        if (QString::compare(k, key, Qt::CaseInsensitive) != 0) continue;
        if (found) *found = true;
        return readValue(v);
    }
    return {};
}

} // namespace ini

IniDocument::IniDocument(const QString &path) : m_path(path) {}

IniDocument::~IniDocument() = default;

void IniDocument::refresh() {
    if (m_loaded && FileStamp::of(m_path) == m_stamp) return;
    load();
}

void IniDocument::load() {
    m_loaded = true;
    m_readable = true;
    auto f = std::make_unique<QFile>(m_path);
    if (m_path.isEmpty() || !f->open(QIODevice::ReadOnly | QIODevice::Unbuffered)) {
        m_stamp = FileStamp::of(m_path);
        m_readable = !m_stamp.exists;
        parse({});
        return;
    }
    ++m_loads;
    // The stamp of what is read; a change after this point shows at the next
    // check, which reads the file anew.
    m_stamp = FileStamp::ofDescriptor(f->handle());
    reset();
    m_rest = std::move(f);
    m_complete = false;
    // Room for all of it: neither the text nor the line list is copied while
    // they grow, and room not used costs no memory pages.
    const qsizetype expected = qsizetype(qBound<qint64>(0, m_stamp.size, kReserveLimit));
    m_raw.reserve(expected + 1);
    m_lines.reserve(expected / 8 + 16);
    readMore();
}

void IniDocument::reset() {
    m_rest.reset();
    m_complete = true;
    m_raw.clear();
    m_scanned = 0;
    m_lines.clear();
    m_sections.clear();
    m_sectionIndex.clear();
    m_openSection = -1;
    m_utf8 = false;
}

void IniDocument::parse(const QByteArray &raw) {
    reset();
    m_raw = raw;
    m_lines.reserve(std::count(raw.cbegin(), raw.cend(), '\n') +
                    std::count(raw.cbegin(), raw.cend(), '\r') + 1);
    split(true);
}

void IniDocument::readMore() {
    if (m_complete) return;
    // The settings stand at the top; the remarks of every month follow. A
    // first small part serves start-up, each further part doubles the text.
    bool atEnd = false;
    do {
        const qsizetype want = std::max(kFirstPart, m_raw.size());
        const qsizetype had = m_raw.size();
        m_raw.resize(had + want);
        const qint64 got = m_rest->read(m_raw.data() + had, want);
        m_raw.resize(had + qsizetype(std::max<qint64>(got, 0)));
        // A file that cannot be read to its end is never written over.
        if (got < 0) m_readable = false;
        // A file that reports no size is read until nothing more comes.
        atEnd = got <= 0 || (m_stamp.size > 0 && m_raw.size() >= m_stamp.size);
        // Whether a text with the byte-order mark is UTF-8 depends on all of it.
    } while (!atEnd && m_raw.startsWith(kBom));
    split(atEnd);
}

void IniDocument::readRest() {
    while (!m_complete)
        readMore();
}

void IniDocument::split(bool atEnd) {
    if (atEnd) m_utf8 = textfile::isUtf8(m_raw);
    const char *data = m_raw.constData();
    const qsizetype n = m_raw.size();
    const int first = int(m_lines.size());
    // Lines end at "\r\n", "\n" or "\r". The search runs from one "\n" to
    // the next; a "\r" before it that is not its own line end is rare. Text
    // after the last "\n" waits for the next part unless the file ends.
    qsizetype start = m_scanned;
    while (start < n) {
        const auto *nl =
            static_cast<const char *>(std::memchr(data + start, '\n', size_t(n - start)));
        if (!nl && !atEnd) break;
        const qsizetype end = nl ? nl - data : n;
        const bool crlf = nl && end > start && data[end - 1] == '\r';
        const qsizetype text = crlf ? end - 1 : end;
        while (const auto *cr = static_cast<const char *>(
                   std::memchr(data + start, '\r', size_t(text - start)))) {
            m_lines.append(Line{start, cr - data - start, 1});
            start = cr - data + 1;
        }
        if (!nl) {
            if (start < n) m_lines.append(Line{start, n - start, 0});
            start = n;
            break;
        }
        m_lines.append(Line{start, text - start, crlf ? 2 : 1});
        start = end + 1;
    }
    m_scanned = start;

    for (int i = first; i < m_lines.size(); ++i) {
        const Line &l = m_lines.at(i);
        qsizetype p = l.start;
        const qsizetype e = l.start + l.length;
        if (i == 0 && m_raw.startsWith(kBom)) p += 3;
        while (p < e && (data[p] == ' ' || data[p] == '\t'))
            ++p;
        if (p >= e || data[p] != '[') continue;
        if (m_openSection >= 0) m_sections[m_openSection].end = i;
        m_openSection = -1;
        const QString name = fold(ini::sectionOf(lineText(i)));
        if (m_sectionIndex.contains(name)) continue; // a later section of a known name
        Section s;
        s.header = i;
        s.lastKeyLine = i;
        m_sectionIndex.insert(name, int(m_sections.size()));
        m_sections.append(s);
        m_openSection = int(m_sections.size()) - 1;
    }
    if (!atEnd) return;
    if (m_openSection >= 0) m_sections[m_openSection].end = int(m_lines.size());
    m_openSection = -1;
    m_rest.reset();
    m_complete = true;
}

QString IniDocument::lineText(int index) const {
    const Line &l = m_lines.at(index);
    const char *p = m_raw.constData() + l.start;
    qsizetype len = l.length;
    if (index == 0 && m_raw.startsWith(kBom)) {
        p += 3;
        len -= 3;
    }
    return m_utf8 ? QString::fromUtf8(p, len) : win1252::decode(QByteArray::fromRawData(p, len));
}

QByteArray IniDocument::encode(const QString &text) const {
    return m_utf8 ? text.toUtf8() : win1252::encode(text);
}

const IniDocument::KeyEntry *IniDocument::indexUntil(int found, const QString *stopAt) {
    for (;;) {
        // Reading on may move the sections; each round takes this one anew.
        Section &s = m_sections[found];
        if (s.nextToIndex < 0) s.nextToIndex = s.header + 1;
        const bool open = found == m_openSection;
        const int limit = open ? int(m_lines.size()) : s.end;
        while (s.nextToIndex < limit) {
            const int i = s.nextToIndex++;
            QString k, v;
            if (!ini::keyOf(lineText(i), k, v)) continue;
            s.lastKeyLine = i;
            const QString f = fold(k);
            if (s.keys.contains(f)) continue;
            const auto it = s.keys.insert(f, KeyEntry{i, v});
            if (stopAt && f == *stopAt) return &*it;
        }
        if (!open) {
            s.indexed = true;
            return nullptr;
        }
        readMore();
    }
}

int IniDocument::sectionNumber(const QString &name) {
    const QString folded = fold(name);
    auto it = m_sectionIndex.constFind(folded);
    while (it == m_sectionIndex.cend() && !m_complete) {
        readMore();
        it = m_sectionIndex.constFind(folded);
    }
    return it == m_sectionIndex.cend() ? -1 : *it;
}

IniDocument::Section *IniDocument::section(const QString &name) {
    const int found = sectionNumber(name);
    if (found < 0) return nullptr;
    // All of the section: the file is read on until its end is known.
    if (!m_sections[found].indexed) indexUntil(found, nullptr);
    return &m_sections[found];
}

// A key is looked for in file order; the first occurrence counts, so the
// search stops there and the rest of the file is read only when needed.
const IniDocument::KeyEntry *IniDocument::find(const QString &sectionName, const QString &key) {
    refresh();
    const int found = sectionNumber(sectionName);
    if (found < 0) return nullptr;
    const QString foldedKey = fold(key);
    const Section &s = m_sections[found];
    if (const auto k = s.keys.constFind(foldedKey); k != s.keys.cend()) return &*k;
    return s.indexed ? nullptr : indexUntil(found, &foldedKey);
}

QString IniDocument::read(const QString &sectionName, const QString &key) {
    const KeyEntry *e = find(sectionName, key);
    return e ? ini::readValue(e->value) : QString();
}

bool IniDocument::contains(const QString &sectionName, const QString &key) {
    return find(sectionName, key) != nullptr;
}

bool IniDocument::exists() {
    refresh();
    return m_stamp.exists;
}

bool IniDocument::write(const QString &sectionName, const QString &key, const QString &value,
                        QString *error) {
    return write(QList<Change>{{sectionName, key, value}}, error);
}

bool IniDocument::fail(const textfile::SaveResult &r, QString *error) {
    m_lastReason = r.reason;
    if (error) *error = r.message(m_path);
    return false;
}

// Changes to lines of the file, lines inserted after a line of it, and
// sections that are new, each in the order single writes would give.
struct IniDocument::Edits {
    QHash<int, QByteArray> replaced;
    QHash<int, QList<QByteArray>> inserted;
    QHash<QString, QPair<int, qsizetype>> insertedAt; // folded section/key → anchor, index
    struct NewSection {
        QByteArray header;
        QList<QByteArray> lines;
        QHash<QString, qsizetype> keys;
    };
    QList<NewSection> added;
    QHash<QString, qsizetype> addedIndex;
};

bool IniDocument::checkWritable(QString *error) {
    if (!m_stamp.exists) return true;
    if (!m_readable) {
        textfile::SaveResult r;
        r.ok = false;
        r.existed = true;
        r.reason = QStringLiteral("Die Datei lässt sich nicht lesen und wird "
                                  "deshalb nicht überschrieben.");
        return fail(r, error);
    }
    // A write-protected file is refused before anything is made beside it.
    const textfile::SaveResult r = textfile::checkReplaceable(m_path);
    return r ? true : fail(r, error);
}

void IniDocument::plan(const Change &c, Edits &e) {
    const QByteArray line = encode(c.key + u'=' + c.value);
    const QString foldedKey = fold(c.key);
    if (Section *s = section(c.section)) {
        const auto known = s->keys.constFind(foldedKey);
        const QString id = fold(c.section) + QChar(0) + foldedKey;
        if (known != s->keys.cend()) {
            e.replaced.insert(known->line, line);
        } else if (e.insertedAt.contains(id)) {
            const auto at = e.insertedAt.value(id);
            e.inserted[at.first][at.second] = line;
        } else {
            QList<QByteArray> &after = e.inserted[s->lastKeyLine];
            e.insertedAt.insert(id, {s->lastKeyLine, after.size()});
            after.append(line);
        }
        return;
    }
    const QString foldedSection = fold(c.section);
    if (!e.addedIndex.contains(foldedSection)) {
        e.addedIndex.insert(foldedSection, e.added.size());
        e.added.append(Edits::NewSection{encode(u'[' + c.section + u']'), {}, {}});
    }
    Edits::NewSection &n = e.added[e.addedIndex.value(foldedSection)];
    if (n.keys.contains(foldedKey)) {
        n.lines[n.keys.value(foldedKey)] = line;
    } else {
        n.keys.insert(foldedKey, n.lines.size());
        n.lines.append(line);
    }
}

QByteArray IniDocument::apply(const Edits &e) const {
    const bool grows = !e.inserted.isEmpty() || !e.added.isEmpty();
    QByteArray out;
    out.reserve(m_raw.size() + 256);
    for (int i = 0; i < m_lines.size(); ++i) {
        const Line &l = m_lines.at(i);
        const auto r = e.replaced.constFind(i);
        if (r != e.replaced.cend())
            out += *r;
        else
            out += QByteArrayView(m_raw.constData() + l.start, l.length);
        if (l.endLength > 0)
            out += QByteArrayView(m_raw.constData() + l.start + l.length, l.endLength);
        else if (grows)
            out += "\r\n"; // the last line gets its line end before more follow
        for (const QByteArray &extra : e.inserted.value(i))
            out += extra + "\r\n";
    }
    for (const Edits::NewSection &n : std::as_const(e.added)) {
        out += n.header + "\r\n";
        for (const QByteArray &l : n.lines)
            out += l + "\r\n";
    }
    return out;
}

bool IniDocument::write(const QList<Change> &changes, QString *error) {
    if (changes.isEmpty()) return true;
    // Changes that repeat what the file holds need neither the rest of the
    // file nor a write (a start stores the table and the mode it read).
    if (std::all_of(changes.cbegin(), changes.cend(), [this](const Change &c) {
            const KeyEntry *known = find(c.section, c.key);
            return known && known->value == c.value;
        }))
        return true;
    refresh();
    readRest();
    if (!checkWritable(error)) return false;

    Edits edits;
    for (const Change &c : changes)
        plan(c, edits);
    const QByteArray out = apply(edits);

    if (m_stamp.exists && out == m_raw) return true;
    const textfile::SaveResult r = textfile::save(m_path, out);
    if (!r) return fail(r, error);
    ++m_saves;
    m_lastReason.clear();
    parse(out);
    m_readable = true;
    m_stamp = FileStamp::of(m_path);
    return true;
}
