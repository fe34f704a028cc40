#include "diarybook.h"

#include "monthtable.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include "platform/textfile.h"
#include "platform/win1252.h"
#include "settingsstore.h"

namespace {

// Stored line index (counted from the editor's line 5) of each section's
// line in the page layout; used when the user deleted a label.
constexpr int kCarbLine = 1, kInsulinLine = 3, kRemarkLine = 5;

const QRegularExpression &escapedAmp() {
    static const QRegularExpression re(QStringLiteral("&((?:amp;)*num;)"));
    return re;
}

qsizetype leadingBlanks(const QString &s) {
    qsizetype i = 0;
    while (i < s.size() && (s.at(i) == u' ' || s.at(i) == u'\t'))
        ++i;
    return i;
}

bool opensWith(const QString &line, const QStringList &labels) {
    const QString rest = line.mid(leadingBlanks(line));
    for (const QString &l : labels)
        if (rest.startsWith(l)) return true;
    return false;
}

} // namespace

QString DiaryBook::dayKey(int day) {
    if (day < 1 || day > 31) return {};
    return QStringLiteral("Tag%1").arg(day, 2, 10, QLatin1Char('0'));
}

bool DiaryBook::belongsToDay(const QString &line, int day) {
    const QString key = dayKey(day);
    return !key.isEmpty() && line.startsWith(key + QStringLiteral(": "));
}

QString DiaryBook::diaryPathFor(const QString &tablePath, const QString &previous) {
    const QString path = monthtable::diaryPathOf(tablePath);
    return path.isEmpty() ? previous : path;
}

QString DiaryBook::escapeText(const QString &text) {
    QString s = text;
    s.replace(escapedAmp(), QStringLiteral("&amp;\\1"));
    s.replace(u'#', QStringLiteral("&num;"));
    return s;
}

QString DiaryBook::unescapeText(const QString &text) {
    QString out;
    qsizetype from = 0;
    auto it = escapedAmp().globalMatch(text);
    while (it.hasNext()) {
        const auto m = it.next();
        out += text.mid(from, m.capturedStart() - from);
        const QString inner = m.captured(1); // "(amp;)*num;"
        out += inner == QStringLiteral("num;") ? QStringLiteral("#") : u'&' + inner.mid(4);
        from = m.capturedEnd();
    }
    out += text.mid(from);
    return out;
}

QString DiaryBook::GibMarkierteTagebuchseite(const QStringList &editorLines) {
    QStringList lines;
    for (qsizetype i = 5; i < editorLines.size(); ++i)
        lines << escapeText(editorLines.at(i));
    const QList<QStringList> labels = {{QStringLiteral("BE: "), QStringLiteral("KE: ")},
                                       {QStringLiteral("Insulin")},
                                       {QStringLiteral("Bemerkung: ")}};
    const int fallback[3] = {kCarbLine, kInsulinLine, kRemarkLine};
    int previous = -1;
    bool atEnd = false;
    for (int k = 0; k < 3; ++k) {
        int found = -1;
        for (int i = previous + 1; i < lines.size() && !atEnd; ++i)
            if (opensWith(lines.at(i), labels.at(k))) {
                found = i;
                break;
            }
        if (found < 0 && !atEnd) {
            // The label was deleted: mark the line where it stood, so the
            // sections still split and no text moves into another one.
            if (fallback[k] > previous && fallback[k] < lines.size())
                found = fallback[k];
            else if (previous + 1 < lines.size())
                found = previous + 1;
        }
        if (found < 0) {
            atEnd = true;
            if (lines.isEmpty()) lines << QString();
            lines.last() += u'#';
            continue;
        }
        lines[found].insert(leadingBlanks(lines.at(found)), u'#');
        previous = found;
    }
    return lines.join(QString());
}

DiaryBook::Sections DiaryBook::splitSections(const QString &pageLine) {
    Sections s;
    const qsizetype a = pageLine.indexOf(u'#');
    const qsizetype b = a < 0 ? -1 : pageLine.indexOf(u'#', a + 1);
    const qsizetype c = b < 0 ? -1 : pageLine.indexOf(u'#', b + 1);
    QString head = a < 0 ? pageLine : pageLine.left(a);
    if (head.size() >= 5 && head.startsWith(QStringLiteral("Tag")) && head.at(3).isDigit() &&
        head.at(4).isDigit())
        s.day = head.mid(3, 2);
    if (head.size() >= 7 && head.startsWith(QStringLiteral("Tag")) &&
        head.mid(5, 2) == QStringLiteral(": "))
        head = head.mid(7);
    s.head = unescapeText(head);
    if (a >= 0) s.carb = unescapeText(pageLine.mid(a + 1, b < 0 ? -1 : b - a - 1));
    if (b >= 0) s.insulin = unescapeText(pageLine.mid(b + 1, c < 0 ? -1 : c - b - 1));
    if (c >= 0) s.remark = unescapeText(pageLine.mid(c + 1));
    s.complete = c >= 0;
    return s;
}

