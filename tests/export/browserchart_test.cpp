#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QUrl>
#include <gtest/gtest.h>

#include "export/browserchart.h"
#include "pdfreader.h" // PrintTo for QString
#include "platform/ui.h"
#include "platform/win1252.h"
#include "recordingservices.h"
#include "testutil.h"

namespace {

void writeSettings(const QString &path, const QString &high = "180",
                   const QString &critical = "140", const QString &low = "70",
                   const QString &breakAtZero = "1") {
    testutil::writeBytes(
        path, testutil::crlf({"[Einstellung]", "Hochwerte>=" + high, "Kritischwerte>=" + critical,
                              "Tiefwerte<=" + low, "LinieBeiNullUnterbrechen=" + breakAtZero}));
}

// A prepared month: March 2021, readings in days 1-7, 15-21 and 29-31.
struct Month {
    testutil::TempFolder tmp;
    BrowserChartInput in;
    Month() {
        QStringList means(31, "0");
        means[1] = "120";
        means[4] = "95";
        means[14] = "150";
        means[16] = "80";
        means[29] = "181";
        in.dayMeans = means;
        in.entryMonth = "03";
        in.entryYear = "2021";
        in.entryMonthName = "März";
        in.tableUserName = "Anna <b>& \"Bo\"";
        in.currentTablePath = tmp.path() + "Glykovalin-Daten/2021/AB032021.tab";
        in.curveColor = 0x00FF8000;       // blue 0xFF, green 0x80, red 0
        in.aboveValuesColor = 0x000000C0; // red 0xC0
        in.penWidthText = "3";
        in.showValues = true;
        in.settingsPath = tmp.file("glykoval.ini");
        in.baseFolder = tmp.path();
        in.browserFolder = tmp.path() + "Glykovalin-Daten im Browser/";
        writeSettings(in.settingsPath);
        QDir().mkpath(tmp.path() + "scripts");
        testutil::writeBytes(tmp.path() + "scripts/Chart.min.js", "/* chart */");
    }
    QString page() const { return in.browserFolder + "2021/AB032021.html"; }
};

QStringList readPage(const QString &path) {
    const QByteArray bytes = testutil::readBytes(path);
    QStringList l = win1252::decode(bytes).split("\r\n");
    if (!l.isEmpty() && l.last().isEmpty()) l.removeLast();
    return l;
}

int indexStarting(const QStringList &lines, const QString &start, int from = 0) {
    for (int i = from; i < lines.size(); ++i)
        if (lines[i].startsWith(start)) return i;
    return -1;
}

} // namespace

