#include <QTextBlock>
#include <QTextDocument>
#include <gtest/gtest.h>

#include "diary/diarybook_compose.h"
#include "diary/diarybook_month.h"
#include "platform/convert.h"
#include "storage/entryline.h"
#include "support/golden.h"

using namespace diarybook;

namespace {

const QString kBE4 = QStringLiteral("\t #BE: Morgens= 2\t|  M2= 3\t|  M3= 1\t|  Abends= 2\t ");
const QString kBE8 = QStringLiteral(
    "\t #BE: Morgens= 2\t|  M2= \t|  M3= \t|  M4= 5\t|  M5= \t|  M6= \t|  M7= \t|  Abends= 4\t ");
const QString kCT8 = QStringLiteral("#Insulin (CT)  : Morgens= 8\t|  M2= \t|  M3= \t|  M4= 7\t|  "
                                    "M5= \t|  M6= \t|  M7= \t|  Abends= 6\t ");

QString pageLine(int day, const QString &carb = kBE4,
                 const QString &insulin = QStringLiteral("#Insulin (CT)  : Morgens= 8\t|  "
                                                         "M2= \t|  M3= \t|  Abends=  \t ")) {
    return QStringLiteral("Tag%1: ").arg(day, 2, 10, QChar(u'0')) + carb + insulin +
           QStringLiteral("#Bemerkung: Tag %1").arg(day);
}

QStringList blocks(const QTextDocument &doc) {
    QStringList out;
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next())
        out << b.text();
    return out;
}

DiaryBookInput input(MeasureMode mode, const QStringList &pages) {
    DiaryBookInput in;
    in.mode = mode;
    in.pages = pages;
    in.tableDateText = QStringLiteral("März 2024");
    in.tableUserText = QStringLiteral("Max Muster");
    in.meanSuffixText = QStringLiteral(" -  Mittelwert: 120,00 mg/dl");
    in.dataFolder = QStringLiteral("/daten/");
    in.entryYear = QStringLiteral("2024");
    in.dayLineTexts[4] =
        entryline::format(MeasurementSlot::Morgens, "05", "03", "2024", "07:30", "120") +
        QStringLiteral(" -1 ") +
        entryline::format(MeasurementSlot::Abends, "05", "03", "2024", "21:00", "140") +
        QStringLiteral(" -8 ");
    return in;
}

} // namespace

TEST(DiaryBookCompose, SortsPagesByDayAndDropsDoubles) {
    const QStringList sorted =
        sortPages({pageLine(12), pageLine(3), pageLine(7), pageLine(3), QString()});
    EXPECT_EQ(sorted, QStringList({QString(), pageLine(3), pageLine(7), pageLine(12)}));
    // Without regard to case: "tag" sorts with "Tag".
    const QStringList mixed = sortPages({"Tag10: b", "tag02: a"});
    EXPECT_EQ(mixed, QStringList({"tag02: a", "Tag10: b"}));
}

