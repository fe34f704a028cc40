#include "archive.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>

#include <algorithm>

#include <sys/stat.h>
#include <zip.h>

#include "backupset.h"
#include "platform/textfile.h"

namespace backup {

namespace {

// Far above years of readings; a larger archive or entry is no backup of
// this program and is not unpacked into memory.
constexpr qint64 kMaxArchive = qint64(1) << 30;
constexpr zip_uint64_t kMaxEntry = zip_uint64_t(256) << 20;

struct Entry {
    QString name;
    QByteArray bytes;
    QDateTime modified;
};

bool addEntry(zip_t *za, const Entry &e) {
    zip_source_t *s = zip_source_buffer(za, e.bytes.constData(), zip_uint64_t(e.bytes.size()), 0);
    if (!s) return false;
    const zip_int64_t i = zip_file_add(za, e.name.toUtf8().constData(), s, ZIP_FL_ENC_UTF_8);
    if (i < 0) {
        zip_source_free(s);
        return false;
    }
    const auto index = zip_uint64_t(i);
    return zip_file_set_mtime(za, index, time_t(e.modified.toSecsSinceEpoch()), 0) == 0 &&
           zip_file_set_external_attributes(za, index, 0, ZIP_OPSYS_UNIX,
                                            zip_uint32_t(S_IFREG | 0644) << 16) == 0;
}

// The bytes an archive source holds after the archive was closed.
bool sourceBytes(zip_source_t *src, QByteArray &out) {
    if (zip_source_open(src) != 0) return false;
    bool ok = zip_source_seek(src, 0, SEEK_END) == 0;
    const zip_int64_t size = ok ? zip_source_tell(src) : -1;
    ok = size >= 0 && zip_source_seek(src, 0, SEEK_SET) == 0;
    if (ok) {
        out.resize(qsizetype(size));
        ok = zip_source_read(src, out.data(), zip_uint64_t(size)) == size;
    }
    zip_source_close(src);
    return ok;
}

// The entries as a ZIP archive in memory. The entries' bytes are only read
// by zip_close(), which must succeed for the archive to count as made.
bool zipBytes(const QList<Entry> &entries, QByteArray &out) {
    zip_error_t ze;
    zip_error_init(&ze);
    zip_source_t *src = zip_source_buffer_create(nullptr, 0, 0, &ze);
    zip_t *za = src ? zip_open_from_source(src, ZIP_TRUNCATE, &ze) : nullptr;
    zip_error_fini(&ze);
    if (!za) {
        if (src) zip_source_free(src);
        return false;
    }
    zip_source_keep(src); // the bytes are read from it after zip_close()
    bool ok = true;
    for (const Entry &e : entries)
        ok = ok && addEntry(za, e);
    if (ok && zip_close(za) == 0) {
        ok = sourceBytes(src, out);
    } else {
        zip_discard(za);
        ok = false;
    }
    zip_source_free(src);
    return ok;
}

// An open archive that is discarded when it goes out of scope.
class OpenZip {
public:
    explicit OpenZip(zip_t *za) : m_za(za) {}
    ~OpenZip() {
        if (m_za) zip_discard(m_za);
    }
    OpenZip(const OpenZip &) = delete;
    OpenZip &operator=(const OpenZip &) = delete;
    zip_t *get() const { return m_za; }

private:
    zip_t *m_za;
};

// Reads an entry whole. libzip compares the checksum of the data when the
// end is read, so a read past the stated size must find the end.
bool readEntry(zip_t *za, zip_uint64_t index, QByteArray &out) {
    zip_stat_t st;
    zip_stat_init(&st);
    if (zip_stat_index(za, index, 0, &st) != 0 || !(st.valid & ZIP_STAT_SIZE) ||
        st.size > kMaxEntry)
        return false;
    zip_file_t *zf = zip_fopen_index(za, index, 0);
    if (!zf) return false;
    out.resize(qsizetype(st.size));
    zip_int64_t got = 0;
    while (got < zip_int64_t(st.size)) {
        const zip_int64_t n = zip_fread(zf, out.data() + got, st.size - zip_uint64_t(got));
        if (n <= 0) break;
        got += n;
    }
    char beyond = 0;
    const bool ok = got == zip_int64_t(st.size) && zip_fread(zf, &beyond, 1) == 0;
    return zip_fclose(zf) == 0 && ok;
}

// A relative path that stays inside the folder it is taken in.
bool staysInside(const QString &path) {
    if (path.isEmpty() || path.startsWith(u'/') || path.contains(QChar(0))) return false;
    const QStringList parts = path.split(u'/');
    return std::none_of(parts.begin(), parts.end(),
                        [](const QString &p) { return p.isEmpty() || p == u"." || p == u".."; });
}

// Checks the entries against the manifest.
bool matchManifest(const Manifest &m, const QHash<QString, QByteArray> &contents, Archive &archive,
                   QString &why) {
    archive = Archive{m, {}};
    for (const ManifestEntry &e : m.files) {
        const auto it = contents.constFind(e.path);
        if (it == contents.cend()) {
            why = QStringLiteral("„%1“ steht im Inhaltsverzeichnis, fehlt aber im Archiv.")
                      .arg(e.path);
            return false;
        }
        if (it->size() != e.size) {
            why = QStringLiteral("„%1“ ist %2 Bytes groß, laut Inhaltsverzeichnis aber %3 Bytes.")
                      .arg(e.path)
                      .arg(it->size())
                      .arg(e.size);
            return false;
        }
        if (sha256Hex(*it) != e.sha256) {
            why = QStringLiteral("die Prüfsumme (SHA-256) von „%1“ stimmt nicht mit dem "
                                 "Inhaltsverzeichnis überein.")
                      .arg(e.path);
            return false;
        }
        archive.files.append({e.path, *it});
    }
    if (archive.files.size() != contents.size()) {
        for (auto it = contents.cbegin(); it != contents.cend(); ++it) {
            const bool listed =
                std::any_of(m.files.cbegin(), m.files.cend(),
                            [&](const ManifestEntry &e) { return e.path == it.key(); });
            if (!listed) {
                why = QStringLiteral("„%1“ ist im Archiv, steht aber nicht im Inhaltsverzeichnis.")
                          .arg(it.key());
                break;
            }
        }
        return false;
    }
    return true;
}

// Reads every entry, checking what each one is and where it would go.
bool readEntries(zip_t *za, QHash<QString, QByteArray> &contents, QByteArray &manifest,
                 QString &why) {
    bool haveManifest = false;
    const zip_int64_t count = zip_get_num_entries(za, 0);
    for (zip_uint64_t i = 0; count > 0 && i < zip_uint64_t(count); ++i) {
        const char *raw = zip_get_name(za, i, ZIP_FL_ENC_GUESS);
        if (!raw) {
            why = QStringLiteral("das Verzeichnis des Archivs ist beschädigt.");
            return false;
        }
        QString name = QString::fromUtf8(raw);
        const bool folder = name.endsWith(u'/');
        if (!staysInside(folder ? name.chopped(1) : name)) {
            why = QStringLiteral("der Eintrag „%1“ läge außerhalb des Glykovalin-Ordners "
                                 "(absoluter Pfad oder „..“).")
                      .arg(name);
            return false;
        }
        zip_uint8_t system = 0;
        zip_uint32_t attributes = 0;
        if (zip_file_get_external_attributes(za, i, 0, &system, &attributes) != 0) {
            why = QStringLiteral("das Verzeichnis des Archivs ist beschädigt.");
            return false;
        }
        const mode_t type = system == ZIP_OPSYS_UNIX ? mode_t(attributes >> 16) & S_IFMT : 0;
        if (type == S_IFLNK) {
            why = QStringLiteral("der Eintrag „%1“ ist eine Verknüpfung (Link).").arg(name);
            return false;
        }
        if (type != 0 && type != (folder ? S_IFDIR : S_IFREG)) {
            why = QStringLiteral("der Eintrag „%1“ ist keine gewöhnliche Datei.").arg(name);
            return false;
        }
        if (folder) continue;
        const bool isManifest = name == kManifestName;
        if (!isManifest && !belongs(name)) {
            why = QStringLiteral("der Eintrag „%1“ gehört nicht zu den Dateien, die Glykovalin "
                                 "sichert.")
                      .arg(name);
            return false;
        }
        if (isManifest ? haveManifest : contents.contains(name)) {
            why = QStringLiteral("der Eintrag „%1“ steht zweimal im Archiv.").arg(name);
            return false;
        }
        QByteArray bytes;
        if (!readEntry(za, i, bytes)) {
            why = QStringLiteral("der Inhalt von „%1“ ist beschädigt.").arg(name);
            return false;
        }
        if (isManifest) {
            manifest = bytes;
            haveManifest = true;
        } else {
            contents.insert(name, bytes);
        }
    }
    if (!haveManifest) {
        why = QStringLiteral("das Inhaltsverzeichnis „%1“ fehlt.").arg(kManifestName);
        return false;
    }
    return true;
}

} // namespace

WriteResult writeArchive(const Folders &folders, const QString &target, const QDateTime &now) {
    WriteResult r;
    Manifest manifest;
    manifest.version = programVersion();
    manifest.created = now;
    QList<Entry> entries;
    for (const SetFile &f : collect(folders)) {
        QFile file(f.absolute);
        if (!file.open(QIODevice::ReadOnly)) {
            r.message = QStringLiteral("Die Datei „%1“ kann nicht gelesen werden. Es wurde keine "
                                       "Sicherung geschrieben.")
                            .arg(QDir::toNativeSeparators(f.absolute));
            return r;
        }
        const QByteArray bytes = file.readAll();
        manifest.files.append({f.relative, bytes.size(), sha256Hex(bytes)});
        entries.append({f.relative, bytes, QFileInfo(file).lastModified()});
    }
    entries.prepend({kManifestName, manifest.toJson(), now});
    QByteArray zip;
    if (!zipBytes(entries, zip)) {
        r.message = QStringLiteral("Das ZIP-Archiv der Sicherung konnte nicht zusammengestellt "
                                   "werden. Es wurde keine Sicherung geschrieben.");
        return r;
    }
    const textfile::SaveResult saved = textfile::save(target, zip);
    if (!saved) {
        r.message = saved.message(target);
        return r;
    }
    r.ok = true;
    r.fileCount = int(manifest.files.size());
    return r;
}

bool readArchive(const QString &path, Archive &archive, QString *error) {
    const QString shown = QDir::toNativeSeparators(path);
    auto refuse = [&](const QString &why) {
        if (error)
            *error = QStringLiteral("Die Datei „%1“ ist keine einwandfreie Glykovalin-Sicherung: "
                                    "%2")
                         .arg(shown, why);
        return false;
    };
    QFile file(path);
    if (!QFileInfo(path).isFile() || !file.open(QIODevice::ReadOnly)) {
        if (error) *error = QStringLiteral("Die Datei „%1“ kann nicht gelesen werden.").arg(shown);
        return false;
    }
    if (file.size() > kMaxArchive)
        return refuse(QStringLiteral("sie ist größer als jede Sicherung dieses Programms."));
    const QByteArray raw = file.readAll();
    zip_error_t ze;
    zip_error_init(&ze);
    zip_source_t *src = zip_source_buffer_create(raw.constData(), zip_uint64_t(raw.size()), 0, &ze);
    zip_t *za = src ? zip_open_from_source(src, ZIP_RDONLY | ZIP_CHECKCONS, &ze) : nullptr;
    zip_error_fini(&ze);
    if (!za) {
        if (src) zip_source_free(src);
        return refuse(QStringLiteral("sie lässt sich nicht als ZIP-Archiv öffnen (beschädigt, "
                                     "abgeschnitten oder keine ZIP-Datei)."));
    }
    const OpenZip open(za); // owns the source from here on
    QHash<QString, QByteArray> contents;
    QByteArray manifestBytes;
    QString why;
    Manifest manifest;
    Archive checked;
    if (!readEntries(za, contents, manifestBytes, why) ||
        !Manifest::fromJson(manifestBytes, manifest, &why) ||
        !matchManifest(manifest, contents, checked, why))
        return refuse(why);
    archive = checked;
    return true;
}

} // namespace backup
