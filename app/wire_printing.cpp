#include <QScrollArea>
#include <QTextEdit>
#include <QTimer>

#include "mainform.h"
#include "platform/pause.h"
#include "printing/druckvorschau.h"
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

} // namespace

void wirePrinting(Program &p) {
    TMainForm *mf = p.MainForm;
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
        return previous ? previous(name) : false;
    };
}
