#pragma once
#include <QFileDialog>
#include <QIdentityProxyModel>
#include <memory>

// The file list of a file dialog with sizes and dates in German form. The
// dialog's own model writes them in the form of the system's locale.
class GermanFileList : public QIdentityProxyModel {
    Q_OBJECT
public:
    using QIdentityProxyModel::QIdentityProxyModel;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
};

// Gives a file dialog the German file list and columns that fit it; one
// that has it already is left as it is.
void germanFileList(QFileDialog *dialog);

// Gives every file dialog of the application, Qt's own ones too (the print
// dialog's output file), the German file list as it is first shown.
class GermanFileDialogs : public QObject {
public:
    using QObject::QObject;
    bool eventFilter(QObject *watched, QEvent *event) override;
};

// The program's file dialog (Qt's own, German, with GermanFileList): for
// opening an existing file, or for saving. `folder` may end in the file
// name to offer.
std::unique_ptr<QFileDialog> makeFileDialog(QWidget *parent, const QString &caption,
                                            const QString &folder, const QString &filter,
                                            QFileDialog::AcceptMode mode);
