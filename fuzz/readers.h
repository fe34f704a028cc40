#pragma once
#include <QByteArray>
#include <QString>

// Entry points that hand one file to every reader of its kind, the way the
// program and the command-line tool read it. A reader may reject the file
// with its message; it must never crash, and what it reads back must agree
// with what was stored. A broken promise ends the process (qFatal), which the
// fuzzer and the regression tests report.
namespace fuzzing {

// Scratch folders with a settings file, a month table and its diary; needs a
// QApplication. The entry functions call it themselves.
void setUp();
// Removes the scratch folders; call once, at the end.
void tearDown();
// The folder the entry functions work in; ends in "/".
QString scratchFolder();

// A month table: the list and statistics readers, the table builder, the
// diary-book and browser-chart figures, the drawing pass (curve and mean
// pass in the table's mode) and saving the month again.
void readMonthTable(const QByteArray &bytes);
// A diary file: loading, the day lookup, the section split, the measurement
// line of a page, storing and deleting a page, the diary page shown in the
// editor and the diary book.
void readDiaryFile(const QByteArray &bytes);
// The settings file "glykoval.ini": key reads and writes, numbers and flags,
// the limits and pen width of the drawing pass, the browser chart's settings.
void readSettingsFile(const QByteArray &bytes);

} // namespace fuzzing
