#include <QComboBox>
#include <QPrinter>
#include <QPushButton>
#include <QSpinBox>
#include <gtest/gtest.h>

#include "platform/profile.h"
#include "platform/ui.h"
#include "printing/druckvorschautabelledlg.h"
#include "recordingservices.h"
#include "storage/entryline.h"
#include "storage/monthmodel.h"
#include "storage/monthtable.h"
#include "testutil.h"

namespace {

// Records what the dialog asks of the engine.
class FakeEngine : public TablePrintEngine {
public:
    QStringList log;
    QStringList lines;
    double left = 0, right = 0, top = 0, bottom = 0;
    int zoom = 0;
    bool printResult = true;
    int prints = 0;
    QColor color;
    QWidget view;
    QPrinter pr;

    QWidget *widget() override { return &view; }
    void setRandLeft(double mm) override { log << "left " + QString::number(left = mm); }
    void setRandRight(double mm) override { log << "right " + QString::number(right = mm); }
    void setRandTop(double mm) override { log << "top " + QString::number(top = mm); }
    void setRandBottom(double mm) override { log << "bottom " + QString::number(bottom = mm); }
    void setZoomPercent(int p) override { log << "zoom " + QString::number(zoom = p); }
    void setPortrait() override { log << "portrait"; }
    void clearLines() override { log << "clear"; }
    void BeginDoc() override {
        log << "begin";
        lines.clear();
    }
    void WriteLine(const QString &t) override { lines << t; }
    void EndDoc() override { log << "end"; }
    bool Print() override {
        ++prints;
        return printResult;
    }
    void setTextColor(const QColor &c) override { color = c; }
    QPrinter *printer() override { return &pr; }
};

const QStringList kTable{"GLYKOVALINMESSWERTE: März 2024 von Max Muster", "=====", "",
                         "  Datum  |    Morgens    | Wert |", "   01       |  07:00  |  95  |"};

struct PreviewFixture {
    testutil::TempFolder dir;
    ui::RecordingServices rec;
    MonthModel model{Folders::at(dir.path())};
    TDruckvorschauTabelleDlg dlg{model, rec};
    FakeEngine *engine = new FakeEngine;
    QString table;
    QByteArray original;
    PreviewFixture() {
        dlg.setEngine(std::unique_ptr<TablePrintEngine>(engine));
        table = dir.file("MM032024.tab");
        // A month table as the program writes it, with a hand-made umlaut line.
        original = testutil::crlf(
            testutil::monthHeader("Max Muster", "März 2024", false, {"15", "8", "12", "9"}));
        original.replace("M\xC3\xA4rz", "M\xE4rz");
        original += "Morgens den    01.03.2024 Z=07:00  ZuckerWert=95\r\n"
                    "Abends den     01.03.2024 Z=21:30  ZuckerWert=140\r\n";
        testutil::writeBytes(table, original);
        model.open(table);
    }
    bool prepare() {
        rec.printAnswers.enqueue(true);
        return dlg.prepareFromTable(kTable);
    }
    QSpinBox &margin(const char *name) { return testutil::child<QSpinBox>(dlg, name); }
    void click(const char *name) { testutil::child<QPushButton>(dlg, name).click(); }
};

} // namespace

TEST(TabellenVorschau, TablePrintCommandBuildsTheFirstPreview) {
    PreviewFixture f;
    EXPECT_EQ(f.dlg.windowTitle(), QStringLiteral("Druckvorschau"));
    EXPECT_EQ(f.engine->view.parentWidget(), &f.dlg);
    EXPECT_EQ(f.engine->view.objectName(), "MyPrinter2");

    // A cancelled print dialog prepares nothing.
    EXPECT_FALSE(f.dlg.prepareFromTable(kTable));
    EXPECT_TRUE(f.engine->log.isEmpty());

    ASSERT_TRUE(f.prepare());
    EXPECT_TRUE(testutil::child<QPushButton>(f.dlg, "BitBtn1").isHidden());
    // The engine gets the margin fields' values.
    EXPECT_EQ(f.engine->log, (QStringList{"left 15", "right 8", "top 12", "bottom 9", "zoom 25",
                                          "portrait", "clear", "begin", "end"}));
    EXPECT_EQ(f.engine->lines, QStringList({"    ", "    "}) + kTable);
}

