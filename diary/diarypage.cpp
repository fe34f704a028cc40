#include "diarypage.h"

#include <QBoxLayout>
#include <QFontInfo>
#include <QKeyEvent>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextEdit>

#include "diarybook_compose.h"
#include "graph/geometry.h"
#include "pagewriter.h"
#include "platform/fonts.h"
#include "platform/ui.h"
#include "platform/win1252.h"
#include "storage/daysums.h"
#include "storage/monthmodel.h"

namespace {

const QString kNoValues = QStringLiteral("Es sind keine Glykovalinmesswerte eingetragen!");
const QString kStoreQuestion =
    QStringLiteral("Das Tagebuch wurde verändert. Möchten Sie es speichern?");
const QString kStoredNote = QStringLiteral("(Diese Seite stammt aus dem gespeicherten Tagebuch.)");

const QList<qreal> kColumnTabs = {72, 205, 294, 382, 471, 559, 648, 736};

QString twoDigits(int day) {
    return QStringLiteral("%1").arg(day, 2, 10, QLatin1Char('0'));
}

QList<qreal> withFirst(QList<qreal> tabs, qreal first) {
    tabs[0] = first;
    return tabs;
}

// A stored section and the opening of the next line at its end: from the
// last tab of its trailing blanks and tabs on (or all of them without a tab).
std::pair<QString, QString> splitOpening(const QString &section) {
    qsizetype start = section.size();
    while (start > 0 && (section.at(start - 1) == u' ' || section.at(start - 1) == u'\t'))
        --start;
    const qsizetype tab = section.lastIndexOf(u'\t');
    const qsizetype cut = tab >= start ? tab : start;
    return {section.left(cut), section.mid(cut)};
}

} // namespace

DiaryPage::DiaryPage(MonthModel &model, ui::Services &ui, QWidget *parent)
    : QWidget(parent), m_model(model), m_ui(ui), m_editor(new QTextEdit(this)) {
    setObjectName(QStringLiteral("DiaryPage"));
    m_editor->setObjectName(QStringLiteral("RichEdit1"));
    m_editor->setFont(fonts::arialPixels(13, true));
    m_editor->setLineWrapMode(QTextEdit::NoWrap);
    // Hidden while the page fits, as a rich edit hides its scroll bars.
    m_editor->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_editor->setAcceptRichText(true);
    auto *box = new QVBoxLayout(this);
    box->setContentsMargins(0, 0, 0, 0);
    box->addWidget(m_editor);
    setFocusProxy(m_editor);
    m_editor->installEventFilter(this);
    m_viewport = m_editor->viewport();
    m_viewport->installEventFilter(this);
}

QString DiaryPage::carbTemplate(bool be, MeasureMode mode) {
    const QString unit = be ? QStringLiteral("BE") : QStringLiteral("KE");
    if (mode == MeasureMode::Eight)
        return QStringLiteral("\t ") + unit +
               QStringLiteral(": Morgens= \t|  M2= \t|  M3= \t|  M4= \t|  M5= \t|  M6= \t|  M7= "
                              "\t|  Abends= ");
    return QStringLiteral("\t ") + unit +
           QStringLiteral(": Morgens= \t|  M2= \t|  M3= \t|  Abends= ");
}

QString DiaryPage::insulinTemplate(bool ct, MeasureMode mode) {
    const bool eight = mode == MeasureMode::Eight;
    if (ct && eight)
        return QStringLiteral("\t Insulin (CT)  : Morgens= \t|  M2= \t|  M3= \t|  M4= \t|  M5= "
                              "\t|  M6= \t|  M7= \t|  Abends= ");
    if (ct) return QStringLiteral("\t Insulin (CT)  : Morgens= \t|  M2= \t|  M3= \t|  Abends=  ");
    if (eight)
        return QStringLiteral("\t Insulin (ICT) : Bolus=   Basal= \t|  Bol.=   Bas.= \t|  Bol.=   "
                              "Bas.= \t|  Bol.=   Bas.= \t|  Bol.=   Bas.= \t|  Bol.=   Bas.= \t|  "
                              "Bol.=   Bas.= \t|  Bol.=   Bas.=  ");
    return QStringLiteral("\t Insulin (ICT) : Bolus=  Basal= \t|  Bol.=   Bas.= \t|  Bol.=   Bas.= "
                          "\t|  Bol.=   Bas.= ");
}

