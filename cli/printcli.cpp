#include "printcli.h"

#include <QDir>
#include <QFileInfo>
#include <QPageSize>
#include <QPrinter>
#include <QTextStream>

#include "cli/tablecli.h"
#include "graph/graphcli.h"
#include "platform/convert.h"
#include "platform/textfile.h"
#include "platform/ui.h"
#include "printing/graphprint.h"
#include "printing/myprintertableengine.h"
#include "printing/printfile.h"
#include "printing/remarkstore.h"
#include "printing/tableprint.h"
#include "storage/folders.h"
#include "storage/monthtable.h"
#include "storage/settingsstore.h"

namespace printcli {

namespace {

// The table as given, in the current folder, or in the data folder (also
// under the year its name ends with).
QString findTable(const QString &table) {
    const QDir base = QDir::current();
    const QString data = QStringLiteral("Glykovalin-Daten/");
    const QStringList candidates = {
        table, base.filePath(table), base.filePath(data + table),
        base.filePath(data + monthtable::yearOfPath(table) + u'/' + table)};
    for (const QString &c : candidates)
        if (QFileInfo(c).isFile()) return QFileInfo(c).absoluteFilePath();
    return {};
}

// A printer that writes the PDF file; the pages are made in memory and the
// file is replaced only by the whole document (nothing is left beside it
// when the command is cut off).
void toPdf(QPrinter &printer, const QString &pdf, const QString &tablePath, const QString &what) {
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QFileInfo(pdf).absoluteFilePath());
    printer.setDocName(printfile::proposedName(tablePath, what).chopped(4));
}

int finish(bool printed, const QString &error, const QString &pdf, QTextStream &out,
           QTextStream &err) {
    if (!printed) {
        err << (error.isEmpty() ? QStringLiteral("Die Datei \"%1\" konnte nicht geschrieben "
                                                 "werden.")
                                      .arg(pdf)
                                : error)
            << u'\n';
        return 1;
    }
    out << QFileInfo(pdf).absoluteFilePath() << u'\n';
    return 0;
}

graphprint::Format formatFromArgument(const QString &arg, bool *ok) {
    *ok = true;
    const QString a = arg.trimmed().toUpper().remove(QStringLiteral("DIN")).remove(u'-');
    if (a == u"A4") return graphprint::Format::A4;
    if (a == u"A5") return graphprint::Format::A5;
    if (a == u"A6") return graphprint::Format::A6;
    *ok = false;
    return graphprint::Format::None;
}

} // namespace

int printGraphCommand(const QString &table, const QString &pdf, const QString &format,
                      QTextStream &out, QTextStream &err) {
    const QString path = findTable(table);
    if (path.isEmpty()) {
        err << QStringLiteral("Die Tabelle \"%1\" wurde nicht gefunden!\n").arg(table);
        return 1;
    }
    graphcli::DrawnMonth drawn;
    QString error;
    if (!graphcli::draw(path, drawn, &error)) {
        err << error << u'\n';
        return 1;
    }
    const Folders folders = Folders::at(QDir::currentPath());
    graphprint::Format f =
        graphprint::formatOf(SettingsStore(folders.settings).get(keys::Grafikformat));
    if (!format.isEmpty()) {
        bool ok = false;
        f = formatFromArgument(format, &ok);
        if (!ok) {
            err << QStringLiteral("Unbekanntes Format \"%1\": erlaubt sind A4, A5 und A6.\n")
                       .arg(format);
            return 2;
        }
    }
    if (f == graphprint::Format::None) f = graphprint::Format::A4;

    // The pieces the print preview takes from the main window.
    graphprint::MonthPictureParts parts(drawn);
    graphprint::addScaleAndLimits(parts, folders.base, folders.settings, drawn.unit);
    const QImage sheet = graphprint::sheetPicture(graphprint::composeWholeMonth(parts), f);

    QPrinter printer(QPrinter::HighResolution);
    toPdf(printer, pdf, path, QStringLiteral("Grafik"));
    graphprint::setPaper(printer, f);
    error.clear();
    const bool printed = graphprint::printPicture(printer, sheet, f, &error);
    return finish(printed, error, pdf, out, err);
}

int printTableCommand(const QString &table, const QString &pdf, QTextStream &out,
                      QTextStream &err) {
    const QString path = findTable(table);
    if (path.isEmpty()) {
        err << QStringLiteral("Die Tabelle \"%1\" wurde nicht gefunden!\n").arg(table);
        return 1;
    }
    // The table text as the table window shows it, with the remarks.
    QString text;
    {
        QTextStream tableOut(&text);
        if (const int rc = tablecli::tableCommand(path, tableOut, err); rc != 0) return rc;
        tableOut.flush();
    }
    const QString settings = QDir::current().filePath(QStringLiteral("glykoval.ini"));
    const QStringList lines = RemarkStore(settings, path).merge(textfile::splitLines(text));

    ui::MessageLog messages; // no message box without a window
    tableprint::Margins m;
    if (!ui::guarded(messages, [&] { m = tableprint::storedMargins(path); })) {
        err << (messages.texts.isEmpty() ? QStringLiteral("Die Druckränder sind ungültig.")
                                         : messages.texts.last())
            << u'\n';
        return 1;
    }
    QPrinter printer(QPrinter::HighResolution);
    toPdf(printer, pdf, path, QStringLiteral("Tabelle"));
    printer.setPageSize(QPageSize(QPageSize::A4));
    TMyPrinterTableEngine engine(&printer);
    // The margin fields of the preview hold 0 … 999.
    engine.setRandLeft(qBound(0, m.left, 999));
    engine.setRandRight(qBound(0, m.right, 999));
    engine.setRandTop(qBound(0, m.top, 999));
    engine.setRandBottom(qBound(0, m.bottom, 999));
    engine.setPortrait();
    engine.writeDocument(tableprint::documentLines(lines));
    bool printed = false;
    QString error;
    try {
        printed = engine.Print();
    } catch (const EPrinter &e) {
        error = e.message();
    }
    return finish(printed, error, pdf, out, err);
}

int run(const QStringList &args, QTextStream &out, QTextStream &err) {
    if (args.isEmpty()) return -1;
    if (args.first() == u"print-graph") {
        QString format;
        QStringList rest = args.mid(1);
        const qsizetype at = rest.indexOf(QStringLiteral("--format"));
        if (at >= 0 && at + 1 < rest.size()) {
            format = rest.at(at + 1);
            rest.remove(at, 2);
        }
        if (rest.size() != 2 || rest.contains(QStringLiteral("--format"))) {
            err << QStringLiteral(
                "Aufruf: glykovalin-cli print-graph TABELLE AUSGABE.pdf [--format A4|A5|A6]\n");
            return 2;
        }
        return printGraphCommand(rest.at(0), rest.at(1), format, out, err);
    }
    if (args.first() == u"print-table") {
        if (args.size() != 3) {
            err << QStringLiteral("Aufruf: glykovalin-cli print-table TABELLE AUSGABE.pdf\n");
            return 2;
        }
        return printTableCommand(args.at(1), args.at(2), out, err);
    }
    return -1;
}

} // namespace printcli
