#pragma once
#include <QByteArray>
#include <QIODevice>
#include <QSaveFile>
#include <QString>
#include <QStringList>

// Whole-file access to Windows-1252 text files with CR LF line ends.
namespace textfile {

// Reads all lines; accepts CR LF, LF and a missing last line end, and skips a
// UTF-8 byte-order mark (decoding the rest as UTF-8 when it is valid UTF-8).
// Returns false when the file cannot be opened.
bool readLines(const QString &path, QStringList &lines);
// Whether a file's bytes are UTF-8: they begin with the byte-order mark and
// all that follows it is valid UTF-8. Any other file is Windows-1252.
bool isUtf8(QByteArrayView raw);
// The whole file as one text with the line ends as stored.
bool readText(const QString &path, QString &text);

// Outcome of a verified save.
struct SaveResult {
    bool ok = true;
    bool opened = true;   // false when not even the temporary file could be made
    bool existed = false; // a previous file was there (and is still there on failure)
    int code = 0;         // system error number of the failed step, 0 when unknown
    QString reason;       // German sentence naming the cause; empty on success

    explicit operator bool() const { return ok; }
    // German message for the user naming the file, the cause and that the
    // previous file was kept.
    QString message(const QString &path) const;
};

// Whether an existing file may be replaced: not when none of its write
// permission bits is set (the file manager shows it "schreibgeschützt"; this
// holds for the administrator too, who could write it anyway) or when this
// process may not write it. The failure names the cause; a file that does
// not exist may be written.
SaveResult checkReplaceable(const QString &path);
inline bool isWriteProtected(const QString &path) {
    return !checkReplaceable(path);
}

// A file written piece by piece through a temporary file beside the target.
// The target is replaced only when commit() finds that every write, the
// flush and the sync to disk succeeded; destroyed without a commit, or after
// a failure, the temporary file is removed and the target stays byte for
// byte. A write-protected target is not replaced. The first failure is kept
// and every later write fails at once, so a writer may check only at the end.
class SafeFile : public QIODevice {
public:
    explicit SafeFile(const QString &path);
    ~SafeFile() override;
    SafeFile(const SafeFile &) = delete;
    SafeFile &operator=(const SafeFile &) = delete;

    // Makes the temporary file (write-only; any other mode fails).
    bool open(OpenMode mode = WriteOnly) override;
    // Puts the file in place; the result names the cause of the first failure.
    SaveResult commit();
    // The first failure so far (ok while there was none).
    const SaveResult &result() const { return m_result; }
    const QString &path() const { return m_path; }
    bool isSequential() const override { return true; }

protected:
    qint64 readData(char *, qint64) override { return -1; }
    qint64 writeData(const char *data, qint64 size) override;

private:
    void fail(int code, bool opened);
    void failWith(const QString &reason, int code, bool opened);

    QString m_path;
    QSaveFile m_file;
    SaveResult m_result;
    bool m_existed = false;
};

// Writes the bytes through a SafeFile.
SaveResult save(const QString &path, const QByteArray &bytes);
// Every line followed by CR LF, in Windows-1252.
QByteArray encodeLines(const QStringList &lines);

// The same safe writes with a yes/no answer; *error (when given) receives the
// German reason.
bool writeLines(const QString &path, const QStringList &lines, QString *error = nullptr);
bool writeBytes(const QString &path, const QByteArray &bytes, QString *error = nullptr);

// German sentence for a system error number of a failed write.
QString reasonOf(int code);

// Splits a decoded text into lines (CR LF, LF or lone CR).
QStringList splitLines(const QString &text);

} // namespace textfile