const QList<qreal> &DiaryPage::measurementTabs() {
    static const QList<qreal> tabs = {205, 213, 294, 303, 382, 390, 471,
                                      479, 559, 567, 648, 656, 736, 744};
    return tabs;
}

QString DiaryPage::dayValues(int day) const {
    if (day < 1 || day > 31) return {};
    return m_model.figures().dayLineTexts[size_t(day - 1)];
}

QStringList DiaryPage::pageLines() const {
    QStringList lines;
    for (QTextBlock b = m_editor->document()->begin(); b.isValid(); b = b.next())
        lines << b.text();
    return lines;
}

void DiaryPage::updateEntries() {
    emit deleteAllowed(!m_editor->toPlainText().contains(kNoValues) &&
                       !m_model.diary().lines().isEmpty());
    emit bookAvailable(!m_model.diary().lines().isEmpty() || m_changed);
}

void DiaryPage::setChanged(bool changed) {
    if (changed == m_changed) return;
    m_changed = changed;
    updateEntries();
}

void DiaryPage::clearPage() {
    m_editor->clear();
    m_noValues = false;
    updateEntries();
}

void DiaryPage::tableChanged() {
    m_changed = false;
    clearPage();
}

void DiaryPage::monthChanged() {
    // A page the user is changing stays as it is.
    if (m_changed) return;
    if (m_model.hasTable() && m_day > 0)
        showDay(m_day);
    else
        clearPage();
}

void DiaryPage::restorePositions(int clickX, int scroll) {
    m_lastClickX = clickX;
    m_lastScroll = scroll;
    if (m_lastClickX < 64) m_lastClickX = 64;
    m_day = graphgeo::dayAtX(m_lastClickX + scroll);
}

void DiaryPage::FormMouseDown(int clientX, int scroll) {
    updateEntries();
    if (clientX < 40) return;
    m_lastScroll = scroll;
    m_lastClickX = clientX;
    const int day = graphgeo::dayAtX(clientX + scroll);
    // Right of day 31 there is no day: nothing is shown, stored or deleted.
    if (day == 0) return;
    if (m_changed) {
        askAndStore(DiaryBook::StoreFrom::DayClick);
        return;
    }
    showDay(day);
}

// The note at the end of the title line, bold and at the editor's size.
void noteAfterTitle(QTextEdit *ed, int titleSize, const QString &note) {
    QTextCursor t(ed->document()->firstBlock());
    t.movePosition(QTextCursor::EndOfBlock);
    t.insertText(QStringLiteral("\t\t") + note);
    const int open = titleSize + 3;
    t.setPosition(open);
    t.setPosition(open + 50, QTextCursor::KeepAnchor);
    QTextCharFormat format;
    QFont f = ed->font();
    f.setBold(true);
    format.setFont(f);
    format.setForeground(Qt::black);
    t.mergeCharFormat(format);
}

void DiaryPage::showDay(int day) {
    QTextEdit *ed = m_editor;
    const QString dd = twoDigits(day);
    ed->clear();
    m_day = day;
    emit dayShown(day);

    const MonthResult &month = m_model.figures();
    PageWriter page(ed->document(), ed->font());
    const QString title = QString(16, u' ') + QStringLiteral("Glykovalin-Tagebuch");
    page.add(title, {}, 4);
    page.add(QString(10, u' ') + dd + u' ' + month.tableDate + u' ' + month.tableUser, {}, 7);
    page.add(QString(98, u'_'));
    page.add(QString());

    const QString values = dayValues(day);
    const QString stored = m_model.diary().pageLineOfDay(day);
    m_noValues = false;
    if (!stored.isEmpty()) {
        writeStoredPage(page, stored, values);
        page.finish();
        noteAfterTitle(ed, int(title.size()), kStoredNote);
    } else if (!values.isEmpty()) {
        writeNewPage(page, values);
    } else {
        m_noValues = true;
        page.add(u' ' + kNoValues + u' ');
        page.add(QString());
    }
    page.finish();
    ed->verticalScrollBar()->setValue(0);
    QTextCursor caret(ed->document());
    caret.setPosition(std::max(0, ed->document()->characterCount() - 2));
    ed->setTextCursor(caret);
    ed->verticalScrollBar()->setValue(0);
    updateEntries();
}

