#include "tagebuchspeichernform.h"

#include <QFileInfo>
#include <QKeyEvent>
#include <QMenuBar>
#include <QScrollBar>
#include <QTextDocument>
#include <QTextEdit>
#include <QTimer>
#include <QVBoxLayout>
#include <memory>

#include "diarybook_pdf.h"
#include "export/machpdf.h"
#include "platform/picturebox.h"
#include "platform/ui.h"

TTagebuchSpeichernForm::TTagebuchSpeichernForm(QWidget *parent) : QDialog(parent) {
    setObjectName(QStringLiteral("TagebuchSpeichernForm"));
    setWindowTitle(QStringLiteral("Tagebuch als PDF speichern / drucken"));
    resize(875, 612);

    auto *box = new QVBoxLayout(this);
    box->setContentsMargins(0, 0, 0, 0);
    auto *bar = new QMenuBar(this);
    bar->setObjectName(QStringLiteral("MainMenu1"));
    QMenu *datei = bar->addMenu(QStringLiteral("Datei"));
    datei->setObjectName(QStringLiteral("Datei1"));
    QAction *save = datei->addAction(QStringLiteral("Speichern als PDF-Datei"));
    save->setObjectName(QStringLiteral("SpeichernalsPDFDatei1"));
    datei->addSeparator();
    QAction *quit = datei->addAction(QStringLiteral("Beenden"));
    quit->setObjectName(QStringLiteral("Beenden1"));
    QAction *print = bar->addAction(QStringLiteral("Drucken"));
    print->setObjectName(QStringLiteral("Drucken1"));
    connect(save, &QAction::triggered, this, [this] { SpeichernalsPDFDatei1Click(); });
    connect(quit, &QAction::triggered, this, [this] { Beenden1Click(); });
    connect(print, &QAction::triggered, this, [this] { Drucken1Click(); });
    box->setMenuBar(bar);

    RichEdit1 = new QTextEdit(this);
    RichEdit1->setObjectName(QStringLiteral("RichEdit1"));
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(13);
    font.setBold(true);
    RichEdit1->setFont(font);
    RichEdit1->setLineWrapMode(QTextEdit::NoWrap);
    RichEdit1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    RichEdit1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    RichEdit1->installEventFilter(this);
    box->addWidget(RichEdit1);

    Image1 = new PictureBox(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->hide();
    Image2 = new PictureBox(this);
    Image2->setObjectName(QStringLiteral("Image2"));
    Image2->hide();
}

bool TTagebuchSpeichernForm::eventFilter(QObject *watched, QEvent *e) {
    // The book text takes no Return.
    if (watched == RichEdit1 && e->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(e)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) return true;
    }
    return QDialog::eventFilter(watched, e);
}

void TTagebuchSpeichernForm::requestCompose(const DiaryBookInput &input) {
    m_input = input;
    ComposeOnNextPaint = true;
}

void TTagebuchSpeichernForm::paintEvent(QPaintEvent *e) {
    QDialog::paintEvent(e);
    // The composing and the file dialog run after the paint, not inside it.
    if (ComposeOnNextPaint && !m_paintQueued) {
        m_paintQueued = true;
        QTimer::singleShot(0, this, [this] {
            m_paintQueued = false;
            FormPaint();
        });
    }
}

diarybook::ComposeResult TTagebuchSpeichernForm::composeNow() {
    const diarybook::Layout &L = diarybook::layout(m_input.mode);
    move(L.windowLeft, y());
    resize(L.windowWidth, height());
    const diarybook::ComposeResult r = diarybook::composeBook(RichEdit1->document(), m_input);
    RichEdit1->verticalScrollBar()->setValue(0);
    RichEdit1->horizontalScrollBar()->setValue(0);
    return r;
}

void TTagebuchSpeichernForm::FormPaint() {
    if (!ComposeOnNextPaint) return;
    ComposeOnNextPaint = false;
    composeNow();
    Drucken1Click();
}

void TTagebuchSpeichernForm::Drucken1Click() {
    OpenAfterSaving = true;
    SpeichernalsPDFDatei1Click();
}

QString TTagebuchSpeichernForm::defaultFileName() const {
    return m_input.dataFolder + m_input.entryYear + QStringLiteral("/Glykovalin-Tagebuch ") +
           m_input.tableDateText + QStringLiteral(" von ") + m_input.tableUserText +
           QStringLiteral(".pdf");
}

bool TTagebuchSpeichernForm::SpeichernalsPDFDatei1Click() {
    QString file =
        ui::services().saveFileName(this, QStringLiteral("PDF-Erstellung"), defaultFileName(),
                                    QStringLiteral("Acrobat Format (*.pdf)"));
    if (file.isEmpty()) {
        // Cancelled: the book stays in the window; a later save does not open.
        OpenAfterSaving = false;
        return false;
    }
    if (QFileInfo(file).suffix().isEmpty()) file += QStringLiteral(".pdf");

    const MeasureMode mode = m_input.mode;
    const QImage book = diarybook::renderBook(*RichEdit1->document(), mode);
    Image1->setPicture(book);
    lastBookHeight = book.height();

    // The wait notice replaces the book while the file is made; the book is
    // kept so that a failed write leaves it in the window for another try.
    std::unique_ptr<QTextDocument> kept(RichEdit1->document()->clone());
    RichEdit1->clear();
    RichEdit1->setPlainText(QString(6, u'\n') + diarybook::layout(mode).waitText);
    if (pause) pause(5);

    try {
        lastPageCount = diarybook::writeBookPdf(file, book, mode, pause);
    } catch (const EPDFError &e) {
        RichEdit1->setDocument(kept.release());
        RichEdit1->document()->setParent(RichEdit1);
        Image1->setPicture(QImage());
        OpenAfterSaving = false;
        ui::showWarning(e.message());
        return false;
    }
    lastFileName = file;
    if (OpenAfterSaving) ui::services().shellOpen(file);
    OpenAfterSaving = false;
    Image1->setPicture(QImage());
    Image2->setPicture(QImage());
    RichEdit1->clear();
    if (isVisible())
        accept();
    else
        setResult(QDialog::Accepted);
    return true;
}

void TTagebuchSpeichernForm::Beenden1Click() {
    if (isVisible())
        reject();
    else
        setResult(QDialog::Rejected);
}
