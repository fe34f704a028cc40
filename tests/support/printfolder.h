#pragma once
#include <QDir>
#include <QStringList>

#include "graph/templatepicture.h"
#include "platform/textfile.h"
#include "storage/entryline.h"
#include "storage/monthtable.h"
#include "testutil.h"

// A base folder as the program's: settings with limits and colours, the
// delivered pictures, and a month table of March 2024 with four readings on
// each of its 31 days; the folder is the current one while the test runs.
struct PrintFolder {
    testutil::TempFolder tmp;
    QString table;
    QString old;

    explicit PrintFolder(const QStringList &tableExtra = {}) {
        old = QDir::currentPath();
        textfile::writeLines(tmp.file("glykoval.ini"),
                             {"[Einstellung]", "Grafik4=Grafik4.bmp", "Grafik8=Grafik8.bmp",
                              "Header=Header.bmp", "BisZu4MessungenJeTag=1",
                              "BisZu8MessungenJeTag=0", "Hochwerte>=180", "Kritischwerte>=140",
                              "Tiefwerte<=60", "FarbeHochwerte=255", "FarbeKritischwerte=33023",
                              "FarbeTiefwerte=16711680", "KurvenFarbe=8388608", "StiftBreite=2",
                              "Grafikformat=DINA4", "FensterBreite=1000",
                              "Messung4UhrzeitMorgens=07:00", "Messung4UhrzeitAbends=21:30"});
        templatepicture::graphTemplate(MeasureMode::Four).save(tmp.file("Grafik4.bmp"), "BMP");
        templatepicture::graphTemplate(MeasureMode::Eight).save(tmp.file("Grafik8.bmp"), "BMP");
        templatepicture::legend().save(tmp.file("M_einheit.bmp"), "BMP");
        templatepicture::header().save(tmp.file("Header.bmp"), "BMP");
        monthtable::WriteRequest req;
        req.userName = "Max Muster";
        req.month = "03";
        req.year = "2024";
        req.dataFolder = tmp.file("Glykovalin-Daten/");
        const MeasurementSlot daySlots[] = {MeasurementSlot::Morgens, MeasurementSlot::Messung2,
                                            MeasurementSlot::Messung3, MeasurementSlot::Abends};
        const char *times[] = {"07:00", "12:00", "17:00", "21:30"};
        for (int d = 1; d <= 31; ++d)
            for (int s = 0; s < 4; ++s)
                req.entries << entryline::format(
                    daySlots[s], QStringLiteral("%1").arg(d, 2, 10, QChar(u'0')), "03", "2024",
                    QString::fromLatin1(times[s]), QString::number(70 + (d * 37 + s * 53) % 180));
        QDir().mkpath(req.dataFolder + "2024");
        table = monthtable::pathFor(req.dataFolder, "MM", "03", "2024");
        QStringList lines = monthtable::compose(req, monthtable::Margins());
        // Extra header keys go right after the section line.
        for (int i = 0; i < tableExtra.size(); ++i)
            lines.insert(1 + i, tableExtra.at(i));
        textfile::writeLines(table, lines);
        QDir::setCurrent(tmp.path());
    }
    ~PrintFolder() { QDir::setCurrent(old); }
    QString file(const QString &name) const { return tmp.file(name); }
};
