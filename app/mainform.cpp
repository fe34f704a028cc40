#include "mainform.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QKeySequence>
#include <QMenuBar>
#include <QScrollBar>
#include <QShortcut>
#include <QSplitter>
#include <QTimer>
#include <utility>

#include "aboutbox.h"
#include "dialogs/readonlydlg.h"
#include "diary/diarypage.h"
#include "graph/templatepicture.h"
#include "platform/convert.h"
#include "platform/folders.h"
#include "platform/machpause.h"
#include "platform/strayfiles.h"
#include "platform/ui.h"
#include "storage/monthmodel.h"

TMainForm::TMainForm(MonthModel &model, ui::Services &ui, QWidget *parent)
    : QMainWindow(parent), m_model(model), m_ui(ui) {
    setObjectName(QStringLiteral("MainForm"));
    setWindowTitle(QStringLiteral("Glykovalinmesswerte - "));
    resize(793, 612);
    // The graph scrolls in its own area; the diary page below it stays in
    // view whatever part of the month is shown.
    m_split = new QSplitter(Qt::Vertical, this);
    m_split->setObjectName(QStringLiteral("GraphDiarySplitter"));
    m_split->setChildrenCollapsible(false);
    setCentralWidget(m_split);
    m_graph = new GraphArea(model, ui, m_split);
    m_graph->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_page = new DiaryPage(model, ui, m_split);
    m_page->setMinimumHeight(kDiaryMinimum);
    m_split->setStretchFactor(0, 0);
    m_split->setStretchFactor(1, 1);
    connect(m_split, &QSplitter::splitterMoved, this, [this] {
        m_diaryHeightChosen = true;
        LayoutControls();
    });
    m_pause = new TMachPause(this);
    m_pause->setObjectName(QStringLiteral("MachPause1"));
    m_pause->setInterval(1000);
    // The wait cursor's timer exists, but nothing starts it.
    m_waitCursorTimer = new QTimer(this);
    m_waitCursorTimer->setObjectName(QStringLiteral("TimerEieruhr"));
    m_waitCursorTimer->setInterval(10);
    connect(m_waitCursorTimer, &QTimer::timeout, this,
            [] { QApplication::setOverrideCursor(Qt::WaitCursor); });
    buildMenu();
    connectViewCommands();
    connectParts();
    connectModel();
}

TMainForm::~TMainForm() = default;

QAction *TMainForm::addEntry(QMenu *menu, const char *name, const QString &caption) {
    QAction *a = menu ? menu->addAction(caption) : menuBar()->addAction(caption);
    a->setObjectName(QString::fromLatin1(name));
    return a;
}

void TMainForm::buildMenu() {
    MainMenu &m = m_menu;
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
    QMenu *import = datei->addMenu(QStringLiteral("Importieren"));
    import->setObjectName(QStringLiteral("Importieren1"));
    m.MesswerteausDatei1 =
        addEntry(import, "MesswerteausDatei1", QStringLiteral("Messwerte aus Datei…"));
    QMenu *backup = datei->addMenu(QStringLiteral("Datensicherung"));
    backup->setObjectName(QStringLiteral("Datensicherung1"));
    m.Sicherungerstellen1 =
        addEntry(backup, "Sicherungerstellen1", QStringLiteral("Sicherung erstellen…"));
    m.Sicherungwiederherstellen1 = addEntry(backup, "Sicherungwiederherstellen1",
                                            QStringLiteral("Sicherung wiederherstellen…"));
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
    on(m_menu.Messwerte, &TMainForm::MesswerteClick);
    on(m_menu.Mittelwert, &TMainForm::MittelwertClick);
    on(m_menu.biszu4MessungenjeTag, &TMainForm::biszu4MessungenjeTagClick);
    on(m_menu.biszu8MessungenjeTag, &TMainForm::biszu8MessungenjeTagClick);
    on(m_menu.Hilfethemen1, &TMainForm::Hilfethemen1Click);
    on(m_menu.Infober1, &TMainForm::Infober1Click);
    connect(m_menu.Beenden1, &QAction::triggered, this, &QWidget::close);
    ui::onTriggered(m_menu.DatenaktuellerTagebucheintraglschen1, this, m_ui,
                    [this] { m_page->DatenaktuellerTagebucheintraglschen1Click(); });
}

