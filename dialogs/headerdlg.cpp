#include "headerdlg.h"

#include <QPlainTextEdit>
#include <QPushButton>

#include "platform/textfile.h"
#include "platform/ui.h"

THeaderBearbeitenDlg::THeaderBearbeitenDlg(QWidget *parent) : QDialog(parent) {
    setObjectName(QStringLiteral("HeaderBearbeitenDlg"));
    setWindowTitle(QStringLiteral("Header bearbeiten"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint);
    setFixedSize(471, 379);
    Memo1 = new QPlainTextEdit(this);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setGeometry(15, 15, 441, 289);
    Memo1->setLineWrapMode(QPlainTextEdit::NoWrap);
    Memo1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    OKBtn = new QPushButton(QStringLiteral("&Speichern"), this);
    OKBtn->setObjectName(QStringLiteral("OKBtn"));
    OKBtn->setDefault(true);
    OKBtn->setGeometry(130, 325, 100, 30);
    CancelBtn = new QPushButton(QStringLiteral("Abbrechen"), this);
    CancelBtn->setObjectName(QStringLiteral("CancelBtn"));
    CancelBtn->setAutoDefault(false);
    CancelBtn->setGeometry(242, 325, 100, 30);
    connect(OKBtn, &QPushButton::clicked, this, [this] { OKBtnClick(); });
    connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
}

void THeaderBearbeitenDlg::loadFile() {
    QStringList lines;
    if (textfile::readLines(headerFileName, lines))
        Memo1->setPlainText(lines.join(u'\n'));
    else
        Memo1->clear();
}

void THeaderBearbeitenDlg::OKBtnClick() {
    QStringList lines = Memo1->toPlainText().split(u'\n');
    if (!lines.isEmpty() && lines.last().isEmpty()) lines.removeLast();
    if (!textfile::writeLines(headerFileName, lines))
        ui::showWarning(QStringLiteral("Die Datei \"") + headerFileName +
                        QStringLiteral("\" konnte nicht gespeichert werden!"));
    accept();
}
