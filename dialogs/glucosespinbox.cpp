#include "glucosespinbox.h"

#include <QLineEdit>
#include <algorithm>

GlucoseSpinBox::GlucoseSpinBox(QWidget *parent) : QSpinBox(parent) {}

void GlucoseSpinBox::setUnit(GlucoseUnit unit) {
    if (unit == m_unit) return;
    m_unit = unit;
    // The text follows; the value stays.
    lineEdit()->setText(textFromValue(value()));
    updateGeometry();
}

void GlucoseSpinBox::stepBy(int steps) {
    if (m_unit == GlucoseUnit::MgDl) {
        QSpinBox::stepBy(steps);
        return;
    }
    const qint64 tenths = glucoseunit::mmolTenths(value()) + steps;
    setValue(int(std::clamp<qint64>(glucoseunit::mgdlOfTenths(tenths), minimum(), maximum())));
    selectAll();
}

QString GlucoseSpinBox::textFromValue(int mgdl) const {
    return m_unit == GlucoseUnit::MmolL ? glucoseunit::valueText(mgdl, m_unit)
                                        : QSpinBox::textFromValue(mgdl);
}

int GlucoseSpinBox::valueFromText(const QString &text) const {
    if (m_unit == GlucoseUnit::MgDl) return QSpinBox::valueFromText(text);
    qint64 tenths = 0;
    return glucoseunit::parseMmol(text, tenths) ? int(glucoseunit::mgdlOfTenths(tenths)) : value();
}

QValidator::State GlucoseSpinBox::validate(QString &input, int &pos) const {
    if (m_unit == GlucoseUnit::MgDl) return QSpinBox::validate(input, pos);
    const QString t = input.trimmed();
    if (t.isEmpty()) return QValidator::Intermediate;
    qint64 tenths = 0;
    if (glucoseunit::parseMmol(t, tenths)) {
        const qint64 mgdl = glucoseunit::mgdlOfTenths(tenths);
        return mgdl >= minimum() && mgdl <= maximum() ? QValidator::Acceptable
                                                      : QValidator::Intermediate;
    }
    return QValidator::Invalid;
}
