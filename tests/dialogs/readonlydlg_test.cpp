#include <gtest/gtest.h>

#include <QApplication>
#include <QPlainTextEdit>
#include <QScrollBar>

#include "dialogs/readonlydlg.h"
#include "testutil.h"

// Each showing fills the memo with the six lines of the notice, read from
// its first line.
TEST(ReadonlyDlg, ShowingFillsTheSixLines) {
    TreadonlyDlg dlg;
    auto &memo = testutil::child<QPlainTextEdit>(dlg, "Memo1");
    memo.setPlainText("alt");
    dlg.show();
    QApplication::processEvents();
    const QStringList lines = memo.toPlainText().split('\n');
    ASSERT_EQ(lines.size(), 6);
    EXPECT_EQ(lines[0], QString::fromUtf8("Das Programm GLYKOVALIN muß in der Datei "
                                          "\"GLYKOVAL.INI\" Änderungen vornehmen."));
    EXPECT_EQ(lines[4], "oder mit: ");
    EXPECT_EQ(lines[5], QString::fromUtf8("Start | Ausführen | attrib \"Laufwerk:\\Pfad der "
                                          "Datei\\GLYKOVAL.INI\" -r +a"));
    EXPECT_EQ(dlg.windowTitle(), "Dateiattribut Info");
    EXPECT_EQ(memo.verticalScrollBar()->value(), 0);
    EXPECT_EQ(memo.textCursor().position(), 0);
    dlg.hide();
    EXPECT_EQ(dlg.size(), QSize(445, 245));
}
