// Every writer of a user file under the same faults: a full disk (files may
// not grow past a limit), a write-protected target and a missing folder. The
// writer reports the failure with its German message, the file keeps its
// bytes and no temporary file is left beside it.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <functional>
#include <memory>
#include <optional>

#include "export/machpdf.h"
#include "platform/inidocument.h"
#include "platform/profile.h"
#include "platform/textfile.h"
#include "stats/statstext.h"
#include "storage/diarybook.h"
#include "storage/entryline.h"
#include "storage/monthtable.h"
#include "storage/settingsstore.h"
#include "support/filelimit.h"
#include "testutil.h"

#include <cerrno>

namespace {

enum class Fault { FullDisk, ReadOnly, MissingFolder };

// What a writer answered: nullopt when it claimed success.
using Answer = std::optional<QString>;

struct WriteCase {
    const char *name;
    Fault fault;
    QString file;   // the target's name in the test folder
    QByteArray old; // its bytes before the write (none with a missing folder)
    std::function<Answer(const QString &target)> write;
    QString message; // "%1" stands for the target's path
    // Further checks once the fault is gone.
    std::function<void(const QString &target)> after = {};
};

const QString kKept = QString::fromUtf8(" Ihr bisheriger Inhalt bleibt unverändert erhalten.");
const QString kKeptVersion =
    QString::fromUtf8(" Die bisherige Fassung der Datei bleibt unverändert erhalten.");

QString saveMessage(const QString &reason, bool existed = true) {
    return "Die Datei \"%1\" konnte nicht gespeichert werden. " + reason +
           (existed ? kKept : QString());
}
const QString kFull = textfile::reasonOf(EFBIG);
const QString kProtected = QString::fromUtf8("Die Datei ist schreibgeschützt.");
const QString kNoFolder = QStringLiteral("Der Ordner der Datei existiert nicht.");

Answer failed(bool ok, const QString &message) {
    return ok ? Answer() : Answer(message);
}

const QByteArray kIni = testutil::crlf({"[Einstellung]", "Hochwerte>=180", "StiftBreite=2"});

QList<WriteCase> cases() {
    const QByteArray oldText = QByteArray("Tag01: alt\r\n").repeated(50);
    const auto save = [](const QString &t) {
        const textfile::SaveResult r = textfile::save(t, QByteArray(10000, 'x'));
        return failed(r.ok, r.message(t));
    };
    auto doc = std::make_shared<std::unique_ptr<IniDocument>>();
    const QByteArray diary = testutil::crlf({"Tag01: \t #BE: 1#Insulin#Bemerkung: alt"});
    const auto storeDiary = [](const QString &t) {
        DiaryBook book;
        const QString table = QString(t).replace(".txt", ".tab");
        book.LadeTagebuch(table);
        QString error;
        const QStringList page{"                Glykovalin-Tagebuch", "          05 Mai 2024",
                               QString(98, u'_'), "", "\t Bemerkung: neu"};
        return failed(book.SpeichereTagebuchseite(2, DiaryBook::GibMarkierteTagebuchseite(page),
                                                  DiaryBook::StoreFrom::Close, table,
                                                  SettingsStore(QString()), &error),
                      error);
    };
    return {
        {"textfile full disk", Fault::FullDisk, "MM032024.txt", oldText, save, saveMessage(kFull)},
        {"textfile write-protected", Fault::ReadOnly, "glykoval.ini", kIni, save,
         saveMessage(kProtected)},
        {"textfile missing folder", Fault::MissingFolder, "MM032024.txt", QByteArray(), save,
         saveMessage(kNoFolder, false)},
        {"settings document full disk", Fault::FullDisk, "glykoval.ini", kIni,
         [doc](const QString &t) {
             *doc = std::make_unique<IniDocument>(t);
             EXPECT_EQ((*doc)->read("Einstellung", "Hochwerte>"), "180");
             QString error;
             return failed(
                 (*doc)->write(
                     QList<IniDocument::Change>{{"Einstellung", "Hochwerte>", "200"},
                                                {"Bemerkungen_MM042024.tab", "01,1", "\"neu"}},
                     &error),
                 error);
         },
         saveMessage(kFull),
         [doc](const QString &t) {
             // The document holds what the file holds, and a later write goes through.
             EXPECT_EQ((*doc)->read("Einstellung", "Hochwerte>"), "180");
             EXPECT_EQ((*doc)->read("Bemerkungen_MM042024.tab", "01,1"), "");
             EXPECT_EQ((*doc)->saveCount(), 0);
             EXPECT_TRUE((*doc)->write("Einstellung", "Hochwerte>", "200"));
             EXPECT_EQ(profile::read(t, "Einstellung", "Hochwerte>"), "200");
         }},
        {"settings store full disk", Fault::FullDisk, "glykoval.ini", kIni,
         [](const QString &t) {
             QString error;
             return failed(SettingsStore(t).set(keys::LetzteEingabe, QString(100, u'x'), &error),
                           error);
         },
         saveMessage(kFull)},
        {"profile write-protected", Fault::ReadOnly, "glykoval.ini", kIni,
         [](const QString &t) { return failed(profile::write(t, "Einstellung", "A", "2"), ""); },
         ""},
        {"month table full disk", Fault::FullDisk, "2024/MM032024.tab",
         testutil::crlf({"[Personendaten]", "BenutzerName=Max Muster"}),
         [](const QString &t) {
             monthtable::WriteRequest req;
             req.userName = "Max Muster";
             req.month = "03";
             req.year = "2024";
             req.dataFolder = QFileInfo(t).path().chopped(4);
             for (int d = 1; d <= 31; ++d)
                 req.entries << entryline::format(MeasurementSlot::Abends,
                                                  QStringLiteral("%1").arg(d, 2, 10, QChar(u'0')),
                                                  "03", "2024", "07:30", "120");
             const monthtable::WriteResult r = monthtable::write(req);
             EXPECT_EQ(r.notices.size(), r ? 0 : 1);
             return failed(bool(r), r.notices.value(0).text);
         },
         "Fehler beim Schreiben der Datei %1! " + kFull + kKeptVersion},
        {"diary full disk", Fault::FullDisk, "MM052024.txt", diary, storeDiary,
         "Die Tagebuchdatei \"%1\" kann nicht geschrieben werden.\n" + kFull + kKeptVersion,
         [storeDiary, diary](const QString &t) {
             EXPECT_EQ(storeDiary(t), Answer());
             EXPECT_TRUE(testutil::readBytes(t).startsWith(diary + "Tag02: "));
         }},
        {"PDF full disk", Fault::FullDisk, "buch.pdf", "alt",
         [](const QString &t) {
             TmachPDF pdf;
             pdf.FileName = t;
             pdf.Compress = false;
             pdf.BeginneDokument();
             for (int i = 0; i < 60; ++i)
                 pdf.SchreibeText(10, 10 + i, QStringLiteral("Zeile %1 des Tagebuchs").arg(i));
             QString error;
             return failed(pdf.BeendeDokument(&error), error);
         },
         saveMessage(kFull)},
        {"statistics CSV full disk", Fault::FullDisk, "alt.csv", "alt",
         [](const QString &t) {
             QList<glucose::Reading> many;
             for (int i = 0; i < 3000; ++i)
                 many.append(glucose::Reading{QDate(2024, 3, 1 + i % 28), MeasurementSlot::Morgens,
                                              100, 450});
             QString error;
             return failed(stats::writeCsv(t, many, &error), error);
         },
         "Die CSV-Datei \"%1\" konnte nicht geschrieben werden.\n" + kFull},
    };
}

} // namespace

