#pragma once
#include <QFileDialog>
#include <QIdentityProxyModel>
#include <memory>

// The file list of a file dialog with sizes and dates in German form. The
// dialog's own model writes them in the form of the system's locale.
class GermanFileList : public QIdentityProxyModel {
public:
    using QIdentityProxyModel::QIdentityProxyModel;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
};

// The program's file dialog (Qt's own, German, with GermanFileList): for
// opening an existing file, or for saving. `folder` may end in the file
// name to offer.
std::unique_ptr<QFileDialog> makeFileDialog(QWidget *parent, const QString &caption,
                                            const QString &folder, const QString &filter,
                                            QFileDialog::AcceptMode mode);
