#include <gtest/gtest.h>

#include <QApplication>
#include <QCoreApplication>
#include <QDateTime>
#include <QDeadlineTimer>
#include <QFile>
#include <QHeaderView>
#include <QTreeView>

#include "platform/filedialog.h"
#include "testutil.h"

// The file list shows sizes and dates in German form whatever the system's
// locale is; names and folders stay as the dialog's own model gives them.
// "Verzeichnis" fits the type column.
TEST(FileDialog, SizesAndDatesAreGerman) {
    testutil::TempFolder dir;
    const QString table = dir.file("MM122026.tab");
    testutil::writeBytes(table, QByteArray(1536, 'x'));
    {
        QFile f(table);
        ASSERT_TRUE(f.open(QIODevice::ReadWrite));
        ASSERT_TRUE(f.setFileTime(QDateTime(QDate(2026, 12, 7), QTime(20, 6, 4)),
                                  QFileDevice::FileModificationTime));
    }
    ASSERT_TRUE(QDir().mkpath(dir.file("2025")));

    // A large font, where Qt's default type column is too narrow.
    struct LargeFont {
        const QFont before = QApplication::font();
        LargeFont() {
            QFont large = before;
            large.setPixelSize(20);
            QApplication::setFont(large);
        }
        ~LargeFont() { QApplication::setFont(before); }
    } largeFont;
    for (QFileDialog::AcceptMode mode : {QFileDialog::AcceptOpen, QFileDialog::AcceptSave}) {
        const auto dlg = makeFileDialog(nullptr, QStringLiteral("Monatstabelle öffnen"), dir.path(),
                                        QStringLiteral("Tabellen (*.tab)"), mode);
        dlg->show();
        auto *view = dlg->findChild<QTreeView *>(QStringLiteral("treeView"));
        ASSERT_TRUE(view);
        const QModelIndex root = view->rootIndex();
        const QDeadlineTimer deadline(5000);
        while (view->model()->rowCount(root) < 2 && !deadline.hasExpired())
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        ASSERT_EQ(view->model()->rowCount(root), 2);
        QMap<QString, QStringList> rows;
        for (int r = 0; r < 2; ++r)
            for (int c = 0; c < 4; ++c)
                rows[view->model()->index(r, 0, root).data().toString()]
                    << view->model()->index(r, c, root).data().toString();
        EXPECT_EQ(rows["MM122026.tab"].value(1), QStringLiteral("1,50 KiB"));
        EXPECT_EQ(rows["MM122026.tab"].value(3), QStringLiteral("07.12.26 20:06"));
        EXPECT_EQ(rows["2025"].value(1), QString());
        EXPECT_TRUE(
            rows["2025"].value(3).contains(QRegularExpression("^\\d\\d\\.\\d\\d\\.\\d\\d ")))
            << rows["2025"].value(3).toStdString();
        // "Verzeichnis" fits its column.
        EXPECT_GT(view->header()->sectionSize(2),
                  view->fontMetrics().horizontalAdvance(QStringLiteral("Verzeichnis")));
        dlg->close();
    }
}
