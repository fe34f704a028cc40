#include "mainform.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QKeySequence>
#include <QLabel>
#include <QMenuBar>
#include <QPainter>
#include <QPolygon>
#include <QScrollArea>
#include <QScrollBar>
#include <QShortcut>
#include <QSplitter>
#include <QTextEdit>
#include <QTimer>
#include <utility>

#include "aboutbox.h"
#include "dialogs/readonlydlg.h"
#include "diary/diarypage.h"
#include "graph/monthgraph.h"
#include "graph/templatepicture.h"
#include "platform/convert.h"
#include "platform/folders.h"
#include "platform/pause.h"
#include "platform/strayfiles.h"
#include "platform/ui.h"

TMainForm::TMainForm(MonthSession &session, ui::Services &ui, QWidget *parent)
    : QMainWindow(parent), m_session(session), m_ui(ui) {
    setObjectName(QStringLiteral("MainForm"));
    setWindowTitle(QStringLiteral("Glykovalinmesswerte - "));
    resize(793, 612);
    buildControls();
    buildMenu();
    buildGraph();
    buildDiaryPage();
    connectViewCommands();
}

TMainForm::~TMainForm() = default;

void TMainForm::buildControls() {
    // The graph scrolls in its own area; the diary page below it stays in
    // view whatever part of the month is shown.
    m_split = new QSplitter(Qt::Vertical, this);
    m_split->setObjectName(QStringLiteral("GraphDiarySplitter"));
    m_split->setChildrenCollapsible(false);
    setCentralWidget(m_split);
    formScroll = new QScrollArea(m_split);
    formScroll->setObjectName(QStringLiteral("FormScrollArea"));
    formScroll->setFrameShape(QFrame::NoFrame);
    formScroll->setWidgetResizable(false);
    formScroll->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    formScroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    formScroll->horizontalScrollBar()->setObjectName(QStringLiteral("HorzScrollBar"));
    connect(m_split, &QSplitter::splitterMoved, this, [this] {
        m_diaryHeightChosen = true;
        LayoutControls();
    });
    buildGraphArea();

    RichEdit1 = new QTextEdit(m_split);
    RichEdit1->setObjectName(QStringLiteral("RichEdit1"));
    QFont diaryFont(QStringLiteral("Arial"));
    diaryFont.setPixelSize(13);
    diaryFont.setBold(true);
    RichEdit1->setFont(diaryFont);
    RichEdit1->setLineWrapMode(QTextEdit::NoWrap);
    // Hidden while the page fits, as a rich edit hides its scroll bars.
    RichEdit1->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    RichEdit1->setAcceptRichText(true);
    RichEdit1->setMinimumHeight(120);
    m_split->setStretchFactor(0, 0);
    m_split->setStretchFactor(1, 1);

    MachPause1 = new TMachPause(this);
    MachPause1->setObjectName(QStringLiteral("MachPause1"));
    MachPause1->setInterval(1000);
    TimerEieruhr = new QTimer(this);
    TimerEieruhr->setObjectName(QStringLiteral("TimerEieruhr"));
    TimerEieruhr->setInterval(10);
    connect(TimerEieruhr, &QTimer::timeout, this,
            [] { QApplication::setOverrideCursor(Qt::WaitCursor); });
}

// The title strip and the scroll box with the graph and the pictures laid on it.
void TMainForm::buildGraphArea() {
    client = new QWidget;
    client->setObjectName(QStringLiteral("ClientArea"));
    client->resize(793, 612);
    formScroll->setWidget(client);

    Panel1 = new QWidget(client);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setGeometry(0, 0, 793, 27);
    Panel1->setAutoFillBackground(true);
    Image2 = new PictureBox(Panel1);
    Image2->setObjectName(QStringLiteral("Image2"));
    Label1 = new QLabel(Panel1);
    Label1->setObjectName(QStringLiteral("Label1"));
    QFont titleFont(QStringLiteral("Arial"));
    titleFont.setPixelSize(15);
    titleFont.setBold(true);
    Label1->setFont(titleFont);
    Label1->setGeometry(8, 4, 600, 19);
    Label1->setAttribute(Qt::WA_TransparentForMouseEvents);

    ScrollBox1 = new QWidget(client);
    ScrollBox1->setObjectName(QStringLiteral("ScrollBox1"));
    ScrollBox1->setGeometry(0, 27, 793, 400);
    auto picture = [this](const char *name) {
        auto *p = new PictureBox(ScrollBox1);
        p->setObjectName(QString::fromLatin1(name));
        return p;
    };
    Image = picture("Image");
    // White until the graph template is read.
    Image->reserveSize(QSize(200, 200));
    M_einheit_Image = picture("M_einheit_Image");
    M_einheit_Image->setGeometry(0, graphgeo::kLegendTop, graphgeo::kLegendWidth,
                                 graphgeo::kLegendHeight);
    MittelwertImage = picture("MittelwertImage");
    LeerImage = picture("LeerImage");
    LeerImage->hide();
    Pfeilimage = picture("Pfeilimage");
    Pfeilimage->hide();
    StatusLabel = new QLabel(ScrollBox1);
    StatusLabel->setObjectName(QStringLiteral("StatusLabel"));
    StatusLabel->setGeometry(8, 200, 600, 16);
}

