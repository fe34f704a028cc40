#pragma once
#include <QLocale>
#include <QString>

class QDate;

// Dates and numbers in German form whatever the system's language.
namespace german {

// German (Germany); numbers without thousands separator, so that a number
// written with it can be read back.
const QLocale &locale();
// "07.12.2026".
QString date(const QDate &d);
// "Montag, 7. Dezember 2026".
QString longDate(const QDate &d);
// "Montag".
QString weekday(const QDate &d);
// Fixed-point with a decimal comma: number(143.567, 2) is "143,57".
QString number(double v, int decimals);
// Reads a number written with a decimal comma (a decimal point is accepted too).
double toNumber(const QString &text, bool *ok = nullptr);

} // namespace german
