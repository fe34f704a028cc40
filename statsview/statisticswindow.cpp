#include "statisticswindow.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QTabWidget>
#include <QVBoxLayout>

#include "doctorreport.h"
#include "figuretable.h"
#include "labelpainter.h"
#include "platform/ui.h"
#include "stats/statstext.h"
#include "statscharts.h"

namespace statsview {

using namespace stats;

namespace {

const QColor kQuietColor(110, 110, 110);

// Paints one of the pictures of a page.
class ChartWidget : public QWidget {
public:
    enum class Kind { RangeBar, Profile, Trend };
    ChartWidget(Kind kind, const Collection &c, QWidget *parent)
        : QWidget(parent), m_kind(kind), m_figures(c.figures), m_months(lastYear(c)),
          m_unit(c.unit) {
        static const char *const names[] = {"Bereichsbalken", "Tagesprofil", "Verlauf"};
        setObjectName(QLatin1String(names[int(kind)]));
        setMinimumSize(minimum());
    }
    QSize sizeHint() const override {
        switch (m_kind) {
        case Kind::RangeBar:
            return {400, 270};
        case Kind::Profile:
            return {520, 290};
        case Kind::Trend:
            break;
        }
        return {520, 230};
    }

protected:
    void paintEvent(QPaintEvent *) override {
        QPainter p(this);
        p.fillRect(rect(), Qt::white);
        const QRectF area = QRectF(rect()).adjusted(6, 6, -6, -6);
        switch (m_kind) {
        case Kind::RangeBar:
            drawRangeBar(p, area, m_figures, 8, m_unit);
            break;
        case Kind::Profile:
            drawProfile(p, area, m_figures, 8, m_unit);
            break;
        case Kind::Trend:
            drawTrend(p, area, m_months, 8, m_unit);
            break;
        }
    }

private:
    QSize minimum() const {
        switch (m_kind) {
        case Kind::RangeBar:
            return {240, 250};
        case Kind::Profile:
            return {420, 260};
        case Kind::Trend:
            break;
        }
        return {380, 210};
    }

