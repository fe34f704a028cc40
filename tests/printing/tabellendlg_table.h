#pragma once
#include <QStringList>

// A four-slot table text as the table builder makes it, all days empty.
inline QStringList sampleTableLines() {
    const QString sep(115, u'_');
    QStringList l;
    const QString title = QStringLiteral("GLYKOVALINMESSWERTE: März 2024 von Max Muster");
    l << title << QString(title.size(), u'=') << QString()
      << QStringLiteral("  Datum  |    Morgens    | Wert |   Messung 2   | Wert |   Messung 3   | "
                        "Wert |     Abends      | Wert |                            Bemerkung")
      << sep;
    const QString other = QStringLiteral("                       |          |");
    for (int d = 1; d <= 31; ++d) {
        l << QStringLiteral("   %1       |                      |          |")
                     .arg(d, 2, 10, QChar(u'0')) +
                 other + other + other
          << sep;
    }
    return l;
}

// Index of the row of a day in sampleTableLines().
inline int rowOfDay(int day) {
    return 5 + (day - 1) * 2;
}
