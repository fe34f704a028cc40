#pragma once
#include <QDialog>
#include <QMap>

#include "storage/entryline.h"
#include "storage/glucoseunit.h"

class EntryListModel;
class MonthModel;
class QLabel;
class QLineEdit;
class QListView;
class QPushButton;
class QToolButton;
class SpinEdit;
namespace ui {
class Services;
}

// The window in which the readings of a month are typed, corrected and
// saved. Its readings live in an EntryListModel shown by the list view
// "ListBox1", the one copy of what the user typed until it is saved. Other
// windows reach it only through the intent methods below; its controls
// (named Label1..Label4, ListBox1, BitBtn1..BitBtn5, OKBtn, Edit1,
// SpinButton1 with SpinButton1Up/Down, SpinEdit1..SpinEdit4) are its own.
class TEingabeDlg : public QDialog {
    Q_OBJECT
public:
    // Restores slot and fields from the reading last saved ("LetzteEingabe").
    TEingabeDlg(MonthModel &model, ui::Services &ui, QWidget *parent = nullptr);
    ~TEingabeDlg() override;

    // "bearbeiten": the model's current month in the list and the fields,
    // then the dialog, modally. False, and nothing shown, when the user
    // keeps readings of the list that are not saved yet.
    bool editMonth();
    // The model's current month in the list and the fields without showing
    // the dialog (the month opened "und Tabelle anzeigen"); false as above.
    bool takeMonth();
    // "neu erstellen": an empty list for today's month, shown without
    // blocking the main window; false as above.
    bool startNewMonth();
    // The month as the model read it, unless the list holds readings that
    // are not saved yet (follows MonthModel::monthChanged).
    void showMonth();
    // The measure mode changed: caption and the slot's remembered time.
    void showMode();
    // The unit changed: the value field takes and shows the model's unit
    // (a value typed in it is converted) and so does the list.
    void showUnit();
    // Puts the remembered time of the current slot (for the model's measure
    // mode) into the time field; empty when none is remembered.
    void LiesUhrzeitenEin();

    // The table text of the list (without remarks).
    QString tableText() const;
    // Readings added, changed or deleted that are not saved yet.
    bool hasUnsavedChanges() const;

signals:
    // The month was written to this table file.
    void monthSaved(const QString &tablePath);
    // "&Grafik zeigen" saved the month; the dialog has closed.
    void closedAfterGraph();
    // "&Tabelle zeigen" saved the month; the table window is to show it.
    void tableRequested(const QString &tableText);

protected:
    void showEvent(QShowEvent *e) override;
    bool eventFilter(QObject *o, QEvent *e) override;
    // Escape and closing the window: unsaved readings are only dropped after
    // a question.
    void reject() override;

private:
    // What the fields showed when the dialog was shown; a discarded list
    // brings them back, so nothing of a thrown-away reading stays.
    struct Fields {
        MeasurementSlot slot = MeasurementSlot::Morgens;
        QString day, month, year, time, value, lastEntryLine;
    };

    void buildListAndSlot();
    void buildFields();
    void buildButtons();
    void layOut();
    void connectControls();
    void FormCreate();
    // "Eingabe der Glykovalinmesswerte - Bis zu 4 (8) Messungen je Tag".
    void showCaption();

    void BitBtn1Click();
    void BitBtn2Click();
    void BitBtn3Click();
    // "Eintrag &löschen": removes the selected reading after a question.
    void BitBtn5Click();
    void OKBtnClick();
    void BitBtn4Click();
    void SpinEdit1Change();
    void SpinEdit2Change();
    void stepTime(bool up);
    void MarkierEintragInListe();
    // Saves the list as the month table; false when nothing was written
    // (the reason was shown).
    bool GrafikZeigen();

    void setCurrentSlot(MeasurementSlot s);
    Fields fieldsShown() const;
    // The fields shown, with what a line holds put in (a missing marker
    // leaves its field as it is).
    Fields fieldsOf(const QString &line) const;
    void showFields(const Fields &f);
    void fillFromModel();
    void showToday();
    // Caption, range and decimals of the value field for m_unit.
    void applyUnitToValueField();
    // Before the list is refilled: unsaved readings are dropped only after
    // the question; false when the user keeps them.
    bool dropUnsaved();
    bool refuseEmptyList();
    // The year field differs from the year of the list's last reading.
    bool yearMismatch() const;
    // Checks the fields of a new reading; false after a message.
    bool checkFields();
    // The row selected in the list; -1 when none.
    int selectedRow() const;
    void selectRow(int row);
    // Month and year of the list: of its readings, else of the fields.
    QString listMonth() const;
    QString listYear() const;
    // Under the table lock: what the file holds beyond the readings the list
    // was filled with is taken into the list, and the user is told. False
    // when the file cannot be read.
    bool takeReadingsSavedMeanwhile(const QString &tablePath);

    MonthModel &m_model;
    ui::Services &m_ui;
    EntryListModel *m_entries;

    QLabel *m_title;           // Label4
    QLabel *m_today;           // Label3
    QLabel *m_dateCaption;     // Label2
    QLabel *m_valueCaption;    // Label1
    QListView *m_list;         // ListBox1
    QPushButton *m_slotButton; // BitBtn3
    QLineEdit *m_time;         // Edit1
    QWidget *m_timeButtons;    // SpinButton1
    QToolButton *m_timeUp, *m_timeDown;
    SpinEdit *m_day, *m_month, *m_year, *m_value;                // SpinEdit1..SpinEdit4
    QPushButton *m_addButton, *m_correctButton, *m_deleteButton; // BitBtn1, BitBtn2, BitBtn5
    QPushButton *m_graphButton, *m_tableButton;                  // OKBtn, BitBtn4

    MeasurementSlot m_slot = MeasurementSlot::Morgens;
    // The reading last added; stored as "LetzteEingabe" when it is saved.
    QString m_lastEntryLine;
    // Month and year of the list's readings ("EntryMonth", "EntryYear").
    QString m_entryMonth, m_entryYear;
    Fields m_shownWith;
    // The unit the value field and the list show.
    GlucoseUnit m_unit;
    bool m_inMonthChange = false;
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

// The fields of a new reading as typed; the value in `unit`.
struct ReadingFields {
    QString day, month, year, time, value;
    GlucoseUnit unit = GlucoseUnit::MgDl;
};
// Which field keeps the reading from being taken, and why.
enum class BadField { None, Day, Month, Year, Time, Value };
struct FieldProblem {
    BadField field = BadField::None;
    QString message; // German, for a warning box
};
// A day that the month has (an empty field or "00" is none), a month 1..12,
// a four-digit year, a time as validTime() takes it and a value 0..500 mg/dl
// (0,0..27,8 mmol/l).
FieldProblem checkReading(const ReadingFields &f);
// The mg/dl a value field's text stands for in its unit; false when it is no
// value of 0..500 mg/dl (0,0..27,8 mmol/l, stored as at most 500).
bool storedValue(const QString &text, GlucoseUnit unit, int &mgdl);
// A stored value text as the value field shows it in the unit; a text that
// is no whole number stays as it is.
QString fieldValue(const QString &stored, GlucoseUnit unit);
} // namespace entrydlg
