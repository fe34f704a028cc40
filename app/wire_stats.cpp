// The statistics commands: the statistics window, the doctor's report and
// the CSV export of the month on screen.
#include <QAction>

#include "mainform.h"
#include "program.h"
#include "statsview/statsmenu.h"
#include "wiring.h"

void wireStats(Program &p) {
    TMainForm *mf = &p.mainForm();
    const MonthModel &model = p.model;
    ui::Services &ui = p.ui;
    QObject::connect(mf->menu().Statistik1, &QAction::triggered, mf, [mf, &model, &ui] {
        statsmenu::Statistik(ui, model.tablePath(), model.folders().base, model.unit(), mf);
    });
    QObject::connect(mf->menu().Arztbericht1, &QAction::triggered, mf, [mf, &model, &ui] {
        statsmenu::Arztbericht(ui, model.tablePath(), model.folders().base, model.unit(), mf);
    });
    QObject::connect(mf->menu().MesswertealsCSV1, &QAction::triggered, mf, [mf, &model, &ui] {
        statsmenu::MesswerteAlsCsv(ui, model.tablePath(), model.folders().base, mf);
    });
}
