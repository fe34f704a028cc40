// The diary book window and the browser chart: both take the current month
// as the model read it.
#include <QAction>
#include <algorithm>

#include "diary/diarybook_compose.h"
#include "diary/diarybook_month.h"
#include "diary/tagebuchspeichernform.h"
#include "export/browserchart.h"
#include "mainform.h"
#include "platform/machpause.h"
#include "platform/ui.h"
#include "program.h"
#include "wiring.h"

namespace {

// The month as read; a month whose reading stopped early is said so, and
// what was read before the stop is used.
const MonthResult &readMonth(Program &p) {
    const MonthModel &model = p.model;
    if (model.hasTable() && !model.figures().complete && !model.month().error.isEmpty())
        p.ui.showWarning(model.month().error);
    return model.figures();
}

// "Alle gespeicherten Tagebuchseiten drucken".
void printDiaryBook(Program &p) {
    const MonthModel &model = p.model;
    // A changed page is offered for storing first, so it is in the book.
    if (!p.mainForm().storePageBeforeBook()) return;
    // Day order of the pages; the file is not written here.
    const QStringList sorted = diarybook::sortPages(model.diary().lines());
    // Without a stored page the table is not read: that notice is all.
    if (std::none_of(sorted.begin(), sorted.end(), diarybook::isPageLine)) {
        p.ui.showInformation(QStringLiteral("Es sind keine Tagebuchseiten gespeichert."));
        return;
    }
    const MonthResult &month = readMonth(p);
    DiaryBookInput in =
        diarybook::bookInput(month, model.folders().data, model.mode(), model.unit());
    in.pages = sorted;
    if (!model.entryMonth().isEmpty() && !model.entryYear().isEmpty()) {
        in.meanSuffixText = month.meanHeaderIn(model.unit());
        in.entryYear = model.entryYear();
    }
    p.diaryBookWindow().showBook(in);
}

// "Liniendiagramm im Browser anzeigen".
void showBrowserChart(Program &p) {
    const MonthModel &model = p.model;
    BrowserChartInput in = chartInput(model.tablePath(), readMonth(p), model.folders().base);
    if (!model.entryMonth().isEmpty() && !model.entryYear().isEmpty()) {
        in.dayMeans = model.figures().dayMeanList();
        in.entryMonth = model.entryMonth();
        in.entryYear = model.entryYear();
        in.entryMonthName = model.entryMonthName();
    }
    in.curveColor = model.settings().color(keys::KurvenFarbe, defaults::KurvenFarbe);
    in.showValues = model.options().valuesAboveCurve;
    in.unit = model.unit();
    if (!model.hasTable()) in.entryMonth.clear();
    LiniendiagrammimBrowseranzeigen(in, p.ui);
}

} // namespace

TTagebuchSpeichernForm *makeDiaryBookWindow(Program &p) {
    auto *form = new TTagebuchSpeichernForm(p.ui, &p.mainForm());
    form->setPause(&p.mainForm().pause());
    return form;
}

void wireBook(Program &p) {
    Program *program = &p;
    const MainMenu &m = p.mainForm().menu();
    ui::onTriggered(m.AllegespeichertenTagebuchseitendrucken1, &p.mainForm(), p.ui,
                    [program] { printDiaryBook(*program); });
    ui::onTriggered(m.LiniendiagrammimBrowseranzeigen1, &p.mainForm(), p.ui,
                    [program] { showBrowserChart(*program); });
}
