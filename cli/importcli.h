#pragma once
#include <QStringList>

class QTextStream;

namespace cli {

// "glykovalin-cli import DATEI... [--sensor] [--dry-run] [--json]": reads
// readings from files of meters and portals into the month tables of the
// user in the current folder's glykoval.ini and prints a German summary (or
// one JSON object). Exit code 0 on success, also with conflicts or nothing
// to import; 2 for a wrong call or a file that cannot be read or is not
// recognised (then nothing at all is written); 1 when the user name is
// missing, a table cannot be read, locked or written.
int importCommand(const QStringList &args, QTextStream &out, QTextStream &err);

} // namespace cli
