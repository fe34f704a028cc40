#include <gtest/gtest.h>

#include <QImage>
#include <QMap>
#include <QRegularExpression>

#include "stats/statstext.h"
#include "statsfixture.h"
#include "statsview/doctorreport.h"
#include "support/golden.h"
#include "support/pdftools.h"

using namespace stats;
using monthfixture::Entry;
using statsfixture::collectAll;

namespace {

// The report's text layer, blanks made single.
QString textOf(const QString &pdf) {
    return pdftools::text(pdf, 0, true).simplified();
}

QString write(const Collection &c, const QString &pdf, const QDate &created = QDate(2024, 4, 2),
              const QStringList &missing = {}) {
    QString error;
    EXPECT_TRUE(statsview::DoctorReport(c, created, missing).write(pdf, &error))
        << error.toStdString();
    return pdf;
}

} // namespace

// One valid page with every figure as text, each part of the page in its
// place; in mmol/l too, where the figures, ranges, hypoglycaemias, daily
// means and the scales and legends of the pictures give mmol/l first. The
// text layers are compared whole.
TEST(DoctorReport, OnePageWithEveryFigureAsText) {
    if (!pdftools::haveFonts() || !pdftools::haveTools()) GTEST_SKIP() << "fonts or poppler";
    statsfixture::ThreeMonths m;
    const Collection c = collectAll({m.jan, m.feb, m.mar}, m.base());
    const statsview::DoctorReport report(c, QDate(2024, 4, 2), {"Dezember 2023"});
    ASSERT_EQ(report.diary().size(), 2);
    const QString pdf = write(c, m.tmp.file("bericht.pdf"), QDate(2024, 4, 2), {"Dezember 2023"});
    QString check;
    EXPECT_TRUE(pdftools::valid(pdf, &check)) << check.toStdString();
    EXPECT_EQ(pdftools::pages(pdf), 1);
    EXPECT_TRUE(golden::matches(pdftools::text(pdf, 0, true).toUtf8(), "statsview/bericht.txt"));
    Collection inMmol = c;
    inMmol.unit = GlucoseUnit::MmolL;
    const QString mmol = pdftools::text(write(inMmol, m.tmp.file("mmol.pdf")), 0, true);
    EXPECT_TRUE(golden::matches(mmol.toUtf8(), "statsview/bericht-mmol.txt"));

    const QImage page = pdftools::render(pdf, 1, 50);
    // A4 at 50 dots per inch.
    EXPECT_NEAR(page.width(), 413, 1);
    EXPECT_NEAR(page.height(), 585, 1);
    auto count = [&page](double x0, double y0, double x1, double y1, const QColor &want) {
        const double px = 50 / 25.4;
        int n = 0;
        for (int y = int(y0 * px); y < int(y1 * px); ++y)
            for (int x = int(x0 * px); x < int(x1 * px); ++x) {
                const QColor c = page.pixelColor(x, y);
                n += std::abs(c.red() - want.red()) + std::abs(c.green() - want.green()) +
                         std::abs(c.blue() - want.blue()) <
                     40;
            }
        return n;
    };
    // The range bar's green right of the figures, the profile's boxes and
    // the trend's line under them, the target band in both charts.
    EXPECT_GT(count(126, 34, 140, 92, QColor(67, 160, 71)), 40);
    EXPECT_GT(count(12, 96, 124, 150, QColor(86, 138, 210)), 40);
    EXPECT_GT(count(130, 96, 198, 150, QColor(13, 60, 140)), 10);
    EXPECT_GT(count(130, 96, 198, 150, QColor(226, 242, 224)), 100);
    EXPECT_GT(count(12, 96, 124, 150, QColor(226, 242, 224)), 100);
    // The figures do not reach into the range bar.
    EXPECT_EQ(count(122.5, 36, 125.5, 90, Qt::black), 0);
}

