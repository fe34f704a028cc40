#include "importfuzz.h"

#include <QDir>
#include <QTemporaryDir>

#include "import/columnmapping.h"
#include "import/importplan.h"
#include "platform/textfile.h"
#include "storage/entryline.h"
#include "storage/monthtable.h"

namespace fuzzing {

namespace {

// A base folder of Max Muster with four slot times and a March 2024 that
// holds a few readings; made again for every input.
struct Scratch {
    QTemporaryDir dir;
    importer::Options options;
    Scratch() {
        options.folders = Folders::at(dir.path());
        options.settings = SettingsStore(options.folders.settings);
        options.lockWait = std::chrono::milliseconds(0);
        textfile::writeLines(options.folders.settings,
                             {"[Einstellung]", "BenutzerName=Max Muster", "BisZu4MessungenJeTag=1",
                              "Messung4UhrzeitMorgens=07:00", "Messung4UhrzeitMessung2=12:00",
                              "Messung4UhrzeitMessung3=18:00", "Messung4UhrzeitAbends=22:00"});
    }
    void reset() {
        QDir(options.folders.data).removeRecursively();
        monthtable::WriteRequest req;
        req.userName = "Max Muster";
        req.month = "03";
        req.year = "2024";
        req.entries = {
            entryline::format(MeasurementSlot::Morgens, "05", "03", "2024", "07:00", "120"),
            entryline::format(MeasurementSlot::Abends, "05", "03", "2024", "22:00", "0")};
        QDir().mkpath(options.folders.data + "2024");
        textfile::writeLines(monthtable::pathFor(options.folders.data, "MM", "03", "2024"),
                             monthtable::compose(req, {}));
    }
};

Scratch &scratch() {
    static Scratch s;
    return s;
}

void promise(bool kept, const char *what) {
    if (!kept) qFatal("Import: %s", what);
}

void checkFile(const importer::SourceFile &f) {
    int bySource[importer::kSourceCount] = {};
    for (const importer::Reading &r : f.readings) {
        promise(r.mgdl >= 1 && r.mgdl <= 500, "a reading outside 1 to 500 mg/dl was kept");
        promise(r.date.isValid() && r.date.year() >= importer::kFirstYear &&
                    r.date.year() <= importer::kLastYear,
                "a reading without a valid date");
        promise(r.minute >= -1 && r.minute < 24 * 60, "a minute outside the day");
        promise(r.slot >= 0 && r.slot <= slotinfo::kCount, "a slot that does not exist");
        promise(r.date >= f.first && r.date <= f.last, "a reading outside the file's period");
        ++bySource[int(r.source)];
    }
    for (int s = 0; s < importer::kSourceCount; ++s)
        promise(bySource[s] <= f.found[s], "more readings kept than found");
}

void checkPlan(const importer::Plan &plan) {
    const importer::Totals t = plan.totals();
    promise(t.found + t.otherRows ==
                t.imported + t.duplicates + t.conflicts + t.outsideSlots + t.skipped(),
            "the counts do not add up");
    for (const importer::MonthPlan &m : plan.months) {
        promise(m.added.isEmpty() == m.after.isEmpty(), "a month to write without its bytes");
        for (const importer::Placed &p : m.added) {
            promise(entryline::readingDay(p.line) == p.reading.date.day(), "a line of another day");
            MeasurementSlot slot{};
            promise(entryline::slotOf(p.line, slot) && slotinfo::number(slot) == p.slot &&
                        slotinfo::usedIn(slot, m.mode),
                    "a line of another slot");
            promise(entryline::valueOf(p.line) == QString::number(p.reading.mgdl),
                    "a line with another value");
            promise(m.after.contains(p.line.toLatin1()), "an added line missing from the table");
        }
    }
}

void importAll(const importer::SourceFile &f) {
    Scratch &s = scratch();
    for (bool sensor : {false, true}) {
        s.reset();
        s.options.sensor = sensor;
        importer::Plan plan;
        QString error;
        promise(importer::makePlan({f}, s.options, plan, error), "no plan");
        checkPlan(plan);
        // Writing many months costs a synced file each: a few are enough.
        if (plan.months.size() > 3) continue;
        const importer::ApplyResult done = importer::apply(plan, s.options);
        promise(done.ok(), "a plan could not be applied");
        importer::Plan again;
        promise(importer::makePlan({f}, s.options, again, error), "no second plan");
        promise(!again.hasAdditions(), "the same file imported again adds readings");
    }
}

} // namespace

void readImportFile(const QByteArray &bytes) {
    importer::SourceFile f;
    const importer::ReadResult read = importer::readBytes("eingabe", bytes, f);
    promise(read.status == importer::ReadStatus::Read || !read.error.isEmpty(),
            "a rejected file without a message");
    if (read) {
        checkFile(f);
        importAll(f);
        return;
    }
    if (read.status != importer::ReadStatus::UnknownCsv) return;
    importer::CsvPreview preview;
    promise(importer::previewOf(bytes, preview), "an unknown CSV file without a preview");
    importer::ColumnMapping m = importer::guessMapping(preview);
    if (!m.isComplete()) {
        m.dateColumn = 0;
        m.timeColumn = 1;
        m.valueColumn = 2;
    }
    for (int timestamp = 0; timestamp < 2; ++timestamp) {
        if (timestamp) m.timeColumn = -1;
        if (importer::readMapped("eingabe", bytes, m, f)) {
            checkFile(f);
            importAll(f);
        }
    }
}

} // namespace fuzzing
