#include "add.h"

#include <QDate>
#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTextStream>

#include "entry/entrylist.h"
#include "platform/convert.h"
#include "platform/profile.h"
#include "platform/win1252.h"
#include "storage/entryline.h"
#include "storage/monthtable.h"
#include "storage/settingsstore.h"
#include "storage/tablelock.h"

namespace cli {

namespace {

// The reading as typed on the command line, checked and in the form of an
// entry line's fields.
struct Reading {
    MeasurementSlot slot = MeasurementSlot::Morgens;
    int day = 0;
    QString time, value;
};

bool parseReading(const QStringList &args, Reading &r, QString &error) {
    const QString &day = args.at(1), &slot = args.at(2), &time = args.at(3), &value = args.at(4);
    static const QRegularExpression dayRe(QStringLiteral("^\\d{1,2}$"));
    if (!dayRe.match(day).hasMatch() || day.toInt() < 1 || day.toInt() > 31) {
        error = QStringLiteral("Der Tag \"%1\" ist ungültig; erlaubt sind 1 bis 31.").arg(day);
        return false;
    }
    r.day = day.toInt();
    if (!slotinfo::fromLabel(slot, r.slot)) {
        error = QStringLiteral("Unbekannter Zeitpunkt \"%1\"; erlaubt sind Morgens, Messung2, "
                               "Messung3, Messung4, Messung5, Messung6, Messung7 und Abends.")
                    .arg(slot);
        return false;
    }
    static const QRegularExpression timeRe(QStringLiteral("^(\\d\\d):(\\d\\d)$"));
    const auto t = timeRe.match(time);
    const int h = t.hasMatch() ? t.captured(1).toInt() : -1;
    const int m = t.hasMatch() ? t.captured(2).toInt() : -1;
    if (h < 0 || h > 24 || m > 59 || (h == 24 && m != 0)) {
        error = QStringLiteral("Die Uhrzeit \"%1\" ist ungültig; erwartet wird HH:MM von 00:00 "
                               "bis 24:00, zum Beispiel 07:30.")
                    .arg(time);
        return false;
    }
    r.time = time;
    static const QRegularExpression valueRe(QStringLiteral("^\\d{1,3}$"));
    if (!valueRe.match(value).hasMatch() || value.toInt() > 500) {
        error = QStringLiteral("Der Messwert \"%1\" ist ungültig; erlaubt sind ganze Zahlen von "
                               "0 bis 500 (mg/dl).")
                    .arg(value);
        return false;
    }
    r.value = QString::number(value.toInt());
    return true;
}

QString findTable(const QString &table) {
    const QStringList candidates = {table, QDir::currentPath() +
                                               QStringLiteral("/Glykovalin-Daten/") + table};
    for (const QString &c : candidates)
        if (QFileInfo(c).isFile()) return QFileInfo(c).absoluteFilePath();
    return {};
}

// Month number and four-digit year of a "Datum" header value such as "März 2024".
bool monthOfDate(const QString &date, int &month, QString &year) {
    const qsizetype blank = date.lastIndexOf(u' ');
    if (blank < 0) return false;
    year = date.mid(blank + 1);
    static const QRegularExpression yearRe(QStringLiteral("^\\d{4}$"));
    if (!yearRe.match(year).hasMatch()) return false;
    for (month = 1; month <= 12; ++month)
        if (GibMonatLang(month) == date.left(blank)) return true;
    return false;
}

QString notATable(const QString &path, const QString &why) {
    return QStringLiteral("Die Datei \"%1\" ist keine Monatstabelle in der Form, die dieses "
                          "Programm schreibt (%2); sie bleibt unverändert.")
        .arg(path, why);
}

// The write request that reproduces the table as it is: its own header and
// its entry lines. False (with the reason) when a save would change or drop
// anything but the entry lines.
bool requestOf(const QString &path, const QStringList &lines, monthtable::WriteRequest &req,
               QString &error) {
    const QString section = monthtable::kSection;
    req.userName = profile::readFromLines(lines, section, keys::BenutzerName);
    int month = 0;
    QString year;
    if (!monthOfDate(profile::readFromLines(lines, section, QStringLiteral("Datum")), month,
                     year)) {
        error = notATable(path, QStringLiteral("kein gültiges \"Datum\" im Kopf"));
        return false;
    }
    req.month = QStringLiteral("%1").arg(month, 2, 10, QLatin1Char('0'));
    req.year = year;
    req.fourSlots = convert::flag(profile::readFromLines(lines, section, keys::BisZu4));
    req.eightSlots = convert::flag(profile::readFromLines(lines, section, keys::BisZu8));
    if (!req.fourSlots && !req.eightSlots) {
        error = notATable(path, QStringLiteral("keine Angabe über 4 oder 8 Messungen je Tag"));
        return false;
    }
    req.currentTablePath = path;
    req.targetPath = path;
    req.entries = monthtable::entryLines(lines);
    const QStringList header = monthtable::compose(req, monthtable::readMargins(path));
    const qsizetype headerLines = header.size() - req.entries.size();
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QString &l = lines.at(i);
        const bool fits =
            i < headerLines ? l == header.at(i) : l.isEmpty() || entryline::isEntryLine(l);
        if (fits && win1252::encodable(l)) continue;
        error = notATable(path, QStringLiteral("Zeile %1: \"%2\"").arg(i + 1).arg(l));
        return false;
    }
    if (lines.size() < headerLines) {
        error = notATable(path, QStringLiteral("der Kopf ist unvollständig"));
        return false;
    }
    return true;
}

} // namespace

