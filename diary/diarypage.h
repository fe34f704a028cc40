#pragma once
#include <QObject>
#include <QString>
#include <functional>

#include "storage/diarybook.h"
#include "storage/entryline.h"

class QAction;
class QPlainTextEdit;
class QTextEdit;
class QWidget;
class OptionControls;

// The main window's parts the diary page works with.
struct DiaryPageControls {
    QTextEdit *editor = nullptr;                // RichEdit1
    QWidget *arrow = nullptr;                   // Pfeilimage
    QAction *deleteEntry = nullptr;             // DatenaktuellerTagebucheintraglschen1
    QAction *printEntry = nullptr;              // AllegespeichertenTagebuchseitendrucken1
    std::function<int()> scrollPosition;        // the window's horizontal scroll position
    std::function<void(int)> setScrollPosition; // Ctrl+Left/Right
    std::function<int()> windowWidth;
    std::function<OptionControls *()> options; // settings dialog controls
    std::function<void()> resize;              // the window's resize handling
};

// The page of the selected day in the diary editor: day selection from a
// click, page layout, editing rules, day sums, storing and deleting.
class DiaryPage : public QObject {
public:
    explicit DiaryPage(const DiaryPageControls &c, QObject *parent = nullptr);

    // Top of the day marker: above the graph's frame, pointing down at the
    // day's column, so it covers neither day numbers nor readings.
    static constexpr int kArrowTop = 42;
    static QString carbTemplate(bool be, MeasureMode mode);
    static QString insulinTemplate(bool ct, MeasureMode mode);
    // The measurement line of a day's entry lines (with their slot tags).
    static QString FormatiereTagebuchstr(const QString &dayText, MeasureMode mode);
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
    // The diary of a month table becomes the book; the editor is emptied. A
    // table without ".tab" in its name, or without a diary file, gives an
    // empty book.
    void attachBook(const QString &tablePath);
    // Day order for the diary book; the file is not written.
    void sortBook();
    // Before the diary book is made: a changed page is offered for storing
    // (No leaves it changed on screen). False when storing it failed.
    bool storeBeforeBook();
    void DatenaktuellerTagebucheintraglschen1Click();
    // Line of the caret.
    int caretLine() const;
    bool noValuesPageShown() const { return m_noValues; }
    DiaryBook &book() { return m_book; }

protected:
    bool eventFilter(QObject *watched, QEvent *e) override;

private:
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

    DiaryPageControls m_c;
    DiaryBook m_book;
    bool m_noValues = false;
    QObject *m_viewport = nullptr;
};
