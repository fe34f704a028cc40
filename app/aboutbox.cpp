#include "aboutbox.h"

#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

TAboutBox::TAboutBox(QWidget *parent) : QDialog(parent) {
    setObjectName(QStringLiteral("AboutBox"));
    setWindowTitle(QStringLiteral("Info"));
    auto *lay = new QVBoxLayout(this);
    auto *name = new QLabel(QStringLiteral("Glykovalin 5.0"), this);
    name->setObjectName(QStringLiteral("ProductName"));
    QFont f = name->font();
    f.setBold(true);
    f.setPointSize(f.pointSize() + 4);
    name->setFont(f);
    auto *modes = new QLabel(QStringLiteral("Mit 4 oder 8 Eingabemöglichkeiten am Tag"), this);
    modes->setObjectName(QStringLiteral("Version"));
    auto *what = new QLabel(QStringLiteral("Das Programm zeigt und druckt die täglichen "
                                           "Blutzuckermesswerte als Grafik und als Tabelle."),
                            this);
    what->setObjectName(QStringLiteral("Comments"));
    what->setWordWrap(true);
    auto *ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("OKButton"));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    lay->addWidget(name);
    lay->addWidget(modes);
    lay->addWidget(what);
    lay->addWidget(ok, 0, Qt::AlignHCenter);
}
