#pragma once
#include <QString>
#include <QStringList>

class SettingsStore;

// The diary file of one month: one line per stored page, "TagNN: " followed
// by the page's editable lines joined without separator, each section label
// marked with a "#". The whole file is kept as a list of lines; every store
// or delete changes the list and writes it back whole (Windows-1252, CR LF).
class DiaryBook {
public:
    // Which caller stores a page; they differ in deriving the path and in
    // reading the file back.
    enum class StoreFrom { DayClick, Close, Delete };
    enum class LoadResult { NotATable, Loaded, Missing };

    // A stored page cut at its three markers.
    struct Sections {
        QString day;                         // "05" of a line that starts "Tag05"; else empty
        QString head, carb, insulin, remark; // head without "TagNN: "
        bool complete = false;               // all three markers found
    };

    // "Tag05" for day 5; empty for a day outside 1..31.
    static QString dayKey(int day);
    // True when the line is a page of that day: it starts with "TagNN: "
    // (text typed into another page never makes a line count as this day's).
    static bool belongsToDay(const QString &line, int day);
    // The diary path of a month table path: the name up to the "." of the
    // first ".tab" (in any case) + "txt"; `previous` when there is no ".tab".
    static QString diaryPathFor(const QString &tablePath, const QString &previous = QString());

    // Marked page text of the editor's lines (index 5 to the last joined,
    // "#" before the carbohydrate, insulin and remark labels). A "#" typed by
    // the user is written as "&num;", so it cannot be taken for a marker; a
    // line whose label was deleted still gets its marker in front of its text.
    static QString GibMarkierteTagebuchseite(const QStringList &editorLines);
    // Cuts a page line at its three markers; the user's "#" come back.
    static Sections splitSections(const QString &pageLine);
    // Turns the escaped "#" of a stored text back into "#".
    static QString unescapeText(const QString &text);
    static QString escapeText(const QString &text);

    // Loads the diary of a month table: nothing happens for a name without
    // ".tab" (NotATable); a missing file empties the list when
    // clearWhenMissing is set and gives Missing.
    LoadResult LadeTagebuch(const QString &tablePath, bool clearWhenMissing = true);

    // Stores `markedText` as the page of `day`: removes the day's lines,
    // appends the new line and writes the file; the file is read first, so
    // its other pages stay. An empty path is derived
    // from currentTablePath; from a day click the
    // table path goes to "TabellenDateiName" first and the file is read back
    // afterwards. False with *error when the day is invalid or writing failed
    // (the list keeps the change).
    bool SpeichereTagebuchseite(int day, const QString &markedText, StoreFrom from,
                                const QString &currentTablePath, const SettingsStore &settings,
                                QString *error = nullptr);
    // Removes the day's lines and writes the file.
    bool deleteDay(int day, QString *error = nullptr);

    // The last stored page line of a day (empty when it has none).
    QString pageLineOfDay(int day) const;
    QStringList linesOfDay(int day) const;

    // Whether a page text can be written without loss: a diary read as
    // UTF-8 (with byte-order mark) takes every character, a Windows-1252
    // diary only the characters of that code page.
    bool canStore(const QString &text) const;
    bool isUtf8() const { return m_utf8; }

    // An empty book at a path (no file is read or written).
    void reset(const QString &path = QString()) {
        m_path = path;
        m_lines.clear();
        m_utf8 = false;
    }

    const QStringList &lines() const { return m_lines; }
    void setLines(const QStringList &lines) { m_lines = lines; }
    const QString &path() const { return m_path; }
    void setPath(const QString &path) { m_path = path; }

private:
    bool readFile(const QString &path);
    // Reads the file again before a page is stored or deleted, so the change
    // never writes over pages this book has not read. False with *error when
    // the file exists but cannot be read.
    bool readBeforeChange(QString *error);
    bool write(QString *error);
    void removeDay(int day);

    QString m_path;
    QStringList m_lines;
    bool m_utf8 = false; // read from a UTF-8 file with byte-order mark: written back so
};
