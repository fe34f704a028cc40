// The table window with its print preview and the graph print preview: the
// table commands show the table, the print menu's entries start the prints.
#include <QAction>

#include "dialogs/headerbearbeitendlg.h"
#include "entry/eingabedlg.h"
#include "mainform.h"
#include "monthcommands.h"
#include "platform/machpause.h"
#include "platform/ui.h"
#include "printing/druckvorschau.h"
#include "printing/druckvorschautabelledlg.h"
#include "printing/myprintertableengine.h"
#include "printing/tabellendlg.h"
#include "program.h"
#include "wiring.h"

namespace {

// The two graph print entries of the menu "&Drucken".
void GrafikDrucken(Program &p, TDruckvorschau::Mode mode) {
    TMainForm &mf = p.mainForm();
    // A maximised or minimised window comes back to its normal size first.
    mf.restoreNormalSize();
    mf.pause().Pause(1000);
    p.graphPrintPreview().showPreview(mode);
}

// The patient-data file in the header editor, above the table window, which
// stays on top.
void editPatientData(THeaderBearbeitenDlg &editor, TTabellenDlg *table, const QString &file) {
    QWidget *owner = editor.parentWidget();
    editor.setParent(table, editor.windowFlags());
    editor.editFile(file);
    editor.setParent(owner, editor.windowFlags());
}

} // namespace

TTabellenDlg *makeTableWindow(Program &p) {
    auto *table = new TTabellenDlg(p.model, p.ui, &p.mainForm());
    Program *program = &p;
    QObject::connect(table, &TTabellenDlg::patientDataRequested, table,
                     [program, table](const QString &file) {
                         editPatientData(program->headerEditor(), table, file);
                     });
    QObject::connect(table, &TTabellenDlg::closed, &p.mainForm(), [program] {
        TEingabeDlg &entry = program->entryDialog();
        if (entry.isVisible()) entry.close();
    });
    QObject::connect(table, &TTabellenDlg::printRequested, table, [program, table] {
        program->tablePrintPreview().printTable(table->tableLines());
    });
    return table;
}

TDruckvorschauTabelleDlg *makeTablePrintPreview(Program &p) {
    // Above the table window, which stays on top.
    TTabellenDlg *table = &p.tableWindow();
    auto *preview = new TDruckvorschauTabelleDlg(p.model, p.ui, table);
    preview->setEngineMaker([] { return std::make_unique<TMyPrinterTableEngine>(); });
    QObject::connect(preview, &TDruckvorschauTabelleDlg::textColorChosen, table,
                     &TTabellenDlg::setTextColor);
    return preview;
}

TDruckvorschau *makeGraphPrintPreview(Program &p) {
    auto *preview = new TDruckvorschau(p.model, p.ui, &p.mainForm());
    TMainForm *mf = &p.mainForm();
    preview->setGraphSource([mf] { return mf->shownGraph(); });
    preview->setPause(&mf->pause());
    return preview;
}

void wirePrinting(Program &p) {
    Program *program = &p;
    QObject::connect(&p.commands(), &MonthCommands::tableWindowRequested, &p.mainForm(),
                     [program](const QString &text, bool modal) {
                         program->tableWindow().showTable(text,
                                                          modal ? TTabellenDlg::Opening::Modal
                                                                : TTabellenDlg::Opening::Beside);
                     });
    const MainMenu &m = p.mainForm().menu();
    // "&Tabelle drucken": the current table in the table window, which
    // prints as soon as it is shown.
    ui::onTriggered(m.Tabelledrucken1, &p.mainForm(), p.ui, [program] {
        program->tableWindow().showTable(program->entryDialog().tableText(),
                                         TTabellenDlg::Opening::ModalAndPrint);
        program->mainForm().FormResize();
    });
    ui::onTriggered(m.GrafikganzenMonatdrucken1, &p.mainForm(), p.ui,
                    [program] { GrafikDrucken(*program, TDruckvorschau::Mode::WholeMonth); });
    ui::onTriggered(m.GrafikNurSichtbarenBereichdrucken1, &p.mainForm(), p.ui,
                    [program] { GrafikDrucken(*program, TDruckvorschau::Mode::VisibleArea); });
}
