#include "filestamp.h"

#include <sys/stat.h>

#include <QFile>

namespace {

qint64 nanoseconds(const timespec &t) {
    return qint64(t.tv_sec) * 1000000000 + t.tv_nsec;
}

} // namespace

FileStamp FileStamp::of(const struct stat *st) {
    FileStamp s;
    if (!st) return s;
    s.exists = true;
    s.size = st->st_size;
    s.mtimeNs = nanoseconds(st->st_mtim);
    s.ctimeNs = nanoseconds(st->st_ctim);
    s.inode = st->st_ino;
    s.device = st->st_dev;
    return s;
}

FileStamp FileStamp::of(const QString &path) {
    struct stat st {};
    const bool ok = !path.isEmpty() && ::stat(QFile::encodeName(path).constData(), &st) == 0;
    return of(ok ? &st : nullptr);
}

FileStamp FileStamp::ofDescriptor(int fd) {
    struct stat st {};
    return of(fd >= 0 && ::fstat(fd, &st) == 0 ? &st : nullptr);
}