bool DiaryBook::readFile(const QString &path) {
    QStringList lines;
    if (!QFileInfo(path).isFile() || !textfile::readLines(path, lines)) return false;
    m_lines = lines;
    QFile f(path);
    const QByteArray raw = f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    m_utf8 = textfile::isUtf8(raw);
    return true;
}

DiaryBook::LoadResult DiaryBook::LadeTagebuch(const QString &tablePath, bool clearWhenMissing) {
    const QString name = QFileInfo(tablePath).fileName();
    if (!name.toLower().contains(QStringLiteral(".tab"))) return LoadResult::NotATable;
    m_path = diaryPathFor(tablePath, m_path);
    if (readFile(m_path)) return LoadResult::Loaded;
    m_utf8 = false;
    if (clearWhenMissing) m_lines.clear();
    return LoadResult::Missing;
}

bool DiaryBook::readBeforeChange(QString *error) {
    if (!QFileInfo::exists(m_path) || readFile(m_path)) return true;
    if (error)
        *error = QStringLiteral("Die Tagebuchdatei \"%1\" kann nicht gelesen werden. Damit keine "
                                "darin gespeicherte Seite verloren geht, wird sie nicht "
                                "geändert.")
                     .arg(m_path);
    return false;
}

void DiaryBook::removeDay(int day) {
    m_lines.removeIf([day](const QString &l) { return belongsToDay(l, day); });
}

bool DiaryBook::write(QString *error) {
    if (m_path.trimmed().isEmpty()) {
        if (error) *error = QStringLiteral("Es ist keine Tagebuchdatei festgelegt.");
        return false;
    }
    QByteArray bytes;
    if (m_utf8) {
        bytes = "\xEF\xBB\xBF";
        for (const QString &l : std::as_const(m_lines))
            bytes += l.toUtf8() + "\r\n";
    } else {
        bytes = textfile::encodeLines(m_lines);
    }
    const textfile::SaveResult saved = textfile::save(m_path, bytes);
    if (saved) return true;
    if (error) {
        *error = QStringLiteral("Die Tagebuchdatei \"%1\" kann nicht geschrieben werden.\n%2")
                     .arg(m_path, saved.reason);
        if (saved.existed)
            *error +=
                QStringLiteral(" Die bisherige Fassung der Datei bleibt unverändert erhalten.");
    }
    return false;
}

bool DiaryBook::SpeichereTagebuchseite(int day, const QString &markedText, StoreFrom from,
                                       const QString &currentTablePath,
                                       const SettingsStore &settings, QString *error) {
    const QString key = dayKey(day);
    if (key.isEmpty()) {
        if (error)
            *error = QStringLiteral("Es ist kein Tag gewählt; die Seite wird nicht gespeichert.");
        return false;
    }
    // Every variant derives a missing path, so a page is never dropped
    // before a delete only because no diary was loaded yet.
    if (m_path.trimmed().isEmpty()) m_path = diaryPathFor(currentTablePath, m_path);
    // The change is made to the pages the file holds now.
    if (!m_path.trimmed().isEmpty() && !readBeforeChange(error)) return false;
    removeDay(day);
    const bool withSettings = !settings.path().isEmpty();
    if (from == StoreFrom::DayClick && !currentTablePath.isEmpty() && withSettings)
        settings.set(keys::TabellenDateiName, currentTablePath);
    m_lines << key + QStringLiteral(": ") + markedText;
    if (!write(error)) return false;
    if (from == StoreFrom::DayClick && withSettings) {
        const QString table = settings.get(keys::TabellenDateiName);
        if (!table.isEmpty() && QFileInfo(table).isFile()) LadeTagebuch(table, false);
    }
    return true;
}

bool DiaryBook::deleteDay(int day, QString *error) {
    if (dayKey(day).isEmpty()) {
        if (error) *error = QStringLiteral("Es ist kein Tag gewählt; es wird nichts gelöscht.");
        return false;
    }
    if (!readBeforeChange(error)) return false;
    removeDay(day);
    return write(error);
}

bool DiaryBook::canStore(const QString &text) const {
    return m_utf8 || win1252::encodable(text);
}

QStringList DiaryBook::linesOfDay(int day) const {
    QStringList out;
    for (const QString &l : m_lines)
        if (belongsToDay(l, day)) out << l;
    return out;
}

QString DiaryBook::pageLineOfDay(int day) const {
    const QStringList l = linesOfDay(day);
    return l.isEmpty() ? QString() : l.last();
}
