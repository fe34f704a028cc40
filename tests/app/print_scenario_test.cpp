// Printing from the main window's menu, as the user does it: the graph in
// both forms, the table and the diary book; and the browser chart.

#include <QApplication>
#include <QCheckBox>
#include <QDate>
#include <QFileInfo>
#include <QPointer>
#include <QPushButton>

#include "graph/geometry.h"
#include "printing/druckvorschau.h"
#include "printing/druckvorschautabelledlg.h"
#include "scenario.h"
#include "storage/monthtable.h"
#include "support/pdftools.h"

namespace {

using scenario::App;
using scenario::Folder;
using testutil::child;

// This month's table of Max Muster with readings from 40 to 400 mg/dl on the
// first ten days, remembered as the month to open at start-up; its diary
// holds pages for days 3 and 7.
struct PrintMonth {
    Folder f{{"BenutzerName=Max Muster"}};
    QDate today = QDate::currentDate();
    QString table;
    PrintMonth() {
        const int values[] = {40, 400, 120, 95, 250};
        const MeasurementSlot daySlots[] = {MeasurementSlot::Morgens, MeasurementSlot::Messung2,
                                            MeasurementSlot::Messung3, MeasurementSlot::Abends};
        const char *times[] = {"07:00", "12:00", "17:00", "21:30"};
        QStringList readings;
        for (int day = 1; day <= 10; ++day)
            for (int s = 0; s < 4; ++s)
                readings << scenario::reading(daySlots[s], day, today.month(), today.year(),
                                              times[s], values[(day + s) % 5]);
        table = scenario::storeTable(f, today.month(), today.year(), readings);
        testutil::writeBytes(monthtable::diaryPathOf(table),
                             scenario::diaryPage(7, 3, "Sport") +
                                 scenario::diaryPage(3, 3, "Sport"));
    }
};

// Rows of a picture in which at least `length` pixels have the colour.
QList<int> rowsOf(const QImage &pic, QColor color, int length) {
    QList<int> rows;
    for (int y = 0; y < pic.height(); ++y) {
        int n = 0;
        for (int x = 0; x < pic.width(); ++x)
            if (QColor(pic.pixel(x, y)) == color) ++n;
        if (n >= length) rows << y;
    }
    return rows;
}

// Pixels in a band of rows that are nearly the colour.
int pixelsLike(const QImage &pic, int top, int bottom, QColor color) {
    int n = 0;
    for (int y = std::max(0, top); y <= std::min(bottom, pic.height() - 1); ++y)
        for (int x = 0; x < pic.width(); ++x) {
            const QColor c(pic.pixel(x, y));
            const int off = std::abs(c.red() - color.red()) + std::abs(c.green() - color.green()) +
                            std::abs(c.blue() - color.blue());
            if (off < 60) ++n;
        }
    return n;
}

const QColor kHigh(255, 0, 0), kLow(0, 0, 255), kCurve(0, 0, 128);

// "Grafik nur sichtbaren Bereich drucken" takes the whole value range of the
// graph as the window shows it: the three limit lines, the curve down to its
// lowest reading and the day numbers below the zero row. It was cut at
// about 200 mg/dl. In DIN A5 the preview shows it unturned beside the
// description, with the title on cyan at its top left.
TEST(PrintScenario, VisibleAreaCoversTheWholeValueRange) {
    PrintMonth month;
    App app;
    QImage pic;
    app.whenModal([&](QWidget *m) {
        auto *preview = qobject_cast<TDruckvorschau *>(m);
        ASSERT_NE(preview, nullptr) << m->objectName().toStdString();
        pic = preview->composedPicture();
        child<QCheckBox>(*preview, "DIN5CheckBox").click();
        EXPECT_EQ(preview->turnState(), 0);
        EXPECT_EQ(QColor(preview->previewPicture().pixel(21, 7)), QColor(Qt::cyan));
        EXPECT_EQ(child<QWidget>(*preview, "DruckImage").geometry(), QRect(8, 7, 310, 160));
        child<QPushButton>(*preview, "CancelButton").click();
    });
    app.menu("GrafikNurSichtbarenBereichdrucken1");
    EXPECT_TRUE(app.rec.shown.isEmpty()) << app.said();
    EXPECT_EQ(month.f.setting("Grafikformat"), "DINA5");
    ASSERT_FALSE(pic.isNull());
    const QList<int> high = rowsOf(pic, kHigh, pic.width() / 2);
    const QList<int> low = rowsOf(pic, kLow, pic.width() / 2);
    ASSERT_FALSE(high.isEmpty()) << "the high limit line";
    ASSERT_FALSE(low.isEmpty()) << "the low limit line";
    // The rows of 180 and 60 mg/dl lie 84 pixels apart on the graph.
    EXPECT_NEAR(low.first() - high.first(), graphgeo::RowY(60) - graphgeo::RowY(180), 2);
    // The curve reaches the 40 mg/dl readings below the low line and the 400
    // mg/dl ones near the top.
    const int zero = low.first() + graphgeo::RowY(0) - graphgeo::RowY(60);
    const int top = zero - (graphgeo::RowY(0) - graphgeo::RowY(400));
    EXPECT_GT(pixelsLike(pic, low.last() + 2, zero, kCurve), 10) << "curve below the low line";
    EXPECT_GT(pixelsLike(pic, top - 4, top + 4, kCurve), 10) << "curve at 400 mg/dl";
    // The day numbers stand below the zero row.
    ASSERT_GT(pic.height(), zero + 22) << "the picture ends above the day numbers";
    EXPECT_GT(pixelsLike(pic, zero + 6, zero + 22, Qt::black), 30) << "the day numbers";
}

// "Grafik ganzen Monat drucken": the whole month with the title above it,
// the slot times in blue below the title strip and the monthly mean in black
// below them. In DIN A4 the preview turns the picture, "&Drucken" writes it
// into the PDF file proposed in the base folder, upright, filling the
// rectangle of the A4 print, 411 x 610 pixels at 60 dpi from (34, 40).
TEST(PrintScenario, WholeMonthIntoAnUprightA4Pdf) {
    PrintMonth month;
    App app;
    app.rec.printAnswers.enqueue(true);
    QImage pic, turned;
    app.whenModal([&](QWidget *m) {
        auto *preview = qobject_cast<TDruckvorschau *>(m);
        ASSERT_NE(preview, nullptr) << m->objectName().toStdString();
        child<QCheckBox>(*preview, "DIN4CheckBox").click();
        EXPECT_EQ(preview->turnState(), 1);
        turned = preview->previewPicture();
        pic = preview->composedPicture();
        child<QPushButton>(*preview, "DruckenBtn").click();
    });
    app.menu("GrafikganzenMonatdrucken1");
    EXPECT_TRUE(app.rec.shown.isEmpty()) << app.said();
    EXPECT_EQ(month.f.setting("Grafikformat"), "DINA4");
    ASSERT_FALSE(pic.isNull());
    const QImage header(month.f.path() + "Header.bmp");
    ASSERT_FALSE(header.isNull());
    // The title is written over the title strip.
    int titleInk = 0;
    for (int y = 2; y < std::min(header.height(), 20); ++y)
        for (int x = 0; x < std::min(header.width(), pic.width()); ++x)
            if (qGray(pic.pixel(x, y)) < 100 && qGray(header.pixel(x, y)) >= 100) ++titleInk;
    EXPECT_GT(titleInk, 50) << "the title";
    const int y = header.height() + 2;
    EXPECT_GT(pixelsLike(pic, y + 20, y + 34, QColor(0, 0, 255)), 50) << "the time strip";
    EXPECT_GT(pixelsLike(pic, y + 70, y + 90, Qt::black), 100) << "the monthly mean";
    // The graph below with its limit lines.
    EXPECT_FALSE(rowsOf(pic, kHigh, pic.width() / 2).isEmpty());
    EXPECT_FALSE(rowsOf(pic, kLow, pic.width() / 2).isEmpty());

    if (!pdftools::available()) GTEST_SKIP() << "poppler tools missing";
    const QString pdf = month.f.path() + QFileInfo(month.table).completeBaseName() + "-Grafik.pdf";
    ASSERT_EQ(pdftools::pages(pdf), 1) << pdf.toStdString();
    const QImage page = pdftools::render(pdf, 1, 60);
    EXPECT_LT(page.width(), page.height());
    // The printer's own margins move the rectangle, never enlarge it.
    const QRect box = pdftools::darkBox(page);
    EXPECT_GE(box.left(), 34 - 2);
    EXPECT_GE(box.top(), 40 - 2);
    EXPECT_LE(box.width(), 411 + 2);
    EXPECT_LE(box.height(), 610 + 2);
    EXPECT_GT(box.height(), 580) << "the turned graph runs down the sheet";
    // What is printed looks like the turned picture, not like the unturned one.
    const auto distance = [&](const QImage &picture) {
        const QImage a = page.copy(box).scaled(8, 12).convertToFormat(QImage::Format_Grayscale8);
        const QImage b = picture.scaled(8, 12).convertToFormat(QImage::Format_Grayscale8);
        int sum = 0;
        for (int y = 0; y < 12; ++y)
            for (int x = 0; x < 8; ++x)
                sum += std::abs(qGray(a.pixel(x, y)) - qGray(b.pixel(x, y)));
        return sum;
    };
    EXPECT_LT(distance(turned) * 3 / 2, distance(pic));
}

// "&Tabelle drucken": the table window opens and prints once it is shown:
// the print dialog, then the preview with the margins, and "Drucken" writes
// the table into the PDF file proposed in the base folder, as there is no
// printer here. The print engine, and with it the system's print support,
// is made at this first print, not when the program starts.
TEST(PrintScenario, TableFromTheMenuIntoAPdfFile) {
    if (!pdftools::available()) GTEST_SKIP() << "poppler tools missing";
    PrintMonth month;
    App app;
    app.rec.printAnswers.enqueue(true); // the print dialog before the preview
    app.rec.printAnswers.enqueue(true); // "Drucken" in the preview
    bool printed = false;
    auto print = [&](QWidget *preview) {
        ASSERT_NE(qobject_cast<TDruckvorschauTabelleDlg *>(preview), nullptr);
        child<QPushButton>(*preview, "OKBtn").click();
        printed = true;
    };
    // The preview comes over the table window, which is closed after it.
    app.whenModal([&](QWidget *first) {
        if (first->objectName() != "TabellenDlg") {
            app.whenModal([](QWidget *table) { table->close(); });
            print(first);
            return;
        }
        app.whenModal(print);
        QPointer<QWidget> table = first;
        App::settle(300);
        if (table) table->close();
    });
    app.menu("Tabelledrucken1");
    App::settle();
    EXPECT_TRUE(printed);
    EXPECT_TRUE(app.rec.shown.isEmpty()) << app.said();
    const QString pdf = month.f.path() + QFileInfo(month.table).completeBaseName() + "-Tabelle.pdf";
    ASSERT_TRUE(QFileInfo(pdf).isFile()) << pdf.toStdString();
    const QString text = pdftools::run(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")});
    EXPECT_TRUE(text.contains(QStringLiteral("von Max Muster"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("400"))) << text.toStdString();
}

// "Alle gespeicherten Tagebuchseiten drucken": the book window shows the
// pages, "Drucken" follows at once, and the PDF is written where the user
// chose and handed to the program that opens PDF files. "Liniendiagramm im
// Browser anzeigen": the month's page is written into the browser folder
// and handed to the browser.
TEST(PrintScenario, DiaryBookAndBrowserChartFromTheMenu) {
    PrintMonth month;
    App app;
    const QString pdf = month.f.path() + "buch.pdf";
    app.rec.fileNames.enqueue(pdf);
    app.menu("AllegespeichertenTagebuchseitendrucken1");
    App::settle();
    EXPECT_TRUE(app.rec.shown.isEmpty()) << app.said();
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr) << "the book window closed";
    ASSERT_TRUE(QFileInfo(pdf).isFile());

    app.menu("LiniendiagrammimBrowseranzeigen1");
    const QString html = month.f.path() + "Glykovalin-Daten im Browser/" +
                         QString::number(month.today.year()) + "/" +
                         QFileInfo(month.table).completeBaseName() + ".html";
    EXPECT_EQ(app.rec.opened, QStringList({pdf, html}));
    const QByteArray page = testutil::readBytes(html);
    EXPECT_TRUE(page.startsWith("<!doctype html>"));
    EXPECT_TRUE(page.contains("Glykovalin-Werte von Max Muster"));
    EXPECT_TRUE(page.contains("data: [216,126,196,203,164,"));

    if (!pdftools::available()) GTEST_SKIP() << "poppler tools missing";
    const QString text = pdftools::run(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")});
    EXPECT_LT(text.indexOf(QStringLiteral("Tag: 03")), text.indexOf(QStringLiteral("Tag: 07")))
        << text.toStdString();
    EXPECT_GE(text.indexOf(QStringLiteral("Tag: 03")), 0);
}

} // namespace