TEST(TabellenVorschau, MissingMarginsDefaultToTenAndBadOnesStop) {
    PreviewFixture f;
    testutil::writeBytes(f.table, testutil::crlf({"[Personendaten]", "BenutzerName=Max"}));
    ASSERT_TRUE(f.prepare());
    EXPECT_EQ(f.margin("SpinEdit1").value(), 10);
    EXPECT_EQ(f.margin("SpinEdit4").value(), 10);

    testutil::writeBytes(f.table, testutil::crlf({"[Personendaten]", "DruckenTabellenRandTop=x"}));
    f.engine->log.clear();
    EXPECT_FALSE(f.prepare());
    ASSERT_EQ(f.rec.shown.size(), 1);
    EXPECT_TRUE(f.rec.shown[0].text.contains(QStringLiteral("DruckenTabellenRandTop")));
    EXPECT_FALSE(f.engine->log.contains(QStringLiteral("begin")));
}

TEST(TabellenVorschau, MarginLimitsAndRedrawAtTheChosenZoom) {
    PreviewFixture f;
    ASSERT_TRUE(f.prepare());
    f.engine->log.clear();
    f.margin("SpinEdit1").setValue(25);
    EXPECT_EQ(f.margin("SpinEdit1").value(), 19);
    EXPECT_EQ(f.engine->left, 19);
    EXPECT_EQ(f.engine->zoom, 25);
    auto &zoom = testutil::child<QComboBox>(f.dlg, "ZoomBox");
    zoom.setCurrentIndex(zoom.findData(50));
    EXPECT_EQ(f.engine->zoom, 50);
    f.margin("SpinEdit1").setValue(12);
    EXPECT_EQ(f.engine->zoom, 50) << "a redraw keeps the chosen zoom";
    EXPECT_EQ(f.engine->lines, QStringList({"    ", "    "}) + kTable);
    f.margin("SpinEdit2").setValue(12);
    EXPECT_EQ(f.margin("SpinEdit2").value(), 10);
    EXPECT_EQ(f.engine->right, 10);
    f.margin("SpinEdit3").setValue(40);
    EXPECT_EQ(f.margin("SpinEdit3").value(), 40);
    EXPECT_EQ(f.engine->top, 40);
    f.margin("SpinEdit4").setValue(30);
    EXPECT_EQ(f.engine->bottom, 30);
}

TEST(TabellenVorschau, PrintingStoresTheMarginsAndKeepsTheReadings) {
    PreviewFixture f;
    ASSERT_TRUE(f.prepare());
    f.margin("SpinEdit1").setValue(17);
    f.margin("SpinEdit3").setValue(40);

    // Cancelled print dialog: nothing printed, nothing stored.
    f.click("OKBtn");
    EXPECT_EQ(f.dlg.result(), QDialog::Rejected);
    EXPECT_EQ(f.engine->prints, 0);
    EXPECT_EQ(testutil::readBytes(f.table), f.original);

    // Printing stopped before the end: the message, and the margins are kept.
    f.engine->printResult = false;
    f.rec.printAnswers.enqueue(true);
    f.click("OKBtn");
    EXPECT_EQ(f.dlg.result(), QDialog::Accepted);
    EXPECT_EQ(f.engine->prints, 1);
    EXPECT_EQ(f.rec.texts(), QStringList{"Druckvorgang wurde abgebrochen."});
    QByteArray expected = f.original;
    expected.replace("RandLeft=15", "RandLeft=17");
    expected.replace("RandTop=12", "RandTop=40");
    EXPECT_EQ(testutil::readBytes(f.table), expected);

    // The next month starts with these margins.
    monthtable::WriteRequest req;
    req.userName = QStringLiteral("Max Muster");
    req.month = QStringLiteral("04");
    req.year = QStringLiteral("2024");
    req.currentTablePath = f.table;
    req.dataFolder = f.dir.path();
    const QString april = monthtable::write(req).path;
    ASSERT_FALSE(april.isEmpty());
    EXPECT_EQ(profile::read(april, monthtable::kSection, "DruckenTabellenRandLeft"), "17");
    EXPECT_EQ(profile::read(april, monthtable::kSection, "DruckenTabellenRandTop"), "40");
}

TEST(TabellenVorschau, ColourGoesToTheTableAndTheEngine) {
    PreviewFixture f;
    ASSERT_TRUE(f.prepare());
    QColor tableColor;
    QObject::connect(&f.dlg, &TDruckvorschauTabelleDlg::textColorChosen,
                     [&tableColor](const QColor &c) { tableColor = c; });
    f.rec.colors.enqueue(QColor(Qt::red));
    f.click("BitBtn2");
    EXPECT_EQ(tableColor, QColor(Qt::red));
    EXPECT_EQ(f.engine->color, QColor(Qt::red));
    EXPECT_EQ(f.rec.colorInitials, QList<QColor>{QColor(Qt::black)});
    // Cancelled: the previous colour stays.
    f.click("BitBtn2");
    EXPECT_EQ(tableColor, QColor(Qt::red));
    EXPECT_EQ(f.dlg.textColor(), QColor(Qt::red));
}
