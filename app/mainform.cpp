#include "mainform.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QScrollArea>
#include <QScrollBar>
#include <QSplitter>
#include <QTextEdit>
#include <QTimer>

#include "aboutbox.h"
#include "dialogs/readonlydlg.h"
#include "platform/folders.h"
#include "platform/pause.h"
#include "platform/strayfiles.h"
#include "platform/textfile.h"
#include "platform/ui.h"
#include "platform/convert.h"
#include "storage/monthtable.h"

namespace {

QString withSlash(QString path) {
    if (!path.endsWith(u'/')) path += u'/';
    return path;
}

} // namespace

TMainForm::TMainForm(QWidget *parent) : QMainWindow(parent), m_state(appState()) {
    setObjectName(QStringLiteral("MainForm"));
    setWindowTitle(QStringLiteral("Glykovalinmesswerte - "));
    resize(793, 612);
    buildControls();
    buildMenu();
}

TMainForm::~TMainForm() {
    m_state.GraphShown = false;
}

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
    connect(m_split, &QSplitter::splitterMoved, this, [this] { m_diaryHeightChosen = true; });

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
    Image2->move(0, 0);
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
    Image = new PictureBox(ScrollBox1);
    Image->setObjectName(QStringLiteral("Image"));
    Image->move(0, 0);
    Image->setPicture(QImage(200, 200, QImage::Format_RGB32));
    Image->picture().fill(Qt::white);
    M_einheit_Image = new PictureBox(ScrollBox1);
    M_einheit_Image->setObjectName(QStringLiteral("M_einheit_Image"));
    M_einheit_Image->setGeometry(0, 41, 42, 403);
    MittelwertImage = new PictureBox(ScrollBox1);
    MittelwertImage->setObjectName(QStringLiteral("MittelwertImage"));
    LeerImage = new PictureBox(ScrollBox1);
    LeerImage->setObjectName(QStringLiteral("LeerImage"));
    LeerImage->hide();
    Pfeilimage = new PictureBox(ScrollBox1);
    Pfeilimage->setObjectName(QStringLiteral("Pfeilimage"));
    Pfeilimage->hide();
    StatusLabel = new QLabel(ScrollBox1);
    StatusLabel->setObjectName(QStringLiteral("StatusLabel"));
    StatusLabel->setGeometry(8, 200, 600, 16);

    RichEdit1 = new QTextEdit(m_split);
    RichEdit1->setObjectName(QStringLiteral("RichEdit1"));
    QFont diaryFont(QStringLiteral("Arial"));
    diaryFont.setPixelSize(13);
    diaryFont.setBold(true);
    RichEdit1->setFont(diaryFont);
    RichEdit1->setLineWrapMode(QTextEdit::NoWrap);
    RichEdit1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
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

QAction *TMainForm::addEntry(QMenu *menu, const QString &name, const QString &caption) {
    QAction *a = menu ? menu->addAction(caption) : menuBar()->addAction(caption);
    a->setObjectName(name);
    connect(a, &QAction::triggered, this, [this, name] { runCommand(name); });
    return a;
}