TEST(BrowserChart, MonthWithMissingWeeksBecomesThePage) {
    Month m;
    ui::RecordingServices rec;
    ASSERT_TRUE(LiniendiagrammimBrowseranzeigen(m.in, rec));
    EXPECT_TRUE(rec.shown.isEmpty()) << rec.texts().join("\n").toStdString();
    EXPECT_EQ(rec.opened, QStringList({m.page()}));

    const QByteArray bytes = testutil::readBytes(m.page());
    EXPECT_TRUE(bytes.contains("<br><h1>Die t\xE4glichen Messwerte werden hier als Mittelwerte "
                               "dargestellt. </h1>\r\n"));
    EXPECT_EQ(bytes.count("\n"), bytes.count("\r\n"));
    const QStringList L = readPage(m.page());
    ASSERT_GT(L.size(), 100);
    EXPECT_TRUE(L[0].startsWith("<!doctype html><html><head><style>h0{font-family: Verdana;"));
    EXPECT_TRUE(L[0].contains("<title>Glykovalinmesswerte</title><script "
                              "src=\"Chart.min.js\"></script>"));
    EXPECT_TRUE(L[0].contains("<meta charset=\"windows-1252\">"));
    EXPECT_EQ(L[4], "</style></head><body><center>");
    EXPECT_EQ(L[5], "<h0><b>Glykovalin-Werte von Anna &lt;b&gt;&amp; &quot;Bo&quot; im März "
                    "2021</b></h0>");
    EXPECT_EQ(L[7], "<center><h2>[Es fehlen Daten der Tagesgruppe:   8-14 , 22-28");
    EXPECT_EQ(L[8], "]</h2></center><br>");
    EXPECT_EQ(L[9], "<div class=\"container\">"
                    "<div class=\"chart-container\"><canvas id=\"diagramm1\"></canvas></div>"
                    "<div class=\"chart-container\"><canvas id=\"diagramm3\"></canvas></div>"
                    "<div class=\"chart-container\"><canvas id=\"diagramm5\"></canvas></div>");
    EXPECT_EQ(L[10], "</div><script>");
    EXPECT_EQ(L[14], "var fadeIn = function(ctx, obj, x, y, black, step) { var ctx = "
                     "modifyCtx(ctx); var alpha = 0; ctx.fillStyle =   '#C00000';   "
                     "ctx.fillText(obj, x, y);};  ");
    // Eleven numbers never labelled: limits and the axis top, which all weeks
    // share: the month's largest mean 181 is above the high limit 180 and
    // gives 250.
    EXPECT_TRUE(L[15].contains(
        "var textY = (model.y > topThreshold) ? model.y - 3 : model.y + 20;  "
        "if (dataset.data[i]==70) { }else if (dataset.data[i]==71) { }else "
        "if (dataset.data[i]==179) { }else if (dataset.data[i]==180) { }else "
        "if (dataset.data[i]==250) { }else if (dataset.data[i]==250) { }else "
        "if (dataset.data[i]==140) { }else if (dataset.data[i]==250) { }else "
        "if (dataset.data[i]==250) { }else if (dataset.data[i]==250) { }else "
        "if (dataset.data[i]==250) { }else {fadeIn(ctx, dataset.data[i], model.x, textY, "
        "model.y > topThreshold, step); } } });};  "));

    // Chart block 1.
    const int b1 = indexStarting(L, "function createConfig(colorName)");
    ASSERT_EQ(b1, 16);
    EXPECT_EQ(L[b1], "function createConfig(colorName) {return {type:'line',\tdata: { ");
    EXPECT_EQ(L[b1 + 1], "labels: ['Mo.01.03.21' ,'Di.02.03.21' ,'Mi.03.03.21' ,'Do.04.03.21' "
                         ",'Fr.05.03.21' ,'Sa.06.03.21' ,'So.07.03.21' ,], ");
    EXPECT_EQ(L[b1 + 2], "datasets: [{label: 'Glykovalin-Wert',");
    EXPECT_EQ(L[b1 + 3], "backgroundColor: '#0000FF',borderColor: '#0080FF',borderWidth: 3,fill: "
                         "false,  pointBackgroundColor: '#0080FF',  pointBorderColor: '#0080FF', ");
    EXPECT_EQ(L[b1 + 4], "data: [NaN,120,NaN,NaN,95,NaN,NaN] , }, ");
    const QStringList bands = L.mid(b1 + 5, 18);
    EXPECT_EQ(bands[0], "{label: 'Schlecht',");
    EXPECT_EQ(bands[1], "backgroundColor: '#E42625',borderColor: '', borderWidth : 1,fill: "
                        "true,pointRadius: 0.1, pointHoverRadius: 0.1, ");
    EXPECT_EQ(bands[2], "data: [70,70,70,70,70,70,70] , }, ");
    EXPECT_EQ(bands[5], "data: [140,140,140,140,140,140,140] , }, ");
    EXPECT_EQ(bands[7], "backgroundColor: '#25E432',borderColor: '', borderWidth : 1,fill: "
                        "false,pointRadius: 0.1, pointHoverRadius: 0.1, ");
    EXPECT_EQ(bands[8], "data: [71,71,71,71,71,71,71] , }, ");
    EXPECT_EQ(bands[9], "{label: 'Geht so',");
    EXPECT_EQ(bands[10].left(27), "backgroundColor: '#EDED20',");
    EXPECT_EQ(bands[11], "data: [179,179,179,179,179,179,179] , }, ");
    EXPECT_EQ(bands[17], "data: [250,250,250,250,250,250,250] , } ]}, ");
    EXPECT_TRUE(L[b1 + 23].startsWith("options: {aspectRatio:1.5 ,"));
    EXPECT_EQ(L[b1 + 24], "{display: true, fontSize : 16,text: 'Die erste Woche'}, ");
    EXPECT_EQ(L[b1 + 25], "hover:{animationDuration: 1},");
    EXPECT_TRUE(L[b1 + 26].startsWith("animation:{duration:1, onComplete:"));
    EXPECT_EQ(L[b1 + 29], "scales: {xAxes: [{display: true,scaleLabel: {\tdisplay: "
                          "true,labelString: '     '}\t}],yAxes: [{ticks: {max:250, "
                          "min:0},display: true,scaleLabel: {display: true,labelString: "
                          "'mg/dl'},}]}}};}   ");

    // Empty weeks still get their blocks, with the same axis.
    const int b2 = indexStarting(L, "function createConfig2(colorName)");
    ASSERT_GT(b2, b1);
    EXPECT_EQ(L[b2 + 4], "data: [NaN,NaN,NaN,NaN,NaN,NaN,NaN] , }, ");
    EXPECT_TRUE(L[b2 + 29].contains("ticks: {max:250, min:0}"));
    EXPECT_GT(indexStarting(L, "function createConfig4(colorName)"), b2);
    const int b5 = indexStarting(L, "function createConfig5(colorName)");
    ASSERT_GT(b5, 0);
    EXPECT_EQ(L[b5 + 1], "labels: ['Mo.29.03.21' ,'Di.30.03.21' ,'Mi.31.03.21' ,], ");
    EXPECT_EQ(L[b5 + 4], "data: [NaN,181,NaN,NaN,NaN,NaN,NaN,NaN,NaN,NaN,NaN,NaN,NaN,NaN] , }, ");
    EXPECT_EQ(L[b5 + 24], "{display: true, fontSize : 16,text: 'Rest des Monats'}, ");
    EXPECT_TRUE(L[b5 + 29].contains("ticks: {max:250, min:0}"));

    const int ps = b5 + 30;
    EXPECT_EQ(L[ps], "function createPointStyleConfig(colorName) {var config = "
                     "createConfig(colorName);config.options.legend.labels.usePointStyle = "
                     "true;return config;}");
    EXPECT_TRUE(L[ps + 4].contains("createConfig5(colorName)"));
    EXPECT_EQ(L[ps + 5], "window.onload = function() {[{id: 'diagramm1',config: "
                         "createConfig()},{id: 'diagramm3',config: createConfig3()},{id: "
                         "'diagramm5',config: createConfig5()},].forEach(function(details) {var "
                         "ctx = document.getElementById(details.id).getContext('2d');new "
                         "Chart(ctx, details.config);");
    EXPECT_EQ(L[ps + 6], "});};</script></body></html>");
    EXPECT_EQ(L.size(), ps + 7);

    // The chart script lies beside the page.
    EXPECT_EQ(testutil::readBytes(m.in.browserFolder + "2021/Chart.min.js"), "/* chart */");
}

