// The graph print and the browser chart started from their menu entries in
// the running program, on the month it opened at start-up.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QDate>
#include <QFileInfo>
#include <QPushButton>

#include "platform/profile.h"
#include "printing/druckvorschau.h"
#include "scenario.h"
#include "support/pdftools.h"

namespace {

using scenario::App;
using scenario::Folder;
using testutil::child;

// This month's table of Max Muster, readings on its first five days,
// remembered as the month to open at start-up.
struct Month {
    Folder f{{"BenutzerName=Max Muster"}};
    QDate today = QDate::currentDate();
    QString name = QStringLiteral("MM%1").arg(today.toString(QStringLiteral("MMyyyy")));
    QString table = f.table(name + ".tab", today.year());
    Month() {
        QStringList readings;
        for (int day = 1; day <= 5; ++day)
            readings << scenario::reading(MeasurementSlot::Morgens, day, today.month(),
                                          today.year(), "07:00", 60 + 40 * day);
        testutil::writeBytes(
            table, scenario::monthFile("Max Muster", today.month(), today.year(), readings));
        profile::write(f.ini(), "Einstellung", "TabellenDateiName", table);
    }
};

} // namespace

// "Grafik ganzen Monat drucken" in DIN A4: the preview turns the picture,
// "&Drucken" writes it into the PDF file proposed in the base folder, upright,
// filling the rectangle of the A4 print, 411 x 610 pixels at 60 dpi from
// (34, 40).
TEST(MenuCommands, GraphPrintIntoAnUprightA4Pdf) {
    if (!pdftools::available()) GTEST_SKIP() << "poppler tools missing";
    Month month;
    App app;
    app.rec.printAnswers.enqueue(true);
    QImage turned, unturned;
    app.whenModal([&](QWidget *m) {
        auto *preview = qobject_cast<TDruckvorschau *>(m);
        ASSERT_NE(preview, nullptr) << m->objectName().toStdString();
        child<QCheckBox>(*preview, "DIN4CheckBox").click();
        EXPECT_EQ(preview->turnState(), 1);
        turned = preview->previewPicture();
        unturned = preview->composedPicture();
        child<QPushButton>(*preview, "DruckenBtn").click();
    });
    app.menu("GrafikganzenMonatdrucken1");
    App::settle();
    EXPECT_TRUE(app.rec.shown.isEmpty()) << app.rec.texts().join(u'\n').toStdString();
    EXPECT_EQ(profile::read(month.f.ini(), "Einstellung", "Grafikformat"), "DINA4");
    const QString pdf = month.f.path() + month.name + "-Grafik.pdf";
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
    EXPECT_LT(distance(turned) * 3 / 2, distance(unturned));
}

// "Grafik nur sichtbaren Bereich drucken" in DIN A5: the part in view, with
// the title on cyan at its top left, unturned beside the description.
TEST(MenuCommands, VisibleAreaPreviewCarriesTheTitleOnCyan) {
    Month month;
    App app;
    app.whenModal([&](QWidget *m) {
        auto *preview = qobject_cast<TDruckvorschau *>(m);
        ASSERT_NE(preview, nullptr) << m->objectName().toStdString();
        child<QCheckBox>(*preview, "DIN5CheckBox").click();
        EXPECT_EQ(preview->turnState(), 0);
        EXPECT_EQ(QColor(preview->previewPicture().pixel(21, 7)), QColor(Qt::cyan));
        EXPECT_EQ(child<QWidget>(*preview, "DruckImage").geometry(), QRect(8, 7, 310, 160));
        child<QPushButton>(*preview, "CancelButton").click();
    });
    app.menu("GrafikNurSichtbarenBereichdrucken1");
    App::settle();
    EXPECT_TRUE(app.rec.shown.isEmpty()) << app.rec.texts().join(u'\n').toStdString();
    EXPECT_EQ(profile::read(month.f.ini(), "Einstellung", "Grafikformat"), "DINA5");
}

// "Liniendiagramm im Browser anzeigen": the month's page is written into the
// browser folder and handed to the browser.
TEST(MenuCommands, BrowserChartOfTheOpenMonth) {
    Month month;
    App app;
    app.menu("LiniendiagrammimBrowseranzeigen1");
    App::settle();
    const QString page = month.f.path() + "Glykovalin-Daten im Browser/" +
                         QString::number(month.today.year()) + "/" + month.name + ".html";
    EXPECT_EQ(app.rec.opened, QStringList{page});
    const QByteArray html = testutil::readBytes(page);
    EXPECT_TRUE(html.startsWith("<!doctype html>"));
    EXPECT_TRUE(html.contains("Glykovalin-Werte von Max Muster"));
    EXPECT_TRUE(html.contains("data: [100,140,180,220,260,"));
}
