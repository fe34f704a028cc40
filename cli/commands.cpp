#include "commands.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTextStream>
#include <cerrno>
#include <cstdio>
#include <unistd.h>

#include "cli/add.h"
#include "cli/backupcli.h"
#include "cli/diarybook_cli.h"
#include "cli/importcli.h"
#include "cli/printcli.h"
#include "cli/statscli.h"
#include "cli/tablecli.h"
#include "graph/graphcli.h"
#include "platform/strayfiles.h"
#include "platform/textfile.h"
#include "storage/folders.h"

namespace cli {

namespace {

// Standard output written straight to its descriptor; the first failed write
// is kept (its system error number) and every later one fails at once.
class StandardOutput : public QIODevice {
public:
    StandardOutput() { open(WriteOnly | Unbuffered); }
    int error() const { return m_error; }
    bool isSequential() const override { return true; }

protected:
    qint64 readData(char *, qint64) override { return -1; }
    qint64 writeData(const char *data, qint64 size) override {
        if (m_error != 0) return -1;
        for (qint64 left = size; left > 0;) {
            const ssize_t n = ::write(STDOUT_FILENO, data, size_t(left));
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0) {
                m_error = n < 0 && errno != 0 ? errno : EIO;
                return -1;
            }
            data += n;
            left -= n;
        }
        return size;
    }

private:
    int m_error = 0;
};

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
    text +=
        QStringLiteral("  import DATEI... [--sensor] [--dry-run] [--json]\n") +
        usageLine(QString(), QStringLiteral("Messwerte von Messgeräten und Portalen übernehmen"));
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

bool draws(const QString &command) {
    static const QStringList drawing = {QStringLiteral("graph"), QStringLiteral("print-graph"),
                                        QStringLiteral("print-table"), QStringLiteral("diary-pdf"),
                                        QStringLiteral("report")};
    return drawing.contains(command);
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
    if (args.first() == u"import") {
        const int rc = importCommand(args.mid(1), out, err);
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
    // What interrupted saves of an earlier run left behind goes first (only
    // in a folder of the program's, one that holds its settings file).
    const Folders folders = Folders::at(QDir::currentPath());
    if (QFileInfo::exists(folders.settings))
        strayfiles::removeLeftovers(folders.base, folders.data, folders.browser);
    // Leftovers of an output file named on the command line, wherever it lies.
    static const QRegularExpression output(QStringLiteral("\\.(pdf|png|html|csv)$"),
                                           QRegularExpression::CaseInsensitiveOption);
    for (const QString &a : args.mid(1))
        if (output.match(a).hasMatch()) strayfiles::removeLeftoversOf(a);
    StandardOutput device;
    QTextStream out(&device);
    QTextStream err(stderr);
    const int code = run(args, out, err);
    out.flush();
    if (device.error() == 0 && out.status() == QTextStream::Ok) return code;
    // A cut output is no success: a full disk or "> /dev/full".
    err << QStringLiteral("Die Ausgabe konnte nicht vollständig geschrieben werden. %1\n")
               .arg(textfile::reasonOf(device.error()));
    err.flush();
    return code == 0 ? 1 : code;
}

} // namespace cli
