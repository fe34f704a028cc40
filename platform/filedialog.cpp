#include "filedialog.h"

#include <QEvent>
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

void germanFileList(QFileDialog *dialog) {
    if (qobject_cast<GermanFileList *>(dialog->proxyModel())) return;
    dialog->setProxyModel(new GermanFileList(dialog));
    // A desktop's native dialog has no list of its own to show it.
    if (!dialog->proxyModel()) return;
    // Room for all four columns with their German texts.
    dialog->resize(std::max(dialog->width(), 800), dialog->height());
    // The size and type columns as wide as their German texts in the folder
    // shown ("749 Bytes", "Einfaches Textdokument"), once the folder is read.
    auto *view = dialog->findChild<QTreeView *>(QStringLiteral("treeView"));
    auto *files = qobject_cast<QFileSystemModel *>(dialog->proxyModel()->sourceModel());
    if (view && files)
        QObject::connect(files, &QFileSystemModel::directoryLoaded, view, [view] {
            view->resizeColumnToContents(kSizeColumn);
            view->resizeColumnToContents(kTypeColumn);
        });
}

bool GermanFileDialogs::eventFilter(QObject *watched, QEvent *event) {
    // On showing: a dialog is fully made by then, and not yet on screen.
    if (event->type() == QEvent::Show)
        if (auto *dialog = qobject_cast<QFileDialog *>(watched)) germanFileList(dialog);
    return false;
}

std::unique_ptr<QFileDialog> makeFileDialog(QWidget *parent, const QString &caption,
                                            const QString &folder, const QString &filter,
                                            QFileDialog::AcceptMode mode) {
    auto dlg = std::make_unique<QFileDialog>(parent, caption, folder, filter);
    dlg->setOption(QFileDialog::DontUseNativeDialog);
    dlg->setAcceptMode(mode);
    dlg->setFileMode(mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile
                                                     : QFileDialog::AnyFile);
    germanFileList(dlg.get());
    return dlg;
}
