#pragma once

struct Program;

// Each subsystem creates its windows and connects them to the main window.
// createProgram() calls these in the fixed creation order.

// Table window, table print preview and graph print preview (wire_printing.cpp).
void wirePrinting(Program &p);