TEST(BrowserChart, MonthLengthsFullWeeksAndPlainSettings) {
    Month m;
    ui::RecordingServices rec;
    // Every group has data: no notice lines.
    QStringList means(31, "100");
    m.in.dayMeans = means;
    m.in.showValues = false;
    m.in.penWidthText = "";
    writeSettings(m.in.settingsPath, "180", "140", "70", "0");
    QStringList L = browserchart::pageLines(m.in, browserchart::readSettings(m.in.settingsPath));
    EXPECT_EQ(indexStarting(L, "<center><h2>"), -1);
    QString all = "<div class=\"container\">";
    for (int g = 1; g <= 5; ++g)
        all += QString("<div class=\"chart-container\"><canvas id=\"diagramm%1\"></canvas></div>")
                   .arg(g);
    EXPECT_EQ(L[7], all);
    // Without the show-values flag: no animation line, but the same fixed y
    // range in every week (the high limit 180 is above every mean); an empty
    // pen width is written as 2.
    EXPECT_EQ(indexStarting(L, "animation:"), -1);
    EXPECT_EQ(L.join("\n").count("ticks: {max:250, min:0}"), 5);
    const int b1 = indexStarting(L, "function createConfig(colorName)");
    EXPECT_TRUE(L[b1 + 3].contains("',borderWidth: 2,fill: false,"));
    EXPECT_EQ(L[b1 + 28], "scales: {xAxes: [{display: true,scaleLabel: {\tdisplay: "
                          "true,labelString: '     '}\t}],yAxes: [{ticks: {max:250, "
                          "min:0},display: true,scaleLabel: {display: true,labelString: "
                          "'mg/dl'},}]}}};}   ");
    // A month whose largest mean is far above the limit sets the axis for all.
    m.in.dayMeans[20] = "420";
    L = browserchart::pageLines(m.in, browserchart::readSettings(m.in.settingsPath));
    EXPECT_EQ(L.join("\n").count("ticks: {max:450, min:0}"), 5);
    EXPECT_TRUE(L.join("\n").contains("data: [450,450,450,450,450,450,450] , } ]}, "));
    m.in.penWidthText = "breit";
    L = browserchart::pageLines(m.in, {});
    EXPECT_TRUE(L[b1 + 3].contains("',borderWidth: 2,fill: false,"));

    // Without break at zero the zeros stay.
    means = QStringList(31, "0");
    means[1] = "120";
    means[4] = "95";
    m.in.dayMeans = means;
    L = browserchart::pageLines(m.in, browserchart::readSettings(m.in.settingsPath));
    EXPECT_EQ(L[indexStarting(L, "function createConfig(colorName)") + 4],
              "data: [0,120,0,0,95,0,0] , }, ");

    // A 30-day month: group 5 labels two days and "-".
    m.in.entryMonth = "04";
    L = browserchart::pageLines(m.in, {});
    int b5 = indexStarting(L, "function createConfig5(colorName)");
    EXPECT_EQ(L[b5 + 1], "labels: ['Do.29.04.21' ,'Fr.30.04.21' ,'-' ,], ");
    EXPECT_TRUE(L[indexStarting(L, "<center><h2>")].endsWith(" , 29-31"));

    // February of a non-leap year: no labels line in block 5, group 5 never
    // named in the notice.
    m.in.entryMonth = "02";
    L = browserchart::pageLines(m.in, {});
    b5 = indexStarting(L, "function createConfig5(colorName)");
    EXPECT_EQ(L[b5 + 1], "datasets: [{label: 'Glykovalin-Wert',");
    EXPECT_EQ(L[indexStarting(L, "<center><h2>")],
              "<center><h2>[Es fehlen Daten der Tagesgruppe:   8-14 , 15-21 , 22-28");
    // A leap February labels day 29 and two "-".
    m.in.entryYear = "2024";
    L = browserchart::pageLines(m.in, {});
    b5 = indexStarting(L, "function createConfig5(colorName)");
    EXPECT_EQ(L[b5 + 1], "labels: ['Do.29.02.24' ,'-' ,'-' ,], ");

    // Group 1 empty too: the notice starts with its text.
    m.in.dayMeans = QStringList(31, "0");
    L = browserchart::pageLines(m.in, {});
    EXPECT_EQ(L[indexStarting(L, "<center><h2>")],
              "<center><h2>[Es fehlen Daten der Tagesgruppe: 1-7 , 8-14 , 15-21 , 22-28 , 29-31");
    EXPECT_TRUE(L[indexStarting(L, "window.onload")].startsWith("window.onload = function() "
                                                                "{[].forEach("));

    // Foreign text in the means never reaches the script.
    means[2] = "1]});alert(1);//";
    m.in.dayMeans = means;
    L = browserchart::pageLines(m.in, {});
    EXPECT_FALSE(L.join("").contains("alert"));
}

