#include <gtest/gtest.h>

#include <QLineEdit>
#include <QPushButton>

#include "dialogs/nameeingdlg.h"
#include "platform/profile.h"
#include "platform/ui.h"
#include "recordingservices.h"
#include "storage/monthmodel.h"
#include "testutil.h"

using testutil::child;

namespace {

struct NameFixture {
    testutil::TempFolder dir;
    ui::RecordingServices rec;
    MonthModel model{Folders::at(dir.path())};
    TNameEingDlg dlg{model, rec};
    QStringList accepted;
    NameFixture() {
        QObject::connect(&dlg, &TNameEingDlg::nameAccepted,
                         [this](const QString &n) { accepted << n; });
    }
    void ok(const QString &name) {
        child<QLineEdit>(dlg, "Edit1").setText(name);
        child<QPushButton>(dlg, "OKBtn").click();
    }
    QString stored() const {
        return profile::read(model.folders().settings, "Einstellung", "BenutzerName");
    }
};

} // namespace

// The dialog shows the stored name, stores the new one and says so; which
// month follows is not its business.
TEST(NameDialog, StoresTheNameAndTellsIt) {
    NameFixture f;
    profile::write(f.model.folders().settings, "Einstellung", "BenutzerName", "Alt Name");
    f.dlg.FormCreate();
    EXPECT_EQ(child<QLineEdit>(f.dlg, "Edit1").text(), "Alt Name");

    f.dlg.askForNewName();
    f.ok("anna maier");
    EXPECT_EQ(f.accepted, QStringList{"anna maier"});
    EXPECT_EQ(f.stored(), "anna maier");
    EXPECT_TRUE(f.rec.shown.isEmpty());
}

// A blank name is refused with a warning; the dialog stays. (What "Abbrechen"
// does at start-up and later, the scenario tests show on the real program.)
TEST(NameDialog, BlankNameIsRefused) {
    NameFixture f;
    f.dlg.askAtStartup();
    for (const char *bad : {"", "   "})
        f.ok(bad);
    ASSERT_EQ(f.rec.shown.size(), 2);
    EXPECT_EQ(f.rec.shown[0].kind, ui::Kind::Warning);
    EXPECT_TRUE(f.rec.shown[0].text.startsWith("Bitte geben Sie Ihren Vornamen"));
    EXPECT_TRUE(f.dlg.isVisible());
    EXPECT_TRUE(f.stored().isEmpty());
    EXPECT_TRUE(f.accepted.isEmpty());
}
