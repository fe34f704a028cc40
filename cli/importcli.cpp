#include "importcli.h"

#include <QDir>
#include <QTextStream>

#include "import/importplan.h"
#include "import/importreport.h"
#include "platform/convert.h"

namespace cli {

namespace {

QString usage() {
    return QStringLiteral(
        "Aufruf: glykovalin-cli import DATEI... [--sensor] [--dry-run] [--json]\n");
}

} // namespace

int importCommand(const QStringList &args, QTextStream &out, QTextStream &err) {
    bool sensor = false, dryRun = false, json = false;
    QStringList paths;
    for (const QString &a : args) {
        if (a == u"--sensor")
            sensor = true;
        else if (a == u"--dry-run")
            dryRun = true;
        else if (a == u"--json")
            json = true;
        else if (a.startsWith(QStringLiteral("--"))) {
            err << QStringLiteral("Unbekannte Option: %1\n").arg(a) << usage();
            return 2;
        } else
            paths << a;
    }
    if (paths.isEmpty()) {
        err << usage();
        return 2;
    }
    // Every file is read before anything is written; one that fails stops all.
    QList<importer::SourceFile> files;
    bool failed = false;
    for (const QString &p : paths) {
        importer::SourceFile f;
        const importer::ReadResult read = importer::readFile(p, f);
        if (!read) {
            err << read.error << u'\n';
            failed = true;
        }
        files.append(f);
    }
    if (failed) {
        err << QStringLiteral("Es wurde nichts übernommen.\n");
        return 2;
    }
    importer::Options o;
    o.folders = Folders::at(QDir::currentPath());
    o.settings = SettingsStore(o.folders.settings);
    o.currentMode =
        convert::flag(o.settings.get(keys::BisZu8)) ? MeasureMode::Eight : MeasureMode::Four;
    o.currentTablePath = o.settings.get(keys::TabellenDateiName);
    o.sensor = sensor;
    importer::Plan plan;
    QString error;
    if (!importer::makePlan(files, o, plan, error)) {
        err << error << u'\n';
        return 1;
    }
    if (dryRun) {
        QStringList due;
        for (const importer::MonthPlan &m : plan.months)
            if (!m.added.isEmpty()) due << m.path;
        if (json)
            out << QString::fromUtf8(importer::json(plan, plan.totals(), due));
        else
            out << importer::summary(plan, plan.months, plan.totals(), false).join(u'\n') << u'\n';
        return 0;
    }
    const importer::ApplyResult done = importer::apply(plan, o);
    const importer::Totals totals = done.totals(plan);
    if (json)
        out << QString::fromUtf8(importer::json(plan, totals, done.written));
    else
        out << importer::summary(plan, done.months, totals, true).join(u'\n') << u'\n';
    if (!done.ok()) {
        err << done.error << u'\n';
        return 1;
    }
    return 0;
}

} // namespace cli
