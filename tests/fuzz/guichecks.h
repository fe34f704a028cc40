#pragma once

// What the windows and documents make of the input a core reader just read
// (in its scratch folder): the drawing pass, the diary page and book, the
// browser chart and the table text. Each must take any input without a
// crash and keep the promises named in the checks.
namespace guichecks {

void afterMonthTable();
void afterDiaryFile();
void afterSettingsFile();

} // namespace guichecks
