#include "tableprint.h"

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
        engine.WriteLine(separatorLine ? separator : line);
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
