#pragma once
#include <QByteArray>

// The entry function of the importers' fuzzer. It needs nothing but the core
// libraries, so the fuzzer and its regression tests link no widgets.
namespace fuzzing {

// A file of readings from a meter or portal: recognised and read (an unknown
// CSV file also with two column mappings), planned into a base folder with
// and without sensor values, applied, and planned again. A reader may reject
// the file with its message; it must never crash, every count must add up,
// every line it writes must be a reading of the right slot and day, and the
// same file imported again must change nothing. A broken promise ends the
// process (qFatal).
void readImportFile(const QByteArray &bytes);

} // namespace fuzzing
