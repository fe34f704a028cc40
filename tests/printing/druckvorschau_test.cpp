#include <QCheckBox>
#include <QFontMetrics>
#include <QLabel>
#include <QPageLayout>
#include <QPlainTextEdit>
#include <QPrinter>
#include <gtest/gtest.h>

#include "graphprint_pdf.h"
#include "platform/pause.h"
#include "platform/picturebox.h"
#include "platform/profile.h"
#include "platform/ui.h"
#include "printing/druckvorschau.h"
#include "recordingservices.h"
#include "storage/monthmodel.h"
#include "testutil.h"

namespace {

// Records what the window shows at each pause instead of waiting.
class RecordingPause : public TMachPause {
public:
    explicit RecordingPause(std::function<void(int)> f) : m_f(std::move(f)) {}
    void Pause(int ms) override { m_f(ms); }

private:
    std::function<void(int)> m_f;
};

// A main window stand-in: graph, title strip and labels.
struct Sources {
    QWidget window;
    PictureBox *graph = new PictureBox(&window);
    PictureBox *header = new PictureBox(&window);
    QLabel *title = new QLabel(QStringLiteral("von Max"), &window);
    QLabel *status = new QLabel(QStringLiteral("123 mg/dl"), &window);
    QStringList pauses;
    RecordingPause pause{[this](int ms) {
        pauses << QString::number(ms) + u':' + title->text() + u':' + status->text();
    }};

    Sources() {
        QImage g(800, 400, QImage::Format_RGB32);
        g.fill(Qt::white);
        // Left half dark so the turn direction can be seen.
        for (int y = 0; y < 400; ++y)
            for (int x = 0; x < 400; ++x)
                g.setPixel(x, y, qRgb(0, 0, 0));
        graph->setPicture(g);
        QImage h(200, 20, QImage::Format_RGB32);
        h.fill(Qt::gray);
        header->setPicture(h);
    }
    GraphPrintSources get() {
        GraphPrintSources s;
        s.graph = graph;
        s.header = header;
        s.title = title;
        s.status = status;
        s.shownArea = &window;
        s.pause = &pause;
        return s;
    }
};

struct Fixture {
    testutil::TempFolder dir;
    ui::RecordingServices rec;
    Sources src;
    MonthModel session{Folders::at(dir.path())};
    TDruckvorschau dlg{session, rec};
    explicit Fixture(const QString &format) {
        if (!format.isEmpty())
            profile::write(dir.file("glykoval.ini"), "Einstellung", "Grafikformat", format);
        drawnTitle(QStringLiteral("Glykovalinmesswerte  März 2024  Max"));
        dlg.setSources(src.get());
    }
    // The title the last drawing pass left.
    void drawnTitle(const QString &title) {
        MonthResult r;
        r.title = title;
        session.setDrawn(r);
    }
    ~Fixture() {
        // The dialog stores its format as it ends; keep that inside the folder.
        dlg.FormDestroy();
    }
    QString stored() const {
        return profile::read(dir.file("glykoval.ini"), QStringLiteral("Einstellung"),
                             QStringLiteral("Grafikformat"));
    }
};

} // namespace

TEST(Druckvorschau, ComposingTicksTheStoredFormatAndTurnsForA4) {
    Fixture f(QStringLiteral("DINA4"));
    f.dlg.prepare(TDruckvorschau::Mode::WholeMonth);
    EXPECT_TRUE(f.dlg.setupPending());
    f.dlg.FormPaint();
    EXPECT_FALSE(f.dlg.setupPending());
    // The main window was shown without readout and title during the pause.
    EXPECT_EQ(f.src.pauses, QStringList{"500::"});
    EXPECT_EQ(f.src.title->text(), QStringLiteral("Glykovalinmesswerte  März 2024  Max"));

    EXPECT_TRUE(f.dlg.DIN4CheckBox->isChecked());
    EXPECT_FALSE(f.dlg.DIN5CheckBox->isChecked());
    EXPECT_EQ(f.dlg.turnState(), 1);
    EXPECT_EQ(f.dlg.TempImage->picture().size(), QSize(800, 400));
    EXPECT_EQ(f.dlg.previewPicture().size(), QSize(400, 800));
    EXPECT_EQ(f.dlg.DruckImage->geometry(), QRect(2, 7, 160, 310));
    EXPECT_EQ(f.dlg.Memo1->geometry(), QRect(164, 7, 160, 310));
    EXPECT_TRUE(f.dlg.Memo1->toPlainText().contains(QStringLiteral("Papiergrösse ist DIN A-4.")));
    // Turned clockwise: the dark left half of the graph is now the top half.
    const QImage &turned = f.dlg.previewPicture();
    EXPECT_EQ(turned, graphprint::turnClockwise(f.dlg.TempImage->picture()));
    EXPECT_LT(qGray(turned.pixel(200, 300)), 128) << "the graph's left half goes to the top";
    EXPECT_EQ(qGray(turned.pixel(200, 700)), 255);
}

