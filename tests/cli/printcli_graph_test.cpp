#include <QPageLayout>
#include <QPainter>
#include <QPrinter>
#include <QPushButton>
#include <QTransform>
#include <gtest/gtest.h>

#include "graph/geometry.h"
#include "graph/graphcli.h"
#include "platform/machpause.h"
#include "platform/ui.h"
#include "printing/druckvorschau.h"
#include "printing/graphprint.h"
#include "recordingservices.h"
#include "storage/monthmodel.h"
#include "support/clirun.h"
#include "support/pdftools.h"
#include "support/printfolder.h"
#include "testutil.h"

using graphprint::Format;

namespace {

// The waits of the preview pass at once.
class NoPause : public TMachPause {
public:
    void Pause(int) override {}
};

// Where the picture lies on a page rendered at dpi: the format's rectangle
// inside the printable area of a 1200 dpi PDF printer with that paper.
QRect pictureOnPage(Format f, int dpi) {
    QPrinter pr(QPrinter::HighResolution);
    pr.setOutputFormat(QPrinter::PdfFormat);
    graphprint::setPaper(pr, f);
    const QRect area = pr.pageLayout().paintRectPixels(pr.resolution());
    const QRect r = graphprint::printRect(f, pr.resolution(), pr.resolution(), area.size())
                        .translated(area.topLeft());
    const double k = dpi / double(pr.resolution());
    return QRect(QPoint(qRound(r.left() * k), qRound(r.top() * k)),
                 QPoint(qRound((r.right() + 1) * k) - 1, qRound((r.bottom() + 1) * k) - 1));
}

// The rendered page cut back to the composed whole-month picture: the
// print rectangle scaled to the picture's size, the DIN A4 turn undone.
QImage composedFromPage(const QImage &page, Format f, int dpi, QSize composed) {
    const QSize sheet = f == Format::A4 ? composed.transposed() : composed;
    QImage cut = page.copy(pictureOnPage(f, dpi))
                     .scaled(sheet, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    if (f == Format::A4) cut = cut.transformed(QTransform().rotate(-90));
    return cut.convertToFormat(QImage::Format_RGB32);
}

// Row of the composed picture that shows graph row r: the graph is
// squeezed below the 27-pixel title strip, starting at row 27 + 2 + 20.
int composedRow(int r) {
    return 49 + r * (graphgeo::kPictureHeight - 49) / graphgeo::kPictureHeight;
}

// The label column of the composed picture between two graph rows.
QRect labelColumn(int fromRow, int toRow) {
    return QRect(2, composedRow(fromRow), 33, composedRow(toRow) - composedRow(fromRow));
}

int darkPixels(const QImage &img, const QRect &r) {
    int n = 0;
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            if (qGray(img.pixel(x, y)) < 140) ++n;
    return n;
}

// Pixels of the hue of a limit colour (red, orange or blue), also where
// anti-aliasing has lightened them.
int pixelsLike(const QImage &img, const QRect &r, const QColor &c) {
    int n = 0;
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x) {
            const QColor p = img.pixelColor(x, y);
            const int d = std::abs(p.hue() - c.hue());
            n += p.saturation() > 100 && std::min(d, 360 - d) < 15;
        }
    return n;
}

} // namespace

// The headless graph print of each format is a valid one-page PDF on the
// format's paper, and the sheet carries the mg/dl scale with its tick
// labels at their rows, the three limit values in their colours beside
// their lines, and the title strip.
TEST(PrintCliGraph, EachFormatCarriesTheScaleAndTheLimitValues) {
    if (!pdftools::haveTools() || !pdftools::haveFonts())
        GTEST_SKIP() << "poppler, qpdf or fonts missing";
    PrintFolder folder;
    const QSize composed(graphgeo::kPictureWidth, graphgeo::kPictureHeight);
    const struct {
        const char *arg;
        Format f;
        const char *paper;
    } formats[] = {{"A4", Format::A4, "595 x 842"},
                   {"A5", Format::A5, "595 x 420"},
                   {"A6", Format::A6, "420 x 297"}};
    for (const auto &fmt : formats) {
        SCOPED_TRACE(fmt.arg);
        const QString pdf = folder.file(QStringLiteral("grafik-%1.pdf").arg(fmt.arg));
        testutil::Cli cli;
        ASSERT_EQ(cli.run({"print-graph", "MM032024.tab", pdf, "--format", fmt.arg}), 0)
            << cli.err.toStdString();
        QString report;
        EXPECT_TRUE(pdftools::valid(pdf, &report)) << report.toStdString();
        EXPECT_EQ(pdftools::pages(pdf), 1);
        EXPECT_TRUE(pdftools::info(pdf, "Page size").startsWith(fmt.paper))
            << pdftools::info(pdf, "Page size").toStdString();
        EXPECT_EQ(pdftools::info(pdf, "Title"), "MM032024-Grafik");

        const int dpi = 200;
        const QImage page = pdftools::render(pdf, 1, dpi);
        ASSERT_FALSE(page.isNull());
        const QImage pic = composedFromPage(page, fmt.f, dpi, composed);
        for (int t = 0; t <= 500; t += 50) {
            // Tick label t stands right-aligned left of the tick at its row;
            // half way to the next tick the label column is empty.
            const int row = graphgeo::RowY(t), mid = graphgeo::RowY(t + 25);
            EXPECT_GT(darkPixels(pic, labelColumn(row - 5, row + 5)), 10) << "tick label " << t;
            if (t < 500) {
                EXPECT_EQ(darkPixels(pic, labelColumn(mid - 3, mid + 3)), 0) << "after " << t;
            }
        }
        // The limit values 180 (red), 140 (orange) and 60 (blue) right of their lines.
        const struct {
            int value;
            QColor color;
        } limits[] = {
            {180, QColor(255, 0, 0)}, {140, QColor(255, 128, 0)}, {60, QColor(0, 0, 255)}};
        for (const auto &l : limits) {
            const int row = composedRow(graphgeo::RowY(l.value));
            EXPECT_GT(pixelsLike(pic, QRect(1528, row - 6, 21, 12), l.color), 3)
                << "limit " << l.value;
        }
        // The title strip carries the title in black.
        EXPECT_GT(darkPixels(pic, QRect(400, 2, 750, 22)), 50);
    }

    // The stored format is the default; a wrong one is refused.
    testutil::Cli cli;
    EXPECT_EQ(cli.run({"print-graph", "MM032024.tab", "stored.pdf"}), 0);
    EXPECT_TRUE(pdftools::info(folder.file("stored.pdf"), "Page size").startsWith("595 x 842"));
    EXPECT_EQ(cli.run({"print-graph", "MM032024.tab", "x.pdf", "--format", "A3"}), 2);
    EXPECT_TRUE(cli.err.contains("A3"));
    EXPECT_EQ(cli.run({"print-graph", "fehlt.tab", "x.pdf"}), 1);
    EXPECT_FALSE(QFileInfo::exists(folder.file("x.pdf")));
    EXPECT_EQ(cli.run({"print-graph", "MM032024.tab"}), 2);
}

