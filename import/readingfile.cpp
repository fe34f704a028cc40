#include "readingfile.h"

#include <QFile>
#include <QFileInfo>

#include "csvreader.h"
#include "vendorformats.h"

namespace importer {

QString sourceName(Source s) {
    switch (s) {
    case Source::Blood:
        return QStringLiteral("Blutzucker");
    case Source::Scan:
        return QStringLiteral("Sensor-Scan");
    case Source::History:
        break;
    }
    return QStringLiteral("Sensor-Verlauf");
}

QString formatKey(Format f) {
    switch (f) {
    case Format::LibreView:
        return QStringLiteral("libreview");
    case Format::Clarity:
        return QStringLiteral("clarity");
    case Format::MyLife:
        return QStringLiteral("mylife");
    case Format::Nightscout:
        return QStringLiteral("nightscout");
    case Format::GlykovalinCsv:
        return QStringLiteral("glykovalin-csv");
    case Format::MappedCsv:
        break;
    }
    return QStringLiteral("csv");
}

QString formatName(const SourceFile &f) {
    const QString language =
        f.german ? QStringLiteral(" (deutsch)") : QStringLiteral(" (englisch)");
    switch (f.format) {
    case Format::LibreView:
        return QStringLiteral("LibreView") + language;
    case Format::Clarity:
        return QStringLiteral("Dexcom Clarity") + language;
    case Format::MyLife:
        return QStringLiteral("mylife");
    case Format::Nightscout:
        return QStringLiteral("Nightscout");
    case Format::GlykovalinCsv:
        return QStringLiteral("CSV-Ausgabe von Glykovalin");
    case Format::MappedCsv:
        break;
    }
    return QStringLiteral("CSV mit eigener Spaltenzuordnung");
}

QString unrecognisedMessage(const QString &path) {
    return QStringLiteral("Die Datei \"%1\" wurde nicht erkannt und wird nicht übernommen. "
                          "Erwartet wird eine Messwert-Datei von LibreView, Dexcom Clarity, mylife "
                          "oder Nightscout (JSON) oder eine CSV-Datei, die Glykovalin exportiert "
                          "hat.")
        .arg(path);
}

namespace {

// A text file of delimited rows: no control characters but tab and line
// ends at its start, at least two fields in the first row, and a row with
// a filled field to serve as the header (a row of bare delimiters is none).
bool isDelimitedText(QStringView text) {
    for (QChar c : text.first(std::min<qsizetype>(text.size(), 4096)))
        if (c.unicode() < 0x20 && c != u'\t' && c != u'\r' && c != u'\n') return false;
    const QChar delimiter = CsvReader::guessDelimiter(text);
    if (delimiter.isNull()) return false;
    CsvReader reader(text, delimiter);
    QStringList header;
    return reader.nextFilled(header);
}

} // namespace

ReadResult readBytes(const QString &path, const QByteArray &bytes, SourceFile &out) {
    out = SourceFile();
    out.path = path;
    const QString text = decodeText(bytes);
    const QStringView start = QStringView(text).trimmed();
    // A JSON array: Nightscout's entries ("[{…}, …]" or "[]"). A text in
    // brackets of another kind, such as a month table, is no such file.
    if (start.startsWith(u'[')) {
        const QStringView inner = start.sliced(1).trimmed();
        if (inner.startsWith(u'{') || inner.startsWith(u']')) {
            out.format = Format::Nightscout;
            return formats::readNightscout(start.toUtf8(), out);
        }
    }
    formats::Header h;
    if (formats::recognise(text, h)) {
        out.format = h.format;
        out.german = h.german;
        switch (h.format) {
        case Format::LibreView:
            return formats::readLibreView(text, h, out);
        case Format::Clarity:
            return formats::readClarity(text, h, out);
        case Format::MyLife:
            return formats::readMyLife(text, h, out);
        default:
            return formats::readGlykovalinCsv(text, h, out);
        }
    }
    if (!start.isEmpty() && isDelimitedText(start))
        return {ReadStatus::UnknownCsv,
                QStringLiteral("Die Datei \"%1\" ist eine CSV-Datei, deren Form nicht bekannt ist "
                               "(erkannt werden LibreView, Dexcom Clarity, mylife, Nightscout und "
                               "die CSV-Ausgabe von Glykovalin); sie wird nicht übernommen. Im "
                               "Programm können Sie ihre Spalten unter \"Datei | Importieren | "
                               "Messwerte aus Datei…\" selbst zuordnen.")
                    .arg(path)};
    return {ReadStatus::Unrecognised, unrecognisedMessage(path)};
}

ReadResult readFile(const QString &path, SourceFile &out) {
    out = SourceFile();
    out.path = path;
    QFile f(path);
    if (QFileInfo(path).isDir() || !f.open(QIODevice::ReadOnly)) {
        const QString why = !QFileInfo::exists(path) ? QStringLiteral("Sie existiert nicht.")
                            : QFileInfo(path).isDir()
                                ? QStringLiteral("Das ist ein Ordner.")
                                : QStringLiteral("Es fehlt die Berechtigung, sie zu lesen.");
        return {ReadStatus::Unreadable,
                QStringLiteral("Die Datei \"%1\" kann nicht gelesen werden. %2").arg(path, why)};
    }
    return readBytes(path, f.readAll(), out);
}

} // namespace importer
