#include "filedialog.h"

#include <QFileSystemModel>
#include <QTreeView>
#include <algorithm>

#include "german.h"

namespace {

// The columns of QFileSystemModel.
constexpr int kSizeColumn = 1;
constexpr int kTypeColumn = 2;
constexpr int kDateColumn = 3;

} // namespace

QVariant GermanFileList::data(const QModelIndex &index, int role) const {
    const auto *files = qobject_cast<const QFileSystemModel *>(sourceModel());
    if (role != Qt::DisplayRole || !files || !index.isValid())
        return QIdentityProxyModel::data(index, role);
    const QModelIndex source = mapToSource(index);
    if (index.column() == kSizeColumn && !files->isDir(source))
        return german::locale().formattedDataSize(files->size(source));
    if (index.column() == kDateColumn)
        return german::locale().toString(files->lastModified(source), QLocale::ShortFormat);
    return QIdentityProxyModel::data(index, role);
}

std::unique_ptr<QFileDialog> makeFileDialog(QWidget *parent, const QString &caption,
                                            const QString &folder, const QString &filter,
                                            QFileDialog::AcceptMode mode) {
    auto dlg = std::make_unique<QFileDialog>(parent, caption, folder, filter);
    dlg->setOption(QFileDialog::DontUseNativeDialog);
    dlg->setAcceptMode(mode);
    dlg->setFileMode(mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile
                                                     : QFileDialog::AnyFile);
    dlg->setProxyModel(new GermanFileList(dlg.get()));
    // The type column as wide as the German type names of the folder shown
    // ("Verzeichnis", "Einfaches Textdokument"), once the folder is read.
    auto *view = dlg->findChild<QTreeView *>(QStringLiteral("treeView"));
    auto *files = qobject_cast<QFileSystemModel *>(dlg->proxyModel()->sourceModel());
    // Room for all four columns with those names.
    dlg->resize(std::max(dlg->width(), 760), dlg->height());
    if (view && files)
        QObject::connect(files, &QFileSystemModel::directoryLoaded, view,
                         [view] { view->resizeColumnToContents(kTypeColumn); });
    return dlg;
}
