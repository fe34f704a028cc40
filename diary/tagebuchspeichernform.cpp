#include "tagebuchspeichernform.h"

#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>
#include <QMenuBar>
#include <QRegularExpression>
#include <QScrollBar>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>
#include <QTimer>
#include <QVBoxLayout>
#include <memory>

#include "diarybook_pdf.h"
#include "platform/fonts.h"
#include "platform/machpause.h"
#include "platform/ui.h"

TTagebuchSpeichernForm::TTagebuchSpeichernForm(ui::Services &ui, QWidget *parent)
    : QDialog(parent), m_ui(ui) {
    setObjectName(QStringLiteral("TagebuchSpeichernForm"));
    setWindowTitle(QStringLiteral("Tagebuch als PDF speichern / drucken"));
    resize(875, 612);

    auto *box = new QVBoxLayout(this);
    box->setContentsMargins(0, 0, 0, 0);
    auto *bar = new QMenuBar(this);
    bar->setObjectName(QStringLiteral("MainMenu1"));
    QMenu *datei = bar->addMenu(QStringLiteral("Datei"));
    datei->setObjectName(QStringLiteral("Datei1"));
    QAction *saveAs = datei->addAction(QStringLiteral("Speichern als PDF-Datei"));
    saveAs->setObjectName(QStringLiteral("SpeichernalsPDFDatei1"));
    datei->addSeparator();
    QAction *quit = datei->addAction(QStringLiteral("Beenden"));
    quit->setObjectName(QStringLiteral("Beenden1"));
    QAction *print = bar->addAction(QStringLiteral("Drucken"));
    print->setObjectName(QStringLiteral("Drucken1"));
    connect(saveAs, &QAction::triggered, this, [this] { SpeichernalsPDFDatei1Click(); });
    connect(quit, &QAction::triggered, this, [this] { Beenden1Click(); });
    connect(print, &QAction::triggered, this, [this] { Drucken1Click(); });
    box->setMenuBar(bar);

    RichEdit1 = new QTextEdit(this);
    RichEdit1->setObjectName(QStringLiteral("RichEdit1"));
    RichEdit1->setFont(fonts::arialPixels(13, true));
    // The book as it will be printed: read-only, its lines wrapped at the
    // width of a page.
    RichEdit1->setReadOnly(true);
    RichEdit1->setLineWrapMode(QTextEdit::FixedPixelWidth);
    RichEdit1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    RichEdit1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    RichEdit1->installEventFilter(this);
    box->addWidget(RichEdit1);
}

bool TTagebuchSpeichernForm::eventFilter(QObject *watched, QEvent *e) {
    // The book text takes no Return.
    if (watched == RichEdit1 && e->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(e)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) return true;
    }
    return QDialog::eventFilter(watched, e);
}

void TTagebuchSpeichernForm::showBook(const DiaryBookInput &input) {
    compose(input);
    QTimer::singleShot(0, this, [this] { Drucken1Click(); });
    exec();
}

diarybook::ComposeResult TTagebuchSpeichernForm::compose(const DiaryBookInput &input) {
    m_input = input;
    const diarybook::Layout &L = diarybook::layout(m_input.mode);
    move(L.windowLeft, y());
    resize(L.windowWidth, height());
    RichEdit1->setLineWrapColumnOrWidth(diarybook::pageGeometry(m_input.mode).textWidth);
    // Composed apart from the editor and handed over whole: the editor lays
    // the book out once instead of after every line.
    auto *doc = new QTextDocument(RichEdit1);
    const diarybook::ComposeResult r = diarybook::composeBook(doc, m_input);
    RichEdit1->setDocument(doc);
    // The book is shown from its start.
    RichEdit1->moveCursor(QTextCursor::Start);
    RichEdit1->verticalScrollBar()->setValue(0);
    RichEdit1->horizontalScrollBar()->setValue(0);
    return r;
}

void TTagebuchSpeichernForm::Drucken1Click() {
    save(true);
}

void TTagebuchSpeichernForm::SpeichernalsPDFDatei1Click() {
    save(false);
}

QString TTagebuchSpeichernForm::defaultFileName() const {
    QString folder = m_input.dataFolder;
    if (!folder.isEmpty() && !folder.endsWith(u'/')) folder += u'/';
    static const QRegularExpression year(QStringLiteral("^\\d{4}$"));
    if (year.match(m_input.entryYear).hasMatch()) folder += m_input.entryYear + u'/';

    // Letters, digits and a few harmless marks stay; everything else (path
    // separators, ":", "*", "?", quotes, control characters) becomes "_".
    const QString raw = QStringLiteral("Glykovalin-Tagebuch ") + m_input.tableDateText +
                        QStringLiteral(" von ") + m_input.tableUserText;
    QString name;
    for (const QChar ch : raw) {
        const bool safe = ch.isLetterOrNumber() || QStringLiteral(" -_.,()+&").contains(ch);
        name += safe && ch.unicode() >= 0x20 ? ch : u'_';
    }
    while (name.contains(QStringLiteral("..")))
        name.replace(QStringLiteral(".."), QStringLiteral("."));
    name = name.simplified().left(150);
    while (name.endsWith(u'.') || name.endsWith(u' '))
        name.chop(1);
    return folder + name + QStringLiteral(".pdf");
}

bool TTagebuchSpeichernForm::save(bool openAfterSaving) {
    QString file = m_ui.saveFileName(this, QStringLiteral("PDF-Erstellung"), defaultFileName(),
                                     QStringLiteral("Acrobat Format (*.pdf)"));
    // Cancelled: the book stays in the window.
    if (file.isEmpty()) return false;
    if (QFileInfo(file).suffix().isEmpty()) file += QStringLiteral(".pdf");

    // The wait notice replaces the book while the file is made; the book is
    // set aside, not copied, so that a failed write brings it back for
    // another try.
    std::unique_ptr<QTextDocument> book(RichEdit1->document());
    book->setParent(nullptr);
    auto *wait = new QTextDocument(RichEdit1);
    wait->setDefaultFont(RichEdit1->font());
    wait->setPlainText(QString(6, u'\n') + diarybook::layout(m_input.mode).waitText);
    RichEdit1->setDocument(wait);
    const auto pauseFor = [this](int ms) {
        if (m_pause) m_pause->Pause(ms);
    };
    pauseFor(5);

    QString error;
    int pages = 0;
    if (!diarybook::writeDiaryBook(m_input, file, &error, &pages, pauseFor)) {
        book->setParent(RichEdit1);
        RichEdit1->setDocument(book.release()); // the wait notice goes
        m_ui.showWarning(error);
        return false;
    }
    m_lastPageCount = pages;
    m_lastFileName = file;
    if (openAfterSaving && !m_ui.shellOpen(file))
        m_ui.showWarning(QStringLiteral("Die PDF-Datei des Tagebuchs konnte nicht mit dem "
                                        "zugehörigen Programm geöffnet werden. Sie ist "
                                        "gespeichert unter:\n%1")
                             .arg(QDir::toNativeSeparators(file)));
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
