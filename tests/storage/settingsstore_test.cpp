#include <gtest/gtest.h>

#include "platform/ui.h"
#include "storage/convert.h"
#include "storage/settingsstore.h"
#include "testutil.h"

TEST(SettingsStore, FlagsNumbersAndConversionErrors) {
    testutil::TempFolder dir;
    const SettingsStore st(dir.file("glykoval.ini"));
    testutil::writeBytes(st.path(), testutil::crlf({"[Einstellung]", "BisZu4MessungenJeTag=10",
                                                    "BisZu8MessungenJeTag=0", "StiftBreite=dick",
                                                    "FensterBreite= 812 "}));
    EXPECT_TRUE(st.flag(keys::BisZu4));
    EXPECT_FALSE(st.flag(keys::BisZu8));
    EXPECT_EQ(st.number(keys::LetzteKlickPosition, defaults::LetzteKlickPosition), 64);
    EXPECT_EQ(st.number(keys::FensterBreite, 300), 812);
    EXPECT_THROW(st.requiredNumber(keys::Hochwerte), EConvertError);
    ui::RecordingServices rec;
    bool after = false;
    EXPECT_FALSE(convert::guarded([&] {
        st.number(keys::StiftBreite, 2);
        after = true;
    }));
    EXPECT_FALSE(after);
    ASSERT_EQ(rec.shown.size(), 1);
    EXPECT_TRUE(rec.shown[0].text.contains("dick"));
    EXPECT_TRUE(rec.shown[0].text.contains("StiftBreite"));
    EXPECT_FALSE(st.isReadOnly());
    EXPECT_FALSE(st.setUnlessEmpty(keys::TabellenDateiName, ""));
    EXPECT_TRUE(SettingsStore(dir.file("missing.ini")).isReadOnly());
}
