#include "eingabedlg.h"

#include <QBoxLayout>
#include <QDate>
#include <QDir>
#include <QEvent>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QToolButton>

#include "entrylistmodel.h"
#include "platform/convert.h"
#include "platform/german.h"
#include "platform/ui.h"
#include "spinedit.h"
#include "storage/monthmodel.h"
#include "storage/monthtable.h"
#include "storage/settingsstore.h"
#include "storage/tablelock.h"
#include "tablebuilder.h"

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

namespace {
// The number of a field that holds only digits; -1 for any other text.
int numberIn(const QString &text, int maxDigits) {
    const QString t = text.trimmed();
    if (t.isEmpty() || t.size() > maxDigits) return -1;
    for (QChar c : t)
        if (c < u'0' || c > u'9') return -1;
    return t.toInt();
}
} // namespace

FieldProblem checkReading(const ReadingFields &f) {
    const int day = numberIn(f.day, 2), month = numberIn(f.month, 2);
    const int year = numberIn(f.year, 4);
    if (f.day.trimmed().isEmpty())
        return {BadField::Day, QStringLiteral("Das Feld für den Tag ist leer. Bitte geben Sie "
                                              "einen Tag von 1 bis 31 ein.")};
    if (day < 1 || day > 31)
        return {BadField::Day, QStringLiteral("Den Tag „%1“ gibt es nicht. Bitte geben Sie einen "
                                              "Tag von 1 bis 31 ein.")
                                   .arg(f.day.trimmed())};
    if (month < 1 || month > 12)
        return {BadField::Month, QStringLiteral("Den Monat „%1“ gibt es nicht. Bitte geben Sie "
                                                "einen Monat von 1 bis 12 ein.")
                                     .arg(f.month.trimmed())};
    if (year < 1900 || f.year.trimmed().size() != 4)
        return {BadField::Year, QStringLiteral("Die Jahreszahl „%1“ ist ungültig. Bitte geben Sie "
                                               "sie vierstellig ein, zum Beispiel 2024.")
                                    .arg(f.year.trimmed())};
    if (day > QDate(year, month, 1).daysInMonth())
        return {BadField::Day, QStringLiteral("Den %1. gibt es im %2 %3 nicht.")
                                   .arg(day)
                                   .arg(GibMonatLang(month))
                                   .arg(year)};
    if (!validTime(f.time))
        return {BadField::Time, QStringLiteral("Die Uhrzeit „%1“ ist keine gültige Uhrzeit. Bitte "
                                               "geben Sie sie in der Form SS:MM ein, zum "
                                               "Beispiel 07:30.")
                                    .arg(f.time)};
    const bool mmol = f.unit == GlucoseUnit::MmolL;
    if (f.value.trimmed().isEmpty())
        return {BadField::Value,
                QStringLiteral("Das Feld für den Messwert ist leer. Bitte geben Sie einen "
                               "Messwert von %1 ein.")
                    .arg(mmol ? QStringLiteral("0,0 bis 27,8 mmol/l")
                              : QStringLiteral("0 bis 500 mg/dl"))};
    int mgdl = 0;
    if (!storedValue(f.value, f.unit, mgdl))
        return {BadField::Value,
                QStringLiteral("Der Messwert „%1“ liegt nicht zwischen %2. Bitte "
                               "geben Sie ihn richtig ein.")
                    .arg(f.value.trimmed(), mmol ? QStringLiteral("0,0 und 27,8 mmol/l")
                                                 : QStringLiteral("0 und 500 mg/dl"))};
    return {};
}

bool storedValue(const QString &text, GlucoseUnit unit, int &mgdl) {
    if (unit == GlucoseUnit::MgDl) {
        mgdl = numberIn(text, 5);
        return mgdl >= 0 && mgdl <= 500;
    }
    qint64 tenths = 0;
    if (!glucoseunit::parseMmol(text, tenths) || tenths > glucoseunit::kMaxMmolTenths) return false;
    mgdl = glucoseunit::storedMgdl(tenths);
    return true;
}

