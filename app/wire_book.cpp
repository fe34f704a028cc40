// The diary book window and the browser chart: both take the month on
// screen, as the last drawing pass computed it or, before one, as its table
// file holds it.
#include <QAction>
#include <algorithm>

#include "diary/diarybook_compose.h"
#include "diary/diarybook_month.h"
#include "diary/diarypage.h"
#include "diary/tagebuchspeichernform.h"
#include "export/browserchart.h"
#include "graph/monthread.h"
#include "mainform.h"
#include "platform/pause.h"
#include "platform/ui.h"
#include "program.h"
#include "wiring.h"

namespace {

// The month on screen as its table file holds it; what cannot be read stays
// empty (the commands then report that no data was entered).
MonthResult currentMonth(const MonthSession &session, ui::Services &ui) {
    monthread::Month m;
    QString error;
    if (session.tablePath().isEmpty()) return {};
    if (!monthread::readWhole(session.tablePath(), m, &error)) {
        ui.showWarning(error);
        return {};
    }
    return m.result;
}

// Whether the entry list has a month and year (a drawing or a reading set them).
bool haveEntryMonth(const MonthSession &session) {
    return !session.entryMonth().isEmpty() && !session.entryYear().isEmpty();
}

// "Alle gespeicherten Tagebuchseiten drucken".
void printDiaryBook(Program &p, TTagebuchSpeichernForm *form) {
    DiaryPage &page = p.MainForm->page();
    const MonthSession &session = p.session;
    // A changed page is offered for storing first, so it is in the book.
    if (!page.storeBeforeBook()) return;
    // Day order in the diary held in memory; the file is not written here.
    page.sortBook();
    const QStringList sorted = p.session.diary().lines();
    // Without a stored page the table is not read: that notice is all.
    if (std::none_of(sorted.begin(), sorted.end(), diarybook::isPageLine)) {
        p.ui.showInformation(QStringLiteral("Es sind keine Tagebuchseiten gespeichert."));
        return;
    }

    DiaryBookInput in =
        diarybook::bookInput(currentMonth(session, p.ui), session.folders().data, session.mode());
    in.pages = sorted;
    // What the last drawing of the month left behind wins over the file.
    const MonthResult &drawn = session.drawn();
    if (std::any_of(drawn.dayLineTexts.begin(), drawn.dayLineTexts.end(),
                    [](const QString &t) { return !t.isEmpty(); }))
        in.dayLineTexts = drawn.dayLineTexts;
    if (haveEntryMonth(session)) {
        in.meanSuffixText = drawn.meanHeaderText;
        in.entryYear = session.entryYear();
    }

    form->requestCompose(in);
    form->exec();
}

// "Liniendiagramm im Browser anzeigen".
void showBrowserChart(Program &p) {
    const MonthSession &session = p.session;
    BrowserChartInput in =
        chartInput(session.tablePath(), currentMonth(session, p.ui), session.folders().base);
    if (haveEntryMonth(session)) {
        in.dayMeans = session.drawn().dayMeanList();
        in.entryMonth = session.entryMonth();
        in.entryYear = session.entryYear();
        in.entryMonthName = session.entryMonthName();
    }
    // "StiftBreite" as the graph drawing last read it.
    const QString penWidth = session.drawn().penWidthText;
    if (!penWidth.isEmpty()) in.penWidthText = penWidth;
    in.curveColor = session.settings().color(keys::KurvenFarbe, defaults::KurvenFarbe);
    in.showValues = p.MainForm->options()->valuesAboveCurve();
    if (!session.drawn().tableUser.isEmpty() && in.tableUserName.isEmpty())
        in.tableUserName = session.drawn().tableUser;
    if (session.tablePath().isEmpty()) in.entryMonth.clear();
    LiniendiagrammimBrowseranzeigen(in, p.ui);
}

} // namespace

void wireBook(Program &p) {
    TMainForm *mf = p.MainForm;
    auto *form = new TTagebuchSpeichernForm(p.ui, mf);
    form->pause = mf->MachPause1;
    p.TagebuchSpeichernForm = form;
    Program *program = &p;
    ui::onTriggered(mf->menu.AllegespeichertenTagebuchseitendrucken1, form, p.ui,
                    [program, form] { printDiaryBook(*program, form); });
    ui::onTriggered(mf->menu.LiniendiagrammimBrowseranzeigen1, mf, p.ui,
                    [program] { showBrowserChart(*program); });
}
