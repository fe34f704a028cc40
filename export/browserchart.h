#pragma once
#include <QDate>
#include <QString>
#include <QStringList>

#include "storage/monthmodel.h"

namespace ui {
class Services;
}

// The month's daily means as an HTML page with up to five weekly line charts
// (days 1-7, 8-14, 15-21, 22-28, 29 to the end), drawn in the browser by the
// chart script "Chart.min.js" that is copied beside the page.

// Everything the page is made from, as the main window holds it after the
// last drawing of the month graph.
struct BrowserChartInput {
    QStringList dayMeans;            // DayMean of day 1..31 ("0": no reading)
    QString entryMonth;              // "01".."12"; empty while no month was drawn
    QString entryYear;               // "2024"
    QString entryMonthName;          // "März"
    QString tableUserName;           // user name of the month table on screen
    QString currentTablePath;        // path of the month table on screen
    quint32 curveColor = 0x00FF0000; // colour references, red in the low byte
    quint32 aboveValuesColor = 0;
    QString penWidthText;    // "StiftBreite" as the graph last read it
    bool showValues = false; // "Die Datenwerte anzeigen" ticked
    QString settingsPath;    // glykoval.ini
    QString baseFolder;      // ends in "/"; holds "scripts/Chart.min.js"
    QString browserFolder;   // ends in "/"
    // The unit of the y axis, the values, the bands and the tooltips.
    GlucoseUnit unit = GlucoseUnit::MgDl;
};

// The four settings the page reads afresh.
struct BrowserChartSettings {
    int highLimit = 0;        // "Hochwerte>"
    int criticalLimit = 0;    // "Kritischwerte>"
    int lowLimit = 0;         // "Tiefwerte<"
    bool breakAtZero = false; // "LinieBeiNullUnterbrechen" contains "1"
};

namespace browserchart {

// Reads the settings; a limit that is missing or not a whole number throws
// EConvertError.
BrowserChartSettings readSettings(const QString &settingsPath);

// The page's lines (without line ends) for a month whose entryMonth and
// entryYear are valid.
QStringList pageLines(const BrowserChartInput &in, const BrowserChartSettings &settings);

// "MM032024.tab" -> "MM032024.html" (folder part removed).
QString fileName(const QString &tablePath);
// Axis top of a group from its largest mean: hundreds rounded half to even, plus 50.
int axisTop(int maximum);
// "Mo." .. "So." whatever the locale.
QString weekdayAbbreviation(const QDate &date);
int daysInMonth(int month, int year);
// Label of a day: weekday abbreviation and DD.MM.YY.
QString dayLabel(int day, int month, int year);
// Each "0" element of a "data: [...]" line becomes "NaN".
QString breakAtZero(QString valuesLine);
// Text for HTML content / for a JavaScript string literal.
QString htmlText(const QString &text);
QString jsText(const QString &text);

} // namespace browserchart

// Writes the page for the month and puts the chart script beside it. Returns
// the page's path, or an empty text with *error set (German). Messages that do
// not stop the command (year folder not created, chart script missing) are
// appended to *notices in the order they arise.
// The chart input of a month table as the drawing pass computed it, with the
// colours, flags and unit read from the settings of the base folder.
BrowserChartInput chartInput(const QString &tablePath, const MonthResult &month,
                             const QString &baseFolder);

QString writeBrowserChart(const BrowserChartInput &in, QString *error,
                          QStringList *notices = nullptr);
QString writeBrowserChart(const BrowserChartInput &in, const BrowserChartSettings &settings,
                          QString *error, QStringList *notices = nullptr);

// The menu command "Liniendiagramm im Browser anzeigen": reads the settings,
// writes the page, shows the messages and has the shell open the page.
// Returns true when the page was written and the shell opened it; when the
// shell cannot open it, a warning names the page's path.
bool LiniendiagrammimBrowseranzeigen(const BrowserChartInput &in, ui::Services &ui);