TEST(DiaryBookCompose, FourSlotBookInDayOrderWithItsLines) {
    QTextDocument doc;
    // Stored as 12, 03, 07 plus a line that is no page; the book shows 03, 07, 12.
    const DiaryBookInput in = input(
        MeasureMode::Four, sortPages({pageLine(12), pageLine(3), "Notiz ohne Tag", pageLine(7)}));
    const ComposeResult r = composeBook(&doc, in);
    EXPECT_EQ(r.pageLines, 3);
    // The title, then each page: day label, measurement line, carbohydrate,
    // insulin, remark and underscores, compared whole.
    const QStringList b = blocks(doc);
    EXPECT_TRUE(golden::matches(b.join(u'\n').toUtf8(), "diary/book4.txt"));
    // The day label stands right-aligned over the page's underscores.
    EXPECT_EQ(b.value(2), QString(82, u' ') + "Tag: 03");
    EXPECT_EQ(b.value(11), QString(101, u'_'));

    // Tab stops: 16 on the measurement line, 8 on the carbohydrate line, the
    // first moved to 35 points on the insulin line (96 pixels per inch).
    const QTextBlock meas = doc.findBlockByNumber(4);
    ASSERT_EQ(meas.blockFormat().tabPositions().size(), 16);
    EXPECT_DOUBLE_EQ(meas.blockFormat().tabPositions()[0].position, 223 * 96.0 / 72);
    const QTextBlock carb = doc.findBlockByNumber(6);
    ASSERT_EQ(carb.blockFormat().tabPositions().size(), 8);
    EXPECT_DOUBLE_EQ(carb.blockFormat().tabPositions()[0].position, 82 * 96.0 / 72);
    const QTextBlock ins = doc.findBlockByNumber(8);
    EXPECT_DOUBLE_EQ(ins.blockFormat().tabPositions()[0].position, 35 * 96.0 / 72);
    EXPECT_DOUBLE_EQ(ins.blockFormat().tabPositions()[1].position, 223 * 96.0 / 72);

    // Title and day label are underlined, the blanks before the label are not.
    QTextCursor c(&doc);
    c.setPosition(doc.findBlockByNumber(0).position() + 4);
    EXPECT_TRUE(c.charFormat().fontUnderline());
    EXPECT_EQ(c.charFormat().intProperty(QTextFormat::FontPixelSize), 16);
    c.setPosition(doc.findBlockByNumber(2).position() + 84);
    EXPECT_TRUE(c.charFormat().fontUnderline());
    c.setPosition(doc.findBlockByNumber(2).position() + 10);
    EXPECT_FALSE(c.charFormat().fontUnderline());

    // The same lines make the printed book.
    // (Title, days and remarks in the PDF: its tests.)
    const BookContent book = composeContent(in);
    ASSERT_EQ(book.entries.size(), 3);
    EXPECT_EQ(book.entries[1].paragraphs.size(), 11);
}

TEST(DiaryBookCompose, EightSlotBookKeepsItsEightColumns) {
    QStringList pages;
    for (int d : {9, 1, 2})
        pages << pageLine(d, kBE8, kCT8);
    QTextDocument doc;
    composeBook(&doc, input(MeasureMode::Eight, sortPages(pages)));
    const QStringList b = blocks(doc);
    EXPECT_TRUE(golden::matches(b.join(u'\n').toUtf8(), "diary/book8.txt"));
    EXPECT_EQ(b.value(2), QString(150, u' ') + "Tag: 01");
    EXPECT_EQ(b.value(11), QString(177, u'_'));
}

TEST(DiaryBookCompose, EightColumnBEPageInFourSlotBook) {
    DiaryBook::Sections s = DiaryBook::splitSections(pageLine(5, kBE8, kCT8));
    EXPECT_TRUE(fitEightColumnsIntoFour(s));
    EXPECT_EQ(s.carb, "BE: Morgens= 2\t|  M2= \t|  M3= \t|  Abends= 4\t");
    // The insulin line keeps the same four columns as the carbohydrate line.
    EXPECT_EQ(s.insulin, "Insulin (CT)  : Morgens= 8\t|  M2= \t|  M3= \t|  Abends= 6\t ");
    EXPECT_EQ(s.remark, "Bemerkung: Tag 5");

    // The day sum in the remark counts only the columns shown: 2 + 4, not
    // 2 + 5 + 4 of all eight. Cells with a decimal point or comma count too.
    // Cells with a decimal point or comma count too; a cell that is no number
    // leaves the remark as it is.
    const struct {
        QString morgens, abends, stored, shown;
    } sums[] = {
        {"2", "4", "11", "6"},
        {"1.5", "2,25", "8,75", "3,75"},
        {"2", "viel", "7", "7"},
    };
    for (const auto &c : sums) {
        QString carb = kBE8;
        carb.replace("Morgens= 2", "Morgens= " + c.morgens)
            .replace("Abends= 4", "Abends= " + c.abends);
        DiaryBook::Sections sum = DiaryBook::splitSections(
            pageLine(5, carb, kCT8)
                .replace("#Bemerkung: Tag 5",
                         "#Bemerkung: BE-Tagessumme= " + c.stored + "\t•    gut"));
        fitEightColumnsIntoFour(sum);
        EXPECT_EQ(sum.remark, "Bemerkung: BE-Tagessumme= " + c.shown + "\t•    gut");
    }

    // A KE page and a four-column page stay as they are.
    QString ke = kBE8;
    ke.replace("BE:", "KE:");
    DiaryBook::Sections k = DiaryBook::splitSections(pageLine(5, ke, kCT8));
    const DiaryBook::Sections before = k;
    EXPECT_FALSE(fitEightColumnsIntoFour(k));
    EXPECT_EQ(k.carb, before.carb);
    EXPECT_EQ(k.insulin, before.insulin);

    // Extra "#" in the remark stay in it; missing labels give empty sections.
    const DiaryBook::Sections extra = DiaryBook::splitSections("Tag02: #a#b#Bemerkung: 3 # 4");
    EXPECT_EQ(extra.remark, "Bemerkung: 3 # 4");
    // A "#" the user typed is stored escaped and printed as "#".
    EXPECT_EQ(DiaryBook::splitSections("Tag02: #a#b#Bemerkung: Nr. &num;4").remark,
              "Bemerkung: Nr. #4");
    const DiaryBook::Sections few = DiaryBook::splitSections("Tag02: nur Text");
    EXPECT_EQ(few.head, "nur Text");
    EXPECT_EQ(few.day, "02");
    EXPECT_TRUE(few.remark.isEmpty());
}

