#include <gtest/gtest.h>

#include <QDir>
#include <QPlainTextEdit>
#include <QPushButton>

#include "dialogs/headerdlg.h"
#include "platform/ui.h"
#include "recordingservices.h"
#include "testutil.h"

namespace {

// The editor on a patient-data file with the given bytes.
struct EditorOn {
    testutil::TempFolder dir;
    ui::RecordingServices rec;
    QString file = dir.file("Patientendaten.txt");
    THeaderBearbeitenDlg d{rec};
    explicit EditorOn(const QByteArray &bytes) {
        testutil::writeBytes(file, bytes);
        d.headerFileName = file;
    }
};

} // namespace

// Loading the patient-data file and storing it again gives the same bytes,
// whatever the file's line ends, empty lines at its end or characters.
TEST(HeaderDialog, StoringWhatWasReadKeepsTheBytes) {
    testutil::TempFolder dir;
    ui::RecordingServices rec;
    const QByteArray files[] = {
        "Max Muster\r\n\r\n",
        "Max Muster\r\nGeb. 1.1.1950\r\n\r\n\r\n",
        "\r\n",
        "",
        "ohne Zeilenende",
        "nur\nLF\n",
        "Name:\xA0Max\tM\xFCller \x80\r\n",
        "\x81\x8D\x8F\x90\x9D\r\n",
        "\xEF\xBB\xBFMax M\xC3\xBCller\r\n",
    };
    int n = 0;
    for (const QByteArray &bytes : files) {
        SCOPED_TRACE(bytes.toStdString());
        const QString file = dir.file(QStringLiteral("p%1.txt").arg(++n));
        testutil::writeBytes(file, bytes);
        THeaderBearbeitenDlg d(rec);
        d.headerFileName = file;
        for (int round = 0; round < 2; ++round) {
            ASSERT_TRUE(d.loadFile());
            d.OKBtn->click();
            EXPECT_EQ(d.result(), QDialog::Accepted);
            EXPECT_EQ(testutil::readBytes(file), bytes);
        }
    }
    EXPECT_TRUE(rec.shown.isEmpty());
}

// An edited text keeps its empty lines and no-break spaces and is written
// as Windows-1252 lines with CR LF.
TEST(HeaderDialog, EditedTextKeepsEmptyLinesAndNoBreakSpaces) {
    EditorOn editor("Max\r\n\r\n");
    auto &[dir, rec, file, d] = editor;
    ASSERT_TRUE(d.loadFile());
    EXPECT_EQ(d.Memo1->toPlainText(), QStringLiteral("Max\n"));
    d.Memo1->setPlainText(QStringLiteral("Max\n\nKasse:\u00A0AOK\n"));
    d.OKBtn->click();
    EXPECT_EQ(testutil::readBytes(file), QByteArray("Max\r\n\r\nKasse:\xA0"
                                                    "AOK\r\n\r\n"));
    ASSERT_TRUE(d.loadFile());
    EXPECT_EQ(d.editedText(), QStringLiteral("Max\n\nKasse:\u00A0AOK\n"));
}

// A text that cannot be stored keeps the dialog open with the text, the
// file unchanged, and says so in German naming the file.
TEST(HeaderDialog, FailedWritesLoseNothing) {
    EditorOn editor("Max\r\n");
    auto &[dir, rec, file, d] = editor;
    ASSERT_TRUE(d.loadFile());

    // Saving is refused with a warning naming the file; the text stays.
    auto refused = [&](const QString &text, const char *reason) {
        SCOPED_TRACE(reason);
        rec.clear();
        d.Memo1->setPlainText(text);
        d.OKBtn->click();
        EXPECT_NE(d.result(), QDialog::Accepted);
        ASSERT_EQ(rec.shown.size(), 1);
        EXPECT_EQ(rec.shown[0].kind, ui::Kind::Warning);
        EXPECT_TRUE(rec.shown[0].text.contains(d.headerFileName));
        EXPECT_EQ(d.Memo1->toPlainText(), text);
    };
    refused(QStringLiteral("Max \u2192 Moritz"), "a character Windows-1252 does not have");
    EXPECT_EQ(testutil::readBytes(file), QByteArray("Max\r\n"));
    d.headerFileName = dir.file("fehlt/Patientendaten.txt");
    refused(QStringLiteral("Moritz"), "a folder that is not there");
    EXPECT_TRUE(rec.shown[0].text.contains(QStringLiteral("nicht gespeichert")));

    // A name that cannot be read is never overwritten.
    rec.clear();
    QDir().mkpath(dir.file("ordner.txt"));
    d.headerFileName = dir.file("ordner.txt");
    EXPECT_FALSE(d.loadFile());
    ASSERT_EQ(rec.shown.size(), 1);
    EXPECT_TRUE(rec.shown[0].text.contains(d.headerFileName));
    d.Memo1->setPlainText(QStringLiteral("Moritz"));
    d.OKBtn->click();
    EXPECT_NE(d.result(), QDialog::Accepted);
    EXPECT_EQ(rec.shown.size(), 2);
    EXPECT_TRUE(QFileInfo(dir.file("ordner.txt")).isDir());
}
