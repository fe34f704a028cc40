#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFontMetrics>
#include <QLabel>
#include <QScrollArea>
#include <QScrollBar>
#include <QTextStream>

#include "graph/geometry.h"
#include "graph/graphcli.h"
#include "graph/monthgraph.h"
#include "storage/monthvalues.h"
#include "graph/templatepicture.h"
#include "platform/colorref.h"
#include "platform/convert.h"
#include "platform/picturebox.h"
#include "platform/profile.h"
#include "platform/ui.h"
#include "recordingservices.h"
#include "testutil.h"

namespace {

using graphgeo::SlotX;
using graphgeo::valueY;
using MS = MeasurementSlot;

const quint32 kHigh = 0x0000FF;     // red
const quint32 kCritical = 0x0080FF; // orange
const quint32 kLow = 0xFF0000;      // blue
const quint32 kCurve = 0x800000;    // navy

QString line(MS s, int day, int value, const QString &month = "03") {
    return entryline::format(s, QStringLiteral("%1").arg(day, 2, 10, QChar(u'0')), month, "2024",
                             "07:30", QString::number(value));
}

QStringList header(bool eight = false) {
    return {"[Personendaten]",
            "BenutzerName=Max Muster",
            "Datum=März 2024",
            "",
            eight ? "BisZu8MessungenJeTag=1" : "BisZu4MessungenJeTag=1",
            "",
            ""};
}

// A folder with settings and template, the graph on stand-alone widgets.
struct Bench {
    testutil::TempFolder dir;
    ui::RecordingServices rec;
    std::unique_ptr<MonthModel> session;
    PictureBox image, legend, meanImage;
    QLabel title, status;
    std::unique_ptr<TMonthGraph> graph;
    MonthResult result; // of the last draw()
    QString oldCwd = QDir::currentPath();

    explicit Bench(MeasureMode mode = MeasureMode::Four) {
        QDir::setCurrent(dir.path());
        testutil::writeBytes(
            dir.file("glykoval.ini"),
            testutil::crlf({"[Einstellung]", "Hochwerte>=250", "Kritischwerte>=160",
                            "Tiefwerte<=70", QStringLiteral("FarbeHochwerte=%1").arg(kHigh),
                            QStringLiteral("FarbeKritischwerte=%1").arg(kCritical),
                            QStringLiteral("FarbeTiefwerte=%1").arg(kLow), "StiftBreite=2",
                            "Messung4UhrzeitMorgens=07:00", "FensterBreite=800",
                            QStringLiteral("KurvenFarbe=%1").arg(kCurve),
                            QStringLiteral("MittelKurvenFarbe=%1").arg(0x008000)}));
        templatepicture::graphTemplate(mode).save(dir.file("Grafik.bmp"), "BMP");
        session = std::make_unique<MonthModel>(Folders::at(dir.path()));
        session->setModeTicks(mode == MeasureMode::Four, mode == MeasureMode::Eight);
        legend.setPicture(templatepicture::legend());
        legend.move(0, 41);
        GraphWidgets w;
        w.image = &image;
        w.legend = &legend;
        w.meanImage = &meanImage;
        w.title = &title;
        w.status = &status;
        w.windowWidth = 800;
        graph = std::make_unique<TMonthGraph>(w, *session, rec);
        graph->setTemplatePath(dir.file("Grafik.bmp"));
    }
    // A drawing pass; true when it ran to its end.
    bool draw(const QString &path, const DrawOptions &options = {}) {
        result = graph->GrafikZeichnen(path, options);
        return result.complete;
    }
    ~Bench() { QDir::setCurrent(oldCwd); }

    QString table(const QStringList &entries, bool eight = false) {
        const QString path = dir.file("MM032024.tab");
        testutil::writeBytes(path, testutil::crlf(header(eight) + entries));
        return path;
    }
    QColor at(int x, int y) const { return image.picture().pixelColor(x, y); }
};

QColor c(quint32 ref) {
    return colorref::toColor(ref);
}
const QColor kGreen(0, 255, 0);

bool arialHasText() {
    QFont f("Arial");
    f.setPointSize(10);
    return QFontMetrics(f).inFont(QChar(u'K'));
}

int redPixels(const QImage &img, QRect r) {
    int n = 0;
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            if (img.pixelColor(x, y) == QColor(255, 0, 0)) ++n;
    return n;
}

} // namespace

