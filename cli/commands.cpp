#include "commands.h"

#include <QTextStream>
#include <cstdio>

#include "cli/add.h"
#include "cli/backupcli.h"
#include "cli/diarybook_cli.h"
#include "cli/printcli.h"
#include "cli/statscli.h"
#include "cli/tablecli.h"
#include "graph/graphcli.h"

namespace cli {

namespace {

QString usageLine(const QString &head, const QString &summary) {
    return QStringLiteral("  ") + head.leftJustified(std::max<qsizetype>(28, head.size() + 2)) +
           summary + u'\n';
}

QString usage() {
    QString text = QStringLiteral(
        "Aufruf: glykovalin-cli BEFEHL ...\n"
        "Befehle (im Ordner mit glykoval.ini und den Bildern des Programms aufrufen):\n");
    for (const Command &c : commands())
        text += usageLine(c.name + u' ' + c.arguments, c.summary);
    // The long call stands on a line of its own, the summary below it.
    text += QStringLiteral("  print-graph TABELLE AUSGABE.pdf [--format A4|A5|A6]\n") +
            usageLine(QString(), QStringLiteral("Grafikdruck des ganzen Monats als PDF schreiben"));
    text += usageLine(QStringLiteral("print-table TABELLE AUSGABE.pdf"),
                      QStringLiteral("Tabellendruck als PDF schreiben"));
    text += statscli::usage();
    text += backupcli::usage();
    text += usageLine(QStringLiteral("--help"), QStringLiteral("diese Hilfe"));
    return text;
}

} // namespace

const QList<Command> &commands() {
    static const QList<Command> list = {
        {QStringLiteral("graph"), QStringLiteral("TABELLE AUSGABE.png"),
         QStringLiteral("Monatsgrafik als PNG-Bild schreiben"), 2,
         [](const QStringList &a, QTextStream &, QTextStream &err) {
             return graphcli::run(a.at(0), a.at(1), err);
         }},
        {QStringLiteral("table"), QStringLiteral("TABELLE"),
         QStringLiteral("Monatstabelle als Text ausgeben"), 1,
         [](const QStringList &a, QTextStream &out, QTextStream &err) {
             return tablecli::tableCommand(a.at(0), out, err);
         }},
        {QStringLiteral("chart"), QStringLiteral("TABELLE"),
         QStringLiteral("Liniendiagramm-Seite schreiben, Pfad ausgeben"), 1,
         [](const QStringList &a, QTextStream &out, QTextStream &err) {
             return diarybook::chartCommand(a.at(0), out, err);
         }},
        {QStringLiteral("diary-pdf"), QStringLiteral("TABELLE AUSGABE.pdf"),
         QStringLiteral("alle Tagebuchseiten als PDF schreiben"), 2,
         [](const QStringList &a, QTextStream &out, QTextStream &err) {
             return diarybook::diaryPdfCommand(a.at(0), a.at(1), out, err);
         }},
        {QStringLiteral("add"), QStringLiteral("TABELLE TAG ZEITPUNKT HH:MM WERT"),
         QStringLiteral("Messwert eintragen oder ersetzen\n"
                        "      (ZEITPUNKT: Morgens, Messung2 ... Messung7, Abends; "
                        "WERT: 0 bis 500 mg/dl)"),
         5, addCommand},
    };
    return list;
}

int run(const QStringList &args, QTextStream &out, QTextStream &err) {
    if (args.isEmpty() || args.first() == u"--help" || args.first() == u"-h") {
        out << usage();
        out.flush();
        return args.isEmpty() ? 2 : 0;
    }
    // Commands with optional arguments or any number of tables.
    if (const int rc = printcli::run(args, out, err); rc >= 0) {
        out.flush();
        err.flush();
        return rc;
    }
    if (int rc = 0; statscli::run(args, out, err, rc)) {
        out.flush();
        err.flush();
        return rc;
    }
    if (int rc = 0; backupcli::run(args, out, err, rc)) {
        out.flush();
        err.flush();
        return rc;
    }
    for (const Command &c : commands()) {
        if (args.first() != c.name) continue;
        if (args.size() != c.argumentCount + 1) {
            err << QStringLiteral("Aufruf: glykovalin-cli %1 %2\n").arg(c.name, c.arguments);
            return 2;
        }
        const int code = c.run(args.mid(1), out, err);
        out.flush();
        err.flush();
        return code;
    }
    err << QStringLiteral("Unbekannter Befehl: %1\n").arg(args.first()) << usage();
    return 2;
}

int run(const QStringList &args) {
    QTextStream out(stdout);
    QTextStream err(stderr);
    return run(args, out, err);
}

} // namespace cli
