#pragma once
#include <QFont>
#include <QList>
#include <QString>
#include <QTextCursor>

class QTextDocument;

// Writes lines into a text document, each with its own tab stops (in points,
// at 96 pixels per inch) and its font, in one edit block, so the document is
// laid out once when the writer finishes. The diary page and the diary book
// are written with it.
class PageWriter {
public:
    // Lines in `font` (black), each at least `lineHeight` pixels high
    // (0: as high as the font needs).
    PageWriter(QTextDocument *doc, const QFont &font, qreal lineHeight = 0);
    ~PageWriter();
    PageWriter(const PageWriter &) = delete;
    PageWriter &operator=(const PageWriter &) = delete;

    // A line whose font is `sizeStep` pixels larger (or smaller) than the
    // writer's.
    void add(const QString &text, const QList<qreal> &tabStops = {}, int sizeStep = 0);
    // A line with `length` characters from `start` underlined and
    // `extraPixels` taller than the rest (the line is as much taller).
    void addEmphasized(const QString &text, const QList<qreal> &tabStops, qsizetype start,
                       qsizetype length, int extraPixels = 0);
    // Ends the edit block.
    void finish();

    // Tab stops in points as the document takes them.
    static qreal pointsToPixels(qreal points) { return points * 96.0 / 72.0; }

private:
    void newLine(const QList<qreal> &tabStops, const QTextCharFormat &format, int extraHeight);
    QTextCharFormat format(int sizeStep) const;

    QTextCursor m_cursor;
    QFont m_font;
    int m_pixels;
    qreal m_lineHeight;
    bool m_first = true;
    bool m_finished = false;
};
