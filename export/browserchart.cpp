#include "browserchart.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>

#include "platform/colorref.h"
#include "platform/convert.h"
#include "platform/folders.h"
#include "platform/textfile.h"
#include "platform/ui.h"
#include "platform/win1252.h"
#include "storage/limits.h"
#include "storage/settingsstore.h"

namespace {

struct DayGroup {
    int firstDay;
    const char *notice;
    const char *canvas;
    const char *function;
    const char *title;
};

const DayGroup kGroups[5] = {
    {1, "1-7", "diagramm1", "createConfig", "Die erste Woche"},
    {8, " , 8-14", "diagramm2", "createConfig2", "Die zweite Woche"},
    {15, " , 15-21", "diagramm3", "createConfig3", "Die dritte Woche"},
    {22, " , 22-28", "diagramm4", "createConfig4", "Die vierte Woche"},
    {29, " , 29-31", "diagramm5", "createConfig5", "Rest des Monats"},
};

const QString kGreen = QStringLiteral("#25E432");
const QString kYellow = QStringLiteral("#EDED20");
const QString kRed = QStringLiteral("#E42625");

// Days of a group: seven, or 29..31 for the last one.
QList<int> groupDays(int g) {
    QList<int> days;
    const int count = g == 4 ? 3 : 7;
    for (int i = 0; i < count; ++i)
        days << kGroups[g].firstDay + i;
    return days;
}

// The daily means as whole-number texts; anything else counts as no reading,
// so that no foreign text reaches the script.
QStringList cleanMeans(const QStringList &means) {
    QStringList out;
    for (int d = 0; d < 31; ++d) {
        bool ok = false;
        const int v = means.value(d).trimmed().toInt(&ok);
        out << (ok ? QString::number(v) : QStringLiteral("0"));
    }
    return out;
}

bool groupHasData(const QStringList &means, int g) {
    for (int d : groupDays(g))
        if (means[d - 1] != QLatin1String("0")) return true;
    return false;
}

int groupMaximum(const QStringList &means, int g) {
    int m = 0;
    for (int d : groupDays(g))
        m = std::max(m, means[d - 1].toInt());
    return m;
}

// "StiftBreite" as the graph draws it; text that is no number gives the default.
QString penWidth(const QString &text) {
    int v = limits::kDefaultPenWidth;
    if (!limits::clamped(text, limits::kPenWidth, v)) v = limits::kDefaultPenWidth;
    return QString::number(v);
}

bool parseMonth(const BrowserChartInput &in, int &month, int &year) {
    static const QRegularExpression monthRe(QStringLiteral("^\\d{1,2}$"));
    static const QRegularExpression yearRe(QStringLiteral("^\\d{4}$"));
    if (!monthRe.match(in.entryMonth).hasMatch() || !yearRe.match(in.entryYear).hasMatch())
        return false;
    month = in.entryMonth.toInt();
    year = in.entryYear.toInt();
    return month >= 1 && month <= 12 && year >= 1;
}

} // namespace

