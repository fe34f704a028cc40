#pragma once

struct Program;

// Each part of the program makes its windows and connects them: the menu
// entries to the commands that carry them out, the windows' signals to the
// windows that follow them. createProgram() calls these in this order.

// Entry dialog, user-name dialog and the month commands (wire_entry.cpp).
void wireEntry(Program &p);
// Table window, table print preview and graph print preview (wire_printing.cpp).
void wirePrinting(Program &p);
// Diary book window and the browser chart command (wire_book.cpp).
void wireBook(Program &p);
// The settings dialog (wire_settings.cpp).
void wireSettings(Program &p);
// Statistics window, doctor's report and CSV export (wire_stats.cpp).
void wireStats(Program &p);