QAction *TMainForm::addEntry(QMenu *menu, const char *name, const QString &caption) {
    QAction *a = menu ? menu->addAction(caption) : menuBar()->addAction(caption);
    a->setObjectName(QString::fromLatin1(name));
    return a;
}

void TMainForm::buildMenu() {
    MainMenu &m = menu;
    QMenuBar *bar = menuBar();
    QMenu *datei = bar->addMenu(QStringLiteral("Datei"));
    datei->setObjectName(QStringLiteral("Datei1"));
    m.NeuerstellenneuerMonatoderJahr1 =
        addEntry(datei, "NeuerstellenneuerMonatoderJahr1",
                 QStringLiteral("Neu erstellen (neuer Monat oder Jahr)"));
    m.LiniendiagrammimBrowseranzeigen1 =
        addEntry(datei, "LiniendiagrammimBrowseranzeigen1",
                 QStringLiteral("Liniendiagramm im Browser anzeigen"));
    QMenu *open = datei->addMenu(QStringLiteral("Öffnen"));
    open->setObjectName(QStringLiteral("ffnen1"));
    m.undalsGrafikanzeigen1 =
        addEntry(open, "undalsGrafikanzeigen1", QStringLiteral("und als Grafik anzeigen"));
    m.undTabelleanzeigen1 =
        addEntry(open, "undTabelleanzeigen1", QStringLiteral("und Tabelle anzeigen"));
    m.undTabellebearbeiten1 =
        addEntry(open, "undTabellebearbeiten1", QStringLiteral("und Tabelle bearbeiten"));
    QMenu *export_ = datei->addMenu(QStringLiteral("Exportieren"));
    export_->setObjectName(QStringLiteral("Exportieren1"));
    m.MesswertealsCSV1 =
        addEntry(export_, "MesswertealsCSV1", QStringLiteral("Messwerte als CSV…"));
    datei->addSeparator();
    m.Beenden1 = addEntry(datei, "Beenden1", QStringLiteral("Beenden"));

    QMenu *edit = bar->addMenu(QStringLiteral("&Bearbeiten"));
    edit->setObjectName(QStringLiteral("Bearbeiten1"));
    m.DatenaktuellerTagebucheintraglschen1 =
        addEntry(edit, "DatenaktuellerTagebucheintraglschen1",
                 QStringLiteral("Daten der aktuellen Tagebuchseite löschen"));

    QMenu *print = bar->addMenu(QStringLiteral("&Drucken"));
    print->setObjectName(QStringLiteral("Drucken2"));
    m.GrafikganzenMonatdrucken1 =
        addEntry(print, "GrafikganzenMonatdrucken1", QStringLiteral("Grafik ganzen Monat drucken"));
    m.GrafikNurSichtbarenBereichdrucken1 =
        addEntry(print, "GrafikNurSichtbarenBereichdrucken1",
                 QStringLiteral("Grafik nur sichtbaren Bereich drucken"));
    m.Tabelledrucken1 = addEntry(print, "Tabelledrucken1", QStringLiteral("&Tabelle drucken"));
    m.AllegespeichertenTagebuchseitendrucken1 =
        addEntry(print, "AllegespeichertenTagebuchseitendrucken1",
                 QStringLiteral("Alle gespeicherten Tagebuchseiten drucken"));
    print->addSeparator();
    m.Arztbericht1 = addEntry(print, "Arztbericht1", QStringLiteral("Arztbericht als PDF…"));

    m.Einstellungen = addEntry(nullptr, "Einstellungen", QStringLiteral("&Einstellungen"));
    m.Mittelwert = addEntry(nullptr, "Mittelwert", QStringLiteral("Mittelwert"));
    m.Messwerte = addEntry(nullptr, "Messwerte", QStringLiteral("Messwerte"));
    m.Statistik1 = addEntry(nullptr, "Statistik1", QStringLiteral("&Statistik"));

    QMenu *table = bar->addMenu(QStringLiteral("&Tabelle"));
    table->setObjectName(QStringLiteral("Tabelle1"));
    m.anzeigen1 = addEntry(table, "anzeigen1", QStringLiteral("&aktuelle anzeigen"));
    m.aktuellebearbeiten1 =
        addEntry(table, "aktuellebearbeiten1", QStringLiteral("aktuelle &bearbeiten"));
    m.neuerstellen1 =
        addEntry(table, "neuerstellen1", QStringLiteral("&neu erstellen (neuer Monat)"));

    QMenu *opts = bar->addMenu(QStringLiteral("&Optionen"));
    opts->setObjectName(QStringLiteral("Optionen1"));
    m.Benutzernamendern1 =
        addEntry(opts, "Benutzernamendern1", QStringLiteral("&Benutzername ändern"));
    opts->addSeparator();
    m.biszu4MessungenjeTag =
        addEntry(opts, "biszu4MessungenjeTag", QStringLiteral("bis zu &4 Messungen je Tag"));
    m.biszu8MessungenjeTag =
        addEntry(opts, "biszu8MessungenjeTag", QStringLiteral("bis zu &8 Messungen je Tag"));
    m.biszu4MessungenjeTag->setCheckable(true);
    m.biszu8MessungenjeTag->setCheckable(true);

    QMenu *help = bar->addMenu(QStringLiteral("&Hilfe"));
    help->setObjectName(QStringLiteral("Hilfe1"));
    m.Hilfethemen1 = addEntry(help, "Hilfethemen1", QStringLiteral("&Hilfethemen"));
    m.Infober1 = addEntry(help, "Infober1", QStringLiteral("&Info über..."));
}

