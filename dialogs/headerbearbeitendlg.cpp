#include "headerbearbeitendlg.h"

#include <QFile>
#include <QFileInfo>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextDocument>

#include "platform/textfile.h"
#include "platform/ui.h"
#include "platform/win1252.h"

THeaderBearbeitenDlg::THeaderBearbeitenDlg(ui::Services &ui, QWidget *parent)
    : QDialog(parent), m_ui(ui) {
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

void THeaderBearbeitenDlg::editFile(const QString &fileName) {
    if (loadFile(fileName)) exec();
}

bool THeaderBearbeitenDlg::loadFile(const QString &fileName) {
    m_fileName = fileName;
    m_loadedBytes.clear();
    m_loadedText.clear();
    m_unreadable = false;
    QString text;
    if (QFileInfo::exists(m_fileName)) {
        QFile f(m_fileName);
        if (!f.open(QIODevice::ReadOnly) || !textfile::readText(m_fileName, text)) {
            m_unreadable = true;
            Memo1->clear();
            m_ui.showWarning(QStringLiteral("Die Datei \"%1\" kann nicht gelesen werden: %2")
                                 .arg(m_fileName, f.errorString()));
            return false;
        }
        m_loadedBytes = f.readAll();
    }
    // One line of the editor per line of the file; the line end after the
    // last line is implied, as saving adds it again.
    m_loadedText = textfile::splitLines(text).join(u'\n');
    Memo1->setPlainText(m_loadedText);
    return true;
}

QString THeaderBearbeitenDlg::editedText() const {
    QString text = Memo1->document()->toRawText();
    text.replace(QChar::ParagraphSeparator, u'\n');
    text.replace(QChar::LineSeparator, u'\n');
    return text;
}

void THeaderBearbeitenDlg::OKBtnClick() {
    if (m_unreadable) {
        m_ui.showWarning(QStringLiteral("Die Datei \"%1\" konnte nicht gelesen werden und wird "
                                        "deshalb nicht überschrieben.")
                             .arg(m_fileName));
        return;
    }
    const QString text = editedText();
    QByteArray bytes;
    if (text == m_loadedText) {
        bytes = m_loadedBytes; // unchanged: the file as it was
    } else {
        if (!win1252::encodable(text)) {
            m_ui.showWarning(QStringLiteral("Der Text enthält Zeichen, die in der Datei \"%1\" "
                                            "nicht gespeichert werden können. Bitte ersetzen Sie "
                                            "sie und speichern Sie erneut.")
                                 .arg(m_fileName));
            return;
        }
        if (!text.isEmpty())
            for (const QString &line : text.split(u'\n'))
                bytes += win1252::encode(line) + "\r\n";
    }
    QString error;
    if (!textfile::writeBytes(m_fileName, bytes, &error)) {
        m_ui.showWarning(QStringLiteral("Die Datei \"%1\" konnte nicht gespeichert werden: %2\n"
                                        "Der Text bleibt im Fenster, bis er gespeichert ist.")
                             .arg(m_fileName, error));
        return;
    }
    m_loadedBytes = bytes;
    m_loadedText = text;
    accept();
}
