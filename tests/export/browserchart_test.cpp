#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QUrl>
#include <functional>
#include <gtest/gtest.h>

#include "export/browserchart.h"
#include "platform/ui.h"
#include "recordingservices.h"
#include "support/golden.h"
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

} // namespace

TEST(BrowserChart, MonthWithMissingWeeksBecomesThePageBesideTheChartScript) {
    Month m;
    ui::RecordingServices rec;
    ASSERT_TRUE(LiniendiagrammimBrowseranzeigen(m.in, rec));
    EXPECT_TRUE(rec.shown.isEmpty()) << rec.texts().join("\n").toStdString();
    EXPECT_EQ(rec.opened, QStringList({m.page()}));
    EXPECT_TRUE(golden::matches(testutil::readBytes(m.page()), "export/AB032021.html"));
    EXPECT_EQ(testutil::readBytes(m.in.browserFolder + "2021/Chart.min.js"), "/* chart */");
}

// The whole page for months of each length, with and without the groups'
// data, the settings' variants and mmol/l.
TEST(BrowserChart, PagesCompareWholeWithTheirGoldenFiles) {
    const auto noZeroBreak = [](Month &m) {
        writeSettings(m.in.settingsPath, "180", "140", "70", "0");
    };
    const auto fullWeeksPlain = [noZeroBreak](Month &m) {
        m.in.dayMeans = QStringList(31, "100");
        m.in.showValues = false;
        m.in.penWidthText = "";
        noZeroBreak(m);
    };
    const struct {
        const char *golden;
        std::function<void(Month &)> change;
    } cases[] = {
        {"full-weeks-plain.html", fullWeeksPlain},
        // The largest mean far above the limit sets the axis for all weeks.
        {"axis-450.html",
         [&](Month &m) {
             fullWeeksPlain(m);
             m.in.dayMeans[20] = "420";
             m.in.penWidthText = "breit";
         }},
        {"zeros-kept.html", noZeroBreak},
        {"april.html", [](Month &m) { m.in.entryMonth = "04"; }},
        // No data after day 5: group 5 is never named in February.
        {"february.html",
         [](Month &m) {
             m.in.entryMonth = "02";
             m.in.dayMeans = QStringList(31, "0");
             m.in.dayMeans[1] = "120";
             m.in.dayMeans[4] = "95";
         }},
        {"leap-february.html",
         [](Month &m) {
             m.in.entryMonth = "02";
             m.in.entryYear = "2024";
         }},
        {"no-data.html", [](Month &m) { m.in.dayMeans = QStringList(31, "0"); }},
        // Foreign text in the means never reaches the script.
        {"foreign-text.html", [](Month &m) { m.in.dayMeans[2] = "1]});alert(1);//"; }},
        {"mmol.html", [](Month &m) { m.in.unit = GlucoseUnit::MmolL; }},
    };
    for (const auto &c : cases) {
        Month m;
        c.change(m);
        QString error;
        const QString page = writeBrowserChart(m.in, &error);
        ASSERT_FALSE(page.isEmpty()) << error.toStdString();
        EXPECT_TRUE(golden::matches(testutil::readBytes(page), QString("export/") + c.golden));
    }
}

