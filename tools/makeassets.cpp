// Writes the files delivered beside the program into the given folder:
// glykoval.ini (only when missing), the graph templates, the legend and title
// pictures, and the help page. With --icons it writes the program's icon
// instead, as SVG and as PNG pictures of the usual sizes.
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QPainter>
#include <QPainterPath>
#include <QTextStream>

#include "graph/templatepicture.h"
#include "platform/profile.h"
#include "platform/textfile.h"
#include "platform/win1252.h"
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

// The sections of the help page. The page is written like the other
// delivered text files in Windows-1252, so only characters of that code page
// may appear here.

// The head of the page with its styles, and what the program does.
QString helpHead() {
    return QStringLiteral(R"HTML(<!DOCTYPE html>
<html lang="de">
<head>
<meta charset="windows-1252">
<title>Glykovalin - Hilfe</title>
<style>
body { font-family: Arial, Helvetica, sans-serif; max-width: 52em; margin: 2em auto; padding: 0 1em; line-height: 1.45; color: #1a1a1a; }
h1 { color: #1f4f8f; }
h2 { color: #1f4f8f; border-bottom: 1px solid #c8d4e4; padding-bottom: 0.2em; margin-top: 2em; }
h3 { margin-bottom: 0.3em; }
table { border-collapse: collapse; width: 100%; }
th, td { border: 1px solid #c8d4e4; padding: 0.35em 0.6em; text-align: left; vertical-align: top; }
th { background: #eef3f9; }
code, kbd { font-family: "Courier New", monospace; background: #f3f3f3; padding: 0 0.2em; }
.hinweis { background: #fff8e0; border-left: 4px solid #e0b000; padding: 0.5em 0.8em; }
</style>
</head>
<body>
<h1>Glykovalin - Hilfe</h1>
<p>Glykovalin ist Ihr Tagebuch der Blutzucker-Selbstkontrolle. Sie tragen bis zu vier oder bis zu
acht Messwerte am Tag ein (in mg/dl, von 0 bis 500, jeweils mit Uhrzeit). Das Programm zeichnet
jeden Monat als Liniengrafik mit Ihren drei Grenzwerten (hoch, kritisch, tief), dem schraffierten
Normalbereich und dem Monatsmittelwert. Zu jedem Tag führen Sie eine Tagebuchseite mit
Broteinheiten und Insulin. Grafik, Tabelle und Tagebuch können Sie drucken, als PDF-Datei
speichern oder als Wochendiagramme im Webbrowser ansehen.</p>)HTML");
}

// Links to the sections.
QString helpContents() {
    return QStringLiteral(R"HTML(<h2>Inhalt</h2>
<ul>
<li><a href="#start">Erste Schritte</a></li>
<li><a href="#eingabe">Messwerte eingeben</a></li>
<li><a href="#korrigieren">Messwerte korrigieren und löschen</a></li>
<li><a href="#grafik">Die Monatsgrafik</a></li>
<li><a href="#tagebuch">Die Tagebuchseite (BE/KE, CT/ICT)</a></li>
<li><a href="#menue">Alle Menübefehle</a></li>
<li><a href="#einstellungen">Einstellungen</a></li>
<li><a href="#einheit">Maßeinheit: mg/dl oder mmol/l</a></li>
<li><a href="#drucken">Drucken</a></li>
<li><a href="#ausgaben">PDF, Webbrowser und Befehlszeile</a></li>
<li><a href="#import">Messwerte aus Dateien übernehmen</a></li>
<li><a href="#statistik">Statistik und Arztbericht</a></li>
<li><a href="#dateien">Wo Ihre Daten liegen</a></li>
<li><a href="#sicherung">Daten sichern und zurückholen</a></li>
</ul>)HTML");
}

// Section "Erste Schritte".
QString helpFirstSteps() {
    return QStringLiteral(R"HTML(<h2 id="start">Erste Schritte</h2>
<ol>
<li>Beim ersten Start fragt Glykovalin nach Ihrem Vor- und Nachnamen. Die Anfangsbuchstaben
kennzeichnen Ihre Monatstabellen (zum Beispiel <code>MM122026.tab</code> für Max Muster im
Dezember 2026).</li>
<li>Wählen Sie <b>Datei › Neu erstellen (neuer Monat oder Jahr)</b>. Das
Eingabefenster öffnet sich mit dem heutigen Monat.</li>
<li>Tragen Sie Ihre Messwerte ein und klicken Sie auf <b>Grafik zeigen</b>. Der Monat wird
gespeichert und als Grafik gezeichnet.</li>
<li>Klicken Sie in der Grafik auf einen Tag: darunter erscheint die Tagebuchseite dieses Tages.</li>
</ol>
<p>Unter <b>Optionen</b> legen Sie fest, ob Sie bis zu 4 oder bis zu 8 Messungen je Tag eintragen.
Bei 4 Messungen heißen sie Morgens, Messung 2, Messung 3 und Abends, bei 8 Messungen
Morgens, Messung 2 bis Messung 7 und Abends.</p>)HTML");
}

// Section "Messwerte eingeben".
QString helpEntering() {
    return QStringLiteral(R"HTML(<h2 id="eingabe">Messwerte eingeben</h2>
<p>Das Fenster <b>Eingabe der Glykovalinmesswerte</b> öffnen Sie mit
<b>Tabelle › aktuelle bearbeiten</b> (der gezeigte Monat),
<b>Tabelle › neu erstellen (neuer Monat)</b> oder
<b>Datei › Öffnen › und Tabelle bearbeiten</b> (ein gespeicherter Monat).
Links steht die Liste der Messwerte des Monats, nach Tag und Messung geordnet.</p>
<ol>
<li>Stellen Sie <b>Tag</b>, <b>Monat</b> und <b>Jahr</b> ein. Der Monat einer Liste, die schon
Werte enthält, lässt sich nicht mehr ändern: ein neuer Monat bekommt eine neue
Tabelle.</li>
<li>Der Schalter mit dem Namen der Messung (zum Beispiel <b>Morgens</b>) wechselt bei jedem Klick
zur nächsten Messung des Tages. Dabei wird die zuletzt für diese Messung benutzte Uhrzeit
eingetragen.</li>
<li>Die <b>Uhrzeit</b> tippen Sie als <code>SS:MM</code> ein (zum Beispiel <code>07:30</code>) oder
stellen Sie sie mit den Pfeilen daneben in Schritten von 10 Minuten ein.</li>
<li>Geben Sie den <b>Glykovalinmesswert</b> in mg/dl ein (0 bis 500).</li>
<li>Klicken Sie auf <b>In Liste aufnehmen</b> oder drücken Sie die Eingabetaste im Wertfeld.
Der Wert steht dann in der Liste, und der Schalter springt zur nächsten Messung.</li>
<li>Wenn alle Werte eingetragen sind: <b>Grafik zeigen</b> speichert den Monat und zeichnet die
Grafik, <b>Tabelle zeigen</b> speichert den Monat und zeigt ihn als Tabelle.</li>
</ol>
<p class="hinweis">Die Werte sind erst gespeichert, wenn Sie <b>Grafik zeigen</b> oder
<b>Tabelle zeigen</b> geklickt haben.</p>
<p>Hat ein anderes Programm (zum Beispiel <code>glykovalin-cli add</code>) in derselben Tabelle
Messwerte gespeichert, während das Fenster offen war, gehen sie beim Speichern nicht verloren:
Glykovalin übernimmt sie in die Liste und nennt sie Ihnen. Was Sie selbst in der Liste gelöscht
oder geändert haben, bleibt gelöscht oder geändert. Schreibt gerade ein anderes Programm in die
Tabelle, wird nichts gespeichert; die Liste bleibt, und Sie können es gleich noch einmal
versuchen.</p>)HTML");
}

// Section "Messwerte korrigieren und löschen".
QString helpCorrecting() {
    return QStringLiteral(R"HTML(<h2 id="korrigieren">Messwerte korrigieren und löschen</h2>
<h3>Einen Wert ersetzen</h3>
<p>Tragen Sie für denselben Tag und dieselbe Messung einfach den richtigen Wert ein und
klicken Sie auf <b>In Liste aufnehmen</b>. Glykovalin fragt, ob der vorhandene Eintrag ersetzt
werden soll; mit <b>Ja</b> wird er ersetzt, mit <b>Nein</b> bleibt der alte Wert.</p>
<h3>Einen Eintrag bearbeiten</h3>
<p>Markieren Sie den Eintrag in der Liste und klicken Sie auf <b>Eintrag bearbeiten</b>. Nach
Ihrer Bestätigung setzt Glykovalin den Wert in der Liste auf 0 und trägt Tag, Messung,
Uhrzeit und Wert in die Eingabefelder ein. Ändern Sie den Wert und klicken Sie auf <b>In
Liste aufnehmen</b>; die Frage nach dem Ersetzen beantworten Sie mit <b>Ja</b>. Der erste Eintrag
der Liste kann so nicht bearbeitet werden, weil er einen Messwert haben muss.</p>
<h3>Einen falschen Eintrag löschen</h3>
<p>Markieren Sie den falschen Eintrag in der Liste und klicken Sie auf <b>Eintrag löschen</b>
oder drücken Sie die Taste <kbd>Entf</kbd>. Nach Ihrer Bestätigung verschwindet der
Eintrag aus der Liste; mit <b>Grafik zeigen</b> wird der Monat ohne ihn gespeichert. Ein
gelöschter Wert zählt, anders als ein auf 0 gesetzter, auch nicht mehr im
Monatsmittelwert.</p>)HTML");
}

// Section "Die Monatsgrafik".
QString helpGraph() {
    return QStringLiteral(R"HTML(<h2 id="grafik">Die Monatsgrafik</h2>
<p>Die Grafik zeigt den ganzen Monat, Tag für Tag von links nach rechts, mit allen Messungen
des Tages. Die drei waagrechten Linien sind Ihre Grenzwerte für Hochwerte, kritische Werte
und Tiefwerte; der schraffierte Streifen ist der Normalbereich. Darunter steht der
Monatsmittelwert, sobald der Monat mindestens drei Messwerte hat.</p>
<ul>
<li>Die Grafik ist breiter als das Fenster: Sie verschieben sie mit der Bildlaufleiste oder mit
<kbd>Strg</kbd>+<kbd>Pfeil rechts</kbd> und <kbd>Strg</kbd>+<kbd>Pfeil links</kbd>.</li>
<li>Zeigen Sie mit der Maus in die Grafik, steht unten der Wert in mg/dl auf dieser Höhe.</li>
<li>Ein Klick auf einen Tag zeigt darunter dessen Tagebuchseite; ein Pfeil markiert den Tag.</li>
<li><b>Mittelwert</b> in der Menüleiste zeichnet über die Messkurve die Mittelwertkurve,
<b>Messwerte</b> wieder nur die Messwerte.</li>
</ul>)HTML");
}

// Section "Die Tagebuchseite (BE/KE, CT/ICT)".
QString helpDiaryPage() {
    return QStringLiteral(R"HTML(<h2 id="tagebuch">Die Tagebuchseite (BE/KE, CT/ICT)</h2>
<p>Unter der Grafik steht die Tagebuchseite des gewählten Tages. Oben stehen der Tag und die
Messwerte des Tages mit Uhrzeit (diese Zeilen können Sie nicht ändern), darunter drei
Zeilen zum Ausfüllen:</p>
<ul>
<li><b>BE</b> oder <b>KE</b>: die Kohlenhydrate zu jeder Messung, in Broteinheiten (BE) oder
Kohlenhydrateinheiten (KE). Was gilt, stellen Sie unter <b>Einstellungen</b> ein. Glykovalin
rechnet beim Tippen die <b>Tagessumme</b> aus und schreibt sie an den Anfang der Bemerkung
(zum Beispiel <code>BE-Tagessumme= 5,5</code>). Zahlen mit Nachkommastelle schreiben Sie mit
Komma.</li>
<li><b>Insulin</b>: bei konventioneller Therapie (<b>CT</b>) eine Dosis zu jeder Messung, bei
intensivierter Therapie (<b>ICT</b>) je Messung die Dosis <b>Bolus</b> (Bol.) und <b>Basal</b>
(Bas.). Die Therapie wählen Sie unter <b>Einstellungen</b>.</li>
<li><b>Bemerkung</b>: ein freier Text zum Tag.</li>
</ul>
<p>Tragen Sie die Werte hinter dem jeweiligen <code>=</code> ein. Die senkrechten Striche
<code>|</code> trennen die Spalten der Messungen und bleiben an ihrem Platz.</p>
<p>Wenn Sie eine geänderte Seite verlassen (einen anderen Tag anklicken oder das Programm
beenden), fragt Glykovalin: „Das Tagebuch wurde verändert. Möchten Sie es
speichern?“ Mit <b>Ja</b> wird die Seite gespeichert. Nach der Frage klicken Sie den neuen
Tag noch einmal an.</p>
<p><b>Bearbeiten › Daten der aktuellen Tagebuchseite löschen</b> löscht die
gespeicherte Seite des gezeigten Tages (nach Rückfrage); die Messwerte bleiben
erhalten.</p>)HTML");
}

// Section "Alle Menübefehle".
QString helpMenus() {
    return QStringLiteral(R"HTML(<h2 id="menue">Alle Menübefehle</h2>
<table>
<tr><th>Menü</th><th>Befehl</th><th>Was er tut</th></tr>
<tr><td rowspan="10">Datei</td><td>Neu erstellen (neuer Monat oder Jahr)</td>
<td>Öffnet das leere Eingabefenster für den heutigen Monat. Die Tabelle wird angelegt,
sobald Sie <b>Grafik zeigen</b> klicken.</td></tr>
<tr><td>Liniendiagramm im Browser anzeigen</td>
<td>Schreibt die Tagesmittelwerte des gezeigten Monats als fünf Wochendiagramme in eine
Webseite und öffnet sie im Webbrowser.</td></tr>
<tr><td>Öffnen › und als Grafik anzeigen</td>
<td>Wählt eine gespeicherte Monatstabelle (<code>.tab</code>) und zeichnet sie.</td></tr>
<tr><td>Öffnen › und Tabelle anzeigen</td>
<td>Wählt eine Monatstabelle und zeigt sie gleich als Tabelle.</td></tr>
<tr><td>Öffnen › und Tabelle bearbeiten</td>
<td>Wählt eine Monatstabelle und öffnet sie im Eingabefenster.</td></tr>
<tr><td>Exportieren › Messwerte als CSV…</td>
<td>Schreibt alle Messwerte des gezeigten Monats als CSV-Datei für eine Tabellenkalkulation
(siehe <a href="#statistik">Statistik und Arztbericht</a>).</td></tr>
<tr><td>Importieren › Messwerte aus Datei…</td>
<td>Übernimmt Messwerte aus der Datei eines Messgeräts oder Portals nach einer Vorschau (siehe
<a href="#import">Messwerte aus Dateien übernehmen</a>).</td></tr>
<tr><td>Datensicherung › Sicherung erstellen…</td>
<td>Schreibt alle Monatstabellen, Tagebücher und Einstellungen in eine ZIP-Datei (siehe
<a href="#sicherung">Daten sichern und zurückholen</a>).</td></tr>
<tr><td>Datensicherung › Sicherung wiederherstellen…</td>
<td>Prüft eine Sicherung, zeigt, was sie ersetzen würde, und stellt sie wieder her.</td></tr>
<tr><td>Beenden</td>
<td>Beendet Glykovalin. Eine geänderte Tagebuchseite wird vorher zum Speichern angeboten;
Fenstergröße und Einstellungen werden gespeichert.</td></tr>
<tr><td>Bearbeiten</td><td>Daten der aktuellen Tagebuchseite löschen</td>
<td>Löscht nach Rückfrage die gespeicherte Tagebuchseite des gezeigten Tages.</td></tr>
<tr><td rowspan="5">Drucken</td><td>Grafik ganzen Monat drucken</td>
<td>Druckt die Grafik des ganzen Monats nach einer Vorschau (DIN A4, A5 oder A6).</td></tr>
<tr><td>Grafik nur sichtbaren Bereich drucken</td>
<td>Druckt nur den Teil der Grafik, der gerade im Fenster zu sehen ist.</td></tr>
<tr><td>Tabelle drucken</td>
<td>Zeigt den Monat als Tabelle und bereitet den Druck mit Vorschau und Rändern vor.</td></tr>
<tr><td>Alle gespeicherten Tagebuchseiten drucken</td>
<td>Stellt alle gespeicherten Tagebuchseiten des Monats zusammen; Sie speichern sie als PDF-Datei
oder drucken sie über Ihr PDF-Programm.</td></tr>
<tr><td>Arztbericht als PDF…</td>
<td>Schreibt die Kennzahlen der letzten drei Monate auf eine A4-Seite für Ihre Ärztin oder Ihren
Arzt und öffnet sie.</td></tr>
<tr><td>Einstellungen</td><td>(direkt in der Menüleiste)</td>
<td>Grenzwerte, Farben, Linienbreite, BE oder KE, CT oder ICT, Tagebuch sichtbar, die
Wahl für das Liniendiagramm im Browser, die Maßeinheit und der Ordner der automatischen
Sicherungen.</td></tr>
<tr><td>Mittelwert</td><td>(direkt in der Menüleiste)</td>
<td>Zeichnet Messkurve und Mittelwertkurve zusammen.</td></tr>
<tr><td>Messwerte</td><td>(direkt in der Menüleiste)</td>
<td>Zeichnet nur die Messwerte.</td></tr>
<tr><td>Statistik</td><td>(direkt in der Menüleiste)</td>
<td>Zeigt die Kennzahlen des gezeigten Monats und der letzten drei Monate.</td></tr>
<tr><td rowspan="3">Tabelle</td><td>aktuelle anzeigen</td>
<td>Zeigt den gezeigten Monat als Tabelle. Hinter jede Tageszeile können Sie eine
Bemerkung schreiben; über <b>Patientendaten</b> fügen Sie Ihre Angaben über der
Tabelle ein.</td></tr>
<tr><td>aktuelle bearbeiten</td>
<td>Öffnet den gezeigten Monat im Eingabefenster.</td></tr>
<tr><td>neu erstellen (neuer Monat)</td>
<td>Wie <b>Datei › Neu erstellen</b>: ein neuer Monat.</td></tr>
<tr><td rowspan="3">Optionen</td><td>Benutzername ändern</td>
<td>Fragt nach Ihrem Namen. Die Anfangsbuchstaben kennzeichnen die Dateien neuer Monate.</td></tr>
<tr><td>bis zu 4 Messungen je Tag</td>
<td>Vier Messungen am Tag: Morgens, Messung 2, Messung 3, Abends.</td></tr>
<tr><td>bis zu 8 Messungen je Tag</td>
<td>Acht Messungen am Tag: Morgens, Messung 2 bis Messung 7, Abends.</td></tr>
<tr><td rowspan="2">Hilfe</td><td>Hilfethemen</td><td>Zeigt diese Seite.</td></tr>
<tr><td>Info über...</td><td>Zeigt Programmname und Version.</td></tr>
</table>)HTML");
}

// Section "Einstellungen".
QString helpSettings() {
    return QStringLiteral(R"HTML(<h2 id="einstellungen">Einstellungen</h2>
<ul>
<li><b>Grenzwerte</b>: Hochwerte (ab), kritisch (ab) und Tiefwerte (bis) in mg/dl. Sie
bestimmen die drei Linien und den Normalbereich der Grafik und die Farbfelder im Webbrowser.</li>
<li><b>Farben</b> der drei Grenzlinien, der Messkurve, der Mittelwertkurve und der Datenwerte;
<b>Breite der Grafik-Linien</b>.</li>
<li><b>Broteinheit (BE)</b> oder <b>Kohlenhydrateinheit (KE)</b> für die Tagebuchseite.</li>
<li>Insulintherapie: <b>konventionell (CT)</b> oder <b>intensiviert (ICT)</b> mit Bolus und
Basal.</li>
<li><b>Tagebuch sichtbar</b>: blendet die Tagebuchseite unter der Grafik ein oder aus.</li>
<li>Beim <b>Liniendiagramm im Browser</b>: die Datenwerte über der Kurve anzeigen und die
Linie bei einem Tag ohne Werte unterbrechen.</li>
<li><b>Maßeinheit</b>: mg/dl oder mmol/l (siehe <a href="#einheit">Maßeinheit</a>).</li>
<li><b>Automatische Datensicherung in den Ordner</b>: wohin die automatischen Sicherungen kommen (siehe
<a href="#sicherung">Daten sichern und zurückholen</a>).</li>
</ul>)HTML");
}

// Section "Maßeinheit: mg/dl oder mmol/l".
QString helpUnit() {
    return QStringLiteral(R"HTML(<h2 id="einheit">Maßeinheit: mg/dl oder mmol/l</h2>
<p>Unter <b>Einstellungen › Maßeinheit</b> wählen Sie einmal, ob Glykovalin Ihre Werte in
<b>mg/dl</b> oder in <b>mmol/l</b> zeigt. Mit <b>OK</b> gilt die Wahl sofort und bleibt bis zur
nächsten Änderung (in <code>glykoval.ini</code> als <code>Einheit=mg/dl</code> oder
<code>Einheit=mmol/l</code>; ohne diesen Eintrag gilt mg/dl).</p>
<ul>
<li>Umgerechnet wird mit 1 mmol/l = 18,016 mg/dl; mmol/l stehen mit einer Nachkommastelle
(5,6), gerundet ab der Hälfte.</li>
<li>Mit mmol/l geben Sie den Messwert im Eingabefenster in mmol/l ein, mit Komma oder Punkt
(<code>5,6</code> oder <code>5.6</code>), von 0,0 bis 27,8. Die Liste, die Tabelle und ihr
Ausdruck, die Messwertzeile der Tagebuchseite, das Tagebuch als PDF, die Grafik mit ihrer Skala
(alle 2 mmol/l), die Anzeige unter dem Mauszeiger, der Monatsmittelwert, der Grafikdruck, das
Liniendiagramm im Webbrowser und die Grenzwerte in den Einstellungen zeigen dann mmol/l.</li>
<li>Statistik und Arztbericht nennen mmol/l zuerst und mg/dl in Klammern.</li>
<li>Gespeichert wird immer in ganzen mg/dl: 5,6 mmol/l werden als 101 mg/dl gespeichert
(5,6 × 18,016 = 100,9, gerundet), 27,8 mmol/l als 500 mg/dl. Monatstabellen und Grenzwerte
bleiben beim Wechsel der Einheit unverändert, Sie können jederzeit zurückwechseln.</li>
<li>Ob ein Wert hoch, im Zielbereich oder niedrig ist, entscheidet Glykovalin immer nach den
gespeicherten mg/dl: 181 mg/dl erscheinen als 10,0 mmol/l, liegen aber über 180 mg/dl.</li>
<li>Die Befehle <code>glykovalin-cli table</code>, <code>stats</code>, <code>graph</code>,
<code>chart</code>, <code>diary-pdf</code>, <code>print-graph</code>,
<code>print-table</code> und <code>report</code> richten sich nach der Einheit in
<code>glykoval.ini</code> ihres Ordners; <code>add</code> nimmt Werte weiter in mg/dl,
<code>stats --json</code> und die CSV-Ausgabe enthalten weiter mg/dl (die CSV-Datei beide
Einheiten).</li>
</ul>)HTML");
}

// Section "Drucken".
QString helpPrinting() {
    return QStringLiteral(R"HTML(<h2 id="drucken">Drucken</h2>
<h3>Grafik</h3>
<p><b>Drucken › Grafik ganzen Monat drucken</b> oder <b>Grafik nur sichtbaren Bereich
drucken</b> zeigt eine Vorschau. Wählen Sie das Papierformat: DIN A4 (hochkant, die Grafik
wird gedreht), DIN A5 oder DIN A6 (quer). Dann öffnet sich der Druckdialog, in dem Sie
Drucker und Anzahl der Exemplare wählen. Im Druckdialog können Sie statt eines
Druckers auch <b>In PDF-Datei drucken</b> wählen.</p>
<h3>Tabelle</h3>
<p><b>Drucken › Tabelle drucken</b> zeigt den Monat als Tabelle; im Tabellenfenster
wählen Sie <b>Datei › drucken</b>. In der Druckvorschau stellen Sie die vier
Seitenränder in Millimetern, Schrift und Farbe ein. Die Ränder werden mit dem Monat
gespeichert und für den nächsten Monat übernommen.</p>
<h3>Tagebuch</h3>
<p><b>Drucken › Alle gespeicherten Tagebuchseiten drucken</b> stellt alle gespeicherten
Seiten des Monats in einem Fenster zusammen. <b>Datei › Speichern als PDF-Datei</b>
speichert sie als PDF-Datei; <b>Drucken</b> erstellt die PDF-Datei und öffnet sie in Ihrem
PDF-Programm, aus dem Sie sie drucken.</p>)HTML");
}

// Section "PDF, Webbrowser und Befehlszeile".
QString helpOutputs() {
    return QStringLiteral(R"HTML(<h2 id="ausgaben">PDF, Webbrowser und Befehlszeile</h2>
<ul>
<li><b>PDF-Datei des Tagebuchs</b>: siehe oben; der Speicherort ist frei wählbar.</li>
<li><b>Liniendiagramm im Browser</b> (Menü <b>Datei</b>): die Tagesmittelwerte der Tage
1-7, 8-14, 15-21, 22-28 und 29 bis Monatsende als fünf Diagramme vor farbigen Feldern
(rot: zu tief oder zu hoch, grün: im Normalbereich, gelb: kritisch). Die Seite liegt im
Ordner <code>Glykovalin-Daten im Browser</code> und kann auch später mit jedem Webbrowser
geöffnet werden.</li>
<li><b>Tabelle</b>: das Tabellenfenster zeigt den Monat als Text, den Sie auch markieren und in
andere Programme kopieren können.</li>
<li><b>Ohne Fenster</b>: der Befehl <code>glykovalin-cli</code> schreibt im Ordner Ihrer Daten
die Grafik als PNG-Bild (<code>glykovalin-cli graph TABELLE BILD.png</code>), gibt die Tabelle
als Text aus (<code>glykovalin-cli table TABELLE</code>), schreibt die Webseite
(<code>glykovalin-cli chart TABELLE</code>) und das Tagebuch als PDF
(<code>glykovalin-cli diary-pdf TABELLE DATEI.pdf</code>), schreibt den Grafikdruck
(<code>glykovalin-cli print-graph TABELLE DATEI.pdf --format A4</code>, auch A5 oder A6) und den
Tabellendruck (<code>glykovalin-cli print-table TABELLE DATEI.pdf</code>) als PDF und trägt
einen Messwert ein (<code>glykovalin-cli add TABELLE TAG ZEITPUNKT HH:MM WERT</code>, zum Beispiel
<code>add MM122026.tab 7 Morgens 07:30 112</code>, der Wert in mg/dl). Die Befehle
<code>stats</code>, <code>report</code> und <code>export-csv</code> stehen unter
<a href="#statistik">Statistik und Arztbericht</a>, <code>import</code> unter
<a href="#import">Messwerte aus Dateien übernehmen</a>, <code>backup</code> und
<code>restore</code> unter <a href="#sicherung">Daten sichern und zurückholen</a>.
<code>glykovalin-cli --help</code> zeigt alle Befehle.</li>
</ul>)HTML");
}

// Section "Messwerte aus Dateien übernehmen".
QString helpImport() {
    return QStringLiteral(R"HTML(<h2 id="import">Messwerte aus Dateien übernehmen</h2>
<p>Stehen Ihre Messwerte schon in einer Datei Ihres Messgeräts oder Portals, müssen Sie sie
nicht abtippen. <b>Datei › Importieren › Messwerte aus Datei…</b> liest diese Dateien:</p>
<ul>
<li><b>LibreView</b> (FreeStyle Libre, deutsch oder englisch): Teststreifen, Scans und
Sensor-Verlauf,</li>
<li><b>Dexcom Clarity</b> (deutsch oder englisch): Sensorwerte,</li>
<li><b>mylife</b>: die von Hand eingetragenen Blutzuckerwerte,</li>
<li><b>Nightscout</b> (JSON-Datei der Einträge): Blutzucker und Sensorwerte,</li>
<li>die <b>CSV-Datei von Glykovalin</b> (<b>Datei › Exportieren › Messwerte als CSV…</b>),</li>
<li>jede andere <b>CSV-Datei</b>: Sie geben einmal an, in welchen Spalten Datum, Uhrzeit und
Messwerte stehen, wie das Datum geschrieben ist und ob die Werte in mg/dl oder mmol/l sind;
Glykovalin merkt sich das für Dateien mit derselben Kopfzeile.</li>
</ul>
<p>Welche Art von Datei es ist, erkennt Glykovalin an ihrem Inhalt. Bevor etwas gespeichert
wird, zeigt ein Fenster, was die Datei enthält und was in jeden Monat käme: neue Werte, Werte,
die schon dastehen, Konflikte und Werte ohne Messzeitpunkt. Erst <b>Übernehmen</b> speichert;
danach zeigt Glykovalin den neuesten Monat. Werte in mmol/l werden in mg/dl umgerechnet
(mal 18,016, gerundet); Werte unter 1 oder über 500 mg/dl werden nicht übernommen.</p>
<h3>Blutzucker und Sensorwerte</h3>
<p>Blutzuckerwerte (Teststreifen, von Hand eingetragene Werte) werden immer übernommen.
Sensorwerte nur, wenn Sie <b>Sensorwerte übernehmen</b> ankreuzen.</p>
<h3>Zu welcher Messung ein Wert kommt</h3>
<p>Jeder Wert kommt zu der Messung des Tages, deren Uhrzeit seiner Uhrzeit am nächsten liegt,
aber höchstens 90 Minuten davon entfernt (bei bis zu 4 Messungen je Tag) oder 60 Minuten (bei
bis zu 8). Es gelten die Uhrzeiten, die Sie zuletzt für die Messungen eingegeben haben; wo noch
keine steht, 7, 12, 17 und 21 Uhr (bei 8 Messungen alle zwei Stunden von 7 bis 21 Uhr). Liegt
ein Wert genau zwischen zwei Messungen, zählt er zur früheren. Ein Wert, der zu keiner Messung
passt, zum Beispiel nachts um 3 Uhr, wird nicht übernommen; das Fenster nennt ihn
<b>ohne Messzeitpunkt</b>. Passen mehrere Werte zu einer Messung, gewinnt ein Blutzuckerwert
vor einem Scan vor einem Wert des Sensor-Verlaufs, dann der Wert, der näher an der Uhrzeit
der Messung liegt, dann der frühere. Die CSV-Datei von Glykovalin nennt die Messung selbst;
ihre Werte kommen genau dorthin zurück.</p>
<h3>Was schon in der Tabelle steht, bleibt</h3>
<p>Hat eine Messung schon einen Wert, bleibt er stehen. Ist es derselbe Wert zu (fast)
derselben Zeit, höchstens eine Minute auseinander, ist der neue doppelt und wird übergangen;
sonst ist es ein <b>Konflikt</b>: das Fenster zeigt beide Werte, und der Wert in der Tabelle
bleibt. Wenn Sie dieselbe Datei noch einmal übernehmen, ändert sich nichts. Kann eine Datei
nicht gelesen oder nicht erkannt werden, wird gar nichts gespeichert.</p>
<p>Ohne Fenster: <code>glykovalin-cli import DATEI... [--sensor] [--dry-run] [--json]</code>
übernimmt die Dateien im Glykovalin-Ordner; mit <code>--dry-run</code> zeigt es nur, was
übernommen würde.</p>)HTML");
}

// Section "Statistik und Arztbericht".
QString helpStatistics() {
    return QStringLiteral(R"HTML(<h2 id="statistik">Statistik und Arztbericht</h2>
<p><b>Statistik</b> (direkt in der Menüleiste) öffnet ein Fenster mit zwei Seiten: dem gezeigten
Monat und den letzten drei Monaten (etwa der Zeitraum, den ein HbA1c-Laborwert widerspiegelt).
<b>Drucken › Arztbericht als PDF…</b> schreibt die letzten drei Monate auf eine A4-Seite für
Ihre Ärztin oder Ihren Arzt und öffnet sie. <b>Datei › Exportieren › Messwerte als CSV…</b>
schreibt alle Messwerte des gezeigten Monats für eine Tabellenkalkulation.</p>
<h3>Welche Werte zählen</h3>
<p>Ein Messwert ist ein gespeicherter Wert von 1 bis 500 mg/dl. Jeder gespeicherte Messwert zählt
mit, auch die Messungen 4 bis 7 eines Monats, der inzwischen nur bis zu 4 Messungen je Tag
führt (die Grafik zeigt sie dann nicht; ein Hinweis nennt ihre Zahl). Ein Eintrag mit dem Wert
0 ist kein Messwert: er zieht keinen Mittelwert nach unten. Zeilen, deren Datum oder Wert nicht
lesbar ist, werden übersprungen und gezählt. Dieselbe Regel gilt für die Mittelwerte der
Grafik, des Tagebuchs und der Webseite, für Statistik, Arztbericht und CSV-Datei.</p>
<h3>Die Kennzahlen</h3>
<ul>
<li><b>Anteile</b> der Messwerte in den fünf Bereichen (unter 54, 54-69, 70-180, 181-250,
über 250 mg/dl) mit den Zielen des internationalen Konsens. Es sind Anteile der
Fingerstich-Messwerte, nicht der Zeit. Ob ein Ziel erreicht ist, wird erst ab 30 Messwerten
bewertet; darunter steht "zu wenige Messwerte für eine Bewertung".</li>
<li><b>Mittelwert</b>, ab 30 Messwerten <b>Standardabweichung</b> und
<b>Variationskoeffizient</b>, ab 30 Messwerten an 14 Tagen der <b>geschätzte HbA1c</b>
(eA1c = (Mittelwert + 46,7) / 28,7): eine Schätzung aus den Messwerten, kein Laborwert.</li>
<li><b>Zeitraum davor</b>: jede Kennzahl steht neben der des gleich langen Zeitraums unmittelbar
davor (beim gezeigten Monat der Vormonat). Eine Änderung wird nur gezeigt, wo beide Zeiträume
genug Messwerte haben: die Zahl der Messwerte ab einem, alles andere ab 30. Anteile ändern
sich in Prozentpunkten.</li>
</ul>
<h3>Tagesprofil (Perzentile je Messzeit)</h3>
<p>Für jede Messzeit (Morgens, Messung 2 ... Abends) zeigt das Tagesprofil, wie die Werte
streuen: ab 5 Messwerten den Median (die Hälfte der Werte liegt darunter), ab 7 Messwerten
den Bereich von 25 bis 75 %, ab 20 den von 10 bis 90 % und ab 40 den von 5 bis 95 %. Eine
Messzeit mit weniger als 5 Messwerten zeigt nur ihre Werte als Punkte. Unter jeder Messzeit
stehen ihre übliche Uhrzeit (der Median der Uhrzeiten) und die Zahl n ihrer Messwerte. Die
grüne Fläche ist der Zielbereich 70-180 mg/dl; die gestrichelten Linien bei 54 und 250 mg/dl
sind die Grenzen zu "sehr niedrig" und "sehr hoch".</p>
<p>Die Perzentile werden linear zwischen den nächsten Rängen gerechnet (Typ 7): für p % der
n sortierten Werte x1 ... xn ist h = (n - 1) · p / 100; das Perzentil liegt zwischen dem Wert
mit dem Rang h + 1 (abgerundet) und dem nächsten, im Verhältnis des Nachkommaanteils von h.</p>
<h3>Verlauf der letzten 12 Monate</h3>
<p>Ein kleines Diagramm zeigt den Mittelwert jedes der letzten 12 Monate; ein hohler Punkt
heißt: weniger als 30 Messwerte in diesem Monat. Darunter steht der geschätzte HbA1c des
Monats, wo der Monat 30 Messwerte an 14 Tagen hat; die rechte Skala zeigt, welcher eA1c zu
einem Mittelwert gehört. Monate ohne Tabelle bleiben leer.</p>
<h3>Der Arztbericht</h3>
<p>Eine A4-Seite mit echtem Text: Kennzahlen mit dem Zeitraum davor, die Anteile als Balken,
Tagesprofil, Verlauf, die Werte je Messzeit mit ihren Uhrzeiten, die Tagesmittelwerte der
letzten Monate mit den Tagessummen aus dem Tagebuch (BE oder KE, Insulin in IE) und die
jüngsten Unterzuckerungen. Er ist kein Medizinprodukt und gibt keine Empfehlung zur
Insulindosis.</p>
<h3>Ohne Fenster</h3>
<p><code>glykovalin-cli stats TABELLE...</code> gibt dieselben Kennzahlen als Text aus, mit
<code>--json</code> für andere Programme; <code>glykovalin-cli report AUSGABE.pdf TABELLE...</code>
schreibt den Arztbericht, <code>glykovalin-cli export-csv TABELLE...</code> die Messwerte als
CSV. Wird eine Tabelle mehrfach genannt, zählt sie einmal, und ein Hinweis sagt es.</p>)HTML");
}

// Section "Wo Ihre Daten liegen".
QString helpFiles() {
    return QStringLiteral(R"HTML(<h2 id="dateien">Wo Ihre Daten liegen</h2>
<p>Glykovalin arbeitet in einem Ordner, dem <b>Glykovalin-Ordner</b>:</p>
<ul>
<li>Starten Sie Glykovalin aus dem Menü Ihrer Arbeitsumgebung oder mit dem Befehl
<code>glykovalin</code>, ist das der Ordner <code>Glykovalin</code> in Ihrem persönlichen
Ordner (<code>~/Glykovalin</code>). Beim ersten Start wird er angelegt und bekommt die
mitgelieferten Dateien.</li>
<li>Starten Sie Glykovalin in einem Ordner, der schon eine Datei <code>glykoval.ini</code>
enthält, arbeitet es in diesem Ordner.</li>
</ul>
<table>
<tr><th>Datei oder Ordner</th><th>Inhalt</th></tr>
<tr><td><code>Glykovalin-Daten/2026/MM122026.tab</code></td>
<td>Die Monatstabelle: Ihre Messwerte eines Monats (Anfangsbuchstaben, Monat, Jahr).</td></tr>
<tr><td><code>Glykovalin-Daten/2026/MM122026.txt</code></td>
<td>Das Tagebuch desselben Monats.</td></tr>
<tr><td><code>glykoval.ini</code></td>
<td>Ihre Einstellungen, Ihr Name und die Bemerkungen der Tabellen.</td></tr>
<tr><td><code>Patientendaten.txt</code></td>
<td>Ihre Angaben für den Kopf der gedruckten Tabelle, wenn Sie sie angelegt haben.</td></tr>
<tr><td><code>Glykovalin-Daten im Browser/</code></td>
<td>Die Webseiten des Liniendiagramms, nach Jahren geordnet.</td></tr>
<tr><td><code>Grafik4.bmp</code>, <code>Grafik8.bmp</code>, <code>Header.bmp</code>,
<code>M_einheit.bmp</code>, <code>scripts/</code>, <code>Glykovalin-Hilfe.htm</code></td>
<td>Mitgelieferte Bilder, das Skript der Webseiten und diese Hilfe. Fehlt eine dieser Dateien im
Ordner <code>~/Glykovalin</code>, legt Glykovalin sie beim nächsten Start wieder an.</td></tr>
</table>
<p>Alle Dateien sind einfache Textdateien (Zeichensatz Windows-1252). Glykovalin schreibt jede
Datei über eine Zwischendatei: die alte Datei wird erst ersetzt, wenn die neue
vollständig geschrieben ist.</p>)HTML");
}

// Section "Daten sichern und zurückholen".
QString helpBackup() {
    return QStringLiteral(R"HTML(<h2 id="sicherung">Daten sichern und zurückholen</h2>
<p>Ihre Messwerte sind Gesundheitsdaten aus vielen Jahren. Eine Sicherung ist eine einzige
ZIP-Datei mit allem, was Ihnen gehört: alle Monatstabellen und Tagebücher aus
<code>Glykovalin-Daten</code>, die Datei <code>glykoval.ini</code> (Ihre Einstellungen und die
<b>Bemerkungen der Tabellen</b>) und <code>Patientendaten.txt</code>. Bilder, Webseiten und diese
Hilfe gehören nicht dazu; Glykovalin legt sie selbst wieder an.</p>
<h3>Sicherung erstellen</h3>
<p><b>Datei › Datensicherung › Sicherung erstellen…</b> schlägt den Namen
<code>Glykovalin-Sicherung-2026-12-07.zip</code> vor. Speichern Sie die Sicherung am besten auf
einem USB-Stick oder einer zweiten Festplatte und bewahren Sie mehrere ältere auf.</p>
<h3>Automatische Sicherungen</h3>
<p>Haben Sie etwas geändert, legt Glykovalin beim Beenden eine automatische Sicherung an, höchstens
einmal am Tag. Sie liegt im Ordner <code>Glykovalin-Sicherungen</code> in Ihrem persönlichen Ordner
(<code>~/Glykovalin-Sicherungen</code>); einen anderen Ordner wählen Sie unter
<b>Einstellungen</b> (er darf nicht im Glykovalin-Ordner liegen). Die Dateien heißen zum Beispiel
<code>Glykovalin-Autosicherung-2026-12-07_18-30-00.zip</code>. Die zehn neuesten bleiben erhalten,
ältere löscht Glykovalin; Ihre eigenen Sicherungen rührt es nie an. Gelingt eine automatische
Sicherung nicht (Datenträger voll, Ordner schreibgeschützt), sagt Glykovalin es Ihnen einmal;
Ihre Daten bleiben davon unberührt.</p>
<h3>Sicherung wiederherstellen</h3>
<ol>
<li>Wählen Sie <b>Datei › Datensicherung › Sicherung wiederherstellen…</b> und die ZIP-Datei.</li>
<li>Glykovalin prüft die Sicherung ganz: jede Datei mit Größe und Prüfsumme. Eine beschädigte
Sicherung wird abgelehnt, und nichts wird verändert.</li>
<li>Eine Vorschau zeigt, welche Dateien ersetzt und welche hinzugefügt werden und welche
unverändert bleiben. <b>Wiederherstellen</b> startet, <b>Abbrechen</b> lässt alles, wie es
ist.</li>
<li>Vor dem Wiederherstellen sichert Glykovalin den jetzigen Stand im Sicherungsordner
(<code>Glykovalin-Autosicherung-…-vor-Wiederherstellung.zip</code>). So kommen Sie jederzeit
zurück: stellen Sie einfach diese Sicherung wieder her.</li>
<li>Dateien, die nicht in der Sicherung sind, werden nie gelöscht. Danach zeigt Glykovalin den
aktuellen Monat.</li>
</ol>
<p>Ohne Fenster geht es im Glykovalin-Ordner mit <code>glykovalin-cli backup AUSGABE.zip</code> und
<code>glykovalin-cli restore SICHERUNG.zip</code>; mit <code>--dry-run</code> zeigt
<code>restore</code> nur, was es tun würde.</p>
<p>Eine Sicherung ist eine gewöhnliche ZIP-Datei, die jedes ZIP-Programm öffnet. Die Datei
<code>glykovalin-sicherung.json</code> darin nennt zu jeder Datei Größe und SHA-256-Prüfsumme,
so dass Sie sie auch mit <code>sha256sum</code> prüfen können.</p>)HTML");
}

// Program name and version, and the end of the page.
QString helpFoot() {
    return QStringLiteral(R"HTML(<hr>
<p>Glykovalin 5.0 - Mit 4 oder 8 Eingabemöglichkeiten am Tag.</p>
</body>
</html>)HTML");
}

// The help page, opened with the shell from "Hilfethemen": its sections with
// a blank line between them.
QStringList helpPage() {
    const QStringList sections = {
        helpHead(),     helpContents(),  helpFirstSteps(), helpEntering(), helpCorrecting(),
        helpGraph(),    helpDiaryPage(), helpMenus(),      helpSettings(), helpUnit(),
        helpPrinting(), helpOutputs(),   helpStatistics(), helpImport(),   helpFiles(),
        helpBackup(),   helpFoot()};
    return sections.join(QStringLiteral("\n\n")).split(u'\n');
}

// The program's icon: a sheet with the three limit lines, the normal range and
// a curve of readings on a blue tile, with a drop of blood at its corner. One
// description in a 256 x 256 square serves the SVG file and the PNG pictures.
struct IconShape {
    QPainterPath path;
    QColor fill;   // invalid: not filled
    QColor stroke; // invalid: no outline
    double width = 0;
};

QList<IconShape> iconShapes() {
    QList<IconShape> shapes;
    auto add = [&shapes](const QPainterPath &p, QColor fill, QColor stroke = {}, double w = 0) {
        shapes.append({p, fill, stroke, w});
    };
    QPainterPath tile;
    tile.addRoundedRect(QRectF(16, 16, 224, 224), 44, 44);
    add(tile, QColor(0x1f, 0x5f, 0xa8));
    QPainterPath sheet;
    sheet.addRoundedRect(QRectF(40, 56, 176, 148), 12, 12);
    add(sheet, Qt::white);
    QPainterPath band;
    band.addRect(QRectF(48, 112, 160, 66));
    add(band, QColor(0xd4, 0xee, 0xcc));
    const std::pair<double, QColor> limits[] = {{92, QColor(0xd0, 0x20, 0x20)},
                                                {112, QColor(0xff, 0x80, 0x00)},
                                                {178, QColor(0x20, 0x40, 0xe0)}};
    for (const auto &[y, color] : limits) {
        QPainterPath line(QPointF(48, y));
        line.lineTo(208, y);
        add(line, {}, color, 5);
    }
    const QPointF readings[] = {{60, 156},  {88, 124},  {116, 146},
                                {144, 102}, {172, 136}, {198, 128}};
    QPainterPath curve(readings[0]);
    for (const QPointF &p : readings)
        curve.lineTo(p);
    add(curve, {}, QColor(0x00, 0x00, 0x80), 9);
    for (const QPointF &p : readings) {
        QPainterPath dot;
        dot.addEllipse(p, 8, 8);
        add(dot, QColor(0x00, 0x00, 0x80));
    }
    QPainterPath drop(QPointF(204, 18));
    drop.cubicTo(194, 40, 174, 58, 174, 80);
    drop.cubicTo(174, 97, 188, 110, 204, 110);
    drop.cubicTo(220, 110, 234, 97, 234, 80);
    drop.cubicTo(234, 58, 214, 40, 204, 18);
    drop.closeSubpath();
    add(drop, QColor(0xc8, 0x1e, 0x1e), Qt::white, 6);
    return shapes;
}

QString svgNumber(double v) {
    return QString::number(v, 'g', 6);
}

QString svgPathData(const QPainterPath &path) {
    QStringList parts;
    QPointF start;
    for (int i = 0; i < path.elementCount(); ++i) {
        const QPainterPath::Element e = path.elementAt(i);
        const QString xy = svgNumber(e.x) + u' ' + svgNumber(e.y);
        if (e.isMoveTo()) {
            parts << u'M' + xy;
            start = e;
        } else if (e.isLineTo()) {
            parts << u'L' + xy;
        } else if (e.isCurveTo() && i + 2 < path.elementCount()) {
            const QPainterPath::Element c2 = path.elementAt(i + 1);
            const QPainterPath::Element end = path.elementAt(i + 2);
            parts << u'C' + xy + u' ' + svgNumber(c2.x) + u' ' + svgNumber(c2.y) + u' ' +
                         svgNumber(end.x) + u' ' + svgNumber(end.y);
            i += 2;
        }
        const bool subpathEnds = i + 1 == path.elementCount() || path.elementAt(i + 1).isMoveTo();
        if (subpathEnds && QPointF(path.elementAt(i)) == start && !e.isMoveTo()) parts << "Z";
    }
    return parts.join(u' ');
}

QString svgColor(const QColor &c) {
    return c.isValid() ? c.name() : QStringLiteral("none");
}

QByteArray iconSvg() {
    QString svg;
    QTextStream out(&svg);
    out << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        << "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"256\" height=\"256\" "
           "viewBox=\"0 0 256 256\">\n"
        << "<title>Glykovalin</title>\n";
    for (const IconShape &s : iconShapes()) {
        out << "<path d=\"" << svgPathData(s.path) << "\" fill=\"" << svgColor(s.fill) << '"';
        if (s.stroke.isValid())
            out << " stroke=\"" << svgColor(s.stroke) << "\" stroke-width=\"" << svgNumber(s.width)
                << "\" stroke-linecap=\"round\" stroke-linejoin=\"round\"";
        out << "/>\n";
    }
    out << "</svg>\n";
    out.flush();
    return svg.toUtf8();
}

QImage iconImage(int size) {
    QImage img(size, size, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 256.0, size / 256.0);
    for (const IconShape &s : iconShapes()) {
        if (s.fill.isValid()) p.fillPath(s.path, s.fill);
        if (s.stroke.isValid())
            p.strokePath(s.path,
                         QPen(s.stroke, s.width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    }
    p.end();
    return img;
}

bool writeIcons(const QString &dir) {
    bool ok = textfile::writeBytes(dir + QStringLiteral("glykovalin.svg"), iconSvg());
    for (int size : {16, 24, 32, 48, 64, 128, 256})
        ok &= iconImage(size).save(dir + QStringLiteral("glykovalin-%1.png").arg(size), "PNG");
    return ok;
}

// The chart script beside the demo month's folder, so that its chart page
// shows the charts: the delivered copy beside this tool (the build folder's),
// else the one the sources hold. An existing script stays.
bool deliverChartScript(const QString &dir) {
    const QString target = dir + QStringLiteral("scripts/Chart.min.js");
    if (QFileInfo::exists(target)) return true;
    const QStringList sources = {
        QCoreApplication::applicationDirPath() + QStringLiteral("/scripts/Chart.min.js"),
        QStringLiteral(GLYKO_SOURCE_DIR "/node_modules/chart.js/dist/Chart.min.js"),
        QStringLiteral(GLYKO_SOURCE_DIR "/scripts/Chart.min.js")};
    for (const QString &source : sources) {
        QFile from(source);
        if (QFileInfo(source) == QFileInfo(target) || !from.open(QIODevice::ReadOnly)) continue;
        QDir().mkpath(dir + QStringLiteral("scripts"));
        const textfile::SaveResult r = textfile::save(target, from.readAll());
        if (!r) QTextStream(stderr) << r.message(target) << '\n';
        return r.ok;
    }
    QTextStream(stderr) << "Das Diagramm-Skript Chart.min.js wurde nicht gefunden (im "
                           "Quellordner \"npm ci\" ausführen); die Seite mit dem "
                           "Liniendiagramm bliebe leer.\n";
    return false;
}

// A demo month for a first look: four readings a day up to today, and the
// chart script its chart page needs.
bool writeDemo(const QString &dir) {
    if (!deliverChartScript(dir)) return false;
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
    const QStringList args = app.arguments().mid(1);
    const QString out = !args.isEmpty() ? args.first() : QDir::currentPath();
    const QString dir = out.endsWith(u'/') ? out : out + u'/';
    QDir().mkpath(dir);
    if (args.contains(QStringLiteral("--icons"))) return writeIcons(dir) ? 0 : 1;
    const QStringList help = helpPage();
    for (const QString &line : help)
        if (!win1252::encodable(line)) {
            QTextStream(stderr) << "Hilfeseite: Zeichen außerhalb von Windows-1252: " << line
                                << '\n';
            return 1;
        }
    bool ok = true;
    if (!QFileInfo::exists(dir + "glykoval.ini"))
        ok &= textfile::writeLines(dir + "glykoval.ini", defaultSettings());
    ok &= templatepicture::graphTemplate(MeasureMode::Four).save(dir + "Grafik4.bmp", "BMP");
    ok &= templatepicture::graphTemplate(MeasureMode::Eight).save(dir + "Grafik8.bmp", "BMP");
    ok &= templatepicture::legend().save(dir + "M_einheit.bmp", "BMP");
    ok &= templatepicture::header().save(dir + "Header.bmp", "BMP");
    ok &= textfile::writeLines(dir + "Glykovalin-Hilfe.htm", help);
    if (args.contains(QStringLiteral("--demo"))) ok &= writeDemo(dir);
    return ok ? 0 : 1;
}
