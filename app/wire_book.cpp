#include <QAction>
#include <QPlainTextEdit>

#include "diary/diarybook_compose.h"
#include "diary/diarybook_month.h"
#include "diary/diarypage.h"
#include "diary/tagebuchspeichernform.h"
#include "export/browserchart.h"
#include "graph/monthgraph.h"
#include "mainform.h"
#include "platform/pause.h"
#include "platform/textfile.h"
#include "platform/ui.h"
#include "program.h"
#include "wiring.h"

namespace {

// The month on screen as its table file holds it; what cannot be read stays
// empty (the commands then report that no data was entered).
diarybook::MonthFigures currentFigures(const AppState &s) {
    diarybook::MonthFigures f;
    QString error;
    if (!s.CurrentTablePath.isEmpty() &&
        !diarybook::readMonthFigures(s.CurrentTablePath, f, &error))
        ui::showWarning(error);
    return f;
}

// Whether a drawing pass has filled the month's results in the state.
bool drawn(const AppState &s) {
    if (s.EntryMonth.isEmpty() || s.EntryYear.isEmpty()) return false;
    for (const QString &mean : s.DayMean)
        if (mean.isEmpty()) return false;
    return true;
}

// Main window: "Alle gespeicherten Tagebuchseiten drucken".
void AllegespeichertenTagebuchseitendrucken1Click(TMainForm *mf, DiaryPage *page,
                                                  TTagebuchSpeichernForm *form) {
    AppState &s = mf->state();
    // A changed page is offered for storing first, so it is in the book.
    if (!page->storeBeforeBook()) return;
    // Day order in the diary held in memory; the file is not written here.
    page->sortBook();
    const QStringList sorted = page->book().lines();

    const diarybook::MonthFigures f = currentFigures(s);
    DiaryBookInput in;
    in.pages = sorted;
    in.dayLineTexts = s.DayLineTexts;
    bool anyDay = false;
    for (const QString &t : s.DayLineTexts)
        anyDay = anyDay || !t.isEmpty();
    if (!anyDay) in.dayLineTexts = f.dayLineTexts;
    in.tableDateText = f.tableDateText;
    in.tableUserText = f.tableUserText;
    if (!f.monthMean.isEmpty())
        in.meanSuffixText =
            QStringLiteral(" -  Mittelwert: ") + f.monthMean + QStringLiteral(" mg/dl");
    in.entryYear = f.entryYear;
    // What the last drawing of the month left behind wins over the file.
    if (drawn(s)) {
        in.meanSuffixText = s.MeanHeaderText;
        in.entryYear = s.EntryYear;
    }
    in.dataFolder = s.DataFolder;
    in.mode = s.mode();

    bool anyPage = false;
    for (const QString &l : sorted)
        anyPage = anyPage || diarybook::isPageLine(l);
    if (!anyPage) {
        ui::showInformation(QStringLiteral("Es sind keine Tagebuchseiten gespeichert."));
        return;
    }
    form->requestCompose(in);
    form->exec();
}

// Main window: "Liniendiagramm im Browser anzeigen".
void LiniendiagrammimBrowseranzeigen1Click(TMainForm *mf, const TMonthGraph *graph) {
    const AppState &s = mf->state();
    const diarybook::MonthFigures f = currentFigures(s);
    BrowserChartInput in = diarybook::chartInput(s.CurrentTablePath, f, s.BaseFolder);
    if (drawn(s)) {
        in.dayMeans = s.dayMeans();
        in.entryMonth = s.EntryMonth;
        in.entryYear = s.EntryYear;
        in.entryMonthName = s.EntryMonthName;
    }
    // "StiftBreite" as the graph drawing last read it.
    if (graph && !graph->PenWidthText().isEmpty()) in.penWidthText = graph->PenWidthText();
    in.curveColor = s.CurveColor;
    in.aboveValuesColor = s.AboveValuesColor;
    in.showValues = mf->options()->valuesAboveCurve();
    if (!s.TableUserName.isEmpty() && in.tableUserName.isEmpty())
        in.tableUserName = s.TableUserName;
    if (s.CurrentTablePath.isEmpty()) in.entryMonth.clear();
    LiniendiagrammimBrowseranzeigen(in);
}

} // namespace

void wireBook(Program &p) {
    TMainForm *mf = p.MainForm;
    const TMonthGraph *graph = p.MonthGraph;
    Program *program = &p;
    auto *form = new TTagebuchSpeichernForm(mf);
    form->pause = [mf](int ms) { mf->MachPause1->Pause(ms); };
    p.TagebuchSpeichernForm = form;

    auto previous = mf->hooks.command;
    mf->hooks.command = [=](const QString &name) {
        if (name == u"AllegespeichertenTagebuchseitendrucken1") {
            AllegespeichertenTagebuchseitendrucken1Click(mf, program->diaryPage, form);
            return true;
        }
        if (name == u"LiniendiagrammimBrowseranzeigen1") {
            LiniendiagrammimBrowseranzeigen1Click(mf, graph);
            return true;
        }
        return previous ? previous(name) : false;
    };
}