// The graph and the diary page below it: a click selects a day, the page
// marks it on the graph, and both scroll by days with Ctrl+Right/Left.
void TMainForm::connectParts() {
    connect(m_graph, &GraphArea::clicked, m_page,
            [this](int clientX) { m_page->FormMouseDown(clientX, m_graph->scrollPosition()); });
    connect(m_graph, &GraphArea::layoutRequested, this, &TMainForm::FormResize);
    connect(m_page, &DiaryPage::dayShown, m_graph, &GraphArea::markDay);
    connect(m_page, &DiaryPage::scrollRequested, m_graph, &GraphArea::scrollByDays);
    connect(m_page, &DiaryPage::deleteAllowed, m_menu.DatenaktuellerTagebucheintraglschen1,
            &QAction::setEnabled);
    connect(m_page, &DiaryPage::bookAvailable, this, [this](bool available) {
        m_bookAvailable = available;
        updatePrintBookEntry();
    });
    for (Qt::Key key : {Qt::Key_Right, Qt::Key_Left}) {
        auto *sc = new QShortcut(QKeySequence(Qt::CTRL | key), this);
        connect(sc, &QShortcut::activated, m_graph,
                [this, key] { m_graph->scrollByDays(key == Qt::Key_Right ? 1 : -1); });
    }
}

// What the window shows follows the month model.
void TMainForm::connectModel() {
    connect(&m_model, &MonthModel::tableChanged, m_page, &DiaryPage::tableChanged);
    connect(&m_model, &MonthModel::monthChanged, this, &TMainForm::monthRead);
    connect(&m_model, &MonthModel::modeChanged, this, [this] {
        showModeTicks();
        // Before the first frame nothing is drawn yet: the first paint takes
        // the template of the mode and draws the month.
        if (m_firstPaintPending) return;
        redraw();
        m_page->monthChanged();
        FormResize();
    });
    connect(&m_model, &MonthModel::appearanceChanged, this, [this] { redraw(); });
    // Legend, readout, mean caption and the page's readings in the unit chosen.
    connect(&m_model, &MonthModel::unitChanged, this, [this] {
        m_graph->showUnit();
        redraw(m_graph->view());
        m_page->monthChanged();
    });
    connect(&m_model, &MonthModel::optionsChanged, this, [this] {
        applyDiaryVisible(m_model.options().diaryVisible);
        m_page->monthChanged();
    });
    connect(&m_model, &MonthModel::settingsReadOnly, this, [this] {
        if (!m_readonly) m_readonly = new TreadonlyDlg(this);
        m_readonly->exec();
    });
}

bool TMainForm::makeFolders() {
    const Folders &f = m_model.folders();
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
    const Folders &f = m_model.folders();
    const SettingsStore st = m_model.settings();
    ui::guarded(m_ui, [&] { m_model.setModeTicks(st.flag(keys::BisZu4), st.flag(keys::BisZu8)); });
    showModeTicks();
    // The pictures' pixels are decoded while the first frame is painted;
    // their sizes now, so that the window lays out as with them.
    m_graph->prepare(f.base + QStringLiteral("M_einheit.bmp"),
                     templatepicture::headerPathFor(st, f.base));
    return true;
}

