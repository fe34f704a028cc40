#pragma once
#include <QString>
#include <QStringList>
#include <array>

#include "entryline.h"

// Process-wide state of the running program, owned by the main window and
// read by the other windows.
struct AppState {
    QString BaseFolder;    // current directory at start, ends in "/"
    QString DataFolder;    // BaseFolder + "Glykovalin-Daten/"
    QString BrowserFolder; // BaseFolder + "Glykovalin-Daten im Browser/"
    QString SettingsPath;  // BaseFolder + "glykoval.ini"
    QString GraphTemplatePath;
    QString HeaderImagePath;
    QString CurrentTablePath;
    QString DiaryPath;

    quint32 CurveColor = 0x00FF0000;     // blue
    quint32 MeanCurveColor = 0x000080FF; // orange
    quint32 AboveValuesColor = 0;
    QString PrintFormat;
    bool ConnectAcrossZero = true;
    bool CarbUnitIsBE = false;
    int LastScrollPosition = 0;
    int LastClickPosition = 64;
    bool FirstPaintPending = true;
    bool GraphShown = false;
    std::array<QString, 31> DayLineTexts;

    // Measurement mode: the ticks of the two menu entries.
    bool FourSlotsTicked = true;
    bool EightSlotsTicked = false;
    MeasureMode mode() const { return EightSlotsTicked ? MeasureMode::Eight : MeasureMode::Four; }

    // Display flags of the graph.
    bool MeanMode = false;
    bool KeepPicture = false;
    bool MeanPass = false;
    bool OverlayBuilding = false;

    // Month commands.
    QString TableUserName;
    bool ShowTableOnOpen = false;
    bool NewMonthPending = false;

    // Diary.
    bool SkipNextReselect = false;
    int CurrentPageDay = 0;
    bool DiaryChanged = false;

    // Month graph: results of the last drawing pass, for the diary, the
    // browser chart and the prints.
    std::array<QString, 31> DayMean; // day 1..31 at index 0..30; "0" without readings
    QString MonthMean;               // "143,57"; empty below 3 readings
    QString TitleText;               // title strip text
    QString MeanValueText;           // MonthMean + " mg/dl"
    QString MeanHeaderText;          // " -  Mittelwert: " + MeanValueText
    // Month and year of the last entry line read ("03", "2024", "März").
    QString EntryMonth;
    QString EntryYear;
    QString EntryMonthName;
    QStringList dayMeans() const { return QStringList(DayMean.begin(), DayMean.end()); }
    AppState() { DayMean.fill(QStringLiteral("0")); }

    // Measurement entry: set by the user-name dialog's OK; the entry dialog's
    // closing buttons then re-select the last clicked day.
    bool ReselectAfterEntry = false;

    void clearDayLineTexts() { DayLineTexts.fill(QString()); }
};

// The single instance.
AppState &appState();
