#pragma once

struct Program;
class QString;

// Each subsystem creates its windows and connects them to the main window.
// createProgram() calls these in the fixed creation order.

// Entry dialog, user-name and header dialogs, month commands (wire_entry.cpp).
void wireEntry(Program &p);
// Makes a month table the current one: it is remembered as the last table
// and its diary is loaded (an unsaved page of the month shown so far is
// offered for storing first). False when the user kept that page on screen.
bool attachTable(Program &p, const QString &path);
// Month graph: drawing pass, scrolling and pointer readout (wire_graph.cpp).
void wireGraph(Program &p);
// Table window, table print preview and graph print preview (wire_printing.cpp).
void wirePrinting(Program &p);
// Shows the table window with a table text: modally for the main window's
// table commands, non-modally for the entry dialog's table button.
void showTableWindow(const QString &tableText, bool modal = false);
// Diary book window and the browser chart command (wire_book.cpp).
void wireBook(Program &p);
// Diary page, its editing rules and the settings dialog (wire_diary.cpp).
void wireDiary(Program &p);
// Statistics window, doctor's report and CSV export (wire_stats.cpp).
void wireStats(Program &p);