TEST(Druckvorschau, FormatBoxesActAsAGroupAndTheTurnIsUndone) {
    Fixture f(QStringLiteral("DINA4"));
    f.dlg.prepare(TDruckvorschau::Mode::WholeMonth);
    f.dlg.FormPaint();
    const QImage unturned = f.dlg.TempImage->picture();

    f.dlg.DIN5CheckBox->click();
    EXPECT_TRUE(f.dlg.DIN5CheckBox->isChecked());
    EXPECT_FALSE(f.dlg.DIN4CheckBox->isChecked());
    EXPECT_EQ(f.dlg.turnState(), 0);
    EXPECT_EQ(f.dlg.previewPicture(), unturned);
    EXPECT_EQ(f.dlg.DruckImage->geometry(), QRect(8, 7, 310, 160));
    EXPECT_EQ(f.dlg.Memo1->geometry(), QRect(8, 169, 310, 160));
    EXPECT_TRUE(f.dlg.Memo1->toPlainText().contains(QStringLiteral("DIN A-5 quer")));

    // Back to A4: turned once, never twice.
    f.dlg.DIN4CheckBox->click();
    EXPECT_EQ(f.dlg.turnState(), 1);
    EXPECT_EQ(f.dlg.previewPicture(), graphprint::turnClockwise(unturned));
    // A click on the only ticked box leaves it ticked and changes nothing.
    f.dlg.DIN4CheckBox->click();
    EXPECT_TRUE(f.dlg.DIN4CheckBox->isChecked());
    EXPECT_EQ(f.dlg.turnState(), 1);
    EXPECT_EQ(f.dlg.previewPicture(), graphprint::turnClockwise(unturned));

    f.dlg.DIN6CheckBox->click();
    EXPECT_EQ(f.dlg.tickedFormat(), graphprint::Format::A6);
    EXPECT_EQ(f.dlg.previewPicture(), unturned);
    EXPECT_TRUE(f.dlg.Memo1->toPlainText().contains(QStringLiteral("Linker und rechter Rand ~ 7")));
    // A5 after A6: still the unturned picture.
    f.dlg.DIN5CheckBox->click();
    EXPECT_EQ(f.dlg.turnState(), 0);
    EXPECT_EQ(f.dlg.previewPicture(), unturned);
}

TEST(Druckvorschau, DescriptionsHaveTheirLines) {
    const QStringList a4 = TDruckvorschau::descriptionA4().split(QStringLiteral("\r\n"));
    ASSERT_EQ(a4.size(), 9);
    EXPECT_EQ(a4[0], QString());
    EXPECT_EQ(a4[1], QStringLiteral("Aktuelle Einstellungen sind:"));
    EXPECT_EQ(a4[2], QString(43, u'-'));
    EXPECT_EQ(a4[8], QStringLiteral("Linker Rand ~25 mm. Rechter Rand ~ 20 mm. Oberer und "
                                    "unterer Rand ~ 20 mm."));
    const QStringList a5 = TDruckvorschau::descriptionA5().split(QStringLiteral("\r\n"));
    ASSERT_EQ(a5.size(), 5);
    EXPECT_EQ(a5[4], QStringLiteral("Papiergrösse ist DIN A-5 quer in Drucker eingelegt. Die "
                                    "Grafik wird an DIN A-5 angepasst. Linker und rechter Rand "
                                    "~ 16 mm.Oberer und unterer Rand ~ 16 mm."));
}

TEST(Druckvorschau, NoStoredFormatLeavesAllBoxesUnticked) {
    Fixture f{QString()};
    // Without a title of a drawing pass the shown title comes back.
    f.drawnTitle(QString());
    f.dlg.prepare(TDruckvorschau::Mode::WholeMonth);
    f.dlg.FormPaint();
    EXPECT_EQ(f.dlg.tickedFormat(), graphprint::Format::None);
    EXPECT_EQ(f.dlg.turnState(), 0);
    EXPECT_TRUE(f.dlg.Memo1->toPlainText().isEmpty());
    EXPECT_EQ(f.src.title->text(), QStringLiteral("von Max"));
    // Ending the dialog then stores DIN A4.
    f.dlg.FormDestroy();
    EXPECT_EQ(f.stored(), QStringLiteral("DINA4"));
}

