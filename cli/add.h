#pragma once
#include <QStringList>

class QTextStream;

namespace cli {

// "glykovalin-cli add TABELLE TAG ZEITPUNKT HH:MM WERT": puts one reading into
// an existing month table the way the entry dialog's save does (same list
// rules, same header, verified write). Bad input, a table this program did not
// write in this form, or a failed write leave the file byte for byte and give
// a German message on err and a non-zero exit code.
int addCommand(const QStringList &args, QTextStream &out, QTextStream &err);

} // namespace cli
