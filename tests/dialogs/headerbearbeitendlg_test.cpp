#include <gtest/gtest.h>

#include <QDir>
#include <QPlainTextEdit>
#include <QPushButton>

#include "dialogs/headerbearbeitendlg.h"
#include "platform/ui.h"
#include "recordingservices.h"
#include "testutil.h"

using testutil::child;

namespace {

// The editor on a patient-data file with the given bytes.
struct EditorOn {
    testutil::TempFolder dir;
    ui::RecordingServices rec;
    QString file = dir.file("Patientendaten.txt");
    THeaderBearbeitenDlg d{rec};
    explicit EditorOn(const QByteArray &bytes) { testutil::writeBytes(file, bytes); }
    QPlainTextEdit &memo() { return child<QPlainTextEdit>(d, "Memo1"); }
    void save() { child<QPushButton>(d, "OKBtn").click(); }
};

} // namespace

// Loading the patient-data file and storing it again gives the same bytes,
// whatever the file's line ends, empty lines at its end or characters.
TEST(HeaderDialog, StoringWhatWasReadKeepsTheBytes) {
    const QList<QByteArray> files({"Max Muster\r\n\r\n", "Max Muster\r\nGeb. 1.1.1950\r\n\r\n\r\n",
                                   "\r\n", "", "ohne Zeilenende", "nur\nLF\n",
                                   "Name:\xA0Max\tM\xFCller \x80\r\n", "\x81\x8D\x8F\x90\x9D\r\n",
                                   "\xEF\xBB\xBFMax M\xC3\xBCller\r\n"});
    for (const QByteArray &bytes : files) {
        SCOPED_TRACE(bytes.toStdString());
        EditorOn e(bytes);
        for (int round = 0; round < 2; ++round) {
            ASSERT_TRUE(e.d.loadFile(e.file));
            e.save();
            EXPECT_EQ(e.d.result(), QDialog::Accepted);
            EXPECT_EQ(testutil::readBytes(e.file), bytes);
        }
        EXPECT_TRUE(e.rec.shown.isEmpty());
    }
}

// An edited text keeps its empty lines and no-break spaces and is written
// as Windows-1252 lines with CR LF; a new file is made the same way.
TEST(HeaderDialog, EditedTextKeepsEmptyLinesAndNoBreakSpaces) {
    EditorOn e("Max\r\n\r\n");
    ASSERT_TRUE(e.d.loadFile(e.file));
    EXPECT_EQ(e.memo().toPlainText(), QStringLiteral("Max\n"));
    e.memo().setPlainText(QStringLiteral("Max\n\nKasse:\u00A0AOK\n"));
    e.save();
    EXPECT_EQ(testutil::readBytes(e.file), QByteArray("Max\r\n\r\nKasse:\xA0"
                                                      "AOK\r\n\r\n"));

    const QString made = e.dir.file("neu.txt");
    ASSERT_TRUE(e.d.loadFile(made));
    EXPECT_TRUE(e.memo().toPlainText().isEmpty());
    e.memo().setPlainText(QString::fromUtf8("Max Müller\nGeb. 1.1.1950"));
    e.save();
    EXPECT_EQ(testutil::readBytes(made),
              testutil::crlf({QString::fromUtf8("Max Müller"), "Geb. 1.1.1950"}));
}

// A text that cannot be stored keeps the dialog open with the text, the
// file unchanged, and says so in German naming the file.
TEST(HeaderDialog, FailedWritesLoseNothing) {
    EditorOn e("Max\r\n");
    auto &[dir, rec, file, d] = e;
    ASSERT_TRUE(d.loadFile(file));

    // Saving is refused with a warning naming the file; the text stays.
    auto refused = [&](const QString &text, const char *reason) {
        SCOPED_TRACE(reason);
        rec.clear();
        e.memo().setPlainText(text);
        e.save();
        EXPECT_NE(d.result(), QDialog::Accepted);
        ASSERT_EQ(rec.shown.size(), 1);
        EXPECT_EQ(rec.shown[0].kind, ui::Kind::Warning);
        EXPECT_TRUE(rec.shown[0].text.contains(d.fileName()));
        EXPECT_EQ(e.memo().toPlainText(), text);
    };
    refused(QStringLiteral("Max \u2192 Moritz"), "a character Windows-1252 does not have");
    EXPECT_EQ(testutil::readBytes(file), QByteArray("Max\r\n"));
    ASSERT_TRUE(d.loadFile(dir.file("fehlt/Patientendaten.txt")));
    refused(QStringLiteral("Moritz"), "a folder that is not there");
    EXPECT_TRUE(rec.shown[0].text.contains(QStringLiteral("nicht gespeichert")));

    // A name that cannot be read is not shown and never overwritten.
    rec.clear();
    QDir().mkpath(dir.file("ordner.txt"));
    d.editFile(dir.file("ordner.txt"));
    EXPECT_FALSE(d.isVisible());
    ASSERT_EQ(rec.shown.size(), 1);
    EXPECT_TRUE(rec.shown[0].text.contains(dir.file("ordner.txt")));
    e.memo().setPlainText(QStringLiteral("Moritz"));
    e.save();
    EXPECT_EQ(rec.shown.size(), 2);
    EXPECT_TRUE(QFileInfo(dir.file("ordner.txt")).isDir());
}
