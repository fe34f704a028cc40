#include "readonlydlg.h"

#include <QFrame>
#include <QGuiApplication>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>

TreadonlyDlg::TreadonlyDlg(QWidget *parent) : QDialog(parent) {
    setObjectName(QStringLiteral("readonlyDlg"));
    setWindowTitle(QStringLiteral("Dateiattribut Info"));
    setFixedSize(445, 245);
    auto *bevel = new QFrame(this);
    bevel->setObjectName(QStringLiteral("Bevel1"));
    bevel->setFrameShape(QFrame::Box);
    bevel->setFrameShadow(QFrame::Sunken);
    bevel->setGeometry(8, 8, 429, 190);
    m_memo = new QPlainTextEdit(this);
    m_memo->setObjectName(QStringLiteral("Memo1"));
    m_memo->setReadOnly(true);
    m_memo->setGeometry(16, 16, 413, 174);
    QFont f(QStringLiteral("MS Sans Serif"));
    f.setPixelSize(11);
    f.setBold(true);
    m_memo->setFont(f);
    QPalette pal = m_memo->palette();
    pal.setColor(QPalette::Text, Qt::black);
    m_memo->setPalette(pal);
    auto *ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("OKBtn"));
    ok->setGeometry(185, 208, 75, 25);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
}

QStringList TreadonlyDlg::noticeLines() {
    return {
        QStringLiteral("Das Programm GLYKOVALIN muß in der Datei \"GLYKOVAL.INI\" Änderungen "
                       "vornehmen."),
        QStringLiteral("Aber diese Datei ist schreibgeschützt!"),
        QStringLiteral("Wenn Sie das Programm auf einer CD-ROM ausführen, dann beenden Sie es und "
                       "kopieren alle Dateien die zu \"GLYKOVAL.EXE\" gehören auf Diskette oder "
                       "auf Ihre Festplatte in ein leeres Verzeichnis."),
        QStringLiteral("Danach müssen Sie das Read only Attribut (schreibgeschützt) der Datei "
                       "\"GLYKOVAL.INI\" entfernen. Dies machen Sie entweder im Windows Explorer "
                       "mit: Datei | Eigenschaften "),
        QStringLiteral("oder mit: "),
        QStringLiteral("Start | Ausführen | attrib \"Laufwerk:\\Pfad der Datei\\GLYKOVAL.INI\" -r "
                       "+a"),
    };
}

void TreadonlyDlg::FormPaint() {
    m_memo->setPlainText(noticeLines().join(u'\n'));
    // The notice is read from its first line.
    m_memo->moveCursor(QTextCursor::Start);
    m_memo->verticalScrollBar()->setValue(0);
}

void TreadonlyDlg::showEvent(QShowEvent *e) {
    FormPaint();
    if (const QScreen *s = QGuiApplication::primaryScreen())
        move(s->availableGeometry().center() - rect().center());
    QDialog::showEvent(e);
}