// The commands that only change the view, the measure mode, help and end.
void TMainForm::connectViewCommands() {
    auto on = [this](QAction *a, void (TMainForm::*slot)()) {
        ui::onTriggered(a, this, m_ui, [this, slot] { (this->*slot)(); });
    };
    on(menu.Messwerte, &TMainForm::MesswerteClick);
    on(menu.Mittelwert, &TMainForm::MittelwertClick);
    on(menu.biszu4MessungenjeTag, &TMainForm::biszu4MessungenjeTagClick);
    on(menu.biszu8MessungenjeTag, &TMainForm::biszu8MessungenjeTagClick);
    on(menu.Hilfethemen1, &TMainForm::Hilfethemen1Click);
    on(menu.Infober1, &TMainForm::Infober1Click);
    connect(menu.Beenden1, &QAction::triggered, this, &QWidget::close);
}

// The month graph on the window's pictures; it scrolls with the window, and
// the pointer readout listens on every picture laid on it.
void TMainForm::buildGraph() {
    GraphWidgets w;
    w.image = Image;
    w.legend = M_einheit_Image;
    w.meanImage = MittelwertImage;
    w.title = Label1;
    w.status = StatusLabel;
    w.hscroll = formScroll->horizontalScrollBar();
    w.window = this;
    m_graph = new TMonthGraph(w, m_session, m_ui, this);
    connect(m_graph, &TMonthGraph::layoutRequested, this, &TMainForm::FormResize);
    connect(m_graph, &TMonthGraph::unreadableTable, this, &TMainForm::unreadableTable);
    connect(m_graph, &TMonthGraph::readOnlySettingsFile, this, [this] {
        if (!m_readonly) m_readonly = new TreadonlyDlg(this);
        m_readonly->exec();
    });
    connect(formScroll->horizontalScrollBar(), &QScrollBar::valueChanged, this, [this] {
        if (m_graph->isShown()) m_graph->pinAfterScroll(true);
    });
    for (Qt::Key key : {Qt::Key_Right, Qt::Key_Left}) {
        auto *sc = new QShortcut(QKeySequence(Qt::CTRL | key), this);
        connect(sc, &QShortcut::activated, this,
                [this, key] { m_graph->FormKeyDown(key, Qt::ControlModifier); });
    }
    // All pictures lie in the graph's scroll box, so a point maps through it.
    for (PictureBox *box : {Image, M_einheit_Image, MittelwertImage, Pfeilimage})
        connect(box, &PictureBox::mouseMoved, this, [this, box](QPoint pos) {
            m_graph->FormMouseMove(box->mapTo(ScrollBox1, pos) - Image->pos());
        });
}