TEST(GraphGeometry, RowsColumnsAndReadout) {
    EXPECT_EQ(graphgeo::DayX(1), 45);
    EXPECT_EQ(graphgeo::DayX(31), 1485);
    EXPECT_EQ(SlotX(31, MS::Abends, MeasureMode::Eight), 1524);
    EXPECT_EQ(SlotX(1, MS::Morgens, MeasureMode::Eight), 42);
    EXPECT_EQ(SlotX(2, MS::Messung3, MeasureMode::Four), 93 + 24);
    EXPECT_EQ(SlotX(2, MS::Abends, MeasureMode::Four), 93 + 36);
    EXPECT_EQ(valueY(0), 411);
    EXPECT_EQ(valueY(100), 341);
    EXPECT_EQ(valueY(250), 236);
    EXPECT_EQ(valueY(500), 61);
    EXPECT_EQ(valueY(125), 323);
    EXPECT_EQ(valueY(126), 324);
    EXPECT_EQ(valueY(130), 320);
    // Last digits 1 … 9 lie 7, 6, 5, 4, 3, 4, 3, 2, 1 pixels below the row above.
    const int below[] = {7, 6, 5, 4, 3, 4, 3, 2, 1};
    for (int d = 1; d <= 9; ++d)
        EXPECT_EQ(valueY(120 + d), graphgeo::RowY(130) + below[d - 1]);
    EXPECT_EQ(valueY(1), 411);
    EXPECT_EQ(valueY(550), 61);
    EXPECT_EQ(graphgeo::limitRowY(0), 0);
    EXPECT_EQ(graphgeo::limitRowY(300), 300);
    EXPECT_EQ(graphgeo::limitRowY(160), 299);

    using graphgeo::readoutValueText;
    EXPECT_EQ(readoutValueText(110), "500");
    EXPECT_EQ(readoutValueText(111), "498");
    EXPECT_EQ(readoutValueText(460), "0");
    EXPECT_EQ(readoutValueText(455), "06");
    EXPECT_EQ(readoutValueText(109), "");
    EXPECT_EQ(readoutValueText(461), "");
    QStringList top, bottom;
    for (int y = 116; y >= 111; --y)
        top << readoutValueText(y);
    for (int y = 459; y >= 454; --y)
        bottom << readoutValueText(y);
    EXPECT_EQ(top, QStringList({"492", "494", "492", "494", "496", "498"}));
    EXPECT_EQ(bottom, QStringList({"02", "04", "02", "04", "06", "08"}));
}

TEST(MonthValues, DailyMeansRoundFromTheTwoDecimalText) {
    MonthValues v;
    v.clearValues();
    std::array<QString, 31> days;
    v.collect(line(MS::Morgens, 1, 100), "Zeile 1", &days);
    v.collect(line(MS::Abends, 1, 101), "Zeile 2", &days);
    EXPECT_EQ(v.MonthMean(), ""); // two readings: no monthly mean
    v.collect(line(MS::Morgens, 2, 100), "Zeile 3", &days);
    v.collect(line(MS::Messung2, 2, 100), "Zeile 4", &days);
    v.collect(line(MS::Messung3, 2, 101), "Zeile 5", &days);
    v.collect(line(MS::Morgens, 3, 99), "Zeile 6", &days);
    v.collect(line(MS::Abends, 3, 100), "Zeile 7", &days);
    v.collect(line(MS::Morgens, 4, 0), "Zeile 8", &days);
    v.GibDieTagesMittelwerte();
    EXPECT_EQ(v.DayMean(1), "101"); // 100,50
    EXPECT_EQ(v.DayMean(2), "100"); // 100,33
    EXPECT_EQ(v.DayMean(3), "100"); // 99,50 half up
    EXPECT_EQ(v.DayMean(4), "0");
    EXPECT_EQ(v.DayMean(5), "0");
    EXPECT_EQ(v.dayValues().first(), "01_100");
    EXPECT_EQ(days[0], line(MS::Morgens, 1, 100) + " -1 " + line(MS::Abends, 1, 101) + " -8 ");
    EXPECT_EQ(monthvalues::roundHalfUp("100,49"), 100);
    EXPECT_EQ(monthvalues::twoDecimals(100.5), "100,50");

    MonthValues m;
    m.clearValues();
    m.collect(line(MS::Morgens, 1, 120), "a");
    m.collect(line(MS::Morgens, 2, 130), "b");
    m.collect(line(MS::Morgens, 3, 0), "c");
    EXPECT_EQ(m.MonthMean(), "83,33"); // zeros count

    // A hand-edited file that scatters day 10: the last run alone decides.
    MonthValues s;
    s.collect(line(MS::Morgens, 10, 200), "a");
    s.collect(line(MS::Morgens, 1, 100), "b");
    s.collect(line(MS::Abends, 10, 80), "c");
    s.GibDieTagesMittelwerte();
    EXPECT_EQ(s.DayMean(10), "80");
    EXPECT_EQ(s.DayMean(1), "100");

    MonthValues bad;
    EXPECT_THROW(bad.collect("Morgens den    05.03.2024 Z=07:30  ZuckerWert=12a", "x"),
                 EConvertError);
    EXPECT_EQ(bad.valueCount(), 0);
}

