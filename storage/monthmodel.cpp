#include "monthmodel.h"

#include "monthtable.h"
#include "platform/convert.h"

MonthModel::MonthModel(const Folders &folders, std::shared_ptr<IniDocument> settings,
                       QObject *parent)
    : QObject(parent), m_folders(folders), m_settings(std::move(settings)),
      m_unit(glucoseunit::fromSetting(this->settings().get(keys::Einheit))) {}

MonthModel::MonthModel(const Folders &folders, QObject *parent)
    : MonthModel(folders, std::make_shared<IniDocument>(folders.settings), parent) {}

bool MonthModel::open(const QString &tablePath, QString *error) {
    if (tablePath.isEmpty()) {
        close();
        return true;
    }
    m_tablePath = tablePath;
    const bool stored = settings().set(keys::TabellenDateiName, tablePath, error);
    // A file without ".tab" in its name has no diary.
    m_diary.reset(monthtable::diaryPathOf(tablePath));
    if (!m_diary.path().isEmpty()) m_diary.LadeTagebuch(tablePath);
    emit tableChanged();
    readMonth();
    if (settings().isReadOnly()) emit settingsReadOnly();
    return stored;
}

void MonthModel::close() {
    const bool had = hasTable();
    m_tablePath.clear();
    m_diary.reset();
    m_month = monthread::Month();
    // The next start must not bring back a month of another user.
    if (!settings().get(keys::TabellenDateiName).isEmpty())
        settings().set(keys::TabellenDateiName, QString());
    if (!had) return;
    emit tableChanged();
    emit monthChanged();
}

void MonthModel::reload() {
    readMonth();
}

void MonthModel::readMonth() {
    m_month = monthread::Month();
    if (!m_tablePath.isEmpty()) {
        monthread::read(m_tablePath, m_month);
        const MonthResult &r = m_month.result;
        // A table names its user; one whose header names none leaves the
        // current user as he is.
        if (r.readable && !r.tableUser.isEmpty()) {
            if (settings().get(keys::BenutzerName) != r.tableUser)
                settings().set(keys::BenutzerName, r.tableUser);
            setUserName(r.tableUser);
        }
        if (!r.entries.isEmpty()) setEntryMonth(r.entryMonth, r.entryYear);
    }
    emit monthChanged();
}

bool MonthModel::storePage(int day, const QString &markedText, DiaryBook::StoreFrom from,
                           QString *error) {
    const bool ok =
        m_diary.SpeichereTagebuchseite(day, markedText, from, m_tablePath, settings(), error);
    emit diaryChanged();
    return ok;
}

bool MonthModel::deletePage(int day, QString *error) {
    const bool ok = m_diary.deleteDay(day, error);
    emit diaryChanged();
    return ok;
}

void MonthModel::setUserName(const QString &name) {
    if (name == m_userName) return;
    m_userName = name;
    emit userChanged(name);
}

void MonthModel::setModeTicks(bool four, bool eight) {
    if (four == m_four && eight == m_eight) return;
    m_four = four;
    m_eight = eight;
    emit modeChanged();
}

void MonthModel::applyModeOf(const QString &tablePath) {
    const SettingsStore header(tablePath);
    const QString sec = monthtable::kSection;
    setModeTicks(convert::flag(header.read(sec, keys::BisZu4)),
                 convert::flag(header.read(sec, keys::BisZu8)));
}

void MonthModel::setEntryMonth(const QString &month, const QString &year) {
    m_entryMonth = month;
    m_entryYear = year;
}

void MonthModel::setOptions(const DisplayOptions &options) {
    if (options == m_options) return;
    m_options = options;
    emit optionsChanged();
}

bool MonthModel::setUnit(GlucoseUnit unit, QString *error) {
    bool stored = true;
    const QString text = glucoseunit::unitText(unit);
    if (settings().get(keys::Einheit) != text) stored = settings().set(keys::Einheit, text, error);
    if (unit != m_unit) {
        m_unit = unit;
        emit unitChanged();
    }
    return stored;
}

void MonthModel::restoreUnit() {
    const GlucoseUnit unit = glucoseunit::fromSetting(settings().get(keys::Einheit));
    if (unit == m_unit) return;
    m_unit = unit;
    emit unitChanged();
}
