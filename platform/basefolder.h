#pragma once
#include <QString>
#include <QStringList>

// The base folder the program works in (its current directory): a folder the
// user started it in that holds glykoval.ini, otherwise the per-user folder
// ~/Glykovalin, which gets the delivered files on its first start. The
// installation itself is never written to.
namespace ui {
class Services;
}

namespace basefolder {

// The files the installation delivers into a new base folder, relative to it.
const QStringList &deliveredFiles();
// The per-user base folder in the given home folder.
QString userFolder(const QString &home);
// The share folder of an installed program in programFolder
// (<prefix>/bin gives <prefix>/share/glykovalin); empty when there is none.
QString installedDataFolder(const QString &programFolder);
// Where the delivered files come from: the installation's share folder, else
// the program's own folder when it holds them (a build or a copied program);
// empty when neither does.
QString deliveredFolder(const QString &programFolder);
// The base folder for a start in `current`: `current` itself when it holds
// glykoval.ini and is not the installation's share folder `installed`,
// otherwise the per-user folder in `home`.
QString choose(const QString &current, const QString &installed, const QString &home);
// Creates `folder` with its parents when missing (false when that fails) and
// copies every delivered file it lacks from `delivered`, never overwriting;
// the files that could not be copied are added to notCopied.
bool prepare(const QString &folder, const QString &delivered, QStringList &notCopied);
// For the program's start: chooses the base folder, prepares it when it is the
// per-user folder and makes it the current directory. Tells the user in a
// message what failed; false when the program has to end.
bool enter(ui::Services &ui);

} // namespace basefolder
