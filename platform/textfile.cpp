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

// Why no temporary file could be made: what the file system shows first,
// then the error number the attempt left behind.
int openErrorOf(const QString &path, int err) {
    const QFileInfo target(path);
    if (target.isDir()) return EISDIR;
    const QFileInfo folder(target.absolutePath());
    if (!folder.exists()) return ENOENT;
    if (!folder.isDir()) return ENOTDIR;
    if (err != 0) return err;
    if (::access(QFile::encodeName(folder.absoluteFilePath()).constData(), W_OK) != 0) return errno;
    return 0;
}

} // namespace

SaveResult checkReplaceable(const QString &path) {
    SaveResult r;
    const QFileInfo target(path);
    if (!target.exists() || target.isDir()) return r;
    r.existed = true;
    errno = 0;
    const auto writeBits =
        QFileDevice::WriteOwner | QFileDevice::WriteGroup | QFileDevice::WriteOther;
    if (!(target.permissions() & writeBits)) {
        r.code = EACCES;
        r.reason = QStringLiteral("Die Datei ist schreibgeschützt.");
    } else if (::access(QFile::encodeName(path).constData(), W_OK) != 0) {
        r.code = errno == 0 ? EACCES : errno;
        r.reason = reasonOf(r.code);
    } else {
        return r;
    }
    r.ok = false;
    r.opened = false;
    return r;
}

SafeFile::SafeFile(const QString &path) : m_path(path), m_file(path) {}

SafeFile::~SafeFile() {
    if (m_file.isOpen()) m_file.cancelWriting();
}

void SafeFile::failWith(const QString &reason, int code, bool opened) {
    if (!m_result.ok) return;
    m_result.ok = false;
    m_result.opened = opened;
    m_result.existed = m_existed;
    m_result.code = code;
    m_result.reason = reason;
    setErrorString(reason);
    if (m_file.isOpen()) m_file.cancelWriting();
}

void SafeFile::fail(int code, bool opened) {
    failWith(reasonOf(code), code, opened);
}

bool SafeFile::open(OpenMode mode) {
    m_result = SaveResult();
    m_existed = QFileInfo::exists(m_path);
    if ((mode & ReadOnly) || !(mode & WriteOnly)) {
        fail(EINVAL, false);
        return false;
    }
    if (const SaveResult r = checkReplaceable(m_path); !r) {
        failWith(r.reason, r.code, false);
        return false;
    }
    errno = 0;
    if (!m_file.open(QIODevice::WriteOnly)) {
        fail(openErrorOf(m_path, errno), false);
        return false;
    }
    if (m_file.handle() < 0) {
        fail(0, true);
        return false;
    }
    return QIODevice::open(WriteOnly | Unbuffered);
}

// The bytes go straight to the descriptor: QSaveFile's own buffer hides a
// failed write until after commit() has replaced the old file.
qint64 SafeFile::writeData(const char *data, qint64 size) {
    if (!m_result.ok) return -1;
    const int fd = m_file.handle();
    qint64 left = size;
    while (left > 0) {
        const ssize_t n = ::write(fd, data, size_t(left));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            fail(n < 0 ? errno : EIO, true);
            return -1;
        }
        data += n;
        left -= n;
    }
    return size;
}

SaveResult SafeFile::commit() {
    if (m_result.ok && !m_file.isOpen()) fail(0, false);
    if (!m_result.ok) {
        QIODevice::close();
        return m_result;
    }
    if (!m_file.flush()) {
        fail(EIO, true);
    } else if (::fsync(m_file.handle()) != 0 && errno != EINVAL && errno != EROFS) {
        // Delayed allocation and network file systems report a full disk only here.
        fail(errno, true);
    } else {
        errno = 0;
        if (!m_file.commit()) {
            const int err = errno;
            failWith(reasonOf(err), err, true);
        }
    }
    QIODevice::close();
    return m_result;
}

SaveResult save(const QString &path, const QByteArray &bytes) {
    SafeFile f(path);
    if (f.open()) f.write(bytes);
    return f.commit();
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
