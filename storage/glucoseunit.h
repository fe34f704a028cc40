#pragma once
#include <QString>

// The unit in which the program shows and asks for glucose values. What is
// stored never changes: month tables hold whole mg/dl, the limits stay in
// mg/dl, and every range and verdict is decided on mg/dl. mmol/l is
// mg/dl ÷ 18.016, shown with one decimal and a decimal comma, rounded half
// away from zero; a value typed in mmol/l is stored as round(x × 18.016).
enum class GlucoseUnit { MgDl, MmolL };

namespace glucoseunit {

// 18.016 mg/dl per mmol/l, in thousandths, so that every conversion is exact.
constexpr qint64 kMgdlPerMmolMilli = 18016;
// The highest value typed in mmol/l: 27,8, which shows 500 mg/dl, the top of
// the scale.
constexpr int kMaxMmolTenths = 278;

// "mg/dl" or "mmol/l": the unit as texts name it and as "Einheit" stores it.
QString unitText(GlucoseUnit unit);
// The unit a stored "Einheit" names: "mmol/l" (any case, blanks around it);
// anything else, also a missing key, is mg/dl.
GlucoseUnit fromSetting(const QString &text);

// mg/dl (also a difference of them) in tenths of mmol/l.
qint64 mmolTenths(qint64 mgdl);
// Tenths of mg/dl (a figure with one decimal) in tenths of mmol/l.
qint64 mmolTenthsOfTenths(qint64 mgdlTenths);
// The mean of `count` values whose sum is `sum` mg/dl, in tenths of mmol/l.
qint64 mmolTenthsOfMean(qint64 sum, qint64 count);
// mg/dl of a value in tenths of mmol/l: round(x × 18.016).
qint64 mgdlOfTenths(qint64 tenths);
// What a value typed in mmol/l is stored as: mgdlOfTenths, at most 500 mg/dl
// (27,8 mmol/l would give 501).
int storedMgdl(qint64 tenths);

// "5,6", "-0,3": tenths with a decimal comma.
QString tenthsText(qint64 tenths);
// A whole mg/dl value as the unit shows it, without the unit: "101" or "5,6".
QString valueText(int mgdl, GlucoseUnit unit);
// The same with the unit: "101 mg/dl", "5,6 mmol/l".
QString withUnit(int mgdl, GlucoseUnit unit);

// A value typed in mmol/l: digits with at most one decimal after a comma or a
// point, blanks around it ("5,6", "5.6", "12", "7,"); false for anything
// else, and for more than 999,9.
bool parseMmol(const QString &text, qint64 &tenths);

} // namespace glucoseunit
