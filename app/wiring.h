#pragma once

class Program;

// Each part of the program connects its menu entries to the commands that
// carry them out (at start-up), and makes and connects its dialogs when they
// are first needed.

// The month commands and the main window's menu entries (wire_entry.cpp).
void wireMonthCommands(Program &p);
// The table window, the table print and the graph print (wire_printing.cpp).
void wirePrinting(Program &p);
// The diary book window and the browser chart command (wire_book.cpp).
void wireBook(Program &p);
// The settings dialog (wire_settings.cpp).
void wireSettings(Program &p);
// Statistics window, doctor's report and CSV export (wire_stats.cpp).
void wireStats(Program &p);
// The import of readings and the backups (wire_files.cpp).
void wireFiles(Program &p);

// Made on first use: the dialog and its connections.
class TEingabeDlg;
class TNameEingDlg;
class TTabellenDlg;
class TDruckvorschauTabelleDlg;
class TDruckvorschau;
class TTagebuchSpeichernForm;
class TEinstellDlg;
TEingabeDlg *makeEntryDialog(Program &p);
TNameEingDlg *makeNameDialog(Program &p);
TTabellenDlg *makeTableWindow(Program &p);
TDruckvorschauTabelleDlg *makeTablePrintPreview(Program &p);
TDruckvorschau *makeGraphPrintPreview(Program &p);
TTagebuchSpeichernForm *makeDiaryBookWindow(Program &p);
TEinstellDlg *makeSettingsDialog(Program &p);
class ImportDialog;
class BackupCommands;
ImportDialog *makeImportDialog(Program &p);
BackupCommands *makeBackupCommands(Program &p);
