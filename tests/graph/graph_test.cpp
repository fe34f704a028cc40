#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFontMetrics>
#include <QLabel>
#include <QPainter>
#include <QScrollArea>
#include <QScrollBar>
#include <QTest>
#include <QTextStream>
#include <cmath>

#include "graph/geometry.h"
#include "graph/grapharea.h"
#include "graph/graphcli.h"
#include "graph/monthgraph.h"
#include "graph/templatepicture.h"
#include "platform/colorref.h"
#include "platform/convert.h"
#include "platform/profile.h"
#include "platform/ui.h"
#include "recordingservices.h"
#include "storage/monthmodel.h"
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

// A folder with settings and template, and the month graph drawing from it.
struct Bench {
    testutil::TempFolder dir;
    std::unique_ptr<MonthModel> model;
    std::unique_ptr<MonthGraph> graph;
    monthread::Month month; // of the last draw()
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
        model = std::make_unique<MonthModel>(Folders::at(dir.path()));
        model->setModeTicks(mode == MeasureMode::Four, mode == MeasureMode::Eight);
        graph = std::make_unique<MonthGraph>(*model);
        graph->setTemplatePath(dir.file("Grafik.bmp"));
    }
    // The table read as the model reads it and drawn; true when the pass ran
    // to its end.
    bool draw(const QString &path, MonthGraph::View view = MonthGraph::View::Values) {
        monthread::read(path, month);
        MonthGraph::Placement where;
        where.windowWidth = 800;
        return graph->draw(month, view, where);
    }
    ~Bench() { QDir::setCurrent(oldCwd); }

    QString table(const QStringList &entries, bool eight = false) {
        const QString path = dir.file("MM032024.tab");
        testutil::writeBytes(
            path,
            testutil::crlf(testutil::monthHeader("Max Muster", "März 2024", eight) + entries));
        return path;
    }
    const MonthResult &result() const { return month.result; }
    const QImage &picture() const { return graph->picture(); }
    QColor at(int x, int y) const { return picture().pixelColor(x, y); }
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
    // The four-slot day's last slot (x + 36) is checked through the points of
    // the day means.
    EXPECT_EQ(graphgeo::DayX(31), 1485);
    EXPECT_EQ(SlotX(1, MS::Morgens, MeasureMode::Eight), 42);
    EXPECT_EQ(SlotX(2, MS::Messung3, MeasureMode::Four), 93 + 24);
    // Values (x) and their rows (y).
    for (const QPoint &c :
         {QPoint(0, 411), QPoint(1, 411), QPoint(100, 341), QPoint(250, 236), QPoint(500, 61),
          QPoint(550, 61), QPoint(125, 323), QPoint(126, 324), QPoint(130, 320)})
        EXPECT_EQ(valueY(c.x()), c.y()) << c.x();
    // Last digits 1 … 9 lie 7, 6, 5, 4, 3, 4, 3, 2, 1 pixels below the row above.
    const int below[] = {7, 6, 5, 4, 3, 4, 3, 2, 1};
    for (int d = 1; d <= 9; ++d)
        EXPECT_EQ(valueY(120 + d), graphgeo::RowY(130) + below[d - 1]);
    EXPECT_EQ(graphgeo::limitRowY(0), 0);
    EXPECT_EQ(graphgeo::limitRowY(300), 300);
    EXPECT_EQ(graphgeo::limitRowY(160), 299);

    // The readout from the top of the scale to its bottom, rows 109 to 461.
    QStringList readouts;
    for (int y : {109, 110, 111, 112, 113, 114, 115, 116, 454, 455, 456, 457, 458, 459, 460, 461})
        readouts << graphgeo::readoutValueText(y);
    EXPECT_EQ(readouts, QStringList({"", "500", "498", "496", "494", "492", "494", "492", "08",
                                     "06", "04", "02", "04", "02", "0", ""}));
}