TEST(BrowserChart, HelpersFollowTheirRules) {
    using namespace browserchart;
    EXPECT_EQ(axisTop(0), 50);
    EXPECT_EQ(axisTop(149), 150);
    EXPECT_EQ(axisTop(150), 250);
    EXPECT_EQ(axisTop(250), 250);
    EXPECT_EQ(axisTop(251), 350);
    EXPECT_EQ(axisTop(350), 450);
    EXPECT_EQ(axisTop(50), 50);

    EXPECT_EQ(breakAtZero("data: [0,120,0,0,95,0,0] , }, "),
              "data: [NaN,120,NaN,NaN,95,NaN,NaN] , }, ");
    EXPECT_EQ(breakAtZero("data: [0,0,0] , }, "), "data: [NaN,NaN,NaN] , }, ");
    EXPECT_EQ(breakAtZero("data: [10,100,0] , }, "), "data: [10,100,NaN] , }, ");

    EXPECT_EQ(fileName("/x/Glykovalin-Daten/2024/MM032024.tab"), "MM032024.html");
    EXPECT_EQ(fileName("C:\\Daten\\MM032024.TAB"), "MM032024.html");
    EXPECT_EQ(fileName("/x.tables/MM.tab"), "MM.html");

    EXPECT_EQ(daysInMonth(2, 2023), 28);
    EXPECT_EQ(daysInMonth(2, 2024), 29);
    EXPECT_EQ(daysInMonth(2, 1900), 28);
    EXPECT_EQ(daysInMonth(2, 2000), 29);
    EXPECT_EQ(daysInMonth(7, 2021), 31);
    EXPECT_EQ(daysInMonth(8, 2021), 31);
    EXPECT_EQ(daysInMonth(9, 2021), 30);
    EXPECT_EQ(daysInMonth(12, 2021), 31);

    // German abbreviations whatever the locale.
    const QLocale old;
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    EXPECT_EQ(dayLabel(1, 3, 2021), "Mo.01.03.21");
    QStringList week;
    for (int d = 7; d <= 13; ++d)
        week << weekdayAbbreviation(QDate(2021, 3, d));
    EXPECT_EQ(week, QStringList({"So.", "Mo.", "Di.", "Mi.", "Do.", "Fr.", "Sa."}));
    QLocale::setDefault(old);

    EXPECT_EQ(htmlText("a<b>&'\"ä€"), "a&lt;b&gt;&amp;&#39;&quot;ä€");
    EXPECT_EQ(htmlText(QString::fromUtf8("中")), "&#20013;");
    EXPECT_EQ(jsText("Mo.'</script>"), "Mo.\\u0027\\u003c/script\\u003e");
}

