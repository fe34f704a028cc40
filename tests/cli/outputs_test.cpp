#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QThread>
#include <functional>
#include <gtest/gtest.h>

#include "support/cliprocess.h"
#include "support/printfolder.h"
#include "testutil.h"

#include <csignal>
#include <sys/types.h>

namespace {

// A base folder with the delivered files, a month table, its diary file and
// the chart script; outputs named on the command line go to a folder of
// their own beside it.
struct OutputFolder : PrintFolder {
    QString outputs;
    OutputFolder() {
        outputs = tmp.file("Ausgaben/");
        QDir().mkpath(outputs);
        QDir().mkpath(tmp.file("scripts"));
        testutil::writeBytes(tmp.file("scripts/Chart.min.js"), "// chart");
        QStringList diary;
        for (int d = 1; d <= 31; ++d)
            diary << QStringLiteral("Tag%1: \t #BE: Morgens= 2\t|  M2= \t|  M3= \t|  Abends= "
                                    "\t #Insulin (CT)  : Morgens= 4\t|  M2= \t|  M3= \t|  "
                                    "Abends=  \t #Bemerkung: Seite %2")
                         .arg(d, 2, 10, QChar(u'0'))
                         .arg(d);
        textfile::writeLines(monthtable::diaryPathOf(table), diary);
    }
};

// One output file of the tool: the command that writes it and how a whole
// file of its kind ends.
struct Output {
    QString name;
    QStringList args;
    QString target;
    std::function<bool(const QByteArray &)> whole;
};

bool wholePdf(const QByteArray &b) {
    return b.startsWith("%PDF-") && b.trimmed().endsWith("%%EOF");
}

QList<Output> outputsOf(const OutputFolder &f) {
    const QString o = f.outputs;
    auto png = [](const QByteArray &b) { return !QImage::fromData(b, "PNG").isNull(); };
    auto html = [](const QByteArray &b) { return b.endsWith("</html>\r\n"); };
    return {
        {"graph", {"graph", f.table, o + "bild.png"}, o + "bild.png", png},
        {"print-graph", {"print-graph", f.table, o + "grafik.pdf"}, o + "grafik.pdf", wholePdf},
        {"print-table", {"print-table", f.table, o + "tabelle.pdf"}, o + "tabelle.pdf", wholePdf},
        {"diary-pdf", {"diary-pdf", f.table, o + "tagebuch.pdf"}, o + "tagebuch.pdf", wholePdf},
        {"report", {"report", o + "bericht.pdf", f.table}, o + "bericht.pdf", wholePdf},
        {"chart",
         {"chart", f.table},
         f.file("Glykovalin-Daten im Browser/2024/MM032024.html"),
         html},
    };
}

} // namespace

// With a file size limit (as on a full disk) every output fails with a
// German message naming the file and the cause, and the file of the run
// before stays byte for byte; nothing is left beside it.
TEST(CliOutputs, FullDiskKeepsEveryOldOutputAndSaysWhy) {
    if (!cliprocess::built()) GTEST_SKIP() << "glykovalin-cli not built";
    OutputFolder f;
    for (const Output &o : outputsOf(f)) {
        const cliprocess::Result first = cliprocess::run(f.tmp.path(), o.args);
        ASSERT_EQ(first.exitCode, 0) << o.name.toStdString() << first.err.toStdString();
        const QByteArray old = testutil::readBytes(o.target);
        ASSERT_GT(old.size(), 4096) << o.name.toStdString();
        const QStringList files = testutil::filesIn(f.tmp.path()).keys();
        cliprocess::Options limited;
        limited.fileLimit = 4096;
        const cliprocess::Result r = cliprocess::run(f.tmp.path(), o.args, limited);
        EXPECT_FALSE(r.crashed) << o.name.toStdString();
        EXPECT_NE(r.exitCode, 0) << o.name.toStdString();
        EXPECT_TRUE(r.err.contains(QFileInfo(o.target).fileName()))
            << o.name.toStdString() << ": " << r.err.toStdString();
        EXPECT_TRUE(r.err.contains(QString::fromUtf8("größer als erlaubt")))
            << o.name.toStdString() << ": " << r.err.toStdString();
        EXPECT_EQ(testutil::readBytes(o.target), old) << o.name.toStdString();
        EXPECT_EQ(testutil::filesIn(f.tmp.path()).keys(), files) << o.name.toStdString();
    }
}

// Without SIGXFSZ ignored by whoever started it, the tool does not die by
// the signal (status 153, no text) but says why the file was not written.
TEST(CliOutputs, FileSizeLimitIsAMessageNotASignal) {
    if (!cliprocess::built()) GTEST_SKIP() << "glykovalin-cli not built";
    OutputFolder f;
    cliprocess::Options o;
    o.fileLimit = 4096;
    o.ignoreSizeSignal = false;
    const cliprocess::Result r =
        cliprocess::run(f.tmp.path(), {"graph", f.table, f.outputs + "bild.png"}, o);
    EXPECT_FALSE(r.crashed);
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.contains(QString::fromUtf8("Die Datei würde größer als erlaubt")))
        << r.err.toStdString();
    EXPECT_FALSE(QFileInfo::exists(f.outputs + "bild.png"));
}