TEST(MonthGraph, LimitLinesBandAndPointColours) {
    Bench b;
    const QString path = b.table({line(MS::Morgens, 1, 250), // on the high limit
                                  line(MS::Morgens, 2, 100), // between critical and low
                                  line(MS::Morgens, 3, 70),  // on the low limit
                                  line(MS::Morgens, 4, 180), // between high and critical
                                  line(MS::Messung2, 4, 0),  // drawn at the 180's height and colour
                                  line(MS::Messung5, 20, 300)});
    ASSERT_TRUE(b.draw(path));
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
    EXPECT_EQ(b.result().readingCount, 5); // the 0 is no reading
    EXPECT_EQ(b.result().dayMeans[19], "300");
    // The curve connects consecutive readings.
    EXPECT_EQ(b.at(69, valueY(175)), c(kCurve));
    EXPECT_EQ(b.graph->TitleText(),
              QString::fromUtf8("Glykovalinmesswerte  März 2024  Max Muster"));
    EXPECT_EQ(b.result().monthMean, "180,00");
    EXPECT_EQ(b.graph->TimeStripText(), "    Uhrzeiten: M1= 07:00  M2=   M3=   M4= ");
    EXPECT_EQ(b.graph->MeanValueText(), "180,00 mg/dl");
}

TEST(MonthGraph, EightSlotDay31AndHints) {
    Bench b(MeasureMode::Eight);
    ASSERT_TRUE(b.draw(b.table({line(MS::Abends, 31, 100)}, true)));
    EXPECT_EQ(b.at(1524, 341), kGreen);
    if (arialHasText()) {
        EXPECT_GT(redPixels(b.picture(), QRect(64, 170, 400, 20)), 30);
        ASSERT_TRUE(b.draw(b.table({}, true)));
        EXPECT_GT(redPixels(b.picture(), QRect(64, 170, 400, 20)), 30);
        EXPECT_EQ(b.result().readingCount, 0);
    }
}

TEST(MonthGraph, MeanPassSkipsZeroDaysAndDrawsTheMeanLine) {
    Bench b;
    const QString path =
        b.table({line(MS::Morgens, 1, 100), line(MS::Messung2, 1, 0), line(MS::Abends, 1, 200),
                 line(MS::Morgens, 2, 0), line(MS::Abends, 2, 0), line(MS::Morgens, 3, 120),
                 line(MS::Abends, 3, 120)});
    ASSERT_TRUE(b.draw(path, MonthGraph::View::ValuesAndMean));
    const QStringList pts = b.graph->DayMeanPoints();
    ASSERT_EQ(pts.size(), 2);
    EXPECT_EQ(pts[0], QStringLiteral("%1 %2").arg(45 + 36).arg(valueY(150)));
    EXPECT_EQ(pts[1], QStringLiteral("%1 %2").arg(141 + 36).arg(valueY(120)));
    const int row = (valueY(150) + valueY(120)) / 2 + 1;
    EXPECT_EQ(b.at(100, row), QColor(0, 128, 0));
    EXPECT_EQ(b.month.dayEnds, QList<int>({16, 18, 20}));
    // "Mittelwert": the curve and its points stay under the mean line.
    EXPECT_EQ(b.graph->TitleText(),
              QString::fromUtf8("Glykovalinmesswerte und monatlicher Mittelwert  März 2024  Max "
                                "Muster"));
    EXPECT_EQ(b.at(45, 341), kGreen);
    EXPECT_EQ(b.at(81, valueY(200)), c(kCritical)); // 200 lies above the critical row
}

