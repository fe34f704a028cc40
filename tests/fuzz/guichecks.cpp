#include "guichecks.h"

#include <QFileInfo>
#include <QSet>
#include <QTextDocument>

#include "diary/diarybook_compose.h"
#include "diary/diarybook_month.h"
#include "diary/diarypage.h"
#include "entry/tablebuilder.h"
#include "export/browserchart.h"
#include "fuzz/readers.h"
#include "graph/monthgraph.h"
#include "graph/templatepicture.h"
#include "platform/convert.h"
#include "platform/profile.h"
#include "recordingservices.h"
#include "storage/monthmodel.h"
#include "storage/monthtable.h"

namespace guichecks {

namespace {

[[noreturn]] void broken(const char *promise, const QString &detail = QString()) {
    qFatal("Zusage gebrochen: %s %s", promise, qPrintable(detail.left(300)));
}

// The graph templates the settings name, in the folder.
void templatesIn(const QString &folder) {
    for (const MeasureMode mode : {MeasureMode::Four, MeasureMode::Eight}) {
        const QString file =
            folder + QStringLiteral("Grafik%1.bmp").arg(mode == MeasureMode::Four ? 4 : 8);
        if (!QFileInfo::exists(file)) templatepicture::graphTemplate(mode).save(file, "BMP");
    }
}

// The drawing pass as the main window runs it, in the mode the table
// stores: the curve, then the curve with the mean over it.
void drawMonth(const QString &folder) {
    templatesIn(folder);
    const QString table = folder + fuzzing::tableName();
    MonthModel model(Folders::at(folder));
    const bool eight = convert::flag(profile::read(table, monthtable::kSection, keys::BisZu8));
    model.setModeTicks(!eight, eight);
    monthread::Month month;
    monthread::read(table, month);
    MonthGraph graph(model);
    graph.setTemplatePath(folder + QStringLiteral("Grafik%1.bmp").arg(eight ? 8 : 4));
    MonthGraph::Placement where;
    where.windowWidth = 1000;
    try {
        graph.draw(month, MonthGraph::View::Values, where);
        graph.draw(month, MonthGraph::View::ValuesAndMean, where);
    } catch (const EConvertError &) {
    }
    // Every entry line of the file reaches the entry list, drawn or not.
    QStringList lines;
    if (month.result.complete && monthtable::readLines(table, lines) &&
        monthtable::entryLines(lines) != month.result.entries)
        broken("the entry list holds every entry line of the file");
    // A header key read on its own reads as the whole reading found it.
    if (month.result.readable) {
        const QString date = profile::read(table, monthtable::kSection, QStringLiteral("Datum"));
        const QString user = profile::read(table, monthtable::kSection, keys::BenutzerName);
        if (date != month.result.tableDate || user != month.result.tableUser)
            broken("the header keys read alone as the drawing pass read them");
    }
    for (const QString &day : month.result.dayLineTexts)
        diarybook::FormatiereTagebuchstr(day, model.mode(), GlucoseUnit::MgDl);
}

// The documents made from the month: table text, diary book, browser chart.
void documents(const QString &folder) {
    const QString table = folder + fuzzing::tableName();
    QStringList lines;
    if (!monthtable::readLines(table, lines)) return;
    const QStringList entries = monthtable::entryLines(lines);
    for (const QString &l : entries)
        tablebuilder::SortKey(l);
    // The list order never drops a line that differs from every other one.
    const QStringList sorted = tablebuilder::sortEntries(entries);
    const QSet<QString> kept(sorted.begin(), sorted.end());
    for (const QString &l : entries)
        if (!kept.contains(l)) broken("the sorted entry list keeps every line", l);
    for (const bool eight : {false, true}) {
        tablebuilder::TableInput in;
        in.entries = sorted;
        in.monthName = QStringLiteral("März");
        in.year = QStringLiteral("2024");
        in.userName = QStringLiteral("Max Muster");
        in.fourSlots = !eight;
        in.eightSlots = eight;
        tablebuilder::TableText(in);
    }
    monthread::Month month;
    QString error;
    if (!monthread::readWhole(table, month, &error)) return;
    const DiaryBookInput book =
        diarybook::bookInput(month, folder, MeasureMode::Four, GlucoseUnit::MgDl);
    for (const MeasureMode mode : {MeasureMode::Four, MeasureMode::Eight}) {
        DiaryBookInput in = book;
        in.mode = mode;
        QTextDocument doc;
        diarybook::composeBook(&doc, in);
    }
    const BrowserChartInput chart = chartInput(table, month.result, folder);
    try {
        if (!chart.entryMonth.isEmpty())
            browserchart::pageLines(
                chart, browserchart::readSettings(folder + QStringLiteral("glykoval.ini")));
    } catch (const EConvertError &) {
    }
}

// The diary page of every stored day, as the main window shows it.
void diaryPages(const QString &folder) {
    ui::RecordingServices messages;
    MonthModel model(Folders::at(folder));
    model.open(folder + fuzzing::tableName());
    DiaryPage page(model, messages);
    QSet<int> shown;
    for (const QString &l : model.diary().lines())
        if (diarybook::isPageLine(l)) shown.insert(l.mid(3, 2).toInt());
    shown.insert(31);
    for (int d : std::as_const(shown))
        page.showDay(d);
    for (const QString &l : model.diary().lines()) {
        diarybook::FormatiereTagebuchstr(l, MeasureMode::Four, GlucoseUnit::MgDl);
        diarybook::FormatiereTagebuchstr(l, MeasureMode::Eight, GlucoseUnit::MgDl);
        DiaryBook::Sections b = DiaryBook::splitSections(l);
        diarybook::fitEightColumnsIntoFour(b);
    }
}

} // namespace

void afterMonthTable() {
    const QString folder = fuzzing::folderOf(fuzzing::Reader::Month);
    drawMonth(folder);
    documents(folder);
}

void afterDiaryFile() {
    const QString folder = fuzzing::folderOf(fuzzing::Reader::Diary);
    diaryPages(folder);
    documents(folder);
}

void afterSettingsFile() {
    const QString folder = fuzzing::folderOf(fuzzing::Reader::Settings);
    drawMonth(folder);
    documents(folder);
}

} // namespace guichecks
