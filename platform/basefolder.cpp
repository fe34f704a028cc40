#include "basefolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "textfile.h"
#include "ui.h"

#ifndef GLYKO_DATA_FROM_BIN
#define GLYKO_DATA_FROM_BIN "../share/glykovalin"
#endif

namespace basefolder {

namespace {

const QString kSettings = QStringLiteral("glykoval.ini");

bool holdsSettings(const QString &folder) {
    return !folder.isEmpty() && QFileInfo(QDir(folder).filePath(kSettings)).isFile();
}

bool sameFolder(const QString &a, const QString &b) {
    if (a.isEmpty() || b.isEmpty()) return false;
    const QString ca = QFileInfo(a).canonicalFilePath();
    return !ca.isEmpty() && ca == QFileInfo(b).canonicalFilePath();
}

// Copies one file through a temporary file, so that a failed copy leaves no
// half file behind; the copy gets the user's default permissions, whatever the
// installed file has.
bool copyFile(const QString &from, const QString &to) {
    QFile in(from);
    if (!in.open(QIODevice::ReadOnly)) return false;
    const QByteArray bytes = in.readAll();
    if (in.error() != QFileDevice::NoError) return false;
    if (!QDir().mkpath(QFileInfo(to).absolutePath())) return false;
    return textfile::writeBytes(to, bytes);
}

QString native(const QString &path) {
    return QDir::toNativeSeparators(QDir::cleanPath(path));
}

} // namespace

const QStringList &deliveredFiles() {
    static const QStringList files = {
        QStringLiteral("Grafik4.bmp"),
        QStringLiteral("Grafik8.bmp"),
        QStringLiteral("M_einheit.bmp"),
        QStringLiteral("Header.bmp"),
        QStringLiteral("Glykovalin-Hilfe.htm"),
        QStringLiteral("scripts/Chart.min.js"),
        kSettings,
    };
    return files;
}

QString userFolder(const QString &home) {
    return QDir(home).filePath(QStringLiteral("Glykovalin"));
}

QString installedDataFolder(const QString &programFolder) {
    const QString share = QDir::cleanPath(QDir(programFolder).filePath(GLYKO_DATA_FROM_BIN));
    return holdsSettings(share) ? share : QString();
}

QString deliveredFolder(const QString &programFolder) {
    const QString share = installedDataFolder(programFolder);
    if (!share.isEmpty()) return share;
    return holdsSettings(programFolder) ? QDir::cleanPath(programFolder) : QString();
}

QString choose(const QString &current, const QString &installed, const QString &home) {
    if (holdsSettings(current) && !sameFolder(current, installed)) return QDir::cleanPath(current);
    return userFolder(home);
}

bool prepare(const QString &folder, const QString &delivered, QStringList &notCopied) {
    if (!QDir().mkpath(folder) || !QFileInfo(folder).isDir()) return false;
    const QDir dir(folder);
    // The settings file comes last: a start that stops half-way is completed next time.
    for (const QString &name : deliveredFiles()) {
        const QString target = dir.filePath(name);
        if (QFileInfo::exists(target)) continue;
        if (delivered.isEmpty() || !copyFile(QDir(delivered).filePath(name), target))
            notCopied << name;
    }
    return true;
}

bool enter(ui::Services &ui) {
    const QString program = QCoreApplication::applicationDirPath();
    const QString home = QDir::homePath();
    const QString folder = choose(QDir::currentPath(), installedDataFolder(program), home);
    // A folder of the user's own choice is taken as it is.
    if (folder != userFolder(home)) return true;
    QStringList notCopied;
    if (!prepare(folder, deliveredFolder(program), notCopied)) {
        ui.showWarning(QStringLiteral("Ordner \"%1\" konnte nicht erstellt werden! "
                                      "Das Programm wird beendet.")
                           .arg(native(folder)));
        return false;
    }
    if (!QDir::setCurrent(folder)) {
        ui.showWarning(QStringLiteral("In den Ordner \"%1\" kann nicht gewechselt werden! "
                                      "Das Programm wird beendet.")
                           .arg(native(folder)));
        return false;
    }
    if (!notCopied.isEmpty())
        ui.showWarning(QStringLiteral("Diese mitgelieferten Dateien konnten nicht in den "
                                      "Ordner \"%1\" kopiert werden:\n%2\n"
                                      "Das Programm läuft ohne sie weiter.")
                           .arg(native(folder), notCopied.join(u'\n')));
    return true;
}

} // namespace basefolder