TEST(MonthGraph, LimitLinesBandAndPointColours) {
    Bench b;
    ui::RecordingServices &rec = b.rec;
    const QString path = b.table({
        line(MS::Morgens, 1, 250), // on the high limit
        line(MS::Morgens, 2, 100), // between critical and low
        line(MS::Morgens, 3, 70),  // on the low limit
        line(MS::Morgens, 4, 180), // between high and critical
        line(MS::Messung2, 4, 0),  // drawn at the 180's height and colour
        line(MS::Messung5, 20, 300),
    });
    ASSERT_TRUE(b.draw(path)) << rec.texts().join("|").toStdString();
    EXPECT_TRUE(rec.shown.isEmpty());
    EXPECT_EQ(b.graph->HighLimitY(), 236);
    EXPECT_EQ(b.graph->CriticalLimitY(), 299);
    EXPECT_EQ(b.graph->LowLimitY(), 362);
    for (int x : {40, 700, 1526}) {
        EXPECT_EQ(b.at(x, 236), c(kHigh)) << x;
        EXPECT_EQ(b.at(x, 299), c(kCritical)) << x;
        EXPECT_EQ(b.at(x, 362), c(kLow)) << x;
    }
    EXPECT_NE(b.at(1527, 236), c(kHigh));
    EXPECT_NE(b.at(39, 299), c(kCritical));
    // The hatch lies between rows 300 and 362 only.
    auto greens = [&](int y) {
        int n = 0;
        for (int x = 600; x < 1400; ++x)
            n += b.at(x, y) == kGreen;
        return n;
    };
    for (int y = 301; y <= 360; ++y)
        EXPECT_GT(greens(y), 50) << y;
    for (int y : {290, 298, 299, 300, 362, 363, 380})
        EXPECT_EQ(greens(y), 0) << y;

    EXPECT_EQ(b.at(45, 236), c(kHigh));
    EXPECT_EQ(b.at(93, 341), kGreen);
    EXPECT_EQ(b.at(141, 362), c(kLow));
    EXPECT_EQ(b.at(189, 285), c(kCritical));
    EXPECT_EQ(b.at(201, 285), c(kCritical)); // the 0 reading
    // The four-slot table's Messung5 line is not drawn, but it counts.
    const int x5 = graphgeo::DayX(20) + 21;
    for (int y = 190; y < 215; ++y)
        EXPECT_NE(b.at(x5, y), c(kHigh)) << y;
    EXPECT_EQ(b.result.readingCount, 6);
    EXPECT_EQ(b.result.dayMeans[19], "300");
    // The curve connects consecutive readings.
    EXPECT_EQ(b.at(69, valueY(175)), c(kCurve));
    EXPECT_EQ(b.graph->TitleText(),
              QString::fromUtf8("Glykovalinmesswerte  März 2024  Max Muster"));
    EXPECT_EQ(b.result.monthMean, "150,00");
    EXPECT_EQ(b.graph->TimeStripText(), "    Uhrzeiten: M1= 07:00  M2=   M3=   M4= ");
    EXPECT_TRUE(b.graph->isShown());
    EXPECT_EQ(profile::read(b.dir.file("glykoval.ini"), "Einstellung", "BenutzerName"),
              "Max Muster");
}

TEST(MonthGraph, EightSlotDay31AndHints) {
    Bench b(MeasureMode::Eight);
    ASSERT_TRUE(b.draw(b.table({line(MS::Abends, 31, 100)}, true)));
    EXPECT_EQ(b.at(1524, 341), kGreen);
    if (arialHasText()) {
        EXPECT_GT(redPixels(b.image.picture(), QRect(64, 170, 400, 20)), 30);
        ASSERT_TRUE(b.draw(b.table({}, true)));
        EXPECT_GT(redPixels(b.image.picture(), QRect(64, 170, 400, 20)), 30);
        EXPECT_EQ(b.result.readingCount, 0);
    }
}

TEST(MonthGraph, MeanPassSkipsZeroDaysAndDrawsTheMeanLine) {
    Bench b;
    const QString path = b.table({
        line(MS::Morgens, 1, 100),
        line(MS::Messung2, 1, 0),
        line(MS::Abends, 1, 200),
        line(MS::Morgens, 2, 0),
        line(MS::Abends, 2, 0),
        line(MS::Morgens, 3, 120),
        line(MS::Abends, 3, 120),
    });
    DrawOptions mean;
    mean.meanPass = true;
    ASSERT_TRUE(b.draw(path, mean));
    const QStringList pts = b.graph->DayMeanPoints();
    ASSERT_EQ(pts.size(), 2);
    EXPECT_EQ(pts[0], QStringLiteral("%1 %2").arg(45 + 36).arg(valueY(150)));
    EXPECT_EQ(pts[1], QStringLiteral("%1 %2").arg(141 + 36).arg(valueY(120)));
    const int row = (valueY(150) + valueY(120)) / 2 + 1;
    EXPECT_EQ(b.at(100, row), QColor(0, 128, 0));
    EXPECT_EQ(b.graph->DayEndLines(), QList<int>({9, 11, 13}));
}

