#include "eingabedlg.h"

#include <QDate>
#include <QEvent>
#include <QFile>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>

#include "platform/ui.h"
#include "storage/appstate.h"
#include "storage/convert.h"
#include "storage/monthtable.h"
#include "storage/settingsstore.h"
#include "tablebuilder.h"

void SpinEdit::setFieldText(const QString &t) {
    bool ok = false;
    const int v = t.trimmed().toInt(&ok);
    if (ok) setValue(v);
}

QString SpinEdit::textFromValue(int value) const {
    return QStringLiteral("%1").arg(value, m_digits, 10, QLatin1Char('0'));
}

namespace entrydlg {

int daysInMonth(int month, const QString &year) {
    static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12) return 31;
    int y = year.right(2).toInt();
    y += y < 50 ? 2000 : 1900;
    if (month == 2 && QDate::isLeapYear(y)) return 29;
    return days[month - 1];
}

MeasurementSlot slotAfterRestore(MeasurementSlot stored, MeasureMode mode) {
    if (stored == MeasurementSlot::Messung3 && mode == MeasureMode::Four)
        return MeasurementSlot::Abends;
    return slotinfo::next(stored, MeasureMode::Eight);
}

MeasurementSlot slotButtonNext(MeasurementSlot s, MeasureMode mode) {
    if (mode == MeasureMode::Four && !slotinfo::usedIn(s, MeasureMode::Four)) return s;
    return slotinfo::next(s, mode);
}

QString stepTimeText(const QString &time, bool up) {
    const qsizetype colon = time.indexOf(u':');
    const QString what = QStringLiteral("Uhrzeit");
    int h = convert::toInt(colon >= 0 ? time.left(colon) : time, what);
    int m = convert::toInt(colon >= 0 ? time.mid(colon + 1) : QString(), what);
    if (up) {
        m += 10;
        if (m == 60) {
            m = 0;
            if (h < 24) ++h;
        }
    } else {
        m -= 10;
        if (m < 0) {
            if (h == 0) {
                h = 24;
                m = 0;
            } else {
                m = 50;
                --h;
            }
        }
    }
    if (h == 24 && m > 0) h = 0;
    return QStringLiteral("%1:%2").arg(h, 2, 10, QLatin1Char('0')).arg(m, 2, 10, QLatin1Char('0'));
}

} // namespace entrydlg

namespace {

const QString kNoEntryYet =
    QStringLiteral("Sie haben noch keinen Messwert eingetragen! Betätigen Sie bitte den Schalter "
                   "\"In Liste aufnehmen\"!");

QFont boldFont(int pixels = 0) {
    QFont f;
    f.setBold(true);
    if (pixels > 0) f.setPixelSize(pixels);
    return f;
}

const QString kGreen = QStringLiteral("color: rgb(0,128,0);");
const QString kGrey = QStringLiteral("color: rgb(128,128,128);");

} // namespace