QString fieldValue(const QString &stored, GlucoseUnit unit) {
    const int mgdl = numberIn(stored, 5);
    return unit == GlucoseUnit::MmolL && mgdl >= 0 ? glucoseunit::valueText(mgdl, unit) : stored;
}

} // namespace entrydlg

namespace {

const QString kNoEntryYet =
    QStringLiteral("Sie haben noch keinen Messwert eingetragen! Betätigen Sie bitte den Schalter "
                   "\"In Liste aufnehmen\"!");
const QString kSelectFirst =
    QStringLiteral("Sie müssen zuerst einen Eintrag in der Liste durch Anklicken auswählen!");
const QString kReallyCancel = QStringLiteral(
    "Möchten Sie wirklich abbrechen? Wenn ja, dann sind die eingegebenen Daten verloren!");

const QString kGreen = QStringLiteral("color: rgb(0,128,0);");
const QString kGrey = QStringLiteral("color: rgb(128,128,128);");

QFont boldFont(int pixels = 0) {
    QFont f;
    f.setBold(true);
    if (pixels > 0) f.setPixelSize(pixels);
    return f;
}

QLabel *namedLabel(QWidget *parent, const char *name, const QString &text) {
    auto *l = new QLabel(text, parent);
    l->setObjectName(QString::fromLatin1(name));
    return l;
}

// A date or value field in the dialog's bold green.
SpinEdit *namedSpin(QWidget *parent, const char *name, int digits, int maxDigits, int low, int high,
                    int start) {
    auto *s = new SpinEdit(digits, maxDigits, parent);
    s->setObjectName(QString::fromLatin1(name));
    s->setRange(low, high);
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

// Entry lines for a message, one a line, as the list shows them.
QString shownLines(const QStringList &lines, GlucoseUnit unit) {
    QStringList shown;
    for (const QString &l : lines)
        shown << entrylist::shownLine(l, unit);
    return shown.join(QStringLiteral("\r\n"));
}

QString twoDigits(int n) {
    return QStringLiteral("%1").arg(n, 2, 10, QLatin1Char('0'));
}

} // namespace

TEingabeDlg::TEingabeDlg(MonthModel &model, ui::Services &ui, QWidget *parent)
    : QDialog(parent), m_model(model), m_ui(ui), m_entries(new EntryListModel(this)) {
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
    FormCreate();
    m_title->setText(QStringLiteral("Messwerte von ") + m_model.userName());
}

TEingabeDlg::~TEingabeDlg() = default;

// Headings, the entry list, the slot button and the time field with its arrows.
void TEingabeDlg::buildListAndSlot() {
    m_title = namedLabel(this, "Label4", QString());
    m_title->setFont(boldFont(13));
    m_today = namedLabel(this, "Label3", QString());

    m_list = new QListView(this);
    m_list->setObjectName(QStringLiteral("ListBox1"));
    m_list->setModel(m_entries);
    m_list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setUniformItemSizes(true);
    // Wide enough for a whole entry line.
    const int lineWidth = m_list->fontMetrics().horizontalAdvance(
        QStringLiteral("Messung7 den 31.12.2026 Z=23:50  ZuckerWert=500"));
    m_list->setMinimumSize(lineWidth + 40, 212);
    m_list->installEventFilter(this);

    m_slotButton = namedButton(this, "BitBtn3", QString(), true);
    m_slotButton->setMinimumWidth(110);

    m_time = new QLineEdit(this);
    m_time->setObjectName(QStringLiteral("Edit1"));
    m_time->setFont(boldFont(16));
    m_time->setStyleSheet(kGreen);
    m_time->setFixedWidth(80);
    m_time->setToolTip(QStringLiteral("Uhrzeit der Messung, zum Beispiel 07:30"));
    m_timeButtons = new QWidget(this);
    m_timeButtons->setObjectName(QStringLiteral("SpinButton1"));
    m_timeButtons->setFixedSize(20, 28);
    m_timeUp = new QToolButton(m_timeButtons);
    m_timeUp->setObjectName(QStringLiteral("SpinButton1Up"));
    m_timeUp->setArrowType(Qt::UpArrow);
    m_timeUp->setGeometry(0, 0, 20, 14);
    m_timeDown = new QToolButton(m_timeButtons);
    m_timeDown->setObjectName(QStringLiteral("SpinButton1Down"));
    m_timeDown->setArrowType(Qt::DownArrow);
    m_timeDown->setGeometry(0, 14, 20, 14);
}

// The date fields and the value field.
void TEingabeDlg::buildFields() {
    m_dateCaption =
        namedLabel(this, "Label2", QStringLiteral("Tag              Monat            Jahr"));
    // Until a reading is restored or a month is read, the fields show today.
    const QDate today = QDate::currentDate();
    m_day = namedSpin(this, "SpinEdit1", 2, 2, 1, 31, today.day());
    m_month = namedSpin(this, "SpinEdit2", 2, 2, 1, 12, today.month());
    m_year = namedSpin(this, "SpinEdit3", 4, 4, 1900, 9999, today.year());
    m_valueCaption = namedLabel(this, "Label1", QStringLiteral("Glykovalinmeßwert mg/dl"));
    // A typed value above 500 is refused with a message, not cut.
    m_value = namedSpin(this, "SpinEdit4", 1, 5, 0, 500, 140);
    m_value->setToolTip(QStringLiteral("Geben sie hier den Glykovalinmesswert ein."));
    m_value->installEventFilter(this);
    m_value->findChild<QLineEdit *>()->installEventFilter(this);
    m_unit = m_model.unit();
    if (m_unit == GlucoseUnit::MmolL) {
        applyUnitToValueField();
        m_value->setFieldText(glucoseunit::valueText(140, m_unit));
    }
}

void TEingabeDlg::applyUnitToValueField() {
    const bool mmol = m_unit == GlucoseUnit::MmolL;
    m_valueCaption->setText(QStringLiteral("Glykovalinmeßwert ") + glucoseunit::unitText(m_unit));
    m_value->setOneDecimal(mmol);
    m_value->setRange(0, mmol ? glucoseunit::kMaxMmolTenths : 500);
    m_entries->setUnit(m_unit);
}

void TEingabeDlg::showUnit() {
    const GlucoseUnit to = m_model.unit();
    if (to == m_unit) return;
    // A value typed or shown keeps what it stands for.
    auto convert = [this, to](const QString &text) {
        int mgdl = 0;
        return entrydlg::storedValue(text, m_unit, mgdl) ? glucoseunit::valueText(mgdl, to) : text;
    };
    const QString value = convert(m_value->fieldText());
    m_shownWith.value = convert(m_shownWith.value);
    m_unit = to;
    applyUnitToValueField();
    m_value->setFieldText(value);
}

void TEingabeDlg::buildButtons() {
    m_addButton = namedButton(this, "BitBtn1", QStringLiteral("In Liste &aufnehmen"), true);
    m_correctButton = namedButton(this, "BitBtn2", QStringLiteral("Eintrag &bearbeiten"), true);
    m_deleteButton = namedButton(this, "BitBtn5", QStringLiteral("Eintrag &löschen"), true);
    m_deleteButton->setToolTip(QStringLiteral("Löscht den ausgewählten Eintrag (auch mit der "
                                              "Entf-Taste in der Liste)."));
    m_graphButton = namedButton(this, "OKBtn", QStringLiteral("&Grafik zeigen"), false);
    m_graphButton->setDefault(true);
    m_tableButton = namedButton(this, "BitBtn4", QStringLiteral("&Tabelle zeigen"), false);
}

// The list on the left, the fields and list buttons on the right, the save
// buttons below.
void TEingabeDlg::layOut() {
    auto *slotRow = row({m_slotButton, m_time, m_timeButtons});
    slotRow->setStretch(0, 1);
    auto *valueRow = row({m_value});
    valueRow->addStretch(1);
    auto *fields = new QVBoxLayout;
    fields->addLayout(slotRow);
    fields->addSpacing(8);
    fields->addWidget(m_dateCaption);
    fields->addLayout(row({m_day, m_month, m_year}));
    fields->addSpacing(8);
    fields->addWidget(m_valueCaption);
    fields->addLayout(valueRow);
    fields->addSpacing(8);
    fields->addWidget(m_addButton);
    fields->addWidget(m_correctButton);
    fields->addWidget(m_deleteButton);
    fields->addStretch(1);
    auto *middle = new QHBoxLayout;
    middle->addWidget(m_list, 1);
    middle->addLayout(fields);
    auto *bottom = row({m_graphButton, m_tableButton});
    bottom->addStretch(1);
    auto *main = new QVBoxLayout(this);
    main->addWidget(m_title);
    main->addWidget(m_today);
    main->addLayout(middle, 1);
    main->addLayout(bottom);
    resize(sizeHint().expandedTo(QSize(551, 340)));
}

void TEingabeDlg::connectControls() {
    auto on = [this](QAbstractButton *b, void (TEingabeDlg::*handler)()) {
        connect(b, &QAbstractButton::clicked, this,
                [this, handler] { ui::guarded(m_ui, [this, handler] { (this->*handler)(); }); });
    };
    on(m_addButton, &TEingabeDlg::BitBtn1Click);
    on(m_correctButton, &TEingabeDlg::BitBtn2Click);
    on(m_slotButton, &TEingabeDlg::BitBtn3Click);
    on(m_deleteButton, &TEingabeDlg::BitBtn5Click);
    on(m_graphButton, &TEingabeDlg::OKBtnClick);
    on(m_tableButton, &TEingabeDlg::BitBtn4Click);
    connect(m_timeUp, &QToolButton::clicked, this,
            [this] { ui::guarded(m_ui, [this] { stepTime(true); }); });
    connect(m_timeDown, &QToolButton::clicked, this,
            [this] { ui::guarded(m_ui, [this] { stepTime(false); }); });
    connect(m_day, &SpinEdit::textChanged, this, &TEingabeDlg::SpinEdit1Change);
    connect(m_month, &SpinEdit::textChanged, this, &TEingabeDlg::SpinEdit2Change);
    // A date typed digit by digit is marked once it is complete.
    for (SpinEdit *date : {m_day, m_month, m_year})
        connect(date, &QAbstractSpinBox::editingFinished, this,
                &TEingabeDlg::MarkierEintragInListe);
}

void TEingabeDlg::setCurrentSlot(MeasurementSlot s) {
    m_slot = s;
    m_slotButton->setText(slotinfo::displayLabel(s));
}

TEingabeDlg::Fields TEingabeDlg::fieldsShown() const {
    return {m_slot,         m_day->fieldText(),   m_month->fieldText(), m_year->fieldText(),
            m_time->text(), m_value->fieldText(), m_lastEntryLine};
}

void TEingabeDlg::showFields(const Fields &f) {
    setCurrentSlot(f.slot);
    // The month first: its change handler compares it with the list.
    m_month->setFieldText(f.month);
    m_year->setFieldText(f.year);
    m_day->setFieldText(f.day);
    m_time->setText(f.time);
    m_value->setFieldText(f.value);
    m_lastEntryLine = f.lastEntryLine;
}

TEingabeDlg::Fields TEingabeDlg::fieldsOf(const QString &line) const {
    entryline::Fields f;
    f.day = m_day->fieldText();
    f.month = m_month->fieldText();
    f.year = m_year->fieldText();
    f.time = m_time->text();
    f.value = m_value->fieldText();
    entryline::split(line, f);
    // A stored value is shown in the field's unit.
    if (line.contains(QStringLiteral("ZuckerWert=")))
        f.value = entrydlg::fieldValue(f.value, m_unit);
    return {m_slot, f.day, f.month, f.year, f.time, f.value, m_lastEntryLine};
}

void TEingabeDlg::FormCreate() {
    const QString last = m_model.settings().get(keys::LetzteEingabe);
    if (!last.contains(QStringLiteral("den "))) {
        setCurrentSlot(m_slot);
        return;
    }
    Fields restored = fieldsOf(last);
    restored.lastEntryLine = last;
    MeasurementSlot stored = m_slot;
    const bool hasSlot = entryline::slotOf(last, stored);
    if (hasSlot) restored.slot = entrydlg::slotAfterRestore(stored, m_model.mode());
    showFields(restored);
    bool ok = false;
    const int day = m_day->value(&ok);
    if (ok && hasSlot && stored == MeasurementSlot::Abends &&
        day < entrydlg::daysInMonth(m_month->value(), m_year->fieldText()))
        m_day->setValue(day + 1);
}

void TEingabeDlg::showEvent(QShowEvent *e) {
    QDialog::showEvent(e);
    showCaption();
}

void TEingabeDlg::showCaption() {
    setWindowTitle(
        m_model.eightSlotsTicked()
            ? QStringLiteral("Eingabe der Glykovalinmesswerte - Bis zu 8 Messungen je Tag")
            : QStringLiteral("Eingabe der Glykovalinmesswerte - Bis zu 4 Messungen je Tag"));
}

void TEingabeDlg::showMode() {
    if (isVisible()) showCaption();
    LiesUhrzeitenEin();
}

void TEingabeDlg::LiesUhrzeitenEin() {
    m_time->setText(m_model.settings().get(slotinfo::timeKey(m_slot, m_model.mode())));
}

bool TEingabeDlg::hasUnsavedChanges() const {
    return m_entries->hasUnsavedChanges();
}

void TEingabeDlg::showToday() {
    m_today->setText(QStringLiteral("Heute ist der ") + german::date(QDate::currentDate()));
}

// The list, heading, month and year of the model's month as read.
void TEingabeDlg::fillFromModel() {
    if (!m_model.hasTable()) {
        m_title->setText(QStringLiteral("Messwerte von ") + m_model.userName());
        m_entryMonth.clear();
        m_entryYear.clear();
        m_entries->setMonth({});
        return;
    }
    const MonthResult &r = m_model.figures();
    m_title->setText(QStringLiteral("Messwerte ") + r.tableDate + QStringLiteral("  ") +
                     r.tableUser);
    m_year->setFieldText(monthtable::yearOfPath(m_model.tablePath()));
    m_entryMonth = r.entryMonth;
    m_entryYear = r.entryYear;
    m_entries->setMonth(r.entries);
    m_month->setFieldText(r.entryMonth);
}

void TEingabeDlg::showMonth() {
    if (!hasUnsavedChanges()) fillFromModel();
}

bool TEingabeDlg::dropUnsaved() {
    if (!hasUnsavedChanges()) return true;
    if (!m_ui.askYesNo(kReallyCancel)) return false;
    m_entries->discardChanges();
    showFields(m_shownWith);
    m_slotTimes.clear();
    return true;
}

bool TEingabeDlg::takeMonth() {
    if (!dropUnsaved()) return false;
    fillFromModel();
    LiesUhrzeitenEin();
    showToday();
    return true;
}

bool TEingabeDlg::editMonth() {
    if (!takeMonth()) return false;
    m_shownWith = fieldsShown();
    // A dialog open without blocking is shown again, now modally.
    hide();
    exec();
    return true;
}

bool TEingabeDlg::startNewMonth() {
    if (!dropUnsaved()) return false;
    m_title->setText(QStringLiteral("Messwerte von ") + m_model.userName());
    m_entries->setMonth({});
    m_entryMonth.clear();
    m_entryYear.clear();
    showToday();
    const QDate today = QDate::currentDate();
    m_month->setValue(today.month());
    m_year->setValue(today.year());
    LiesUhrzeitenEin();
    m_shownWith = fieldsShown();
    setModal(false);
    show();
    raise();
    activateWindow();
    return true;
}

void TEingabeDlg::reject() {
    if (!dropUnsaved()) return;
    QDialog::reject();
}

bool TEingabeDlg::eventFilter(QObject *o, QEvent *e) {
    if (e->type() != QEvent::KeyPress) return QDialog::eventFilter(o, e);
    const int key = static_cast<QKeyEvent *>(e)->key();
    if (o == m_list && key == Qt::Key_Delete) {
        ui::guarded(m_ui, [this] { BitBtn5Click(); });
        return true;
    }
    if (o != m_list && (key == Qt::Key_Return || key == Qt::Key_Enter)) {
        ui::guarded(m_ui, [this] {
            BitBtn1Click();
            MarkierEintragInListe();
        });
        return true;
    }
    return QDialog::eventFilter(o, e);
}

int TEingabeDlg::selectedRow() const {
    const QModelIndexList selected = m_list->selectionModel()->selectedIndexes();
    return selected.isEmpty() ? -1 : selected.first().row();
}

void TEingabeDlg::selectRow(int row) {
    if (row < 0) {
        m_list->clearSelection();
        m_list->setCurrentIndex(QModelIndex());
        return;
    }
    m_list->setCurrentIndex(m_entries->index(row));
}

QString TEingabeDlg::listMonth() const {
    return m_entries->isEmpty() || m_entryMonth.isEmpty() ? twoDigits(m_month->value())
                                                          : m_entryMonth;
}

QString TEingabeDlg::listYear() const {
    return m_entries->isEmpty() || m_entryYear.isEmpty() ? m_year->fieldText() : m_entryYear;
}

void TEingabeDlg::SpinEdit1Change() {
    // The first digit of a two-digit day is no day yet.
    if (m_day->fieldText().size() >= 2) MarkierEintragInListe();
}

// The month of a list that holds readings cannot be changed.
void TEingabeDlg::SpinEdit2Change() {
    if (m_inMonthChange || m_entryMonth.isEmpty()) return;
    m_inMonthChange = true;
    bool ok = false;
    const bool same = m_month->value(&ok) == m_entryMonth.toInt() && ok;
    if (!m_entries->isEmpty() && !same) {
        m_month->setFieldText(m_entryMonth);
        m_month->setStyleSheet(kGrey);
    } else if (same) {
        m_month->setStyleSheet(kGreen);
    }
    m_inMonthChange = false;
}

bool TEingabeDlg::yearMismatch() const {
    if (m_entries->isEmpty()) return false;
    QString last = m_entries->lines().last();
    qsizetype p = last.indexOf(u'.');
    if (p < 0) return false;
    last = last.mid(p + 1);
    p = last.indexOf(u'.');
    if (p < 0) return false;
    return last.mid(p + 1, 4) != m_year->fieldText();
}

void TEingabeDlg::BitBtn3Click() {
    setCurrentSlot(entrydlg::slotButtonNext(m_slot, m_model.mode()));
    LiesUhrzeitenEin();
    MarkierEintragInListe();
}

void TEingabeDlg::stepTime(bool up) {
    if (!entrydlg::validTime(m_time->text())) {
        // No time to step from: the slot's remembered time, else noon.
        const QString stored = m_model.settings().get(slotinfo::timeKey(m_slot, m_model.mode()));
        m_time->setText(entrydlg::validTime(stored) ? stored : QStringLiteral("12:00"));
        return;
    }
    m_time->setText(entrydlg::stepTimeText(m_time->text(), up));
}

bool TEingabeDlg::checkFields() {
    const entrydlg::FieldProblem p =
        entrydlg::checkReading({m_day->fieldText(), m_month->fieldText(), m_year->fieldText(),
                                m_time->text(), m_value->fieldText(), m_unit});
    if (p.field == entrydlg::BadField::None) return true;
    m_ui.showWarning(p.message);
    switch (p.field) {
    case entrydlg::BadField::Day:
        m_day->setFocus();
        break;
    case entrydlg::BadField::Month:
        m_month->setFocus();
        break;
    case entrydlg::BadField::Year:
        m_year->setFocus();
        break;
    case entrydlg::BadField::Time:
        m_time->setFocus();
        break;
    default:
        m_value->setFocus();
        break;
    }
    return false;
}

void TEingabeDlg::BitBtn1Click() {
    const QString year = m_year->fieldText();
    if (yearMismatch()) {
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
    const QString day = twoDigits(m_day->value());
    const QString month = twoDigits(m_month->value());
    const QString time = m_time->text();
    int mgdl = 0;
    entrydlg::storedValue(m_value->fieldText(), m_unit, mgdl);
    const QString line = entryline::format(m_slot, day, month, year, time, QString::number(mgdl));
    m_lastEntryLine = line;
    if (!m_entries->isEmpty() && !m_entries->lines().last().contains(year)) {
        m_ui.showInformation(QStringLiteral("Überprüfen Sie bitte die Jahreszahl ") + year +
                             QStringLiteral(" Sie stimmt nicht ") +
                             QStringLiteral("mit den bisherigen Eintragungen überein!"));
        return;
    }
    m_entryMonth = month;
    m_entryYear = year;
    const int existing = m_entries->find(line);
    if (existing >= 0) {
        if (m_ui.askYesNo(QStringLiteral("Ein Eintrag mit dem Datum: ") + slotinfo::prefix(m_slot) +
                          day + u'.' + month + u'.' + year +
                          QStringLiteral(" existiert schon in der Liste. Soll er ersetzt "
                                         "werden?"))) {
            m_entries->replace(existing, line);
            m_slotTimes[m_slot] = time;
        } else {
            m_lastEntryLine.clear();
        }
        MarkierEintragInListe();
        return;
    }
    m_entries->add(line);
    m_slotTimes[m_slot] = time;
    m_list->setFocus();
    selectRow(int(m_entries->lines().size()) - 1);
    BitBtn3Click();
}

void TEingabeDlg::BitBtn2Click() {
    const int row = selectedRow();
    if (row < 0) {
        m_ui.showInformation(kSelectFirst);
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
    const QString before = m_entries->lines().at(row);
    QString item = before;
    const qsizetype p = item.indexOf(QStringLiteral("ZuckerWert="));
    if (p >= 0) item.remove(p + 11, 3);
    m_entries->replace(row, item + u'0');
    Fields opened = fieldsOf(before);
    entryline::slotOf(before, opened.slot);
    showFields(opened);
}

void TEingabeDlg::BitBtn5Click() {
    const int row = selectedRow();
    if (row < 0) {
        m_ui.showInformation(kSelectFirst);
        return;
    }
    const QString line = m_entries->lines().at(row);
    if (!m_ui.askYesNo(QStringLiteral("Möchten Sie den Eintrag\n%1\nwirklich aus der Liste "
                                      "löschen? Er wird beim nächsten Speichern nicht mehr in die "
                                      "Tabelle geschrieben.")
                           .arg(entrylist::shownLine(line, m_unit))))
        return;
    m_entries->remove(row);
    if (!m_entries->isEmpty()) selectRow(std::min(row, int(m_entries->lines().size()) - 1));
}

void TEingabeDlg::MarkierEintragInListe() {
    if (!m_model.figures().complete) return;
    bool day = false, month = false, year = false;
    const QString date = twoDigits(m_day->value(&day)) + u'.' + twoDigits(m_month->value(&month)) +
                         u'.' + m_year->fieldText();
    m_year->value(&year);
    if (!day || !month || !year) return;
    QString word = m_slotButton->text();
    word.remove(u'&');
    if (word.startsWith(QStringLiteral("Messung "))) word.remove(u' ');
    // The focus stays in a field the user is typing in (the window's own
    // focus, also while another window is the active one).
    const QWidget *focus = focusWidget();
    bool typing = false;
    for (const QWidget *field :
         std::initializer_list<const QWidget *>{m_day, m_month, m_year, m_value, m_time})
        typing = typing || (focus && (focus == field || field->isAncestorOf(focus)));
    int hit = -1;
    const QStringList &lines = m_entries->lines();
    for (int i = 0; i < lines.size(); ++i)
        if (lines.at(i).contains(word) && lines.at(i).contains(date)) hit = i;
    selectRow(hit);
    if (!typing) (hit >= 0 ? static_cast<QWidget *>(m_list) : m_slotButton)->setFocus();
}

bool TEingabeDlg::refuseEmptyList() {
    if (!m_entries->isEmpty()) return false;
    m_ui.showMessage(kNoEntryYet);
    return true;
}

bool TEingabeDlg::takeReadingsSavedMeanwhile(const QString &tablePath) {
    if (!QFileInfo::exists(tablePath)) return true;
    const QString table = QDir::toNativeSeparators(tablePath);
    QStringList lines;
    if (!monthtable::readLines(tablePath, lines)) {
        m_ui.showWarning(QStringLiteral("Die Tabelle „%1“ kann nicht gelesen werden. Damit keine "
                                        "Messwerte darin verloren gehen, wurde nichts "
                                        "gespeichert.")
                             .arg(table));
        return false;
    }
    const entrylist::Merged merged = m_entries->takeNewReadings(monthtable::entryLines(lines));
    if (merged.taken.isEmpty() && merged.overruled.isEmpty()) return true;
    QString text = QStringLiteral("Die Tabelle „%1“ enthält Messwerte, die nicht in der Liste "
                                  "stehen (zum Beispiel von einem anderen Programm gespeichert, "
                                  "während dieses Fenster offen war).")
                       .arg(table);
    if (!merged.taken.isEmpty())
        text += QStringLiteral("\r\n\r\nDiese Messwerte wurden in die Liste übernommen und werden "
                               "mit ihr gespeichert:\r\n") +
                shownLines(merged.taken, m_unit);
    if (!merged.overruled.isEmpty())
        text += QStringLiteral("\r\n\r\nFür diese Messungen haben Sie hier einen anderen Wert "
                               "eingetragen oder den Eintrag gelöscht; es gilt Ihr Eintrag in "
                               "der Liste:\r\n") +
                shownLines(merged.overruled, m_unit);
    m_ui.showInformation(text);
    return true;
}

bool TEingabeDlg::GrafikZeigen() {
    const QString month = listMonth(), year = listYear();
    QString initials, error;
    if (!monthtable::initialsOf(m_model.userName(), initials, &error)) {
        m_ui.showWarning(error);
        return false;
    }
    // Another writer of the same table (the command-line tool, an import)
    // waits for this save, or this save for it; what it saved before is
    // taken into the list first.
    const QString path = monthtable::pathFor(m_model.folders().data, initials, month, year);
    TableLock lock(path);
    if (!lock.acquire(&error)) {
        m_ui.showWarning(error);
        return false;
    }
    if (!takeReadingsSavedMeanwhile(path)) return false;
    monthtable::WriteRequest req;
    req.entries = m_entries->lines();
    req.userName = m_model.userName();
    req.month = month;
    req.year = year;
    req.fourSlots = m_model.fourSlotsTicked();
    req.eightSlots = m_model.eightSlotsTicked();
    req.currentTablePath = m_model.tablePath();
    req.dataFolder = m_model.folders().data;
    const monthtable::WriteResult written = monthtable::write(req);
    for (const monthtable::Notice &n : written.notices)
        m_ui.message(n.kind, ui::Buttons::Ok, n.text);
    if (!written) return false;
    lock.release();
    m_entries->markSaved();
    const SettingsStore st = m_model.settings();
    st.set(keys::BenutzerName, m_model.userName());
    // Only a reading that was saved is remembered for the next start.
    if (req.entries.contains(m_lastEntryLine)) st.set(keys::LetzteEingabe, m_lastEntryLine);
    // A slot's remembered time is the time of the reading the user saved for it.
    for (auto it = m_slotTimes.cbegin(); it != m_slotTimes.cend(); ++it)
        if (entrydlg::validTime(it.value()))
            st.set(slotinfo::timeKey(it.key(), m_model.mode()), it.value());
    m_slotTimes.clear();
    LiesUhrzeitenEin();
    emit monthSaved(written.path);
    return true;
}

QString TEingabeDlg::tableText() const {
    tablebuilder::TableInput in;
    in.entries = m_entries->lines();
    in.monthName = GibMonatLang(listMonth().toInt());
    in.year = listYear();
    in.userName = m_model.userName();
    in.fourSlots = m_model.fourSlotsTicked();
    in.eightSlots = m_model.eightSlotsTicked();
    in.unit = m_unit;
    return tablebuilder::TableText(in);
}

void TEingabeDlg::OKBtnClick() {
    if (refuseEmptyList() || !GrafikZeigen()) return;
    accept();
    emit closedAfterGraph();
}

void TEingabeDlg::BitBtn4Click() {
    if (refuseEmptyList() || !GrafikZeigen()) return;
    const QString text = tableText();
    accept();
    emit tableRequested(text);
}
