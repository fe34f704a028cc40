#include "statscli.h"

#include <QDate>
#include <QDir>
#include <QFileInfo>

#include "stats/statstext.h"
#include "statsview/arztbericht.h"

namespace statscli {

using namespace stats;

namespace {

QString absolute(const QString &path) {
    return QDir::cleanPath(QFileInfo(path).absoluteFilePath());
}

bool read(const QStringList &tables, Collection &c, QTextStream &err) {
    QStringList paths;
    for (const QString &t : tables)
        paths << absolute(t);
    QString error;
    if (collect(paths, fallbackMode(QDir::currentPath()), c, &error)) return true;
    err << error << "\n";
    return false;
}

int statsCommand(QStringList args, QTextStream &out, QTextStream &err) {
    const bool asJson = args.removeAll(QStringLiteral("--json")) > 0;
    if (args.isEmpty()) {
        err << QStringLiteral("Aufruf: glykovalin-cli stats TABELLE... [--json]\n");
        return 2;
    }
    Collection c;
    if (!read(args, c, err)) return 1;
    if (asJson) {
        out << QString::fromUtf8(json(c));
        for (const QString &n : c.notes)
            err << QStringLiteral("Hinweis: ") << n << "\n";
    } else {
        out << germanLines(c).join(u'\n') << "\n";
    }
    return 0;
}

int reportCommand(const QStringList &args, QTextStream &out, QTextStream &err) {
    if (args.size() < 2) {
        err << QStringLiteral("Aufruf: glykovalin-cli report AUSGABE.pdf TABELLE...\n");
        return 2;
    }
    Collection c;
    if (!read(args.mid(1), c, err)) return 1;
    QString error;
    const QString pdf = absolute(args.first());
    if (!statsview::writeArztbericht(pdf, statsview::reportData(c, QDate::currentDate()), &error)) {
        err << error << "\n";
        return 1;
    }
    for (const QString &n : c.notes)
        err << QStringLiteral("Hinweis: ") << n << "\n";
    out << pdf << "\n";
    return 0;
}

int csvCommand(const QStringList &args, QTextStream &out, QTextStream &err) {
    if (args.isEmpty()) {
        err << QStringLiteral("Aufruf: glykovalin-cli export-csv TABELLE...\n");
        return 2;
    }
    Collection c;
    if (!read(args, c, err)) return 1;
    for (const QString &n : c.notes)
        err << QStringLiteral("Hinweis: ") << n << "\n";
    // The byte-order mark goes out as a character: decoding the bytes would drop it.
    out << QChar(0xFEFF) << QString::fromUtf8(csv(c.readings).mid(3));
    return 0;
}

} // namespace

QString usage() {
    return QStringLiteral(
        "  stats TABELLE... [--json]   Kennzahlen (Zielbereich, Streuung, eA1c, Tageszeiten)\n"
        "  report AUSGABE.pdf TABELLE...  einseitigen Arztbericht als PDF schreiben\n"
        "  export-csv TABELLE...       Messwerte als CSV (UTF-8, \";\") ausgeben\n");
}

bool run(const QStringList &args, QTextStream &out, QTextStream &err, int &rc) {
    if (args.isEmpty()) return false;
    const QString cmd = args.first();
    if (cmd == u"stats")
        rc = statsCommand(args.mid(1), out, err);
    else if (cmd == u"report")
        rc = reportCommand(args.mid(1), out, err);
    else if (cmd == u"export-csv")
        rc = csvCommand(args.mid(1), out, err);
    else
        return false;
    return true;
}

} // namespace statscli
