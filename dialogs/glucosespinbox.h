#pragma once
#include <QSpinBox>

#include "storage/glucoseunit.h"

// A spin field whose value is whole mg/dl, shown and typed in the chosen
// unit: in mmol/l with one decimal ("10,0", typed "10.0" or "10,0" as well),
// the arrows then stepping by 0,1 mmol/l. The value keeps its mg/dl when the
// unit changes.
class GlucoseSpinBox : public QSpinBox {
public:
    explicit GlucoseSpinBox(QWidget *parent = nullptr);

    void setUnit(GlucoseUnit unit);
    GlucoseUnit unit() const { return m_unit; }

    void stepBy(int steps) override;

protected:
    QString textFromValue(int mgdl) const override;
    int valueFromText(const QString &text) const override;
    QValidator::State validate(QString &input, int &pos) const override;

private:
    GlucoseUnit m_unit = GlucoseUnit::MgDl;
};