TEST(MonthGraph, ValueThatIsNoNumberStopsWithFileAndLine) {
    Bench b;
    ui::RecordingServices &rec = b.rec;
    const QString path =
        b.table({line(MS::Morgens, 1, 250), "Abends den     01.03.2024 Z=21:00  ZuckerWert=12a",
                 line(MS::Morgens, 2, 100)});
    int unreadable = 0;
    QObject::connect(b.graph.get(), &TMonthGraph::unreadableTable, [&] { ++unreadable; });
    EXPECT_FALSE(b.draw(path));
    ASSERT_EQ(rec.shown.size(), 1);
    EXPECT_TRUE(rec.shown[0].text.contains("12a"));
    EXPECT_TRUE(rec.shown[0].text.contains("Zeile 9"));
    EXPECT_TRUE(rec.shown[0].text.contains(path));
    EXPECT_EQ(b.at(45, 236), c(kHigh)); // what was drawn stays
    EXPECT_NE(b.at(93, 341), kGreen);
    EXPECT_FALSE(b.graph->isShown());

    rec.clear();
    EXPECT_FALSE(b.draw(b.dir.file("fehlt.tab")));
    ASSERT_EQ(rec.shown.size(), 1);
    EXPECT_EQ(rec.shown[0].text, "Fehler beim Lesen der Datei: " + b.dir.file("fehlt.tab"));
    EXPECT_EQ(unreadable, 1); // the window lets the user choose a table
}

TEST(MonthGraph, CliWritesTheGraphAndRefusesMissingTables) {
    Bench b;
    templatepicture::graphTemplate(MeasureMode::Four).save(b.dir.file("Grafik4.bmp"), "BMP");
    templatepicture::legend().save(b.dir.file("M_einheit.bmp"), "BMP");
    profile::write(b.dir.file("glykoval.ini"), "Einstellung", "Grafik4", "Grafik4.bmp");
    profile::write(b.dir.file("glykoval.ini"), "Einstellung", "KurvenFarbe",
                   QString::number(kCurve));
    const QString path = b.table({line(MS::Morgens, 2, 100), line(MS::Abends, 2, 250)});
    QString errText;
    QTextStream err(&errText);
    ASSERT_EQ(graphcli::run(path, b.dir.file("out.png"), err), 0) << errText.toStdString();
    QImage png(b.dir.file("out.png"));
    ASSERT_FALSE(png.isNull());
    EXPECT_EQ(png.size(), QSize(graphgeo::kPictureWidth, 27 + graphgeo::kPictureHeight));
    EXPECT_EQ(png.pixelColor(700, 27 + 236), c(kHigh));
    EXPECT_EQ(png.pixelColor(93, 27 + 341), kGreen);
    EXPECT_EQ(png.pixelColor(129, 27 + 236), c(kHigh));
    EXPECT_EQ(png.pixelColor(10, 27 + 41 + 1), QColor(246, 246, 240)); // the legend
    EXPECT_EQ(graphcli::run(b.dir.file("fehlt.tab"), b.dir.file("x.png"), err), 1);
    EXPECT_TRUE(errText.contains("fehlt.tab"));
    EXPECT_FALSE(QFileInfo::exists(b.dir.file("x.png")));
}