TEST(BrowserChart, MessagesAndFiles) {
    // No month drawn yet: the message, nothing written.
    {
        Month m;
        ui::RecordingServices rec;
        m.in.entryMonth.clear();
        EXPECT_FALSE(LiniendiagrammimBrowseranzeigen(m.in, rec));
        EXPECT_EQ(rec.texts(), QStringList({"Es wurden noch keine Daten eingegeben!"}));
        EXPECT_FALSE(QDir(m.in.browserFolder).exists());
        EXPECT_TRUE(rec.opened.isEmpty());
    }
    // A limit that is no number: the conversion message, nothing written.
    {
        Month m;
        ui::RecordingServices rec;
        writeSettings(m.in.settingsPath, "hoch");
        EXPECT_FALSE(LiniendiagrammimBrowseranzeigen(m.in, rec));
        ASSERT_EQ(rec.shown.size(), 1);
        EXPECT_TRUE(rec.shown[0].text.contains("hoch"));
        EXPECT_FALSE(QDir(m.in.browserFolder).exists());
        QString error;
        EXPECT_TRUE(writeBrowserChart(m.in, &error).isEmpty());
        EXPECT_TRUE(error.contains("hoch"));
    }
    // Chart script missing: the message, the page is still written and opened.
    {
        Month m;
        ui::RecordingServices rec;
        QFile::remove(m.tmp.path() + "scripts/Chart.min.js");
        EXPECT_TRUE(LiniendiagrammimBrowseranzeigen(m.in, rec));
        EXPECT_EQ(rec.texts(),
                  QStringList({"Datei \"" + m.tmp.path() +
                               "scripts/Chart.min.js\" konnte nicht in den Ordner \"" +
                               m.in.browserFolder + m.in.entryYear + "\" kopiert werden! "}));
        EXPECT_EQ(rec.opened, QStringList({m.page()}));
    }
    // The shell cannot open the page: a warning says where it is.
    {
        Month m;
        ui::RecordingServices rec;
        rec.shellResult = false;
        EXPECT_FALSE(LiniendiagrammimBrowseranzeigen(m.in, rec));
        EXPECT_TRUE(QFile::exists(m.page()));
        ASSERT_EQ(rec.shown.size(), 1);
        EXPECT_EQ(rec.shown[0].kind, ui::Kind::Warning);
        EXPECT_EQ(rec.shown[0].text, "Die Seite mit dem Liniendiagramm konnte nicht im Browser "
                                     "geöffnet werden. Sie ist gespeichert unter:\n" +
                                         m.page());
    }
    // An existing chart script stays untouched, an existing page is replaced.
    {
        Month m;
        ui::RecordingServices rec;
        QDir().mkpath(m.in.browserFolder + "2021");
        testutil::writeBytes(m.in.browserFolder + "2021/Chart.min.js", "eigene");
        testutil::writeBytes(m.page(), "alt");
        QString error;
        QStringList notices;
        EXPECT_EQ(writeBrowserChart(m.in, &error, &notices), m.page());
        EXPECT_TRUE(notices.isEmpty());
        EXPECT_EQ(testutil::readBytes(m.in.browserFolder + "2021/Chart.min.js"), "eigene");
        EXPECT_TRUE(testutil::readBytes(m.page()).startsWith("<!doctype html>"));
    }
    // The year folder cannot be created (a file stands in the way): both
    // messages, nothing opened.
    {
        Month m;
        ui::RecordingServices rec;
        testutil::writeBytes(m.tmp.file("blockiert"), "x");
        m.in.browserFolder = m.tmp.path() + "blockiert/";
        EXPECT_FALSE(LiniendiagrammimBrowseranzeigen(m.in, rec));
        const QString folder = m.in.browserFolder + "2021";
        EXPECT_EQ(rec.texts(),
                  QStringList({"Ordner \"" + folder + "\" konnte nicht erstellt werden! ",
                               "Die Datei \"" + folder +
                                   "/AB032021.html\" konnte nicht gespeichert werden. Der Ordner "
                                   "der Datei existiert nicht."}));
        EXPECT_TRUE(rec.opened.isEmpty());
    }
    // A month text that is no month gets a message instead of a page.
    {
        Month m;
        ui::RecordingServices rec;
        m.in.entryYear = "../..";
        EXPECT_FALSE(LiniendiagrammimBrowseranzeigen(m.in, rec));
        ASSERT_EQ(rec.shown.size(), 1);
        EXPECT_TRUE(rec.shown[0].text.contains("ungültig"));
        EXPECT_FALSE(QDir(m.in.browserFolder).exists());
    }
}