void TMainForm::buildMenu() {
    QMenuBar *bar = menuBar();
    QMenu *datei = bar->addMenu(QStringLiteral("Datei"));
    datei->setObjectName(QStringLiteral("Datei1"));
    addEntry(datei, QStringLiteral("NeuerstellenneuerMonatoderJahr1"),
             QStringLiteral("Neu erstellen (neuer Monat oder Jahr)"));
    addEntry(datei, QStringLiteral("LiniendiagrammimBrowseranzeigen1"),
             QStringLiteral("Liniendiagramm im Browser anzeigen"));
    QMenu *open = datei->addMenu(QStringLiteral("Öffnen"));
    open->setObjectName(QStringLiteral("ffnen1"));
    addEntry(open, QStringLiteral("undalsGrafikanzeigen1"),
             QStringLiteral("und als Grafik anzeigen"));
    addEntry(open, QStringLiteral("undTabelleanzeigen1"), QStringLiteral("und Tabelle anzeigen"));
    addEntry(open, QStringLiteral("undTabellebearbeiten1"),
             QStringLiteral("und Tabelle bearbeiten"));
    QMenu *export_ = datei->addMenu(QStringLiteral("Exportieren"));
    export_->setObjectName(QStringLiteral("Exportieren1"));
    addEntry(export_, QStringLiteral("MesswertealsCSV1"), QStringLiteral("Messwerte als CSV…"));
    datei->addSeparator();
    addEntry(datei, QStringLiteral("Beenden1"), QStringLiteral("Beenden"));

    QMenu *edit = bar->addMenu(QStringLiteral("&Bearbeiten"));
    edit->setObjectName(QStringLiteral("Bearbeiten1"));
    addEntry(edit, QStringLiteral("DatenaktuellerTagebucheintraglschen1"),
             QStringLiteral("Daten der aktuellen Tagebuchseite löschen"));

    QMenu *print = bar->addMenu(QStringLiteral("&Drucken"));
    print->setObjectName(QStringLiteral("Drucken2"));
    addEntry(print, QStringLiteral("GrafikganzenMonatdrucken1"),
             QStringLiteral("Grafik ganzen Monat drucken"));
    addEntry(print, QStringLiteral("GrafikNurSichtbarenBereichdrucken1"),
             QStringLiteral("Grafik nur sichtbaren Bereich drucken"));
    addEntry(print, QStringLiteral("Tabelledrucken1"), QStringLiteral("&Tabelle drucken"));
    addEntry(print, QStringLiteral("AllegespeichertenTagebuchseitendrucken1"),
             QStringLiteral("Alle gespeicherten Tagebuchseiten drucken"));
    print->addSeparator();
    addEntry(print, QStringLiteral("Arztbericht1"), QStringLiteral("Arztbericht als PDF…"));

    addEntry(nullptr, QStringLiteral("Einstellungen"), QStringLiteral("&Einstellungen"));
    addEntry(nullptr, QStringLiteral("Mittelwert"), QStringLiteral("Mittelwert"));
    addEntry(nullptr, QStringLiteral("Messwerte"), QStringLiteral("Messwerte"));
    addEntry(nullptr, QStringLiteral("Statistik1"), QStringLiteral("&Statistik"));

    QMenu *table = bar->addMenu(QStringLiteral("&Tabelle"));
    table->setObjectName(QStringLiteral("Tabelle1"));
    addEntry(table, QStringLiteral("anzeigen1"), QStringLiteral("&aktuelle anzeigen"));
    addEntry(table, QStringLiteral("aktuellebearbeiten1"), QStringLiteral("aktuelle &bearbeiten"));
    addEntry(table, QStringLiteral("neuerstellen1"),
             QStringLiteral("&neu erstellen (neuer Monat)"));

    QMenu *opts = bar->addMenu(QStringLiteral("&Optionen"));
    opts->setObjectName(QStringLiteral("Optionen1"));
    addEntry(opts, QStringLiteral("Benutzernamendern1"), QStringLiteral("&Benutzername ändern"));
    opts->addSeparator();
    addEntry(opts, QStringLiteral("biszu4MessungenjeTag"),
             QStringLiteral("bis zu &4 Messungen je Tag"))
        ->setCheckable(true);
    addEntry(opts, QStringLiteral("biszu8MessungenjeTag"),
             QStringLiteral("bis zu &8 Messungen je Tag"))
        ->setCheckable(true);

    QMenu *help = bar->addMenu(QStringLiteral("&Hilfe"));
    help->setObjectName(QStringLiteral("Hilfe1"));
    addEntry(help, QStringLiteral("Hilfethemen1"), QStringLiteral("&Hilfethemen"));
    addEntry(help, QStringLiteral("Infober1"), QStringLiteral("&Info über..."));
}

QAction *TMainForm::menuAction(const QString &objectName) const {
    return findChild<QAction *>(objectName);
}

void TMainForm::runCommand(const QString &name) {
    emit menuCommand(name);
    convert::guarded([&] {
        if (hooks.command && hooks.command(name)) return;
        if (name == u"Beenden1")
            close();
        else if (name == u"biszu4MessungenjeTag")
            biszu4MessungenjeTagClick();
        else if (name == u"biszu8MessungenjeTag")
            biszu8MessungenjeTagClick();
        else if (name == u"Hilfethemen1")
            Hilfethemen1Click();
        else if (name == u"Infober1")
            Infober1Click();
        else if (name == u"Messwerte")
            MesswerteClick();
        else if (name == u"Mittelwert")
            MittelwertClick();
    });
}

