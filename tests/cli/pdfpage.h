#pragma once
// Pages of the printed documents read back: the fonts they are set in and
// the boxes of their words.
#include <QFontInfo>
#include <QList>
#include <QRegularExpression>
#include <QString>
#include <QStringList>

#include "support/pdftools.h"

namespace pdfpage {

// The documents' font is installed ("Arial" resolves to Liberation Sans);
// without it Qt draws empty boxes.
inline bool haveFonts() {
    const QString family = QFontInfo(QFont(QStringLiteral("Arial"))).family();
    return family.contains(QStringLiteral("Liberation")) ||
           family.contains(QStringLiteral("Arial"));
}

// A word with its box as pdftotext reports it: points from the top left
// corner, times the scale asked for.
struct Word {
    double xMin, yMin, xMax, yMax;
    QString text;
};

// The words of page `page` (1-based), or of all pages when it is 0.
inline QList<Word> words(const QString &pdf, int page = 0, double scale = 1) {
    QStringList args{QStringLiteral("-bbox")};
    if (page > 0)
        args << QStringLiteral("-f") << QString::number(page) << QStringLiteral("-l")
             << QString::number(page);
    const QString html = pdftools::run(QStringLiteral("pdftotext"), args << pdf << "-");
    static const QRegularExpression re(
        QStringLiteral("<word xMin=\"([0-9.]+)\" yMin=\"([0-9.]+)\" xMax=\"([0-9.]+)\" "
                       "yMax=\"([0-9.]+)\">([^<]*)</word>"));
    QList<Word> out;
    for (auto it = re.globalMatch(html); it.hasNext();) {
        const auto m = it.next();
        out.append({m.captured(1).toDouble() * scale, m.captured(2).toDouble() * scale,
                    m.captured(3).toDouble() * scale, m.captured(4).toDouble() * scale,
                    m.captured(5)});
    }
    return out;
}

} // namespace pdfpage