// In mmol/l the curve, the bands and the axis are in mmol/l (a point before
// the decimal for the script, a comma where the page shows a value).
TEST(BrowserChart, ValuesBandsAndAxisInMmol) {
    Month m;
    m.in.unit = GlucoseUnit::MmolL;
    const QStringList L =
        browserchart::pageLines(m.in, browserchart::readSettings(m.in.settingsPath));
    const int b1 = indexStarting(L, "function createConfig(colorName)");
    EXPECT_EQ(L[b1 + 4], "data: [NaN,6.7,NaN,NaN,5.3,NaN,NaN] , }, ");
    // Low 70, critical 140, high 180: 3,9 / 7,8 / 10,0 mmol/l; the top of
    // 250 mg/dl becomes 14.
    for (const char *band : {"data: [7.8,7.8,7.8,7.8,7.8,7.8,7.8] , }, ",
                             "data: [10.0,10.0,10.0,10.0,10.0,10.0,10.0] , }, ",
                             "data: [14,14,14,14,14,14,14] , } ]}, "})
        EXPECT_EQ(L.count(band), 5) << band;
    // The low limit and the thin line 1 mg/dl above it are both 3,9.
    EXPECT_EQ(L.count("data: [3.9,3.9,3.9,3.9,3.9,3.9,3.9] , }, "), 10);
    const QString all = L.join('\n');
    EXPECT_EQ(all.count("yAxes: [{ticks: {callback: function(v) {return String(v).replace('.', "
                        "',');}, max:14, min:0},display: true,scaleLabel: {display: "
                        "true,labelString: 'mmol/l'}"),
              5);
    EXPECT_FALSE(all.contains("mg/dl"));
    EXPECT_TRUE(all.contains("if (dataset.data[i]==3.9) { }else "));
    EXPECT_EQ(all.count("callbacks: {label: function(item) {return 'Glykovalin-Wert: ' + "
                        "String(item.yLabel).replace('.', ',') + ' mmol/l';}}"),
              5);
}

