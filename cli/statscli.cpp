#include "statscli.h"

#include <QDate>
#include <QDir>
#include <QFileInfo>

#include "stats/statstext.h"
#include "statsview/doctorreport.h"

namespace statscli {

using namespace stats;

namespace {

QString absolute(const QString &path) {
    return QDir::cleanPath(QFileInfo(path).absoluteFilePath());
}

// Reads the tables, each once; with `context` also the period before and
// the year's trend, looked for beside them and in the current folder's data.
bool read(const QStringList &tables, Collection &c, QTextStream &err, bool context) {
    QStringList paths;
    for (const QString &t : tables)
        paths << absolute(t);
    QString error;
    const MeasureMode fallback = fallbackMode(QDir::currentPath());
    TableCache cache;
    if (!collect(paths, fallback, c, &error, &cache)) {
        err << error << "\n";
        return false;
    }
    if (context) addContext(c, QDir::currentPath(), fallback, &cache);
    c.unit = unitOfFolder(QDir::currentPath());
    return true;
}

void printNotes(const Collection &c, QTextStream &err) {
    for (const QString &n : c.notes)
        err << QStringLiteral("Hinweis: ") << n << "\n";
}

int statsCommand(QStringList args, QTextStream &out, QTextStream &err) {
    const bool asJson = args.removeAll(QStringLiteral("--json")) > 0;
    if (args.isEmpty()) {
        err << QStringLiteral("Aufruf: glykovalin-cli stats TABELLE... [--json]\n");
        return 2;
    }
    Collection c;
    if (!read(args, c, err, true)) return 1;
    if (asJson) {
        out << QString::fromUtf8(json(c));
        printNotes(c, err);
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
    if (!read(args.mid(1), c, err, true)) return 1;
    QString error;
    const QString pdf = absolute(args.first());
    if (!statsview::DoctorReport(c, QDate::currentDate()).write(pdf, &error)) {
        err << error << "\n";
        return 1;
    }
    printNotes(c, err);
    out << pdf << "\n";
    return 0;
}

int csvCommand(const QStringList &args, QTextStream &out, QTextStream &err) {
    if (args.isEmpty()) {
        err << QStringLiteral("Aufruf: glykovalin-cli export-csv TABELLE...\n");
        return 2;
    }
    Collection c;
    if (!read(args, c, err, false)) return 1;
    printNotes(c, err);
    // The byte-order mark goes out as a character: decoding the bytes would drop it.
    out << QChar(0xFEFF) << QString::fromUtf8(csv(c.readings).mid(3));
    return 0;
}

} // namespace

QString usage() {
    return QStringLiteral(
        "  stats TABELLE... [--json]   Kennzahlen (Zielbereich, Streuung, eA1c, Tagesprofil,\n"
        "                              Vergleich mit dem Zeitraum davor, Verlauf je Monat)\n"
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
