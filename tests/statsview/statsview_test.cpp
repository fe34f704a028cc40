#include <gtest/gtest.h>

#include <QDir>
#include <QFontInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QTabWidget>
#include <QTableWidget>

#include "cli/statscli.h"
#include "platform/ui.h"
#include "recordingservices.h"
#include "stats/monthfixture.h"
#include "stats/statstext.h"
#include "statsview/arztbericht.h"
#include "statsview/statistikdlg.h"
#include "statsview/statsmenu.h"
#include "testutil.h"

using namespace stats;
using monthfixture::Entry;

namespace {

QString run(const QString &program, const QStringList &args, bool *ran) {
    QProcess p;
    p.start(program, args);
    *ran = p.waitForStarted(5000) && p.waitForFinished(30000);
    return QString::fromUtf8(p.readAllStandardOutput() + p.readAllStandardError());
}

bool haveFonts() {
    return QFontInfo(QFont(QStringLiteral("Arial")))
               .family()
               .contains(QStringLiteral("Liberation")) ||
           QFontInfo(QFont(QStringLiteral("Arial"))).family().contains(QStringLiteral("Arial"));
}

// Three months of a user under base/Glykovalin-Daten/<year>/ with hypos and
// diary pages in the last one; returns the path of the last month.
struct ThreeMonths {
    testutil::TempFolder tmp;
    QString jan, feb, mar;
    ThreeMonths() {
        const QString data = tmp.path() + "Glykovalin-Daten/2024/";
        QDir().mkpath(data);
        jan = monthfixture::writeTable(data, 1, 2024, MeasureMode::Eight,
                                       monthfixture::spread(31, 8, 1));
        feb = monthfixture::writeTable(
            data, 2, 2024, MeasureMode::Four, monthfixture::spread(29, 4, 2, 70),
            {monthfixture::line(2, 2024, {3, MeasurementSlot::Messung5, 41, "12:00"})});
        QList<Entry> m = monthfixture::spread(20, 8, 3, 70);
        m.append(Entry{21, MeasurementSlot::Morgens, 47, "06:15"});
        m.append(Entry{21, MeasurementSlot::Abends, 66, "22:40"});
        mar = monthfixture::writeTable(data, 3, 2024, MeasureMode::Eight, m);
        textfile::writeLines(
            data + "MM032024.txt",
            {"Tag21: \t #BE: Morgens= 4 \t|  M2= 2,5 \t|  M3= \t|  M4= \t|  M5= \t|  M6= \t|  M7= "
             "\t|  Abends= 3 \t #Insulin (ICT) : Bolus= 7  Basal= 12 \t|  Bol.= 5   Bas.= \t|  "
             "Bol.= 6   Bas.= 14  #Bemerkung: Sport",
             "Tag02: \t #BE: Morgens= x #Insulin (CT)  : Morgens= 9 #Bemerkung: "});
    }
    QString base() const { return tmp.path(); }
};

Collection collectAll(const QStringList &paths) {
    Collection c;
    QString error;
    EXPECT_TRUE(collect(paths, MeasureMode::Four, c, &error)) << error.toStdString();
    return c;
}

} // namespace

