#include "commands.h"

#include <QTextStream>
#include <cstdio>

#include "diary/diarybook_cli.h"
#include "entry/tablecli.h"
#include "graph/graphcli.h"
#include "printing/printcli.h"

namespace cli {

namespace {

QString usage() {
    return QStringLiteral(
        "Aufruf: glykovalin-cli BEFEHL ...\n"
        "Befehle (im Ordner mit glykoval.ini und den Bildern des Programms aufrufen):\n"
        "  graph TABELLE AUSGABE.png   Monatsgrafik als PNG-Bild schreiben\n"
        "  table TABELLE               Monatstabelle als Text ausgeben\n"
        "  chart TABELLE               Liniendiagramm-Seite schreiben, Pfad ausgeben\n"
        "  diary-pdf TABELLE AUSGABE.pdf  alle Tagebuchseiten als PDF schreiben\n"
        "  print-graph TABELLE AUSGABE.pdf [--format A4|A5|A6]\n"
        "                              Grafikdruck des ganzen Monats als PDF schreiben\n"
        "  print-table TABELLE AUSGABE.pdf  Tabellendruck als PDF schreiben\n"
        "  --help                      diese Hilfe\n");
}

} // namespace

int run(const QStringList &args) {
    QTextStream out(stdout);
    QTextStream err(stderr);
    if (args.isEmpty() || args.first() == u"--help" || args.first() == u"-h") {
        out << usage();
        return args.isEmpty() ? 2 : 0;
    }
    if (args.first() == u"diary-pdf") {
        if (args.size() != 3) {
            err << QStringLiteral("Aufruf: glykovalin-cli diary-pdf TABELLE AUSGABE.pdf\n");
            return 2;
        }
        return diarybook::diaryPdfCommand(args.at(1), args.at(2), out, err);
    }
    if (args.first() == u"graph") {
        if (args.size() != 3) {
            err << QStringLiteral("Aufruf: glykovalin-cli graph TABELLE AUSGABE.png\n");
            return 2;
        }
        return graphcli::run(args.at(1), args.at(2), err);
    }
    if (args.first() == u"table") {
        if (args.size() != 2) {
            err << QStringLiteral("Aufruf: glykovalin-cli table TABELLE\n");
            return 2;
        }
        return tablecli::tableCommand(args.at(1), out, err);
    }
    if (args.first() == u"chart") {
        if (args.size() != 2) {
            err << QStringLiteral("Aufruf: glykovalin-cli chart TABELLE\n");
            return 2;
        }
        return diarybook::chartCommand(args.at(1), out, err);
    }
    if (const int rc = printcli::run(args, out, err); rc >= 0) return rc;
    err << QStringLiteral("Unbekannter Befehl: %1\n").arg(args.first()) << usage();
    return 2;
}

} // namespace cli
