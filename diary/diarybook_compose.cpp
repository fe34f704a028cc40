#include "diarybook_compose.h"

#include "storage/diarybook.h"

#include <QFont>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextOption>
#include <algorithm>

namespace diarybook {

namespace {

const QString kWait = QStringLiteral(" Pdf-Datei wird erstellt. Bitte etwas Geduld!");
// clang-format off
const Layout kFour{400, 800, QStringLiteral("  "), 82, 101, 5, 823, 823, 1000, 1000, 65,
                   QString(5, u'\t') + kWait, 16.0};
const Layout kEight{160, 1340, QString(6, u'\t'), 150, 177, 4, 1300, 823, 1300, 823, 82,
                    QString(10, u'\t') + kWait, 15.8};
// clang-format on

// Appends paragraphs the way lines are added to the editor: each text is a
// paragraph of its own with the tab stops in effect at that moment.
class BookWriter {
public:
    BookWriter(QTextDocument *doc, qreal lineHeight)
        : m_doc(doc), m_cursor(doc), m_lineHeight(lineHeight) {
        QFont font(QStringLiteral("Arial"));
        font.setPixelSize(13);
        font.setBold(true);
        m_base.setFont(font);
        m_base.setForeground(Qt::black);
    }

    void setTabStops(const QList<qreal> &points) { m_tabs = points; }
    void setFirstTabStop(qreal points) {
        if (m_tabs.isEmpty())
            m_tabs.append(points);
        else
            m_tabs[0] = points;
    }

    // Adds a paragraph; returns the document position of its first character.
    int add(const QString &text) {
        QTextBlockFormat bf;
        QList<QTextOption::Tab> tabs;
        for (qreal t : m_tabs)
            tabs.append(QTextOption::Tab(pointsToPixels(t), QTextOption::LeftTab));
        bf.setTabPositions(tabs);
        bf.setLineHeight(m_lineHeight, QTextBlockFormat::FixedHeight);
        m_cursor.movePosition(QTextCursor::End);
        if (m_first) {
            m_cursor.setBlockFormat(bf);
            m_cursor.setBlockCharFormat(m_base);
            m_first = false;
        } else {
            m_cursor.insertBlock(bf, m_base);
        }
        const int start = m_cursor.position();
        m_cursor.insertText(text, m_base);
        return start;
    }
    void addEmpty(int count = 1) {
        for (int i = 0; i < count; ++i)
            add(QString());
    }

    // Merges extra character attributes into a range of the text.
    void emphasize(int start, int length, int extraPixels, bool underline) {
        QTextCursor c(m_doc);
        c.setPosition(start);
        c.setPosition(start + length, QTextCursor::KeepAnchor);
        QTextCharFormat f;
        f.setForeground(Qt::black);
        f.setFontWeight(QFont::Bold);
        f.setFontUnderline(underline);
        if (extraPixels) f.setProperty(QTextFormat::FontPixelSize, 13 + extraPixels);
        c.mergeCharFormat(f);
    }

private:
    QTextDocument *m_doc;
    QTextCursor m_cursor;
    QTextCharFormat m_base;
    qreal m_lineHeight;
    QList<qreal> m_tabs;
    bool m_first = true;
};

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

Sections splitSections(const QString &line) {
    // The diary file's own split, which gives back the "#" a user typed.
    const DiaryBook::Sections d = DiaryBook::splitSections(line);
    Sections s;
    const qsizetype first = line.indexOf(u'#');
    s.head = first < 0 ? line : line.left(first);
    s.carb = d.carb;
    s.insulin = d.insulin;
    s.remark = d.remark;
    return s;
}

bool isPageLine(const QString &line) {
    if (!line.startsWith(QStringLiteral("Tag")) || line.size() < 5) return false;
    if (!line.at(3).isDigit() || !line.at(4).isDigit()) return false;
    const int day = line.mid(3, 2).toInt();
    return day >= 1 && day <= 31;
}

QString dayOfHead(const QString &head) {
    QString h = head;
    qsizetype p = h.indexOf(QStringLiteral("Tag"));
    if (p >= 0) h.remove(p, 3);
    p = h.indexOf(u':');
    if (p >= 0) h.remove(p, 1);
    return h.trimmed();
}

void fitEightColumnsIntoFour(Sections &s) {
    if (!s.carb.contains(QStringLiteral("M4=")) || !s.carb.contains(QStringLiteral("BE:"))) return;
    const qsizetype ab = s.carb.indexOf(QStringLiteral("Abends="));
    QString kept;
    if (ab >= 0) kept = s.carb.mid(ab, s.carb.size() - ab - 1);
    s.carb = s.carb.left(s.carb.indexOf(QStringLiteral("M4="))) + kept;
    for (int i = 0; i < 4; ++i) {
        const qsizetype bar = s.insulin.lastIndexOf(u'|');
        if (bar < 0 || s.insulin.isEmpty()) break;
        s.insulin = s.insulin.left(bar) + s.insulin.right(1);
    }
}

QString GibTagebuchWerte(const std::array<QString, 31> &dayLineTexts, const QString &day) {
    if (day.size() != 2 || !day.at(0).isDigit() || !day.at(1).isDigit()) return {};
    const int d = day.toInt();
    if (d < 1 || d > 31) return {};
    return dayLineTexts[size_t(d - 1)];
}

QString FormatiereTagebuchstr(const QString &dayText, MeasureMode mode) {
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
        if (p >= 0) c += QStringLiteral("= ") + t.mid(p + 11);
        if (k >= 2 && k <= 7) {
            const QString word = QStringLiteral("Messung%1").arg(k);
            const qsizetype w = c.indexOf(word, 0, Qt::CaseInsensitive);
            if (w >= 0) c.replace(w, word.size(), QStringLiteral("M%1").arg(k));
        }
        cell[size_t(k)] = c;
    }

