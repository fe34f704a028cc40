#include <gtest/gtest.h>

#include <QPushButton>
#include <QSignalSpy>
#include <QTabWidget>

#include "platform/ui.h"
#include "recordingservices.h"
#include "stats/statstext.h"
#include "statsfixture.h"
#include "statsview/figuretable.h"
#include "statsview/statisticswindow.h"
#include "statsview/statsmenu.h"

using namespace stats;
using monthfixture::Entry;

namespace {

// A page's control by object name; nullptr before the page was shown.
template <typename T> T *onPage(statsview::StatisticsWindow &w, int page, const char *name) {
    return w.findChild<QTabWidget *>("Seiten")->widget(page)->findChild<T *>(name);
}

using statsview::FigureTable;

// The text of the row whose first cell is `caption`, column `column`.
QString cell(FigureTable *t, const QString &caption, int column) {
    const int r = t->rowOf(caption);
    return r < 0 ? QStringLiteral("(keine Zeile %1)").arg(caption) : t->text(r, column);
}

int colouredPixels(QWidget *w) {
    const QImage img = w->grab().toImage();
    int coloured = 0;
    for (int y = 0; y < img.height(); y += 2)
        for (int x = 0; x < img.width(); x += 2)
            coloured += img.pixelColor(x, y).saturation() > 80;
    return coloured;
}

} // namespace

TEST(StatisticsWindow, BothPeriodsWithThePeriodBeforeAndTheTrendInBothUnits) {
    statsfixture::ThreeMonths m;
    ui::RecordingServices rec;
    statsview::StatisticsWindow w(rec);
    ASSERT_TRUE(w.showTable(m.mar, m.base(), GlucoseUnit::MgDl));
    EXPECT_EQ(w.windowTitle(), "Statistik");
    ASSERT_EQ(w.pageCount(), 2);
    EXPECT_EQ(w.pageTitle(0), "Angezeigter Monat (März 2024)");
    EXPECT_EQ(w.pageTitle(1), "Letzte drei Monate (Januar 2024 – März 2024)");
    w.show();
    // The second page is made when it is first shown.
    EXPECT_EQ(onPage<FigureTable>(w, 1, "Kennzahlen"), nullptr);
    const Collection march = statsfixture::collectAll({m.mar}, m.base());
    const Collection feb = statsfixture::collectAll({m.feb}, m.base());
    FigureTable *t = onPage<FigureTable>(w, 0, "Kennzahlen");
    ASSERT_NE(t, nullptr);
    EXPECT_EQ(cell(t, "Mittelwert", 1),
              bothUnits(march.figures.mean, march.figures.meanMmol, GlucoseUnit::MgDl));
    // February before March, and the change where both have enough readings.
    EXPECT_EQ(cell(t, "Mittelwert", 3),
              comparedValue(feb.figures, Compared::Mean, GlucoseUnit::MgDl));
    EXPECT_EQ(cell(t, "Mittelwert", 4),
              changeText(change(march.figures, feb.figures, Compared::Mean), Compared::Mean,
                         GlucoseUnit::MgDl));
    EXPECT_EQ(cell(t, "Messwerte", 3), "117");
    for (const char *name : {"Bereichsbalken", "Tagesprofil", "Verlauf"}) {
        QWidget *chart = onPage<QWidget>(w, 0, name);
        ASSERT_NE(chart, nullptr) << name;
        EXPECT_GT(colouredPixels(chart), 20) << name;
    }
    FigureTable *slotTable = onPage<FigureTable>(w, 0, "Tageszeiten");
    ASSERT_NE(slotTable, nullptr);
    EXPECT_EQ(slotTable->rowCount(), 8);
    EXPECT_EQ(slotTable->text(0, 1), march.figures.perSlot[0].typicalTime());
    w.showPage(1);
    t = onPage<FigureTable>(w, 1, "Kennzahlen");
    ASSERT_NE(t, nullptr);
    const Collection three = statsfixture::collectAll({m.jan, m.feb, m.mar}, m.base());
    EXPECT_EQ(cell(t, "Mittelwert", 1),
              bothUnits(three.figures.mean, three.figures.meanMmol, GlucoseUnit::MgDl));
    EXPECT_EQ(cell(t, "Mittelwert", 3), "–"); // October to December: no tables
    EXPECT_TRUE(onPage<QLabel>(w, 1, "Hinweise")
                    ->text()
                    .contains("Messwert der Messungen 4 bis 7 zählt mit"));

    // In mmol/l the window's tables give mmol/l first.
    ASSERT_TRUE(w.showTable(m.mar, m.base(), GlucoseUnit::MmolL));
    w.showPage(0);
    const Figures &figures = march.figures;
    t = onPage<FigureTable>(w, 0, "Kennzahlen");
    ASSERT_NE(t, nullptr);
    EXPECT_EQ(cell(t, "Mittelwert", 1),
              bothUnits(figures.mean, figures.meanMmol, GlucoseUnit::MmolL));
    EXPECT_NE(t->rowOf(QString::fromUtf8("im Zielbereich (3,9–10,0 mmol/l)")), -1);
    slotTable = onPage<FigureTable>(w, 0, "Tageszeiten");
    ASSERT_NE(slotTable, nullptr);
    EXPECT_EQ(slotTable->text(0, 3), percentileText(figures.perSlot[0], P50, GlucoseUnit::MmolL));
    EXPECT_EQ(slotTable->text(0, 7), minMaxText(figures.perSlot[0], GlucoseUnit::MmolL));
    FigureTable *hypos = onPage<FigureTable>(w, 0, "Unterzuckerungen");
    ASSERT_NE(hypos, nullptr);
    EXPECT_EQ(hypos->headerText(3), "mmol/l");
    EXPECT_EQ(hypos->text(0, 3), "2,6");
    EXPECT_EQ(hypos->text(0, 4), "47");
}

