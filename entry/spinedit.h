#pragma once
#include <QAbstractSpinBox>

// A number field with arrows whose text is what the user typed. Unlike a
// QSpinBox it never puts the last number back on its own: an emptied field
// stays empty and a typed "00" stays "00", so that the reading they belong to
// can be refused with a message instead of being stored with another number.
// The arrows step within a range; a whole number shows at least `digits`
// digits once typing ends ("3" becomes "03"). With one decimal the field
// takes a number like "5,6" or "5.6" and shows it with a comma.
class SpinEdit : public QAbstractSpinBox {
    Q_OBJECT
public:
    // Up to `maxDigits` digits can be typed.
    SpinEdit(int digits, int maxDigits, QWidget *parent = nullptr);

    // The arrows step within low..high.
    void setRange(int low, int high);
    // The field takes at most one decimal after a comma or a point; value,
    // range and steps are then in tenths ("5,6" is 56).
    void setOneDecimal(bool on);
    bool oneDecimal() const { return m_oneDecimal; }
    // The number shown; *ok false (and 0) when the field holds none.
    int value(bool *ok = nullptr) const;
    void setValue(int value);
    // The text as shown, without blanks around it.
    QString fieldText() const { return text().trimmed(); }
    // Shows a number given as text; any other text leaves the field as it is.
    void setFieldText(const QString &text);

    void stepBy(int steps) override;
    QValidator::State validate(QString &input, int &pos) const override;
    void fixup(QString &) const override {}
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

signals:
    void textChanged(const QString &text);

protected:
    StepEnabled stepEnabled() const override;

private:
    QString format(int value) const;
    // "3" becomes "03" when typing ends.
    void showDigits();

    int m_digits, m_maxDigits;
    int m_low = 0, m_high = 0;
    bool m_oneDecimal = false;
};