bool TMainForm::FormCreate() {
    AppState &s = m_state;
    s.FirstPaintPending = true;
    s.BaseFolder = withSlash(QDir::currentPath());
    s.DataFolder = s.BaseFolder + QStringLiteral("Glykovalin-Daten/");
    s.BrowserFolder = s.BaseFolder + QStringLiteral("Glykovalin-Daten im Browser/");
    s.SettingsPath = s.BaseFolder + QStringLiteral("glykoval.ini");

    struct Folder {
        QString path;
        const char *name;
    };
    for (const Folder &f : {Folder{s.DataFolder, "Glykovalin-Daten"},
                            Folder{s.BrowserFolder, "Glykovalin-Daten im Browser"}}) {
        if (!FolderExists(f.path) && !ForceFolders(f.path))
            ui::showMessage(QStringLiteral("Ordner \"%1\" konnte nicht erstellt werden! ")
                                .arg(QString::fromLatin1(f.name)));
        if (!FolderExists(f.path)) {
            ui::showInformation(QStringLiteral("Ordner: ") + f.path +
                                QStringLiteral("\" existiert nicht! ") +
                                QStringLiteral(" Das Programm wird beendet."));
            return false;
        }
    }

    // Temporary files an interrupted save left beside the user's files.
    strayfiles::removeLeftovers(s.BaseFolder, s.DataFolder, s.BrowserFolder);

    Image->setPicture(QImage(200, 200, QImage::Format_RGB32));
    Image->picture().fill(Qt::white);

    const SettingsStore st = settings();
    bool ok = convert::guarded([&] {
        applyModeTicks(st.flag(keys::BisZu4), st.flag(keys::BisZu8));
        const QString header = st.get(keys::Header);
        if (!header.isEmpty() && QFileInfo(s.BaseFolder + header).isFile())
            s.HeaderImagePath = s.BaseFolder + header;
        const QString curve = st.get(keys::KurvenFarbe);
        if (!curve.isEmpty()) s.CurveColor = quint32(convert::toInt(curve, keys::KurvenFarbe));
        const QString mean = st.get(keys::MittelKurvenFarbe);
        if (!mean.isEmpty())
            s.MeanCurveColor = quint32(convert::toInt(mean, keys::MittelKurvenFarbe));
        const QString format = st.get(keys::Grafikformat);
        if (!format.isEmpty()) s.PrintFormat = format;
    });
    (void)ok;

    M_einheit_Image->loadPicture(s.BaseFolder + QStringLiteral("M_einheit.bmp"));
    Image2->loadPicture(s.HeaderImagePath);
    Image->loadPicture(s.GraphTemplatePath);
    return true;
}

void TMainForm::applyModeTicks(bool four, bool eight) {
    const SettingsStore st = settings();
    AppState &s = m_state;
    auto apply = [&](const QString &actionName, bool on, const QString &pictureKey) {
        menuAction(actionName)->setChecked(on);
        if (!on) return;
        const QString pic = st.get(pictureKey);
        if (!pic.isEmpty() && QFileInfo(s.BaseFolder + pic).isFile())
            s.GraphTemplatePath = s.BaseFolder + pic;
    };
    apply(QStringLiteral("biszu4MessungenjeTag"), four, keys::Grafik4);
    apply(QStringLiteral("biszu8MessungenjeTag"), eight, keys::Grafik8);
    s.FourSlotsTicked = four;
    s.EightSlotsTicked = eight;
}

void TMainForm::showEvent(QShowEvent *e) {
    QMainWindow::showEvent(e);
    if (m_state.FirstPaintPending)
        QTimer::singleShot(0, this, [this] {
            if (m_state.FirstPaintPending) FirstPaint();
        });
}

