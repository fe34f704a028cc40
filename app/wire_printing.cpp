// The table window with its print preview and the graph print preview: the
// table commands show the table, the print menu's entries start the prints.
#include <QAction>
#include <QTextEdit>
#include <QTimer>

#include "dialogs/headerdlg.h"
#include "diary/diarypage.h"
#include "entry/eingabedlg.h"
#include "mainform.h"
#include "monthcommands.h"
#include "platform/pause.h"
#include "platform/ui.h"
#include "printing/druckvorschau.h"
#include "printing/myprinter_tableengine.h"
#include "printing/tabellendlg.h"
#include "printing/tabellenvorschau.h"
#include "program.h"
#include "wiring.h"

namespace {

// The two graph print entries of the menu "&Drucken".
void GrafikDrucken(TMainForm *mf, TDruckvorschau *dlg, TDruckvorschau::Mode mode) {
    // A maximised or minimised window comes back to its normal size first.
    if (mf->isMaximized() || mf->isMinimized())
        QTimer::singleShot(0, mf, [mf] { mf->showNormal(); });
    mf->MachPause1->Pause(1000);
    dlg->prepare(mode);
    dlg->FormPaint();
    dlg->exec();
}

// Shows a table text in the table window. A table still open from the entry
// dialog is closed first: its remarks are stored, and the new table opens as
// a window of its own.
void showTable(TTabellenDlg *dlg, const QString &tableText, bool modal) {
    if (dlg->isVisible()) dlg->done(QDialog::Rejected);
    dlg->setTableText(tableText);
    if (modal) {
        dlg->exec();
    } else {
        dlg->show();
        dlg->raise();
    }
}

// The patient-data file in the header editor, above the table window, which
// stays on top.
void editPatientData(THeaderBearbeitenDlg *editor, TTabellenDlg *table, const QString &file) {
    editor->headerFileName = file;
    editor->loadFile();
    QWidget *owner = editor->parentWidget();
    editor->setParent(table, editor->windowFlags());
    editor->exec();
    editor->setParent(owner, editor->windowFlags());
}

void wireTableWindow(Program &p, TTabellenDlg *table) {
    TMainForm *mf = p.MainForm;
    QObject::connect(p.commands, &MonthCommands::tableWindowRequested, table,
                     [table](const QString &text, bool modal) { showTable(table, text, modal); });
    THeaderBearbeitenDlg *editor = p.HeaderBearbeitenDlg;
    QObject::connect(
        table, &TTabellenDlg::patientDataRequested, table,
        [editor, table](const QString &file) { editPatientData(editor, table, file); });
    TEingabeDlg *entry = p.EingabeDlg;
    QObject::connect(table, &TTabellenDlg::closed, mf, [mf, entry] {
        if (entry->isVisible()) entry->close();
        // The redraw keeps the day shown in the diary.
        mf->page().skipNextReselect();
        mf->redrawMonth();
    });
}

void wireTablePrint(Program &p, TTabellenDlg *table) {
    // Above the table window, which stays on top.
    auto *preview = new TDruckvorschauTabelleDlg(p.session, p.ui, table);
    p.DruckvorschauTabelleDlg = preview;
    preview->setEngineMaker([] { return std::make_unique<TMyPrinterTableEngine>(); });
    QObject::connect(preview, &TDruckvorschauTabelleDlg::textColorChosen, table,
                     &TTabellenDlg::setTextColor);
    QObject::connect(table, &TTabellenDlg::printRequested, preview, [table, preview] {
        if (preview->prepareFromTable(table->tableLines())) preview->exec();
    });
    // "&Tabelle drucken": the table window prints at its first paint; the
    // table command shows it modally.
    TMainForm *mf = p.MainForm;
    Program *program = &p;
    QObject::connect(mf->menu.Tabelledrucken1, &QAction::triggered, table, [program, table] {
        table->setPrintTableOnOpen(true);
        ui::guarded(program->ui, [program] { program->commands->anzeigen1Click(); });
        table->setPrintTableOnOpen(false);
    });
}

void wireGraphPrint(Program &p) {
    TMainForm *mf = p.MainForm;
    auto *preview = new TDruckvorschau(p.session, p.ui, mf);
    p.Druckvorschau = preview;
    GraphPrintSources src;
    src.graph = mf->Image;
    src.header = mf->Image2;
    src.title = mf->Label1;
    src.status = mf->StatusLabel;
    src.shownArea = mf->formScroll;
    src.diaryEditor = mf->RichEdit1;
    src.pause = mf->MachPause1;
    preview->setSources(src);
    ui::onTriggered(mf->menu.GrafikganzenMonatdrucken1, preview, p.ui, [mf, preview] {
        GrafikDrucken(mf, preview, TDruckvorschau::Mode::WholeMonth);
    });
    ui::onTriggered(mf->menu.GrafikNurSichtbarenBereichdrucken1, preview, p.ui, [mf, preview] {
        GrafikDrucken(mf, preview, TDruckvorschau::Mode::VisibleArea);
    });
}

} // namespace

void wirePrinting(Program &p) {
    auto *table = new TTabellenDlg(p.session, p.ui, p.MainForm);
    p.TabellenDlg = table;
    wireTableWindow(p, table);
    wireTablePrint(p, table);
    wireGraphPrint(p);
}
