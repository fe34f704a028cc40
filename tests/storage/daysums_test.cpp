#include <gtest/gtest.h>

#include "storage/daysums.h"

using daysums::LineSum;
using daysums::sumOf;

TEST(DaySums, OneRuleForEveryCell) {
    const struct {
        const char *line;
        const char *sum; // "" when no cell holds a number
        int cells;
        const char *unreadable;
    } cases[] = {
        // Decimal comma and point, an empty cell counts nothing.
        {"\t BE: Morgens= 1.5 \t|  M2= 2 \t|  M3= \t|  Abends= ", "3,5", 2, ""},
        {"BE: Morgens= 1,5 \t|  M2= 2", "3,5", 2, ""},
        {"BE: Morgens= 0,1 | M2= 0,2", "0,3", 2, ""},
        // Every column counts, whatever the mode: eight columns in a four-slot month.
        {"\t BE: Morgens= 1 \t|  M2= 1 \t|  M3= 1 \t|  M4= 1 \t|  M5= 1 \t|  M6= 1 \t|  M7= 1 "
         "\t|  Abends= 1 ",
         "8", 8, ""},
        // A unit after the number is no fault; a word is.
        {"KE: Morgens= 2 KE | Abends= 3", "5", 2, ""},
        {"BE: Morgens= 2 Stück | Abends= 3", "3", 1, "2 Stück"},
        {"BE: Morgens= x \t|  Abends= 1", "1", 1, "x"},
        {"BE: Morgens= 1,2,3", "", 0, "1,2,3"},
        {"BE: Morgens= 1..5", "", 0, "1..5"},
        {"BE: Morgens= ,5", "", 0, ",5"},
        {"BE: Morgens= -2", "", 0, "-2"},
        {"BE: Morgens= 1e2", "", 0, "1e2"},
        // Nothing entered, no cells at all, a lost column separator.
        {"\t BE: Morgens= \t|  M2= \t|  M3= \t|  Abends= ", "", 0, ""},
        {"BE: ", "", 0, ""},
        {"BE: Morgens= 2 M2= 3", "5", 2, ""},
        // Insulin: two cells in a column of intensified therapy.
        {"\t Insulin (ICT) : Bolus= 6  Basal= 10 \t|  Bol.= 4   Bas.= \t|  Bol.= 2 IE  Bas.= 12 ",
         "34", 5, ""},
        {"Insulin (CT)  : Morgens= 8 \t|  M2= \t|  M3= \t|  Abends=  6  ", "14", 2, ""},
        {"BE: Morgens= 0,125 | M2= 1,000001", "1,125001", 2, ""},
        {"BE: Morgens= 1,0000001", "", 0, "1,0000001"},
    };
    for (const auto &c : cases) {
        const LineSum s = sumOf(QString::fromUtf8(c.line));
        SCOPED_TRACE(c.line);
        EXPECT_EQ(s.hasValue() ? s.text() : QString(), QString::fromUtf8(c.sum));
        EXPECT_EQ(s.cells, c.cells);
        EXPECT_EQ(s.unreadableCell, QString::fromUtf8(c.unreadable));
    }
}
