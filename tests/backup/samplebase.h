#pragma once
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QMap>

#include <sys/stat.h>
#include <zip.h>

#include "backup/manifest.h"
#include "storage/entryline.h"
#include "storage/folders.h"
#include "testutil.h"

namespace testutil {

// A base folder of a user who has kept two years: 24 month tables with their
// diaries, remarks in glykoval.ini, the patient-data file; and beside them
// the files a backup leaves out. The backup folder lies outside it.
struct SampleBase {
    TempFolder dir, backups;
    Folders folders = Folders::at(dir.path() + "Glykovalin");

    static QString table(int year, int month) {
        return QStringLiteral("Glykovalin-Daten/%1/MM%2%1.tab")
            .arg(QString::number(year), QStringLiteral("%1").arg(month, 2, 10, QChar('0')));
    }
    static QString diary(int year, int month) { return table(year, month).replace(".tab", ".txt"); }

    SampleBase() {
        for (int year : {2023, 2024}) {
            QDir().mkpath(folders.data + QString::number(year));
            QDir().mkpath(folders.browser + QString::number(year));
            for (int month = 1; month <= 12; ++month) {
                const QString m = QStringLiteral("%1").arg(month, 2, 10, QChar('0'));
                const QString y = QString::number(year);
                QStringList lines = {"[Personendaten]", "BenutzerName=Max Müller",
                                     "Datum=" + m + " " + y, ""};
                for (int day = 1; day <= 28; day += 3)
                    lines << entryline::format(MeasurementSlot::Morgens,
                                               QStringLiteral("%1").arg(day, 2, 10, QChar('0')), m,
                                               y, "07:30", QString::number(90 + day + month));
                put(table(year, month), crlf(lines));
                put(diary(year, month),
                    crlf({"Tag03: \t #BE: 4\t #Insulin (ICT) 6\t #Bemerkung: Spaziergang",
                          "Tag1" + m + ": \t #BE: 2\t #Insulin (ICT) 4\t #Bemerkung: Käse"}) +
                        "\x81\x8D\xA0 ohne Zeilenende");
                put("Glykovalin-Daten im Browser/" + y + "/MM" + m + y + ".html", "<html></html>");
            }
        }
        put("glykoval.ini",
            crlf({"[Einstellung]", "BenutzerName=Max Müller", "SicherungsOrdner=" + backups.path(),
                  "", "[Bemerkungen_MM032024.tab]", "03.03.2024,1=Arzttermin"}));
        put("Patientendaten.txt", crlf({"Max Müller", "geb. 01.02.1960"}));
        // Left out: pictures, help page, chart script, browser pages, a lock
        // file, a leftover of an interrupted save, a PDF and a link.
        put("Grafik4.bmp", "BM");
        put("Glykovalin-Hilfe.htm", "<html></html>");
        put("scripts/Chart.min.js", "/* chart */");
        put("Glykovalin-Daten/2024/MM032024.tab.lock", "4711\n");
        put("Glykovalin-Daten/2024/MM032024.tab.AbCdEf", "halb");
        put("Glykovalin-Daten/2024/Tagebuch.pdf", "%PDF");
        QFile::link(folders.settings, folders.data + "2024/Verweis.tab");
    }

    void put(const QString &relative, const QByteArray &bytes) const {
        const QString path = folders.base + relative;
        QDir().mkpath(QFileInfo(path).absolutePath());
        writeBytes(path, bytes);
    }
    QByteArray bytes(const QString &relative) const { return readBytes(folders.base + relative); }
    // Everything below the base folder: files, folders and links.
    QMap<QString, QByteArray> all() const { return filesIn(folders.base, {}, true); }

    // The files a backup holds, by relative path.
    static QStringList userFiles() {
        QStringList files = {"Patientendaten.txt", "glykoval.ini"};
        for (int year : {2023, 2024})
            for (int month = 1; month <= 12; ++month)
                files << table(year, month) << diary(year, month);
        files.sort();
        return files;
    }
};

// One entry of a hand-made archive.
struct ZipEntry {
    QString name;
    QByteArray bytes;
    mode_t mode = S_IFREG | 0644;
};

// A ZIP archive of the entries, made with libzip as another tool would.
inline QByteArray makeZip(const QList<ZipEntry> &entries) {
    zip_error_t ze;
    zip_error_init(&ze);
    zip_source_t *src = zip_source_buffer_create(nullptr, 0, 0, &ze);
    zip_t *za = zip_open_from_source(src, ZIP_TRUNCATE, &ze);
    zip_source_keep(src);
    for (const ZipEntry &e : entries) {
        zip_source_t *s = zip_source_buffer(za, e.bytes.constData(), e.bytes.size(), 0);
        const zip_int64_t i = zip_file_add(za, e.name.toUtf8().constData(), s, ZIP_FL_ENC_UTF_8);
        zip_file_set_external_attributes(za, i, 0, ZIP_OPSYS_UNIX, zip_uint32_t(e.mode) << 16);
    }
    zip_close(za);
    QByteArray out;
    zip_source_open(src);
    zip_source_seek(src, 0, SEEK_END);
    out.resize(zip_source_tell(src));
    zip_source_seek(src, 0, SEEK_SET);
    zip_source_read(src, out.data(), out.size());
    zip_source_close(src);
    zip_source_free(src);
    zip_error_fini(&ze);
    return out;
}

// The manifest that tells the truth about the entries.
inline backup::Manifest manifestOf(const QList<ZipEntry> &entries) {
    backup::Manifest m;
    m.version = "5.0";
    m.created = QDateTime(QDate(2024, 3, 5), QTime(14, 30));
    for (const ZipEntry &e : entries)
        m.files.append({e.name, e.bytes.size(), backup::sha256Hex(e.bytes)});
    return m;
}

// Where the data of an entry begins in an archive (after its local header).
inline qsizetype dataOffset(const QByteArray &zip, const QString &name) {
    const qsizetype at = zip.indexOf(name.toUtf8());
    const qsizetype header = at - 30;
    const auto u16 = [&](qsizetype i) { return uchar(zip[i]) | uchar(zip[i + 1]) << 8; };
    return at + u16(header + 26) + u16(header + 28);
}

} // namespace testutil
