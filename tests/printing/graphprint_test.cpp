#include <QPageLayout>
#include <QPainter>
#include <QPrinter>
#include <gtest/gtest.h>

#include "graph/geometry.h"
#include "graph/templatepicture.h"
#include "printing/graphprint.h"
#include "storage/settingsstore.h"
#include "support/pdftools.h"
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
    // Graph: green upper half, blue lower half, a black last row.
    parts.graph = solid(600, 400, Qt::green);
    {
        QPainter p(&parts.graph);
        p.fillRect(0, 200, 600, 200, Qt::blue);
        p.fillRect(0, 399, 600, 1, Qt::black);
    }
    parts.title = QString(); // no texts: only the picture parts are checked
    const QImage img = graphprint::composeWholeMonth(parts);

    ASSERT_EQ(img.size(), QSize(600, 400));
    EXPECT_EQ(QColor(img.pixel(0, 0)), QColor(Qt::red));
    EXPECT_EQ(QColor(img.pixel(119, 23)), QColor(Qt::red));
    // y = header height + 2 = 26; the graph starts at row y + 20 = 46 ...
    EXPECT_EQ(QColor(img.pixel(300, 45)), QColor(Qt::white));
    EXPECT_EQ(QColor(img.pixel(300, 47)), QColor(Qt::green));
    // ... the band from row 50 to row y + 40 = 66 is white ...
    for (int y = 50; y < 66; ++y)
        EXPECT_EQ(QColor(img.pixel(599, y)), QColor(Qt::white)) << y;
    EXPECT_EQ(QColor(img.pixel(599, 66)), QColor(Qt::green));
    // ... and the graph ends squeezed at the bottom: its last row stays black.
    EXPECT_EQ(QColor(img.pixel(10, 399)), QColor(Qt::black));
    // The colour change of row 200 moves to 46 + 200 * (354 / 400) = 223.
    EXPECT_EQ(QColor(img.pixel(10, 220)), QColor(Qt::green));
    EXPECT_EQ(QColor(img.pixel(10, 226)), QColor(Qt::blue));
}

TEST(GraphPrint, WholeMonthTextsAreWrittenWhenFontsExist) {
    QFont arial(QStringLiteral("Arial"));
    if (!QFontMetrics(arial).inFont(QChar(u'M'))) GTEST_SKIP() << "no font";
    graphprint::MonthPictureParts parts;
    parts.header = solid(400, 24, Qt::white);
    parts.graph = solid(1488, 450, Qt::white);
    parts.title = QStringLiteral("Glykovalinmesswerte  März 2024  Max Muster");
    parts.titleFont = arial;
    parts.timeStrip = QStringLiteral("    Uhrzeiten: M1= 07:00  M2= 12:00");
    parts.meanCaption = QStringLiteral("Monatlicher Mittelwert =");
    parts.meanValue = QStringLiteral("123,45 mg/dl");
    parts.measureFont = arial;
    const QImage img = graphprint::composeWholeMonth(parts);
    auto inkIn = [&img](QRect r, bool blue) {
        for (int y = r.top(); y <= r.bottom(); ++y)
            for (int x = r.left(); x <= r.right(); ++x) {
                const QColor c(img.pixel(x, y));
                if (blue ? (c.blue() > 150 && c.red() < 100) : qGray(c.rgb()) < 100) return true;
            }
        return false;
    };
    EXPECT_TRUE(inkIn(QRect(0, 2, 400, 20), false)) << "title over the title strip";
    EXPECT_TRUE(inkIn(QRect(400, 46, 700, 14), true)) << "blue time strip at y + 20";
    EXPECT_TRUE(inkIn(QRect(300, 96, 900, 20), false)) << "monthly mean at y + 70";
}

TEST(GraphPrint, VisibleAreaKeepsTheShownPictureAndWritesTheTitleOnCyan) {
    const QImage shown = solid(300, 200, Qt::yellow);
    const QImage img = graphprint::composeVisibleArea(shown, QStringLiteral("Titel"), QFont());
    ASSERT_EQ(img.size(), shown.size());
    EXPECT_EQ(QColor(img.pixel(299, 199)), QColor(Qt::yellow));
    EXPECT_EQ(QColor(img.pixel(21, 7)), QColor(Qt::cyan));
    EXPECT_EQ(QColor(img.pixel(19, 7)), QColor(Qt::yellow));
}

TEST(GraphPrint, TurnIsClockwiseAndFourTurnsGiveTheOriginal) {
    QImage src(3, 2, QImage::Format_RGB32);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x)
            src.setPixel(x, y, qRgb(x * 50, y * 50, 7));
    const QImage t = graphprint::turnClockwise(src);
    ASSERT_EQ(t.size(), QSize(2, 3));
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 2; ++x)
            EXPECT_EQ(t.pixel(x, y), src.pixel(y, 2 - 1 - x)) << x << "," << y;
    // The source's top left lands at the top right.
    EXPECT_EQ(t.pixel(1, 0), src.pixel(0, 0));
    EXPECT_EQ(graphprint::turnClockwise(graphprint::turnClockwise(graphprint::turnClockwise(t))),
              src);
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

// The printed picture lands at the scaled rectangle on the real sheet.
TEST(GraphPrint, PdfPrintPutsThePictureAtTheScaledRectangle) {
    if (!pdftools::available()) GTEST_SKIP() << "poppler tools missing";
    testutil::TempFolder dir;
    struct Case {
        Format f;
        QSizeF points;
        QRect at600;
    };
    for (const Case &c : {Case{Format::A4, {595.3, 841.9}, QRect(340, 400, 4110, 6100)},
                          Case{Format::A5, {595.3, 419.5}, QRect(300, 300, 4200, 2800)},
                          Case{Format::A6, {419.5, 297.6}, QRect(100, 100, 3150, 2150)}}) {
        const QString pdf = dir.file(graphprint::formatText(c.f) + ".pdf");
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdf);
        graphprint::setPaper(printer, c.f);
        printer.setPageMargins(QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
        ASSERT_NE(printer.resolution(), 600) << "the test needs another resolution";
        ASSERT_TRUE(graphprint::printPicture(printer, solid(50, 30, Qt::black), c.f));

        EXPECT_EQ(pdftools::pages(pdf), 1);
        const QString size = pdftools::info(pdf, QStringLiteral("Page size"));
        const bool landscape = c.f != Format::A4;
        const QStringList parts = size.split(u' ');
        ASSERT_GE(parts.size(), 3) << size.toStdString();
        EXPECT_NEAR(parts[0].toDouble(), c.points.width(), 1.0) << size.toStdString();
        EXPECT_NEAR(parts[2].toDouble(), c.points.height(), 1.0) << size.toStdString();
        // At 60 dpi a 600-dpi rectangle is a tenth of its numbers.
        const QImage page = pdftools::render(pdf, 1, 60);
        EXPECT_EQ(page.width() > page.height(), landscape);
        const QRect box = pdftools::darkBox(page);
        const QRect want(c.at600.x() / 10, c.at600.y() / 10, c.at600.width() / 10,
                         c.at600.height() / 10);
        EXPECT_NEAR(box.left(), want.left(), 2) << graphprint::formatText(c.f).toStdString();
        EXPECT_NEAR(box.top(), want.top(), 2);
        EXPECT_NEAR(box.width(), want.width(), 2);
        EXPECT_NEAR(box.height(), want.height(), 2);
    }
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
