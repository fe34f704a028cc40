#include <QAction>
#include <QLabel>
#include <QPointer>
#include <QScrollArea>
#include <QTextEdit>
#include <QTimer>

#include "dialogs/headerdlg.h"
#include "graph/geometry.h"
#include "mainform.h"
#include "platform/pause.h"
#include "printing/druckvorschau.h"
#include "printing/myprinter_tableengine.h"
#include "printing/tabellendlg.h"
#include "printing/tabellenvorschau.h"
#include "program.h"
#include "wiring.h"

namespace {

// The table window of the run, for showTableWindow().
QPointer<TTabellenDlg> g_tableWindow;

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

} // namespace

void showTableWindow(const QString &tableText, bool modal) {
    TTabellenDlg *dlg = g_tableWindow;
    if (!dlg) return;
    // A table still open from the entry dialog is closed first: its remarks
    // are stored, and the new table opens as a window of its own.
    if (dlg->isVisible()) dlg->done(QDialog::Rejected);
    dlg->setTableText(tableText);
    if (modal) {
        dlg->exec();
    } else {
        dlg->show();
        dlg->raise();
    }
}

void wirePrinting(Program &p) {
    TMainForm *mf = p.MainForm;
    auto *table = new TTabellenDlg(mf);
    p.TabellenDlg = table;
    g_tableWindow = table;
    table->hooks.closeEntryDialog = [mf] {
        if (auto *entry = mf->findChild<QDialog *>(QStringLiteral("EingabeDlg")))
            if (entry->isVisible()) entry->close();
    };
    Program *program = &p;
    table->hooks.editPatientData = [program, table](const QString &fileName) {
        THeaderBearbeitenDlg *editor = program->HeaderBearbeitenDlg;
        if (!editor) return;
        editor->headerFileName = fileName;
        editor->loadFile();
        // Shown above the table window, which stays on top.
        QWidget *owner = editor->parentWidget();
        editor->setParent(table, editor->windowFlags());
        editor->exec();
        editor->setParent(owner, editor->windowFlags());
    };
    table->hooks.redrawMonth = [mf] {
        const QString path = mf->state().CurrentTablePath;
        if (path.isEmpty()) return;
        mf->redrawMonth();
    };

    auto *tablePreview =
        new TDruckvorschauTabelleDlg(table); // above the table window, which stays on top
    p.DruckvorschauTabelleDlg = tablePreview;
    tablePreview->setEngine(
        std::make_unique<TMyPrinterTableEngine>(TMyPrinter::applicationPrinter()));
    tablePreview->hooks.tableLines = [table] { return table->tableLines(); };
    tablePreview->hooks.setTableColor = [table](const QColor &c) { table->setTextColor(c); };
    table->hooks.print = [table, tablePreview] {
        if (tablePreview->prepareFromTable(table->tableLines())) tablePreview->exec();
    };

    auto *graphPreview = new TDruckvorschau(mf);
    p.Druckvorschau = graphPreview;

    GraphPrintSources src;
    src.graph = mf->Image;
    src.header = mf->Image2;
    src.title = mf->Label1;
    src.status = mf->StatusLabel;
    src.shownArea = mf->formScroll;
    src.diaryEditor = mf->RichEdit1;
    src.pause = [mf](int ms) { mf->MachPause1->Pause(ms); };
    // Empty before the first drawing pass: the shown title is used then.
    src.titleText = [mf] { return mf->state().TitleText; };
    src.timeStrip = [mf] {
        return graphgeo::timeStripText(SettingsStore(mf->state().SettingsPath), mf->state().mode());
    };
    // The monthly mean is written only when the month has one (3 readings or more).
    src.meanCaption = [mf] {
        return mf->state().MonthMean.isEmpty() ? QString()
                                               : QStringLiteral("Monatlicher Mittelwert =");
    };
    src.meanValue = [mf] {
        return mf->state().MonthMean.isEmpty() ? QString() : mf->state().MeanValueText;
    };
    graphPreview->setSources(src);

    auto previous = mf->hooks.command;
    mf->hooks.command = [=](const QString &name) {
        if (name == u"GrafikganzenMonatdrucken1") {
            GrafikDrucken(mf, graphPreview, TDruckvorschau::Mode::WholeMonth);
            return true;
        }
        if (name == u"GrafikNurSichtbarenBereichdrucken1") {
            GrafikDrucken(mf, graphPreview, TDruckvorschau::Mode::VisibleArea);
            return true;
        }
        if (name == u"Tabelledrucken1") {
            // Printing starts with the table window's first paint; the
            // table command shows the window modally.
            table->setPrintTableOnOpen(true);
            if (QAction *show = mf->menuAction(QStringLiteral("anzeigen1"))) show->trigger();
            table->setPrintTableOnOpen(false);
            return true;
        }
        return previous ? previous(name) : false;
    };
}
