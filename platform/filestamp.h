#pragma once
#include <QString>
#include <QtGlobal>

struct stat;

// The state of a file as the system reports it. An unchanged stamp means the
// file was neither written nor replaced since: size, modification and change
// times to the nanosecond, inode and device.
struct FileStamp {
    bool exists = false;
    qint64 size = 0, mtimeNs = 0, ctimeNs = 0;
    quint64 inode = 0, device = 0;
    bool operator==(const FileStamp &) const = default;

    // The stamp of a stat result (nullptr: a file that does not exist).
    static FileStamp of(const struct stat *st);
    static FileStamp of(const QString &path);
    static FileStamp ofDescriptor(int fd);
};
