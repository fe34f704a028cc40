#include <QAction>

#include "dialogs/einstelldlg.h"
#include "mainform.h"
#include "program.h"
#include "wiring.h"

// The settings dialog is the home of the options the main window reads.
void wireSettings(Program &p) {
    TMainForm *mf = p.MainForm;
    auto *dlg = new TEinstellDlg(p.session.settings(), p.ui, mf);
    p.EinstellDlg = dlg;
    mf->setOptionControls(dlg);
    QObject::connect(mf->menu.Einstellungen, &QAction::triggered, dlg,
                     &TEinstellDlg::EinstellungenClick);
    QObject::connect(dlg, &TEinstellDlg::viewChanged, mf, &TMainForm::redrawMonth);
    QObject::connect(dlg, &TEinstellDlg::diaryVisibilityChanged, mf, &TMainForm::applyDiaryVisible);
}