namespace browserchart {

BrowserChartSettings readSettings(const QString &settingsPath) {
    const SettingsStore store(settingsPath);
    BrowserChartSettings s;
    // The limits as the graph draws them, hand-edited values clamped.
    s.highLimit = limits::limit(keys::Hochwerte, store.get(keys::Hochwerte));
    s.criticalLimit = limits::limit(keys::Kritischwerte, store.get(keys::Kritischwerte));
    s.lowLimit = limits::limit(keys::Tiefwerte, store.get(keys::Tiefwerte));
    s.breakAtZero = store.flag(keys::LinieBeiNullUnterbrechen);
    return s;
}

QString fileName(const QString &tablePath) {
    QString name = tablePath;
    const qsizetype slash = std::max(name.lastIndexOf(u'/'), name.lastIndexOf(u'\\'));
    name = name.mid(slash + 1);
    const qsizetype tab = name.toLower().indexOf(QLatin1String(".tab"));
    if (tab >= 0) name.remove(tab, 4);
    return name + QStringLiteral(".html");
}

int axisTop(int maximum) {
    int hundreds = maximum / 100;
    const int rest = maximum % 100;
    if (rest > 50 || (rest == 50 && hundreds % 2 != 0)) ++hundreds;
    return hundreds * 100 + 50;
}

QString weekdayAbbreviation(const QDate &date) {
    static const char *const names[7] = {"Mo.", "Di.", "Mi.", "Do.", "Fr.", "Sa.", "So."};
    const int dow = date.dayOfWeek();
    return dow >= 1 && dow <= 7 ? QString::fromLatin1(names[dow - 1]) : QString();
}

int daysInMonth(int month, int year) {
    if (month == 2) {
        const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
        return leap ? 29 : 28;
    }
    if (month <= 7) return month % 2 == 1 ? 31 : 30;
    return month % 2 == 0 ? 31 : 30;
}

QString dayLabel(int day, int month, int year) {
    return weekdayAbbreviation(QDate(year, month, day)) +
           QStringLiteral("%1.%2.%3")
               .arg(day, 2, 10, QLatin1Char('0'))
               .arg(month, 2, 10, QLatin1Char('0'))
               .arg(year % 100, 2, 10, QLatin1Char('0'));
}

QString breakAtZero(QString line) {
    const std::pair<const char *, const char *> rules[3] = {
        {",0,", ",NaN,"}, {"[0,", "[NaN,"}, {",0]", ",NaN]"}};
    for (const auto &[from, to] : rules) {
        const QLatin1String f(from);
        for (qsizetype at = line.indexOf(f); at >= 0; at = line.indexOf(f))
            line.replace(at, f.size(), QLatin1String(to));
    }
    return line;
}

QString htmlText(const QString &text) {
    QString out;
    for (const char32_t cp : text.toUcs4()) {
        switch (cp) {
        case '&':
            out += QStringLiteral("&amp;");
            break;
        case '<':
            out += QStringLiteral("&lt;");
            break;
        case '>':
            out += QStringLiteral("&gt;");
            break;
        case '"':
            out += QStringLiteral("&quot;");
            break;
        case '\'':
            out += QStringLiteral("&#39;");
            break;
        default: {
            const QString ch = QString::fromUcs4(&cp, 1);
            // Whatever the page's code page cannot carry goes as a character reference.
            if (cp < 0x20 || (cp >= 0x7F && cp < 0xA0) || cp > 0xFFFF || !win1252::encodable(ch))
                out += QStringLiteral("&#%1;").arg(uint(cp));
            else
                out += ch;
        }
        }
    }
    return out;
}

QString jsText(const QString &text) {
    QString out;
    for (const QChar ch : text) {
        const char16_t u = ch.unicode();
        const bool plain = u >= 0x20 && u < 0x7F && u != '\\' && u != '\'' && u != '"' &&
                           u != '<' && u != '>' && u != '&';
        if (plain)
            out += ch;
        else
            out += QStringLiteral("\\u%1").arg(int(u), 4, 16, QLatin1Char('0'));
    }
    return out;
}

namespace {

QString num(qint64 v) {
    return QString::number(v);
}

// A mg/dl value in mmol/l for the script: one decimal after a point.
QString mmolNumber(qint64 mgdl) {
    const qint64 t = glucoseunit::mmolTenths(mgdl);
    return QString::number(t / 10) + u'.' + QString::number(t % 10);
}

// What every part of the page needs: the month, its cleaned daily means and
// the y axis the weeks share.
struct PageData {
    const BrowserChartInput &in;
    const BrowserChartSettings &s;
    int month = 0, year = 0, days = 0;
    QStringList means;
    bool present[5] = {};
    int top = 0;
    bool mmol = false;

    PageData(const BrowserChartInput &input, const BrowserChartSettings &settings)
        : in(input), s(settings) {
        parseMonth(in, month, year);
        days = daysInMonth(month, year);
        means = cleanMeans(in.dayMeans);

        // One y axis for all weeks, from 0 to above the month's largest mean and
        // the high limit, so that the bands stand at the same height in every
        // chart and a week of low values is not stretched over the whole chart.
        int maximum = s.highLimit;
        for (int g = 0; g < 5; ++g) {
            maximum = std::max(maximum, groupMaximum(means, g));
            present[g] = groupHasData(means, g);
        }
        top = axisTop(maximum);
        mmol = in.unit == GlucoseUnit::MmolL;
    }

