#pragma once
#include <QString>
#include <QStringList>
#include <array>
#include <memory>

#include "diarybook.h"
#include "entryline.h"
#include "settingsstore.h"

// The program's folders: the base folder (the current directory at start,
// ending in "/"), the data and browser folders in it and the settings file.
struct Folders {
    QString base, data, browser, settings;
    static Folders at(QString baseFolder);
};

// What a drawing pass read from a month table and computed from it.
struct MonthResult {
    QStringList entries;                  // the table's entry lines in file order
    std::array<QString, 31> dayLineTexts; // per day: its readings, each with its slot tag
    std::array<QString, 31> dayMeans;     // whole numbers; "0" for a day without readings
    QString monthMean;                    // "143,57"; empty below 3 readings
    QString meanValueText;                // monthMean + " mg/dl", or empty
    QString meanHeaderText;               // " -  Mittelwert: " + meanValueText, or empty
    QString title;                        // the title strip's text
    QString tableDate, tableUser;         // "Datum" and "BenutzerName" of the header
    QString entryMonth, entryYear;        // of the table's last entry line
    QString penWidthText;                 // "StiftBreite" as it was drawn
    QString skippedNotice;                // entry lines passed over; empty when none
    int readingCount = 0;                 // the readings counted in the means
    bool readable = false;                // the table could be read
    bool complete = false;                // the pass ran to its end

    MonthResult() { dayMeans.fill(QStringLiteral("0")); }
    QStringList dayMeanList() const { return QStringList(dayMeans.begin(), dayMeans.end()); }
    QString entryMonthName() const { return GibMonatLang(entryMonth.toInt()); }
};

// The month the program works on: the table on screen with its diary, the
// user whose table it is, the measure mode, the month and year of the entry
// list, and what the last drawing pass found in it. It also holds the
// settings file once for every window, so each key is read from memory.
class MonthSession {
public:
    MonthSession(const Folders &folders, std::shared_ptr<IniDocument> settings);
    // With glykoval.ini of the base folder.
    explicit MonthSession(const Folders &folders);

    const Folders &folders() const { return m_folders; }
    SettingsStore settings() const { return SettingsStore(m_settings); }
    const std::shared_ptr<IniDocument> &settingsDocument() const { return m_settings; }

    // The month table on screen; empty before one is opened.
    const QString &tablePath() const { return m_tablePath; }
    void setTablePath(const QString &path) { m_tablePath = path; }
    // Makes a table the current one: it is remembered as "TabellenDateiName"
    // and its diary is loaded (a name without ".tab" has no diary, nor has a
    // table whose diary file does not exist). False, with the German reason
    // in *error, when the setting could not be written; the table is current
    // all the same.
    bool attach(const QString &tablePath, QString *error = nullptr);

    DiaryBook &diary() { return m_diary; }
    const DiaryBook &diary() const { return m_diary; }

    // The user of the table on screen (its header's "BenutzerName"), or the
    // stored user name before a table was drawn.
    const QString &userName() const { return m_userName; }
    void setUserName(const QString &name) { m_userName = name; }

    // The measure mode: the ticks of the two menu entries (normally one).
    bool fourSlotsTicked() const { return m_four; }
    bool eightSlotsTicked() const { return m_eight; }
    MeasureMode mode() const { return m_eight ? MeasureMode::Eight : MeasureMode::Four; }
    void setModeTicks(bool four, bool eight) {
        m_four = four;
        m_eight = eight;
    }

    // Month and year of the entry list: set by each added reading and by each
    // table read into the list or drawn.
    const QString &entryMonth() const { return m_entryMonth; }
    const QString &entryYear() const { return m_entryYear; }
    QString entryMonthName() const { return GibMonatLang(m_entryMonth.toInt()); }
    void setEntryMonth(const QString &month, const QString &year) {
        m_entryMonth = month;
        m_entryYear = year;
    }

    // The last drawing pass; its month and year become those of the entry
    // list when the table had readings, the user of a table read the
    // session's user.
    const MonthResult &drawn() const { return m_drawn; }
    void setDrawn(const MonthResult &result);

private:
    Folders m_folders;
    std::shared_ptr<IniDocument> m_settings;
    QString m_tablePath;
    DiaryBook m_diary;
    QString m_userName;
    bool m_four = true, m_eight = false;
    QString m_entryMonth, m_entryYear;
    MonthResult m_drawn;
};
