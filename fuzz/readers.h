#pragma once
#include <QByteArray>
#include <QString>

// Entry points that hand one file to every reader of its kind, the way the
// program and the command-line tool read it. A reader may reject the file
// with its message; it must never crash, and what it reads back must agree
// with what was stored. A broken promise ends the process (qFatal), which the
// fuzzer and the regression tests report.
namespace fuzzing {

// Scratch folders with a settings file, a month table and its diary. The
// entry functions call it themselves.
void setUp();
// Removes the scratch folders; call once, at the end.
void tearDown();
// The folder the entry functions work in; ends in "/".
QString scratchFolder();

// The readers take the input as the program's core reads it; what the
// windows and documents make of it is checked by the tests on the same
// inputs (tests/fuzz). They link no widgets.

// A month table: the entry lines, the figures the graph and the documents
// are drawn from, and saving the month again.
void readMonthTable(const QByteArray &bytes);
// A diary file: loading, the day lookup, the section split, storing and
// deleting a page.
void readDiaryFile(const QByteArray &bytes);
// The settings file "glykoval.ini": key reads and writes, numbers and flags,
// the limits and pen width of the drawing pass.
void readSettingsFile(const QByteArray &bytes);

// The scratch folder of a reader (ends in "/"), which holds the input last
// read, a settings file, the month table and its diary; and the table's name.
enum class Reader { Month, Diary, Settings };
QString folderOf(Reader reader);
QString tableName();

} // namespace fuzzing