    // A level (limit, band) as the script gets it: mg/dl, or mmol/l with one
    // decimal.
    QString level(qint64 mgdl) const { return mmol ? mmolNumber(mgdl) : num(mgdl); }
    // The axis top: in mmol/l the whole number at or above the top in mg/dl.
    QString topText() const {
        return mmol ? num((qint64(top) * 1000 + glucoseunit::kMgdlPerMmolMilli - 1) /
                          glucoseunit::kMgdlPerMmolMilli)
                    : num(top);
    }
    // A day's mean; "0" (no reading) stays "0".
    QString mean(int day) const {
        const QString &m = means[day - 1];
        return mmol && m != QLatin1String("0") ? mmolNumber(m.toInt()) : m;
    }
};

// Document head, styles and the page title.
void addHead(QStringList &L, const BrowserChartInput &in) {
    L << QStringLiteral(
        "<!doctype html><html><head><style>h0{font-family: "
        "Verdana;font-style:normal;font-weight:400;color:black;font-size:18px;}</style>"
        "<title>Glykovalinmesswerte</title><script src=\"Chart.min.js\"></script>"
        "<meta charset=\"windows-1252\">");
    L << QStringLiteral("<style> h1{ font-family:Verdana;font-style:normal;font-weight:100;"
                        "color:red;font-size:16px;} </style>");
    L << QStringLiteral("<style> h2{ font-family:Verdana;font-style:normal;font-weight:100;"
                        "color:black;font-size:14px;} </style>");
    L << QStringLiteral(
        "<style>canvas {-moz-user-select: none;-webkit-user-select: none;-ms-user-select: "
        "none;}.chart-container {width: 600px;margin-left: 10px;margin-right: 10px;}.container "
        "{display: flex;flex-direction: row;flex-wrap: wrap;justify-content: center;}");
    L << QStringLiteral("</style></head><body><center>");
    L << QStringLiteral("<h0><b>Glykovalin-Werte von ") + htmlText(in.tableUserName) +
             QStringLiteral(" im ") + htmlText(in.entryMonthName) + QStringLiteral(" ") +
             htmlText(in.entryYear) + QStringLiteral("</b></h0>");
    L << QStringLiteral(
        "<br><h1>Die täglichen Messwerte werden hier als Mittelwerte dargestellt. </h1>");
}

// Notice of the groups without data.
void addMissingNotice(QStringList &L, const PageData &d) {
    const QString start = QStringLiteral("[Es fehlen Daten der Tagesgruppe: ");
    QString notice = start;
    for (int g = 0; g < 5; ++g) {
        if (g == 4 && d.days <= 28) continue;
        if (!d.present[g]) notice += QLatin1String(kGroups[g].notice);
    }
    if (notice == start) return;
    if (notice.startsWith(QStringLiteral("[Es fehlen Daten der Tagesgruppe:  ,")))
        notice.remove(notice.indexOf(u','), 1);
    L << QStringLiteral("<center><h2>") + notice;
    L << QStringLiteral("]</h2></center><br>");
}

// A canvas for each group with data.
void addCanvases(QStringList &L, const PageData &d) {
    QString container = QStringLiteral("<div class=\"container\">");
    for (int g = 0; g < 5; ++g)
        if (d.present[g])
            container += QStringLiteral("<div class=\"chart-container\"><canvas id=\"") +
                         QLatin1String(kGroups[g].canvas) + QStringLiteral("\"></canvas></div>");
    L << container;
}

// The script that writes the values above the curve; values that equal a
// band's level are skipped, so that only the curve's values are written.
void addValueScript(QStringList &L, const PageData &d) {
    L << QStringLiteral("var insideFontColor = '255,255,255'; var outsideFontColor = '0,0,0'; "
                        "var topThreshold = 20;");
    L << QStringLiteral(
        "var fontSize = 12; var fontStyle = 'normal';  var fontFamily = 'Helvetica Neue';   ");
    L << QStringLiteral(
        "var modifyCtx = function(ctx) { ctx.font = Chart.helpers.fontString(fontSize, "
        "fontStyle, fontFamily);  ctx.textAlign = 'center';  ctx.textBaseline = 'bottom';  "
        "return ctx;}; ");
    L << QStringLiteral("var fadeIn = function(ctx, obj, x, y, black, step) { var ctx = "
                        "modifyCtx(ctx); var alpha = 0; ctx.fillStyle =   '") +
             colorref::toHtml(d.in.aboveValuesColor) +
             (d.mmol ? QStringLiteral("';   ctx.fillText(String(obj).replace('.', ','), x, y);};  ")
                     : QStringLiteral("';   ctx.fillText(obj, x, y);};  "));

    QString draw =
        QStringLiteral("var drawValue = function(context, step) { var ctx = context.chart.ctx; "
                       "context.data.datasets.forEach(function (dataset) { for (var i = 0; i < "
                       "dataset.data.length; i++) { var model = "
                       "dataset._meta[Object.keys(dataset._meta)[0]].data[i]._model;  "
                       "var textY = (model.y > topThreshold) ? model.y - 3 : model.y + 20;  ");
    const BrowserChartSettings &s = d.s;
    const QString top = d.topText();
    const QString skipped[11] = {d.level(s.lowLimit),
                                 d.level(qint64(s.lowLimit) + 1),
                                 d.level(qint64(s.highLimit) - 1),
                                 d.level(s.highLimit),
                                 top,
                                 top,
                                 d.level(s.criticalLimit),
                                 top,
                                 top,
                                 top,
                                 top};
    for (const QString &v : skipped)
        draw += QStringLiteral("if (dataset.data[i]==") + v + QStringLiteral(") { }else ");
    draw += QStringLiteral("{fadeIn(ctx, dataset.data[i], model.x, textY, model.y > "
                           "topThreshold, step); } } });};  ");
    L << draw;
}

// The x axis labels of a group; the last group has none in a 28-day month.
void addLabels(QStringList &L, const PageData &d, int g) {
    if (g == 4 && d.days <= 28) return;
    QString line = QStringLiteral("labels: [");
    for (int day : groupDays(g)) {
        const QString label = day <= d.days ? dayLabel(day, d.month, d.year) : QStringLiteral("-");
        line += QStringLiteral("'") + jsText(label) + QStringLiteral("' ,");
    }
    L << line + QStringLiteral("], ");
}

// The curve of the daily means of a group.
void addCurve(QStringList &L, const PageData &d, int g) {
    const QString curve = colorref::toHtml(d.in.curveColor);
    L << QStringLiteral("datasets: [{label: 'Glykovalin-Wert',");
    L << QStringLiteral("backgroundColor: '#0000FF',borderColor: '") + curve +
             QStringLiteral("',borderWidth: ") + penWidth(d.in.penWidthText) +
             QStringLiteral(",fill: false,  pointBackgroundColor: '") + curve +
             QStringLiteral("',  pointBorderColor: '") + curve + QStringLiteral("', ");

    QStringList values;
    for (int day : groupDays(g))
        values << d.mean(day);
    QString valuesLine = QStringLiteral("data: [") + values.join(u',');
    if (g == 4) valuesLine += QStringLiteral(",0,0,0,0,0,0,0,0,0,0,0");
    valuesLine += QStringLiteral("] , }, ");
    if (d.s.breakAtZero) valuesLine = breakAtZero(valuesLine);
    L << valuesLine;
}

// The coloured bands behind the curve, each a flat line filled down to the
// one below it.
void addBands(QStringList &L, const PageData &d) {
    struct Band {
        const char *label;
        QString colour;
        bool fill;
        QString number;
        const char *closing;
    };
    const BrowserChartSettings &s = d.s;
    const Band bands[6] = {
        {"{label: 'Schlecht',", kRed, true, d.level(s.lowLimit), "] , }, "},
        {"{label: 'Gruen',", kGreen, true, d.level(s.criticalLimit), "] , }, "},
        {"{label: 'Gruen',", kGreen, false, d.level(qint64(s.lowLimit) + 1), "] , }, "},
        {"{label: 'Geht so',", kYellow, true, d.level(qint64(s.highLimit) - 1), "] , }, "},
        {"{label: 'rot',", kRed, true, d.level(s.highLimit), "] , }, "},
        {"{label: 'rot',", kRed, true, d.topText(), "] , } ]}, "},
    };
    for (const Band &b : bands) {
        L << QLatin1String(b.label);
        L << QStringLiteral("backgroundColor: '") + b.colour +
                 QStringLiteral("',borderColor: '', borderWidth : 1,fill: ") +
                 (b.fill ? QStringLiteral("true") : QStringLiteral("false")) +
                 QStringLiteral(",pointRadius: 0.1, pointHoverRadius: 0.1, ");
        QStringList seven;
        for (int i = 0; i < 7; ++i)
            seven << b.number;
        L << QStringLiteral("data: [") + seven.join(u',') + QLatin1String(b.closing);
    }
}

// Legend, title, animation, tooltips and axes of a group's chart.
void addOptions(QStringList &L, const PageData &d, int g) {
    L << QStringLiteral(
        "options: {aspectRatio:1.5 ,  legend: {  labels: {  filter: function(legendItem, "
        "chartData) {    if (legendItem.datasetIndex === 0) {   return true;    }    return "
        "false;    }   }   },elements: {line: {tension: 0}},responsive: true,title:  ");
    L << QStringLiteral("{display: true, fontSize : 16,text: '") + QLatin1String(kGroups[g].title) +
             QStringLiteral("'}, ");
    L << QStringLiteral("hover:{animationDuration: 1},");
    if (d.in.showValues)
        L << QStringLiteral(
            "animation:{duration:1, onComplete: function(){this.chart.controller.draw(); "
            "drawValue(this, 1);},onProgress: function(state){var animation = "
            "state.animationObject;drawValue(this,animation.currentStep / "
            "animation.numSteps); }}, ");
    // In mmol/l the tooltips and the scale write the values with a decimal
    // comma and the unit.
    const QString commaTicks =
        d.mmol ? QStringLiteral("callback: function(v) {return String(v).replace('.', ',');}, ")
               : QString();
    L << QStringLiteral("tooltips: {enabled: true,  filter: function(tooltipItems, data) { "
                        "var label = data.datasets[tooltipItems.datasetIndex].label; ");
    L << QStringLiteral(" if ((label == \"Glykovalin-Wert\") || (label == \"Goal 2\")) {  "
                        "return true;   } else { return false;  }   }") +
             (d.mmol ? QStringLiteral(", callbacks: {label: function(item) {return "
                                      "'Glykovalin-Wert: ' + String(item.yLabel).replace('.', "
                                      "',') + ' mmol/l';}}")
                     : QString()) +
             QStringLiteral("}, ");
    L << QStringLiteral("scales: {xAxes: [{display: true,scaleLabel: {\tdisplay: "
                        "true,labelString: '     '}\t}],yAxes: [{ticks: {") +
             commaTicks + QStringLiteral("max:") + d.topText() +
             QStringLiteral(", min:0},display: true,scaleLabel: {display: true,labelString: '") +
             glucoseunit::unitText(d.in.unit) + QStringLiteral("'},}]}}};}   ");
}

// The function that gives the chart configuration of a group.
void addGroupConfig(QStringList &L, const PageData &d, int g) {
    L << QStringLiteral("function ") + QLatin1String(kGroups[g].function) +
             QStringLiteral("(colorName) {return {type:'line',\tdata: { ");
    addLabels(L, d, g);
    addCurve(L, d, g);
    addBands(L, d);
    addOptions(L, d, g);
}

// The charts are made when the page has loaded, one for each group with data.
void addLoader(QStringList &L, const PageData &d) {
    for (int g = 0; g < 5; ++g)
        L << QStringLiteral("function createPointStyleConfig(colorName) {var config = ") +
                 QLatin1String(kGroups[g].function) +
                 QStringLiteral("(colorName);config.options.legend.labels.usePointStyle = "
                                "true;return config;}");

    QString load = QStringLiteral("window.onload = function() {[");
    for (int g = 0; g < 5; ++g)
        if (d.present[g])
            load += QStringLiteral("{id: '") + QLatin1String(kGroups[g].canvas) +
                    QStringLiteral("',config: ") + QLatin1String(kGroups[g].function) +
                    QStringLiteral("()},");
    load += QStringLiteral("].forEach(function(details) {var ctx = "
                           "document.getElementById(details.id).getContext('2d');new Chart(ctx, "
                           "details.config);");
    L << load;
}

} // namespace

QStringList pageLines(const BrowserChartInput &in, const BrowserChartSettings &s) {
    const PageData d(in, s);
    QStringList L;
    addHead(L, in);
    addMissingNotice(L, d);
    addCanvases(L, d);
    L << QStringLiteral("</div><script>");
    addValueScript(L, d);
    for (int g = 0; g < 5; ++g)
        addGroupConfig(L, d, g);
    addLoader(L, d);
    L << QStringLiteral("});};</script></body></html>");
    return L;
}

} // namespace browserchart

