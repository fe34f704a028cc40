#include "eingabedlg.h"

#include <QApplication>
#include <QBoxLayout>
#include <QDate>
#include <QEvent>
#include <QFile>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSet>
#include <QTimer>
#include <QToolButton>

#include "platform/convert.h"
#include "platform/ui.h"
#include "storage/monthmodel.h"
#include "storage/monthtable.h"
#include "storage/settingsstore.h"
#include "tablebuilder.h"

void SpinEdit::setFieldText(const QString &t) {
    bool ok = false;
    const int v = t.trimmed().toInt(&ok);
    if (ok) setValue(v);
}

void SpinEdit::setStepRange(int lo, int hi) {
    m_stepLow = lo;
    m_stepHigh = hi;
}

void SpinEdit::stepBy(int steps) {
    if (m_stepHigh < m_stepLow) {
        QSpinBox::stepBy(steps);
        return;
    }
    setValue(std::clamp(value() + steps * singleStep(), m_stepLow, m_stepHigh));
    selectAll();
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

bool validTime(const QString &time) {
    if (time.size() != 5 || time.at(2) != u':') return false;
    for (int i : {0, 1, 3, 4})
        if (!time.at(i).isDigit() || time.at(i).unicode() > '9') return false;
    const int h = time.left(2).toInt(), m = time.mid(3).toInt();
    return m <= 59 && (h < 24 || (h == 24 && m == 0));
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

namespace {

QLabel *namedLabel(QWidget *parent, const char *name, const QString &text) {
    auto *l = new QLabel(text, parent);
    l->setObjectName(QString::fromLatin1(name));
    return l;
}

// A date or value field in the dialog's bold green.
SpinEdit *namedSpin(QWidget *parent, const char *name, int digits, int lo, int hi, int start) {
    auto *s = new SpinEdit(digits, parent);
    s->setObjectName(QString::fromLatin1(name));
    s->setRange(lo, hi);
    s->setValue(start);
    s->setFont(boldFont());
    s->setStyleSheet(kGreen);
    return s;
}

QPushButton *namedButton(QWidget *parent, const char *name, const QString &text, bool bold) {
    auto *b = new QPushButton(text, parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setAutoDefault(false);
    if (bold) b->setFont(boldFont());
    return b;
}

QHBoxLayout *row(std::initializer_list<QWidget *> widgets) {
    auto *r = new QHBoxLayout;
    for (QWidget *w : widgets)
        r->addWidget(w);
    return r;
}

} // namespace

TEingabeDlg::TEingabeDlg(MonthModel &model, ui::Services &ui, QWidget *parent)
    : QDialog(parent), m_model(model), m_ui(ui) {
    setObjectName(QStringLiteral("EingabeDlg"));
    setWindowTitle(QStringLiteral("Eingabe der Glykovalinmesswerte"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint | Qt::WindowStaysOnTopHint);
    setSizeGripEnabled(true);
    buildListAndSlot();
    buildFields();
    buildButtons();
    layOut();
    connectControls();
    BitBtn3->setText(slotinfo::displayLabel(m_slot));
}

// Headings, the entry list, the slot button and the time field with its arrows.
void TEingabeDlg::buildListAndSlot() {
    Label4 = namedLabel(this, "Label4", QString());
    Label4->setFont(boldFont(13));
    Label3 = namedLabel(this, "Label3", QString());

    ListBox1 = new QListWidget(this);
    ListBox1->setObjectName(QStringLiteral("ListBox1"));
    // Wide enough for a whole entry line.
    const int lineWidth = ListBox1->fontMetrics().horizontalAdvance(
        QStringLiteral("Messung7 den 31.12.2026 Z=23:50  ZuckerWert=500"));
    ListBox1->setMinimumSize(lineWidth + 40, 212);
    ListBox1->installEventFilter(this);

    BitBtn3 = new QPushButton(this);
    BitBtn3->setObjectName(QStringLiteral("BitBtn3"));
    BitBtn3->setFont(boldFont());
    BitBtn3->setMinimumWidth(110);

    Edit1 = new QLineEdit(this);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setFont(boldFont(16));
    Edit1->setStyleSheet(kGreen);
    Edit1->setFixedWidth(80);
    Edit1->setToolTip(QStringLiteral("Uhrzeit der Messung, zum Beispiel 07:30"));
    SpinButton1 = new QWidget(this);
    SpinButton1->setObjectName(QStringLiteral("SpinButton1"));
    SpinButton1->setFixedSize(20, 28);
    SpinButton1Up = new QToolButton(SpinButton1);
    SpinButton1Up->setObjectName(QStringLiteral("SpinButton1Up"));
    SpinButton1Up->setArrowType(Qt::UpArrow);
    SpinButton1Up->setGeometry(0, 0, 20, 14);
    SpinButton1Down = new QToolButton(SpinButton1);
    SpinButton1Down->setObjectName(QStringLiteral("SpinButton1Down"));
    SpinButton1Down->setArrowType(Qt::DownArrow);
    SpinButton1Down->setGeometry(0, 14, 20, 14);
}

// The date fields and the value field.
void TEingabeDlg::buildFields() {
    Label2 = namedLabel(this, "Label2", QStringLiteral("Tag              Monat            Jahr"));
    // Until a reading is restored or a month is read, the fields show today.
    const QDate today = QDate::currentDate();
    SpinEdit1 = namedSpin(this, "SpinEdit1", 2, 1, 31, today.day());
    SpinEdit2 = namedSpin(this, "SpinEdit2", 2, 1, 12, today.month());
    SpinEdit3 = namedSpin(this, "SpinEdit3", 1, 1900, 9999, today.year());
    Label1 = namedLabel(this, "Label1", QStringLiteral("Glykovalinmeßwert mg/dl"));
    // A typed value above 500 is refused with a message, not cut.
    SpinEdit4 = namedSpin(this, "SpinEdit4", 1, 0, 99999, 140);
    SpinEdit4->setStepRange(0, 500);
    SpinEdit4->setToolTip(QStringLiteral("Geben sie hier den Glykovalinmesswert ein."));
    SpinEdit4->installEventFilter(this);
    if (SpinEdit4->findChild<QLineEdit *>())
        SpinEdit4->findChild<QLineEdit *>()->installEventFilter(this);
}

void TEingabeDlg::buildButtons() {
    BitBtn1 = namedButton(this, "BitBtn1", QStringLiteral("In Liste &aufnehmen"), true);
    BitBtn2 = namedButton(this, "BitBtn2", QStringLiteral("Eintrag &bearbeiten"), true);
    BitBtn5 = namedButton(this, "BitBtn5", QStringLiteral("Eintrag &löschen"), true);
    BitBtn5->setToolTip(QStringLiteral("Löscht den ausgewählten Eintrag (auch mit der Entf-Taste "
                                       "in der Liste)."));
    OKBtn = namedButton(this, "OKBtn", QStringLiteral("&Grafik zeigen"), false);
    OKBtn->setDefault(true);
    BitBtn4 = namedButton(this, "BitBtn4", QStringLiteral("&Tabelle zeigen"), false);
}

// The list on the left, the fields and list buttons on the right, the save
// buttons below.
void TEingabeDlg::layOut() {
    auto *slotRow = row({BitBtn3, Edit1, SpinButton1});
    slotRow->setStretch(0, 1);
    auto *valueRow = row({SpinEdit4});
    valueRow->addStretch(1);
    auto *fields = new QVBoxLayout;
    fields->addLayout(slotRow);
    fields->addSpacing(8);
    fields->addWidget(Label2);
    fields->addLayout(row({SpinEdit1, SpinEdit2, SpinEdit3}));
    fields->addSpacing(8);
    fields->addWidget(Label1);
    fields->addLayout(valueRow);
    fields->addSpacing(8);
    fields->addWidget(BitBtn1);
    fields->addWidget(BitBtn2);
    fields->addWidget(BitBtn5);
    fields->addStretch(1);
    auto *middle = new QHBoxLayout;
    middle->addWidget(ListBox1, 1);
    middle->addLayout(fields);
    auto *bottom = row({OKBtn, BitBtn4});
    bottom->addStretch(1);
    auto *main = new QVBoxLayout(this);
    main->addWidget(Label4);
    main->addWidget(Label3);
    main->addLayout(middle, 1);
    main->addLayout(bottom);
    resize(sizeHint().expandedTo(QSize(551, 340)));
}

void TEingabeDlg::connectControls() {
    auto guard = [this](auto fn) { return [this, fn] { ui::guarded(m_ui, fn); }; };
    connect(BitBtn1, &QPushButton::clicked, this, guard([this] { BitBtn1Click(); }));
    connect(BitBtn2, &QPushButton::clicked, this, guard([this] { BitBtn2Click(); }));
    connect(BitBtn3, &QPushButton::clicked, this, guard([this] { BitBtn3Click(); }));
    connect(BitBtn5, &QPushButton::clicked, this, guard([this] { BitBtn5Click(); }));
    connect(OKBtn, &QPushButton::clicked, this, guard([this] { OKBtnClick(); }));
    connect(BitBtn4, &QPushButton::clicked, this, guard([this] { BitBtn4Click(); }));
    connect(SpinButton1Up, &QToolButton::clicked, this, guard([this] { SpinButton1UpClick(); }));
    connect(SpinButton1Down, &QToolButton::clicked, this,
            guard([this] { SpinButton1DownClick(); }));
    connect(SpinEdit1, &QSpinBox::textChanged, this, [this] { SpinEdit1Change(); });
    connect(SpinEdit2, &QSpinBox::textChanged, this, [this] { SpinEdit2Change(); });
    connect(SpinEdit3, &QSpinBox::textChanged, this, [this] { SpinEdit3Change(); });
    // A date typed digit by digit is marked once it is complete.
    for (SpinEdit *date : {SpinEdit1, SpinEdit2, SpinEdit3})
        connect(date, &QAbstractSpinBox::editingFinished, this,
                [this] { MarkierEintragInListe(); });
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
    const QString last = m_model.settings().get(keys::LetzteEingabe);
    if (!last.isEmpty() && last.contains(QStringLiteral("den "))) {
        m_lastEntryLine = last;
        MeasurementSlot stored;
        if (entryline::slotOf(last, stored))
            m_slot = entrydlg::slotAfterRestore(stored, m_model.mode());
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
        m_model.eightSlotsTicked()
            ? QStringLiteral("Eingabe der Glykovalinmesswerte - Bis zu 8 Messungen je Tag")
            : QStringLiteral("Eingabe der Glykovalinmesswerte - Bis zu 4 Messungen je Tag");
    if (windowTitle() != caption) setWindowTitle(caption);
    // Day and month always show two digits (SpinEdit's own formatting).
    if (m_tableOnShow) {
        m_tableOnShow = false;
        // Not from inside the paint: showing the table closes this dialog.
        QTimer::singleShot(0, this, [this] { ui::guarded(m_ui, [this] { showStoredTable(); }); });
    }
}

bool TEingabeDlg::eventFilter(QObject *o, QEvent *e) {
    if (o == ListBox1 && e->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent *>(e)->key() == Qt::Key_Delete) {
        ui::guarded(m_ui, [this] { BitBtn5Click(); });
        return true;
    }
    if (o != ListBox1 && e->type() == QEvent::KeyPress) {
        auto *k = static_cast<QKeyEvent *>(e);
        if (k->key() == Qt::Key_Return || k->key() == Qt::Key_Enter) {
            SpinEdit4->interpretText();
            ui::guarded(m_ui, [this] {
                BitBtn1Click();
                MarkierEintragInListe();
            });
            return true;
        }
    }
    return QDialog::eventFilter(o, e);
}

void TEingabeDlg::SpinEdit1Change() {
    markWhenComplete(SpinEdit1->fieldText());
}

void TEingabeDlg::markWhenComplete(const QString &dayText) {
    // The first digit of a two-digit day is no day yet.
    if (dayText.trimmed().size() >= 2) MarkierEintragInListe();
}

void TEingabeDlg::SpinEdit2Change() {
    if (m_inMonthChange) return;
    m_inMonthChange = true;
    const QString entryMonth = m_model.entryMonth();
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
    setCurrentSlot(entrydlg::slotButtonNext(m_slot, m_model.mode()));
    LiesUhrzeitenEin();
    MarkierEintragInListe();
}

void TEingabeDlg::stepTime(bool up) {
    if (!entrydlg::validTime(Edit1->text())) {
        // No time to step from: the slot's remembered time, else noon.
        const QString stored =
            m_model.settings().get(slotinfo::timeKey(m_slot, m_model.mode()));
        Edit1->setText(entrydlg::validTime(stored) ? stored : QStringLiteral("12:00"));
        return;
    }
    Edit1->setText(entrydlg::stepTimeText(Edit1->text(), up));
}

void TEingabeDlg::SpinButton1UpClick() {
    stepTime(true);
}

void TEingabeDlg::SpinButton1DownClick() {
    stepTime(false);
}

void TEingabeDlg::BitBtn1Click() {
    const QString year = SpinEdit3->fieldText();
    if (m_yearMismatch) {
        m_ui.showInformation(
            QStringLiteral("Überprüfen Sie bitte die Jahresangabe \"") + year +
            QStringLiteral("\" sie stimmt nicht mit den bisherigen Eintragungen überein!\r\n"
                           "Wenn Sie eine Tabelle für ein neues Jahr beginnen möchten, dann "
                           "betätigen Sie den Schalter \r\n\"OK/Grafik zeigen\" und wählen den "
                           "Menüpunkt \"Tabelle|neu erstellen (neuer Monat oder Jahr)\"\r\noder "
                           "den Menüpunkt \"Datei|neu erstellen (neuer Monat oder Jahr)\""));
        return;
    }
    if (!checkFields()) return;
    m_model.setEntryMonth(SpinEdit2->fieldText(), year);
    const QString day = SpinEdit1->fieldText();
    const QString month = SpinEdit2->fieldText();
    const QString line =
        entryline::format(m_slot, day, month, year, Edit1->text(), SpinEdit4->fieldText());
    m_lastEntryLine = line;
    if (ListBox1->count() > 0 &&
        !ListBox1->item(ListBox1->count() - 1)->text().contains(year.trimmed())) {
        m_ui.showInformation(QStringLiteral("Überprüfen Sie bitte die Jahreszahl ") + year +
                             QStringLiteral(" Sie stimmt nicht ") +
                             QStringLiteral("mit den bisherigen Eintragungen überein!"));
        return;
    }
    const QString start = line.left(line.indexOf(QStringLiteral(" Z=")));
    for (int i = 0; i < ListBox1->count(); ++i) {
        if (!ListBox1->item(i)->text().contains(start)) continue;
        if (m_ui.askYesNo(
                QStringLiteral("Ein Eintrag mit dem Datum: ") + currentSlotPrefix() + day + u'.' +
                month + u'.' + year +
                QStringLiteral(" existiert schon in der Liste. Soll er ersetzt werden?"))) {
            ListBox1->item(i)->setText(line);
            m_changed = true;
            m_slotTimes[m_slot] = Edit1->text();
        } else {
            m_lastEntryLine.clear();
        }
        MarkierEintragInListe();
        return;
    }
    QStringList l = entries();
    l.append(line);
    setEntries(tablebuilder::sortEntries(l));
    m_changed = true;
    m_slotTimes[m_slot] = Edit1->text();
    ListBox1->setFocus();
    ListBox1->setCurrentRow(ListBox1->count() - 1);
    BitBtn3Click();
}

void TEingabeDlg::BitBtn2Click() {
    const int row = ListBox1->currentRow();
    if (row < 0 || !ListBox1->currentItem() || !ListBox1->currentItem()->isSelected()) {
        m_ui.showInformation(QStringLiteral(
            "Sie müssen zuerst einen Eintrag in der Liste durch Anklicken auswählen!"));
        return;
    }
    const QString question = QStringLiteral(
        "Der Messwert des ausgewählten Eintrags wird in der Liste auf 0 gesetzt und die "
        "einzelnen Werte in die Eingabefelder zum Bearbeiten eingetragen. Wenn Sie die 0 nicht "
        "ändern und auch nicht den Schalter \"In Liste aufnehmen\" betätigen,wird in der Grafik "
        "an dieser Stelle der vorherige Messwert gezeichnet. Es würde sonst seltsam aussehen "
        "wenn die Kurve auf 0 gehen wurde. Möchten Sie das?");
    if (m_ui.message(ui::Kind::Information, ui::Buttons::YesNo, question) != ui::Answer::Yes)
        return;
    if (row == 0) {
        m_ui.showInformation(QStringLiteral(
            "Der erste Eintrag der Liste muss einen Messwert haben und kann nicht 0 sein!"));
        return;
    }
    const QString before = ListBox1->item(row)->text();
    QString item = before;
    const qsizetype p = item.indexOf(QStringLiteral("ZuckerWert="));
    if (p >= 0) item.remove(p + 11, 3);
    item += u'0';
    ListBox1->item(row)->setText(item);
    m_changed = true;
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
    if (!m_model.figures().complete) return;
    QString word = BitBtn3->text();
    word.remove(u'&');
    if (word.startsWith(QStringLiteral("Messung "))) word.remove(u' ');
    const QString date =
        SpinEdit1->fieldText() + u'.' + SpinEdit2->fieldText() + u'.' + SpinEdit3->fieldText();
    // The focus stays in a field the user is typing in.
    // The window's own focus, also while another window is the active one.
    const QWidget *focus = focusWidget();
    bool typing = false;
    for (const QWidget *field :
         std::initializer_list<const QWidget *>{SpinEdit1, SpinEdit2, SpinEdit3, SpinEdit4, Edit1})
        typing = typing || (focus && (focus == field || field->isAncestorOf(focus)));
    bool hit = false;
    for (int i = 0; i < ListBox1->count(); ++i) {
        const QString t = ListBox1->item(i)->text();
        if (t.contains(word) && t.contains(date)) {
            if (!typing) ListBox1->setFocus();
            ListBox1->setCurrentRow(i);
            hit = true;
        }
    }
    if (!hit) {
        ListBox1->clearSelection();
        ListBox1->setCurrentRow(-1);
        if (!typing) BitBtn3->setFocus();
    }
}

bool TEingabeDlg::GrafikZeigen() {
    MonthModel &s = m_model;
    if (ListBox1->count() == 0) s.setEntryMonth(SpinEdit2->fieldText(), SpinEdit3->fieldText());
    monthtable::WriteRequest req;
    req.entries = entries();
    req.userName = s.userName();
    req.month = s.entryMonth();
    req.year = s.entryYear();
    req.fourSlots = s.fourSlotsTicked();
    req.eightSlots = s.eightSlotsTicked();
    req.currentTablePath = s.tablePath();
    req.dataFolder = s.folders().data;
    const monthtable::WriteResult written = monthtable::write(req);
    for (const monthtable::Notice &n : written.notices)
        m_ui.message(n.kind, ui::Buttons::Ok, n.text);
    if (!written) return false;
    const SettingsStore st = s.settings();
    st.set(keys::BenutzerName, s.userName());
    st.set(keys::LetzteEingabe, m_lastEntryLine);
    // A slot's remembered time is the time of the reading the user saved for it.
    for (auto it = m_slotTimes.cbegin(); it != m_slotTimes.cend(); ++it)
        if (entrydlg::validTime(it.value()))
            st.set(slotinfo::timeKey(it.key(), s.mode()), it.value());
    m_slotTimes.clear();
    m_changed = false;
    m_deleted.clear();
    LiesUhrzeitenEin();
    emit drawRequested(written.path);
    m_shownWith = entries();
    return true;
}

void TEingabeDlg::LiesUhrzeitenEin() {
    Edit1->setText(m_model.settings().get(slotinfo::timeKey(m_slot, m_model.mode())));
}

bool TEingabeDlg::refuseEmptyList() {
    if (ListBox1->count() > 0) return false;
    m_ui.showMessage(kNoEntryYet);
    return true;
}

namespace {
// A reading is known by its day and slot; a line without them by its text.
QString readingKey(const QString &line) {
    MeasurementSlot slot;
    const int day = entryline::dayOf(line);
    if (day == 0 || !entryline::slotOf(line, slot)) return line;
    return QStringLiteral("%1/%2").arg(day).arg(slotinfo::number(slot));
}
} // namespace

bool TEingabeDlg::confirmDroppedReadings() {
    const MonthModel &s = m_model;
    QString initials;
    if (!monthtable::initialsOf(s.userName(), initials)) return true;
    const bool empty = ListBox1->count() == 0;
    const QString month = empty ? SpinEdit2->fieldText() : s.entryMonth();
    const QString year = empty ? SpinEdit3->fieldText() : s.entryYear();
    const QString path = monthtable::pathFor(s.folders().data, initials, month, year);
    QStringList lines;
    if (!QFile::exists(path) || !monthtable::readLines(path, lines)) return true;
    QSet<QString> kept;
    for (const QString &l : entries())
        kept.insert(readingKey(l));
    bool drops = false;
    for (const QString &l : monthtable::entryLines(lines))
        if (!kept.contains(readingKey(l)) && !m_deleted.contains(l)) drops = true;
    if (!drops) return true;
    const QString text = QStringLiteral("Eine Tabelle mit Namen: ") + initials + month + year +
                         QStringLiteral(".tab") + QStringLiteral(" existiert schon! ") +
                         QStringLiteral("Alle Messwerte darin werden gelöscht! Möchten Sie das?");
    return m_ui.message(ui::Kind::Warning, ui::Buttons::YesNo, text) == ui::Answer::Yes;
}

bool TEingabeDlg::checkFields() {
    bool ok = false;
    const int value = SpinEdit4->fieldText().trimmed().toInt(&ok);
    if (!ok || value < 0 || value > 500) {
        m_ui.showWarning(QStringLiteral("Der Messwert „%1“ liegt nicht zwischen 0 und 500 mg/dl. "
                                        "Bitte geben Sie ihn richtig ein.")
                             .arg(SpinEdit4->fieldText()));
        SpinEdit4->setFocus();
        return false;
    }
    if (!entrydlg::validTime(Edit1->text())) {
        m_ui.showWarning(QStringLiteral("Die Uhrzeit „%1“ ist keine gültige Uhrzeit. Bitte geben "
                                        "Sie sie in der Form SS:MM ein, zum Beispiel 07:30.")
                             .arg(Edit1->text()));
        Edit1->setFocus();
        return false;
    }
    return true;
}

void TEingabeDlg::startEditing() {
    m_shownWith = entries();
    m_changed = false;
    m_deleted.clear();
    m_slotTimes.clear();
}

void TEingabeDlg::reject() {
    if (m_changed) {
        if (!m_ui.askYesNo(QStringLiteral("Möchten Sie wirklich abbrechen? Wenn ja, dann sind die "
                                          "eingegebenen Daten verloren!")))
            return;
        setEntries(m_shownWith);
        m_changed = false;
        m_deleted.clear();
        m_slotTimes.clear();
    }
    QDialog::reject();
}

void TEingabeDlg::BitBtn5Click() {
    QListWidgetItem *item = ListBox1->currentItem();
    if (!item || !item->isSelected()) {
        m_ui.showInformation(QStringLiteral(
            "Sie müssen zuerst einen Eintrag in der Liste durch Anklicken auswählen!"));
        return;
    }
    const QString line = item->text();
    if (!m_ui.askYesNo(QStringLiteral("Möchten Sie den Eintrag\n%1\nwirklich aus der Liste "
                                      "löschen? Er wird beim nächsten Speichern nicht mehr in die "
                                      "Tabelle geschrieben.")
                           .arg(line)))
        return;
    const int row = ListBox1->row(item);
    QStringList l = entries();
    l.removeAt(row);
    setEntries(tablebuilder::sortEntries(l));
    m_deleted << line;
    m_changed = true;
    if (ListBox1->count() > 0) ListBox1->setCurrentRow(std::min(row, ListBox1->count() - 1));
}

void TEingabeDlg::OKBtnClick() {
    if (refuseEmptyList()) return;
    if (!confirmDroppedReadings()) return;
    if (!GrafikZeigen()) return;
    accept();
    emit closedAfterGraph();
}

void TEingabeDlg::showStoredTable() {
    // Opening a month as a table only shows it: the file stays as it is.
    if (!m_model.tablePath().isEmpty()) emit drawRequested(m_model.tablePath());
    const QString text = tableText();
    m_changed = false;
    accept();
    emit tableRequested(text);
}

QString TEingabeDlg::tableText() const {
    const MonthModel &s = m_model;
    tablebuilder::TableInput in;
    in.entries = entries();
    in.monthName = s.entryMonthName();
    in.year = s.entryYear();
    in.userName = s.userName();
    in.fourSlots = s.fourSlotsTicked();
    in.eightSlots = s.eightSlotsTicked();
    return tablebuilder::TableText(in);
}

void TEingabeDlg::BitBtn4Click() {
    if (refuseEmptyList()) return;
    if (!confirmDroppedReadings()) return;
    if (!GrafikZeigen()) return;
    const QString text = tableText();
    accept();
    emit tableRequested(text);
}

void TEingabeDlg::showNonModal() {
    startEditing();
    setModal(false);
    show();
    raise();
    activateWindow();
}

void TEingabeDlg::showModally() {
    startEditing();
    exec();
}
