#pragma once
#include <QString>

class QTextStream;

namespace tablecli {

// "glykovalin-cli table TABLE": writes the month's table text (without
// remarks) to out, its values in the unit of the current folder's settings. The table is looked for
// as given, relative to the current folder, and then inside its "Glykovalin-Daten/" folder. Returns
// the exit code.
int tableCommand(const QString &table, QTextStream &out, QTextStream &err);

} // namespace tablecli