TEST(MonthGraph, ScrollPinsTheLegendAndARedrawRestoresThePosition) {
    Bench b;
    ui::RecordingServices &rec = b.rec;
    // The window: a scroll area whose content holds the graph pictures.
    QWidget window;
    window.resize(700, 590);
    auto *area = new QScrollArea(&window);
    area->setGeometry(0, 0, 700, 590);
    area->setWidgetResizable(false);
    area->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    auto *client = new QWidget;
    client->resize(graphgeo::kPictureWidth, 500);
    area->setWidget(client);
    auto *image = new PictureBox(client);
    auto *legend = new PictureBox(client);
    legend->setPicture(templatepicture::legend());
    legend->move(0, 41);
    auto *meanImage = new PictureBox(client);
    auto *status = new QLabel(client);
    auto *title = new QLabel(client);
    GraphWidgets w;
    w.image = image;
    w.legend = legend;
    w.meanImage = meanImage;
    w.status = status;
    w.title = title;
    w.hscroll = area->horizontalScrollBar();
    w.window = &window;
    MonthModel session(Folders::at(b.dir.path()));
    TMonthGraph graph(w, session, rec);
    graph.setTemplatePath(b.dir.file("Grafik.bmp"));
    QObject::connect(w.hscroll, &QScrollBar::valueChanged, [&graph] { graph.pinAfterScroll(); });
    window.show();
    QApplication::processEvents();
    ASSERT_GT(w.hscroll->maximum(), 400);

    DrawOptions at96;
    at96.scrollPosition = 96;
    const QString path =
        b.table({line(MS::Morgens, 1, 100), line(MS::Morgens, 2, 120), line(MS::Morgens, 3, 140)});
    ASSERT_TRUE(graph.GrafikZeichnen(path, at96).complete);
    QScrollBar *bar = w.hscroll;
    EXPECT_EQ(bar->value(), 96); // restored after the pass
    EXPECT_EQ(legend->x(), 94);
    bar->setValue(300);
    EXPECT_EQ(legend->x(), 298);
    EXPECT_GE(meanImage->x(), 298 + legend->width());
    EXPECT_EQ(graph.TimeStripX() > 298, true);
    EXPECT_TRUE(graph.FormKeyDown(Qt::Key_Right, Qt::ControlModifier));
    EXPECT_EQ(bar->value(), 348);
    EXPECT_EQ(legend->x(), 346);
    EXPECT_TRUE(graph.FormKeyDown(Qt::Key_Left, Qt::ControlModifier));
    EXPECT_EQ(bar->value(), 300);
    EXPECT_FALSE(graph.FormKeyDown(Qt::Key_Right, Qt::NoModifier));
    // The readout follows the pointer's height.
    graph.FormMouseMove(QPoint(500, 61));
    EXPECT_EQ(status->text(), "Cursor befindet sich auf: 500 mg/dl");
    graph.FormMouseMove(QPoint(500, 62));
    EXPECT_EQ(status->text(), "Cursor befindet sich auf: 498 mg/dl");
    graph.FormMouseMove(QPoint(500, 30));
    EXPECT_EQ(status->text(), "");
    graph.FormMouseMove(QPoint(320, 100)); // over the legend
    EXPECT_EQ(status->text(), "");
    graph.FormMouseMove(QPoint(1530, 100)); // right of the graph
    EXPECT_EQ(status->text(), "");
    // A redraw comes back to the stored position.
    bar->setValue(0);
    ASSERT_TRUE(graph.GrafikZeichnen(path, at96).complete);
    EXPECT_EQ(bar->value(), 96);
    EXPECT_EQ(legend->x(), 94);
}

TEST(MonthValues, FastScannersAgreeWithTheEntryLineReaders) {
    const QStringList samples = {line(MS::Morgens, 5, 128),
                                 line(MS::Messung7, 31, 0),
                                 line(MS::Abends, 10, 99),
                                 "Morgens den 3.3.2024",
                                 "Abends den 12.03.2024 Messung4 den 01.",
                                 "",
                                 "xx 32. 00. 09."};
    for (const QString &l : samples) {
        EXPECT_EQ(monthvalues::dayOfLine(l), entryline::dayOf(l)) << l.toStdString();
        MeasurementSlot a = MS::Morgens, b = MS::Morgens;
        EXPECT_EQ(monthvalues::slotOfLine(l, a), entryline::slotOf(l, b));
        EXPECT_EQ(a, b) << l.toStdString();
    }
}

TEST(MonthGraph, HeaderKeysFollowTheProfileRules) {
    Bench b;
    const QString path = b.dir.file("MM032024.tab");
    testutil::writeBytes(
        path,
        testutil::crlf({"[personendaten]", "  benutzername =  \"Eva Bauer\" ", "Datum=April 2024",
                        "BenutzerName=Zweiter", line(MS::Morgens, 1, 100)}));
    ASSERT_TRUE(b.draw(path));
    EXPECT_EQ(b.graph->TitleText(), "Glykovalinmesswerte  April 2024  Eva Bauer");
    EXPECT_EQ(b.result.tableUser, profile::read(path, "Personendaten", "BenutzerName"));
}