// The page of the selected day below the graph, with the day marker.
void TMainForm::buildDiaryPage() {
    QImage arrow(graphgeo::kDayWidth, 12, QImage::Format_ARGB32);
    arrow.fill(Qt::transparent);
    QPainter painter(&arrow);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setBrush(QColor(200, 0, 0));
    painter.setPen(Qt::NoPen);
    painter.drawPolygon(QPolygon({QPoint(14, 0), QPoint(34, 0), QPoint(24, 11)}));
    painter.end();
    Pfeilimage->setPicture(arrow);
    Pfeilimage->raise();

    DiaryPageControls c;
    c.editor = RichEdit1;
    c.arrow = Pfeilimage;
    c.deleteEntry = menu.DatenaktuellerTagebucheintraglschen1;
    c.printEntry = menu.AllegespeichertenTagebuchseitendrucken1;
    c.hscroll = formScroll->horizontalScrollBar();
    c.window = this;
    c.options = m_options;
    m_page = new DiaryPage(c, m_session, m_ui, this);
    connect(m_page, &DiaryPage::layoutRequested, this, &TMainForm::FormResize);
    connect(m_graph, &TMonthGraph::reselectRequested, m_page, &DiaryPage::MacheinenKlickAufGrafik);
    // A click on the graph, any button, selects the day under it.
    connect(Image, &PictureBox::mousePressed, m_page, [this](QPoint pos, Qt::MouseButton) {
        m_page->FormMouseDown(Image->mapTo(this, pos).x());
    });
    connect(menu.DatenaktuellerTagebucheintraglschen1, &QAction::triggered, m_page,
            &DiaryPage::DatenaktuellerTagebucheintraglschen1Click);
}

void TMainForm::setOptionControls(OptionControls *controls) {
    controls->setDiaryVisible(m_options->diaryVisible());
    controls->setCarbUnitBE(m_options->carbUnitBE());
    controls->setTherapyCT(m_options->therapyCT());
    controls->setValuesAboveCurve(m_options->valuesAboveCurve());
    controls->setBreakLineAtZero(m_options->breakLineAtZero());
    if (m_options == &m_defaultOptions) controls->setValueColor(m_defaultOptions.valueColor());
    m_options = controls;
    m_page->setOptions(controls);
}

void TMainForm::setOtherWindowsMaker(std::function<void()> make) {
    m_makeOtherWindows = std::move(make);
}

bool TMainForm::makeFolders() {
    const Folders &f = m_session.folders();
    struct Folder {
        QString path;
        const char *name;
    };
    for (const Folder &folder :
         {Folder{f.data, "Glykovalin-Daten"}, Folder{f.browser, "Glykovalin-Daten im Browser"}}) {
        if (!FolderExists(folder.path) && !ForceFolders(folder.path))
            m_ui.showMessage(QStringLiteral("Ordner \"%1\" konnte nicht erstellt werden! ")
                                 .arg(QString::fromLatin1(folder.name)));
        if (!FolderExists(folder.path)) {
            m_ui.showInformation(QStringLiteral("Ordner: ") + folder.path +
                                 QStringLiteral("\" existiert nicht! ") +
                                 QStringLiteral(" Das Programm wird beendet."));
            return false;
        }
    }
    return true;
}

bool TMainForm::FormCreate() {
    m_firstPaintPending = true;
    if (!makeFolders()) return false;
    const Folders &f = m_session.folders();
    const SettingsStore st = m_session.settings();
    ui::guarded(m_ui, [&] { applyModeTicks(st.flag(keys::BisZu4), st.flag(keys::BisZu8)); });
    // The pictures' pixels are decoded while the first frame is painted;
    // their sizes now, so that the window lays out as with them.
    M_einheit_Image->loadPictureSoon(f.base + QStringLiteral("M_einheit.bmp"));
    Image2->loadPictureSoon(templatepicture::headerPathFor(st, f.base));
    m_graph->prepareTemplate();
    return true;
}

