#include "statsmenu.h"

#include <QFileInfo>

#include "doctorreport.h"
#include "platform/ui.h"
#include "statisticswindow.h"
#include "stats/statstext.h"

namespace statsmenu {

using namespace stats;

namespace {

bool haveTable(ui::Services &ui, const QString &tablePath) {
    if (!tablePath.trimmed().isEmpty()) return true;
    ui.showInformation(QStringLiteral("Es ist keine Monatstabelle geöffnet. Bitte öffnen Sie "
                                      "zuerst einen Monat."));
    return false;
}

} // namespace

void Statistik(ui::Services &ui, const QString &tablePath, const QString &baseFolder,
               GlucoseUnit unit, QWidget *parent) {
    statsview::StatisticsWindow window(ui, parent);
    if (window.showTable(tablePath, baseFolder, unit)) window.exec();
}

void Arztbericht(ui::Services &ui, const QString &tablePath, const QString &baseFolder,
                 GlucoseUnit unit, QWidget *parent) {
    if (!haveTable(ui, tablePath)) return;
    ShownMonths m;
    QString error;
    if (!readShownMonths(tablePath, baseFolder, unit, m, &error)) {
        ui.showWarning(error);
        return;
    }
    statsview::saveDoctorReport(ui, m.lastThree, m.missing, baseFolder, parent);
}

void MesswerteAlsCsv(ui::Services &ui, const QString &tablePath, const QString &baseFolder,
                     QWidget *parent) {
    if (!haveTable(ui, tablePath)) return;
    Collection c;
    QString error;
    if (!collect({tablePath}, fallbackMode(baseFolder), c, &error)) {
        ui.showWarning(error);
        return;
    }
    QString folder = baseFolder;
    if (!folder.isEmpty() && !folder.endsWith(u'/')) folder += u'/';
    QString file =
        ui.saveFileName(parent, QStringLiteral("Messwerte als CSV exportieren"),
                        folder + QFileInfo(tablePath).completeBaseName() + QStringLiteral(".csv"),
                        QStringLiteral("CSV-Dateien (*.csv)"));
    if (file.isEmpty()) return;
    if (QFileInfo(file).suffix().compare(QStringLiteral("csv"), Qt::CaseInsensitive) != 0)
        file += QStringLiteral(".csv");
    if (!writeCsv(file, c.readings, &error)) {
        ui.showWarning(error);
        return;
    }
    ui.showInformation(QStringLiteral("%1 Messwerte wurden in die Datei \"%2\" exportiert.")
                           .arg(c.readings.size())
                           .arg(file));
}

} // namespace statsmenu