int addCommand(const QStringList &args, QTextStream &out, QTextStream &err) {
    Reading reading;
    QString error;
    if (!parseReading(args, reading, error)) {
        err << error << u'\n';
        return 1;
    }
    const QString path = findTable(args.at(0));
    if (path.isEmpty()) {
        err << QStringLiteral("Die Tabelle \"%1\" wurde nicht gefunden!\n").arg(args.at(0));
        return 1;
    }
    // Reading, changing and writing the table is one step for other writers:
    // a second "add" or the program's own save waits for it or gives up.
    TableLock lock(path);
    if (!lock.acquire(&error)) {
        err << error << u'\n';
        return 1;
    }
    QStringList lines;
    if (!monthtable::readLines(path, lines)) {
        err << QStringLiteral("Fehler Lesen der Datei! %1\n").arg(path);
        return 1;
    }
    monthtable::WriteRequest req;
    if (!requestOf(path, lines, req, error)) {
        err << error << u'\n';
        return 1;
    }
    if (!req.eightSlots && !slotinfo::usedIn(reading.slot, MeasureMode::Four)) {
        err << QStringLiteral("Die Tabelle \"%1\" wird mit bis zu 4 Messungen je Tag geführt; "
                              "den Zeitpunkt %2 gibt es darin nicht.\n")
                   .arg(path, slotinfo::word(reading.slot));
        return 1;
    }
    const int days = QDate(req.year.toInt(), req.month.toInt(), 1).daysInMonth();
    if (reading.day > days) {
        err << QStringLiteral("Den %1. gibt es im %2 %3 nicht.\n")
                   .arg(reading.day)
                   .arg(GibMonatLang(req.month.toInt()), req.year);
        return 1;
    }
    const QString line = entryline::format(
        reading.slot, QStringLiteral("%1").arg(reading.day, 2, 10, QLatin1Char('0')), req.month,
        req.year, reading.time, reading.value);
    const entrylist::Added added = entrylist::addOrReplace(req.entries, line);
    const monthtable::WriteResult written = monthtable::write(req);
    if (!written) {
        for (const monthtable::Notice &n : written.notices)
            err << n.text << u'\n';
        return 1;
    }
    out << (added == entrylist::Added::Replaced ? QStringLiteral("Messwert ersetzt: ")
                                                : QStringLiteral("Messwert eingetragen: "))
        << line << u'\n';
    return 0;
}

} // namespace cli