// Killed at any moment, an output is either the old file or a whole new one;
// no ".part" file is left, and what a kill between writing and renaming left
// ("NAME.XXXXXX") is removed by the next run. The headless commands print
// only their own messages: nothing of the toolkit's notes about the missing
// display.
TEST(CliOutputs, KilledMidWriteLeavesAWholeFileAndTheNextRunCleansUp) {
    if (!cliprocess::built()) GTEST_SKIP() << "glykovalin-cli not built";
    OutputFolder f;
    const QList<Output> outputs = outputsOf(f);
    for (const Output &o : outputs) {
        QElapsedTimer timer;
        timer.start();
        const cliprocess::Result first = cliprocess::run(f.tmp.path(), o.args);
        ASSERT_EQ(first.exitCode, 0) << o.name.toStdString();
        EXPECT_EQ(first.err, QString()) << o.name.toStdString();
        const int millis = std::max<int>(20, int(timer.elapsed()));
        for (int i = 0; i < 6; ++i) {
            QProcess p;
            cliprocess::prepare(p, f.tmp.path());
            p.start(cliprocess::tool(), o.args);
            ASSERT_TRUE(p.waitForStarted());
            QThread::msleep(QRandomGenerator::global()->bounded(millis + 10));
            ::kill(pid_t(p.processId()), SIGKILL);
            p.waitForFinished();
            EXPECT_TRUE(o.whole(testutil::readBytes(o.target))) << o.name.toStdString() << i;
        }
    }
    // Leftovers as a kill between link and rename leaves them, besides those
    // the kills above may have left; all of them old enough (a young one may
    // belong to a save under way and stays).
    for (const QString &s : {f.outputs + "bild.png.aBcDeF", f.outputs + "grafik.pdf.QwErTz",
                             f.file("Glykovalin-Daten/2024/MM032024.tab.XyZabc"),
                             f.file("Glykovalin-Daten im Browser/2024/MM032024.html.AbCdEf")})
        testutil::writeBytes(s, "halb");
    static const QRegularExpression leftover(QStringLiteral("\\.[A-Za-z0-9]{6}$"));
    for (const QString &name : testutil::filesIn(f.tmp.path()).keys()) {
        if (!leftover.match(name).hasMatch()) continue;
        QFile file(f.file(name));
        ASSERT_TRUE(file.open(QIODevice::ReadWrite));
        file.setFileTime(QDateTime::currentDateTime().addSecs(-300),
                         QFileDevice::FileModificationTime);
    }
    for (const Output &o : outputs)
        ASSERT_EQ(cliprocess::run(f.tmp.path(), o.args).exitCode, 0) << o.name.toStdString();
    const QStringList expected(
        {"Ausgaben/bericht.pdf", "Ausgaben/bild.png", "Ausgaben/grafik.pdf", "Ausgaben/tabelle.pdf",
         "Ausgaben/tagebuch.pdf", "Glykovalin-Daten im Browser/2024/Chart.min.js",
         "Glykovalin-Daten im Browser/2024/MM032024.html", "Glykovalin-Daten/2024/MM032024.tab",
         "Glykovalin-Daten/2024/MM032024.txt", "Grafik4.bmp", "Grafik8.bmp", "Header.bmp",
         "M_einheit.bmp", "glykoval.ini", "scripts/Chart.min.js"});
    // Outside the program's folders a leftover whose random letters happen to
    // be all of one case or capitalised (about one in 21) looks like a user's
    // own copy ("grafik.pdf.BACKUP") and stays; only the kills can leave one.
    static const QRegularExpression wordLike(
        QStringLiteral("^Ausgaben/.+\\.([A-Z]{6}|[a-z]{6}|[A-Z][a-z]{5})$"));
    QStringList left = testutil::filesIn(f.tmp.path()).keys();
    left.removeIf([](const QString &n) { return wordLike.match(n).hasMatch(); });
    EXPECT_EQ(left, expected);
}

// The text commands fail when their standard output cannot be written
// ("> /dev/full"): a German message and a non-zero status, not a cut output
// reported as success.
TEST(CliOutputs, FullStandardOutputIsAFailure) {
    if (!cliprocess::built()) GTEST_SKIP() << "glykovalin-cli not built";
    if (!QFileInfo::exists("/dev/full")) GTEST_SKIP() << "no /dev/full";
    OutputFolder f;
    cliprocess::Options o;
    o.standardOutputFile = QStringLiteral("/dev/full");
    const QList<QStringList> commands = {{"table", f.table},
                                         {"stats", f.table},
                                         {"export-csv", f.table},
                                         {"chart", f.table},
                                         {"--help"}};
    for (const QStringList &args : commands) {
        const cliprocess::Result r = cliprocess::run(f.tmp.path(), args, o);
        EXPECT_FALSE(r.crashed) << args.first().toStdString();
        EXPECT_NE(r.exitCode, 0) << args.first().toStdString();
        EXPECT_TRUE(r.err.contains(QString::fromUtf8("Der Datenträger ist voll.")))
            << args.first().toStdString() << ": " << r.err.toStdString();
    }
}