// The menu command "Grafik ganzen Monat drucken" and the headless command
// print the same sheet: the preview composed from the drawn month's pieces
// (as the main window holds them) and printed into a PDF file gives the
// same page as print-graph.
TEST(PrintCliGraph, HeadlessPrintIsTheMenuPrint) {
    if (!pdftools::haveTools() || !pdftools::haveFonts())
        GTEST_SKIP() << "poppler, qpdf or fonts missing";
    PrintFolder folder;
    for (const char *fmt : {"A4", "A5"}) {
        SCOPED_TRACE(fmt);
        graphcli::DrawnMonth drawn;
        QString error;
        ASSERT_TRUE(graphcli::draw(folder.table, drawn, &error)) << error.toStdString();

        // The graph as the main window shows it.
        GraphArea::Shown shown;
        static_cast<MonthPieces &>(shown) = drawn;
        NoPause noPause;
        MonthModel model(Folders::at(folder.tmp.path()));
        model.settings().set(keys::Grafikformat, fmt == QStringLiteral("A4") ? "DINA4" : "DINA5");
        model.open(folder.table);

        ui::RecordingServices rec;
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        {
            TDruckvorschau dlg(model, rec);
            dlg.setGraphSource([&shown] { return shown; });
            dlg.setPause(&noPause);
            dlg.setPrinter(&printer);
            dlg.compose(TDruckvorschau::Mode::WholeMonth);
            rec.printAnswers.enqueue(true);
            testutil::child<QPushButton>(dlg, "DruckenBtn").click();
        }
        EXPECT_TRUE(rec.shown.isEmpty()) << rec.texts().join(u'\n').toStdString();
        const QString menuPdf = printer.outputFileName();
        EXPECT_EQ(menuPdf, folder.file("MM032024-Grafik.pdf"));

        const QString cliPdf = folder.file(QStringLiteral("cli-%1.pdf").arg(fmt));
        testutil::Cli cli;
        ASSERT_EQ(cli.run({"print-graph", folder.table, cliPdf, "--format", fmt}), 0)
            << cli.err.toStdString();
        EXPECT_TRUE(pdftools::valid(menuPdf));
        EXPECT_EQ(pdftools::pages(menuPdf), pdftools::pages(cliPdf));
        // Equal images have equal sizes: the same paper in the same turn.
        EXPECT_TRUE(pdftools::render(menuPdf, 1, 72) == pdftools::render(cliPdf, 1, 72))
            << "the two sheets differ";
        QFile::remove(menuPdf);
    }
}

// The visible part of the window is printed with the limit values at the
// right edge of what is shown, beside their lines.
TEST(PrintCliGraph, VisiblePartCarriesTheLimitValues) {
    if (!pdftools::haveFonts()) GTEST_SKIP() << "no font";
    PrintFolder folder;
    graphcli::DrawnMonth drawn;
    QString error;
    ASSERT_TRUE(graphcli::draw(folder.table, drawn, &error)) << error.toStdString();
    // What the window shows: 700 pixels of the graph below the title strip.
    GraphArea::Shown shown;
    shown.visibleArea = QImage(700, 600, QImage::Format_RGB32);
    shown.visibleArea.fill(Qt::white);
    QPainter(&shown.visibleArea).drawImage(0, 27, drawn.graph);
    shown.graphOrigin = QPoint(0, 27);
    shown.title = QStringLiteral("Glykovalinmesswerte  März 2024  Max Muster");
    NoPause noPause;
    MonthModel model(Folders::at(folder.tmp.path()));
    ui::RecordingServices rec;
    TDruckvorschau dlg(model, rec);
    dlg.setGraphSource([&shown] { return shown; });
    dlg.setPause(&noPause);
    dlg.compose(TDruckvorschau::Mode::VisibleArea);
    const QImage &pic = dlg.composedPicture();
    ASSERT_EQ(pic.width(), 700);
    // Above each line (which crosses the whole width) stand the value's glyphs.
    const int red = 27 + graphgeo::RowY(180);
    EXPECT_GT(pixelsLike(pic, QRect(670, red - 6, 28, 5), QColor(255, 0, 0)), 3);
    const int blue = 27 + graphgeo::RowY(60);
    EXPECT_GT(pixelsLike(pic, QRect(670, blue - 6, 28, 5), QColor(0, 0, 255)), 3);
}