TEST(Arztbericht, OnePageWithEveryFigureAsText) {
    if (!haveFonts()) GTEST_SKIP() << "no Arial-compatible font";
    ThreeMonths m;
    const Collection c = collectAll({m.jan, m.feb, m.mar});
    const statsview::ReportData d = statsview::reportData(c, QDate(2024, 4, 2), {"Dezember 2023"});
    ASSERT_EQ(d.diary.size(), 2);
    const QString pdf = m.tmp.file("bericht.pdf");
    QString error;
    ASSERT_TRUE(statsview::writeArztbericht(pdf, d, &error)) << error.toStdString();

    bool ran = false;
    const QString check = run("qpdf", {"--check", pdf}, &ran);
    if (ran) {
        EXPECT_TRUE(check.contains("No syntax or stream encoding errors")) << check.toStdString();
    }
    const QString info = run("pdfinfo", {pdf}, &ran);
    if (ran) {
        EXPECT_TRUE(QRegularExpression("Pages:\\s+1\\n").match(info).hasMatch());
    }
    const QString text = run("pdftotext", {"-layout", pdf, "-"}, &ran);
    if (!ran) GTEST_SKIP() << "pdftotext missing";
    const QString flat = text.simplified();
    const Figures &f = c.figures;
    QStringList wanted = {
        "Arztbericht",
        "Max Muster",
        "Januar 2024 – März 2024 (01.2024–03.2024)",
        "erstellt am 02.04.2024",
        "ohne Tabelle: Dezember 2023",
        QStringLiteral("%1 an %2 Tagen").arg(f.readings).arg(f.daysWithReadings),
        mgdlAndMmol(f.mean, f.meanMmol),
        mgdlAndMmol(f.sd, f.sdMmol),
        german(f.cv) + " %",
        german(f.ea1cPercent) + " % (" + QString::number(*f.ea1cMmolMol) + " mmol/mol)",
        "kein Medizinprodukt",
        "keine Empfehlung zur Insulindosis",
        "kein Laborwert",
        "Stufe 1 (54–69 mg/dl): " + QString::number(f.hypoLevel1),
        "Stufe 2 (< 54 mg/dl): " + QString::number(f.hypoLevel2),
        "21.03.2024 Morgens 06:15 47 mg/dl (2,6)",
        "21.03.2024 Abends 22:40 66 mg/dl (3,7)",
    };
    for (int b = 0; b < BandCount; ++b)
        wanted << german(f.bands[b]) + " %";
    wanted << german(f.lowAll) + " %" << german(f.highAll) + " %";
    for (const SlotFigures &s : f.perSlot)
        wanted << slotCaption(s.slot) + " " + QString::number(s.readings) + " " + german(s.median) +
                      " (" + german(s.medianMmol) + ")"
               << german(s.p25) + "–" + german(s.p75) + " (" + german(s.p25Mmol) + "–" +
                      german(s.p75Mmol) + ")"
               << QStringLiteral("%1–%2 (").arg(s.min).arg(s.max) + german(s.minMmol) + "–" +
                      german(s.maxMmol) + ")";
    for (const QString &w : wanted)
        EXPECT_TRUE(flat.contains(w)) << "missing: " << w.toStdString();
    // Daily means: the row of March's means holds every day's mean in order.
    QStringList marchMeans;
    for (const DayMean &dm : f.dayMeans)
        if (dm.date.month() == 3) marchMeans << QString::number(dm.mgdl);
    EXPECT_TRUE(flat.contains("mg/dl " + marchMeans.join(' ')))
        << marchMeans.join(' ').toStdString();
    // The diary's sums on 21 March (BE 9,5, insulin 44, bolus 18, basal 26) and the unreadable "x".
    EXPECT_TRUE(flat.contains("BE ? "));
    for (const char *w : {"9,5", "44", "18", "26"})
        EXPECT_TRUE(flat.contains(QString(" ") + w + " ") || flat.endsWith(QString(" ") + w));
    EXPECT_TRUE(QRegularExpression("Insulin\\s+9\\s+44").match(flat).hasMatch())
        << flat.toStdString();
}

TEST(Arztbericht, StaysOnOnePageWithManyMonthsAndHypos) {
    if (!haveFonts()) GTEST_SKIP() << "no Arial-compatible font";
    testutil::TempFolder tmp;
    QStringList paths;
    for (int month = 1; month <= 12; ++month) {
        QList<Entry> e;
        for (int d = 1; d <= 28; ++d)
            for (int s = 1; s <= 8; ++s)
                e.append(Entry{d, slotinfo::fromNumber(s), s == 1 ? 45 + d % 20 : 150});
        paths << monthfixture::writeTable(tmp.path(), month, 2023, MeasureMode::Eight, e);
    }
    const Collection c = collectAll(paths);
    ASSERT_EQ(c.figures.hypos.size(), 12 * 28);
    const QString pdf = tmp.file("viel.pdf");
    ASSERT_TRUE(
        statsview::writeArztbericht(pdf, statsview::reportData(c, QDate(2024, 1, 5)), nullptr));
    bool ran = false;
    const QString info = run("pdfinfo", {pdf}, &ran);
    if (ran) {
        EXPECT_TRUE(QRegularExpression("Pages:\\s+1\\n").match(info).hasMatch());
    }
    const QString text = run("pdftotext", {"-layout", pdf, "-"}, &ran).simplified();
    if (!ran) GTEST_SKIP() << "pdftotext missing";
    EXPECT_TRUE(QRegularExpression("… und \\d+ weitere").match(text).hasMatch());
    EXPECT_TRUE(text.contains("nur die letzten"));
    EXPECT_TRUE(text.contains("Dezember 2023"));
    EXPECT_TRUE(text.contains("keine Empfehlung zur Insulindosis"));
    // No readings at all still gives a valid page.
    const QString empty = monthfixture::writeTable(tmp.path(), 5, 2024, MeasureMode::Four, {});
    const QString pdf2 = tmp.file("leer.pdf");
    ASSERT_TRUE(statsview::writeArztbericht(
        pdf2, statsview::reportData(collectAll({empty}), QDate(2024, 6, 1)), nullptr));
    const QString check = run("qpdf", {"--check", pdf2}, &ran);
    if (ran) {
        EXPECT_TRUE(check.contains("No syntax or stream encoding errors"));
    }
    EXPECT_TRUE(run("pdftotext", {pdf2, "-"}, &ran).contains("keine Messwerte"));
}

