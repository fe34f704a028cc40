#include <gtest/gtest.h>

#include <QApplication>
#include <QPlainTextEdit>
#include <QScrollBar>

#include "dialogs/readonlydlg.h"
#include "support/golden.h"
#include "testutil.h"

// Each showing fills the memo with the six lines of the notice, read from
// its first line.
TEST(ReadonlyDlg, ShowingFillsTheSixLines) {
    TreadonlyDlg dlg;
    auto &memo = testutil::child<QPlainTextEdit>(dlg, "Memo1");
    memo.setPlainText("alt");
    dlg.show();
    QApplication::processEvents();
    EXPECT_TRUE(golden::matches(memo.toPlainText().toUtf8(), "dialogs/readonly.txt"));
    EXPECT_EQ(dlg.windowTitle(), "Dateiattribut Info");
    EXPECT_EQ(memo.verticalScrollBar()->value(), 0);
    EXPECT_EQ(memo.textCursor().position(), 0);
    dlg.hide();
    EXPECT_EQ(dlg.size(), QSize(445, 245));
}
