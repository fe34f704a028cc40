#include <QCoreApplication>
#include <benchmark/benchmark.h>

#include "benchapp.h"
#include "entry/tablebuilder.h"
#include "printing/tabellendlg.h"
#include "recordingservices.h"
#include "settings_fixture.h"
#include "storage/entryline.h"
#include "storage/monthmodel.h"

namespace {

// The table of March 2024, four slots, a reading in every cell.
QString marchTable() {
    tablebuilder::TableInput in;
    for (int d = 1; d <= 31; ++d)
        for (MeasurementSlot s : {MeasurementSlot::Morgens, MeasurementSlot::Messung2,
                                  MeasurementSlot::Messung3, MeasurementSlot::Abends})
            in.entries << entryline::format(s, QStringLiteral("%1").arg(d, 2, 10, QChar(u'0')),
                                            "03", "2024", "07:30",
                                            QString::number(80 + (d * 7) % 150));
    in.monthName = QStringLiteral("März");
    in.year = QStringLiteral("2024");
    in.userName = QStringLiteral("Max Muster");
    return tablebuilder::TableText(in);
}

// The table window shown and closed again, as the menu command does it:
// argument 0 with a settings file without remarks, 1 with twenty years of
// remarks (the shown month has one behind every row). Nothing changes, so
// closing writes nothing.
void BM_TableWindowOpenClose(benchmark::State &state) {
    benchapp::ensureApplication();
    benchfixture::SettingsFolder f(state.range(0) == 1);
    MonthModel session(Folders::at(f.base()));
    session.open(f.base() + QStringLiteral("Glykovalin-Daten/2024/MM032024.tab"));
    ui::RecordingServices rec;
    const QString text = marchTable();
    TTabellenDlg dlg(session, rec);
    qsizetype shown = 0;
    for (auto _ : state) {
        dlg.showTable(text, TTabellenDlg::Opening::Beside); // merges the remarks
        QCoreApplication::processEvents();
        shown = dlg.tableLines().join(u'\n').size();
        dlg.done(0); // stores the remarks
    }
    state.counters["chars"] = double(shown);
}
BENCHMARK(BM_TableWindowOpenClose)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

} // namespace