TEST(Arztbericht, UnwritablePathKeepsNothingAndSaysWhy) {
    testutil::TempFolder tmp;
    ThreeMonths m;
    QString error;
    EXPECT_FALSE(statsview::writeArztbericht(
        tmp.file("fehlt/bericht.pdf"),
        statsview::reportData(collectAll({m.mar}), QDate(2024, 4, 2)), &error));
    EXPECT_TRUE(error.startsWith("Der Arztbericht"));
    EXPECT_FALSE(QFileInfo::exists(tmp.file("fehlt/bericht.pdf")));
}

TEST(StatistikWindow, OpensOffscreenWithBothPeriods) {
    ThreeMonths m;
    ui::RecordingServices rec;
    statsmenu::Months months;
    ASSERT_TRUE(months.read(rec, m.mar, m.base()));
    EXPECT_EQ(months.lastThree.tables.size(), 3);
    std::unique_ptr<statsview::TStatistikDlg> dlg(
        statsmenu::createStatistikDlg(rec, months, m.base(), nullptr));
    EXPECT_EQ(dlg->windowTitle(), "Statistik");
    ASSERT_EQ(dlg->Seiten->count(), 2);
    EXPECT_EQ(dlg->Seiten->tabText(0), "Angezeigter Monat (März 2024)");
    EXPECT_EQ(dlg->Seiten->tabText(1), "Letzte drei Monate (Januar 2024 – März 2024)");
    dlg->show();
    const QImage shot = dlg->grab().toImage();
    EXPECT_GT(shot.width(), 600);
    // The figures table of each page shows the mean of its own period.
    for (int page = 0; page < 2; ++page) {
        const Collection &c = page == 0 ? months.shown : months.lastThree;
        QTableWidget *t = dlg->figuresTable(page);
        ASSERT_NE(t, nullptr);
        EXPECT_EQ(t->item(1, 0)->text(), "Mittelwert");
        EXPECT_EQ(t->item(1, 1)->text(), mgdlAndMmol(c.figures.mean, c.figures.meanMmol));
    }
    // The range bar and the profile drew something besides white.
    for (const char *name : {"Bereichsbalken", "Tageszeitenprofil"}) {
        QWidget *w = dlg->findChild<QWidget *>(name);
        ASSERT_NE(w, nullptr) << name;
        const QImage img = w->grab().toImage();
        int coloured = 0;
        for (int y = 0; y < img.height(); y += 2)
            for (int x = 0; x < img.width(); x += 2) {
                const QColor px = img.pixelColor(x, y);
                coloured += px.saturation() > 80;
            }
        EXPECT_GT(coloured, 50) << name;
    }
    // The report button asks for a file, writes it and opens it.
    rec.fileNames.enqueue(m.tmp.file("aus-dem-fenster"));
    dlg->ArztberichtBtn->click();
    EXPECT_TRUE(QFileInfo(m.tmp.file("aus-dem-fenster.pdf")).size() > 1000);
    EXPECT_EQ(rec.opened, QStringList({m.tmp.file("aus-dem-fenster.pdf")}));
    ASSERT_EQ(rec.dialogCalls.size(), 1);
    EXPECT_TRUE(rec.dialogCalls[0].contains("Arztbericht 01.2024-03.2024.pdf"));
    dlg->SchliessenBtn->click();
    EXPECT_FALSE(dlg->isVisible());
}

TEST(StatistikWindow, MenuCommandsWithoutOrWithBadTable) {
    testutil::TempFolder tmp;
    ui::RecordingServices rec;
    statsmenu::Statistik(rec, QString(), tmp.path(), nullptr);
    statsmenu::Arztbericht(rec, QString(), tmp.path(), nullptr);
    statsmenu::MesswerteAlsCsv(rec, QString(), tmp.path(), nullptr);
    ASSERT_EQ(rec.shown.size(), 3);
    for (const auto &s : rec.shown)
        EXPECT_TRUE(s.text.startsWith("Es ist keine Monatstabelle geöffnet"));
    rec.clear();
    statsmenu::Statistik(rec, tmp.file("MM032024.tab"), tmp.path(), nullptr);
    ASSERT_EQ(rec.shown.size(), 1);
    EXPECT_EQ(rec.shown[0].kind, ui::Kind::Warning);
    EXPECT_TRUE(rec.shown[0].text.contains("kann nicht gelesen werden"));
}