    QString line = QStringLiteral("Messwerte [mg/dl]: ") + cell[1];
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

int printedPageCount(int pageLines, MeasureMode mode) {
    if (mode == MeasureMode::Four) return 1;
    const int n = pageLines / 4 + (pageLines % 4 ? 1 : 0);
    return std::max(1, n);
}

int fillingLines(MeasureMode mode, int p) {
    if (mode == MeasureMode::Four) {
        static const int four[] = {0, 4, 7, 8, 7, 8, 7};
        return p >= 1 && p <= 6 ? four[p] : 0;
    }
    static const int eight[] = {0, 0, 5, 6, 6, 5, 6, 5, 5};
    return p >= 2 && p <= 8 ? eight[p] : 0;
}

ComposeResult composeBook(QTextDocument *doc, const DiaryBookInput &in) {
    const Layout &L = layout(in.mode);
    const bool eight = in.mode == MeasureMode::Eight;
    QStringList pages;
    for (const QString &l : in.pages)
        if (isPageLine(l)) pages.append(l);

    ComposeResult result;
    result.pageLines = int(pages.size());
    const int n = printedPageCount(result.pageLines, in.mode);
    result.printedPages = n;

    doc->clear();
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(13);
    font.setBold(true);
    doc->setDefaultFont(font);
    // Tabs without own stops advance by half an inch, as in the page editor.
    QTextOption option = doc->defaultTextOption();
    option.setTabStopDistance(kPixelsPerInch / 2);
    doc->setDefaultTextOption(option);
    BookWriter w(doc, L.lineHeight);

    const QString title = L.titlePrefix + QStringLiteral(" Glykovalin-Tagebuch ") +
                          in.tableDateText + QStringLiteral(" von ") + in.tableUserText +
                          QStringLiteral(" ") + in.meanSuffixText;
    const int titleStart = w.add(title);
    const int g = int(title.indexOf(QStringLiteral("Glykovalin-Tagebuch")));
    w.emphasize(titleStart + g, int(title.trimmed().size()), 3, true);
    w.addEmpty();
    if (eight) w.add(QString(12, u'\t') + QStringLiteral(" Seite 1 von ") + QString::number(n));
    w.addEmpty(2);

    int m = 0;
    int p = 1;
    for (const QString &line : pages) {
        Sections s = splitSections(line);
        if (!eight) fitEightColumnsIntoFour(s);
        const QString day = dayOfHead(s.head);
        w.setTabStops(measurementTabStops());
        const QString measurement =
            FormatiereTagebuchstr(GibTagebuchWerte(in.dayLineTexts, day), in.mode);

        const int dayStart = w.add(QString(L.dayBlanks, u' ') + QStringLiteral("Tag: ") + day);
        w.emphasize(dayStart + L.dayBlanks, 7, 0, true);
        w.addEmpty();
        w.add(QStringLiteral(" ") + measurement);
        w.addEmpty();
        w.setTabStops({82, 223, 319, 416, 513, 609, 706, 802});
        w.add(QStringLiteral("\t ") + s.carb);
        w.addEmpty();
        w.setFirstTabStop(35);
        w.add(QStringLiteral("\t ") + s.insulin);
        w.addEmpty();
        w.add(QString(14, u' ') + s.remark);
        w.add(QString(L.underscores, u'_'));
        w.addEmpty();

        ++m;
        if (!eight && m == 5) {
            w.addEmpty(fillingLines(in.mode, p));
            ++p;
            m = 0;
        } else if (eight && m == 4) {
            const bool more = p < n;
            ++p;
            w.addEmpty(fillingLines(in.mode, p));
            if (more)
                w.add(QString(145, u' ') + QStringLiteral("Seite ") + QString::number(p) +
                      QStringLiteral(" von ") + QString::number(n));
            w.addEmpty();
            m = 0;
        }
    }
    return result;
}

} // namespace diarybook
