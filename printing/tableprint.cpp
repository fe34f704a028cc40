#include "tableprint.h"

#include <algorithm>
#include <memory>

#include "platform/convert.h"
#include "platform/profile.h"
#include "printing/myprinter.h"
#include "storage/monthtable.h"

namespace tableprint {

namespace {

// The table's title: "GLYKOVALINMESSWERTE: " + month + year + " von " + name.
bool isTitle(const QString &line) {
    return line.trimmed().startsWith(QStringLiteral("GLYKOVALINMESSWERTE"), Qt::CaseInsensitive);
}

// The column heads: the first bar line that names the "Datum" column.
bool isColumnHead(const QString &line) {
    return line.contains(u'|') && line.toUpper().contains(QStringLiteral("DATUM"));
}

// A row wider than the text area whose last column (the remark) wraps:
// the pieces of the remark after the first line start below its beginning,
// in the "Bemerkung" column, not at the left margin. The row is cut as the
// engine wraps a line (at the last blank that fits, a blank at the break
// dropped); a row without a bar, or whose last column starts too far right
// to hold a word, is left to the engine.
QStringList wrapInLastColumn(const TMyPrinter &engine, const QString &line) {
    const int width = engine.textWidthPx();
    const qsizetype bar = line.lastIndexOf(u'|');
    if (bar < 0 || engine.textWidth(line) <= width) return {line};
    qsizetype start = bar + 1;
    while (start < line.size() && line.at(start) == u' ')
        ++start;
    const QString head = line.left(start);
    const double indent = engine.textWidth(head);
    if (start == line.size() || width - indent < width / 5) return {line};
    const double blank = std::max(1.0, engine.textWidth(QStringLiteral(" ")));
    qsizetype blanks = qsizetype(indent / blank);
    while (blanks > 0 && engine.textWidth(QString(blanks, u' ')) > indent)
        --blanks;
    const QString pad(blanks, u' ');
    QStringList out;
    QString rest = line.mid(start);
    while (!rest.isEmpty()) {
        int n = engine.fitPrefix(rest, width - indent);
        qsizetype next = n;
        if (n < rest.size()) {
            if (rest.at(n) != u' ') {
                const qsizetype space = rest.left(n).lastIndexOf(u' ');
                if (space > 0) n = int(space);
            }
            next = n < rest.size() && rest.at(n) == u' ' ? n + 1 : n;
        }
        out << (out.isEmpty() ? head : pad) + rest.left(n);
        rest = rest.mid(next);
    }
    return out;
}

void writePass(TMyPrinter &engine, const QStringList &lines, const QString &pageCount) {
    engine.setKopfZeilen({});
    engine.setFutFuss(QStringLiteral("&cSeite &p von ") + pageCount);
    engine.Lines.clear();
    engine.BeginDoc();
    const QString separator =
        QString(engine.fitPrefix(QString(1000, u'_'), engine.textWidthPx()), u'_');
    QString title;
    for (const QString &line : lines)
        if (isTitle(line)) {
            title = line;
            break;
        }
    QStringList head;
    if (!title.isEmpty()) head << title;
    bool headDone = false;
    // A page that starts with the repeated heads starts after a separator.
    bool afterSeparator = false;
    // The owner's page callback is kept and called as before.
    const std::function<void()> owners = engine.OnNeueSeite;
    engine.OnNeueSeite = [&] {
        afterSeparator = headDone;
        if (owners) owners();
    };
    struct Restore {
        TMyPrinter &e;
        const std::function<void()> &f;
        ~Restore() { e.OnNeueSeite = f; }
    } restore{engine, owners};
    engine.setKopfZeilen(head);
    for (const QString &line : lines) {
        const bool separatorLine = isSeparator(line);
        if (separatorLine && afterSeparator) continue;
        if (!headDone && isColumnHead(line)) {
            headDone = true;
            engine.setKopfZeilen(head + QStringList{line, separator});
        }
        afterSeparator = separatorLine;
        if (separatorLine)
            engine.WriteLine(separator);
        else
            for (const QString &piece : wrapInLastColumn(engine, line))
                engine.WriteLine(piece);
    }
    engine.EndDoc();
}

} // namespace

Margins storedMargins(const QString &tablePath) {
    auto margin = [&tablePath](const char *key) {
        const QString name = QString::fromLatin1(key);
        const QString v = profile::read(tablePath, monthtable::kSection, name);
        return convert::toInt(v.isEmpty() ? QStringLiteral("10") : v, name);
    };
    Margins m;
    m.left = margin("DruckenTabellenRandLeft");
    m.right = margin("DruckenTabellenRandRight");
    m.top = margin("DruckenTabellenRandTop");
    m.bottom = margin("DruckenTabellenRandBottom");
    return m;
}

QStringList documentLines(const QStringList &tableLines) {
    return QStringList{QStringLiteral("    "), QStringLiteral("    ")} + tableLines;
}

bool isSeparator(const QString &line) {
    const QString t = line.trimmed();
    if (t.size() < 2) return false;
    for (QChar c : t)
        if (c != u'_') return false;
    return true;
}

void writeDocument(TMyPrinter &engine, const QStringList &lines) {
    writePass(engine, lines, QStringLiteral("?"));
    const int pages = engine.PageCount();
    writePass(engine, lines, QString::number(pages));
}

} // namespace tableprint
