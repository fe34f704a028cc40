#include "spinedit.h"

#include <QLineEdit>
#include <QStyle>
#include <QStyleOptionSpinBox>
#include <algorithm>

#include "storage/glucoseunit.h"

SpinEdit::SpinEdit(int digits, int maxDigits, QWidget *parent)
    : QAbstractSpinBox(parent), m_digits(digits), m_maxDigits(maxDigits) {
    setKeyboardTracking(false);
    lineEdit()->setMaxLength(maxDigits);
    connect(lineEdit(), &QLineEdit::textChanged, this, &SpinEdit::textChanged);
    connect(this, &QAbstractSpinBox::editingFinished, this, &SpinEdit::showDigits);
}

void SpinEdit::setRange(int low, int high) {
    m_low = low;
    m_high = high;
}

void SpinEdit::setOneDecimal(bool on) {
    m_oneDecimal = on;
    lineEdit()->setMaxLength(on ? m_maxDigits + 2 : m_maxDigits);
    updateGeometry();
}

int SpinEdit::value(bool *ok) const {
    const QString t = fieldText();
    if (m_oneDecimal) {
        qint64 tenths = 0;
        const bool number = glucoseunit::parseMmol(t, tenths);
        if (ok) *ok = number;
        return number ? int(tenths) : 0;
    }
    bool digits = !t.isEmpty();
    for (QChar c : t)
        digits = digits && c >= u'0' && c <= u'9';
    if (ok) *ok = digits;
    return digits ? t.toInt() : 0;
}

QString SpinEdit::format(int value) const {
    if (m_oneDecimal) return glucoseunit::tenthsText(value);
    return QStringLiteral("%1").arg(value, m_digits, 10, QLatin1Char('0'));
}

void SpinEdit::setValue(int value) {
    lineEdit()->setText(format(value));
}

void SpinEdit::setFieldText(const QString &text) {
    if (m_oneDecimal) {
        qint64 tenths = 0;
        if (glucoseunit::parseMmol(text, tenths)) setValue(int(tenths));
        return;
    }
    bool ok = false;
    const int v = text.trimmed().toInt(&ok);
    if (ok && v >= 0) setValue(v);
}

void SpinEdit::showDigits() {
    bool ok = false;
    const int v = value(&ok);
    if (ok && format(v) != text()) setValue(v);
}

void SpinEdit::stepBy(int steps) {
    bool ok = false;
    const int v = value(&ok);
    // An empty field starts at the end the arrow points away from.
    setValue(ok ? std::clamp(v + steps, m_low, m_high) : (steps > 0 ? m_low : m_high));
    selectAll();
}

QAbstractSpinBox::StepEnabled SpinEdit::stepEnabled() const {
    if (isReadOnly()) return StepNone;
    bool ok = false;
    const int v = value(&ok);
    StepEnabled e = StepNone;
    if (!ok || v < m_high) e |= StepUpEnabled;
    if (!ok || v > m_low) e |= StepDownEnabled;
    return e;
}

QValidator::State SpinEdit::validate(QString &input, int &) const {
    if (m_oneDecimal) {
        // Whole digits, then at most a comma or point and one digit.
        qsizetype point = -1;
        for (qsizetype i = 0; i < input.size(); ++i) {
            const QChar c = input.at(i);
            if ((c == u',' || c == u'.') && point < 0 && i > 0)
                point = i;
            else if (c < u'0' || c > u'9')
                return QValidator::Invalid;
        }
        const qsizetype whole = point < 0 ? input.size() : point;
        const bool fits = whole <= m_maxDigits && (point < 0 || input.size() - point <= 2);
        return fits ? QValidator::Acceptable : QValidator::Invalid;
    }
    if (input.size() > m_maxDigits) return QValidator::Invalid;
    for (QChar c : input)
        if (c < u'0' || c > u'9') return QValidator::Invalid;
    return QValidator::Acceptable;
}

QSize SpinEdit::sizeHint() const {
    ensurePolished();
    const int w =
        fontMetrics().horizontalAdvance(QString(m_maxDigits + (m_oneDecimal ? 3 : 1), u'8')) + 2;
    QStyleOptionSpinBox opt;
    initStyleOption(&opt);
    return style()->sizeFromContents(QStyle::CT_SpinBox, &opt,
                                     QSize(w, lineEdit()->sizeHint().height()), this);
}
