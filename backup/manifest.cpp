#include "manifest.h"

#include <QCryptographicHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QSet>

#include <cmath>

namespace backup {

QString programVersion() {
    return QStringLiteral(GLYKO_VERSION);
}

QByteArray sha256Hex(const QByteArray &bytes) {
    return QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex();
}

QByteArray Manifest::toJson() const {
    QJsonArray list;
    for (const ManifestEntry &e : files)
        list.append(QJsonObject{{QStringLiteral("path"), e.path},
                                {QStringLiteral("size"), double(e.size)},
                                {QStringLiteral("sha256"), QString::fromLatin1(e.sha256)}});
    const QDateTime withOffset = created.toOffsetFromUtc(created.offsetFromUtc());
    const QJsonObject root{{QStringLiteral("program"), program},
                           {QStringLiteral("version"), version},
                           {QStringLiteral("created"), withOffset.toString(Qt::ISODate)},
                           {QStringLiteral("files"), list}};
    return QJsonDocument(root).toJson(QJsonDocument::Indented);
}

namespace {

// Far above any file of the program; keeps the size a whole number in a double.
constexpr double kMaxSize = 1e15;

bool refuse(QString *error, const QString &why) {
    if (error)
        *error =
            QStringLiteral("das Inhaltsverzeichnis „%1“ ist ungültig: %2").arg(kManifestName, why);
    return false;
}

} // namespace

bool Manifest::fromJson(const QByteArray &json, Manifest &manifest, QString *error) {
    QJsonParseError parse;
    const QJsonDocument doc = QJsonDocument::fromJson(json, &parse);
    if (parse.error != QJsonParseError::NoError || !doc.isObject())
        return refuse(error, QStringLiteral("es ist kein lesbares JSON."));
    const QJsonObject root = doc.object();
    Manifest m;
    m.program = root.value(QStringLiteral("program")).toString();
    if (m.program != QStringLiteral("Glykovalin"))
        return refuse(error, QStringLiteral("es stammt nicht von Glykovalin."));
    m.version = root.value(QStringLiteral("version")).toString();
    m.created =
        QDateTime::fromString(root.value(QStringLiteral("created")).toString(), Qt::ISODate);
    if (!m.created.isValid())
        return refuse(error, QStringLiteral("der Zeitpunkt der Sicherung fehlt."));
    const QJsonValue files = root.value(QStringLiteral("files"));
    if (!files.isArray()) return refuse(error, QStringLiteral("die Liste der Dateien fehlt."));
    static const QRegularExpression hex(QStringLiteral("^[0-9a-f]{64}$"));
    QSet<QString> seen;
    for (const QJsonValue &v : files.toArray()) {
        const QJsonObject o = v.toObject();
        ManifestEntry e;
        e.path = o.value(QStringLiteral("path")).toString();
        const double size = o.value(QStringLiteral("size")).toDouble(-1);
        const QString sum = o.value(QStringLiteral("sha256")).toString();
        if (e.path.isEmpty() || size < 0 || size > kMaxSize || std::floor(size) != size ||
            !hex.match(sum).hasMatch())
            return refuse(error, QStringLiteral("ein Eintrag ist unvollständig."));
        if (seen.contains(e.path))
            return refuse(error, QStringLiteral("die Datei „%1“ steht zweimal darin.").arg(e.path));
        seen.insert(e.path);
        e.size = qint64(size);
        e.sha256 = sum.toLatin1();
        m.files.append(e);
    }
    manifest = m;
    return true;
}

} // namespace backup