TEST(DoctorReport, TheMostRecentHypoglycaemiasWhenTheyDoNotFit) {
    if (!pdftools::haveFonts() || !pdftools::haveTools()) GTEST_SKIP() << "fonts or poppler";
    testutil::TempFolder tmp;
    QStringList paths;
    for (int month = 1; month <= 12; ++month) {
        QList<Entry> e;
        for (int d = 1; d <= 28; ++d)
            for (int s = 1; s <= 8; ++s)
                e.append(Entry{d, slotinfo::fromNumber(s), s == 1 ? 45 + d % 20 : 150});
        paths << monthfixture::writeTable(tmp.path(), month, 2023, MeasureMode::Eight, e);
    }
    const Collection c = collectAll(paths);
    ASSERT_EQ(c.figures.hypos.size(), 12 * 28);
    const QString pdf = write(c, tmp.file("viel.pdf"), QDate(2024, 1, 5));
    EXPECT_EQ(pdftools::pages(pdf), 1);
    const QString text = textOf(pdf);
    const auto shown = QRegularExpression("gezeigt: die letzten (\\d+) von 336").match(text);
    ASSERT_TRUE(shown.hasMatch()) << text.toStdString();
    EXPECT_GT(shown.captured(1).toInt(), 20);
    EXPECT_TRUE(text.contains("28.12.2023 Morgens"));
    EXPECT_FALSE(text.contains("01.01.2023 Morgens"));
    EXPECT_TRUE(text.contains("(die letzten 3 von 12 Monaten)"));
    EXPECT_TRUE(text.contains("Dezember 2023"));
    // No readings at all still gives a valid page.
    const QString empty = monthfixture::writeTable(tmp.path(), 5, 2024, MeasureMode::Four, {});
    const QString pdf2 = write(collectAll({empty}), tmp.file("leer.pdf"), QDate(2024, 6, 1));
    EXPECT_TRUE(pdftools::valid(pdf2));
    EXPECT_TRUE(textOf(pdf2).contains("keine Messwerte"));
}

TEST(DoctorReport, NoTextRunsPastItsRowOrColumn) {
    if (!pdftools::haveFonts() || !pdftools::haveTools()) GTEST_SKIP() << "fonts or poppler";
    testutil::TempFolder tmp;
    // Few readings on few days give the longest texts: "– (erst ab 30 Messwerten an 14 Tagen)".
    const QString few = monthfixture::writeTable(tmp.path(), 3, 2024, MeasureMode::Eight,
                                                 monthfixture::spread(3, 8, 1));
    const QString pdf = write(collectAll({few}), tmp.file("wenig.pdf"));
    // No target is judged from so few readings.
    const QString text = textOf(pdf);
    EXPECT_EQ(text.count("zu wenige Messwerte für eine Bewertung"), 5) << text.toStdString();
    EXPECT_FALSE(text.contains("erreicht"));
    const QList<pdftools::Word> words = pdftools::words(pdf, 0, 25.4 / 72);
    // The figures table: columns end at 57, 88, 104 and 122 mm, its rows lie
    // between the header (34 mm) and the note under it.
    const double ends[] = {12 + 45, 12 + 76, 12 + 92, 12 + 110};
    double bottom = 0;
    for (const pdftools::Word &w : words)
        if (w.text.startsWith("Prozentpunkten")) bottom = w.yMin;
    ASSERT_GT(bottom, 60);
    int checked = 0;
    for (const pdftools::Word &w : words) {
        if (w.yMin < 35 || w.yMax > bottom || w.xMin > 124) continue;
        ++checked;
        for (double end : ends)
            if (w.xMin < end) {
                EXPECT_LE(w.xMax, end + 0.2) << w.text.toStdString() << " at " << w.xMin;
                break;
            }
    }
    EXPECT_GT(checked, 40);
    // Nothing leaves the page's right margin, and texts have their size: the
    // title (14 pt) and the table's captions (7 pt) are not drawn smaller.
    const QMap<QString, double> minHeight = {{"Arztbericht:", 4.5}, {"Standardabweichung", 2.2}};
    int sized = 0;
    for (const pdftools::Word &w : words) {
        EXPECT_LE(w.xMax, 198.5) << w.text.toStdString();
        if (!minHeight.contains(w.text)) continue;
        EXPECT_GT(w.yMax - w.yMin, minHeight[w.text]) << w.text.toStdString();
        ++sized;
    }
    EXPECT_EQ(sized, 2);
}

TEST(DoctorReport, UnwritablePathKeepsNothingAndSaysWhy) {
    testutil::TempFolder tmp;
    statsfixture::ThreeMonths m;
    QString error;
    EXPECT_FALSE(statsview::DoctorReport(collectAll({m.mar}), QDate(2024, 4, 2))
                     .write(tmp.file("fehlt/bericht.pdf"), &error));
    EXPECT_TRUE(error.startsWith("Der Arztbericht"));
    EXPECT_FALSE(QFileInfo::exists(tmp.file("fehlt/bericht.pdf")));
}