// The command-line drawing: the picture with the legend above the graph, the
// legend of the unit set, a warning for a line outside the month, and no
// picture for a table that is missing.
TEST(MonthGraph, CliWritesTheGraphWarnsOfLinesOutsideTheMonthAndRefusesMissingTables) {
    Bench b;
    templatepicture::graphTemplate(MeasureMode::Four).save(b.dir.file("Grafik4.bmp"), "BMP");
    templatepicture::legend().save(b.dir.file("M_einheit.bmp"), "BMP");
    profile::write(b.dir.file("glykoval.ini"), "Einstellung", "Grafik4", "Grafik4.bmp");
    const QString path =
        b.table({line(MS::Morgens, 2, 100), "Abends den     33.03.2024 Z=21:00  ZuckerWert=250",
                 line(MS::Abends, 2, 250)});
    QString errText;
    QTextStream err(&errText);
    ASSERT_EQ(graphcli::run(path, b.dir.file("out.png"), err), 0) << errText.toStdString();
    err.flush();
    EXPECT_EQ(errText,
              QString::fromUtf8("Zeile 16 der Datei \"%1\" enthält keinen gültigen Tag (01 "
                                "bis 31) und wurde beim Zeichnen und Rechnen übergangen. "
                                "Sie bleibt in der Tabelle und kann unter \"Tabelle | "
                                "aktuelle bearbeiten\" korrigiert werden.\n")
                  .arg(path));
    QImage png(b.dir.file("out.png"));
    ASSERT_FALSE(png.isNull());
    EXPECT_EQ(png.size(), QSize(graphgeo::kPictureWidth, 27 + graphgeo::kPictureHeight));
    EXPECT_EQ(png.pixelColor(700, 27 + 236), c(kHigh));
    EXPECT_EQ(png.pixelColor(93, 27 + 341), kGreen);
    EXPECT_EQ(png.pixelColor(129, 27 + 236), c(kHigh));
    EXPECT_EQ(png.pixelColor(10, 27 + 41 + 1), QColor(246, 246, 240)); // the legend
    // With mmol/l in the settings the legend is that of mmol/l.
    profile::write(b.dir.file("glykoval.ini"), "Einstellung", "Einheit", "mmol/l");
    ASSERT_EQ(graphcli::run(path, b.dir.file("mmol.png"), err), 0) << errText.toStdString();
    const QImage mmol = QImage(b.dir.file("mmol.png")).convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(mmol.copy(0, 27 + graphgeo::kLegendTop, 38, graphgeo::kLegendHeight),
              templatepicture::legend(GlucoseUnit::MmolL).copy(2, 0, 38, graphgeo::kLegendHeight));
    EXPECT_EQ(graphcli::run(b.dir.file("fehlt.tab"), b.dir.file("x.png"), err), 1);
    EXPECT_TRUE(errText.contains("fehlt.tab"));
    EXPECT_FALSE(QFileInfo::exists(b.dir.file("x.png")));
}

// The graph area of the main window: legend, time strip and caption stay in
// the visible part while it scrolls, Ctrl+Right/Left scroll by a day, and
// the readout follows the pointer.
TEST(GraphArea, ScrollPinsTheLegendAndTheReadoutFollowsThePointer) {
    Bench b;
    ui::RecordingServices rec;
    const QString path =
        b.table({line(MS::Morgens, 1, 100), line(MS::Morgens, 2, 120), line(MS::Morgens, 3, 140)});
    b.model->open(path);
    QWidget window;
    window.resize(700, 590);
    auto *area = new GraphArea(*b.model, rec, &window);
    area->setGeometry(0, 0, 700, 590);
    area->setTemplatePath(b.dir.file("Grafik.bmp"));
    templatepicture::legend().save(b.dir.file("M_einheit.bmp"), "BMP");
    area->prepare(b.dir.file("M_einheit.bmp"), QString());
    window.show();
    ASSERT_TRUE(area->drawMonth());
    area->layOut();
    QApplication::processEvents();
    QScrollBar *bar = area->horizontalScrollBar();
    ASSERT_GT(bar->maximum(), 400);
    auto *legend = area->findChild<QWidget *>("M_einheit_Image");
    auto *meanImage = area->findChild<QWidget *>("MittelwertImage");
    auto *image = area->findChild<QWidget *>("Image");
    auto *status = area->findChild<QLabel *>("StatusLabel");
    ASSERT_TRUE(legend && meanImage && image && status);

    bar->setValue(300);
    EXPECT_EQ(legend->x(), 298);
    EXPECT_GE(meanImage->x(), 298 + legend->width());
    EXPECT_GT(area->graph().TimeStripX(), 298);
    area->scrollByDays(1);
    EXPECT_EQ(bar->value(), 348);
    EXPECT_EQ(legend->x(), 346);
    area->scrollByDays(-1);
    EXPECT_EQ(bar->value(), 300);
    // A redraw keeps the position the user scrolled to.
    ASSERT_TRUE(area->drawMonth());
    EXPECT_EQ(bar->value(), 300);
    EXPECT_EQ(legend->x(), 298);

    // The readout follows the pointer's height, off the scale and beside the
    // graph it is empty.
    const struct {
        QPoint at;
        QString text;
    } readouts[] = {{{500, 61}, "Cursor befindet sich auf: 500 mg/dl"},
                    {{500, 62}, "Cursor befindet sich auf: 498 mg/dl"},
                    {{500, 30}, ""},
                    {{320, 100}, ""}, // over the legend
                    {{1530, 100}, ""}};
    for (const auto &r : readouts) {
        QTest::mouseMove(image, r.at);
        QApplication::processEvents();
        EXPECT_EQ(status->text(), r.text) << r.at.x() << "," << r.at.y();
    }

    // In mmol/l: the readout and the mean caption.
    b.model->setUnit(GlucoseUnit::MmolL);
    area->showUnit();
    ASSERT_TRUE(area->drawMonth());
    EXPECT_EQ(area->graph().MeanValueText(), "6,7 mmol/l");
    for (const auto &[at, text] : {std::pair{QPoint(500, 61), "27,8"},
                                   {QPoint(500, 62), "27,6"},
                                   {QPoint(500, 411), "0,0"}}) {
        QTest::mouseMove(image, at);
        QApplication::processEvents();
        EXPECT_EQ(status->text(), QString("Cursor befindet sich auf: %1 mmol/l").arg(text));
    }
}