void TMainForm::applyModeTicks(bool four, bool eight) {
    menu.biszu4MessungenjeTag->setChecked(four);
    menu.biszu8MessungenjeTag->setChecked(eight);
    m_session.setModeTicks(four, eight);
    m_graph->setTemplatePath(templatepicture::templatePathFor(
        m_session.settings(), m_session.folders().base, four, eight, m_graph->templatePath()));
}

// Laid out again now that the diary page is visible, so that the first
// frame shows the final division. A window that is not painted soon (started
// minimised) does its first-paint work all the same.
void TMainForm::showEvent(QShowEvent *e) {
    QMainWindow::showEvent(e);
    if (!m_firstPaintPending) return;
    LayoutControls();
    QTimer::singleShot(kFirstPaintLatest, this, [this] { startAfterFirstFrame(); });
}

// The first frame shows the window without waiting for the month: the
// template is taken and the month drawn right after it.
void TMainForm::paintEvent(QPaintEvent *e) {
    QMainWindow::paintEvent(e);
    if (m_firstPaintPending) QTimer::singleShot(0, this, [this] { startAfterFirstFrame(); });
}

void TMainForm::startAfterFirstFrame() {
    if (m_firstPaintPending) FirstPaint();
}

// The options of the settings dialog and the last day and scroll position.
void TMainForm::restoreOptions(const SettingsStore &st) {
    const QString valueColor = st.get(keys::DatenwerteOberhalbFarbe);
    m_options->setValueColor(
        valueColor.isEmpty() ? 0
                             : quint32(convert::toInt(valueColor, keys::DatenwerteOberhalbFarbe)));
    m_options->setValuesAboveCurve(st.flag(keys::WerteOberhalbKurveAnzeigen));
    m_options->setBreakLineAtZero(st.flag(keys::LinieBeiNullUnterbrechen));
    m_options->setCarbUnitBE(st.flag(keys::BE_Einheit));
    m_options->setTherapyCT(st.flag(keys::CT_Therapie));
    m_page->setLastPositions(
        st.number(keys::LetzteKlickPosition, defaults::LetzteKlickPosition),
        st.number(keys::LetzteHScrollPosition, defaults::LetzteHScrollPosition));
}

// Window placement and whether the diary is shown (hidden: 590 pixels high).
void TMainForm::restorePlacement(const SettingsStore &st) {
    const int top = st.number(keys::FensterPosTop, defaults::FensterPosTop);
    const int left = st.number(keys::FensterPosLinks, defaults::FensterPosLinks);
    const int width = st.number(keys::FensterBreite, defaults::FensterBreite);
    int height = st.number(keys::FensterHoehe, defaults::FensterHoehe);
    const bool diary = st.flag(keys::Tagebuch_sichtbar);
    menu.AllegespeichertenTagebuchseitendrucken1->setEnabled(diary);
    RichEdit1->setVisible(diary);
    // The day marker appears with the first selected day.
    Pfeilimage->setVisible(diary && m_page->currentDay() > 0);
    m_options->setDiaryVisible(diary);
    if (!diary) height = 590;
    setGeometry(left, top, width, height);
    move(left, top);
}

void TMainForm::restoreWindow() {
    if (m_windowRestored) return;
    m_windowRestored = true;
    const SettingsStore st = m_session.settings();
    ui::guarded(m_ui, [&] {
        restoreOptions(st);
        restorePlacement(st);
    });
    formScroll->horizontalScrollBar()->setSingleStep(10);
    formScroll->horizontalScrollBar()->setValue(0);
    formScroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    LayoutControls();
}

void TMainForm::FirstPaint() {
    m_firstPaintPending = false;
    if (m_makeOtherWindows) std::exchange(m_makeOtherWindows, {})();
    // Temporary files an interrupted save left beside the user's files.
    const Folders &f = m_session.folders();
    strayfiles::removeLeftovers(f.base, f.data, f.browser);
    restoreWindow();
    // A month drawn next starts from this template; without one it is what
    // the window shows.
    m_graph->showTemplate();
    const SettingsStore st = m_session.settings();
    const QString name = st.get(keys::BenutzerName);
    if (name.isEmpty()) {
        emit userNameMissing();
        return;
    }
    Label1->setText(QStringLiteral("von ") + name);
    m_session.setUserName(name);
    emit userNameKnown(name);
    const QString table = st.get(keys::TabellenDateiName);
    if (table.isEmpty() || !QFileInfo(table).isFile()) return;
    m_session.attach(table);
    m_page->monthChanged();
    drawMonth(table);
}

