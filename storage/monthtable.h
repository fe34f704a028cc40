#pragma once
#include <QList>
#include <QString>
#include <QStringList>

#include "platform/messagekind.h"

// One user's readings of one month: a "Personendaten" header followed by one
// entry line per reading, in Windows-1252 with CR LF.
namespace monthtable {

inline const QString kSection = QStringLiteral("Personendaten");

struct Margins {
    QString left = QStringLiteral("18");
    QString right = QStringLiteral("10");
    QString top = QStringLiteral("10");
    QString bottom = QStringLiteral("10");
};
// The print margins of a table; defaults for a missing file or key.
Margins readMargins(const QString &tablePath);

// Initials of a user name: the first character and the one after the first
// blank. Returns false (with a German reason) when the name is empty or the
// initials are not safe in a file name.
bool initialsOf(const QString &userName, QString &initials, QString *error = nullptr);

// dataFolder + year + "/" + initials + month + year + ".tab"; dataFolder ends in "/".
QString pathFor(const QString &dataFolder, const QString &initials, const QString &month,
                const QString &year);

// The four characters before the final ".tab".
QString yearOfPath(const QString &tablePath);
// The diary file beside a table: the name up to and including the dot of the
// first ".tab" (any case) + "txt"; empty when the name holds no ".tab".
QString diaryPathOf(const QString &tablePath);

struct WriteRequest {
    QStringList entries;      // entry lines in list order
    QString userName;         // TableUserName
    QString month, year;      // "03", "2024"
    bool fourSlots = true;    // menu tick "bis zu 4 Messungen je Tag"
    bool eightSlots = false;  // menu tick "bis zu 8 Messungen je Tag"
    QString currentTablePath; // margins are carried over from it
    QString dataFolder;       // ends in "/"
    QString targetPath;       // when set, the file written instead of the named one
};

// The file's lines as written for a request with the given margins.
QStringList compose(const WriteRequest &req, const Margins &margins);

// A German message for the user, of the kind of box it belongs in.
struct Notice {
    ui::Kind kind;
    QString text;
};

struct WriteResult {
    QString path;          // the file written; empty when nothing was written
    QList<Notice> notices; // messages for the user in the order they arose
    explicit operator bool() const { return !path.isEmpty(); }
};

// Writes the month table file and counts it written only after a verified
// save. A name without initials, a year folder that cannot be made and a file
// that cannot be written give notices; the previous file stays byte for byte
// on any failure. Shows nothing itself.
WriteResult write(const WriteRequest &req);

// All lines of a table; false when it cannot be read.
bool readLines(const QString &tablePath, QStringList &lines);
// The entry lines of a table in file order.
QStringList entryLines(const QStringList &lines);

} // namespace monthtable
