#pragma once
#include <QString>
#include <QStringList>
#include <array>

#include "diarybook_compose.h"

// What the drawing of a month leaves behind for the diary book and the
// browser chart, read straight from a month table file (for the command-line
// tool and for the menu commands, which work on the month on screen).
namespace diarybook {

struct MonthFigures {
    std::array<QString, 31> dayLineTexts; // entry lines of each day with slot tags
    QStringList dayMeans;                 // 31 whole-number texts, "0" without readings
    QString monthMean;                    // "143,57"; empty with fewer than 3 readings
    QString entryMonth, entryYear;        // of the last entry line
    QString tableDateText, tableUserText; // "Datum", "BenutzerName" of "Personendaten"
    bool eightSlots = false;              // the table's stored mode
    bool modeStored = false;              // the table names a mode at all
    QString skippedNotice; // warning about entry lines without a day 01..31, empty when none
};

// Reads the table as the drawing pass reads it (monthread::read); false with
// a German *error when it cannot be read or holds a value that is not a number.
bool readMonthFigures(const QString &tablePath, MonthFigures &figures, QString *error);

// The book input of a table and its diary file (a missing diary file gives no pages).
DiaryBookInput bookInput(const QString &tablePath, const MonthFigures &f, const QString &dataFolder,
                         MeasureMode fallbackMode);

} // namespace diarybook