TEST(MonthGraph, MeanOverlayKeepsTheCurveUnderTheMeanLine) {
    Bench b;
    const QString path = b.table({line(MS::Morgens, 1, 100), line(MS::Abends, 1, 100),
                                  line(MS::Morgens, 5, 200), line(MS::Abends, 5, 200)});
    // "Mittelwert": the template once, then the curve and the mean pass on it.
    b.image.loadPicture(b.dir.file("Grafik.bmp"));
    DrawOptions o;
    o.keepPicture = true;
    o.meanMode = true;
    ASSERT_TRUE(b.draw(path, o));
    o.meanPass = true;
    ASSERT_TRUE(b.draw(path, o));
    EXPECT_EQ(b.graph->TitleText(),
              QString::fromUtf8("Glykovalinmesswerte und monatlicher Mittelwert  März 2024  Max "
                                "Muster"));
    EXPECT_EQ(b.at(45, 341), kGreen);                // the curve stays
    EXPECT_EQ(b.at(237, valueY(200)), c(kCritical)); // 200 lies above the critical row
    const int row = (valueY(100) + valueY(200)) / 2 + 1;
    EXPECT_EQ(b.at(150, row), QColor(0, 128, 0));
    EXPECT_EQ(b.graph->DayMeanPoints().size(), 2);
}

TEST(MonthGraph, LinesWithoutADayOfTheMonthArePassedOverAndReportedOnce) {
    Bench b;
    ui::RecordingServices &rec = b.rec;
    const QString day32 = "Morgens den    32.03.2024 Z=07:30  ZuckerWert=400";
    const QString day00 = "Messung2 den 00.03.2024 Z=12:00  ZuckerWert=300";
    const QString noBlank = "Abends den03.03.2024 Z=21:00  ZuckerWert=200";
    const QStringList entries = {line(MS::Morgens, 1, 100), day00,  line(MS::Abends, 1, 200), day32,
                                 line(MS::Morgens, 2, 120), noBlank};
    const QString path = b.table(entries);
    ASSERT_TRUE(b.draw(path)) << rec.texts().join("|").toStdString();
    // The lines stay in the entry list, so a save keeps them for correction.
    EXPECT_EQ(b.result.entries, entries);
    // One warning after the pass names the file, the first line and the rest.
    ASSERT_EQ(rec.shown.size(), 1) << rec.texts().join("|").toStdString();
    EXPECT_EQ(rec.shown[0].kind, ui::Kind::Warning);
    EXPECT_EQ(rec.shown[0].text,
              QString::fromUtf8("Zeile 9 der Datei \"%1\" und 2 weitere Zeilen enthalten keinen "
                                "gültigen Tag (01 bis 31) und wurden beim Zeichnen und Rechnen "
                                "übergangen. Sie bleiben in der Tabelle und können unter "
                                "\"Tabelle | aktuelle bearbeiten\" korrigiert werden.")
                  .arg(path));
    // Neither the statistics nor the diary's day texts count them.
    EXPECT_EQ(b.result.readingCount, 3);
    EXPECT_EQ(b.result.monthMean, "140,00");
    EXPECT_EQ(b.result.dayMeans[0], "150");
    EXPECT_EQ(b.result.dayMeans[1], "120");
    EXPECT_EQ(b.result.dayMeans[2], "0");
    EXPECT_EQ(b.result.dayLineTexts[0],
              line(MS::Morgens, 1, 100) + " -1 " + line(MS::Abends, 1, 200) + " -8 ");
    for (const QString &t : b.result.dayLineTexts)
        EXPECT_FALSE(t.contains("ZuckerWert=400") || t.contains("ZuckerWert=300"));
    EXPECT_TRUE(b.graph->isShown());

    // The mean pass keeps day 1 in one run: one mean point per day.
    rec.clear();
    DrawOptions mean;
    mean.meanPass = true;
    ASSERT_TRUE(b.draw(path, mean));
    EXPECT_EQ(rec.shown.size(), 0); // said once for the file, not at every redraw
    EXPECT_EQ(b.graph->DayMeanPoints(),
              QStringList({QStringLiteral("%1 %2").arg(45 + 36).arg(valueY(150)),
                           QStringLiteral("%1 %2").arg(93).arg(valueY(120))}));

    // A clean month shows no warning.
    rec.clear();
    ASSERT_TRUE(b.draw(b.table({line(MS::Morgens, 1, 100)})));
    EXPECT_TRUE(rec.shown.isEmpty());
}

