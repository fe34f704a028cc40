#include <QAction>

#include "mainform.h"
#include "program.h"
#include "statsview/statsmenu.h"
#include "wiring.h"

void wireStats(Program &p) {
    TMainForm *mf = p.MainForm;
    const AppState &s = mf->state();
    QObject::connect(mf->menuAction(QStringLiteral("Statistik1")), &QAction::triggered, mf,
                     [mf, &s] { statsmenu::Statistik(s.CurrentTablePath, s.BaseFolder, mf); });
    QObject::connect(mf->menuAction(QStringLiteral("Arztbericht1")), &QAction::triggered, mf,
                     [mf, &s] { statsmenu::Arztbericht(s.CurrentTablePath, s.BaseFolder, mf); });
    QObject::connect(
        mf->menuAction(QStringLiteral("MesswertealsCSV1")), &QAction::triggered, mf,
        [mf, &s] { statsmenu::MesswerteAlsCsv(s.CurrentTablePath, s.BaseFolder, mf); });
}