// A stored page. Each section ends with the opening of the next line (a tab
// and a blank): it goes back in front of that line, so storing the page
// again gives the same bytes.
void DiaryPage::writeStoredPage(PageWriter &page, const QString &stored, const QString &values) {
    const DiaryBook::Sections sec = DiaryBook::splitSections(stored);
    const auto [carb, carbOpening] = splitOpening(sec.carb);
    const auto [insulin, insulinOpening] = splitOpening(sec.insulin);
    page.add(u' ' + diarybook::FormatiereTagebuchstr(values, m_model.mode(), m_model.unit()),
             measurementTabs());
    page.add(QString(), measurementTabs());
    page.add(sec.head + carb, kColumnTabs);
    page.add(QString(), kColumnTabs);
    page.add(carbOpening + insulin, withFirst(kColumnTabs, 25));
    page.add(QString(), withFirst(kColumnTabs, 25));
    page.add(insulinOpening + sec.remark, withFirst(kColumnTabs, 25));
}

// A day with readings and no stored page: the empty page of the chosen units.
void DiaryPage::writeNewPage(PageWriter &page, const QString &values) {
    const MeasureMode mode = m_model.mode();
    const bool be = m_model.options().carbUnitBE;
    const bool ct = m_model.options().therapyCT;
    page.add(u' ' + diarybook::FormatiereTagebuchstr(values, mode, m_model.unit()),
             measurementTabs());
    page.add(QString(), measurementTabs());
    page.add(carbTemplate(be, mode), kColumnTabs);
    page.add(QString(), kColumnTabs);
    page.add(insulinTemplate(ct, mode), withFirst(kColumnTabs, 25));
    page.add(QString(), withFirst(kColumnTabs, 29));
    page.add(QStringLiteral("\t Bemerkung: "), withFirst(kColumnTabs, 29));
}

bool DiaryPage::store(DiaryBook::StoreFrom from) {
    // Always the editor's current text, so a second store never repeats an
    // older line.
    const QString marked = DiaryBook::GibMarkierteTagebuchseite(pageLines());
    if (!m_model.diary().canStore(marked) &&
        !m_ui.askYesNo(win1252::lossQuestion(QStringLiteral("Die Tagebuchseite"), marked)))
        return false;
    QString error;
    if (!m_model.storePage(m_day, marked, from, &error)) {
        m_ui.showWarning(error);
        return false;
    }
    // The stored page stays on screen as plain text.
    m_editor->setPlainText(m_editor->toPlainText());
    return true;
}

bool DiaryPage::askAndStore(DiaryBook::StoreFrom from) {
    if (!m_ui.askYesNo(kStoreQuestion)) {
        setChanged(false);
        return false;
    }
    // Only a verified write makes the page count as stored.
    if (!store(from)) return false;
    setChanged(false);
    return true;
}

bool DiaryPage::closeDiary() {
    if (!m_changed) {
        m_editor->clear();
        return true;
    }
    if (askAndStore(DiaryBook::StoreFrom::Close) || !m_changed) return true;
    if (m_ui.askYesNo(QStringLiteral("Die Tagebuchseite wurde nicht gespeichert. Möchten Sie das "
                                     "Programm trotzdem beenden? Die Änderungen gehen dann "
                                     "verloren."))) {
        setChanged(false);
        return true;
    }
    return false;
}

bool DiaryPage::leavePage() {
    if (!m_changed) return true;
    if (askAndStore(DiaryBook::StoreFrom::Delete) || !m_changed) return true;
    if (m_ui.askYesNo(QStringLiteral("Die Tagebuchseite wurde nicht gespeichert. Möchten Sie "
                                     "trotzdem fortfahren? Die Änderungen gehen dann verloren."))) {
        setChanged(false);
        return true;
    }
    return false;
}

