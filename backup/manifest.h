#pragma once
#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>

// The table of contents every backup carries: which program wrote it, when,
// and each file's relative path, size and SHA-256, so that a damaged or
// altered archive is found before anything is restored from it.
namespace backup {

inline const QString kManifestName = QStringLiteral("glykovalin-sicherung.json");

struct ManifestEntry {
    QString path; // relative to the base folder, "/" between folders
    qint64 size = 0;
    QByteArray sha256; // 64 lower-case hexadecimal digits
};

struct Manifest {
    QString program = QStringLiteral("Glykovalin");
    QString version;   // of the program that wrote the backup
    QDateTime created; // local time with its offset from UTC
    QList<ManifestEntry> files;

    // The manifest as JSON (UTF-8, indented).
    QByteArray toJson() const;
    // Reads a manifest; false with the German reason (a clause that begins in
    // lower case) in *error when it is no
    // JSON, no Glykovalin manifest, or an entry is malformed or repeated.
    static bool fromJson(const QByteArray &json, Manifest &manifest, QString *error);
};

// The version of this program ("5.0").
QString programVersion();
// SHA-256 of the bytes as 64 lower-case hexadecimal digits.
QByteArray sha256Hex(const QByteArray &bytes);

} // namespace backup
