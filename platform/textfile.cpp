#include "textfile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringDecoder>

#include "win1252.h"

#include <cerrno>
#include <unistd.h>

namespace textfile {

namespace {

constexpr char kBom[] = "\xEF\xBB\xBF";

QString decodeFile(const QByteArray &raw) {
    if (isUtf8(raw)) return QString::fromUtf8(QByteArrayView(raw).sliced(3));
    return win1252::decode(raw.startsWith(kBom) ? raw.mid(3) : raw);
}

} // namespace

bool isUtf8(QByteArrayView raw) {
    if (!raw.startsWith(kBom)) return false;
    // The decoder decodes only when its result is taken.
    QStringDecoder utf8(QStringDecoder::Utf8);
    [[maybe_unused]] const QString text = utf8.decode(raw.sliced(3));
    return !utf8.hasError();
}

QStringList splitLines(const QString &text) {
    QStringList lines;
    qsizetype start = 0;
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = text.at(i);
        if (c == u'\n' || c == u'\r') {
            lines.append(text.mid(start, i - start));
            if (c == u'\r' && i + 1 < n && text.at(i + 1) == u'\n') ++i;
            start = i + 1;
        }
    }
    if (start < n) lines.append(text.mid(start));
    return lines;
}

bool readText(const QString &path, QString &text) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return false;
    text = decodeFile(f.readAll());
    return true;
}

bool readLines(const QString &path, QStringList &lines) {
    QString text;
    if (!readText(path, text)) return false;
    lines = splitLines(text);
    return true;
}

QString reasonOf(int code) {
    switch (code) {
    case 0:
        return QStringLiteral("Der Schreibvorgang ist fehlgeschlagen.");
    case ENOSPC:
        return QStringLiteral("Der Datenträger ist voll.");
    case EDQUOT:
        return QStringLiteral("Der Ihnen zugeteilte Speicherplatz (Quota) ist aufgebraucht.");
    case EFBIG:
        return QStringLiteral("Die Datei würde größer als erlaubt.");
    case EACCES:
    case EPERM:
        return QStringLiteral("Es fehlt die Berechtigung, die Datei zu schreiben.");
    case EROFS:
        return QStringLiteral("Der Datenträger ist schreibgeschützt.");
    case ENOENT:
        return QStringLiteral("Der Ordner der Datei existiert nicht.");
    case ENOTDIR:
        return QStringLiteral("Ein Teil des Pfades ist kein Ordner.");
    case EISDIR:
        return QStringLiteral("Unter diesem Namen gibt es bereits einen Ordner.");
    case ENAMETOOLONG:
        return QStringLiteral("Der Dateiname ist zu lang.");
    case ELOOP:
        return QStringLiteral("Der Pfad enthält zu viele Verknüpfungen.");
    case EIO:
        return QStringLiteral("Beim Schreiben auf den Datenträger ist ein Ein-/Ausgabefehler "
                              "aufgetreten.");
    case EMFILE:
    case ENFILE:
        return QStringLiteral("Es sind zu viele Dateien gleichzeitig geöffnet.");
    case ENOMEM:
        return QStringLiteral("Es ist nicht genügend Arbeitsspeicher frei.");
    case EBUSY:
    case ETXTBSY:
        return QStringLiteral("Die Datei wird gerade von einem anderen Programm benutzt.");
    default:
        return QStringLiteral("Der Schreibvorgang ist fehlgeschlagen (Systemfehler %1).").arg(code);
    }
}

QString SaveResult::message(const QString &path) const {
    QString text = QStringLiteral("Die Datei \"%1\" konnte nicht gespeichert werden. %2")
                       .arg(QDir::toNativeSeparators(path), reason);
    if (existed) text += QStringLiteral(" Ihr bisheriger Inhalt bleibt unverändert erhalten.");
    return text;
}

namespace {

SaveResult failure(int code, bool opened, bool existed) {
    SaveResult r;
    r.ok = false;
    r.opened = opened;
    r.existed = existed;
    r.code = code;
    r.reason = reasonOf(code);
    return r;
}

// Why no temporary file could be made: what the file system shows first,
// then the error number the attempt left behind.
int openErrorOf(const QString &path, int err) {
    const QFileInfo target(path);
    if (target.isDir()) return EISDIR;
    const QFileInfo folder(target.absolutePath());
    if (!folder.exists()) return ENOENT;
    if (!folder.isDir()) return ENOTDIR;
    if (target.exists() && !target.isWritable()) return EACCES;
    if (err != 0) return err;
    if (!folder.isWritable()) return EACCES;
    return 0;
}

} // namespace

SaveResult save(const QString &path, const QByteArray &bytes) {
    const bool existed = QFileInfo::exists(path);
    QSaveFile f(path);
    errno = 0;
    if (!f.open(QIODevice::WriteOnly)) return failure(openErrorOf(path, errno), false, existed);
    // The bytes go straight to the descriptor: QSaveFile's own buffer hides a
    // failed write until after commit() has replaced the old file.
    const int fd = f.handle();
    if (fd < 0) {
        f.cancelWriting();
        return failure(0, true, existed);
    }
    const char *data = bytes.constData();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t n = ::write(fd, data, size_t(left));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            const int err = n < 0 ? errno : EIO;
            f.cancelWriting();
            return failure(err, true, existed);
        }
        data += n;
        left -= n;
    }
    if (!f.flush()) {
        f.cancelWriting();
        return failure(EIO, true, existed);
    }
    // Delayed allocation and network file systems report a full disk only here.
    if (::fsync(fd) != 0 && errno != EINVAL && errno != EROFS) {
        const int err = errno;
        f.cancelWriting();
        return failure(err, true, existed);
    }
    errno = 0;
    if (!f.commit()) return failure(errno, true, existed);
    return {};
}

QByteArray encodeLines(const QStringList &lines) {
    QByteArray bytes;
    for (const QString &l : lines) {
        bytes += win1252::encode(l);
        bytes += "\r\n";
    }
    return bytes;
}

bool writeBytes(const QString &path, const QByteArray &bytes, QString *error) {
    const SaveResult r = save(path, bytes);
    if (!r && error) *error = r.reason;
    return r.ok;
}

bool writeLines(const QString &path, const QStringList &lines, QString *error) {
    return writeBytes(path, encodeLines(lines), error);
}

} // namespace textfile
