// Writes the files delivered beside the program into the given folder:
// glykoval.ini (only when missing), the graph templates, the legend and title
// pictures, and the help page.
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>

#include "graph/templatepicture.h"
#include "platform/profile.h"
#include "platform/textfile.h"
#include "storage/monthtable.h"

#include <QDate>
#include <cmath>

namespace {

QStringList defaultSettings() {
    return {
        QStringLiteral("[Einstellung]"),
        QStringLiteral("Grafik4=Grafik4.bmp"),
        QStringLiteral("Grafik8=Grafik8.bmp"),
        QStringLiteral("Header=Header.bmp"),
        QStringLiteral("BisZu4MessungenJeTag=1"),
        QStringLiteral("BisZu8MessungenJeTag=0"),
        QStringLiteral("Hochwerte>=180"),
        QStringLiteral("Kritischwerte>=140"),
        QStringLiteral("Tiefwerte<=60"),
        QStringLiteral("FarbeHochwerte=255"),
        QStringLiteral("FarbeKritischwerte=33023"),
        QStringLiteral("FarbeTiefwerte=16711680"),
        QStringLiteral("KurvenFarbe=8388608"),
        QStringLiteral("MittelKurvenFarbe=32768"),
        QStringLiteral("DatenwerteOberhalbFarbe=0"),
        QStringLiteral("WerteOberhalbKurveAnzeigen=0"),
        QStringLiteral("LinieBeiNullUnterbrechen=1"),
        QStringLiteral("StiftBreite=2"),
        QStringLiteral("Grafikformat=DINA4"),
        QStringLiteral("BE_Einheit=1"),
        QStringLiteral("CT_Therapie=0"),
        QStringLiteral("Tagebuch_sichtbar=1"),
        QStringLiteral("FensterPosTop=39"),
        QStringLiteral("FensterPosLinks=39"),
        QStringLiteral("FensterBreite=1000"),
        QStringLiteral("FensterHoehe=780"),
    };
}

QStringList helpPage() {
    return {
        QStringLiteral("<!DOCTYPE html>"),
        QStringLiteral("<html lang=\"de\"><head><meta charset=\"windows-1252\">"),
        QStringLiteral("<title>Glykovalin - Hilfe</title></head><body style=\"font-family:Arial,"
                       "sans-serif;max-width:50em;margin:2em auto\">"),
        QStringLiteral("<h1>Glykovalin - Hilfe</h1>"),
        QStringLiteral("<p>Glykovalin ist Ihr Tagebuch der Blutzuckermesswerte. Sie tragen bis zu "
                       "4 oder 8 Messungen am Tag ein; das Programm zeigt den Monat als Grafik "
                       "mit Grenzwerten, Normalbereich und Monatsmittelwert.</p>"),
        QStringLiteral("<h2>Erste Schritte</h2><ol>"),
        QStringLiteral("<li>Geben Sie beim ersten Start Ihren Namen ein.</li>"),
        QStringLiteral(
            "<li>Unter <b>Datei | Neu erstellen</b> beginnen Sie einen Monat. Wählen Sie "
            "Tag, Messung, Uhrzeit und Wert und drücken Sie <b>In Liste "
            "aufnehmen</b>.</li>"),
        QStringLiteral("<li>Mit <b>Grafik zeigen</b> wird der Monat gespeichert und "
                       "gezeichnet.</li>"),
        QStringLiteral("<li>Ein Klick auf einen Tag der Grafik zeigt dessen Tagebuchseite "
                       "(BE/KE, Insulin, Bemerkung).</li></ol>"),
        QStringLiteral("<h2>Ausgaben</h2><ul>"),
        QStringLiteral("<li><b>Drucken</b>: Grafik (DIN A4, A5, A6), Tabelle und alle "
                       "Tagebuchseiten als PDF.</li>"),
        QStringLiteral("<li><b>Datei | Liniendiagramm im Browser anzeigen</b>: die "
                       "Tagesmittelwerte als Wochendiagramme.</li></ul>"),
        QStringLiteral("<p>Ihre Daten liegen im Ordner <i>Glykovalin-Daten</i> neben dem "
                       "Programm, die Einstellungen in <i>glykoval.ini</i>.</p>"),
        QStringLiteral("</body></html>"),
    };
}

// A demo month for a first look: four readings a day up to today.
bool writeDemo(const QString &dir) {
    const QDate today = QDate::currentDate();
    monthtable::WriteRequest req;
    req.userName = QStringLiteral("Max Muster");
    req.month = QStringLiteral("%1").arg(today.month(), 2, 10, QChar(u'0'));
    req.year = QString::number(today.year());
    req.dataFolder = dir + QStringLiteral("Glykovalin-Daten/");
    const MeasurementSlot four[] = {MeasurementSlot::Morgens, MeasurementSlot::Messung2,
                                    MeasurementSlot::Messung3, MeasurementSlot::Abends};
    const char *times[] = {"07:00", "12:00", "17:00", "21:30"};
    for (int d = 1; d <= today.day(); ++d)
        for (int s = 0; s < 4; ++s) {
            const int v = int(120 + 45 * std::sin(d * 0.7 + s * 1.3) + (d * 37 + s * 11) % 40);
            req.entries << entryline::format(
                four[s], QStringLiteral("%1").arg(d, 2, 10, QChar(u'0')), req.month, req.year,
                QString::fromLatin1(times[s]), QString::number(v));
        }
    QDir().mkpath(req.dataFolder + req.year);
    const QString path =
        monthtable::pathFor(req.dataFolder, QStringLiteral("MM"), req.month, req.year);
    if (QFileInfo::exists(path)) return true;
    if (!textfile::writeLines(path, monthtable::compose(req, monthtable::Margins()))) return false;
    const QString ini = dir + QStringLiteral("glykoval.ini");
    if (profile::read(ini, QStringLiteral("Einstellung"), QStringLiteral("BenutzerName"))
            .isEmpty()) {
        profile::write(ini, QStringLiteral("Einstellung"), QStringLiteral("BenutzerName"),
                       req.userName);
        profile::write(ini, QStringLiteral("Einstellung"), QStringLiteral("TabellenDateiName"),
                       path);
        for (int s = 0; s < 4; ++s)
            profile::write(ini, QStringLiteral("Einstellung"),
                           slotinfo::timeKey(four[s], MeasureMode::Four),
                           QString::fromLatin1(times[s]));
    }
    return true;
}

} // namespace

int main(int argc, char **argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QString out = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QDir::currentPath();
    const QString dir = out.endsWith(u'/') ? out : out + u'/';
    QDir().mkpath(dir);
    bool ok = true;
    if (!QFileInfo::exists(dir + "glykoval.ini"))
        ok &= textfile::writeLines(dir + "glykoval.ini", defaultSettings());
    ok &= templatepicture::graphTemplate(MeasureMode::Four).save(dir + "Grafik4.bmp", "BMP");
    ok &= templatepicture::graphTemplate(MeasureMode::Eight).save(dir + "Grafik8.bmp", "BMP");
    ok &= templatepicture::legend().save(dir + "M_einheit.bmp", "BMP");
    ok &= templatepicture::header().save(dir + "Header.bmp", "BMP");
    ok &= textfile::writeLines(dir + "Glykovalin-Hilfe.htm", helpPage());
    if (argc > 2 && QString::fromLatin1(argv[2]) == u"--demo") ok &= writeDemo(dir);
    return ok ? 0 : 1;
}