TEST(StatistikWindow, CsvMenuCommand) {
    ThreeMonths m;
    ui::RecordingServices rec;
    // Cancelled: nothing written.
    statsmenu::MesswerteAlsCsv(rec, m.feb, m.base(), nullptr);
    EXPECT_TRUE(rec.shown.isEmpty());
    ASSERT_EQ(rec.dialogCalls.size(), 1);
    EXPECT_TRUE(rec.dialogCalls[0].contains(m.base() + "MM022024.csv"));
    // Chosen: the shown month's readings; the four-slot month leaves out Messung5.
    rec.fileNames.enqueue(m.tmp.file("feb.csv"));
    statsmenu::MesswerteAlsCsv(rec, m.feb, m.base(), nullptr);
    const QByteArray bytes = testutil::readBytes(m.tmp.file("feb.csv"));
    ASSERT_TRUE(bytes.startsWith("\xEF\xBB\xBF"
                                 "Datum;Uhrzeit;Messung;mg/dl;mmol/l\r\n"));
    EXPECT_EQ(bytes.count("\r\n"), 1 + 29 * 4);
    EXPECT_FALSE(bytes.contains("Messung 5"));
    ASSERT_EQ(rec.shown.size(), 1);
    EXPECT_EQ(
        rec.shown[0].text,
        QString("116 Messwerte wurden in die Datei \"%1\" exportiert.").arg(m.tmp.file("feb.csv")));
}

TEST(StatsCommands, StatsJsonCsvAndReport) {
    ThreeMonths m;
    QString outText, errText;
    auto call = [&](const QStringList &args) {
        outText.clear();
        errText.clear();
        QTextStream out(&outText), err(&errText);
        int rc = -1;
        EXPECT_TRUE(statscli::run(args, out, err, rc));
        out.flush();
        err.flush();
        return rc;
    };
    EXPECT_EQ(call({"stats", m.mar}), 0);
    const Collection march = collectAll({m.mar});
    EXPECT_TRUE(
        outText.contains("Mittelwert: " + mgdlAndMmol(march.figures.mean, march.figures.meanMmol)));
    EXPECT_TRUE(outText.contains("Zeitraum: März 2024 (03.2024)"));

    EXPECT_EQ(call({"stats", "--json", m.jan, m.feb}), 0);
    const QJsonObject o = QJsonDocument::fromJson(outText.toUtf8()).object();
    EXPECT_EQ(o["period"].toString(), QString("01.2024") + QChar(0x2013) + "02.2024");
    EXPECT_EQ(o["readings"].toInt(), 31 * 8 + 29 * 4);
    EXPECT_TRUE(errText.contains("Messungen 4 bis 7")); // notes go to the error stream

    EXPECT_EQ(call({"export-csv", m.feb, m.jan}), 0);
    EXPECT_TRUE(outText.startsWith(QChar(0xFEFF) +
                                   QString("Datum;Uhrzeit;Messung;mg/dl;mmol/l\r\n2024-01-01;")));
    EXPECT_EQ(outText.count("\r\n"), 1 + 31 * 8 + 29 * 4);

    EXPECT_EQ(call({"report", m.tmp.file("cli.pdf"), m.mar}), 0);
    EXPECT_TRUE(testutil::readBytes(m.tmp.file("cli.pdf")).startsWith("%PDF"));
    EXPECT_EQ(outText.trimmed(), m.tmp.file("cli.pdf"));

    // Wrong calls and unreadable tables.
    EXPECT_EQ(call({"stats"}), 2);
    EXPECT_EQ(call({"report", "x.pdf"}), 2);
    EXPECT_EQ(call({"export-csv"}), 2);
    EXPECT_EQ(call({"stats", m.tmp.file("fehlt.tab")}), 1);
    EXPECT_TRUE(errText.contains("kann nicht gelesen werden"));
    EXPECT_EQ(call({"report", m.tmp.file("fehlt/x.pdf"), m.mar}), 1);
    EXPECT_TRUE(errText.contains("konnte nicht geschrieben werden"));
    // Other commands are not ours.
    QTextStream out(&outText), err(&errText);
    int rc = 0;
    EXPECT_FALSE(statscli::run({"graph", "a", "b"}, out, err, rc));
}
