#include <QAction>

#include "dialogs/einstelldlg.h"
#include "mainform.h"
#include "program.h"
#include "wiring.h"

TEinstellDlg *makeSettingsDialog(Program &p) {
    auto *dlg = new TEinstellDlg(p.model, p.ui, &p.mainForm());
    return dlg;
}

// The settings dialog edits the options the model holds and the graph's
// limits and colours in the settings file.
void wireSettings(Program &p) {
    Program *program = &p;
    QObject::connect(p.mainForm().menu().Einstellungen, &QAction::triggered, &p.mainForm(),
                     [program] { program->settingsDialog().EinstellungenClick(); });
}
