#pragma once
#include <QString>
#include <QStringList>
#include <chrono>

// Leftovers of interrupted saves. A save writes a temporary file named like
// the target followed by "." and six letters and renames it over the target;
// a save cut off at the wrong moment leaves that file behind.
namespace strayfiles {

// Whether a file name is such a leftover of a file this program writes: the
// settings file "glykoval.ini" or a name ending in ".tab", ".txt", ".pdf",
// ".htm", ".html", ".png", ".csv" or ".js", followed by "." and exactly six
// letters; or "qt_temp." and six letters, the temporary file of a copy.
bool isLeftover(const QString &fileName);

// Removes the leftovers in the base folder and in the data and browser folders
// and their year folders (one level down); nothing else is touched, symbolic
// links are not followed, and files younger than minAge are kept (a save of
// another copy of the program may be under way). Returns the removed paths.
QStringList removeLeftovers(const QString &baseFolder, const QString &dataFolder,
                            const QString &browserFolder,
                            std::chrono::seconds minAge = std::chrono::seconds(60));

// Removes the leftovers of interrupted saves of one file anywhere: the
// target's name followed by "." and six letters of mixed case (not a word
// such as "backup" or "Kopien"), older than minAge. Returns the removed
// paths.
QStringList removeLeftoversOf(const QString &target,
                              std::chrono::seconds minAge = std::chrono::seconds(60));

} // namespace strayfiles