TEST(MonthGraph, NaNInfinityAndHugeValuesStopThePassLikeAnyOtherText) {
    for (const QString value : {"NaN", "nan", "inf", "-inf", "1e20", "1E3", "-5", "+5", "10000",
                                "0x10", "12.5.1", "1 000", ",5"}) {
        Bench b;
        ui::RecordingServices &rec = b.rec;
        const QString path = b.table({line(MS::Morgens, 1, 100),
                                      "Abends den     01.03.2024 Z=21:00  ZuckerWert=" + value,
                                      line(MS::Morgens, 2, 120), line(MS::Morgens, 3, 130)});
        EXPECT_FALSE(b.draw(path)) << value.toStdString();
        ASSERT_EQ(rec.shown.size(), 1) << value.toStdString();
        EXPECT_TRUE(rec.shown[0].text.contains(QString::fromUtf8("\"%1\" in Zeile 9 der Datei "
                                                                 "\"%2\" ist keine gültige Zahl")
                                                   .arg(value, path)))
            << rec.shown[0].text.toStdString();
        EXPECT_FALSE(b.graph->isShown());
    }
    // Decimal commas and points, blanks and the largest reading are readings.
    Bench b;
    ui::RecordingServices &rec = b.rec;
    const QString path = b.table({"Morgens den    01.03.2024 Z=07:30  ZuckerWert=100,5 ",
                                  "Abends den     01.03.2024 Z=21:00  ZuckerWert=99.5",
                                  "Morgens den    02.03.2024 Z=07:30  ZuckerWert=9999"});
    ASSERT_TRUE(b.draw(path)) << rec.texts().join("|").toStdString();
    EXPECT_EQ(b.result.dayMeans[0], "100");
    EXPECT_EQ(b.result.dayMeans[1], "9999");
    EXPECT_EQ(b.result.monthMean, "3399,67");
}

TEST(MonthGraph, HandEditedLimitsAndPenWidthAreClampedIntoTheDialogsRanges) {
    struct Case {
        QString high, critical, low, pen;
        int highY, criticalY, lowY, width;
    };
    const Case cases[] = {
        {"99999999999", "-20", "5", "1000", valueY(250), valueY(120), valueY(20), 8},
        {"2147483647", "2147483647", "2147483647", "2147483647", valueY(250), valueY(250),
         valueY(100), 8},
        {"0", "0", "0", "0", valueY(160), valueY(120), valueY(20), 1},
        {" 200 ", "+150", "70", "3", valueY(200), valueY(150), valueY(70), 3},
    };
    for (const Case &k : cases) {
        Bench b;
        ui::RecordingServices &rec = b.rec;
        const QString ini = b.dir.file("glykoval.ini");
        profile::write(ini, "Einstellung", "Hochwerte>", k.high);
        profile::write(ini, "Einstellung", "Kritischwerte>", k.critical);
        profile::write(ini, "Einstellung", "Tiefwerte<", k.low);
        profile::write(ini, "Einstellung", "StiftBreite", k.pen);
        ASSERT_TRUE(b.draw(b.table({line(MS::Morgens, 1, 100), line(MS::Morgens, 2, 300)})))
            << k.high.toStdString() << " " << rec.texts().join("|").toStdString();
        EXPECT_TRUE(rec.shown.isEmpty());
        EXPECT_EQ(b.graph->HighLimitY(), k.highY) << k.high.toStdString();
        EXPECT_EQ(b.graph->CriticalLimitY(), k.criticalY) << k.critical.toStdString();
        EXPECT_EQ(b.graph->LowLimitY(), k.lowY) << k.low.toStdString();
        EXPECT_EQ(b.graph->PenWidthText(), QString::number(k.width)) << k.pen.toStdString();
        EXPECT_EQ(b.at(700, k.lowY), c(kLow));
    }
    // Text that is no number still stops the pass with the key in the message.
    Bench b;
    ui::RecordingServices &rec = b.rec;
    profile::write(b.dir.file("glykoval.ini"), "Einstellung", "Kritischwerte>", "hoch");
    EXPECT_FALSE(b.draw(b.table({line(MS::Morgens, 1, 100)})));
    ASSERT_EQ(rec.shown.size(), 1);
    EXPECT_TRUE(rec.shown[0].text.contains("Kritischwerte>"));
    EXPECT_TRUE(rec.shown[0].text.contains("hoch"));
}

TEST(MonthGraph, CliDrawsAMonthWithALineOutsideTheMonthAndWarnsOnStderr) {
    Bench b;
    templatepicture::graphTemplate(MeasureMode::Four).save(b.dir.file("Grafik4.bmp"), "BMP");
    profile::write(b.dir.file("glykoval.ini"), "Einstellung", "Grafik4", "Grafik4.bmp");
    const QString path =
        b.table({line(MS::Morgens, 2, 100), "Abends den     33.03.2024 Z=21:00  ZuckerWert=250",
                 line(MS::Abends, 2, 250)});
    QString errText;
    QTextStream err(&errText);
    ASSERT_EQ(graphcli::run(path, b.dir.file("out.png"), err), 0) << errText.toStdString();
    err.flush();
    EXPECT_EQ(errText, QString::fromUtf8("Zeile 9 der Datei \"%1\" enthält keinen gültigen Tag (01 "
                                         "bis 31) und wurde beim Zeichnen und Rechnen übergangen. "
                                         "Sie bleibt in der Tabelle und kann unter \"Tabelle | "
                                         "aktuelle bearbeiten\" korrigiert werden.\n")
                           .arg(path));
    QImage png(b.dir.file("out.png"));
    ASSERT_FALSE(png.isNull());
    EXPECT_EQ(png.pixelColor(93, 27 + 341), kGreen);
    graphcli::DrawnMonth drawn;
    ASSERT_TRUE(graphcli::draw(path, drawn, nullptr));
    EXPECT_EQ(drawn.result.dayMeans[1], "175");
}

