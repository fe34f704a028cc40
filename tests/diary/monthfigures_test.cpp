#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

#include "cli/diarybook_cli.h"
#include "diary/diarybook_month.h"
#include "platform/textfile.h"
#include "storage/entryline.h"
#include "testutil.h"

namespace {

QString reading(MeasurementSlot s, int day, int value) {
    return entryline::format(s, QStringLiteral("%1").arg(day, 2, 10, QChar(u'0')), "03", "2024",
                             "07:30", QString::number(value));
}

} // namespace

// The diary book, the browser chart and their commands read the month
// without the lines whose day lies outside 01..31 and say so on stderr.
TEST(MonthFigures, LinesWithoutADayOfTheMonthAreLeftOutAndReported) {
    testutil::TempFolder tmp;
    const QString old = QDir::currentPath();
    QDir::setCurrent(tmp.path());
    textfile::writeLines(tmp.file("glykoval.ini"),
                         {"[Einstellung]", "Hochwerte>=180", "Kritischwerte>=140", "Tiefwerte<=60",
                          "BisZu4MessungenJeTag=1"});
    QDir().mkpath(tmp.file("scripts"));
    testutil::writeBytes(tmp.file("scripts/Chart.min.js"), "// chart");
    const QString table = tmp.file("MM032024.tab");
    textfile::writeLines(table, {"[Personendaten]", "BenutzerName=Max Muster",
                                 QString::fromUtf8("Datum=März 2024"), "",
                                 reading(MeasurementSlot::Morgens, 3, 100),
                                 "Abends den     32.03.2024 Z=21:00  ZuckerWert=500",
                                 reading(MeasurementSlot::Abends, 3, 120),
                                 "Morgens den    00.03.2024 Z=07:30  ZuckerWert=90",
                                 reading(MeasurementSlot::Morgens, 4, 140)});
    textfile::writeLines(tmp.file("MM032024.txt"),
                         {"Tag03: \t #BE: Morgens= 1\t|  M2= \t|  M3= \t|  Abends= \t #Insulin "
                          "(CT)  : Morgens= \t|  M2= \t|  M3= \t|  Abends=  \t #Bemerkung: "});

    // The notice's wording: the storage tests.
    const QString notice = entryline::skippedLinesNotice(table, {6, 8});

    for (int command = 0; command < 2; ++command) {
        QString outText, errText;
        QTextStream out(&outText), err(&errText);
        const int code = command == 0 ? diarybook::diaryPdfCommand(table, "buch.pdf", out, err)
                                      : diarybook::chartCommand(table, out, err);
        err.flush();
        EXPECT_EQ(code, 0) << errText.toStdString();
        EXPECT_EQ(errText, notice + "\n");
    }
    EXPECT_TRUE(testutil::readBytes(tmp.file("buch.pdf")).startsWith("%PDF"));
    QStringList page;
    ASSERT_TRUE(
        textfile::readLines(tmp.file("Glykovalin-Daten im Browser/2024/MM032024.html"), page));
    EXPECT_FALSE(page.join('\n').contains("500"));
    // A value that is no number makes the month unreadable for the book.
    monthread::Month month;
    QString error;
    textfile::writeLines(table,
                         {"[Personendaten]", reading(MeasurementSlot::Morgens, 3, 100) + "x"});
    EXPECT_FALSE(monthread::readWhole(table, month, &error));
    QDir::setCurrent(old);
}