BrowserChartInput chartInput(const QString &tablePath, const MonthResult &month,
                             const QString &baseFolder) {
    BrowserChartInput in;
    in.dayMeans = month.dayMeanList();
    in.entryMonth = month.entryMonth;
    in.entryYear = month.entryYear;
    in.entryMonthName = month.entryMonthName();
    in.tableUserName = month.tableUser;
    in.currentTablePath = tablePath;
    in.baseFolder = baseFolder;
    in.browserFolder = baseFolder + QStringLiteral("Glykovalin-Daten im Browser/");
    in.settingsPath = baseFolder + QStringLiteral("glykoval.ini");
    const SettingsStore st(in.settingsPath);
    bool ok = false;
    const quint32 curve = st.get(keys::KurvenFarbe).trimmed().toUInt(&ok);
    if (ok) in.curveColor = curve;
    const quint32 above = st.get(keys::DatenwerteOberhalbFarbe).trimmed().toUInt(&ok);
    in.aboveValuesColor = ok ? above : 0;
    in.penWidthText = st.get(keys::StiftBreite);
    in.showValues = st.flag(keys::WerteOberhalbKurveAnzeigen);
    in.unit = glucoseunit::fromSetting(st.get(keys::Einheit));
    return in;
}

QString writeBrowserChart(const BrowserChartInput &in, QString *error, QStringList *notices) {
    BrowserChartSettings settings;
    try {
        settings = browserchart::readSettings(in.settingsPath);
    } catch (const EConvertError &e) {
        if (error) *error = e.message();
        return {};
    }
    return writeBrowserChart(in, settings, error, notices);
}

