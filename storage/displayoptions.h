#pragma once

// The display options the user chooses in the settings dialog: diary shown,
// carbohydrate unit, insulin therapy, the browser chart's values above the
// curve and line break at zero, and the colour of those values. Restored from
// the settings file when the main window first paints, written back when it
// closes (diary, unit, therapy) or when they change (the chart options).
struct DisplayOptions {
    bool diaryVisible = false;
    bool carbUnitBE = false;
    bool therapyCT = false;
    bool valuesAboveCurve = false;
    bool breakLineAtZero = false;
    unsigned valueColor = 0; // colour reference of the values above the curve

    bool operator==(const DisplayOptions &) const = default;
};