TEingabeDlg::TEingabeDlg(QWidget *parent) : QDialog(parent) {
    setObjectName(QStringLiteral("EingabeDlg"));
    setWindowTitle(QStringLiteral("Eingabe der Glykovalinmesswerte"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowStaysOnTopHint | Qt::MSWindowsFixedSizeDialogHint);
    setFixedSize(551, 340);

    auto label = [this](const char *name, const QString &text, QRect r) {
        auto *l = new QLabel(text, this);
        l->setObjectName(QString::fromLatin1(name));
        l->setGeometry(r);
        return l;
    };
    Label4 = label("Label4", QString(), QRect(8, 6, 535, 20));
    Label4->setFont(boldFont(13));
    Label3 = label("Label3", QString(), QRect(8, 28, 535, 18));

    ListBox1 = new QListWidget(this);
    ListBox1->setObjectName(QStringLiteral("ListBox1"));
    ListBox1->setGeometry(8, 52, 289, 212);

    BitBtn3 = new QPushButton(this);
    BitBtn3->setObjectName(QStringLiteral("BitBtn3"));
    BitBtn3->setFont(boldFont());
    BitBtn3->setGeometry(312, 52, 110, 28);

    Edit1 = new QLineEdit(this);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    QFont tf = boldFont(16);
    Edit1->setFont(tf);
    Edit1->setStyleSheet(kGreen);
    Edit1->setGeometry(432, 52, 80, 28);
    SpinButton1 = new QWidget(this);
    SpinButton1->setObjectName(QStringLiteral("SpinButton1"));
    SpinButton1->setGeometry(514, 52, 20, 28);
    SpinButton1Up = new QToolButton(SpinButton1);
    SpinButton1Up->setObjectName(QStringLiteral("SpinButton1Up"));
    SpinButton1Up->setArrowType(Qt::UpArrow);
    SpinButton1Up->setGeometry(0, 0, 20, 14);
    SpinButton1Down = new QToolButton(SpinButton1);
    SpinButton1Down->setObjectName(QStringLiteral("SpinButton1Down"));
    SpinButton1Down->setArrowType(Qt::DownArrow);
    SpinButton1Down->setGeometry(0, 14, 20, 14);

    Label2 = label("Label2", QStringLiteral("Tag              Monat            Jahr"),
                   QRect(312, 92, 230, 16));
    auto spin = [this](const char *name, int digits, int lo, int hi, int start, QRect r) {
        auto *s = new SpinEdit(digits, this);
        s->setObjectName(QString::fromLatin1(name));
        s->setRange(lo, hi);
        s->setValue(start);
        s->setFont(boldFont());
        s->setStyleSheet(kGreen);
        s->setGeometry(r);
        return s;
    };
    // Until a reading is restored or a month is read, the fields show today.
    const QDate today = QDate::currentDate();
    SpinEdit1 = spin("SpinEdit1", 2, 1, 31, today.day(), QRect(312, 110, 64, 26));
    SpinEdit2 = spin("SpinEdit2", 2, 1, 12, today.month(), QRect(388, 110, 64, 26));
    SpinEdit3 = spin("SpinEdit3", 1, 1900, 9999, today.year(), QRect(464, 110, 76, 26));
    Label1 = label("Label1", QStringLiteral("Glykovalinmeßwert mg/dl"), QRect(312, 146, 230, 16));
    SpinEdit4 = spin("SpinEdit4", 1, 0, 500, 140, QRect(312, 164, 100, 26));
    SpinEdit4->setToolTip(QStringLiteral("Geben sie hier den Glykovalinmesswert ein."));
    SpinEdit4->installEventFilter(this);
    if (SpinEdit4->findChild<QLineEdit *>())
        SpinEdit4->findChild<QLineEdit *>()->installEventFilter(this);

    auto button = [this](const char *name, const QString &text, QRect r, bool bold) {
        auto *b = new QPushButton(text, this);
        b->setObjectName(QString::fromLatin1(name));
        b->setGeometry(r);
        b->setAutoDefault(false);
        if (bold) b->setFont(boldFont());
        return b;
    };
    BitBtn1 =
        button("BitBtn1", QStringLiteral("In Liste &aufnehmen"), QRect(312, 200, 228, 28), true);
    BitBtn2 =
        button("BitBtn2", QStringLiteral("Eintrag &bearbeiten"), QRect(312, 236, 228, 28), true);
    OKBtn = button("OKBtn", QStringLiteral("&Grafik zeigen"), QRect(8, 290, 140, 30), false);
    OKBtn->setDefault(true);
    BitBtn4 = button("BitBtn4", QStringLiteral("&Tabelle zeigen"), QRect(160, 290, 140, 30), false);

    auto guard = [](auto fn) { return [fn] { convert::guarded(fn); }; };
    connect(BitBtn1, &QPushButton::clicked, this, guard([this] { BitBtn1Click(); }));
    connect(BitBtn2, &QPushButton::clicked, this, guard([this] { BitBtn2Click(); }));
    connect(BitBtn3, &QPushButton::clicked, this, guard([this] { BitBtn3Click(); }));
    connect(OKBtn, &QPushButton::clicked, this, guard([this] { OKBtnClick(); }));
    connect(BitBtn4, &QPushButton::clicked, this, guard([this] { BitBtn4Click(); }));
    connect(SpinButton1Up, &QToolButton::clicked, this, guard([this] { SpinButton1UpClick(); }));
    connect(SpinButton1Down, &QToolButton::clicked, this,
            guard([this] { SpinButton1DownClick(); }));
    connect(SpinEdit1, &QSpinBox::textChanged, this, [this] { SpinEdit1Change(); });
    connect(SpinEdit2, &QSpinBox::textChanged, this, [this] { SpinEdit2Change(); });
    connect(SpinEdit3, &QSpinBox::textChanged, this, [this] { SpinEdit3Change(); });

    BitBtn3->setText(slotinfo::displayLabel(m_slot));
}

void TEingabeDlg::setCurrentSlot(MeasurementSlot s) {
    m_slot = s;
    BitBtn3->setText(slotinfo::displayLabel(s));
}

QStringList TEingabeDlg::entries() const {
    QStringList l;
    for (int i = 0; i < ListBox1->count(); ++i)
        l << ListBox1->item(i)->text();
    return l;
}

void TEingabeDlg::setEntries(const QStringList &lines) {
    ListBox1->clear();
    ListBox1->addItems(lines);
}

void TEingabeDlg::clearEntries() {
    ListBox1->clear();
}

void TEingabeDlg::appendEntry(const QString &line) {
    ListBox1->addItem(line);
}

// The fields as shown, so a line without some marker leaves those unchanged.
entryline::Fields TEingabeDlg::fieldsShown() const {
    entryline::Fields f;
    f.day = SpinEdit1->fieldText();
    f.month = SpinEdit2->fieldText();
    f.year = SpinEdit3->fieldText();
    f.time = Edit1->text();
    f.value = SpinEdit4->fieldText();
    return f;
}

void TEingabeDlg::FormCreate() {
    const SettingsStore st(appState().SettingsPath);
    const QString last = st.get(keys::LetzteEingabe);
    if (!last.isEmpty() && last.contains(QStringLiteral("den "))) {
        m_lastEntryLine = last;
        MeasurementSlot stored;
        if (entryline::slotOf(last, stored))
            m_slot = entrydlg::slotAfterRestore(stored, appState().mode());
        entryline::Fields f = fieldsShown();
        entryline::split(last, f);
        SpinEdit2->setFieldText(f.month);
        SpinEdit3->setFieldText(f.year);
        SpinEdit1->setFieldText(f.day);
        Edit1->setText(f.time);
        SpinEdit4->setFieldText(f.value);
        if (entryline::slotOf(last, stored) && stored == MeasurementSlot::Abends) {
            const int day = SpinEdit1->value();
            if (day < entrydlg::daysInMonth(SpinEdit2->value(), SpinEdit3->fieldText()))
                SpinEdit1->setValue(day + 1);
        }
    }
    setCurrentSlot(m_slot);
}

void TEingabeDlg::paintEvent(QPaintEvent *e) {
    QDialog::paintEvent(e);
    FormPaint();
}

void TEingabeDlg::FormPaint() {
    const QString caption =
        appState().EightSlotsTicked
            ? QStringLiteral("Eingabe der Glykovalinmesswerte - Bis zu 8 Messungen je Tag")
            : QStringLiteral("Eingabe der Glykovalinmesswerte - Bis zu 4 Messungen je Tag");
    if (windowTitle() != caption) setWindowTitle(caption);
    // Day and month always show two digits (SpinEdit's own formatting).
    if (appState().ShowTableOnOpen) {
        appState().ShowTableOnOpen = false;
        // Not from inside the paint: the table button closes this dialog.
        QTimer::singleShot(0, this, [this] { convert::guarded([this] { BitBtn4Click(); }); });
    }
}

bool TEingabeDlg::eventFilter(QObject *o, QEvent *e) {
    if (e->type() == QEvent::KeyPress) {
        auto *k = static_cast<QKeyEvent *>(e);
        if (k->key() == Qt::Key_Return || k->key() == Qt::Key_Enter) {
            SpinEdit4->interpretText();
            convert::guarded([this] {
                BitBtn1Click();
                MarkierEintragInListe();
            });
            return true;
        }
    }
    return QDialog::eventFilter(o, e);
}

void TEingabeDlg::SpinEdit1Change() {
    MarkierEintragInListe();
}

void TEingabeDlg::SpinEdit2Change() {
    if (m_inMonthChange) return;
    m_inMonthChange = true;
    const QString entryMonth = appState().EntryMonth;
    if (ListBox1->count() > 0 && SpinEdit2->fieldText() != entryMonth) {
        SpinEdit2->setFieldText(entryMonth);
        SpinEdit2->setStyleSheet(kGrey);
    } else if (SpinEdit2->fieldText() == entryMonth) {
        SpinEdit2->setStyleSheet(kGreen);
    }
    m_inMonthChange = false;
}

void TEingabeDlg::SpinEdit3Change() {
    // The field only accepts 1900..9999, so its text always has four digits.
    if (ListBox1->count() == 0) return;
    QString last = ListBox1->item(ListBox1->count() - 1)->text();
    qsizetype p = last.indexOf(u'.');
    if (p < 0) return;
    last = last.mid(p + 1);
    p = last.indexOf(u'.');
    if (p < 0) return;
    m_yearMismatch = last.mid(p + 1, 4) != SpinEdit3->fieldText();
}

void TEingabeDlg::BitBtn3Click() {
    setCurrentSlot(entrydlg::slotButtonNext(m_slot, appState().mode()));
    if (callbacks.liesUhrzeitenEin) callbacks.liesUhrzeitenEin();
    MarkierEintragInListe();
}

void TEingabeDlg::stepTime(bool up) {
    Edit1->setText(entrydlg::stepTimeText(Edit1->text(), up));
}

void TEingabeDlg::SpinButton1UpClick() {
    stepTime(true);
}

void TEingabeDlg::SpinButton1DownClick() {
    stepTime(false);
}

void TEingabeDlg::BitBtn1Click() {
    AppState &s = appState();
    const QString year = SpinEdit3->fieldText();
    if (m_yearMismatch) {
        ui::showInformation(
            QStringLiteral("Überprüfen Sie bitte die Jahresangabe \"") + year +
            QStringLiteral("\" sie stimmt nicht mit den bisherigen Eintragungen überein!\r\n"
                           "Wenn Sie eine Tabelle für ein neues Jahr beginnen möchten, dann "
                           "betätigen Sie den Schalter \r\n\"OK/Grafik zeigen\" und wählen den "
                           "Menüpunkt \"Tabelle|neu erstellen (neuer Monat oder Jahr)\"\r\noder "
                           "den Menüpunkt \"Datei|neu erstellen (neuer Monat oder Jahr)\""));
        return;
    }
    s.EntryMonth = SpinEdit2->fieldText();
    s.EntryYear = year;
    const QString day = SpinEdit1->fieldText();
    const QString month = SpinEdit2->fieldText();
    const QString line =
        entryline::format(m_slot, day, month, year, Edit1->text(), SpinEdit4->fieldText());
    m_lastEntryLine = line;
    if (ListBox1->count() > 0 &&
        !ListBox1->item(ListBox1->count() - 1)->text().contains(year.trimmed())) {
        ui::showInformation(QStringLiteral("Überprüfen Sie bitte die Jahreszahl ") + year +
                            QStringLiteral(" Sie stimmt nicht ") +
                            QStringLiteral("mit den bisherigen Eintragungen überein!"));
        return;
    }
    const QString start = line.left(line.indexOf(QStringLiteral(" Z=")));
    for (int i = 0; i < ListBox1->count(); ++i) {
        if (!ListBox1->item(i)->text().contains(start)) continue;
        if (ui::askYesNo(QStringLiteral("Ein Eintrag mit dem Datum: ") + currentSlotPrefix() + day +
                         u'.' + month + u'.' + year +
                         QStringLiteral(" existiert schon in der Liste. Soll er ersetzt werden?")))
            ListBox1->item(i)->setText(line);
        else
            m_lastEntryLine.clear();
        MarkierEintragInListe();
        return;
    }
    QStringList l = entries();
    l.append(line);
    setEntries(tablebuilder::sortEntries(l));
    ListBox1->setFocus();
    ListBox1->setCurrentRow(ListBox1->count() - 1);
    BitBtn3Click();
}

void TEingabeDlg::BitBtn2Click() {
    const int row = ListBox1->currentRow();
    if (row < 0 || !ListBox1->currentItem() || !ListBox1->currentItem()->isSelected()) {
        ui::showInformation(QStringLiteral(
            "Sie müssen zuerst einen Eintrag in der Liste durch Anklicken auswählen!"));
        return;
    }
    const QString question = QStringLiteral(
        "Der Messwert des ausgewählten Eintrags wird in der Liste auf 0 gesetzt und die "
        "einzelnen Werte in die Eingabefelder zum Bearbeiten eingetragen. Wenn Sie die 0 nicht "
        "ändern und auch nicht den Schalter \"In Liste aufnehmen\" betätigen,wird in der Grafik "
        "an dieser Stelle der vorherige Messwert gezeichnet. Es würde sonst seltsam aussehen "
        "wenn die Kurve auf 0 gehen wurde. Möchten Sie das?");
    if (ui::services().message(ui::Kind::Information, ui::Buttons::YesNo, question) !=
        ui::Answer::Yes)
        return;
    if (row == 0) {
        ui::showInformation(QStringLiteral(
            "Der erste Eintrag der Liste muss einen Messwert haben und kann nicht 0 sein!"));
        return;
    }
    const QString before = ListBox1->item(row)->text();
    QString item = before;
    const qsizetype p = item.indexOf(QStringLiteral("ZuckerWert="));
    if (p >= 0) item.remove(p + 11, 3);
    item += u'0';
    ListBox1->item(row)->setText(item);
    MeasurementSlot slot;
    if (entryline::slotOf(before, slot)) setCurrentSlot(slot);
    entryline::Fields f = fieldsShown();
    entryline::split(before, f);
    SpinEdit3->setFieldText(f.year);
    SpinEdit1->setFieldText(f.day);
    Edit1->setText(f.time);
    SpinEdit4->setFieldText(f.value);
}

void TEingabeDlg::MarkierEintragInListe() {
    if (!appState().GraphShown) return;
    QString word = BitBtn3->text();
    word.remove(u'&');
    if (word.startsWith(QStringLiteral("Messung "))) word.remove(u' ');
    const QString date =
        SpinEdit1->fieldText() + u'.' + SpinEdit2->fieldText() + u'.' + SpinEdit3->fieldText();
    bool hit = false;
    for (int i = 0; i < ListBox1->count(); ++i) {
        const QString t = ListBox1->item(i)->text();
        if (t.contains(word) && t.contains(date)) {
            ListBox1->setFocus();
            ListBox1->setCurrentRow(i);
            hit = true;
        }
    }
    if (!hit) {
        ListBox1->clearSelection();
        ListBox1->setCurrentRow(-1);
        BitBtn3->setFocus();
    }
}

void TEingabeDlg::GrafikZeigen() {
    AppState &s = appState();
    if (ListBox1->count() == 0) {
        s.EntryMonth = SpinEdit2->fieldText();
        s.EntryYear = SpinEdit3->fieldText();
    }
    monthtable::WriteRequest req;
    req.entries = entries();
    req.userName = s.TableUserName;
    req.month = s.EntryMonth;
    req.year = s.EntryYear;
    req.fourSlots = s.FourSlotsTicked;
    req.eightSlots = s.EightSlotsTicked;
    req.currentTablePath = s.CurrentTablePath;
    req.dataFolder = s.DataFolder;
    const monthtable::WriteResult written = monthtable::write(req);
    for (const monthtable::Notice &n : written.notices)
        ui::services().message(n.kind, ui::Buttons::Ok, n.text);
    if (!written) return;
    const QString &path = written.path;
    s.EntryMonthName = GibMonatLang(s.EntryMonth.toInt());
    const SettingsStore st(s.SettingsPath);
    st.set(keys::BenutzerName, s.TableUserName);
    st.set(keys::LetzteEingabe, m_lastEntryLine);
    st.set(slotinfo::timeKey(m_slot, s.mode()), Edit1->text());
    if (callbacks.liesUhrzeitenEin) callbacks.liesUhrzeitenEin();
    s.clearDayLineTexts();
    if (callbacks.drawMonth) callbacks.drawMonth(path);
}

bool TEingabeDlg::refuseEmptyList() {
    if (ListBox1->count() > 0) return false;
    ui::showMessage(kNoEntryYet);
    return true;
}

bool TEingabeDlg::confirmReplaceFile() {
    // Only a new month can meet a file it did not come from.
    const AppState &s = appState();
    if (!s.NewMonthPending) return true;
    QString initials;
    if (!monthtable::initialsOf(s.TableUserName, initials)) return true;
    const QString path = monthtable::pathFor(s.DataFolder, initials, s.EntryMonth, s.EntryYear);
    QStringList lines;
    if (!QFile::exists(path) || !monthtable::readLines(path, lines)) return true;
    const QStringList list = entries();
    bool allThere = true;
    for (const QString &l : monthtable::entryLines(lines))
        if (!list.contains(l)) allThere = false;
    if (allThere) return true;
    const QString text = QStringLiteral("Eine Tabelle mit Namen: ") + initials + s.EntryMonth +
                         s.EntryYear + QStringLiteral(".tab") +
                         QStringLiteral(" existiert schon! ") +
                         QStringLiteral("Alle Messwerte darin werden gelöscht! Möchten Sie das?");
    return ui::services().message(ui::Kind::Warning, ui::Buttons::YesNo, text) == ui::Answer::Yes;
}

void TEingabeDlg::finishAfterEntry() {
    AppState &s = appState();
    if (s.ReselectAfterEntry) {
        if (callbacks.reselectDay) callbacks.reselectDay();
        s.ReselectAfterEntry = false;
    }
}

void TEingabeDlg::OKBtnClick() {
    if (refuseEmptyList()) return;
    if (!confirmReplaceFile()) return;
    appState().SkipNextReselect = true;
    GrafikZeigen();
    if (callbacks.afterGraph) callbacks.afterGraph();
    finishAfterEntry();
    if (callbacks.layoutMainWindow) callbacks.layoutMainWindow();
    close();
}

QString TEingabeDlg::tableText() const {
    const AppState &s = appState();
    tablebuilder::TableInput in;
    in.entries = entries();
    in.monthName =
        s.EntryMonthName.isEmpty() ? GibMonatLang(s.EntryMonth.toInt()) : s.EntryMonthName;
    in.year = s.EntryYear;
    in.userName = s.TableUserName;
    in.fourSlots = s.FourSlotsTicked;
    in.eightSlots = s.EightSlotsTicked;
    return tablebuilder::TableText(in);
}

void TEingabeDlg::BitBtn4Click() {
    if (refuseEmptyList()) return;
    if (!confirmReplaceFile()) return;
    appState().SkipNextReselect = true;
    GrafikZeigen();
    const QString text = tableText();
    finishAfterEntry();
    if (callbacks.showTableWindow) callbacks.showTableWindow(text);
    close();
}

void TEingabeDlg::showNonModal() {
    setModal(false);
    show();
    raise();
    activateWindow();
}

void TEingabeDlg::showModally() {
    if (callbacks.runModal) {
        callbacks.runModal(this);
        return;
    }
    exec();
}
