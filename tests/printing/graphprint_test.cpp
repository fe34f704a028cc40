#include <gtest/gtest.h>

#include "graph/geometry.h"
#include "graph/templatepicture.h"
#include "printing/graphprint.h"
#include "storage/settingsstore.h"
#include "testutil.h"

using graphprint::Format;

namespace {

QImage solid(int w, int h, QColor c) {
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(c);
    return img;
}

} // namespace

TEST(GraphPrint, WholeMonthPictureIsLaidOutOverTheGraph) {
    graphprint::MonthPictureParts parts;
    parts.header = solid(120, 24, Qt::red);
    parts.graph = solid(600, 400, Qt::green);
    parts.title = QString(); // no texts: only the picture parts are checked
    const QImage img = graphprint::composeWholeMonth(parts);
    ASSERT_EQ(img.size(), QSize(600, 400));
    EXPECT_EQ(QColor(img.pixel(0, 0)), QColor(Qt::red));
    EXPECT_EQ(QColor(img.pixel(119, 23)), QColor(Qt::red));
    // y = header height + 2 = 26: the band from row 50 to row y + 40 = 66
    // over the graph is white.
    for (int y = 50; y < 66; ++y)
        EXPECT_EQ(QColor(img.pixel(599, y)), QColor(Qt::white)) << y;
    EXPECT_EQ(QColor(img.pixel(599, 66)), QColor(Qt::green));
}

TEST(GraphPrint, FormatTextsAndRectanglesFollowThePrinterResolution) {
    EXPECT_EQ(graphprint::formatOf(QStringLiteral("DINA5")), Format::A5);
    EXPECT_EQ(graphprint::formatOf(QString()), Format::None);
    EXPECT_EQ(graphprint::formatText(Format::A6), QStringLiteral("DINA6"));

    EXPECT_EQ(graphprint::printRect(Format::A4, 600, 600), QRect(340, 400, 4110, 6100));
    EXPECT_EQ(graphprint::printRect(Format::A5, 600, 600), QRect(300, 300, 4200, 2800));
    EXPECT_EQ(graphprint::printRect(Format::A6, 600, 600), QRect(100, 100, 3150, 2150));
    EXPECT_EQ(graphprint::printRect(Format::A4, 1200, 1200), QRect(680, 800, 8220, 12200));
    EXPECT_EQ(graphprint::printRect(Format::A4, 300, 300), QRect(170, 200, 2055, 3050));
    EXPECT_EQ(graphprint::printRect(Format::A5, 300, 150), QRect(150, 75, 2100, 700));
    // A page too small for the rectangle shrinks it, keeping its proportions.
    const QRect fit = graphprint::printRect(Format::A4, 600, 600, QSize(4000, 10000));
    EXPECT_EQ(fit.topLeft(), QPoint(340, 400));
    EXPECT_LE(fit.right(), 3999);
    EXPECT_NEAR(double(fit.width()) / fit.height(), 4110.0 / 6100.0, 0.01);
}

TEST(GraphPrint, TimeStripNamesTheSlotTimesOfTheMode) {
    testutil::TempFolder dir;
    const QString ini = dir.file("glykoval.ini");
    testutil::writeBytes(
        ini, testutil::crlf({"[Einstellung]", "Messung4UhrzeitMorgens=07:00",
                             "Messung4UhrzeitMessung2=12:00", "Messung4UhrzeitMessung3=18:00",
                             "Messung4UhrzeitAbends=22:00", "Messung8UhrzeitMorgens=06:00",
                             "Messung8UhrzeitAbends=23:00"}));
    EXPECT_EQ(graphgeo::timeStripText(SettingsStore(ini), MeasureMode::Four),
              QStringLiteral("    Uhrzeiten: M1= 07:00  M2= 12:00  M3= 18:00  M4= 22:00"));
    EXPECT_EQ(graphgeo::timeStripText(SettingsStore(ini), MeasureMode::Eight),
              QStringLiteral("    Uhrzeiten: M1= 06:00  M2=   M3=   M4=   M5=   M6=   M7=   "
                             "M8= 23:00"));
}

// Hand-edited limits far outside the settings dialog's range are written at
// the nearest end of that range, as the graph on screen draws them; a limit
// that is no number gets no mark. The picture is composed without overflow.
TEST(GraphPrint, LimitsOutsideTheRangeAreClamped) {
    testutil::TempFolder dir;
    const QString ini = dir.file("glykoval.ini");
    testutil::writeBytes(ini, "[Einstellung]\r\nHochwerte>=2147483647\r\n"
                              "Kritischwerte>=abc\r\nTiefwerte<=-99999999999999\r\n");
    const QList<graphprint::LimitMark> marks = graphprint::limitMarks(ini, GlucoseUnit::MgDl);
    ASSERT_EQ(marks.size(), 2);
    EXPECT_EQ(marks[0].text, "250");
    EXPECT_EQ(marks[0].row, graphgeo::limitRowY(250));
    EXPECT_EQ(marks[1].text, "20");
    EXPECT_EQ(marks[1].row, graphgeo::limitRowY(20));
    graphprint::MonthPictureParts parts;
    parts.graph = solid(600, 400, Qt::white);
    parts.limits = marks;
    EXPECT_FALSE(graphprint::composeWholeMonth(parts).isNull());
    // In mmol/l the values are written in it, at the same rows; the legend
    // is that of mmol/l.
    const QList<graphprint::LimitMark> mmol = graphprint::limitMarks(ini, GlucoseUnit::MmolL);
    ASSERT_EQ(mmol.size(), 2);
    EXPECT_EQ(mmol[0].text, "13,9");
    EXPECT_EQ(mmol[0].row, marks[0].row);
    EXPECT_EQ(mmol[1].text, "1,1");
    EXPECT_EQ(graphprint::legendPicture(dir.path(), GlucoseUnit::MmolL),
              templatepicture::legend(GlucoseUnit::MmolL));
    EXPECT_EQ(graphprint::legendPicture(dir.path(), GlucoseUnit::MgDl), templatepicture::legend());
}
