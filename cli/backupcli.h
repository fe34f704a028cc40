#pragma once
#include <QDateTime>
#include <QStringList>
#include <QTextStream>

// The backup commands of glykovalin-cli, run in the folder with glykoval.ini:
//   backup AUSGABE.zip               one archive of the user's files
//   restore SICHERUNG.zip [--dry-run] checks the archive, saves the current
//                                    state as an automatic backup and writes
//                                    the archive's files; --dry-run only tells
//                                    what it would do
// Exit codes: 0 done, 1 failed, 2 wrong call or an archive that does not pass
// the check (nothing was changed then).
namespace backupcli {

int backupCommand(const QString &baseFolder, const QString &archive, QTextStream &out,
                  QTextStream &err, const QDateTime &now = QDateTime::currentDateTime());
int restoreCommand(const QString &baseFolder, const QString &archive, bool dryRun, QTextStream &out,
                   QTextStream &err, const QDateTime &now = QDateTime::currentDateTime());

// True when args (without the program name) name one of the commands; rc
// then holds the exit code. The commands work in the current directory.
bool run(const QStringList &args, QTextStream &out, QTextStream &err, int &rc);
// The commands' lines for the tool's help text.
QString usage();

} // namespace backupcli