void DiaryPage::DatenaktuellerTagebucheintraglschen1Click() {
    if (m_changed) {
        if (!m_ui.askYesNo(kStoreQuestion)) return;
        if (!store(DiaryBook::StoreFrom::Delete)) return;
        setChanged(false);
    }
    if (DiaryBook::dayKey(m_day).isEmpty()) return;
    if (!m_ui.askYesNo(QStringLiteral("Möchten Sie wirklich die Tagebuch-Daten von Tag ") +
                       twoDigits(m_day) + QStringLiteral(" löschen ?")))
        return;
    QString error;
    if (!m_model.deletePage(m_day, &error)) m_ui.showWarning(error);
    showDay(m_day);
}

int DiaryPage::caretLine() const {
    return m_editor->textCursor().block().blockNumber();
}

bool DiaryPage::eventFilter(QObject *watched, QEvent *e) {
    if (watched == m_editor && e->type() == QEvent::KeyPress)
        return keyPress(static_cast<QKeyEvent *>(e));
    if (watched == m_editor && e->type() == QEvent::KeyRelease)
        keyRelease(static_cast<QKeyEvent *>(e));
    // Compared by address only: during the editor's destruction its viewport
    // may still send events after the editor part is gone.
    if (e->type() == QEvent::MouseButtonRelease && watched == m_viewport) mouseUp();
    return false;
}

bool DiaryPage::keyPress(QKeyEvent *e) {
    const bool was = m_changed;
    const bool consumed = keyPressRules(e);
    // A changed page can go into the diary book even before a page is stored.
    if (m_changed != was) updateEntries();
    return consumed;
}

bool DiaryPage::keyPressRules(QKeyEvent *e) {
    const int key = e->key();
    // The page has a fixed line structure: no line is added or split.
    if (key == Qt::Key_Return || key == Qt::Key_Enter) return true;
    // Tab and Shift+Tab move between the cells; a typed tab would shift the
    // column separators.
    if (key == Qt::Key_Tab || key == Qt::Key_Backtab) {
        if (!m_noValues) moveToCell(key == Qt::Key_Tab && !(e->modifiers() & Qt::ShiftModifier));
        return true;
    }
    if (caretLine() <= 4) return true;
    const Qt::KeyboardModifiers mods = e->modifiers() & ~Qt::KeypadModifier;
    const bool ctrl = mods == Qt::ControlModifier;
    if (ctrl && (key == Qt::Key_Right || key == Qt::Key_Left) && m_model.options().diaryVisible) {
        emit scrollRequested(key == Qt::Key_Right ? 1 : -1);
        return true;
    }
    if (ctrl && (key == Qt::Key_V || key == Qt::Key_X)) m_changed = true;
    if ((key == Qt::Key_Backspace || key == Qt::Key_Delete) && !m_noValues) m_changed = true;
    if (key == Qt::Key_Backspace) {
        // Column keeping: widen the cell before the next "|" so the
        // separator stays where it was.
        QTextCursor c = m_editor->textCursor();
        const int caret = c.position();
        const QString text = m_editor->document()->toPlainText();
        for (int k = 1; k <= 30; ++k) {
            const int at = caret + k - 1;
            if (at >= text.size()) break;
            if (text.at(at) != u'|') continue;
            const int pos = caret + k - 3;
            if (pos >= 0 && caret > 0) {
                const bool blank = text.at(caret - 1) == u' ';
                QTextCursor r(m_editor->document());
                r.setPosition(pos);
                r.setPosition(pos + 1, QTextCursor::KeepAnchor);
                r.insertText(QString(blank ? 2 : 3, u' '));
                c.setPosition(caret);
                m_editor->setTextCursor(c);
            }
            break;
        }
    }
    const QString t = e->text();
    if (t.size() == 1 && !ctrl) {
        const QChar ch = t.at(0);
        const ushort u = ch.unicode();
        static const QString extra = QStringLiteral("´ÄÖÜßäöü");
        if (ch == u' ')
            m_changed = true;
        else if (((u >= 33 && u <= 93) || (u >= 95 && u <= 126) || extra.contains(ch)) &&
                 !m_noValues)
            m_changed = true;
    }
    return false;
}