// The legends label their values at the rows the graph draws them at: mg/dl
// every 50, mmol/l every 2.
TEST(TemplatePicture, LegendLabelsLieAtTheRowsOfTheirValues) {
    const QImage mgdl = templatepicture::legend(),
                 mmol = templatepicture::legend(GlucoseUnit::MmolL);
    auto tick = [](const QImage &legend, int graphRow) {
        return legend.pixelColor(graphgeo::kLegendWidth - 3, graphRow - graphgeo::kLegendTop) ==
               QColor(Qt::black);
    };
    for (int m = 0; m <= 26; m += 2) {
        // 0.7 pixel per mg/dl, 18.016 mg/dl per mmol/l.
        const int row = graphgeo::kZeroRow - int(std::lround(0.7 * 18.016 * m));
        EXPECT_TRUE(tick(mmol, row)) << m;
        EXPECT_FALSE(tick(mmol, row - 3)) << m;
    }
    for (int t = 0; t <= 500; t += 50)
        EXPECT_TRUE(tick(mgdl, graphgeo::RowY(t))) << t;
    EXPECT_NE(mgdl, mmol);
}

TEST(MonthGraph, LinesWithoutADayOfTheMonthArePassedOverAndNamed) {
    Bench b;
    const QString day32 = "Morgens den    32.03.2024 Z=07:30  ZuckerWert=400";
    const QString day00 = "Messung2 den 00.03.2024 Z=12:00  ZuckerWert=300";
    const QString noBlank = "Abends den03.03.2024 Z=21:00  ZuckerWert=200";
    const QStringList entries = {line(MS::Morgens, 1, 100), day00,  line(MS::Abends, 1, 200), day32,
                                 line(MS::Morgens, 2, 120), noBlank};
    const QString path = b.table(entries);
    ASSERT_TRUE(b.draw(path));
    // The lines stay in the entry list, so a save keeps them for correction.
    EXPECT_EQ(b.result().entries, entries);
    // One notice names the file, the first line and the rest.
    EXPECT_EQ(b.result().skippedNotice,
              QString::fromUtf8("Zeile 16 der Datei \"%1\" und 2 weitere Zeilen enthalten keinen "
                                "gültigen Tag (01 bis 31) und wurden beim Zeichnen und Rechnen "
                                "übergangen. Sie bleiben in der Tabelle und können unter "
                                "\"Tabelle | aktuelle bearbeiten\" korrigiert werden.")
                  .arg(path));
    // Neither the statistics nor the diary's day texts count them.
    EXPECT_EQ(b.result().readingCount, 3);
    EXPECT_EQ(b.result().monthMean, "140,00");
    EXPECT_EQ(b.result().dayMeans[0], "150");
    EXPECT_EQ(b.result().dayMeans[1], "120");
    EXPECT_EQ(b.result().dayMeans[2], "0");
    EXPECT_EQ(b.result().dayLineTexts[0],
              line(MS::Morgens, 1, 100) + " -1 " + line(MS::Abends, 1, 200) + " -8 ");
    for (const QString &t : b.result().dayLineTexts)
        EXPECT_FALSE(t.contains("ZuckerWert=400") || t.contains("ZuckerWert=300"));

    // The mean pass keeps day 1 in one run: one mean point per day.
    ASSERT_TRUE(b.draw(path, MonthGraph::View::ValuesAndMean));
    EXPECT_EQ(b.graph->DayMeanPoints(),
              QStringList({QStringLiteral("%1 %2").arg(45 + 36).arg(valueY(150)),
                           QStringLiteral("%1 %2").arg(93).arg(valueY(120))}));

    // A clean month has no notice.
    ASSERT_TRUE(b.draw(b.table({line(MS::Morgens, 1, 100)})));
    EXPECT_TRUE(b.result().skippedNotice.isEmpty());
}

