#pragma once
#include <QDialog>
#include <QSpinBox>
#include <functional>

#include "storage/entryline.h"

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QToolButton;

// Spin field whose text shows at least `digits` digits ("03").
class SpinEdit : public QSpinBox {
    Q_OBJECT
public:
    SpinEdit(int digits, QWidget *parent) : QSpinBox(parent), m_digits(digits) {}
    QString fieldText() const { return text(); }
    void setFieldText(const QString &t);

protected:
    QString textFromValue(int value) const override;

private:
    int m_digits;
};

// The window in which the readings of a month are typed, corrected and saved.
class TEingabeDlg : public QDialog {
    Q_OBJECT
public:
    explicit TEingabeDlg(QWidget *parent = nullptr);

    // Connections to the main window, set by the wiring.
    struct Callbacks {
        // Loads the stored default time of the current slot into Edit1.
        std::function<void()> liesUhrzeitenEin;
        // Draws a month table (the drawing pass).
        std::function<void(const QString &)> drawMonth;
        // After "&Grafik zeigen" saved: title text into the graph, FormResize.
        std::function<void()> afterGraph;
        // Lays out the main window's graph and diary after "&Grafik zeigen".
        std::function<void()> layoutMainWindow;
        // Re-selects the last clicked day (after the name dialog's OK).
        std::function<void()> reselectDay;
        // Shows the table window non-modally with a table text.
        std::function<void(const QString &)> showTableWindow;
        // Runs the dialog modally; tests replace it by a plain show().
        std::function<void(TEingabeDlg *)> runModal;
    } callbacks;

    // Reads "LetzteEingabe" and restores slot and fields (once per run).
    void FormCreate();
    // Caption, two-digit day and month, a pending table view.
    void FormPaint();

    void BitBtn1Click();
    void BitBtn2Click();
    void BitBtn3Click();
    void SpinEdit1Change();
    void SpinEdit2Change();
    void SpinEdit3Change();
    void SpinButton1UpClick();
    void SpinButton1DownClick();
    void MarkierEintragInListe();

    // Saves the list as the month table and redraws the graph.
    void GrafikZeigen();
    void OKBtnClick();
    void BitBtn4Click();
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

    // The controls.
    QLabel *Label1, *Label2, *Label3, *Label4;
    QListWidget *ListBox1;
    QPushButton *BitBtn1, *BitBtn2, *BitBtn3, *BitBtn4, *OKBtn;
    QLineEdit *Edit1;
    QWidget *SpinButton1;
    QToolButton *SpinButton1Up, *SpinButton1Down;
    SpinEdit *SpinEdit1, *SpinEdit2, *SpinEdit3, *SpinEdit4;

protected:
    void paintEvent(QPaintEvent *e) override;
    bool eventFilter(QObject *o, QEvent *e) override;

private:
    entryline::Fields fieldsShown() const;
    void stepTime(bool up);
    // The warning before a new month replaces a file with other readings;
    // false when the user says No.
    bool confirmReplaceFile();
    bool refuseEmptyList();
    void finishAfterEntry();

    MeasurementSlot m_slot = MeasurementSlot::Morgens;
    QString m_lastEntryLine;
    bool m_yearMismatch = false;
    bool m_inMonthChange = false;
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
} // namespace entrydlg
