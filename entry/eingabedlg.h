#pragma once
#include <QDialog>
#include <QMap>
#include <QSpinBox>

#include "storage/entryline.h"

class MonthModel;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QToolButton;
namespace ui {
class Services;
}

// Spin field whose text shows at least `digits` digits ("03").
class SpinEdit : public QSpinBox {
    Q_OBJECT
public:
    SpinEdit(int digits, QWidget *parent) : QSpinBox(parent), m_digits(digits) {}
    QString fieldText() const { return text(); }
    void setFieldText(const QString &t);
    // The arrows step within lo..hi while a typed number may lie outside it
    // (up to the field's maximum), so it can be refused with a message
    // instead of being cut.
    void setStepRange(int lo, int hi);
    void stepBy(int steps) override;

protected:
    QString textFromValue(int value) const override;

private:
    int m_digits;
    int m_stepLow = 0, m_stepHigh = -1;
};

// The window in which the readings of a month are typed, corrected and saved.
class TEingabeDlg : public QDialog {
    Q_OBJECT
public:
    TEingabeDlg(MonthModel &session, ui::Services &ui, QWidget *parent = nullptr);

    // Puts the remembered time of the current slot (for the session's
    // measure mode) into the time field; empty when none is remembered.
    void LiesUhrzeitenEin();
    // The next showing opens the table of the month at once (the month just
    // opened "und Tabelle anzeigen").
    void openTableOnShow(bool on = true) { m_tableOnShow = on; }

    // Reads "LetzteEingabe" and restores slot and fields (once per run).
    void FormCreate();
    // Caption, two-digit day and month, a pending table view.
    void FormPaint();

    void BitBtn1Click();
    void BitBtn2Click();
    void BitBtn3Click();
    // "Eintrag &löschen": removes the selected reading after a question.
    void BitBtn5Click();
    void SpinEdit1Change();
    void SpinEdit2Change();
    void SpinEdit3Change();
    void SpinButton1UpClick();
    void SpinButton1DownClick();
    void MarkierEintragInListe();

    // Saves the list as the month table and redraws the graph; false when
    // nothing was written (the reason was shown).
    bool GrafikZeigen();
    void OKBtnClick();
    void BitBtn4Click();
    // The month just opened as a table: drawn and shown, not saved.
    void showStoredTable();
    // The table text of the list (without remarks).
    QString tableText() const;

    // Entry list access for the month readers.
    QStringList entries() const;
    void setEntries(const QStringList &lines);
    void clearEntries();
    void appendEntry(const QString &line);

    MeasurementSlot currentSlot() const { return m_slot; }
    void setCurrentSlot(MeasurementSlot s);
    QString currentSlotPrefix() const { return slotinfo::prefix(m_slot); }
    QString lastEntryLine() const { return m_lastEntryLine; }
    bool yearMismatch() const { return m_yearMismatch; }
    void clearYearMismatch() { m_yearMismatch = false; }

    void showNonModal();
    void showModally();

signals:
    // A month table is to be drawn: the one just saved, or the stored one
    // opened as a table.
    void drawRequested(const QString &tablePath);
    // "&Grafik zeigen" saved and drew the month; the dialog closes.
    void closedAfterGraph();
    // "&Tabelle zeigen": the table window is to show this table text.
    void tableRequested(const QString &tableText);

public:
    // The controls.
    QLabel *Label1, *Label2, *Label3, *Label4;
    QListWidget *ListBox1;
    QPushButton *BitBtn1, *BitBtn2, *BitBtn3, *BitBtn4, *BitBtn5, *OKBtn;
    QLineEdit *Edit1;
    QWidget *SpinButton1;
    QToolButton *SpinButton1Up, *SpinButton1Down;
    SpinEdit *SpinEdit1, *SpinEdit2, *SpinEdit3, *SpinEdit4;

    // Whether readings were added, changed or deleted since the dialog was
    // shown or the month was saved.
    bool hasUnsavedChanges() const { return m_changed; }

protected:
    void paintEvent(QPaintEvent *e) override;
    bool eventFilter(QObject *o, QEvent *e) override;
    // Escape and closing the window: unsaved readings are only dropped after
    // a question.
    void reject() override;

private:
    void buildListAndSlot();
    void buildFields();
    void buildButtons();
    void layOut();
    void connectControls();
    entryline::Fields fieldsShown() const;
    void stepTime(bool up);
    // The warning before a save replaces a file that holds readings the list
    // no longer has (and that the user did not delete here); false on No.
    bool confirmDroppedReadings();
    bool refuseEmptyList();
    // Checks value and time of a new reading; false after a message.
    bool checkFields();
    // Remembers the list as shown, so unsaved changes can be dropped.
    void startEditing();
    // Marks the reading of slot and date in the list when the day is
    // complete; `fromField` keeps the focus in the field being typed in.
    void markWhenComplete(const QString &dayText);

    MonthModel &m_model;
    ui::Services &m_ui;
    bool m_tableOnShow = false;
    MeasurementSlot m_slot = MeasurementSlot::Morgens;
    QString m_lastEntryLine;
    bool m_yearMismatch = false;
    bool m_inMonthChange = false;
    bool m_changed = false;
    QStringList m_shownWith; // the list when the dialog was shown
    QStringList m_deleted;   // readings the user deleted here since then
    // Time of each slot the user added a reading for; stored as that slot's
    // remembered time when the month is saved.
    QMap<MeasurementSlot, QString> m_slotTimes;
};

namespace entrydlg {
// Days of a month; the year is taken by its last two digits, widened to 1950..2049.
int daysInMonth(int month, const QString &year);
// The slot that follows a restored one (creation from "LetzteEingabe").
MeasurementSlot slotAfterRestore(MeasurementSlot stored, MeasureMode mode);
// The slot button's cycle; four-slot mode keeps a slot 4..7.
MeasurementSlot slotButtonNext(MeasurementSlot s, MeasureMode mode);
// The time buttons' rule on "hh:mm"; throws EConvertError for a non-number.
QString stepTimeText(const QString &time, bool up);
// A time as the list takes it: two-digit hours 00..24, ":", two-digit
// minutes 00..59 (24 only with 00).
bool validTime(const QString &time);
} // namespace entrydlg