TEST(DiaryBookCompose, MeasurementLineCells) {
    const DiaryBookInput in = input(MeasureMode::Four, {});
    // Day 5's readings in both modes, then no readings: question marks.
    const QString dayText = GibTagebuchWerte(in.dayLineTexts, "05");
    const QStringList lines = {
        FormatiereTagebuchstr(dayText, MeasureMode::Four, GlucoseUnit::MgDl),
        FormatiereTagebuchstr(dayText, MeasureMode::Eight, GlucoseUnit::MgDl),
        FormatiereTagebuchstr(QString(), MeasureMode::Four, GlucoseUnit::MgDl)};
    EXPECT_TRUE(golden::matches(lines.join(u'\n').toUtf8(), "diary/measurementlines.txt"));
    EXPECT_TRUE(GibTagebuchWerte(in.dayLineTexts, "5").isEmpty());
    EXPECT_TRUE(GibTagebuchWerte(in.dayLineTexts, "32").isEmpty());
    EXPECT_TRUE(GibTagebuchWerte(in.dayLineTexts, "").isEmpty());
}

// In mmol/l the book's measurement lines and its title's mean are in mmol/l.
TEST(DiaryBookCompose, ReadingsAndMeanInMmol) {
    DiaryBookInput in = input(MeasureMode::Four, {pageLine(5)});
    in.unit = GlucoseUnit::MmolL;
    const QString line = "Messwerte [mmol/l]: Morgens (07:30) = 6,7\t|\tM2 (  ?  ) =   ?\t|\tM3 "
                         "(  ?  ) =   ?\t|\tAbends (21:00) = 7,8";
    const BookContent book = composeContent(in);
    ASSERT_EQ(book.entries.size(), 1);
    QStringList texts;
    for (const Paragraph &p : book.entries[0].paragraphs)
        texts << p.text;
    EXPECT_TRUE(texts.contains(u' ' + line)) << texts.join('|').toStdString();
    MonthResult month;
    month.meanValueText = "130,00 mg/dl";
    month.readingSum = 390;
    month.readingCount = 3;
    EXPECT_EQ(bookInput(month, "/daten/", MeasureMode::Four, GlucoseUnit::MmolL).meanSuffixText,
              " -  Mittelwert: 7,2 mmol/l");
}

// Only a damaged text has more tabs than a line can hold: a run of them is
// cut to kMaxTabs, and tabs after the first kMaxTabs become blanks.
TEST(DiaryBookCompose, TabsOfADamagedPageAreLimited) {
    using diarybook::kMaxTabs;
    const QString t(1, u'\t');
    const struct {
        QString in, out;
    } cases[] = {
        {"a\tb\t\tc", "a\tb\t\tc"},
        {t.repeated(kMaxTabs), t.repeated(kMaxTabs)},
        {"a" + t.repeated(10000) + "b", "a" + t.repeated(kMaxTabs) + "b"},
        {("x" + t).repeated(kMaxTabs + 2), ("x" + t).repeated(kMaxTabs) + "x x "},
    };
    for (const auto &c : cases)
        EXPECT_EQ(diarybook::limitTabs(c.in), c.out) << c.in.size();
}
