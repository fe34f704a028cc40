#pragma once
#include <QLocale>
#include <QString>

class QDate;

// German for the whole program whatever the system's language: Qt's own texts
// (standard dialogs, the editors' context menus) and the form of dates and
// numbers.
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
// The first two letters of the weekday and a dot: "Mo.".
QString shortWeekday(const QDate &d);
// Fixed-point with a decimal comma: number(143.567, 2) is "143,57".
QString number(double v, int decimals);
// Reads a number written with a decimal comma (a decimal point is accepted too).
double toNumber(const QString &text, bool *ok = nullptr);

// Makes German the default locale and the language of Qt's own texts: loads
// Qt's German translations (from QLibraryInfo's translations folder) and uses
// Qt's dialogs instead of the desktop's native ones, which would follow the
// system's language. Returns false when the translations are not installed;
// the program then runs on with Qt's English texts. Needs the application
// object.
bool setUp();
// Takes back what setUp() did.
void tearDown();

} // namespace german