TEST(Druckvorschau, CancelStoresTheTickedFormatAndPrintsNothing) {
    Fixture f(QStringLiteral("DINA4"));
    f.dlg.prepare(TDruckvorschau::Mode::WholeMonth);
    f.dlg.FormPaint();
    f.dlg.DIN5CheckBox->click();
    f.dlg.CancelButtonClick();
    EXPECT_EQ(f.dlg.result(), QDialog::Rejected);
    EXPECT_EQ(f.stored(), QStringLiteral("DINA5"));
    EXPECT_TRUE(f.rec.shown.isEmpty());

    // "&Drucken" with a cancelled print dialog stores the format but prints nothing.
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(f.dir.file("none.pdf"));
    f.dlg.setPrinter(&printer);
    f.dlg.DIN6CheckBox->click();
    f.rec.printAnswers.enqueue(false);
    f.dlg.DruckenBtnClick();
    EXPECT_EQ(f.stored(), QStringLiteral("DINA6"));
    EXPECT_FALSE(QFileInfo::exists(f.dir.file("none.pdf")));
}

TEST(Druckvorschau, PrintingA4PutsTheTurnedPictureOnAnUprightSheet) {
    if (!pdftools::available()) GTEST_SKIP() << "poppler tools missing";
    Fixture f(QStringLiteral("DINA4"));
    f.dlg.prepare(TDruckvorschau::Mode::WholeMonth);
    f.dlg.FormPaint();
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(f.dir.file("a4.pdf"));
    printer.setPageMargins(QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
    f.dlg.setPrinter(&printer);
    f.rec.printAnswers.enqueue(true);
    f.dlg.DruckenBtnClick();
    // The file the print dialog proposed, in the folder printed into before.
    const QString pdf = printer.outputFileName();
    EXPECT_TRUE(pdf.startsWith(f.dir.path())) << pdf.toStdString();
    EXPECT_EQ(f.dlg.result(), QDialog::Accepted);
    EXPECT_EQ(f.stored(), QStringLiteral("DINA4"));
    ASSERT_EQ(pdftools::pages(pdf), 1);
    const QImage page = pdftools::render(pdf, 1, 60);
    EXPECT_LT(page.width(), page.height());
    // The dark left half of the graph fills the upper half of the 411 x 610
    // rectangle from (34, 40); the time strip, turned with the graph, runs
    // along its right edge and is left out.
    const QRect box = pdftools::darkBox(page.copy(0, 0, 34 + 350, page.height()));
    EXPECT_NEAR(box.left(), 34, 3);
    EXPECT_NEAR(box.top(), 40, 3);
    EXPECT_NEAR(box.bottom(), 40 + 305, 3);
    EXPECT_LE(pdftools::darkBox(page).right(), 34 + 411 + 1);
}

TEST(Druckvorschau, VisibleAreaTakesWhatTheWindowShows) {
    Fixture f(QStringLiteral("DINA5"));
    f.src.window.resize(500, 300);
    PictureBox shown(&f.src.window);
    QImage yellow(500, 300, QImage::Format_RGB32);
    yellow.fill(Qt::yellow);
    shown.setPicture(yellow);
    QWidget diary(&f.src.window);
    diary.setGeometry(0, 200, 500, 100);
    GraphPrintSources s = f.src.get();
    s.diaryEditor = &diary;
    f.dlg.setSources(s);
    f.dlg.prepare(TDruckvorschau::Mode::VisibleArea);
    f.dlg.FormPaint();
    const QImage &pic = f.dlg.previewPicture();
    EXPECT_EQ(pic.size(), QSize(500, 200));
    EXPECT_EQ(QColor(pic.pixel(499, 199)), QColor(Qt::yellow));
    EXPECT_EQ(QColor(pic.pixel(21, 7)), QColor(Qt::cyan));
    EXPECT_EQ(f.dlg.tickedFormat(), graphprint::Format::A5);
    EXPECT_EQ(f.dlg.DruckImage->geometry(), QRect(8, 7, 310, 160));
}

// The shown part is taken without the window's own title label: the sheet
// carries the title once, on cyan, not a second time where the label stands.
TEST(Druckvorschau, VisibleAreaCarriesTheTitleOnce) {
    if (!QFontMetrics(QFont(QStringLiteral("Arial"))).inFont(QChar(u'G')))
        GTEST_SKIP() << "no font";
    Fixture f(QStringLiteral("DINA5"));
    f.src.window.resize(900, 300);
    f.src.window.setStyleSheet(QStringLiteral("background: white"));
    f.src.title->setText(QStringLiteral("Glykovalinmesswerte  März 2024  Max"));
    f.src.title->setGeometry(500, 4, 380, 19);
    f.src.graph->hide();
    f.src.header->hide();
    f.src.status->hide();
    f.dlg.prepare(TDruckvorschau::Mode::VisibleArea);
    f.dlg.FormPaint();
    const QImage &pic = f.dlg.TempImage->picture();
    int dark = 0;
    for (int y = 4; y < 23; ++y)
        for (int x = 500; x < 880; ++x)
            if (qGray(pic.pixel(x, y)) < 128) ++dark;
    EXPECT_EQ(dark, 0);
    EXPECT_EQ(QColor(pic.pixel(21, 7)), QColor(Qt::cyan));
    EXPECT_EQ(f.src.title->text(), QStringLiteral("Glykovalinmesswerte  März 2024  Max"));
}
