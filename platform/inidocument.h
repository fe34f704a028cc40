#pragma once
#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <QStringView>
#include <memory>

#include "filestamp.h"

class QFile;

namespace textfile {
struct SaveResult;
}

// Hand-written because QSettings reads INI files by other rules (case,
// quotes, comments, escapes) and writes them back whole; the user's
// glykoval.ini and month tables must keep every other line byte for byte.
//
// INI files with the rules of the Windows profile functions: sections and
// keys match without regard to case, the first section of a name and the
// first key of a name in it win, a section name ends at the last "]" of its
// line, names and values are trimmed of blanks and tabs, a value in matching
// double or single quotes loses them, the value is all text after the first
// "=", and ";" starts no comment. Reads give at most ini::kMaxValue characters
// and the empty text when file, section or key is missing. A file that starts
// with a UTF-8 byte-order mark and is valid UTF-8 is read and written as
// UTF-8, any other as Windows-1252.
namespace ini {

constexpr int kMaxValue = 255;

// The section name of a line, or a null text when the line is no section line.
QString sectionOf(QStringView line);
// Key and value (both trimmed, the value still quoted) of a line holding "=".
bool keyOf(QStringView line, QString &key, QString &value);
// A stored value as a read gives it: quotes removed, cut to kMaxValue.
QString readValue(const QString &stored);

// The value of a key in lines that were already read, with the rules above;
// *found (when given) tells whether the key exists.
QString valueIn(const QStringList &lines, const QString &section, const QString &key,
                bool *found = nullptr);

} // namespace ini

// One INI file held in memory. Reads are answered from the parsed text; the
// file is read in parts, as far as a read needs it, and all of it before a
// write. It is read anew only when its size, modification time, change time
// or inode changed since it was read or written. Every change is written through
// at once, atomically and verified, and keeps every other line byte for byte.
// A failed write leaves the file and the document as they were.
class IniDocument {
public:
    explicit IniDocument(const QString &path);
    ~IniDocument();
    IniDocument(const IniDocument &) = delete;
    IniDocument &operator=(const IniDocument &) = delete;

    const QString &path() const { return m_path; }

    QString read(const QString &section, const QString &key);
    // Whether the key exists (its value may be empty).
    bool contains(const QString &section, const QString &key);
    // Whether the file exists (as of the last check).
    bool exists();

    struct Change {
        QString section, key, value;
    };
    // Creates file, section or key as needed. False (with the German message
    // naming the file in *error) when the file cannot be written.
    bool write(const QString &section, const QString &key, const QString &value,
               QString *error = nullptr);
    // Several changes in one write, applied in order as single writes would
    // be. Nothing is written when the result equals the file.
    bool write(const QList<Change> &changes, QString *error = nullptr);

    // The German cause of the last failed write (without the file name).
    const QString &lastReason() const { return m_lastReason; }

    // How often the file was opened and parsed, and how often it was written.
    int loadCount() const { return m_loads; }
    // How much of the file was read since it was last opened.
    qsizetype bytesRead() const { return m_raw.size(); }
    int saveCount() const { return m_saves; }

private:
    struct Line {
        qsizetype start = 0, length = 0, endLength = 0;
    };
    struct KeyEntry {
        int line = -1;
        QString value; // trimmed, quotes kept
    };
    struct Section {
        int header = -1;
        int end = -1; // the next section line or the line count
        bool indexed = false;
        int nextToIndex = -1; // the first line whose key is not indexed yet
        int lastKeyLine = -1;
        QHash<QString, KeyEntry> keys; // by folded name, first occurrence
    };

    void refresh();
    void load();
    void reset();
    // The whole text at once (after a write).
    void parse(const QByteArray &raw);
    // Reads the next part of the file, or all that is left.
    void readMore();
    void readRest();
    // Splits what was read into lines and finds the section lines among
    // them; at the end of the file the last line and section end too.
    void split(bool atEnd);
    QString lineText(int index) const;
    QByteArray encode(const QString &text) const;
    // The section of that name, read on until it is found; -1 when none.
    int sectionNumber(const QString &name);
    Section *section(const QString &name);
    const KeyEntry *find(const QString &section, const QString &key);
    // Indexes the keys of section `found` in file order until `stopAt` (a
    // folded key) is indexed or the section ends, reading on while the
    // section is still open; null for the whole section.
    const KeyEntry *indexUntil(int found, const QString *stopAt);
    bool fail(const textfile::SaveResult &r, QString *error);
    // What a write changes, collected before the new text is made.
    struct Edits;
    // Whether an existing file may be written: it could be read and is
    // writable. False with the failure reported as fail() does.
    bool checkWritable(QString *error);
    // Adds a change to the edits, as a single write would make it.
    void plan(const Change &c, Edits &e);
    // The file's text with the edits made.
    QByteArray apply(const Edits &e) const;

    // Start-up reads the settings at the top of the file; the rest, mostly
    // remarks, is read when a section not yet seen is asked for or the file
    // is written.
    static constexpr qsizetype kFirstPart = 4 * 1024;
    static constexpr qint64 kReserveLimit = 64 * 1024 * 1024;

    QString m_path;
    bool m_loaded = false;
    bool m_readable = true; // false when the file exists but could not be read
    FileStamp m_stamp;
    QByteArray m_raw;
    std::unique_ptr<QFile> m_rest; // open while part of the file is unread
    bool m_complete = true;
    qsizetype m_scanned = 0; // m_raw is split into lines up to here
    QList<Line> m_lines;
    bool m_utf8 = false;
    QList<Section> m_sections;
    QHash<QString, int> m_sectionIndex; // folded name → first section of it
    int m_openSection = -1;             // the last section found while its end is unread
    QString m_lastReason;
    int m_loads = 0;
    int m_saves = 0;
};
