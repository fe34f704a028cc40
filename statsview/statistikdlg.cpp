#include "statistikdlg.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QTabWidget>
#include <QTableWidget>
#include <QVBoxLayout>

#include "stats/statstext.h"
#include "statscharts.h"

namespace statsview {

using namespace stats;

namespace {

QTableWidget *makeTable(const QStringList &headers, const QString &name) {
    auto *t = new QTableWidget(0, int(headers.size()));
    t->setObjectName(name);
    t->setHorizontalHeaderLabels(headers);
    t->verticalHeader()->hide();
    t->setEditTriggers(QAbstractItemView::NoEditTriggers);
    t->setSelectionMode(QAbstractItemView::NoSelection);
    t->setFocusPolicy(Qt::NoFocus);
    t->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    t->horizontalHeader()->setStretchLastSection(true);
    return t;
}

void addRow(QTableWidget *t, const QStringList &cells, const QColor &lastColor = QColor()) {
    const int row = t->rowCount();
    t->insertRow(row);
    for (int c = 0; c < cells.size(); ++c) {
        auto *item = new QTableWidgetItem(cells[c]);
        if (c == cells.size() - 1 && lastColor.isValid()) item->setForeground(lastColor);
        t->setItem(row, c, item);
    }
}

// Fixes a table's height to its rows and asks for the width of its columns,
// so the page scrolls instead of the table cutting its texts.
void fitHeight(QTableWidget *t, int maxRows = 1000) {
    t->resizeColumnsToContents();
    t->resizeRowsToContents();
    int w = 2 * t->frameWidth() + t->verticalScrollBar()->sizeHint().width();
    for (int c = 0; c < t->columnCount(); ++c)
        w += t->columnWidth(c);
    t->setMinimumWidth(w);
    int h = t->horizontalHeader()->height() + 2 * t->frameWidth();
    for (int r = 0; r < std::min(t->rowCount(), maxRows); ++r)
        h += t->rowHeight(r);
    t->setFixedHeight(h);
    t->setVerticalScrollBarPolicy(t->rowCount() > maxRows ? Qt::ScrollBarAsNeeded
                                                          : Qt::ScrollBarAlwaysOff);
}

QString withTarget(const Figures &f, Target t) {
    QString s = targetText(t);
    if (f.readings > 0)
        s += f.met(t) ? QStringLiteral(" – erreicht") : QStringLiteral(" – nicht erreicht");
    return s;
}

QColor targetColor(const Figures &f, Target t) {
    if (f.readings == 0) return QColor();
    return f.met(t) ? QColor(0, 110, 40) : QColor(180, 0, 0);
}

QString percentText(const Tenths &t) {
    return t ? german(t) + QStringLiteral(" %") : QStringLiteral("–");
}

// Name, period and tables of a page.
QLabel *headLabel(const Collection &c, QWidget *parent) {
    auto *head = new QLabel(parent);
    head->setObjectName(QStringLiteral("Kopf"));
    head->setWordWrap(true);
    head->setTextFormat(Qt::PlainText);
    head->setText((c.userName.isEmpty()
                       ? QString()
                       : QStringLiteral("Name: ") + c.userName + QStringLiteral("     ")) +
                  QStringLiteral("Zeitraum: ") +
                  (c.periodName().isEmpty() ? QStringLiteral("–") : c.periodName()) +
                  QStringLiteral("     Tabellen: ") + c.fileNames().join(QStringLiteral(", ")));
    return head;
}

// Number of readings, mean, spread and the estimated HbA1c.
void addReadingRows(QTableWidget *figures, const Figures &f) {
    const QString fromThirty =
        QStringLiteral("– (erst ab %1 Messwerten)").arg(kMinReadingsForSpread);
    addRow(figures,
           {QStringLiteral("Messwerte"),
            QStringLiteral("%1 an %2 Tagen").arg(f.readings).arg(f.daysWithReadings), QString()});
    addRow(figures, {QStringLiteral("Mittelwert"), mgdlAndMmol(f.mean, f.meanMmol), QString()});
    addRow(figures, {QStringLiteral("Standardabweichung"),
                     f.sd ? mgdlAndMmol(f.sd, f.sdMmol) : fromThirty, QString()});
    addRow(figures, {QStringLiteral("Variationskoeffizient"), f.cv ? percentText(f.cv) : fromThirty,
                     QString()});
    addRow(figures,
           {QStringLiteral("Geschätzter HbA1c (eA1c)"),
            f.ea1cPercent ? german(f.ea1cPercent) + QStringLiteral(" % (") +
                                QString::number(*f.ea1cMmolMol) + QStringLiteral(" mmol/mol)")
                          : QStringLiteral("– (erst ab %1 Messwerten an %2 Tagen)")
                                .arg(kMinReadingsForSpread)
                                .arg(kMinDaysForEa1c),
            QStringLiteral("Schätzung, kein Laborwert")});
}

// The shares of the ranges with their targets, then the hypoglycaemias by level.
void addBandRows(QTableWidget *figures, const Figures &f) {
    addRow(figures,
           {bandCaption(VeryHigh), percentText(f.bands[VeryHigh]), withTarget(f, Target::VeryHigh)},
           targetColor(f, Target::VeryHigh));
    addRow(figures, {bandCaption(High), percentText(f.bands[High]), QString()});
    addRow(figures,
           {QStringLiteral("hoch und sehr hoch"), percentText(f.highAll),
            withTarget(f, Target::HighAll)},
           targetColor(f, Target::HighAll));
    addRow(figures,
           {bandCaption(InRange), percentText(f.bands[InRange]), withTarget(f, Target::InRange)},
           targetColor(f, Target::InRange));
    addRow(figures, {bandCaption(Low), percentText(f.bands[Low]), QString()});
    addRow(figures,
           {QStringLiteral("niedrig und sehr niedrig"), percentText(f.lowAll),
            withTarget(f, Target::LowAll)},
           targetColor(f, Target::LowAll));
    addRow(figures,
           {bandCaption(VeryLow), percentText(f.bands[VeryLow]), withTarget(f, Target::VeryLow)},
           targetColor(f, Target::VeryLow));
    addRow(figures, {QStringLiteral("Unterzuckerungen Stufe 1 (54–69 mg/dl)"),
                     QString::number(f.hypoLevel1), QString()});
    addRow(figures, {QStringLiteral("Unterzuckerungen Stufe 2 (< 54 mg/dl)"),
                     QString::number(f.hypoLevel2), QString()});
}

// The figures table beside the range bar; returns the table.
QTableWidget *addFigures(QVBoxLayout *v, const Figures &f, QWidget *content) {
    QTableWidget *figures =
        makeTable({QStringLiteral("Kennzahl"), QStringLiteral("Wert"), QStringLiteral("Ziel")},
                  QStringLiteral("Kennzahlen"));
    addReadingRows(figures, f);
    addBandRows(figures, f);
    fitHeight(figures);
    auto *top = new QHBoxLayout;
    top->addWidget(figures, 3);
    top->addWidget(new ChartWidget(ChartWidget::Kind::RangeBar, f, content), 2);
    v->addLayout(top);
    return figures;
}

// Per slot: count, median, quartiles and range, in mg/dl and mmol/l.
QTableWidget *slotTableOf(const Figures &f) {
    QTableWidget *slotTable =
        makeTable({QStringLiteral("Messung"), QStringLiteral("Anzahl"), QStringLiteral("Median"),
                   QStringLiteral("25–75 %"), QStringLiteral("Min–Max")},
                  QStringLiteral("Tageszeiten"));
    for (const SlotFigures &s : f.perSlot)
        addRow(slotTable,
               {slotCaption(s.slot), QString::number(s.readings),
                german(s.median) + QStringLiteral(" (") + german(s.medianMmol) + u')',
                german(s.p25) + QStringLiteral("–") + german(s.p75) + QStringLiteral(" (") +
                    german(s.p25Mmol) + QStringLiteral("–") + german(s.p75Mmol) + u')',
                QStringLiteral("%1–%2 (").arg(s.min).arg(s.max) + german(s.minMmol) +
                    QStringLiteral("–") + german(s.maxMmol) + u')'});
    fitHeight(slotTable);
    return slotTable;
}

// The time-of-day profile and its figures.
void addProfile(QVBoxLayout *v, const Figures &f, QWidget *content) {
    auto *profileTitle =
        new QLabel(QStringLiteral("<b>Tageszeitenprofil</b> (Kasten: 25–75 %, Strich: Median, "
                                  "Linie: kleinster bis größter Wert; grün: 70–180 mg/dl)"),
                   content);
    v->addWidget(profileTitle);
    QTableWidget *slotTable = slotTableOf(f);
    auto *middle = new QHBoxLayout;
    middle->addWidget(new ChartWidget(ChartWidget::Kind::Profile, f, content), 1);
    auto *slotBox = new QVBoxLayout;
    slotBox->addWidget(new QLabel(QStringLiteral("Werte in mg/dl (in Klammern mmol/l)"), content));
    slotBox->addWidget(slotTable);
    slotBox->addStretch();
    middle->addLayout(slotBox, 1);
    v->addLayout(middle);
}

// The hypoglycaemias one by one.
void addHypos(QVBoxLayout *v, const Figures &f, QWidget *content) {
    v->addWidget(new QLabel(QStringLiteral("<b>Unterzuckerungen</b>: Stufe 1 (54–69 mg/dl): %1, "
                                           "Stufe 2 (&lt; 54 mg/dl): %2")
                                .arg(f.hypoLevel1)
                                .arg(f.hypoLevel2),
                            content));
    if (f.hypos.isEmpty()) return;
    QTableWidget *hypos =
        makeTable({QStringLiteral("Datum"), QStringLiteral("Messung"), QStringLiteral("Uhrzeit"),
                   QStringLiteral("mg/dl"), QStringLiteral("mmol/l"), QStringLiteral("Stufe")},
                  QStringLiteral("Unterzuckerungen"));
    for (const Reading &r : f.hypos)
        addRow(hypos, {dateText(r.date), slotCaption(r.slot),
                       r.time.isEmpty() ? QStringLiteral("–") : r.time, QString::number(r.mgdl),
                       german(mmolTenths(r.mgdl)),
                       r.mgdl < 54 ? QStringLiteral("2") : QStringLiteral("1")});
    fitHeight(hypos, 6);
    v->addWidget(hypos);
}

// What the shares mean, and the notes of the page and of its tables.
QLabel *notesLabel(const TStatistikDlg::Page &page, QWidget *content) {
    QStringList notes = {QStringLiteral("Die Anteile beziehen sich auf die Zahl der Messwerte "
                                        "(Blutzuckermessungen), nicht auf die Zeit. Ziele nach "
                                        "internationalem Konsens (Battelino et al., 2019).")};
    notes << page.extraNotes << page.collection.notes;
    auto *noteLabel = new QLabel(notes.join(u'\n'), content);
    noteLabel->setObjectName(QStringLiteral("Hinweise"));
    noteLabel->setWordWrap(true);
    noteLabel->setTextFormat(Qt::PlainText);
    return noteLabel;
}

} // namespace

ChartWidget::ChartWidget(Kind kind, const Figures &f, QWidget *parent)
    : QWidget(parent), m_kind(kind), m_figures(f) {
    setObjectName(kind == Kind::RangeBar ? QStringLiteral("Bereichsbalken")
                                         : QStringLiteral("Tageszeitenprofil"));
    setMinimumSize(kind == Kind::RangeBar ? QSize(340, 240) : QSize(380, 200));
}

QSize ChartWidget::sizeHint() const {
    return m_kind == Kind::RangeBar ? QSize(380, 270) : QSize(460, 230);
}

void ChartWidget::paintEvent(QPaintEvent *) {
    QPainter p(this);
    p.fillRect(rect(), Qt::white);
    const QRectF area = QRectF(rect()).adjusted(6, 6, -6, -6);
    if (m_kind == Kind::RangeBar)
        drawRangeBar(p, area, m_figures, 8);
    else
        drawProfile(p, area, m_figures, 8);
}

TStatistikDlg::TStatistikDlg(const QList<Page> &pages, QWidget *parent) : QDialog(parent) {
    setObjectName(QStringLiteral("TStatistikDlg"));
    setWindowTitle(QStringLiteral("Statistik"));
    auto *layout = new QVBoxLayout(this);
    Seiten = new QTabWidget(this);
    Seiten->setObjectName(QStringLiteral("Seiten"));
    for (const Page &page : pages)
        Seiten->addTab(makePage(page), page.title);
    layout->addWidget(Seiten);
    auto *buttons = new QHBoxLayout;
    ArztberichtBtn = new QPushButton(QStringLiteral("&Arztbericht als PDF…"), this);
    ArztberichtBtn->setObjectName(QStringLiteral("ArztberichtBtn"));
    SchliessenBtn = new QPushButton(QStringLiteral("&Schließen"), this);
    SchliessenBtn->setObjectName(QStringLiteral("SchliessenBtn"));
    SchliessenBtn->setDefault(true);
    buttons->addWidget(ArztberichtBtn);
    buttons->addStretch();
    buttons->addWidget(SchliessenBtn);
    layout->addLayout(buttons);
    connect(SchliessenBtn, &QPushButton::clicked, this, &QDialog::accept);
    resize(1120, 800);
}

QTableWidget *TStatistikDlg::figuresTable(int page) const {
    return page >= 0 && page < m_figures.size() ? m_figures[page] : nullptr;
}

QWidget *TStatistikDlg::makePage(const Page &page) {
    const Figures &f = page.collection.figures;
    auto *content = new QWidget;
    auto *v = new QVBoxLayout(content);
    v->addWidget(headLabel(page.collection, content));
    m_figures.append(addFigures(v, f, content));
    addProfile(v, f, content);
    addHypos(v, f, content);
    v->addWidget(notesLabel(page, content));
    v->addStretch();

    auto *scroll = new QScrollArea;
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setWidget(content);
    return scroll;
}

} // namespace statsview
