#include "diarybook_cli.h"

#include <QDir>
#include <QFileInfo>

#include "diary/diarybook_month.h"
#include "diary/diarybook_pdf.h"
#include "export/browserchart.h"
#include "storage/monthread.h"
#include "storage/monthtable.h"
#include "storage/settingsstore.h"

namespace diarybook {

namespace {

QString baseFolder() {
    QString base = QDir::currentPath();
    if (!base.endsWith(u'/')) base += u'/';
    return base;
}

QString absolute(const QString &path) {
    return QDir::cleanPath(QFileInfo(path).absoluteFilePath());
}

// The whole month of a table as the drawing pass reads it; false (the reason
// on `err`) when it cannot be read. Passed-over lines are reported on `err`.
bool readMonth(const QString &tablePath, monthread::Month &month, QTextStream &err) {
    QString error;
    if (!monthread::readWhole(tablePath, month, &error)) {
        err << error << "\n";
        return false;
    }
    if (!month.result.skippedNotice.isEmpty()) err << month.result.skippedNotice << "\n";
    return true;
}

} // namespace

int diaryPdfCommand(const QString &table, const QString &pdf, QTextStream &out, QTextStream &err) {
    const QString tablePath = absolute(table);
    monthread::Month month;
    if (!readMonth(tablePath, month, err)) return 1;
    const QString diary = monthtable::diaryPathOf(tablePath);
    if (diary.isEmpty() || !QFileInfo(diary).isFile()) {
        err << QStringLiteral("Zur Tabelle \"%1\" gibt es keine Tagebuchdatei (\"%2\").\n")
                   .arg(table, diary);
        return 1;
    }
    const QString base = baseFolder();
    const SettingsStore st(base + QStringLiteral("glykoval.ini"));
    const MeasureMode fallback = st.flag(keys::BisZu8) ? MeasureMode::Eight : MeasureMode::Four;
    const DiaryBookInput in = bookInput(month, base + QStringLiteral("Glykovalin-Daten/"), fallback,
                                        glucoseunit::fromSetting(st.get(keys::Einheit)));
    QString error;
    int pages = 0;
    if (!writeDiaryBook(in, absolute(pdf), &error, &pages)) {
        err << error << "\n";
        return 1;
    }
    out << absolute(pdf) << "\n";
    return 0;
}

int chartCommand(const QString &table, QTextStream &out, QTextStream &err) {
    const QString tablePath = absolute(table);
    monthread::Month m;
    if (!readMonth(tablePath, m, err)) return 1;
    const BrowserChartInput in = chartInput(tablePath, m.result, baseFolder());
    QString error;
    QStringList notices;
    const QString page = writeBrowserChart(in, &error, &notices);
    for (const QString &n : notices)
        err << n << "\n";
    if (page.isEmpty()) {
        err << error << "\n";
        return 1;
    }
    out << page << "\n";
    return 0;
}

} // namespace diarybook