void TMainForm::endWithoutStoring() {
    m_closed = true;
    hide();
    emit runEnded();
}

void TMainForm::LayoutControls() {
    // The readout line sits right under the graph picture.
    StatusLabel->move(StatusLabel->x(), Image->y() + Image->height() + 2);
    const int sum = StatusLabel->y() + StatusLabel->height() + kBottomMargin;
    const int contentWidth = std::max(Image->x() + Image->width(), formScroll->viewport()->width());
    ScrollBox1->setGeometry(0, Panel1->height(), contentWidth, sum);
    Panel1->resize(contentWidth, 27);
    const int full = Panel1->height() + sum;
    if (RichEdit1->isVisible() && !m_diaryHeightChosen) {
        // The graph as tall as it is, the page the rest; a short window
        // gives the page its room and lets the graph scroll.
        const int scrollBar = formScroll->horizontalScrollBar()->sizeHint().height();
        const int total = m_split->height() - m_split->handleWidth();
        const int graph = std::max(80, std::min(full + scrollBar, total - kDiaryMinimum));
        m_split->setSizes({graph, std::max(0, total - graph)});
    }
    fitClientHeight(contentWidth, full);
}

// The blank margin under the readout line gives way first, so that the
// graph area never shows a vertical scroll bar that scrolls nothing but it.
void TMainForm::fitClientHeight(int contentWidth, int full) {
    const int frames = 2 * formScroll->frameWidth();
    const bool barShown = formScroll->horizontalScrollBarPolicy() == Qt::ScrollBarAlwaysOn ||
                          (formScroll->horizontalScrollBarPolicy() == Qt::ScrollBarAsNeeded &&
                           contentWidth > formScroll->width() - frames);
    const int room = formScroll->height() - frames -
                     (barShown ? formScroll->horizontalScrollBar()->sizeHint().height() : 0);
    client->resize(contentWidth, std::clamp(room, full - kBottomMargin, full));
}

void TMainForm::FormResize() {
    LayoutControls();
    if (isMaximized()) M_einheit_Image->move(0, M_einheit_Image->y());
    if (m_graph->isShown()) m_graph->pinAfterScroll(true);
}

void TMainForm::resizeEvent(QResizeEvent *e) {
    QMainWindow::resizeEvent(e);
    FormResize();
}

void TMainForm::showUserName(const QString &name) {
    Label1->setText(QStringLiteral(" von ") + name);
}

void TMainForm::applyDiaryVisible(bool visible) {
    menu.AllegespeichertenTagebuchseitendrucken1->setEnabled(visible);
    RichEdit1->setVisible(visible);
    Pfeilimage->setVisible(visible && m_page->currentDay() > 0);
    resize(width(), visible ? 780 : 590);
}

void TMainForm::drawMonth(const QString &tablePath) {
    DrawOptions o;
    o.meanPass = m_meanPass;
    o.keepPicture = m_keepPicture;
    o.meanMode = m_meanMode;
    o.scrollPosition = m_page->lastScrollPosition();
    m_session.setTablePath(tablePath);
    m_session.setDrawn(m_graph->GrafikZeichnen(tablePath, o));
    emit monthDrawn(tablePath);
}

void TMainForm::redrawMonth() {
    // Only a month that is stored can be shown again.
    const QString table = m_session.tablePath();
    if (table.isEmpty() || !QFileInfo(table).isFile()) return;
    drawMonth(table);
}

void TMainForm::switchMode(bool toEight, bool fromFourEntry) {
    applyModeTicks(!toEight, toEight);
    if (fromFourEntry) {
        m_page->MacheinenKlickAufGrafik();
        emit measureModeChanged();
        redrawMonth();
        FormResize();
    } else {
        m_meanMode = false;
        emit measureModeChanged();
        m_page->skipNextReselect();
        redrawMonth();
        FormResize();
        m_page->MacheinenKlickAufGrafik();
    }
}

