#pragma once

struct Program;

// Each subsystem creates its windows and connects them to the main window.
// createProgram() calls these in the fixed creation order.
