// Every document counts the readings by one rule: a stored value from 1 to
// 500 mg/dl, whatever the table's measure mode; a 0 is an entry opened for
// correction, no reading.
#include <QDir>
#include <QRegularExpression>
#include <gtest/gtest.h>

#include "graph/graphcli.h"
#include "support/clirun.h"
#include "support/pdftools.h"
#include "support/printfolder.h"

namespace {

QString line(MeasurementSlot s, int day, int value) {
    return entryline::format(s, QStringLiteral("%1").arg(day, 2, 10, QChar(u'0')), "03", "2024",
                             "07:00", QString::number(value));
}

// The folder's March 2024 with these readings, and a diary page for the book.
void rewrite(PrintFolder &f, const QStringList &entries) {
    monthtable::WriteRequest req;
    req.userName = "Max Muster";
    req.month = "03";
    req.year = "2024";
    req.entries = entries;
    textfile::writeLines(f.table, monthtable::compose(req, monthtable::Margins()));
    textfile::writeLines(f.table.chopped(3) + "txt",
                         {"Tag01: \t #BE: Morgens= 2#Insulin#Bemerkung: x"});
}

// The monthly mean as the graph and the graph print show it.
QString meanOnTheGraph(const QString &table) {
    graphcli::DrawnMonth drawn;
    QString error;
    if (!graphcli::draw(table, drawn, &error)) return error;
    return drawn.meanValue;
}

} // namespace

TEST(ReadingDefinition, AZeroPullsNoMeanDownInAnyDocument) {
    PrintFolder f;
    rewrite(f, {line(MeasurementSlot::Morgens, 1, 100), line(MeasurementSlot::Messung2, 1, 100),
                line(MeasurementSlot::Messung3, 1, 100), line(MeasurementSlot::Abends, 1, 0),
                line(MeasurementSlot::Morgens, 2, 100)});
    testutil::Cli cli;
    ASSERT_EQ(cli.run({"chart", f.table}), 0) << cli.err.toStdString();
    const QString page = QString::fromUtf8(testutil::readBytes(cli.out.trimmed()));
    // The daily means of days 1 and 2, never 75 for day 1.
    EXPECT_TRUE(page.contains(QRegularExpression("data: \\[100,100[,\\]]")))
        << cli.out.toStdString();
    // The graph and its print.
    EXPECT_EQ(meanOnTheGraph(f.table), "100,00 mg/dl");
    if (!pdftools::haveTools()) GTEST_SKIP() << "poppler or qpdf missing";
    ASSERT_EQ(cli.run({"diary-pdf", f.table, f.file("b.pdf")}), 0) << cli.err.toStdString();
    EXPECT_TRUE(pdftools::text(f.file("b.pdf")).contains("Mittelwert: 100,00 mg/dl"));
}

// A four-slot month that still holds readings of Messung4 .. 7 counts them
// in every figure, the graph's mean included.
TEST(ReadingDefinition, EveryStoredReadingCountsWhateverTheMode) {
    PrintFolder f;
    rewrite(f, {line(MeasurementSlot::Morgens, 1, 100), line(MeasurementSlot::Messung5, 1, 200),
                line(MeasurementSlot::Abends, 1, 120), line(MeasurementSlot::Messung7, 2, 140)});
    testutil::Cli cli;
    ASSERT_EQ(cli.run({"export-csv", f.table}), 0) << cli.err.toStdString();
    EXPECT_EQ(cli.out.count(QStringLiteral("\n2024-03-")), 4) << cli.out.toStdString();
    EXPECT_EQ(meanOnTheGraph(f.table), "140,00 mg/dl");
}