TEST(MonthValues, ALineWithoutADayOfTheMonthIsNotCollected) {
    MonthValues v;
    v.clearValues();
    std::array<QString, 31> days;
    for (const QString &bad : {QString("Morgens den    32.03.2024 Z=07:30  ZuckerWert=100"),
                               QString("Morgens den    00.03.2024 Z=07:30  ZuckerWert=100"),
                               QString("Morgens den    99.03.2024 Z=07:30  ZuckerWert=100"),
                               QString("Morgens den 5.03.2024 Z=07:30  ZuckerWert=100"),
                               QString("Morgens ohne Datum ZuckerWert=100")})
        v.collect(bad, "x", &days);
    EXPECT_EQ(v.valueCount(), 0);
    EXPECT_EQ(v.lineCount(), 0);
    EXPECT_TRUE(v.dayValues().isEmpty());
    for (const QString &t : days)
        EXPECT_TRUE(t.isEmpty());
    v.collect(line(MS::Morgens, 31, 90), "y", &days);
    v.GibDieTagesMittelwerte();
    EXPECT_EQ(v.DayMean(31), "90");
    EXPECT_EQ(v.dayMeans().size(), 31);
}

// The first pass draws on the decoded template itself, later ones on copies
// of the kept template: nothing of one month stays for the next.
TEST(MonthGraph, EveryPassStartsFromACleanTemplate) {
    Bench b;
    const QStringList low = {line(MS::Morgens, 1, 80), line(MS::Morgens, 2, 90)};
    const QString path = b.table(low);
    ASSERT_TRUE(b.draw(path));
    const QImage first = b.image.picture().copy();
    b.table({line(MS::Morgens, 1, 300), line(MS::Morgens, 2, 310)});
    ASSERT_TRUE(b.draw(path));
    ASSERT_NE(b.image.picture(), first);
    b.table(low);
    for (int pass = 0; pass < 2; ++pass) {
        ASSERT_TRUE(b.draw(path));
        EXPECT_EQ(b.image.picture(), first) << pass;
    }
}

// The start-up decode runs in the background while the window is made; a
// template file that changed meanwhile is read again.
TEST(MonthGraph, TheBackgroundDecodeGivesWayToAChangedTemplate) {
    Bench b;
    b.graph->prepareTemplate();
    EXPECT_EQ(b.image.size(), templatepicture::graphTemplate(MeasureMode::Four).size());
    ASSERT_TRUE(b.graph->showTemplate());
    EXPECT_EQ(
        b.image.picture(),
        templatepicture::graphTemplate(MeasureMode::Four).convertToFormat(QImage::Format_RGB32));

    Bench changed;
    changed.graph->prepareTemplate();
    QImage other(1600, 500, QImage::Format_RGB32);
    other.fill(QColor(200, 200, 255));
    ASSERT_TRUE(other.save(changed.dir.file("Grafik.bmp"), "BMP"));
    ASSERT_TRUE(changed.graph->showTemplate());
    EXPECT_EQ(changed.image.picture(), other);
}

TEST(MonthGraph, TheTemplateIsReadAgainWhenItsFileChanges) {
    Bench b;
    const QString path = b.table({line(MS::Morgens, 1, 100)});
    ASSERT_TRUE(b.draw(path));
    EXPECT_EQ(b.image.picture().size(), templatepicture::graphTemplate(MeasureMode::Four).size());
    // Each pass starts from a clean template, not from the last picture.
    b.image.picture().setPixelColor(700, 200, QColor(1, 2, 3));
    ASSERT_TRUE(b.draw(path));
    EXPECT_NE(b.at(700, 200), QColor(1, 2, 3));
    // Another picture in the template's file is taken at the next pass.
    QImage other(1600, 500, QImage::Format_RGB32);
    other.fill(QColor(200, 200, 255));
    ASSERT_TRUE(other.save(b.dir.file("Grafik.bmp"), "BMP"));
    ASSERT_TRUE(b.draw(path));
    EXPECT_EQ(b.image.picture().size(), QSize(1600, 500));
    EXPECT_EQ(b.at(1560, 480), QColor(200, 200, 255));
    // A template that is gone leaves the picture as it is.
    QFile::remove(b.dir.file("Grafik.bmp"));
    ASSERT_TRUE(b.draw(path));
    EXPECT_EQ(b.image.picture().size(), QSize(1600, 500));
}
