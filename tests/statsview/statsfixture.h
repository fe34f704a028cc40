#pragma once
// Months of a user for the statistics window, the report and the commands.
#include <QDir>

#include "stats/collection.h"
#include "stats/monthfixture.h"
#include "testutil.h"

namespace statsfixture {

// Three months of a user under base/Glykovalin-Daten/2024/, with hypos and
// diary pages in the last one; February is a four-slot month that still
// holds a reading of Messung5. The base folder is the current one while the
// test runs.
struct ThreeMonths {
    testutil::TempFolder tmp;
    QString jan, feb, mar;
    QString old = QDir::currentPath();
    ThreeMonths() {
        QDir::setCurrent(tmp.path());
        using monthfixture::Entry;
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
    ~ThreeMonths() { QDir::setCurrent(old); }
    QString base() const { return tmp.path(); }
};

inline stats::Collection collectAll(const QStringList &paths, const QString &base = QString()) {
    stats::Collection c;
    QString error;
    EXPECT_TRUE(stats::collect(paths, MeasureMode::Four, c, &error)) << error.toStdString();
    stats::addContext(c, base, MeasureMode::Four);
    return c;
}

} // namespace statsfixture