void TMainForm::FirstPaint() {
    AppState &s = m_state;
    s.FirstPaintPending = false;
    const SettingsStore st = settings();
    convert::guarded([&] {
        const QString valueColor = st.get(keys::DatenwerteOberhalbFarbe);
        if (!valueColor.isEmpty()) {
            s.AboveValuesColor = quint32(convert::toInt(valueColor, keys::DatenwerteOberhalbFarbe));
            m_options->setValueColor(s.AboveValuesColor);
        } else {
            s.AboveValuesColor = 0;
        }
        m_options->setValuesAboveCurve(st.flag(keys::WerteOberhalbKurveAnzeigen));
        m_options->setBreakLineAtZero(st.flag(keys::LinieBeiNullUnterbrechen));
        s.ConnectAcrossZero = !m_options->breakLineAtZero();
        s.CarbUnitIsBE = st.flag(keys::BE_Einheit);
        m_options->setCarbUnitBE(s.CarbUnitIsBE);
        m_options->setTherapyCT(st.flag(keys::CT_Therapie));

        s.LastScrollPosition =
            st.number(keys::LetzteHScrollPosition, defaults::LetzteHScrollPosition);
        s.LastClickPosition = st.number(keys::LetzteKlickPosition, defaults::LetzteKlickPosition);

        const int top = st.number(keys::FensterPosTop, defaults::FensterPosTop);
        const int left = st.number(keys::FensterPosLinks, defaults::FensterPosLinks);
        const int width = st.number(keys::FensterBreite, defaults::FensterBreite);
        int height = st.number(keys::FensterHoehe, defaults::FensterHoehe);

        const bool diary = st.flag(keys::Tagebuch_sichtbar);
        menuAction(QStringLiteral("AllegespeichertenTagebuchseitendrucken1"))->setEnabled(diary);
        RichEdit1->setVisible(diary);
        // The day marker appears with the first selected day.
        Pfeilimage->setVisible(diary && m_state.CurrentPageDay > 0);
        m_options->setDiaryVisible(diary);
        if (!diary) height = 590;
        setGeometry(left, top, width, height);
        move(left, top);
    });
    formScroll->horizontalScrollBar()->setSingleStep(10);
    formScroll->horizontalScrollBar()->setValue(0);
    formScroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    LayoutControls();

    const QString name = st.get(keys::BenutzerName);
    if (name.isEmpty()) {
        if (hooks.askUserName) hooks.askUserName();
        return;
    }
    Label1->setText(QStringLiteral("von ") + name);
    s.TableUserName = name;
    if (hooks.setEntryHeading) hooks.setEntryHeading(QStringLiteral("Messwerte von ") + name);
    const QString table = st.get(keys::TabellenDateiName);
    if (table.isEmpty() || !QFileInfo(table).isFile()) return;
    if (hooks.attachDiary) hooks.attachDiary(table);
    s.CurrentTablePath = table;
    if (hooks.drawMonth) hooks.drawMonth(table);
}

void TMainForm::LayoutControls() {
    // The readout line sits right under the graph picture.
    StatusLabel->move(StatusLabel->x(), Image->y() + Image->height() + 2);
    const int sum = StatusLabel->y() + StatusLabel->height() + 20;
    const int contentWidth = std::max(Image->x() + Image->width(), formScroll->viewport()->width());
    ScrollBox1->setGeometry(0, Panel1->height(), contentWidth, sum);
    Panel1->resize(contentWidth, 27);
    client->resize(contentWidth, Panel1->height() + sum);
    if (!RichEdit1->isVisible() || m_diaryHeightChosen) return;
    // The graph as tall as it is, the page the rest; a short window gives
    // the page its room and lets the graph scroll.
    const int scrollBar = formScroll->horizontalScrollBar()->sizeHint().height();
    const int total = m_split->height() - m_split->handleWidth();
    const int graph = std::max(80, std::min(client->height() + scrollBar, total - kDiaryMinimum));
    m_split->setSizes({graph, std::max(0, total - graph)});
}

void TMainForm::FormResize() {
    LayoutControls();
    if (isMaximized()) M_einheit_Image->move(0, M_einheit_Image->y());
    if (m_state.GraphShown && hooks.repinGraph) hooks.repinGraph();
}

void TMainForm::resizeEvent(QResizeEvent *e) {
    QMainWindow::resizeEvent(e);
    FormResize();
}

void TMainForm::LiesUhrzeitenEin() {
    const MeasurementSlot slot = hooks.currentSlot ? hooks.currentSlot() : MeasurementSlot::Morgens;
    const MeasureMode mode = m_state.mode();
    const QString time = settings().get(slotinfo::timeKey(slot, mode));
    if (hooks.setEntryTime)
        hooks.setEntryTime(time);
    else
        entryTimeText = time;
}

void TMainForm::switchMode(bool toEight, bool fromFourEntry) {
    applyModeTicks(!toEight, toEight);
    if (fromFourEntry) {
        if (hooks.reselectDay) hooks.reselectDay();
        LiesUhrzeitenEin();
        redrawMonth();
        FormResize();
    } else {
        m_state.clearDayLineTexts();
        m_state.MeanMode = false;
        LiesUhrzeitenEin();
        m_state.SkipNextReselect = true;
        redrawMonth();
        FormResize();
        if (hooks.reselectDay) hooks.reselectDay();
    }
}

