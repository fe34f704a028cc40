#include "statsmenu.h"

#include <QFileInfo>
#include <QPushButton>

#include "arztbericht.h"
#include "platform/ui.h"
#include "statistikdlg.h"
#include "stats/statstext.h"

namespace statsmenu {

using namespace stats;

namespace {

QString folderOf(const QString &baseFolder) {
    if (baseFolder.isEmpty() || baseFolder.endsWith(u'/')) return baseFolder;
    return baseFolder + u'/';
}

// The chosen file name, with the suffix added when the user typed none.
QString withSuffix(const QString &file, const QString &suffix) {
    if (file.isEmpty() || QFileInfo(file).suffix().compare(suffix, Qt::CaseInsensitive) == 0)
        return file;
    return file + u'.' + suffix;
}

bool haveTable(ui::Services &ui, const QString &tablePath) {
    if (!tablePath.trimmed().isEmpty()) return true;
    ui.showInformation(QStringLiteral("Es ist keine Monatstabelle geöffnet. Bitte öffnen Sie "
                                      "zuerst einen Monat."));
    return false;
}

} // namespace

bool Months::read(ui::Services &ui, const QString &tablePath, const QString &baseFolder) {
    if (!haveTable(ui, tablePath)) return false;
    const MeasureMode fallback = fallbackMode(baseFolder);
    QString error;
    missing.clear();
    if (!collect({tablePath}, fallback, shown, &error) ||
        !collect(lastThreeMonths(tablePath, baseFolder, &missing), fallback, lastThree, &error)) {
        ui.showWarning(error);
        return false;
    }
    return true;
}

bool saveReport(ui::Services &ui, const Collection &c, const QStringList &missing,
                const QString &baseFolder, QWidget *parent) {
    QString period = c.period;
    period.replace(QChar(0x2013), u'-');
    const QString proposal =
        folderOf(baseFolder) + QStringLiteral("Arztbericht ") + period + QStringLiteral(".pdf");
    const QString file =
        withSuffix(ui.saveFileName(parent, QStringLiteral("Arztbericht speichern"), proposal,
                                   QStringLiteral("PDF-Dateien (*.pdf)")),
                   QStringLiteral("pdf"));
    if (file.isEmpty()) return false;
    QString error;
    if (!statsview::writeArztbericht(file, statsview::reportData(c, QDate::currentDate(), missing),
                                     &error)) {
        ui.showWarning(error);
        return false;
    }
    ui.shellOpen(file);
    return true;
}

statsview::TStatistikDlg *createStatistikDlg(ui::Services &ui, const Months &m,
                                             const QString &baseFolder, QWidget *parent) {
    statsview::TStatistikDlg::Page shown{
        QStringLiteral("Angezeigter Monat (%1)").arg(m.shown.periodName()), m.shown, {}};
    statsview::TStatistikDlg::Page three{
        QStringLiteral("Letzte drei Monate (%1)").arg(m.lastThree.periodName()), m.lastThree, {}};
    if (!m.missing.isEmpty())
        three.extraNotes
            << QStringLiteral("Ohne Tabelle: %1.").arg(m.missing.join(QStringLiteral(", ")));
    three.extraNotes << QStringLiteral("Der geschätzte HbA1c (eA1c) spiegelt etwa die letzten "
                                       "drei Monate wider; er ist kein Laborwert.");
    auto *dlg = new statsview::TStatistikDlg({shown, three}, parent);
    const Collection lastThree = m.lastThree;
    const QStringList missing = m.missing;
    QObject::connect(dlg->ArztberichtBtn, &QPushButton::clicked, dlg,
                     [&ui, lastThree, missing, baseFolder, dlg] {
                         saveReport(ui, lastThree, missing, baseFolder, dlg);
                     });
    return dlg;
}

void Statistik(ui::Services &ui, const QString &tablePath, const QString &baseFolder,
               QWidget *parent) {
    Months m;
    if (!m.read(ui, tablePath, baseFolder)) return;
    statsview::TStatistikDlg *dlg = createStatistikDlg(ui, m, baseFolder, parent);
    dlg->setAttribute(Qt::WA_DeleteOnClose);
    dlg->exec();
}

void Arztbericht(ui::Services &ui, const QString &tablePath, const QString &baseFolder,
                 QWidget *parent) {
    Months m;
    if (!m.read(ui, tablePath, baseFolder)) return;
    saveReport(ui, m.lastThree, m.missing, baseFolder, parent);
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
    const QString proposal =
        folderOf(baseFolder) + QFileInfo(tablePath).completeBaseName() + QStringLiteral(".csv");
    const QString file =
        withSuffix(ui.saveFileName(parent, QStringLiteral("Messwerte als CSV exportieren"),
                                   proposal, QStringLiteral("CSV-Dateien (*.csv)")),
                   QStringLiteral("csv"));
    if (file.isEmpty()) return;
    if (!writeCsv(file, c.readings, &error)) {
        ui.showWarning(error);
        return;
    }
    ui.showInformation(QStringLiteral("%1 Messwerte wurden in die Datei \"%2\" exportiert.")
                           .arg(c.readings.size())
                           .arg(file));
}

} // namespace statsmenu