// A value that is no number stops the pass with the value, the file and the
// line; what was drawn before stays.
TEST(MonthGraph, TextNaNInfinityAndHugeValuesStopThePass) {
    for (const QString value : {"12a", "NaN", "nan", "inf", "-inf", "1e20", "1E3", "-5", "+5",
                                "10000", "0x10", "12.5.1", "1 000", ",5"}) {
        Bench b;
        const QString path = b.table({line(MS::Morgens, 1, 250),
                                      "Abends den     01.03.2024 Z=21:00  ZuckerWert=" + value,
                                      line(MS::Morgens, 2, 100)});
        EXPECT_FALSE(b.draw(path)) << value.toStdString();
        EXPECT_TRUE(b.month.error.contains(QString::fromUtf8("\"%1\" in Zeile 16 der Datei "
                                                             "\"%2\" ist keine gültige Zahl")
                                               .arg(value, path)))
            << b.month.error.toStdString();
        EXPECT_EQ(b.at(45, 236), c(kHigh));
        EXPECT_NE(b.at(93, 341), kGreen);
    }
    Bench b;
    EXPECT_FALSE(b.draw(b.dir.file("fehlt.tab")));
    EXPECT_EQ(b.month.error, "Fehler beim Lesen der Datei: " + b.dir.file("fehlt.tab"));
    // Decimal commas and points and blanks are readings; 9999 is none.
    const QString path = b.table({"Morgens den    01.03.2024 Z=07:30  ZuckerWert=100,5 ",
                                  "Abends den     01.03.2024 Z=21:00  ZuckerWert=99.5",
                                  "Morgens den    02.03.2024 Z=07:30  ZuckerWert=9999"});
    ASSERT_TRUE(b.draw(path));
    // 100 and 99 (a decimal counts with its whole part); above 500 is no reading.
    EXPECT_EQ(b.result().dayMeans[0], "100");
    EXPECT_EQ(b.result().dayMeans[1], "0");
    EXPECT_EQ(b.result().readingCount, 2);
    EXPECT_TRUE(b.result().monthMean.isEmpty());
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
        const QString ini = b.dir.file("glykoval.ini");
        profile::write(ini, "Einstellung", "Hochwerte>", k.high);
        profile::write(ini, "Einstellung", "Kritischwerte>", k.critical);
        profile::write(ini, "Einstellung", "Tiefwerte<", k.low);
        profile::write(ini, "Einstellung", "StiftBreite", k.pen);
        ASSERT_TRUE(b.draw(b.table({line(MS::Morgens, 1, 100), line(MS::Morgens, 2, 300)})))
            << k.high.toStdString();
        EXPECT_EQ(b.graph->HighLimitY(), k.highY) << k.high.toStdString();
        EXPECT_EQ(b.graph->CriticalLimitY(), k.criticalY) << k.critical.toStdString();
        EXPECT_EQ(b.graph->LowLimitY(), k.lowY) << k.low.toStdString();
        EXPECT_EQ(b.graph->PenWidthText(), QString::number(k.width)) << k.pen.toStdString();
        EXPECT_EQ(b.at(700, k.lowY), c(kLow));
    }
    // Text that is no number still stops the pass with the key in the message.
    Bench b;
    profile::write(b.dir.file("glykoval.ini"), "Einstellung", "Kritischwerte>", "hoch");
    try {
        b.draw(b.table({line(MS::Morgens, 1, 100)}));
        ADD_FAILURE() << "no conversion error";
    } catch (const EConvertError &e) {
        EXPECT_TRUE(e.message().contains("Kritischwerte>"));
        EXPECT_TRUE(e.message().contains("hoch"));
    }
}

