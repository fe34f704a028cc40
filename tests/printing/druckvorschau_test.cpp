#include <QCheckBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <gtest/gtest.h>

#include "pdfprinter.h"
#include "platform/machpause.h"
#include "platform/picturebox.h"
#include "platform/profile.h"
#include "platform/ui.h"
#include "printing/druckvorschau.h"
#include "recordingservices.h"
#include "storage/monthmodel.h"
#include "support/golden.h"
#include "testutil.h"

using testutil::child;

namespace {

// Records the pauses instead of waiting.
class RecordingPause : public TMachPause {
public:
    QList<int> pauses;
    void Pause(int ms) override { pauses << ms; }
};

// The graph as a main window shows it: an 800 x 400 graph whose left half
// is dark, so the turn direction can be seen, and a title strip.
GraphArea::Shown shownGraph() {
    GraphArea::Shown s;
    s.graph = QImage(800, 400, QImage::Format_RGB32);
    s.graph.fill(Qt::white);
    for (int y = 0; y < 400; ++y)
        for (int x = 0; x < 400; ++x)
            s.graph.setPixel(x, y, qRgb(0, 0, 0));
    s.header = QImage(200, 20, QImage::Format_RGB32);
    s.header.fill(Qt::gray);
    s.title = QStringLiteral("Glykovalinmesswerte  März 2024  Max");
    s.visibleArea = QImage(500, 200, QImage::Format_RGB32);
    s.visibleArea.fill(Qt::yellow);
    return s;
}

struct Fixture {
    testutil::TempFolder dir;
    ui::RecordingServices rec;
    RecordingPause pause;
    MonthModel model{Folders::at(dir.path())};
    TDruckvorschau dlg{model, rec};
    explicit Fixture(const QString &format,
                     TDruckvorschau::Mode mode = TDruckvorschau::Mode::WholeMonth) {
        if (!format.isEmpty())
            profile::write(dir.file("glykoval.ini"), "Einstellung", "Grafikformat", format);
        dlg.setGraphSource(shownGraph);
        dlg.setPause(&pause);
        dlg.compose(mode);
    }
    QString stored() const {
        return profile::read(dir.file("glykoval.ini"), QStringLiteral("Einstellung"),
                             QStringLiteral("Grafikformat"));
    }
    QCheckBox &box(const char *name) { return child<QCheckBox>(dlg, name); }
    QRect where(const char *name) { return child<QWidget>(dlg, name).geometry(); }
    QString memo() { return child<QPlainTextEdit>(dlg, "Memo1").toPlainText(); }
};

} // namespace

TEST(Druckvorschau, ComposingTicksTheStoredFormatAndTurnsForA4) {
    Fixture f(QStringLiteral("DINA4"));
    // The main window had its pause to repaint before its picture was taken.
    EXPECT_EQ(f.pause.pauses, QList<int>{500});
    EXPECT_TRUE(f.box("DIN4CheckBox").isChecked());
    EXPECT_FALSE(f.box("DIN5CheckBox").isChecked());
    EXPECT_EQ(f.dlg.turnState(), 1);
    EXPECT_EQ(f.dlg.composedPicture().size(), QSize(800, 400));
    EXPECT_EQ(f.dlg.previewPicture().size(), QSize(400, 800));
    EXPECT_EQ(f.where("DruckImage"), QRect(2, 7, 160, 310));
    EXPECT_EQ(f.where("Memo1"), QRect(164, 7, 160, 310));
    EXPECT_TRUE(f.memo().contains(QStringLiteral("Papiergrösse ist DIN A-4.")));
    // Turned clockwise: the dark left half of the graph is now the top half.
    const QImage &turned = f.dlg.previewPicture();
    EXPECT_EQ(turned, graphprint::turnClockwise(f.dlg.composedPicture()));
    EXPECT_LT(qGray(turned.pixel(200, 300)), 128) << "the graph's left half goes to the top";
    EXPECT_EQ(qGray(turned.pixel(200, 700)), 255);
}

TEST(Druckvorschau, FormatBoxesActAsAGroupAndTheTurnIsUndone) {
    Fixture f(QStringLiteral("DINA4"));
    const QImage unturned = f.dlg.composedPicture();
    const QImage turned = graphprint::turnClockwise(unturned);
    // Each click: the box ticked, the turn state and the picture shown.
    const struct {
        const char *click;
        graphprint::Format ticked;
        int turn;
        const QImage &picture;
        QString description;
    } steps[] = {
        {"DIN5CheckBox", graphprint::Format::A5, 0, unturned, "DIN A-5 quer"},
        // Back to A4: turned once, never twice.
        {"DIN4CheckBox", graphprint::Format::A4, 1, turned, "DIN A-4."},
        // A click on the only ticked box leaves it ticked and changes nothing.
        {"DIN4CheckBox", graphprint::Format::A4, 1, turned, "DIN A-4."},
        {"DIN6CheckBox", graphprint::Format::A6, 0, unturned, "Linker und rechter Rand ~ 7"},
        {"DIN5CheckBox", graphprint::Format::A5, 0, unturned, "DIN A-5 quer"},
    };
    for (const auto &s : steps) {
        SCOPED_TRACE(s.click);
        f.box(s.click).click();
        EXPECT_TRUE(f.box(s.click).isChecked());
        EXPECT_EQ(f.dlg.tickedFormat(), s.ticked);
        EXPECT_EQ(f.dlg.turnState(), s.turn);
        EXPECT_EQ(f.dlg.previewPicture(), s.picture);
        EXPECT_TRUE(f.memo().contains(s.description));
    }
    EXPECT_EQ(f.where("Memo1"), QRect(8, 169, 310, 160));
}

TEST(Druckvorschau, DescriptionsCompareWholeWithTheirGoldenFiles) {
    EXPECT_TRUE(golden::matches(TDruckvorschau::descriptionA4().toUtf8(), "printing/a4.txt"));
    EXPECT_TRUE(golden::matches(TDruckvorschau::descriptionA5().toUtf8(), "printing/a5.txt"));
}

// Before the first choice no box is ticked and no description shown;
// closing then stores DIN A4.
TEST(Druckvorschau, NoStoredFormatLeavesAllBoxesUntickedUntilClosed) {
    Fixture f{QString()};
    EXPECT_EQ(f.dlg.tickedFormat(), graphprint::Format::None);
    EXPECT_EQ(f.dlg.turnState(), 0);
    EXPECT_TRUE(f.memo().isEmpty());
    child<QPushButton>(f.dlg, "CancelButton").click();
    EXPECT_EQ(f.stored(), QStringLiteral("DINA4"));
}

// "&Drucken" with a cancelled print dialog stores the format but prints nothing.
TEST(Druckvorschau, CancelledPrintDialogStoresTheFormatAndPrintsNothing) {
    Fixture f(QStringLiteral("DINA4"));
    PdfPrinter pdf;
    f.dlg.setPrinter(&pdf.printer);
    f.box("DIN6CheckBox").click();
    f.rec.printAnswers.enqueue(false);
    child<QPushButton>(f.dlg, "DruckenBtn").click();
    EXPECT_EQ(f.stored(), QStringLiteral("DINA6"));
    EXPECT_FALSE(QFileInfo::exists(pdf.path));
}