TEST(BrowserChart, HelpersFollowTheirRules) {
    using namespace browserchart;
    for (const auto &[maximum, top] :
         {std::pair{0, 50}, {50, 50}, {149, 150}, {150, 250}, {250, 250}, {251, 350}, {350, 450}})
        EXPECT_EQ(axisTop(maximum), top) << maximum;

    EXPECT_EQ(fileName("/x/Glykovalin-Daten/2024/MM032024.tab"), "MM032024.html");
    EXPECT_EQ(fileName("C:\\Daten\\MM032024.TAB"), "MM032024.html");
    EXPECT_EQ(fileName("/x.tables/MM.tab"), "MM.html");

    // The months the golden pages leave out: century years, July to December.
    EXPECT_EQ(daysInMonth(2, 1900), 28);
    EXPECT_EQ(daysInMonth(2, 2000), 29);
    EXPECT_EQ(daysInMonth(8, 2021), 31);
    EXPECT_EQ(daysInMonth(9, 2021), 30);

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

// What the command says, whether the page is written and opened.
TEST(BrowserChart, MessagesAndFiles) {
    const struct {
        const char *name;
        std::function<void(Month &, ui::RecordingServices &)> setup;
        bool ok, written, opened;
        // One message containing the text; or the messages, whole.
        const char *containing;
        std::function<QStringList(const Month &)> texts = {};
    } cases[] = {
        {"no month drawn yet", [](Month &m, auto &) { m.in.entryMonth.clear(); }, false, false,
         false, nullptr,
         [](const Month &) { return QStringList{"Es wurden noch keine Daten eingegeben!"}; }},
        {"limit that is no number",
         [](Month &m, auto &) { writeSettings(m.in.settingsPath, "hoch"); }, false, false, false,
         "hoch"},
        {"month text that is no month", [](Month &m, auto &) { m.in.entryYear = "../.."; }, false,
         false, false, "ungültig"},
        {"chart script missing",
         [](Month &m, auto &) { QFile::remove(m.tmp.path() + "scripts/Chart.min.js"); }, true, true,
         true, nullptr,
         [](const Month &m) {
             return QStringList{"Datei \"" + m.tmp.path() +
                                "scripts/Chart.min.js\" konnte nicht in den Ordner \"" +
                                m.in.browserFolder + "2021\" kopiert werden! "};
         }},
        {"shell cannot open the page", [](Month &, auto &rec) { rec.shellResult = false; }, false,
         true, true, nullptr,
         [](const Month &m) {
             return QStringList{"Die Seite mit dem Liniendiagramm konnte nicht im Browser "
                                "geöffnet werden. Sie ist gespeichert unter:\n" +
                                m.page()};
         }},
        // An existing chart script stays untouched, an existing page is replaced.
        {"page and script there before",
         [](Month &m, auto &) {
             QDir().mkpath(m.in.browserFolder + "2021");
             testutil::writeBytes(m.in.browserFolder + "2021/Chart.min.js", "eigene");
             testutil::writeBytes(m.page(), "alt");
         },
         true, true, true, nullptr, [](const Month &) { return QStringList(); }},
        {"year folder blocked by a file",
         [](Month &m, auto &) {
             testutil::writeBytes(m.tmp.file("blockiert"), "x");
             m.in.browserFolder = m.tmp.path() + "blockiert/";
         },
         false, false, false, nullptr,
         [](const Month &m) {
             const QString folder = m.in.browserFolder + "2021";
             return QStringList{"Ordner \"" + folder + "\" konnte nicht erstellt werden! ",
                                "Die Datei \"" + folder +
                                    "/AB032021.html\" konnte nicht gespeichert werden. Der Ordner "
                                    "der Datei existiert nicht."};
         }},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        Month m;
        ui::RecordingServices rec;
        c.setup(m, rec);
        EXPECT_EQ(LiniendiagrammimBrowseranzeigen(m.in, rec), c.ok);
        if (c.texts) {
            EXPECT_EQ(rec.texts(), c.texts(m));
        }
        if (c.containing) {
            ASSERT_EQ(rec.shown.size(), 1);
            EXPECT_TRUE(rec.shown[0].text.contains(QString::fromUtf8(c.containing)));
        }
        EXPECT_EQ(testutil::readBytes(m.page()).startsWith("<!doctype html>"), c.written);
        EXPECT_EQ(rec.opened, c.opened ? QStringList{m.page()} : QStringList());
    }
    // The shell's failure is a warning; a file beside the page stays as it was.
    Month m;
    ui::RecordingServices rec;
    rec.shellResult = false;
    QDir().mkpath(m.in.browserFolder + "2021");
    testutil::writeBytes(m.in.browserFolder + "2021/Chart.min.js", "eigene");
    LiniendiagrammimBrowseranzeigen(m.in, rec);
    ASSERT_EQ(rec.shown.size(), 1);
    EXPECT_EQ(rec.shown[0].kind, ui::Kind::Warning);
    EXPECT_EQ(testutil::readBytes(m.in.browserFolder + "2021/Chart.min.js"), "eigene");
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
    if (script.isEmpty()) script = testutil::beside("scripts/Chart.min.js");
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
    const QString delivered = testutil::beside("glykoval.ini");
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