void TMainForm::showModeTicks() {
    m_menu.biszu4MessungenjeTag->setChecked(m_model.fourSlotsTicked());
    m_menu.biszu8MessungenjeTag->setChecked(m_model.eightSlotsTicked());
    m_graph->setTemplatePath(templatepicture::templatePathFor(
        m_model.settings(), m_model.folders().base, m_model.fourSlotsTicked(),
        m_model.eightSlotsTicked(), m_graph->templatePath()));
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

namespace {
QEvent::Type startShownEvent() {
    static const auto type = QEvent::Type(QEvent::registerEventType());
    return type;
}
} // namespace

bool TMainForm::event(QEvent *e) {
    if (e->type() != startShownEvent()) return QMainWindow::event(e);
    // Temporary files an interrupted save left beside the user's files (a
    // save under way is young and stays).
    const Folders &f = m_model.folders();
    strayfiles::removeLeftovers(f.base, f.data, f.browser);
    emit startShown();
    return true;
}

void TMainForm::startAfterFirstFrame() {
    if (m_firstPaintPending) FirstPaint();
}

// The options of the settings dialog and the last day and scroll position.
void TMainForm::restoreOptions(const SettingsStore &st) {
    DisplayOptions o = m_model.options();
    const QString valueColor = st.get(keys::DatenwerteOberhalbFarbe);
    o.valueColor = valueColor.isEmpty()
                       ? 0
                       : quint32(convert::toInt(valueColor, keys::DatenwerteOberhalbFarbe));
    o.valuesAboveCurve = st.flag(keys::WerteOberhalbKurveAnzeigen);
    o.breakLineAtZero = st.flag(keys::LinieBeiNullUnterbrechen);
    o.carbUnitBE = st.flag(keys::BE_Einheit);
    o.therapyCT = st.flag(keys::CT_Therapie);
    m_model.setOptions(o);
    m_page->restorePositions(
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
    DisplayOptions o = m_model.options();
    o.diaryVisible = diary;
    m_model.setOptions(o);
    m_diaryShown = diary;
    m_page->setVisible(diary);
    m_graph->setDayMarkAllowed(diary);
    updatePrintBookEntry();
    if (!diary) height = 590;
    setGeometry(left, top, width, height);
    move(left, top);
}

void TMainForm::restoreWindow() {
    if (m_windowRestored) return;
    m_windowRestored = true;
    const SettingsStore st = m_model.settings();
    ui::guarded(m_ui, [&] {
        restoreOptions(st);
        restorePlacement(st);
    });
    m_graph->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    LayoutControls();
    m_graph->setScrollPosition(m_page->lastScrollPosition());
}

void TMainForm::FirstPaint() {
    m_firstPaintPending = false;
    // After the paint of what this start shows, which is posted at a low
    // priority while the month is drawn (also while a question waits).
    QCoreApplication::postEvent(this, new QEvent(startShownEvent()), Qt::LowEventPriority - 1);
    restoreWindow();
    // A month drawn next starts from this template; without one it is what
    // the window shows.
    m_graph->showTemplate();
    const QString name = m_model.settings().get(keys::BenutzerName);
    if (name.isEmpty()) {
        emit userNameMissing();
        return;
    }
    m_model.setUserName(name);
    m_graph->showTitle(QStringLiteral("von ") + name);
    const QString table = m_model.settings().get(keys::TabellenDateiName);
    if (table.isEmpty()) return;
    if (!QFileInfo(table).isFile()) {
        m_ui.showWarning(QStringLiteral("Die zuletzt gezeigte Monatstabelle „%1“ wurde nicht "
                                        "gefunden. Öffnen Sie eine Tabelle mit „Datei › Öffnen“ "
                                        "oder legen Sie mit „Tabelle › neu erstellen“ einen neuen "
                                        "Monat an.")
                             .arg(QDir::toNativeSeparators(table)));
        return;
    }
    m_model.open(table);
    if (!m_model.figures().readable) {
        m_ui.showWarning(m_model.month().error);
        emit unreadableTable();
    }
}

void TMainForm::showUserName(const QString &name) {
    m_graph->showTitle(QStringLiteral(" von ") + name);
}

void TMainForm::endWithoutStoring() {
    m_closed = true;
    hide();
    emit runEnded();
}

void TMainForm::LayoutControls() {
    m_graph->layOut();
    if (m_page->isVisible() && !m_diaryHeightChosen) {
        // The graph as tall as it is, the page the rest: in a short window
        // the page gives way first, so that the whole value range stays in
        // view, down to a few lines of its own.
        const int total = m_split->height() - m_split->handleWidth();
        const int graph = std::max(80, std::min(m_graph->fullHeight(), total - kDiaryMinimum));
        m_split->setSizes({graph, std::max(0, total - graph)});
        m_graph->layOut();
    }
}

void TMainForm::FormResize() {
    LayoutControls();
}

void TMainForm::resizeEvent(QResizeEvent *e) {
    QMainWindow::resizeEvent(e);
    FormResize();
}

void TMainForm::applyDiaryVisible(bool visible) {
    if (visible == m_diaryShown) return;
    m_diaryShown = visible;
    m_page->setVisible(visible);
    m_graph->setDayMarkAllowed(visible);
    updatePrintBookEntry();
    resize(width(), visible ? 780 : 590);
}

void TMainForm::updatePrintBookEntry() {
    m_menu.AllegespeichertenTagebuchseitendrucken1->setEnabled(m_diaryShown && m_bookAvailable);
}

void TMainForm::redraw(MonthGraph::View view) {
    if (!m_model.hasTable()) {
        m_graph->showTemplate();
        return;
    }
    ui::guarded(m_ui, [&] { m_graph->drawMonth(view); });
    FormResize();
}

void TMainForm::monthRead() {
    redraw();
    m_page->monthChanged();
    if (!m_model.hasTable()) return;
    const monthread::Month &month = m_model.month();
    // A table that cannot be read is the business of the command that chose it.
    if (!month.result.readable) return;
    if (!month.result.complete) m_ui.showWarning(month.error);
    // Said once for a file: a redraw of the same month does not say it again.
    const QString &notice = month.result.skippedNotice;
    if (!notice.isEmpty() && notice != m_noticeShown) m_ui.showWarning(notice);
    m_noticeShown = notice;
}

void TMainForm::switchMode(bool toEight) {
    m_model.setModeTicks(!toEight, toEight);
}

void TMainForm::biszu4MessungenjeTagClick() {
    switchMode(m_model.fourSlotsTicked());
}

void TMainForm::biszu8MessungenjeTagClick() {
    switchMode(!m_model.eightSlotsTicked());
}

void TMainForm::restoreNormalSize() {
    if (isMaximized() || isMinimized()) QTimer::singleShot(0, this, [this] { showNormal(); });
}

// The measured values only.
void TMainForm::MesswerteClick() {
    restoreNormalSize();
    redraw(MonthGraph::View::Values);
}

// The measurement curve with the monthly-mean line drawn over it.
void TMainForm::MittelwertClick() {
    restoreNormalSize();
    redraw(MonthGraph::View::ValuesAndMean);
}

bool TMainForm::leaveMonth() {
    return m_page->leavePage();
}

bool TMainForm::storePageBeforeBook() {
    return m_page->storeBeforeBook();
}

GraphArea::Shown TMainForm::shownGraph() const {
    return m_graph->shown();
}

void TMainForm::Hilfethemen1Click() {
    const QString page = m_model.folders().base + QStringLiteral("Glykovalin-Hilfe.htm");
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
    const DisplayOptions &o = m_model.options();
    put(keys::Tagebuch_sichtbar, convert::flagText(o.diaryVisible));
    put(keys::BE_Einheit, convert::flagText(o.carbUnitBE));
    put(keys::CT_Therapie, convert::flagText(o.therapyCT));
    if (!isMaximized()) {
        put(keys::FensterBreite, QString::number(width()));
        if (height() >= 590) put(keys::FensterHoehe, QString::number(height()));
    }
    if (!m_model.tablePath().isEmpty()) put(keys::TabellenDateiName, m_model.tablePath());
    put(keys::BisZu4, convert::flagText(m_model.fourSlotsTicked()));
    put(keys::BisZu8, convert::flagText(m_model.eightSlotsTicked()));
    put(keys::LetzteHScrollPosition, QString::number(m_page->lastScrollPosition()));
    put(keys::LetzteKlickPosition, QString::number(m_page->lastClickPosition()));
    put(keys::FensterPosTop, QString::number(isMaximized() ? g.top() : y()));
    put(keys::FensterPosLinks, QString::number(isMaximized() ? g.left() : x()));
    const SettingsStore st = m_model.settings();
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
