#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDateTime>
#include <QDeadlineTimer>
#include <QFile>
#include <QHeaderView>
#include <QStyle>
#include <QTreeView>

#include "platform/filedialog.h"
#include "platform/german.h"
#include "platform/germaninterface.h"
#include "testutil.h"

namespace {

// A folder with a month table of 1536 bytes, changed at 07.12.2026 20:06:04,
// a settings file of 749 bytes and a year folder; German set up as the
// program does.
struct Listed {
    testutil::TempFolder dir;
    Listed() {
        const QString table = dir.file("MM122026.tab");
        testutil::writeBytes(table, QByteArray(1536, 'x'));
        testutil::writeBytes(dir.file("glykoval.ini"), QByteArray(749, 'x'));
        QFile f(table);
        ok = f.open(QIODevice::ReadWrite) &&
             f.setFileTime(QDateTime(QDate(2026, 12, 7), QTime(20, 6, 4)),
                           QFileDevice::FileModificationTime) &&
             QDir().mkpath(dir.file("2025")) && german::setUp();
    }
    ~Listed() { german::tearDown(); }
    bool ok = false;
};

// Shows the dialog and waits until its detail list holds the folder's three
// entries and their sizes and type names fit their columns; each row's four
// cells by name. Qt makes those columns narrow on a desktop; so does this test.
QMap<QString, QStringList> shownRows(QFileDialog &dlg, bool *typesFit) {
    dlg.show();
    auto *view = dlg.findChild<QTreeView *>(QStringLiteral("treeView"));
    if (!view) return {};
    view->header()->resizeSection(1, view->fontMetrics().horizontalAdvance("128.88 GB"));
    view->header()->resizeSection(2, view->fontMetrics().horizontalAdvance("mp3Folder"));
    const QModelIndex root = view->rootIndex();
    auto cell = [&](int row, int column) {
        return view->model()->index(row, column, root).data().toString();
    };
    // A cell's text has the focus frame's margin on either side.
    const int margin = view->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, view) + 1;
    auto fit = [&] {
        for (int r = 0; r < view->model()->rowCount(root); ++r)
            for (int c : {1, 2})
                if (view->fontMetrics().horizontalAdvance(cell(r, c)) + 2 * margin >
                    view->header()->sectionSize(c))
                    return false;
        return true;
    };
    const QDeadlineTimer deadline(5000);
    while ((view->model()->rowCount(root) < 3 || !fit()) && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    *typesFit = fit();
    QMap<QString, QStringList> rows;
    for (int r = 0; r < view->model()->rowCount(root); ++r)
        for (int c = 0; c < 4; ++c)
            rows[cell(r, 0)] << cell(r, c);
    dlg.close();
    return rows;
}

} // namespace

// The file list shows sizes and dates in German form whatever the system's
// locale is; names and folders stay as the dialog's own model gives them.
// The German type names ("Verzeichnis") fit their column. So it is in the
// program's dialogs and in one that Qt makes itself (as the print dialog does
// for its output file).
TEST(FileDialog, SizesAndDatesAreGerman) {
    Listed f;
    ASSERT_TRUE(f.ok);
    for (int kind = 0; kind < 3; ++kind) {
        // Open and save of the program, and one of Qt's own.
        std::unique_ptr<QFileDialog> dlg =
            kind < 2 ? makeFileDialog(nullptr, QStringLiteral("Monatstabelle öffnen"), f.dir.path(),
                                      QStringLiteral("Alle Dateien (*)"),
                                      kind ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen)
                     : std::make_unique<QFileDialog>(nullptr, "Drucken in Datei ...", f.dir.path());
        dlg->setOption(QFileDialog::DontUseNativeDialog);
        bool typesFit = false;
        QMap<QString, QStringList> rows = shownRows(*dlg, &typesFit);
        ASSERT_EQ(rows.size(), 3);
        EXPECT_EQ(rows["MM122026.tab"].value(1), QStringLiteral("1,50 KiB"));
        EXPECT_EQ(rows["MM122026.tab"].value(3), QStringLiteral("07.12.26 20:06"));
        EXPECT_EQ(rows["glykoval.ini"].value(1), QStringLiteral("749 Bytes"));
        EXPECT_EQ(rows["2025"].value(1), QString());
        EXPECT_EQ(rows["2025"].value(2), QStringLiteral("Verzeichnis"));
        EXPECT_TRUE(
            rows["2025"].value(3).contains(QRegularExpression("^\\d\\d\\.\\d\\d\\.\\d\\d ")))
            << rows["2025"].value(3).toStdString();
        EXPECT_TRUE(typesFit) << rows["MM122026.tab"].value(2).toStdString();
        EXPECT_TRUE(kind < 2 || dlg->width() >= 760) << dlg->width();
    }
}
