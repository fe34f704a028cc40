#include "monthsession.h"

Folders Folders::at(QString baseFolder) {
    if (!baseFolder.endsWith(u'/')) baseFolder += u'/';
    Folders f;
    f.base = baseFolder;
    f.data = baseFolder + QStringLiteral("Glykovalin-Daten/");
    f.browser = baseFolder + QStringLiteral("Glykovalin-Daten im Browser/");
    f.settings = baseFolder + QStringLiteral("glykoval.ini");
    return f;
}

MonthSession::MonthSession(const Folders &folders, std::shared_ptr<IniDocument> settings)
    : m_folders(folders), m_settings(std::move(settings)) {}

MonthSession::MonthSession(const Folders &folders)
    : MonthSession(folders, std::make_shared<IniDocument>(folders.settings)) {}

bool MonthSession::attach(const QString &tablePath, QString *error) {
    m_tablePath = tablePath;
    if (tablePath.isEmpty()) return true;
    const bool stored = settings().set(keys::TabellenDateiName, tablePath, error);
    m_diary.reset(DiaryBook::diaryPathFor(tablePath));
    if (!m_diary.path().isEmpty()) m_diary.LadeTagebuch(tablePath);
    return stored;
}

void MonthSession::setDrawn(const MonthResult &result) {
    m_drawn = result;
    if (result.readable) m_userName = result.tableUser;
    if (!result.entries.isEmpty()) setEntryMonth(result.entryMonth, result.entryYear);
}
