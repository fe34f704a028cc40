#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDateTime>
#include <QDeadlineTimer>
#include <QFile>
#include <QHeaderView>
#include <QTreeView>

#include "platform/filedialog.h"
#include "platform/german.h"
#include "testutil.h"

// The file list shows sizes and dates in German form whatever the system's
// locale is; names and folders stay as the dialog's own model gives them.
// The German type names ("Verzeichnis") fit their column.
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
    struct German {
        German() { german::setUp(); }
        ~German() { german::tearDown(); }
    } german;

    for (QFileDialog::AcceptMode mode : {QFileDialog::AcceptOpen, QFileDialog::AcceptSave}) {
        const auto dlg = makeFileDialog(nullptr, QStringLiteral("Monatstabelle öffnen"), dir.path(),
                                        QStringLiteral("Tabellen (*.tab)"), mode);
        dlg->show();
        auto *view = dlg->findChild<QTreeView *>(QStringLiteral("treeView"));
        ASSERT_TRUE(view);
        // As narrow as Qt makes it on a desktop, before the folder is read.
        view->header()->resizeSection(2, view->fontMetrics().horizontalAdvance("mp3Folder"));
        const QModelIndex root = view->rootIndex();
        auto cell = [&](int row, int column) {
            return view->model()->index(row, column, root).data().toString();
        };
        auto typesFit = [&] {
            for (int r = 0; r < view->model()->rowCount(root); ++r)
                if (view->fontMetrics().horizontalAdvance(cell(r, 2)) >=
                    view->header()->sectionSize(2))
                    return false;
            return true;
        };
        const QDeadlineTimer deadline(5000);
        while ((view->model()->rowCount(root) < 2 || !typesFit()) && !deadline.hasExpired())
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        ASSERT_EQ(view->model()->rowCount(root), 2);
        QMap<QString, QStringList> rows;
        for (int r = 0; r < 2; ++r)
            for (int c = 0; c < 4; ++c)
                rows[cell(r, 0)] << cell(r, c);
        EXPECT_EQ(rows["MM122026.tab"].value(1), QStringLiteral("1,50 KiB"));
        EXPECT_EQ(rows["MM122026.tab"].value(3), QStringLiteral("07.12.26 20:06"));
        EXPECT_EQ(rows["2025"].value(1), QString());
        EXPECT_EQ(rows["2025"].value(2), QStringLiteral("Verzeichnis"));
        EXPECT_TRUE(
            rows["2025"].value(3).contains(QRegularExpression("^\\d\\d\\.\\d\\d\\.\\d\\d ")))
            << rows["2025"].value(3).toStdString();
        EXPECT_TRUE(typesFit()) << rows["MM122026.tab"].value(2).toStdString() << " "
                                << view->header()->sectionSize(2);
        dlg->close();
    }
}
