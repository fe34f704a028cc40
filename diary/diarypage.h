#pragma once
#include <QWidget>

#include "storage/diarybook.h"
#include "storage/entryline.h"

class PageWriter;

class MonthModel;
class QTextEdit;
namespace ui {
class Services;
}

// The page of the selected day below the graph: day selection from a click,
// page layout, editing rules, day sums, storing and deleting. It shows the
// month model's current month and keeps the selected day across redraws and
// month changes; a page the user changed stays on screen until it is stored
// or given up.
class DiaryPage : public QWidget {
    Q_OBJECT
public:
    DiaryPage(MonthModel &model, ui::Services &ui, QWidget *parent = nullptr);

    static QString carbTemplate(bool be, MeasureMode mode);
    static QString insulinTemplate(bool ct, MeasureMode mode);
    // The 14 tab stops of the measurement line, in points.
    static const QList<qreal> &measurementTabs();

    // A click on the graph at client x, with the graph scrolled to `scroll`.
    void FormMouseDown(int clientX, int scroll);
    // The day of the last click and the scroll position then, as stored for
    // the next start; the day under them is selected.
    void restorePositions(int clickX, int scroll);
    int lastClickPosition() const { return m_lastClickX; }
    int lastScrollPosition() const { return m_lastScroll; }

    // Shows the day's page (1..31).
    void showDay(int day);
    // Day of the page shown; 0 before the first click.
    int currentDay() const { return m_day; }
    // The shown page was changed and not stored yet.
    bool diaryChanged() const { return m_changed; }
    bool noValuesPageShown() const { return m_noValues; }
    // The page's lines as shown.
    QStringList pageLines() const;

    // The month model's current month was read again: the selected day's page
    // is shown anew, unless the user changed it.
    void monthChanged();
    // Another month is current: its page of the selected day follows.
    void tableChanged();

    // The close question. False when the changed page could not be stored
    // and the user keeps the program open for it.
    bool closeDiary();
    // Before another month is made current: a changed page is offered for
    // storing in the diary of the month it belongs to. False when it stays
    // unsaved and the user wants to keep it on screen.
    bool leavePage();
    // Before the diary book is made: a changed page is offered for storing
    // (No leaves it changed on screen). False when storing it failed.
    bool storeBeforeBook();
    // "Daten der aktuellen Tagebuchseite löschen".
    void DatenaktuellerTagebucheintraglschen1Click();

signals:
    // A day's page is shown (the graph marks the day).
    void dayShown(int day);
    // Ctrl+Right / Ctrl+Left in the editor: the graph scrolls by days.
    void scrollRequested(int days);
    // Whether the shown page can be deleted, and whether there is something
    // for the diary book (a stored page, or the changed page).
    void deleteAllowed(bool allowed);
    void bookAvailable(bool available);

protected:
    bool eventFilter(QObject *watched, QEvent *e) override;

private:
    QString dayValues(int day) const;
    void writeStoredPage(PageWriter &page, const QString &stored, const QString &values);
    void writeNewPage(PageWriter &page, const QString &values);
    bool keyPress(class QKeyEvent *e);
    bool keyPressRules(QKeyEvent *e);
    void keyRelease(QKeyEvent *e);
    void mouseUp();
    void daySum();
    void setChanged(bool changed);
    bool store(DiaryBook::StoreFrom from);
    // Asks whether to store a changed page; false when it was not stored.
    bool askAndStore(DiaryBook::StoreFrom from);
    void updateEntries();
    int caretLine() const;
    // Caret positions of the page's cells: behind each "=" of the
    // carbohydrate and insulin lines, and the end of the remark line.
    QList<int> cellPositions() const;
    void moveToCell(bool forward);
    void clearPage();

    MonthModel &m_model;
    ui::Services &m_ui;
    QTextEdit *m_editor;
    QObject *m_viewport = nullptr;
    bool m_noValues = false;
    bool m_changed = false;
    int m_day = 0;
    int m_lastClickX = 64;
    int m_lastScroll = 0;
};