    Kind m_kind;
    Figures m_figures;
    QList<MonthPoint> m_months;
    GlucoseUnit m_unit;
};

// A section's title in bold and a remark after it, cut with "…" where the
// window is narrow. Painted by itself: a page has a handful of them, and
// labels lay their texts out at every size question.
class TitleLine : public QWidget {
public:
    TitleLine(const QString &title, const QString &remark, QWidget *parent)
        : QWidget(parent), m_title(title), m_remark(remark) {
        setToolTip(remark);
        setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
    }
    QSize sizeHint() const override {
        return {int(LabelPainter::width(m_title, boldFont(), this)) + 8,
                fontMetrics().height() + 8};
    }
    QSize minimumSizeHint() const override { return {1, sizeHint().height()}; }

protected:
    void paintEvent(QPaintEvent *) override {
        QPainter p(this);
        LabelPainter labels(p);
        p.setPen(palette().color(QPalette::WindowText));
        const qreal base = height() - 3 - fontMetrics().descent();
        labels.draw(QPointF(0, base), m_title, boldFont(), width());
        const qreal x = labels.width(m_title, boldFont()) + fontMetrics().averageCharWidth();
        if (!m_remark.isEmpty() && x < width())
            labels.draw(QPointF(x, base), m_remark, font(), width() - x);
    }

private:
    QFont boldFont() const {
        QFont f = font();
        f.setBold(true);
        return f;
    }
    QString m_title, m_remark;
};

QWidget *sectionTitle(const QString &title, const QString &remark, QWidget *parent) {
    return new TitleLine(title, remark, parent);
}

// Name, period and tables of a page.
QLabel *headLabel(const Collection &c, QWidget *parent) {
    auto *head = new QLabel(parent);
    head->setObjectName(QStringLiteral("Kopf"));
    head->setTextFormat(Qt::PlainText);
    head->setText((c.userName.isEmpty()
                       ? QString()
                       : QStringLiteral("Name: ") + c.userName + QStringLiteral("     ")) +
                  QStringLiteral("Zeitraum: ") +
                  (c.periodName().isEmpty() ? QStringLiteral("–") : c.periodName()) +
                  QStringLiteral("     Tabellen: ") + c.fileNames().join(QStringLiteral(", ")));
    return head;
}

// One row of the figures table: caption, value, target with its verdict,
// the period before and the change.
struct FigureRow {
    QString caption, value;
    std::optional<Target> target;
    std::optional<Compared> compared;
    QString targetText = QString();
};

QList<FigureRow> figureRows(const Figures &f, GlucoseUnit unit) {
    return {
        {QStringLiteral("Messwerte"),
         readingsOnDays(f.readings, f.daysWithReadings),
         {},
         Compared::Readings},
        {QStringLiteral("Mittelwert"), bothUnits(f.mean, f.meanMmol, unit), {}, Compared::Mean},
        {QStringLiteral("Standardabweichung"),
         f.sd ? bothUnits(f.sd, f.sdMmol, unit) : fromThirtyText(),
         {},
         Compared::Sd},
        {QStringLiteral("Variationskoeffizient"),
         f.cv ? percentText(f.cv) : fromThirtyText(),
         {},
         Compared::Cv},
        {QStringLiteral("Geschätzter HbA1c (eA1c)"),
         ea1cText(f),
         {},
         Compared::Ea1c,
         QStringLiteral("Schätzung, kein Laborwert")},
        {comparedCaption(Compared::VeryHighShare, unit), percentText(f.bands[VeryHigh]),
         Target::VeryHigh, Compared::VeryHighShare},
        {comparedCaption(Compared::HighShare, unit),
         percentText(f.bands[High]),
         {},
         Compared::HighShare},
        {QStringLiteral("hoch und sehr hoch"), percentText(f.highAll), Target::HighAll, {}},
        {comparedCaption(Compared::InRangeShare, unit), percentText(f.bands[InRange]),
         Target::InRange, Compared::InRangeShare},
        {comparedCaption(Compared::LowShare, unit),
         percentText(f.bands[Low]),
         {},
         Compared::LowShare},
        {QStringLiteral("niedrig und sehr niedrig"), percentText(f.lowAll), Target::LowAll, {}},
        {comparedCaption(Compared::VeryLowShare, unit), percentText(f.bands[VeryLow]),
         Target::VeryLow, Compared::VeryLowShare},
        {QStringLiteral("Unterzuckerungen Stufe 1 (") + bandBounds(Low, unit) + u')',
         QString::number(f.hypoLevel1),
         {},
         Compared::HypoLevel1},
        {QStringLiteral("Unterzuckerungen Stufe 2 (") + bandBounds(VeryLow, unit) + u')',
         QString::number(f.hypoLevel2),
         {},
         Compared::HypoLevel2},
    };
}

// The figures table beside the range bar.
void addFigures(QVBoxLayout *v, const Collection &c, QWidget *content) {
    const Figures &f = c.figures;
    const bool before = c.previous.exists();
    v->addWidget(sectionTitle(
        QStringLiteral("Kennzahlen"),
        QStringLiteral("mit dem Zeitraum davor (%1%2); Ziele bewertet und "
                       "Änderungen gezeigt ab %3 Messwerten")
            .arg(c.previousPeriodName(), before ? QString() : QStringLiteral(": keine Tabelle"))
            .arg(kMinReadingsForVerdict),
        content));
    auto *figures =
        new FigureTable({QStringLiteral("Kennzahl"), QStringLiteral("Wert"), QStringLiteral("Ziel"),
                         QStringLiteral("davor"), QStringLiteral("Änderung")},
                        QStringLiteral("Kennzahlen"), content);
    for (const FigureRow &r : figureRows(f, c.unit)) {
        QString target = r.targetText;
        QColor color;
        if (r.target) {
            const Verdict verdict = verdictOf(f, *r.target);
            target = targetText(*r.target) + QStringLiteral(" – ") + verdictText(verdict);
            color = verdictColor(verdict);
        }
        QString previous, delta;
        QColor deltaColor = kQuietColor;
        if (r.compared) {
            previous = before ? comparedValue(c.previous.figures, *r.compared, c.unit)
                              : QStringLiteral("–");
            const Tenths d = change(f, c.previous.figures, *r.compared);
            delta = changeText(d, *r.compared, c.unit);
            if (d) deltaColor = QColor(Qt::black);
        }
        figures->addRow({r.caption, r.value, target, previous, delta},
                        {QColor(), QColor(), color, kQuietColor, deltaColor});
    }
    auto *top = new QHBoxLayout;
    top->addWidget(figures, 0, Qt::AlignTop);
    top->addWidget(new ChartWidget(ChartWidget::Kind::RangeBar, c, content), 1);
    v->addLayout(top);
}

// Per slot: clock time, count and percentiles in the unit.
FigureTable *slotTableOf(const Figures &f, GlucoseUnit unit, QWidget *content) {
    auto *slotTable = new FigureTable({QStringLiteral("Messzeit"), QStringLiteral("Uhrzeit"),
                                       QStringLiteral("n"), QStringLiteral("Median"),
                                       QStringLiteral("25–75 %"), QStringLiteral("10–90 %"),
                                       QStringLiteral("5–95 %"), QStringLiteral("Min–Max")},
                                      QStringLiteral("Tageszeiten"), content);
    for (const SlotFigures &s : f.perSlot) {
        const bool median = s.mgdl[P50].has_value();
        slotTable->addRow({slotCaption(s.slot),
                           s.typicalTime().isEmpty() ? QStringLiteral("–") : s.typicalTime(),
                           QString::number(s.readings),
                           median ? percentileText(s, P50, unit)
                                  : QStringLiteral("Werte: ") + slotValues(s, unit).join(u' '),
                           percentileRange(s, P25, P75, unit), percentileRange(s, P10, P90, unit),
                           percentileRange(s, P5, P95, unit), minMaxText(s, unit)});
    }
    return slotTable;
}

// The day profile and its figures, and the year's trend.
void addProfile(QVBoxLayout *v, const Collection &c, QWidget *content) {
    v->addWidget(sectionTitle(QStringLiteral("Tagesprofil (Perzentile je Messzeit)"),
                              QStringLiteral("Werte in ") + glucoseunit::unitText(c.unit) +
                                  QStringLiteral("; ") + percentileRule(),
                              content));
    auto *middle = new QHBoxLayout;
    middle->addWidget(new ChartWidget(ChartWidget::Kind::Profile, c, content), 1);
    middle->addWidget(slotTableOf(c.figures, c.unit, content), 0, Qt::AlignTop);
    v->addLayout(middle);
}

// The year's trend, and beside it the hypoglycaemias.
QVBoxLayout *addTrend(QHBoxLayout *row, const Collection &c, QWidget *content) {
    auto *left = new QVBoxLayout;
    left->addWidget(sectionTitle(QStringLiteral("Verlauf der letzten 12 Monate"),
                                 QStringLiteral("Monatsmittelwert und eA1c (ab %1 Messwerten an "
                                                "%2 Tagen)")
                                     .arg(kMinReadingsForSpread)
                                     .arg(kMinDaysForEa1c),
                                 content));
    left->addWidget(new ChartWidget(ChartWidget::Kind::Trend, c, content));
    left->addStretch();
    row->addLayout(left, 1);
    auto *right = new QVBoxLayout;
    row->addLayout(right, 1);
    return right;
}

// The hypoglycaemias one by one, the most recent in view.
void addHypos(QVBoxLayout *v, const Figures &f, GlucoseUnit unit, QWidget *content) {
    v->addWidget(sectionTitle(QStringLiteral("Unterzuckerungen"),
                              QStringLiteral("Stufe 1 (%1): %2, Stufe 2 (%3): %4")
                                  .arg(bandBounds(Low, unit))
                                  .arg(f.hypoLevel1)
                                  .arg(bandBounds(VeryLow, unit))
                                  .arg(f.hypoLevel2),
                              content));
    if (f.hypos.isEmpty()) return;
    // The chosen unit's column first.
    const bool mmol = unit == GlucoseUnit::MmolL;
    const QString mgCaption = QStringLiteral("mg/dl"), mmolCaption = QStringLiteral("mmol/l");
    auto *hypos = new FigureTable({QStringLiteral("Datum"), QStringLiteral("Messung"),
                                   QStringLiteral("Uhrzeit"), mmol ? mmolCaption : mgCaption,
                                   mmol ? mgCaption : mmolCaption, QStringLiteral("Stufe")},
                                  QStringLiteral("Unterzuckerungen"), content);
    for (const Reading &r : f.hypos) {
        const QString mg = QString::number(r.mgdl), mm = german(mmolTenths(r.mgdl));
        hypos->addRow({dateText(r.date), slotCaption(r.slot),
                       r.minute < 0 ? QStringLiteral("–") : r.timeText(), mmol ? mm : mg,
                       mmol ? mg : mm, r.mgdl < 54 ? QStringLiteral("2") : QStringLiteral("1")});
    }
    // A long list scrolls in a box of its own, the most recent in view.
    constexpr int kShownRows = 8;
    if (hypos->rowCount() <= kShownRows) {
        v->addWidget(hypos, 0, Qt::AlignLeft);
        return;
    }
    auto *box = new QScrollArea(content);
    hypos->resize(hypos->sizeHint());
    box->setWidget(hypos);
    box->setFixedHeight(hypos->sizeHint().height() * (kShownRows + 1) / (hypos->rowCount() + 1) +
                        2 * box->frameWidth());
    box->setFixedWidth(hypos->sizeHint().width() + box->verticalScrollBar()->sizeHint().width() +
                       2 * box->frameWidth());
    box->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    QMetaObject::invokeMethod(
        box, [box] { box->verticalScrollBar()->setValue(box->verticalScrollBar()->maximum()); },
        Qt::QueuedConnection);
    v->addWidget(box, 0, Qt::AlignLeft);
}

// What the shares mean, and the notes of the page and of its tables.
QLabel *notesLabel(const StatisticsWindow::Page &page, QWidget *content) {
    QStringList notes = {QStringLiteral("Die Anteile beziehen sich auf die Zahl der Messwerte "
                                        "(Blutzuckermessungen), nicht auf die Zeit. Ziele nach "
                                        "internationalem Konsens (Battelino et al., 2019).")};
    notes << page.extraNotes << page.collection.notes;
    // One line a note: a label that wraps lays out its text at every size question.
    auto *noteLabel = new QLabel(notes.join(u'\n'), content);
    noteLabel->setObjectName(QStringLiteral("Hinweise"));
    noteLabel->setTextFormat(Qt::PlainText);
    return noteLabel;
}

QWidget *pageWidget(const StatisticsWindow::Page &page) {
    const Collection &c = page.collection;
    auto *content = new QWidget;
    auto *v = new QVBoxLayout(content);
    v->addWidget(headLabel(c, content));
    addFigures(v, c, content);
    addProfile(v, c, content);
    auto *bottom = new QHBoxLayout;
    QVBoxLayout *right = addTrend(bottom, c, content);
    addHypos(right, c.figures, c.unit, content);
    right->addStretch();
    v->addLayout(bottom);
    v->addWidget(notesLabel(page, content));
    v->addStretch();
    auto *scroll = new QScrollArea;
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setWidget(content);
    return scroll;
}

} // namespace

StatisticsWindow::StatisticsWindow(ui::Services &ui, QWidget *parent) : QDialog(parent), m_ui(ui) {
    setObjectName(QStringLiteral("StatisticsWindow"));
    setWindowTitle(QStringLiteral("Statistik"));
    auto *layout = new QVBoxLayout(this);
    m_tabs = new QTabWidget(this);
    m_tabs->setObjectName(QStringLiteral("Seiten"));
    layout->addWidget(m_tabs);
    auto *buttons = new QHBoxLayout;
    auto *report = new QPushButton(QStringLiteral("&Arztbericht als PDF…"), this);
    report->setObjectName(QStringLiteral("ArztberichtBtn"));
    auto *close = new QPushButton(QStringLiteral("&Schließen"), this);
    close->setObjectName(QStringLiteral("SchliessenBtn"));
    close->setDefault(true);
    buttons->addWidget(report);
    buttons->addStretch();
    buttons->addWidget(close);
    layout->addLayout(buttons);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    connect(report, &QPushButton::clicked, this, [this] { writeReport(); });
    connect(m_tabs, &QTabWidget::currentChanged, this, [this](int page) { buildPage(page); });
    resize(1120, 800);
}

bool StatisticsWindow::showTable(const QString &tablePath, const QString &baseFolder,
                                 GlucoseUnit unit) {
    if (tablePath.trimmed().isEmpty()) {
        m_ui.showInformation(QStringLiteral("Es ist keine Monatstabelle geöffnet. Bitte öffnen "
                                            "Sie zuerst einen Monat."));
        return false;
    }
    ShownMonths months;
    QString error;
    if (!readShownMonths(tablePath, baseFolder, unit, months, &error)) {
        m_ui.showWarning(error);
        return false;
    }
    m_tablePath = tablePath;
    showMonths(months, baseFolder);
    return true;
}

bool StatisticsWindow::reload() {
    return showTable(m_tablePath, m_baseFolder, m_months.month.unit);
}

void StatisticsWindow::showMonths(const ShownMonths &m, const QString &baseFolder) {
    m_months = m;
    m_baseFolder = baseFolder;
    Page shown{QStringLiteral("Angezeigter Monat (%1)").arg(m.month.periodName()), m.month, {}};
    Page three{
        QStringLiteral("Letzte drei Monate (%1)").arg(m.lastThree.periodName()), m.lastThree, {}};
    if (!m.missing.isEmpty())
        three.extraNotes
            << QStringLiteral("Ohne Tabelle: %1.").arg(m.missing.join(QStringLiteral(", ")));
    three.extraNotes << QStringLiteral("Der geschätzte HbA1c (eA1c) spiegelt etwa die letzten "
                                       "drei Monate wider; er ist kein Laborwert.");
    setPages({shown, three});
}

void StatisticsWindow::setPages(const QList<Page> &pages) {
    const int current = std::max(0, m_tabs->currentIndex());
    const QSignalBlocker block(m_tabs);
    while (m_tabs->count() > 0) {
        QWidget *w = m_tabs->widget(0);
        m_tabs->removeTab(0);
        delete w;
    }
    m_pages = pages;
    m_built = QList<bool>(pages.size(), false);
    for (const Page &page : pages)
        m_tabs->addTab(new QWidget, page.title);
    if (!pages.isEmpty()) {
        m_tabs->setCurrentIndex(std::min(current, int(pages.size()) - 1));
        buildPage(m_tabs->currentIndex());
    }
}

void StatisticsWindow::buildPage(int page) {
    if (page < 0 || page >= m_pages.size() || m_built[page]) return;
    m_built[page] = true;
    const QSignalBlocker block(m_tabs);
    QWidget *placeholder = m_tabs->widget(page);
    m_tabs->removeTab(page);
    delete placeholder;
    m_tabs->insertTab(page, pageWidget(m_pages[page]), m_pages[page].title);
    m_tabs->setCurrentIndex(page);
}

bool StatisticsWindow::writeReport() {
    QString path;
    if (!saveDoctorReport(m_ui, m_months.lastThree, m_months.missing, m_baseFolder, this, &path))
        return false;
    emit reportWritten(path);
    return true;
}

int StatisticsWindow::pageCount() const {
    return int(m_pages.size());
}

QString StatisticsWindow::pageTitle(int page) const {
    return page >= 0 && page < m_pages.size() ? m_pages[page].title : QString();
}

void StatisticsWindow::showPage(int page) {
    if (page >= 0 && page < m_pages.size()) m_tabs->setCurrentIndex(page);
}

int StatisticsWindow::currentPage() const {
    return m_tabs->currentIndex();
}

} // namespace statsview
