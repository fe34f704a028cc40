#include <QAction>
#include <QFileInfo>
#include <gtest/gtest.h>

#include "platform/ui.h"
#include "printing/tabellendlg.h"
#include "recordingservices.h"
#include "storage/monthmodel.h"
#include "testutil.h"

namespace {

struct PatientFixture {
    testutil::TempFolder dir;
    ui::RecordingServices rec;
    MonthModel model;
    TTabellenDlg table{model, rec};
    QStringList edited;
    // The base folder is `sub` in the test's folder.
    explicit PatientFixture(const QString &sub = QString()) : model(Folders::at(dir.path() + sub)) {
        QObject::connect(&table, &TTabellenDlg::patientDataRequested,
                         [this](const QString &name) { edited << name; });
    }
    void edit() { testutil::child<QAction>(table, "bearbeiten1").trigger(); }
};

} // namespace

// "Patientendaten bearbeiten" without a patient-data file offers to make
// "Patientendaten.txt" in the base folder from a German template, and opens
// it in the editor.
TEST(PatientData, MissingFileIsMadeFromTheTemplateAndEdited) {
    PatientFixture f;
    const QString file = f.dir.file("Patientendaten.txt");
    f.edit();
    ASSERT_EQ(f.rec.shown.size(), 1);
    EXPECT_EQ(f.rec.shown[0].kind, ui::Kind::Confirmation);
    EXPECT_TRUE(f.rec.shown[0].text.contains(QStringLiteral("\"Patientendaten.txt\"")));
    EXPECT_TRUE(f.rec.shown[0].text.contains(f.dir.path()));
    EXPECT_TRUE(f.rec.dialogCalls.isEmpty());
    EXPECT_EQ(f.edited, QStringList{file});
    const QByteArray made = testutil::readBytes(file);
    EXPECT_EQ(made, testutil::crlf(TTabellenDlg::patientDataTemplate()));
    EXPECT_TRUE(made.startsWith("Patientendaten\r\nName:\r\n"));

    // Once it exists, the file is chosen in the open dialog without a question.
    f.rec.clear();
    f.rec.fileNames.enqueue(file);
    f.edit();
    EXPECT_TRUE(f.rec.shown.isEmpty());
    ASSERT_EQ(f.rec.dialogCalls.size(), 1);
    EXPECT_EQ(f.rec.dialogCalls[0].section(u'|', 2, 2), file);
    EXPECT_EQ(f.edited.size(), 2);
}

TEST(PatientData, DecliningTheTemplateLeavesTheChoiceOfAFile) {
    PatientFixture f;
    f.rec.answers.enqueue(ui::Answer::No);
    f.edit(); // the open dialog is cancelled
    EXPECT_FALSE(QFileInfo::exists(f.dir.file("Patientendaten.txt")));
    EXPECT_EQ(f.rec.dialogCalls.size(), 1);
    EXPECT_TRUE(f.edited.isEmpty());
}

TEST(PatientData, TemplateThatCannotBeWrittenIsReported) {
    PatientFixture f(QStringLiteral("fehlt/"));
    f.edit();
    ASSERT_EQ(f.rec.shown.size(), 2);
    EXPECT_EQ(f.rec.shown[1].kind, ui::Kind::Warning);
    EXPECT_TRUE(f.rec.shown[1].text.contains(f.dir.file("fehlt/Patientendaten.txt")));
    EXPECT_TRUE(f.edited.isEmpty());
    EXPECT_FALSE(QFileInfo::exists(f.dir.file("fehlt")));
}