// Renders the page in headless Chromium with the real chart script; skipped
// where either is missing.
namespace {

QString chromium() {
    return QStandardPaths::findExecutable("chromium");
}

// The delivered copy beside the test program, or one named by GLYKO_CHART_JS.
QString chartScript() {
    QString script = qEnvironmentVariable("GLYKO_CHART_JS");
    if (script.isEmpty()) script = QCoreApplication::applicationDirPath() + "/scripts/Chart.min.js";
    return QFile::exists(script) && QFileInfo(script).size() >= 10000 ? script : QString();
}

// The document after the page's scripts ran in headless Chromium.
QString renderedDom(const QString &page) {
    QProcess p;
    p.start(chromium(),
            {"--headless", "--no-sandbox", "--disable-gpu", "--virtual-time-budget=5000",
             "--dump-dom", QUrl::fromLocalFile(page).toString()});
    EXPECT_TRUE(p.waitForFinished(120000));
    return QString::fromUtf8(p.readAllStandardOutput());
}

// The real chart script in the month's "scripts" folder.
void useScript(const Month &m, const QString &script) {
    QFile::remove(m.tmp.path() + "scripts/Chart.min.js");
    QFile::copy(script, m.tmp.path() + "scripts/Chart.min.js");
}

// What a probe finds in a copy of the page once Chart.js has drawn: `body`
// is the body of a JavaScript function whose result is written into the page.
QString probe(const QString &page, const QByteArray &body) {
    QByteArray html = testutil::readBytes(page);
    EXPECT_TRUE(html.contains("</body>"));
    html.replace("</body>", "<script>window.addEventListener('load', function() { "
                            "setTimeout(function() { var pre = document.createElement('pre'); "
                            "pre.id = 'probe'; pre.textContent = (function() {" +
                                body +
                                "})(); document.body.appendChild(pre); }, 0); });</script></body>");
    const QString probed = QFileInfo(page).path() + "/probe.html";
    testutil::writeBytes(probed, html);
    const QString dom = renderedDom(probed);
    const auto match = QRegularExpression("<pre id=\"probe\">([^<]*)</pre>").match(dom);
    EXPECT_TRUE(match.hasMatch()) << dom.left(3000).toStdString();
    return match.captured(1);
}

} // namespace

TEST(BrowserChart, ChartsRenderInChromium) {
    const QString script = chartScript();
    if (chromium().isEmpty() || script.isEmpty())
        GTEST_SKIP() << "chromium or Chart.min.js not available";
    Month m;
    useScript(m, script);
    QString error;
    const QString page = writeBrowserChart(m.in, &error);
    ASSERT_FALSE(page.isEmpty()) << error.toStdString();
    const QString dom = renderedDom(page);
    // Chart.js marks every canvas it drew into.
    EXPECT_EQ(dom.count("class=\"chartjs-render-monitor\""), 3) << dom.left(2000).toStdString();
    EXPECT_TRUE(dom.contains("Glykovalin-Werte von Anna &lt;b&gt;&amp; \"Bo\" im März 2021"));
}

