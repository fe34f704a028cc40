#pragma once
#include <QObject>
#include <QString>

#include "storage/diarybook.h"
#include "storage/entryline.h"

class QAction;
class QScrollBar;
class QTextEdit;
class QWidget;
class MonthSession;
class OptionControls;
namespace ui {
class Services;
}

// The main window's parts the diary page works with.
struct DiaryPageControls {
    QTextEdit *editor = nullptr;       // RichEdit1
    QWidget *arrow = nullptr;          // Pfeilimage
    QAction *deleteEntry = nullptr;    // DatenaktuellerTagebucheintraglschen1
    QAction *printEntry = nullptr;     // AllegespeichertenTagebuchseitendrucken1
    QScrollBar *hscroll = nullptr;     // the window's horizontal scroll bar
    QWidget *window = nullptr;         // the main window (its width)
    OptionControls *options = nullptr; // unit, therapy and diary check of the settings dialog
};

// The page of the selected day in the diary editor: day selection from a
// click, page layout, editing rules, day sums, storing and deleting. The
// pages are kept in the session's DiaryBook.
class DiaryPage : public QObject {
    Q_OBJECT
public:
    DiaryPage(const DiaryPageControls &c, MonthSession &session, ui::Services &ui,
              QObject *parent = nullptr);

    // Top of the day marker: above the graph's frame, pointing down at the
    // day's column, so it covers neither day numbers nor readings.
    static constexpr int kArrowTop = 42;
    static QString carbTemplate(bool be, MeasureMode mode);
    static QString insulinTemplate(bool ct, MeasureMode mode);
    // The 14 tab stops of the measurement line, in points.
    static const QList<int> &measurementTabs();

    // A click on the graph at client x (any button).
    void FormMouseDown(int clientX);
    // The day's entry lines for "01".."31", else empty.
    QString GibTagebuchWerte(const QString &dd) const;
    void showDay(int day);
    // Re-selects the last clicked day.
    void MacheinenKlickAufGrafik();
    // The close question. False when the changed page could not be stored
    // and the user keeps the program open for it.
    bool closeDiary();
    // Before another month is attached: a changed page is offered for storing
    // in the diary of the month it belongs to. False when it stays unsaved
    // and the user wants to keep it on screen.
    bool leavePage();
    void setOptions(OptionControls *options) { m_c.options = options; }
    // Another month's diary is in the book: the editor is emptied.
    void monthChanged();
    // Day order for the diary book; the file is not written.
    void sortBook();
    // Before the diary book is made: a changed page is offered for storing
    // (No leaves it changed on screen). False when storing it failed.
    bool storeBeforeBook();
    void DatenaktuellerTagebucheintraglschen1Click();
    // Line of the caret.
    int caretLine() const;
    bool noValuesPageShown() const { return m_noValues; }

    // The shown page was changed and not stored yet.
    bool diaryChanged() const { return m_changed; }
    // Day of the page in the editor; 0 before the first click.
    int currentDay() const { return m_day; }
    // The next re-select request only clears this (a redraw that keeps the page).
    void skipNextReselect() { m_skipReselect = true; }
    // Client x of the last clicked day and the scroll position at that click.
    int lastClickPosition() const { return m_lastClickX; }
    int lastScrollPosition() const { return m_lastScroll; }
    void setLastPositions(int clickX, int scroll) {
        m_lastClickX = clickX;
        m_lastScroll = scroll;
    }

signals:
    // The window's layout is to follow (after Ctrl+Left/Right scrolled it).
    void layoutRequested();

protected:
    bool eventFilter(QObject *watched, QEvent *e) override;

private:
    class PageWriter;
    void writeStoredPage(PageWriter &page, const QString &stored, const QString &values);
    void writeNewPage(PageWriter &page, const QString &values);
    bool keyPress(class QKeyEvent *e);
    bool keyPressRules(QKeyEvent *e);
    void keyRelease(QKeyEvent *e);
    void mouseUp();
    void daySum();
    bool store(DiaryBook::StoreFrom from);
    // Asks whether to store a changed page; false when it was not stored.
    bool askAndStore(DiaryBook::StoreFrom from);
    void updateDeleteEntry();
    // Caret positions of the page's cells: behind each "=" of the
    // carbohydrate and insulin lines, and the end of the remark line.
    QList<int> cellPositions() const;
    void moveToCell(bool forward);
    QStringList editorLines() const;

    DiaryBook &book();

    DiaryPageControls m_c;
    MonthSession &m_session;
    ui::Services &m_ui;
    bool m_noValues = false;
    bool m_changed = false;
    int m_day = 0;
    bool m_skipReselect = false;
    int m_lastClickX = 64;
    int m_lastScroll = 0;
    QObject *m_viewport = nullptr;
};