TEST(StatisticsWindow, ReportButtonAndReload) {
    statsfixture::ThreeMonths m;
    ui::RecordingServices rec;
    statsview::StatisticsWindow w(rec);
    ASSERT_TRUE(w.showTable(m.mar, m.base(), GlucoseUnit::MgDl));
    QSignalSpy written(&w, &statsview::StatisticsWindow::reportWritten);
    rec.fileNames.enqueue(m.tmp.file("aus-dem-fenster"));
    w.findChild<QPushButton *>("ArztberichtBtn")->click();
    EXPECT_GT(QFileInfo(m.tmp.file("aus-dem-fenster.pdf")).size(), 1000);
    EXPECT_EQ(rec.opened, QStringList({m.tmp.file("aus-dem-fenster.pdf")}));
    ASSERT_EQ(rec.dialogCalls.size(), 1);
    EXPECT_TRUE(rec.dialogCalls[0].contains("Arztbericht 01.2024-03.2024.pdf"));
    ASSERT_EQ(written.size(), 1);
    EXPECT_TRUE(rec.shown.isEmpty());
    // No program shows PDF files: the report is written all the same, and
    // the message says where it lies.
    rec.shellResult = false;
    rec.fileNames.enqueue(m.tmp.file("ohne-anzeige"));
    w.findChild<QPushButton *>("ArztberichtBtn")->click();
    ASSERT_EQ(rec.shown.size(), 1);
    EXPECT_TRUE(rec.shown[0].text.contains(m.tmp.file("ohne-anzeige.pdf")));
    // The month changes on disk: reload shows the new figures on the page shown.
    w.showPage(1);
    monthfixture::writeTable(
        m.base() + "Glykovalin-Daten/2024/", 3, 2024, MeasureMode::Eight,
        {{1, MeasurementSlot::Morgens, 100}, {2, MeasurementSlot::Morgens, 200}});
    ASSERT_TRUE(w.reload());
    EXPECT_EQ(w.currentPage(), 1);
    w.showPage(0);
    FigureTable *t = onPage<FigureTable>(w, 0, "Kennzahlen");
    EXPECT_EQ(cell(t, "Messwerte", 1), "2 an 2 Tagen");
    // No target is judged from so few readings.
    int verdicts = 0;
    for (int r = 0; r < t->rowCount(); ++r) {
        EXPECT_FALSE(t->text(r, 2).endsWith("erreicht")) << t->text(r, 2).toStdString();
        verdicts += t->text(r, 2).endsWith("zu wenige Messwerte für eine Bewertung");
    }
    EXPECT_EQ(verdicts, 5);
    w.findChild<QPushButton *>("SchliessenBtn")->click();
    EXPECT_FALSE(w.isVisible());
}

TEST(StatisticsWindow, MenuCommandsWithoutOrWithBadTable) {
    testutil::TempFolder tmp;
    ui::RecordingServices rec;
    statsmenu::Statistik(rec, QString(), tmp.path(), GlucoseUnit::MgDl, nullptr);
    statsmenu::Arztbericht(rec, QString(), tmp.path(), GlucoseUnit::MgDl, nullptr);
    statsmenu::MesswerteAlsCsv(rec, QString(), tmp.path(), nullptr);
    ASSERT_EQ(rec.shown.size(), 3);
    for (const auto &s : rec.shown)
        EXPECT_TRUE(s.text.startsWith("Es ist keine Monatstabelle geöffnet"));
    rec.clear();
    statsmenu::Statistik(rec, tmp.file("MM032024.tab"), tmp.path(), GlucoseUnit::MgDl, nullptr);
    ASSERT_EQ(rec.shown.size(), 1);
    EXPECT_EQ(rec.shown[0].kind, ui::Kind::Warning);
    EXPECT_TRUE(rec.shown[0].text.contains("kann nicht gelesen werden"));
}

TEST(StatisticsWindow, CsvMenuCommandWritesEveryStoredReading) {
    statsfixture::ThreeMonths m;
    ui::RecordingServices rec;
    // Cancelled: nothing written.
    statsmenu::MesswerteAlsCsv(rec, m.feb, m.base(), nullptr);
    EXPECT_TRUE(rec.shown.isEmpty());
    ASSERT_EQ(rec.dialogCalls.size(), 1);
    EXPECT_TRUE(rec.dialogCalls[0].contains(m.base() + "MM022024.csv"));
    // Chosen: every reading of the month, Messung5 of the four-slot month too.
    rec.fileNames.enqueue(m.tmp.file("feb.csv"));
    statsmenu::MesswerteAlsCsv(rec, m.feb, m.base(), nullptr);
    const QByteArray bytes = testutil::readBytes(m.tmp.file("feb.csv"));
    ASSERT_TRUE(bytes.startsWith("\xEF\xBB\xBF"
                                 "Datum;Uhrzeit;Messung;mg/dl;mmol/l\r\n"));
    EXPECT_EQ(bytes.count("\r\n"), 1 + 29 * 4 + 1);
    EXPECT_TRUE(bytes.contains("2024-02-03;12:00;Messung 5;41;2,3\r\n"));
    ASSERT_EQ(rec.shown.size(), 1);
    EXPECT_EQ(
        rec.shown[0].text,
        QString("117 Messwerte wurden in die Datei \"%1\" exportiert.").arg(m.tmp.file("feb.csv")));
}