TEST(FailedWrites, EveryWriterKeepsTheOldFileAndSaysWhy) {
    for (const WriteCase &c : cases()) {
        SCOPED_TRACE(c.name);
        testutil::TempFolder dir;
        const QString target = dir.file((c.fault == Fault::MissingFolder ? "fehlt/" : "") + c.file);
        const QString folder = QFileInfo(target).path();
        if (c.fault != Fault::MissingFolder) {
            QDir().mkpath(folder);
            testutil::writeBytes(target, c.old);
        }
        const auto readOnly = QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther;
        if (c.fault == Fault::ReadOnly) {
            ASSERT_TRUE(QFile::setPermissions(target, readOnly));
        }
        Answer answer;
        {
            std::optional<testutil::FileSizeLimit> limit;
            if (c.fault == Fault::FullDisk) {
                limit.emplace(c.old.size());
                ASSERT_TRUE(limit->active());
            }
            answer = c.write(target);
        }
        EXPECT_EQ(answer, Answer(QString(c.message).replace("%1", target)));
        if (c.fault == Fault::MissingFolder) {
            EXPECT_FALSE(QFileInfo::exists(folder));
            continue;
        }
        EXPECT_EQ(testutil::readBytes(target), c.old);
        EXPECT_EQ(QDir(folder).entryList(QDir::Files | QDir::Hidden),
                  QStringList{QFileInfo(target).fileName()});
        const auto writable = QFile::WriteOwner | QFile::WriteGroup | QFile::WriteOther;
        if (c.fault == Fault::ReadOnly) {
            EXPECT_EQ(QFileInfo(target).permissions() & (readOnly | writable), readOnly);
        }
        if (c.after) c.after(target);
    }
}