// The start-up decode runs in the background while the window is made; a
// template file that changed meanwhile is read again, and so is one that
// changed between two passes.
TEST(MonthGraph, TheTemplateIsReadAgainWhenItsFileChanges) {
    QImage other(1600, 500, QImage::Format_RGB32);
    other.fill(QColor(200, 200, 255));
    Bench b;
    EXPECT_EQ(b.graph->prepareTemplate(), templatepicture::graphTemplate(MeasureMode::Four).size());
    ASSERT_TRUE(b.graph->showTemplate());
    EXPECT_EQ(
        b.picture(),
        templatepicture::graphTemplate(MeasureMode::Four).convertToFormat(QImage::Format_RGB32));
    const QString path = b.table({line(MS::Morgens, 1, 100)});
    ASSERT_TRUE(b.draw(path));
    EXPECT_EQ(b.picture().size(), templatepicture::graphTemplate(MeasureMode::Four).size());
    ASSERT_TRUE(other.save(b.dir.file("Grafik.bmp"), "BMP"));
    ASSERT_TRUE(b.draw(path));
    EXPECT_EQ(b.at(1560, 480), QColor(200, 200, 255));
    // A template that is gone leaves the picture as it is.
    QFile::remove(b.dir.file("Grafik.bmp"));
    ASSERT_TRUE(b.draw(path));
    EXPECT_EQ(b.picture().size(), QSize(1600, 500));

    Bench changed;
    changed.graph->prepareTemplate();
    ASSERT_TRUE(other.save(changed.dir.file("Grafik.bmp"), "BMP"));
    ASSERT_TRUE(changed.graph->showTemplate());
    EXPECT_EQ(changed.picture(), other);
}

// A reading's point is set from a pattern worked out once per pen width; it
// must cover the very pixels a stroke of the point covers, wherever it stands,
// also where the picture's edge cuts it.
TEST(MonthGraph, PointPatternCoversWhatAStrokedPointCovers) {
    const QList<QPoint> places = {
        {0, 0},      {45, 411},
        {1527, 61},  {777, 250},
        {1549, 447}, {graphgeo::SlotX(31, MeasurementSlot::Abends, MeasureMode::Eight), 62}};
    for (int width = 1; width <= 9; ++width) {
        const QList<QPoint> pattern = MonthGraph::pointPixels(width);
        for (const QPoint &at : places) {
            QImage stroked(graphgeo::kPictureWidth, graphgeo::kPictureHeight, QImage::Format_RGB32);
            stroked.fill(Qt::white);
            QImage set = stroked;
            QPainter s(&stroked);
            s.setPen(QPen(Qt::red, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
            s.drawLine(at.x() + 1, at.y(), at.x(), at.y() + 1);
            s.end();
            QPainter p(&set);
            p.setPen(QPen(Qt::red, 1));
            for (const QPoint &d : pattern)
                p.drawPoint(at + d);
            p.end();
            EXPECT_TRUE(stroked == set) << "width " << width << " at " << at.x() << "," << at.y();
        }
    }
}