void DiaryPage::keyRelease(QKeyEvent *e) {
    if (e->key() < Qt::Key_0 || e->key() > Qt::Key_9) return;
    if (e->modifiers() & Qt::KeypadModifier) return;
    if (caretLine() != 6) return;
    daySum();
}

QList<int> DiaryPage::cellPositions() const {
    QList<int> cells;
    const QTextDocument *doc = m_editor->document();
    for (int line : {6, 8}) {
        const QTextBlock b = doc->findBlockByNumber(line);
        const QString t = b.text();
        for (qsizetype eq = t.indexOf(u'='); eq >= 0; eq = t.indexOf(u'=', eq + 1))
            cells << b.position() + int(eq) + (eq + 1 < t.size() && t.at(eq + 1) == u' ' ? 2 : 1);
    }
    const QTextBlock remark = doc->findBlockByNumber(10);
    if (remark.isValid()) cells << remark.position() + remark.length() - 1;
    return cells;
}

void DiaryPage::moveToCell(bool forward) {
    const QList<int> cells = cellPositions();
    if (cells.isEmpty()) return;
    const int at = m_editor->textCursor().position();
    int target = forward ? cells.first() : cells.last();
    if (forward) {
        for (int c : cells)
            if (c > at) {
                target = c;
                break;
            }
    } else {
        // The cell before the one that holds the caret.
        int current = -1;
        for (int c : cells)
            if (c <= at) current = c;
        for (auto it = cells.crbegin(); it != cells.crend(); ++it)
            if (*it < current) {
                target = *it;
                break;
            }
    }
    QTextCursor c = m_editor->textCursor();
    c.setPosition(target);
    m_editor->setTextCursor(c);
}

bool DiaryPage::storeBeforeBook() {
    if (!m_changed || !m_ui.askYesNo(kStoreQuestion)) return true;
    if (!store(DiaryBook::StoreFrom::Delete)) return false;
    setChanged(false);
    return true;
}

void DiaryPage::mouseUp() {
    QTextCursor c = m_editor->textCursor();
    const QString text = m_editor->document()->toPlainText();
    if (c.position() < text.size() && text.at(c.position()) == u'|' && c.position() > 0) {
        c.setPosition(c.position() - 1);
        m_editor->setTextCursor(c);
    }
}

void DiaryPage::daySum() {
    QTextDocument *doc = m_editor->document();
    if (doc->blockCount() <= 10) return;
    const daysums::LineSum sum = daysums::sumOf(doc->findBlockByNumber(6).text());
    if (!sum.readable()) {
        m_ui.showMessage(
            QStringLiteral("'%1' ist kein gültiger Gleitkommawert").arg(sum.unreadableCell));
        return;
    }
    const QString &label = sum.label;
    QString remark = doc->findBlockByNumber(10).text();
    const qsizetype bem = remark.indexOf(QStringLiteral("Bemerkung:"));
    if (bem < 0) return;
    if (remark.contains(QStringLiteral("•")) && remark.contains(QStringLiteral("Tagessumme="))) {
        const qsizetype start = remark.indexOf(label + QStringLiteral("-Tagessumme= "));
        const qsizetype count = remark.indexOf(QStringLiteral("•")) - bem - 6;
        if (start >= 0 && count > 0) remark.remove(start, count);
    }
    const QString block =
        label + QStringLiteral("-Tagessumme= ") + sum.text() + QStringLiteral("\t•    ");
    remark.insert(std::min<qsizetype>(bem + 11, remark.size()), block);

    QTextCursor c = m_editor->textCursor();
    const int caret = c.position();
    QTextCursor r(doc->findBlockByNumber(10));
    r.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
    r.insertText(remark);
    c.setPosition(caret);
    m_editor->setTextCursor(c);
}