// In mmol/l Chart.js takes the page: its y axis runs to 14 mmol/l in round
// steps, and a tooltip names the unit.
TEST(BrowserChart, MmolChartsRenderInChromium) {
    const QString script = chartScript();
    if (chromium().isEmpty() || script.isEmpty())
        GTEST_SKIP() << "chromium or Chart.min.js not available";
    Month m;
    m.in.unit = GlucoseUnit::MmolL;
    useScript(m, script);
    QString error;
    const QString page = writeBrowserChart(m.in, &error);
    ASSERT_FALSE(page.isEmpty()) << error.toStdString();
    const QStringList parts =
        probe(page, "var c = Chart.instances[Object.keys(Chart.instances)[0]];"
                    "var y = c.scales['y-axis-0']; return y.max + '|' + y.ticks.join(' ') + '|' + "
                    "c.options.tooltips.callbacks.label({yLabel: c.data.datasets[0].data[1]});")
            .split('|');
    ASSERT_EQ(parts.size(), 3);
    EXPECT_EQ(parts[0], "14");
    EXPECT_EQ(parts[1], "14 12 10 8 6 4 2 0");
    EXPECT_EQ(parts[2], "Glykovalin-Wert: 6,7 mmol/l");
}

// With the delivered settings, a day without readings (and day 31 of a
// 30-day month) is a gap in the curve, not a point at 0 mg/dl, and all weeks
// share one y axis. A probe added to a copy of the page reads what Chart.js drew.
TEST(BrowserChart, DeliveredSettingsLeaveGapsAndOneAxisInChromium) {
    const QString script = chartScript();
    const QString delivered = QCoreApplication::applicationDirPath() + "/glykoval.ini";
    if (chromium().isEmpty() || script.isEmpty() || !QFile::exists(delivered))
        GTEST_SKIP() << "chromium, Chart.min.js or the delivered glykoval.ini not available";
    Month m;
    useScript(m, script);
    QFile::remove(m.in.settingsPath);
    ASSERT_TRUE(QFile::copy(delivered, m.in.settingsPath));
    // April 2021 has 30 days; readings on days 2, 5, 15, 17 and 29.
    m.in.entryMonth = "04";
    m.in.entryMonthName = "April";
    m.in.dayMeans = QStringList(31, "0");
    for (const auto &[day, mean] :
         {std::pair{2, "120"}, {5, "95"}, {15, "150"}, {17, "80"}, {29, "181"}})
        m.in.dayMeans[day - 1] = mean;
    QString error;
    const QString page = writeBrowserChart(m.in, &error);
    ASSERT_FALSE(page.isEmpty()) << error.toStdString();

    const QString found =
        probe(page, "var out = [];"
                    "Object.keys(Chart.instances).forEach(function(k) { var c = Chart.instances[k];"
                    "var y = c.scales['y-axis-0']; var skips = c.getDatasetMeta(0).data.map("
                    "function(p) { return p._model.skip ? 'L' : 'P'; }).join('');"
                    "out.push(c.canvas.id + ':' + y.min + '-' + y.max + ':' + skips); });"
                    "out.sort(); return out.join(';');");
    // Per chart: canvas, y range, and per point P (drawn) or L (left out).
    // Week 1: only days 2 and 5 have points; week 5: day 29, then the gaps
    // of day 30 and of day 31, which April does not have. The high limit 180
    // and the mean 181 make one axis from 0 to 250 for every week.
    EXPECT_EQ(found, "diagramm1:0-250:LPLLPLL;"
                     "diagramm3:0-250:PLPLLLL;"
                     "diagramm5:0-250:PLLLLLLLLLLLLL");
}

// Hand-edited limits are taken as the graph takes them: clamped into the
// ranges the settings dialog keeps, never overflowing.
TEST(BrowserChart, HandEditedLimitsAreClampedLikeTheGraphs) {
    testutil::TempFolder tmp;
    const QString ini = tmp.file("glykoval.ini");
    testutil::writeBytes(ini, testutil::crlf({"[Einstellung]", "Hochwerte>=2147483648",
                                              "Kritischwerte>=5", "Tiefwerte<=-3"}));
    const BrowserChartSettings s = browserchart::readSettings(ini);
    EXPECT_EQ(s.highLimit, 250);
    EXPECT_EQ(s.criticalLimit, 120);
    EXPECT_EQ(s.lowLimit, 20);
}
