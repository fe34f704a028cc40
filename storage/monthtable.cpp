#include "monthtable.h"

#include <algorithm>

#include <QFileInfo>

#include "entryline.h"
#include "platform/folders.h"
#include "platform/profile.h"
#include "platform/textfile.h"
#include "platform/win1252.h"

namespace monthtable {

Margins readMargins(const QString &tablePath) {
    Margins m;
    auto take = [&tablePath](const char *key, QString &target) {
        const QString v = profile::read(tablePath, kSection, QString::fromLatin1(key));
        if (!v.isEmpty()) target = v;
    };
    take("DruckenTabellenRandLeft", m.left);
    take("DruckenTabellenRandRight", m.right);
    take("DruckenTabellenRandTop", m.top);
    take("DruckenTabellenRandBottom", m.bottom);
    return m;
}

namespace {
bool safeInitial(QChar c) {
    return !(c == u'/' || c == u'\\' || c == u'.' || c.unicode() < 0x20 || c.unicode() == 0x7F ||
             (c.unicode() >= 0x80 && c.unicode() < 0xA0) || c == u'?' || c == u'*' || c == u':');
}
} // namespace

bool initialsOf(const QString &userName, QString &initials, QString *error) {
    if (userName.trimmed().isEmpty()) {
        if (error)
            *error = QStringLiteral("Es ist kein Benutzername eingetragen. Bitte geben Sie unter "
                                    "\"Optionen | Benutzername ändern\" Ihren Namen ein.");
        return false;
    }
    QString ini = userName.left(1);
    const qsizetype blank = userName.indexOf(u' ');
    if (blank >= 0 && blank + 1 < userName.size()) ini += userName.at(blank + 1);
    for (QChar c : ini)
        if (!safeInitial(c) || !win1252::encodable(QString(c))) {
            if (error)
                *error = QStringLiteral("Aus dem Benutzernamen \"%1\" lässt sich kein gültiger "
                                        "Dateiname bilden. Bitte ändern Sie den Namen unter "
                                        "\"Optionen | Benutzername ändern\".")
                             .arg(userName);
            return false;
        }
    initials = ini;
    return true;
}

QString pathFor(const QString &dataFolder, const QString &initials, const QString &month,
                const QString &year) {
    return dataFolder + year + u'/' + initials + month + year + QStringLiteral(".tab");
}

QString yearOfPath(const QString &tablePath) {
    const qsizetype p = tablePath.lastIndexOf(QStringLiteral(".tab"), -1, Qt::CaseInsensitive);
    if (p < 4) return {};
    return tablePath.mid(p - 4, 4);
}

QString diaryPathOf(const QString &tablePath) {
    // A path written on Windows may use "\\" and a drive letter.
    const qsizetype cut = std::max(
        {tablePath.lastIndexOf(u'/'), tablePath.lastIndexOf(u'\\'), tablePath.lastIndexOf(u':')});
    const QString name = tablePath.mid(cut + 1);
    const qsizetype p = name.indexOf(QStringLiteral(".tab"), 0, Qt::CaseInsensitive);
    if (p < 0) return {};
    return tablePath.left(cut + 1) + name.left(p + 1) + QStringLiteral("txt");
}

QStringList compose(const WriteRequest &req, const Margins &m) {
    QStringList l;
    l << QStringLiteral("[Personendaten]") << QStringLiteral("BenutzerName=") + req.userName
      << QStringLiteral("Datum=") + GibMonatLang(req.month.toInt()) + u' ' + req.year << QString()
      << QStringLiteral("DruckenTabellenRandLeft=") + m.left
      << QStringLiteral("DruckenTabellenRandRight=") + m.right
      << QStringLiteral("DruckenTabellenRandTop=") + m.top
      << QStringLiteral("DruckenTabellenRandBottom=") + m.bottom << QString() << QString();
    if (req.fourSlots)
        l << QStringLiteral("BisZu4MessungenJeTag=1") << QStringLiteral("BisZu8MessungenJeTag=0");
    if (req.eightSlots)
        l << QStringLiteral("BisZu8MessungenJeTag=1") << QStringLiteral("BisZu4MessungenJeTag=0");
    l << QString() << QString();
    l << req.entries;
    return l;
}

WriteResult write(const WriteRequest &req) {
    WriteResult result;
    const Margins margins = readMargins(req.currentTablePath);
    QString path = req.targetPath;
    if (path.isEmpty()) {
        QString initials, error;
        if (!initialsOf(req.userName, initials, &error)) {
            result.notices.append({ui::Kind::Warning, error});
            return result;
        }
        const QString folder = req.dataFolder + req.year;
        if (!FolderExists(folder) && !ForceFolders(folder))
            result.notices.append({ui::Kind::Plain, QStringLiteral("Ordner \"") + folder +
                                                        QStringLiteral("\" konnte nicht erstellt "
                                                                       "werden! ")});
        path = pathFor(req.dataFolder, initials, req.month, req.year);
    }
    const textfile::SaveResult saved =
        textfile::save(path, textfile::encodeLines(compose(req, margins)));
    if (!saved.opened) {
        result.notices.append(
            {ui::Kind::Warning, QStringLiteral("Fehler beim Erzeugen der Datei ") + path + u'!'});
        return result;
    }
    if (!saved) {
        QString text = QStringLiteral("Fehler beim Schreiben der Datei ") + path +
                       QStringLiteral("! ") + saved.reason;
        if (saved.existed)
            text += QStringLiteral(" Die bisherige Fassung der Datei bleibt "
                                   "unverändert erhalten.");
        result.notices.append({ui::Kind::Warning, text});
        return result;
    }
    result.path = path;
    return result;
}

bool readLines(const QString &tablePath, QStringList &lines) {
    return textfile::readLines(tablePath, lines);
}

QStringList entryLines(const QStringList &lines) {
    QStringList out;
    for (const QString &l : lines)
        if (entryline::isEntryLine(l)) out.append(l);
    return out;
}

} // namespace monthtable