void TMainForm::biszu4MessungenjeTagClick() {
    const bool ticked = m_state.FourSlotsTicked;
    switchMode(ticked, true);
}

void TMainForm::biszu8MessungenjeTagClick() {
    const bool ticked = m_state.EightSlotsTicked;
    switchMode(!ticked, false);
}

void TMainForm::MesswerteClick() {
    AppState &s = m_state;
    s.SkipNextReselect = true;
    s.MeanMode = false;
    if (!s.OverlayBuilding) s.KeepPicture = false;
    if (isMaximized() || isMinimized()) QTimer::singleShot(0, this, [this] { showNormal(); });
    s.MeanPass = false;
    redrawMonth();
}

void TMainForm::redrawMonth() {
    // Only a month that is stored can be shown again.
    const QString table = m_state.CurrentTablePath;
    if (table.isEmpty() || !QFileInfo(table).isFile()) {
        m_state.SkipNextReselect = false;
        return;
    }
    if (hooks.drawMonth) hooks.drawMonth(table);
}

void TMainForm::MittelwertClick() {
    AppState &s = m_state;
    s.MeanMode = true;
    Image->loadPicture(s.GraphTemplatePath);
    s.OverlayBuilding = true;
    s.KeepPicture = true;
    MesswerteClick();
    // The monthly-mean pass over the curve just drawn.
    s.SkipNextReselect = true;
    s.MeanMode = true;
    if (!s.OverlayBuilding) s.KeepPicture = false;
    if (isMaximized() || isMinimized()) QTimer::singleShot(0, this, [this] { showNormal(); });
    s.MeanPass = true;
    redrawMonth();
    s.MeanPass = false;
    s.OverlayBuilding = false;
}

void TMainForm::Hilfethemen1Click() {
    const QString page = m_state.BaseFolder + QStringLiteral("Glykovalin-Hilfe.htm");
    if (!QFileInfo(page).isFile()) {
        ui::showWarning(QStringLiteral("Die Hilfeseite wurde nicht gefunden. Sie gehört in den "
                                       "Ordner des Programms:\n%1")
                            .arg(QDir::toNativeSeparators(page)));
        return;
    }
    if (!ui::services().shellOpen(QStringLiteral("Glykovalin-Hilfe.htm")))
        ui::showWarning(QStringLiteral("Die Hilfeseite konnte nicht geöffnet werden, weil kein "
                                       "Programm zum Anzeigen von HTML-Seiten gefunden wurde. "
                                       "Sie können sie selbst in Ihrem Browser öffnen:\n%1")
                            .arg(QDir::toNativeSeparators(page)));
}

void TMainForm::Infober1Click() {
    if (m_about) m_about->exec();
}

bool TMainForm::FormClose() {
    if (m_closed) return true;
    if (hooks.closeDiary) {
        if (!hooks.closeDiary()) return false;
    } else {
        RichEdit1->clear();
    }
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
    if (!m_state.CurrentTablePath.isEmpty()) put(keys::TabellenDateiName, m_state.CurrentTablePath);
    put(keys::BisZu4,
        convert::flagText(menuAction(QStringLiteral("biszu4MessungenjeTag"))->isChecked()));
    put(keys::BisZu8,
        convert::flagText(menuAction(QStringLiteral("biszu8MessungenjeTag"))->isChecked()));
    put(keys::LetzteHScrollPosition, QString::number(m_state.LastScrollPosition));
    put(keys::LetzteKlickPosition, QString::number(m_state.LastClickPosition));
    put(keys::FensterPosTop, QString::number(isMaximized() ? g.top() : y()));
    put(keys::FensterPosLinks, QString::number(isMaximized() ? g.left() : x()));
    const SettingsStore st = settings();
    QString error;
    // A read-only settings file has had its notice; its writes are lost quietly.
    if (!st.write(state, &error) && !st.isReadOnly())
        ui::showWarning(error + QStringLiteral("\nDie Fenstereinstellungen dieser Sitzung wurden "
                                               "nicht gespeichert."));
    return true;
}

void TMainForm::closeEvent(QCloseEvent *e) {
    if (FormClose())
        e->accept();
    else
        e->ignore();
}
