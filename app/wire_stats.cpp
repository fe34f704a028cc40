// The statistics commands: the statistics window, the doctor's report and
// the CSV export of the month on screen.
#include <QAction>

#include "mainform.h"
#include "program.h"
#include "statsview/statsmenu.h"
#include "wiring.h"

void wireStats(Program &p) {
    TMainForm *mf = p.MainForm;
    const MonthSession &session = p.session;
    ui::Services &ui = p.ui;
    QObject::connect(mf->menu.Statistik1, &QAction::triggered, mf, [mf, &session, &ui] {
        statsmenu::Statistik(ui, session.tablePath(), session.folders().base, mf);
    });
    QObject::connect(mf->menu.Arztbericht1, &QAction::triggered, mf, [mf, &session, &ui] {
        statsmenu::Arztbericht(ui, session.tablePath(), session.folders().base, mf);
    });
    QObject::connect(mf->menu.MesswertealsCSV1, &QAction::triggered, mf, [mf, &session, &ui] {
        statsmenu::MesswerteAlsCsv(ui, session.tablePath(), session.folders().base, mf);
    });
}