QString writeBrowserChart(const BrowserChartInput &in, const BrowserChartSettings &settings,
                          QString *error, QStringList *notices) {
    auto fail = [error](const QString &text) {
        if (error) *error = text;
        return QString();
    };
    auto notice = [notices](const QString &text) {
        if (notices) notices->append(text);
    };
    if (in.entryMonth.isEmpty() || in.currentTablePath.isEmpty())
        return fail(QStringLiteral("Es wurden noch keine Daten eingegeben!"));
    int month = 0, year = 0;
    if (!parseMonth(in, month, year))
        return fail(QStringLiteral("Monat \"%1\" und Jahr \"%2\" der Tabelle sind ungültig; "
                                   "das Liniendiagramm kann nicht erstellt werden.")
                        .arg(in.entryMonth, in.entryYear));

    const QStringList lines = browserchart::pageLines(in, settings);
    const QString yearFolder = in.browserFolder + in.entryYear;
    if (!FolderExists(yearFolder) && !ForceFolders(yearFolder))
        notice(QStringLiteral("Ordner \"") + yearFolder +
               QStringLiteral("\" konnte nicht erstellt werden! "));

    const QString path =
        yearFolder + QStringLiteral("/") + browserchart::fileName(in.currentTablePath);
    if (const textfile::SaveResult r = textfile::save(path, textfile::encodeLines(lines)); !r)
        return fail(r.message(path));

    // The chart script goes beside the page once; an existing one stays.
    const QString script = yearFolder + QStringLiteral("/Chart.min.js");
    if (!QFile::exists(script)) {
        const QString source = in.baseFolder + QStringLiteral("scripts/Chart.min.js");
        QFile from(source);
        if (!from.open(QIODevice::ReadOnly)) {
            notice(QStringLiteral("Datei \"") + source +
                   QStringLiteral("\" konnte nicht in den Ordner \"%1\" kopiert werden! ")
                       .arg(yearFolder));
        } else if (const textfile::SaveResult r = textfile::save(script, from.readAll()); !r) {
            notice(r.message(script) + QStringLiteral(" Die Diagramme der Seite bleiben leer."));
        }
    }
    return path;
}

bool LiniendiagrammimBrowseranzeigen(const BrowserChartInput &in, ui::Services &ui) {
    BrowserChartSettings settings;
    if (!ui::guarded(ui, [&] { settings = browserchart::readSettings(in.settingsPath); }))
        return false;

    QString error;
    QStringList notices;
    const QString path = writeBrowserChart(in, settings, &error, &notices);
    for (const QString &n : notices)
        ui.showMessage(n);
    if (path.isEmpty()) {
        ui.showMessage(error);
        return false;
    }
    if (!ui.shellOpen(path)) {
        ui.showWarning(QStringLiteral("Die Seite mit dem Liniendiagramm konnte nicht im Browser "
                                      "geöffnet werden. Sie ist gespeichert unter:\n%1")
                           .arg(QDir::toNativeSeparators(path)));
        return false;
    }
    return true;
}
