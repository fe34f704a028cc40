#pragma once
#include <QDate>
#include <QString>
#include <QStringView>

// Dates, clock times and numbers as the exporting programs write them.
namespace importer {

enum class DateOrder { DayMonthYear, MonthDayYear, YearMonthDay };

// Years a reading may have; anything else is a broken date.
constexpr int kFirstYear = 1900, kLastYear = 2999;

// The three numbers of a date such as "05-03-2024", "03/05/24" or
// "2024.03.05" (separators "-", "/" or "."; two-digit years are 20xx), in
// the order written; false for anything else.
struct DateParts {
    int first = 0, second = 0, third = 0;
    bool yearFirst = false; // the first number has four digits
};
bool splitDate(QStringView text, DateParts &parts);
// The date of the parts in the given order (a four-digit first number is
// always the year); false when it is no date between kFirstYear and kLastYear.
bool dateOf(const DateParts &parts, DateOrder order, QDate &date);

// The minute of the day of "7:30", "07:30", "07:30:15", "7:30 PM" or
// "12:05 am" (seconds are cut off); false for anything else.
bool parseTime(QStringView text, int &minute);
// Date and time in one field, separated by blanks or "T".
bool splitTimestamp(QStringView text, DateParts &date, int &minute);

// A decimal number with a point or a comma ("7,1", "128", "5.55"), blanks
// around it allowed; false for anything else.
bool parseNumber(QStringView text, double &value);

// mg/dl of a value in mmol/l: value x 18.016, rounded half away from zero.
int mgdlOfMmol(double mmol);
// A value in mg/dl rounded half away from zero.
int mgdlOf(double mgdl);

// "HH:MM" of a minute of the day.
QString timeText(int minute);

} // namespace importer