void TMainForm::biszu4MessungenjeTagClick() {
    switchMode(m_session.fourSlotsTicked(), true);
}

void TMainForm::biszu8MessungenjeTagClick() {
    switchMode(!m_session.eightSlotsTicked(), false);
}

// The curve without the mean; a maximised or minimised window comes back to
// its normal size.
void TMainForm::curveView() {
    m_meanMode = false;
    m_meanPass = false;
    if (isMaximized() || isMinimized()) QTimer::singleShot(0, this, [this] { showNormal(); });
}

void TMainForm::MesswerteClick() {
    m_keepPicture = false;
    curveView();
    m_page->skipNextReselect();
    redrawMonth();
}

void TMainForm::showMonth(const QString &tablePath) {
    m_keepPicture = false;
    curveView();
    drawMonth(tablePath);
}

// The measurement curve with the monthly-mean line drawn over it: the curve
// onto the template, then the mean pass onto that picture.
void TMainForm::MittelwertClick() {
    m_graph->showTemplate();
    m_keepPicture = true;
    curveView();
    m_page->skipNextReselect();
    redrawMonth();
    m_page->skipNextReselect();
    m_meanMode = true;
    m_meanPass = true;
    redrawMonth();
    m_meanPass = false;
}

void TMainForm::Hilfethemen1Click() {
    const QString page = m_session.folders().base + QStringLiteral("Glykovalin-Hilfe.htm");
    if (!QFileInfo(page).isFile()) {
        m_ui.showWarning(QStringLiteral("Die Hilfeseite wurde nicht gefunden. Sie gehört in den "
                                        "Ordner des Programms:\n%1")
                             .arg(QDir::toNativeSeparators(page)));
        return;
    }
    if (!m_ui.shellOpen(QStringLiteral("Glykovalin-Hilfe.htm")))
        m_ui.showWarning(QStringLiteral("Die Hilfeseite konnte nicht geöffnet werden, weil kein "
                                        "Programm zum Anzeigen von HTML-Seiten gefunden wurde. "
                                        "Sie können sie selbst in Ihrem Browser öffnen:\n%1")
                             .arg(QDir::toNativeSeparators(page)));
}

void TMainForm::Infober1Click() {
    if (!m_about) m_about = new TAboutBox(this);
    m_about->exec();
}

bool TMainForm::FormClose() {
    if (m_closed) return true;
    if (!m_page->closeDiary()) return false;
    m_closed = true;
    // The window state in one write of the settings file.
    const QRect g = isMaximized() ? normalGeometry() : geometry();
    QList<SettingsStore::Change> state;
    const QString sec = QString::fromLatin1(SettingsStore::kSection);
    auto put = [&](const QString &key, const QString &value) { state.append({sec, key, value}); };
    put(keys::Tagebuch_sichtbar, convert::flagText(m_options->diaryVisible()));
    put(keys::BE_Einheit, convert::flagText(m_options->carbUnitBE()));
    put(keys::CT_Therapie, convert::flagText(m_options->therapyCT()));
    if (!isMaximized()) {
        put(keys::FensterBreite, QString::number(width()));
        if (height() >= 590) put(keys::FensterHoehe, QString::number(height()));
    }
    if (!m_session.tablePath().isEmpty()) put(keys::TabellenDateiName, m_session.tablePath());
    put(keys::BisZu4, convert::flagText(menu.biszu4MessungenjeTag->isChecked()));
    put(keys::BisZu8, convert::flagText(menu.biszu8MessungenjeTag->isChecked()));
    put(keys::LetzteHScrollPosition, QString::number(m_page->lastScrollPosition()));
    put(keys::LetzteKlickPosition, QString::number(m_page->lastClickPosition()));
    put(keys::FensterPosTop, QString::number(isMaximized() ? g.top() : y()));
    put(keys::FensterPosLinks, QString::number(isMaximized() ? g.left() : x()));
    const SettingsStore st = m_session.settings();
    QString error;
    // A read-only settings file has had its notice; its writes are lost quietly.
    if (!st.write(state, &error) && !st.isReadOnly())
        m_ui.showWarning(error + QStringLiteral("\nDie Fenstereinstellungen dieser Sitzung wurden "
                                                "nicht gespeichert."));
    return true;
}

void TMainForm::closeEvent(QCloseEvent *e) {
    if (FormClose())
        e->accept();
    else
        e->ignore();
}
