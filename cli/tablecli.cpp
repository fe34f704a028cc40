#include "tablecli.h"

#include <QDir>
#include <QFileInfo>
#include <QTextStream>

#include "entry/tablebuilder.h"
#include "platform/convert.h"
#include "storage/entryline.h"
#include "storage/monthtable.h"
#include "storage/settingsstore.h"

namespace tablecli {

namespace {

QString findTable(const QString &table) {
    const QString base = QDir::currentPath() + u'/';
    const QStringList candidates = {table, base + table,
                                    base + QStringLiteral("Glykovalin-Daten/") + table};
    for (const QString &c : candidates)
        if (QFileInfo(c).isFile()) return QFileInfo(c).absoluteFilePath();
    return {};
}

} // namespace

int tableCommand(const QString &table, QTextStream &out, QTextStream &err) {
    const QString path = findTable(table);
    if (path.isEmpty()) {
        err << QStringLiteral("Die Tabelle \"%1\" wurde nicht gefunden!\n").arg(table);
        return 1;
    }
    QStringList lines;
    if (!monthtable::readLines(path, lines)) {
        err << QStringLiteral("Fehler Lesen der Datei! %1\n").arg(path);
        return 1;
    }
    const SettingsStore header(path);
    const QString section = monthtable::kSection;
    tablebuilder::TableInput in;
    in.entries = monthtable::entryLines(lines);
    in.userName = header.read(section, QStringLiteral("BenutzerName"));
    in.fourSlots = convert::flag(header.read(section, keys::BisZu4));
    in.eightSlots = convert::flag(header.read(section, keys::BisZu8));
    // The folder's settings give the unit, and the mode of a header without
    // mode lines.
    const SettingsStore st(QDir::currentPath() + QStringLiteral("/glykoval.ini"));
    in.unit = glucoseunit::fromSetting(st.get(keys::Einheit));
    if (!in.fourSlots && !in.eightSlots) {
        in.fourSlots = st.flag(keys::BisZu4);
        in.eightSlots = st.flag(keys::BisZu8);
        if (!in.fourSlots && !in.eightSlots) in.fourSlots = true;
    }
    // Month and year as the month readers take them: from the last entry line.
    QString month, year;
    for (const QString &l : in.entries) {
        if (!entryline::monthOf(l).isEmpty()) month = entryline::monthOf(l);
        if (!entryline::yearOf(l).isEmpty()) year = entryline::yearOf(l);
    }
    if (year.isEmpty()) year = monthtable::yearOfPath(path);
    in.monthName = GibMonatLang(month.toInt());
    in.year = year;
    const QString notice = entryline::skippedLinesNotice(path, entryline::skippedLines(lines));
    if (!notice.isEmpty()) err << notice << "\n";
    out.setEncoding(QStringConverter::Utf8);
    out << tablebuilder::TableText(in) << "\n";
    out.flush();
    return 0;
}

} // namespace tablecli
