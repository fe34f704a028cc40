#pragma once

// The display options the user chooses in the settings window (diary shown,
// units, therapy, values above the curve, line at zero): the main window sets
// them on its first paint and reads them back when it closes; the diary page
// reads them. An interface without widgets, so every layer can take it.
class OptionControls {
public:
    virtual ~OptionControls() = default;
    virtual bool diaryVisible() const = 0;
    virtual void setDiaryVisible(bool on) = 0;
    virtual bool carbUnitBE() const = 0;
    virtual void setCarbUnitBE(bool on) = 0;
    virtual bool therapyCT() const = 0;
    virtual void setTherapyCT(bool on) = 0;
    virtual bool valuesAboveCurve() const = 0;
    virtual void setValuesAboveCurve(bool on) = 0;
    virtual bool breakLineAtZero() const = 0;
    virtual void setBreakLineAtZero(bool on) = 0;
    // Font colour of the sample text of the value labels.
    virtual void setValueColor(unsigned colorRef) = 0;
};

// Plain holder used until a settings window takes over.
class SimpleOptionControls : public OptionControls {
public:
    bool diaryVisible() const override { return m_diary; }
    void setDiaryVisible(bool on) override { m_diary = on; }
    bool carbUnitBE() const override { return m_be; }
    void setCarbUnitBE(bool on) override { m_be = on; }
    bool therapyCT() const override { return m_ct; }
    void setTherapyCT(bool on) override { m_ct = on; }
    bool valuesAboveCurve() const override { return m_above; }
    void setValuesAboveCurve(bool on) override { m_above = on; }
    bool breakLineAtZero() const override { return m_break; }
    void setBreakLineAtZero(bool on) override { m_break = on; }
    void setValueColor(unsigned colorRef) override { m_color = colorRef; }
    unsigned valueColor() const { return m_color; }

private:
    bool m_diary = false, m_be = false, m_ct = false, m_above = false, m_break = false;
    unsigned m_color = 0;
};
