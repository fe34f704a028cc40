#pragma once
#include <QObject>
#include <QString>
#include <memory>

#include "diarybook.h"
#include "displayoptions.h"
#include "entryline.h"
#include "folders.h"
#include "glucoseunit.h"
#include "monthread.h"
#include "settingsstore.h"

// The month the program works on, and the one place that changes it: the
// current month table with its diary and what the table file holds, the user
// whose table it is, the measure mode, the month and year of the entry list,
// the display options and the unit values are shown in. The windows never keep a copy of this
// state: they show it and listen to the signals below (connected once, when the program is made).
// It also holds the settings file once for every window, so each key is read from memory.
class MonthModel : public QObject {
    Q_OBJECT
public:
    MonthModel(const Folders &folders, std::shared_ptr<IniDocument> settings,
               QObject *parent = nullptr);
    // With glykoval.ini of the base folder.
    explicit MonthModel(const Folders &folders, QObject *parent = nullptr);

    const Folders &folders() const { return m_folders; }
    SettingsStore settings() const { return SettingsStore(m_settings); }
    const std::shared_ptr<IniDocument> &settingsDocument() const { return m_settings; }

    // --- The current month.
    // The month table on screen; empty while there is none.
    const QString &tablePath() const { return m_tablePath; }
    bool hasTable() const { return !m_tablePath.isEmpty(); }
    // Its diary: the pages stored beside the table.
    const DiaryBook &diary() const { return m_diary; }
    // What the table file held when it was last read (empty without a table).
    const monthread::Month &month() const { return m_month; }
    const MonthResult &figures() const { return m_month.result; }

    // Makes a table the current month, the only way to do so: the table and
    // its diary are attached together, the table is remembered as
    // "TabellenDateiName" and read. A table that names a user makes that user
    // the current one. Emits tableChanged(), then monthChanged(). False, with
    // the German reason in *error, when the setting could not be written; the
    // month is current all the same.
    bool open(const QString &tablePath, QString *error = nullptr);
    // No month is current any more (a new user without a stored month): the
    // remembered table is forgotten. Emits tableChanged() and monthChanged()
    // when there was a month.
    void close();
    // Reads the current table again after it was written. Emits
    // monthChanged().
    void reload();

    // Stores a page of the current month's diary, or deletes one; the diary
    // file is read first, so no page stored there is lost. False with the
    // German reason in *error. Emits diaryChanged().
    bool storePage(int day, const QString &markedText, DiaryBook::StoreFrom from,
                   QString *error = nullptr);
    bool deletePage(int day, QString *error = nullptr);
    // --- The user: the table's user, or the stored name before a table was read.
    const QString &userName() const { return m_userName; }
    void setUserName(const QString &name);

    // --- The measure mode: the ticks of the two menu entries (normally one).
    bool fourSlotsTicked() const { return m_four; }
    bool eightSlotsTicked() const { return m_eight; }
    MeasureMode mode() const { return m_eight ? MeasureMode::Eight : MeasureMode::Four; }
    // Emits modeChanged() when the ticks change.
    void setModeTicks(bool four, bool eight);
    // The ticks a table's header stores; a header that names neither mode
    // unticks both (the graph then keeps its template).
    void applyModeOf(const QString &tablePath);

    // --- Month and year of the entry list: set by each added reading and by
    // each table read.
    const QString &entryMonth() const { return m_entryMonth; }
    const QString &entryYear() const { return m_entryYear; }
    QString entryMonthName() const { return GibMonatLang(m_entryMonth.toInt()); }
    void setEntryMonth(const QString &month, const QString &year);

    // --- The display options of the settings dialog.
    const DisplayOptions &options() const { return m_options; }
    // Emits optionsChanged() when they change.
    void setOptions(const DisplayOptions &options);

    // --- The unit every value is shown and typed in ("Einheit", mg/dl when
    // the settings name none); what is stored stays mg/dl.
    GlucoseUnit unit() const { return m_unit; }
    // Stores the unit as "Einheit" and, when it changes, emits unitChanged().
    // False with the German reason in *error when the setting could not be
    // written; the unit holds for this run all the same.
    bool setUnit(GlucoseUnit unit, QString *error = nullptr);
    // The unit the settings file names now (after a restore); emits
    // unitChanged() when it differs.
    void restoreUnit();

    // The limits, colours, pen width or slot times were changed in the
    // settings file: emits appearanceChanged().
    void appearanceWasChanged() { emit appearanceChanged(); }

signals:
    // Another table (or none) and its diary are current.
    void tableChanged();
    // The current month's file was read (again), or there is no month now.
    void monthChanged();
    // A diary page was stored or deleted.
    void diaryChanged();
    void userChanged(const QString &name);
    void modeChanged();
    void optionsChanged();
    void unitChanged();
    void appearanceChanged();
    // Reading a month wrote its user to the settings file, which cannot be
    // written (the read-only notice follows).
    void settingsReadOnly();

private:
    void readMonth();

    Folders m_folders;
    std::shared_ptr<IniDocument> m_settings;
    QString m_tablePath;
    DiaryBook m_diary;
    monthread::Month m_month;
    QString m_userName;
    bool m_four = true, m_eight = false;
    QString m_entryMonth, m_entryYear;
    DisplayOptions m_options;
    GlucoseUnit m_unit = GlucoseUnit::MgDl;
};
