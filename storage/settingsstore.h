#pragma once
#include <QList>
#include <QString>
#include <memory>

#include "platform/inidocument.h"

// Read and write one key of one section of an INI file; serves the settings
// file "glykoval.ini", the month table headers and the remark sections.
//
// A store made from a path reads the file anew on every call. A store made
// from a shared IniDocument answers reads from memory and writes each change
// through that document, so every window that holds the same document sees
// one parsed file.
class SettingsStore {
public:
    static constexpr const char *kSection = "Einstellung";
    using Change = IniDocument::Change;

    explicit SettingsStore(const QString &path = QString()) : m_path(path) {}
    explicit SettingsStore(std::shared_ptr<IniDocument> document);
    const QString &path() const { return m_path; }
    // Works on the file anew (leaving a shared document).
    void setPath(const QString &path);
    // The shared document, or nullptr for a store made from a path.
    const std::shared_ptr<IniDocument> &document() const { return m_document; }

    QString read(const QString &section, const QString &key) const;
    // False when the file could not be written; *error then holds the German
    // message naming the file, and the file is as it was.
    bool write(const QString &section, const QString &key, const QString &value,
               QString *error = nullptr) const;
    // Several changes in one write of the file.
    bool write(const QList<Change> &changes, QString *error = nullptr) const;

    // Section "Einstellung".
    QString get(const QString &key) const { return read(QString::fromLatin1(kSection), key); }
    bool set(const QString &key, const QString &value, QString *error = nullptr) const {
        return write(QString::fromLatin1(kSection), key, value, error);
    }
    // Skips the write when the text is empty.
    bool setUnlessEmpty(const QString &key, const QString &value) const;
    bool flag(const QString &key) const;
    // Numeric key: empty gives the fallback; a non-number throws EConvertError
    // naming the key.
    int number(const QString &key, int fallback) const;
    // Numeric key without fallback (the limits): empty is an error too.
    int requiredNumber(const QString &key) const;
    // Colour reference key: empty gives the fallback; a non-number throws
    // EConvertError naming the key.
    quint32 color(const QString &key, quint32 fallback) const;

    // True when the file's attributes cannot be read or it is read-only.
    bool isReadOnly() const;

private:
    QString m_path;
    std::shared_ptr<IniDocument> m_document;
};

// Key names of section "Einstellung".
namespace keys {
inline const QString BisZu4 = QStringLiteral("BisZu4MessungenJeTag");
inline const QString BisZu8 = QStringLiteral("BisZu8MessungenJeTag");
inline const QString Grafik4 = QStringLiteral("Grafik4");
inline const QString Grafik8 = QStringLiteral("Grafik8");
inline const QString Header = QStringLiteral("Header");
inline const QString KurvenFarbe = QStringLiteral("KurvenFarbe");
inline const QString MittelKurvenFarbe = QStringLiteral("MittelKurvenFarbe");
inline const QString DatenwerteOberhalbFarbe = QStringLiteral("DatenwerteOberhalbFarbe");
inline const QString WerteOberhalbKurveAnzeigen = QStringLiteral("WerteOberhalbKurveAnzeigen");
inline const QString LinieBeiNullUnterbrechen = QStringLiteral("LinieBeiNullUnterbrechen");
inline const QString FarbeHochwerte = QStringLiteral("FarbeHochwerte");
inline const QString FarbeKritischwerte = QStringLiteral("FarbeKritischwerte");
inline const QString FarbeTiefwerte = QStringLiteral("FarbeTiefwerte");
inline const QString Hochwerte = QStringLiteral("Hochwerte>");
inline const QString Kritischwerte = QStringLiteral("Kritischwerte>");
inline const QString Tiefwerte = QStringLiteral("Tiefwerte<");
inline const QString StiftBreite = QStringLiteral("StiftBreite");
inline const QString Grafikformat = QStringLiteral("Grafikformat");
inline const QString BE_Einheit = QStringLiteral("BE_Einheit");
inline const QString CT_Therapie = QStringLiteral("CT_Therapie");
inline const QString Tagebuch_sichtbar = QStringLiteral("Tagebuch_sichtbar");
inline const QString LetzteHScrollPosition = QStringLiteral("LetzteHScrollPosition");
inline const QString LetzteKlickPosition = QStringLiteral("LetzteKlickPosition");
inline const QString FensterPosTop = QStringLiteral("FensterPosTop");
inline const QString FensterPosLinks = QStringLiteral("FensterPosLinks");
inline const QString FensterBreite = QStringLiteral("FensterBreite");
inline const QString FensterHoehe = QStringLiteral("FensterHoehe");
inline const QString BenutzerName = QStringLiteral("BenutzerName");
inline const QString TabellenDateiName = QStringLiteral("TabellenDateiName");
inline const QString LetzteEingabe = QStringLiteral("LetzteEingabe");
// The unit values are shown and typed in: "mg/dl" or "mmol/l".
inline const QString Einheit = QStringLiteral("Einheit");
} // namespace keys

// Defaults of the numeric window keys.
namespace defaults {
constexpr int LetzteHScrollPosition = 0;
constexpr int LetzteKlickPosition = 64;
constexpr int FensterPosTop = 39;
constexpr int FensterPosLinks = 39;
constexpr int FensterBreite = 300;
constexpr int FensterHoehe = 590;
constexpr int StiftBreite = 2;
// The curve colours when the settings name none: blue and orange.
constexpr quint32 KurvenFarbe = 0x00FF0000;
constexpr quint32 MittelKurvenFarbe = 0x000080FF;
} // namespace defaults
