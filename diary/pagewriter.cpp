#include "pagewriter.h"

#include <QFontInfo>
#include <QTextDocument>

PageWriter::PageWriter(QTextDocument *doc, const QFont &font, qreal lineHeight)
    : m_cursor(doc), m_font(font), m_pixels(QFontInfo(font).pixelSize()), m_lineHeight(lineHeight) {
    m_cursor.beginEditBlock();
}

PageWriter::~PageWriter() {
    finish();
}

void PageWriter::finish() {
    if (m_finished) return;
    m_finished = true;
    m_cursor.endEditBlock();
}

QTextCharFormat PageWriter::format(int sizeStep) const {
    QTextCharFormat cf;
    cf.setForeground(Qt::black);
    QFont f = m_font;
    if (sizeStep != 0) f.setPixelSize(std::max(1, m_pixels + sizeStep));
    cf.setFont(f);
    return cf;
}

void PageWriter::newLine(const QList<qreal> &tabStops, const QTextCharFormat &format,
                         int extraHeight) {
    QTextBlockFormat bf;
    if (!tabStops.isEmpty()) {
        QList<QTextOption::Tab> tabs;
        for (qreal t : tabStops)
            tabs << QTextOption::Tab(pointsToPixels(t), QTextOption::LeftTab);
        bf.setTabPositions(tabs);
    }
    if (m_lineHeight > 0)
        bf.setLineHeight(m_lineHeight + extraHeight, QTextBlockFormat::MinimumHeight);
    if (m_first) {
        m_cursor.setBlockFormat(bf);
        m_cursor.setBlockCharFormat(format);
        m_first = false;
    } else {
        m_cursor.insertBlock(bf, format);
    }
}

void PageWriter::add(const QString &text, const QList<qreal> &tabStops, int sizeStep) {
    const QTextCharFormat cf = format(sizeStep);
    newLine(tabStops, cf, 0);
    m_cursor.insertText(text, cf);
}

void PageWriter::addEmphasized(const QString &text, const QList<qreal> &tabStops, qsizetype start,
                               qsizetype length, int extraPixels) {
    const QTextCharFormat base = format(0);
    newLine(tabStops, base, extraPixels);
    QTextCharFormat emphasis = base;
    emphasis.setFontUnderline(true);
    if (extraPixels) emphasis.setProperty(QTextFormat::FontPixelSize, m_pixels + extraPixels);
    m_cursor.insertText(text.left(start), base);
    m_cursor.insertText(text.mid(start, length), emphasis);
    m_cursor.insertText(text.mid(start + length), base);
}
