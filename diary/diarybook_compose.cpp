#include "diarybook_compose.h"

#include "storage/diarybook.h"

#include <QFont>
#include <QLocale>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextOption>
#include <algorithm>

#include "pagewriter.h"
#include "platform/fonts.h"
#include "storage/daysums.h"

namespace diarybook {

namespace {

const QString kWait = QStringLiteral(" Pdf-Datei wird erstellt. Bitte etwas Geduld!");
// clang-format off
const Layout kFour{400, 800, 82, 101, 5, 823, 1000, 823, QString(5, u'\t') + kWait, 16.0};
const Layout kEight{160, 1340, 150, 177, 4, 1300, 823, 1300, QString(10, u'\t') + kWait, 15.8};
// clang-format on

// Removes everything up to and including the marker and the blank after it.
QString afterMarker(const QString &text, qsizetype pos, int width) {
    return text.mid(pos + width);
}

QString slotLabel(int k) {
    return slotinfo::prefix(slotinfo::fromNumber(k));
}

} // namespace

const Layout &layout(MeasureMode mode) {
    return mode == MeasureMode::Eight ? kEight : kFour;
}

qreal pointsToPixels(qreal points) {
    return points * kPixelsPerInch / 72.0;
}

QStringList sortPages(const QStringList &lines) {
    QStringList sorted = lines;
    std::stable_sort(sorted.begin(), sorted.end(), [](const QString &a, const QString &b) {
        return QString::compare(a, b, Qt::CaseInsensitive) < 0;
    });
    QStringList out;
    for (const QString &l : sorted)
        if (!out.contains(l)) out.append(l);
    return out;
}

bool isPageLine(const QString &line) {
    if (!line.startsWith(QStringLiteral("Tag")) || line.size() < 5) return false;
    if (!line.at(3).isDigit() || !line.at(4).isDigit()) return false;
    const int day = line.mid(3, 2).toInt();
    return day >= 1 && day <= 31;
}

bool fitEightColumnsIntoFour(DiaryBook::Sections &s) {
    if (!s.carb.contains(QStringLiteral("M4=")) || !s.carb.contains(QStringLiteral("BE:")))
        return false;
    const qsizetype ab = s.carb.indexOf(QStringLiteral("Abends="));
    QString kept;
    if (ab >= 0) kept = s.carb.mid(ab, s.carb.size() - ab - 1);
    s.carb = s.carb.left(s.carb.indexOf(QStringLiteral("M4="))) + kept;

    // The insulin line keeps the same columns: Morgens, M2, M3 and the last.
    const QStringList columns = s.insulin.split(u'|');
    if (columns.size() > 4)
        s.insulin = QStringList(columns.mid(0, 3)).join(u'|') + u'|' + columns.last();

    // A day sum block counts the columns that are left.
    const qsizetype colon = s.carb.indexOf(u':');
    const QString key =
        (colon < 0 ? QString() : s.carb.left(colon).trimmed()) + QStringLiteral("-Tagessumme= ");
    const qsizetype at = s.remark.indexOf(key);
    const qsizetype end = at < 0 ? -1 : s.remark.indexOf(QStringLiteral("\t•"), at);
    const daysums::LineSum sum = daysums::sumOf(s.carb);
    if (end >= 0 && sum.readable())
        s.remark.replace(at + key.size(), end - at - key.size(), sum.text());
    return true;
}

QString GibTagebuchWerte(const std::array<QString, 31> &dayLineTexts, const QString &day) {
    if (day.size() != 2 || !day.at(0).isDigit() || !day.at(1).isDigit()) return {};
    const int d = day.toInt();
    if (d < 1 || d > 31) return {};
    return dayLineTexts[size_t(d - 1)];
}

namespace {
// A reading's value in the unit; "  ?" of an empty slot and any text that is
// no number stay as they are.
QString valueIn(const QString &value, GlucoseUnit unit) {
    double v = 0;
    if (unit == GlucoseUnit::MgDl || !entryline::readingValue(value, v)) return value;
    return glucoseunit::valueText(int(v), unit);
}
} // namespace

QString FormatiereTagebuchstr(const QString &dayText, MeasureMode mode, GlucoseUnit unit) {
    const QString s = dayText;
    QString date;
    const qsizetype z = s.indexOf(QStringLiteral("Z="));
    if (z >= 0) {
        date = s.left(z);
        const qsizetype den = date.indexOf(QStringLiteral("den"));
        if (den >= 0) date = afterMarker(date, den, 4);
        date = date.trimmed();
    }

    std::array<QString, 9> slotText;
    QString rest = s;
    for (int k = 1; k <= 8; ++k) {
        const QString tag = QStringLiteral("-%1").arg(k);
        const qsizetype p = rest.indexOf(tag);
        if (p < 0) continue;
        slotText[size_t(k)] = rest.left(std::max<qsizetype>(0, p - 1));
        rest = rest.mid(p + 3);
    }

    std::array<QString, 9> cell;
    for (int k = 1; k <= 8; ++k) {
        QString t = slotText[size_t(k)];
        if (t.isEmpty()) t = slotLabel(k) + date + QStringLiteral(" Z=  ?    ZuckerWert=  ?");
        QString c;
        qsizetype p = t.indexOf(QStringLiteral("den"));
        if (p >= 0) {
            c = t.left(p) + u'(';
            t = afterMarker(t, p, 4);
        }
        p = t.indexOf(QStringLiteral("Z="));
        if (p >= 0) {
            c += t.mid(p + 2, 5) + QStringLiteral(") ");
            t = afterMarker(t, p, 8);
        }
        p = t.indexOf(QStringLiteral("ZuckerWert="));
        if (p >= 0) c += QStringLiteral("= ") + valueIn(t.mid(p + 11), unit);
        if (k >= 2 && k <= 7) {
            const QString word = QStringLiteral("Messung%1").arg(k);
            const qsizetype w = c.indexOf(word, 0, Qt::CaseInsensitive);
            if (w >= 0) c.replace(w, word.size(), QStringLiteral("M%1").arg(k));
        }
        cell[size_t(k)] = c;
    }

    QString line = QStringLiteral("Messwerte [") + glucoseunit::unitText(unit) +
                   QStringLiteral("]: ") + cell[1];
    const QString sep = QStringLiteral("\t|\t");
    if (mode == MeasureMode::Eight) {
        for (int k = 2; k <= 8; ++k)
            line += sep + cell[size_t(k)];
    } else {
        QString last = cell[8];
        const qsizetype dash = last.indexOf(QStringLiteral(" -"));
        if (dash >= 0) last = last.left(dash + 1);
        line += sep + cell[2] + sep + cell[3] + sep + last;
    }
    const QString wide = QString(12, u' ') + QStringLiteral("Abends");
    const qsizetype w = line.indexOf(wide, 0, Qt::CaseInsensitive);
    if (w >= 0) line.replace(w, wide.size(), QStringLiteral("Abends"));
    return line;
}

QList<qreal> measurementTabStops() {
    return {223, 231, 319, 328, 416, 425, 513, 522, 530, 609, 617, 625, 705, 715, 802, 810};
}

QString limitTabs(const QString &text) {
    if (text.count(u'\t') <= kMaxTabs) return text;
    QString out;
    out.reserve(text.size());
    int run = 0, tabs = 0;
    for (const QChar c : text) {
        if (c != u'\t') {
            run = 0;
            out += c;
        } else if (++run <= kMaxTabs) {
            out += ++tabs <= kMaxTabs ? c : QChar(u' ');
        }
    }
    return out;
}

BookContent composeContent(const DiaryBookInput &in) {
    const Layout &L = layout(in.mode);
    BookContent book;
    book.mode = in.mode;
    book.title =
        (QStringLiteral("Glykovalin-Tagebuch ") + in.tableDateText + QStringLiteral(" von ") +
         in.tableUserText + QStringLiteral(" ") + in.meanSuffixText)
            .trimmed();
    const QList<qreal> columnStops = {82, 223, 319, 416, 513, 609, 706, 802};
    QList<qreal> insulinStops = columnStops;
    insulinStops[0] = 35;

    for (const QString &line : in.pages) {
        if (!isPageLine(line)) continue;
        DiaryBook::Sections s = DiaryBook::splitSections(line);
        for (QString *text : {&s.carb, &s.insulin, &s.remark})
            *text = limitTabs(*text);
        if (in.mode == MeasureMode::Four) fitEightColumnsIntoFour(s);
        BookEntry e;
        e.day = s.day;
        const QString measurement =
            FormatiereTagebuchstr(GibTagebuchWerte(in.dayLineTexts, e.day), in.mode, in.unit);
        e.paragraphs = {
            {QString(L.dayBlanks, u' ') + QStringLiteral("Tag: ") + e.day, {}, L.dayBlanks, 7},
            {},
            {QStringLiteral(" ") + measurement, measurementTabStops()},
            {},
            {QStringLiteral("\t ") + s.carb, columnStops},
            {},
            {QStringLiteral("\t ") + s.insulin, insulinStops},
            {},
            {QString(14, u' ') + s.remark, insulinStops},
            {QString(L.underscores, u'_'), insulinStops},
            {},
        };
        book.entries.append(e);
    }
    return book;
}

ComposeResult composeBook(QTextDocument *doc, const DiaryBookInput &in) {
    const BookContent book = composeContent(in);
    doc->clear();
    const QFont font = fonts::arialPixels(13, true);
    doc->setDefaultFont(font);
    // Tabs without own stops advance by half an inch, as in the page editor.
    QTextOption option = doc->defaultTextOption();
    option.setTabStopDistance(kPixelsPerInch / 2);
    doc->setDefaultTextOption(option);

    // The book is shown, not edited: no undo steps for it.
    doc->setUndoRedoEnabled(false);
    {
        PageWriter w(doc, font, layout(in.mode).lineHeight);
        w.addEmphasized(book.title, {}, 0, book.title.size(), 3);
        w.add(QString());
        for (const BookEntry &e : book.entries)
            for (const Paragraph &p : e.paragraphs) {
                if (p.emphasisStart < 0)
                    w.add(p.text, p.tabStops);
                else
                    w.addEmphasized(p.text, p.tabStops, p.emphasisStart, p.emphasisLength);
            }
    }
    ComposeResult r;
    r.pageLines = int(book.entries.size());
    return r;
}

} // namespace diarybook
