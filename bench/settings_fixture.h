#pragma once
#include <QStringList>
#include <QTemporaryDir>

#include "platform/textfile.h"
#include "storage/entryline.h"
#include "storage/monthtable.h"

namespace benchfixture {

// Section "Einstellung" as a user's glykoval.ini holds it after some use.
inline QStringList settingsLines() {
    QStringList l = {"[Einstellung]",
                     "Grafik4=Grafik4.bmp",
                     "Grafik8=Grafik8.bmp",
                     "Header=Header.bmp",
                     "Hochwerte>=180",
                     "Kritischwerte>=140",
                     "Tiefwerte<=60",
                     "FarbeHochwerte=255",
                     "FarbeKritischwerte=33023",
                     "FarbeTiefwerte=16711680",
                     "KurvenFarbe=16711680",
                     "MittelKurvenFarbe=32768",
                     "DatenwerteOberhalbFarbe=0",
                     "WerteOberhalbKurveAnzeigen=1",
                     "LinieBeiNullUnterbrechen=0",
                     "StiftBreite=2",
                     "BisZu4MessungenJeTag=0",
                     "BisZu8MessungenJeTag=1",
                     "BE_Einheit=1",
                     "CT_Therapie=0",
                     "Tagebuch_sichtbar=1",
                     "LetzteHScrollPosition=420",
                     "LetzteKlickPosition=612",
                     "FensterPosTop=39",
                     "FensterPosLinks=39",
                     "FensterBreite=1024",
                     "FensterHoehe=760",
                     "BenutzerName=Max Muster",
                     "TabellenDateiName=/home/max/Glykovalin/Glykovalin-Daten/2024/MM032024.tab",
                     "LetzteEingabe=Abends den     31.03.2024 Z=21:00  ZuckerWert=99"};
    for (const char *slot : {"Morgens", "Messung2", "Messung3", "Messung4", "Messung5", "Messung6",
                             "Messung7", "Abends"})
        l << QStringLiteral("Messung8Uhrzeit%1=07:30").arg(QLatin1String(slot));
    return l;
}

// The remark sections of `years` years of months up to March 2024, a remark
// behind every day row.
inline QStringList remarkSections(int years) {
    QStringList l;
    for (int i = 0; i < years * 12; ++i) {
        const int month = 3 - i % 12 <= 0 ? 15 - i % 12 : 3 - i % 12;
        const int year = 2024 - (i + 9) / 12;
        l << QStringLiteral("[Bemerkungen_MM%1%2.tab]").arg(month, 2, 10, QChar(u'0')).arg(year);
        for (int d = 1; d <= 31; ++d)
            l << QStringLiteral("%1,1=\"nach dem Sport %2 BE, Pumpe ausgewechselt")
                     .arg(d, 2, 10, QChar(u'0'))
                     .arg(d % 7);
    }
    return l;
}

// A folder with a glykoval.ini of the settings alone (about 1 KB) or with
// twenty years of remarks (about 365 KB).
struct SettingsFolder {
    QTemporaryDir dir;
    QString ini;
    explicit SettingsFolder(bool twentyYears) {
        ini = dir.path() + QStringLiteral("/glykoval.ini");
        textfile::writeLines(ini,
                             settingsLines() + (twentyYears ? remarkSections(20) : QStringList()));
    }
    QString base() const { return dir.path() + u'/'; }
};

// A full eight-slot March 2024 (31 x 8 readings) written to `path`.
inline void writeFullEightSlotMonth(const QString &path) {
    monthtable::WriteRequest req;
    req.userName = "Max Muster";
    req.month = "03";
    req.year = "2024";
    req.fourSlots = false;
    req.eightSlots = true;
    for (int d = 1; d <= 31; ++d)
        for (int s = 1; s <= 8; ++s)
            req.entries << entryline::format(
                slotinfo::fromNumber(s), QStringLiteral("%1").arg(d, 2, 10, QChar(u'0')), "03",
                "2024", "07:30", QString::number(60 + (d * 37 + s * 53) % 220));
    textfile::writeLines(path, monthtable::compose(req, monthtable::Margins()));
}

} // namespace benchfixture
