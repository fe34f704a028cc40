#include "doctorreport.h"

#include <QBuffer>
#include <QDir>
#include <QFileInfo>
#include <QMap>
#include <QPainter>
#include <QPdfWriter>
#include <climits>

#include "labelpainter.h"
#include "platform/textfile.h"
#include "platform/ui.h"
#include "stats/statstext.h"
#include "statscharts.h"

namespace statsview {

using namespace stats;

namespace {

constexpr int kResolution = 1200; // dots per inch of the PDF's coordinates
constexpr qreal kLeft = 12, kRight = 198, kFooterTop = 276;
const QColor kGrey(100, 100, 100);
const QColor kShade(240, 243, 246);
const QColor kLevel2(170, 0, 0); // hypoglycaemias below 54 mg/dl
const QColor kHeading(20, 50, 100);

// Drawing in millimetres with text sizes in points.
class Sheet {
public:
    explicit Sheet(QPainter &p) : m_p(p), m_labels(p), m_dpmm(kResolution / 25.4) {}

    QPainter &painter() { return m_p; }
    LabelPainter &labels() { return m_labels; }
    qreal d(qreal mm) const { return mm * m_dpmm; }
    QRectF rect(qreal x, qreal y, qreal w, qreal h) const { return {d(x), d(y), d(w), d(h)}; }

    qreal width(const QString &s, qreal pt) { return m_labels.width(s, chartFont(pt)) / m_dpmm; }
    // Text with its baseline at y; x is the left edge, or the right edge
    // with Qt::AlignRight. Text wider than maxWidth is made smaller. The page
    // has one font face, which is half the work of writing it: `emphasis`
    // draws black text in the headings' blue.
    void text(qreal x, qreal y, const QString &s, qreal pt, bool emphasis = false,
              const QColor &color = Qt::black, Qt::Alignment align = Qt::AlignLeft,
              qreal maxWidth = kRight - kLeft) {
        m_p.setPen(emphasis && color == Qt::black ? kHeading : color);
        m_labels.draw(QPointF(d(x), d(y)), s, chartFont(pt), d(maxWidth), align);
    }
    // Text wrapped into a box; returns the height it took in millimetres.
    qreal wrapped(qreal x, qreal y, qreal w, const QString &s, qreal pt,
                  const QColor &color = Qt::black) {
        m_p.setFont(chartFont(pt));
        m_p.setPen(color);
        QRectF used;
        m_p.drawText(rect(x, y, w, 100), Qt::TextWordWrap | Qt::AlignLeft | Qt::AlignTop, s, &used);
        return used.height() / m_dpmm;
    }
    // Cells of a row at their stops (x + stops[i] millimetres), centred on
    // them or starting there: with a stop for every cell each cell stands at
    // its stop, with one stop less the first cell starts at x. The row is
    // made smaller when a cell is wider than its room (rooms[i], or the last
    // room for the cells after). A row goes out as one run of glyphs per
    // colour: the day grid, the tables and the list of hypoglycaemias hold
    // most of the page's text.
    struct Cells {
        QStringList texts;
        QList<qreal> stops, rooms;
        bool centred = false;
        qreal pt = 6.5;
        QColor color = Qt::black;
        QList<QColor> colors; // invalid: `color`
    };
    void cells(qreal x, qreal y, const Cells &c) {
        QFont font = chartFont(c.pt);
        qreal ratio = 1;
        for (int i = 0; i < c.texts.size() && !c.rooms.isEmpty(); ++i)
            ratio = std::max(ratio, width(c.texts[i], c.pt) /
                                        c.rooms[std::min<qsizetype>(i, c.rooms.size() - 1)]);
        if (ratio > 1) font = chartFont(std::max(c.pt / 2, std::floor(c.pt / ratio * 4) / 4));
        QList<QPair<QColor, QList<LabelPainter::Piece>>> runs;
        const bool ownStops = c.stops.size() >= c.texts.size();
        for (int i = 0; i < c.texts.size(); ++i) {
            const qreal stop = ownStops ? c.stops[i] : i == 0 ? 0 : c.stops[i - 1];
            const qreal left = d(x + stop) - (c.centred ? m_labels.width(c.texts[i], font) / 2 : 0);
            const QColor color =
                i < c.colors.size() && c.colors[i].isValid() ? c.colors[i] : c.color;
            auto run = std::find_if(runs.begin(), runs.end(),
                                    [&](const auto &r) { return r.first == color; });
            if (run == runs.end()) run = runs.insert(runs.end(), {color, {}});
            run->second.append({QPointF(left, d(y)), c.texts[i]});
        }
        for (const auto &[color, pieces] : runs) {
            m_p.setPen(color);
            m_labels.drawRun(pieces, font);
        }
    }
    void rule(qreal y, const QColor &color = kGrey, qreal widthPt = 0.5) {
        m_p.setPen(QPen(color, widthPt * kResolution / 72.0));
        m_p.drawLine(QPointF(d(kLeft), d(y)), QPointF(d(kRight), d(y)));
    }
    void fill(qreal x, qreal y, qreal w, qreal h, const QColor &c) {
        m_p.fillRect(rect(x, y, w, h), c);
    }
    // A title and, after it, a remark in grey.
    void title(qreal x, qreal y, const QString &title, const QString &remark = QString(),
               qreal maxWidth = kRight - kLeft) {
        text(x, y, title, 9, true, Qt::black, Qt::AlignLeft, maxWidth);
        const qreal w = width(title, 9) + 2.5;
        if (!remark.isEmpty() && w < maxWidth)
            text(x + w, y, remark, 6.3, false, kGrey, Qt::AlignLeft, maxWidth - w);
    }

private:
    QPainter &m_p;
    LabelPainter m_labels;
    qreal m_dpmm;
};

// A table of rows: columns at offsets from the table's left edge, each row
// shaded by turns across the whole table, every cell fitted to its column.
struct Columns {
    qreal left;
    QList<qreal> starts; // offsets of the columns; the last entry is the table's width
    qreal width() const { return starts.back(); }
    qreal x(int c) const { return left + starts[c] + 0.8; }
    qreal room(int c) const { return starts[c + 1] - starts[c] - 1.2; }
};

void row(Sheet &s, const Columns &cols, qreal base, qreal height, const QStringList &cells,
         qreal pt, bool shaded, const QList<QColor> &colors = {}) {
    if (shaded) s.fill(cols.left, base - height * 0.72, cols.width(), height, kShade);
    Sheet::Cells c;
    c.texts = cells;
    for (int i = 1; i < cells.size(); ++i)
        c.stops << cols.starts[i] - cols.starts[0];
    for (int i = 0; i < cells.size(); ++i)
        c.rooms << cols.room(i);
    c.pt = pt;
    c.colors = colors;
    s.cells(cols.x(0), base, c);
}

// Header lines: title, name, period, tables.
qreal drawHead(Sheet &s, const Collection &c, const QDate &created, const QStringList &missing) {
    s.text(kLeft, 17, QStringLiteral("Arztbericht: Blutzucker-Selbstkontrolle"), 14, true);
    s.text(kRight, 17, QStringLiteral("Glykovalin-Tagebuch"), 8, false, kGrey, Qt::AlignRight);
    const QString name =
        QStringLiteral("Name: ") + (c.userName.isEmpty() ? QStringLiteral("–") : c.userName);
    s.text(kLeft, 23.5, name, 9, true, Qt::black, Qt::AlignLeft, 60);
    const QString period = c.periodName().isEmpty()
                               ? QStringLiteral("–")
                               : c.periodName() + QStringLiteral(" (") + c.period + u')';
    const qreal px = std::max<qreal>(70, kLeft + s.width(name, 9) + 6);
    s.text(px, 23.5, QStringLiteral("Zeitraum: ") + period, 9, true, Qt::black, Qt::AlignLeft,
           kRight - 32 - px);
    s.text(kRight, 23.5, QStringLiteral("erstellt am ") + dateText(created), 8, false, kGrey,
           Qt::AlignRight);
    const QStringList files = c.fileNames();
    QString tables = QStringLiteral("Tabellen: ") + files.join(QStringLiteral(", "));
    if (files.size() > 2 && s.width(tables, 6.5) > (kRight - kLeft) * 0.6)
        tables = QStringLiteral("Tabellen: %1 … %2 (%3 Tabellen)")
                     .arg(files.first(), files.last())
                     .arg(files.size());
    if (!missing.isEmpty())
        tables += QStringLiteral("; ohne Tabelle: ") + missing.join(QStringLiteral(", "));
    s.text(kLeft, 27.8, tables, 6.5, false, kGrey);
    s.rule(29.5);
    return 34;
}

// The figures of the period and of the period before, with the change, on
// the left; the range bar on the right.
qreal drawFigures(Sheet &s, const Collection &c, qreal y) {
    const Figures &f = c.figures;
    const GlucoseUnit unit = c.unit;
    const bool before = c.previous.exists();
    s.title(kLeft, y, QStringLiteral("Kennzahlen"),
            QStringLiteral("davor: ") + c.previousPeriodName() +
                (before ? QString() : QStringLiteral(" (keine Tabelle)")),
            110);
    s.title(126, y, QStringLiteral("Anteile der Messwerte in den Bereichen"), QString(),
            kRight - 126);
    const Columns cols{kLeft, {0, 45, 76, 92, 110}};
    const qreal rowH = 3.7;
    qreal base = y + 4.6;
    row(s, cols, base, rowH,
        {QString(), QStringLiteral("Zeitraum"), QStringLiteral("davor"),
         QStringLiteral("Änderung")},
        6.5, false, {QColor(), kGrey, kGrey, kGrey});
    const Compared order[] = {
        Compared::Readings, Compared::Mean,          Compared::Sd,         Compared::Cv,
        Compared::Ea1c,     Compared::VeryHighShare, Compared::HighShare,  Compared::InRangeShare,
        Compared::LowShare, Compared::VeryLowShare,  Compared::HypoLevel1, Compared::HypoLevel2};
    int i = 0;
    for (Compared what : order) {
        base += rowH;
        QString caption = comparedCaption(what, unit), value;
        switch (what) {
        case Compared::Readings:
            value = readingsOnDays(f.readings, f.daysWithReadings);
            break;
        case Compared::Mean:
            value = bothUnits(f.mean, f.meanMmol, unit);
            break;
        case Compared::Sd:
            value = f.sd ? bothUnits(f.sd, f.sdMmol, unit) : fromThirtyText();
            break;
        case Compared::Cv:
            value = f.cv ? percentText(f.cv) : fromThirtyText();
            break;
        case Compared::Ea1c:
            caption += QStringLiteral("¹");
            value = ea1cText(f);
            break;
        case Compared::HypoLevel1:
            caption += QStringLiteral(" (") + bandBounds(Low, unit) + u')';
            value = comparedValue(f, what, unit);
            break;
        case Compared::HypoLevel2:
            caption += QStringLiteral(" (") + bandBounds(VeryLow, unit) + u')';
            value = comparedValue(f, what, unit);
            break;
        default:
            value = comparedValue(f, what, unit);
        }
        const Tenths delta = change(f, c.previous.figures, what);
        row(s, cols, base, rowH,
            {caption, value,
             before ? comparedValue(c.previous.figures, what, unit) : QStringLiteral("–"),
             changeText(delta, what, unit)},
            7, i++ % 2 == 0, {QColor(), QColor(), kGrey, delta ? Qt::black : kGrey});
    }
    s.text(kLeft, base + 3.6,
           QStringLiteral("Änderung nur, wo beide Zeiträume genug Messwerte haben (ab %1; "
                          "Messwerte: ab 1); Anteile in Prozentpunkten.")
               .arg(kMinReadingsForVerdict),
           6, false, kGrey, Qt::AlignLeft, 110);
    drawRangeBar(s.labels(), s.rect(126, y + 1.5, kRight - 126, 56), f, 6.3, unit);
    return std::max(base + 3.6, y + 58) + 5;
}

// The day profile on the left, the year's trend on the right.
qreal drawProfileAndTrend(Sheet &s, const Collection &c, qreal y) {
    s.title(kLeft, y, QStringLiteral("Tagesprofil (Perzentile je Messzeit)"), QString(), 112);
    drawProfile(s.labels(), s.rect(kLeft, y + 1.5, 112, 56), c.figures, 6, c.unit);
    s.title(130, y, QStringLiteral("Verlauf der letzten 12 Monate"), QString(), kRight - 130);
    drawTrend(s.labels(), s.rect(130, y + 1.5, kRight - 130, 56), lastYear(c), 6, c.unit);
    return y + 62;
}

// The figures of each slot, in the unit; the last column gives the median
// in the other unit.
qreal drawSlotTable(Sheet &s, const Figures &f, GlucoseUnit unit, qreal y) {
    const GlucoseUnit other = unit == GlucoseUnit::MmolL ? GlucoseUnit::MgDl : GlucoseUnit::MmolL;
    s.title(kLeft, y, QStringLiteral("Werte je Messzeit"),
            glucoseunit::unitText(unit) + QStringLiteral("; Uhrzeit: Median der Uhrzeiten; ") +
                percentileRule());
    const Columns cols{kLeft, {0, 22, 36, 44, 60, 85, 110, 135, 157, 186}};
    const qreal rowH = 3.2;
    qreal base = y + 4.4;
    row(s, cols, base, rowH,
        {QStringLiteral("Messzeit"), QStringLiteral("Uhrzeit"), QStringLiteral("n"),
         QStringLiteral("Median"), QStringLiteral("25–75 %"), QStringLiteral("10–90 %"),
         QStringLiteral("5–95 %"), QStringLiteral("Min–Max"),
         QStringLiteral("Median ") + glucoseunit::unitText(other)},
        6.3, false,
        {kHeading, kHeading, kHeading, kHeading, kHeading, kHeading, kHeading, kHeading, kHeading});
    if (f.perSlot.isEmpty()) {
        base += rowH;
        s.text(cols.x(0), base, QStringLiteral("keine Messwerte"), 6.5);
    }
    int i = 0;
    for (const SlotFigures &sf : f.perSlot) {
        base += rowH;
        const bool median = sf.mgdl[P50].has_value();
        row(s, cols, base, rowH,
            {slotCaption(sf.slot),
             sf.typicalTime().isEmpty() ? QStringLiteral("–") : sf.typicalTime(),
             QString::number(sf.readings),
             median ? percentileText(sf, P50, unit)
                    : QStringLiteral("Werte: ") + slotValues(sf, unit).join(u' '),
             median ? percentileRange(sf, P25, P75, unit) : QString(),
             median ? percentileRange(sf, P10, P90, unit) : QString(),
             median ? percentileRange(sf, P5, P95, unit) : QString(), minMaxText(sf, unit),
             median ? percentileText(sf, P50, other) : QStringLiteral("–")},
            6.5, i++ % 2 == 0);
    }
    return base + 4.5;
}

struct MonthBlock {
    int key = 0;
    QMap<int, DayMean> means;
    QMap<int, DaySums> sums;
    bool hasCarb = false, hasInsulin = false, hasIct = false;
    QString carbUnit;
    int rows() const { return 3 + hasCarb + hasInsulin + 2 * hasIct; }
    qreal height() const { return 4 + rows() * 3.0 + 1.5; }
};

// The latest months of the collection, at most DoctorReport::kMaxGridMonths.
QList<int> gridMonths(const Collection &c) {
    QList<int> keys;
    if (c.firstMonth < 0) return keys;
    for (int k = std::max(c.firstMonth, c.lastMonth - DoctorReport::kMaxGridMonths + 1);
         k <= c.lastMonth; ++k)
        keys << k;
    return keys;
}

QList<MonthBlock> monthBlocks(const Collection &c, const QList<DaySums> &diary) {
    QList<MonthBlock> blocks;
    const QList<int> keys = gridMonths(c);
    // The day means are in date order: only the last months' are looked at.
    const QDate from =
        keys.isEmpty() ? QDate() : QDate(keys.front() / 12, keys.front() % 12 + 1, 1);
    QMap<int, QMap<int, DayMean>> means;
    for (auto it = c.figures.dayMeans.crbegin();
         it != c.figures.dayMeans.crend() && it->date >= from; ++it)
        means[monthKey(it->date.year(), it->date.month())][it->date.day()] = *it;
    for (int key : keys) {
        MonthBlock b;
        b.key = key;
        b.means = means.value(key);
        QStringList units;
        for (const DaySums &ds : diary) {
            if (monthKey(ds.date.year(), ds.date.month()) != key) continue;
            b.sums[ds.date.day()] = ds;
            b.hasCarb = b.hasCarb || ds.carb || ds.carbUnreadable;
            b.hasInsulin = b.hasInsulin || ds.insulin || ds.insulinUnreadable;
            b.hasIct = b.hasIct || ds.bolus || ds.basal;
            if (!ds.carbUnit.isEmpty() && !units.contains(ds.carbUnit)) units << ds.carbUnit;
        }
        b.carbUnit = units.isEmpty() ? QStringLiteral("BE/KE") : units.join(u'/');
        blocks << b;
    }
    return blocks;
}

QString sumCell(const std::optional<double> &v, bool unreadable) {
    if (unreadable) return QStringLiteral("?");
    return v ? sumText(*v) : QString();
}

// The text of one cell of the day grid: row r of the block, day `day`; the
// means in the unit first (row 1), then in the other (row 2).
QString gridCell(const MonthBlock &b, const QString &label, int r, int day, GlucoseUnit unit) {
    const DaySums ds = b.sums.value(day);
    switch (r) {
    case 0:
        return QString::number(day);
    case 1:
    case 2:
        if (!b.means.contains(day)) return QString();
        return (r == 1) == (unit == GlucoseUnit::MgDl) ? QString::number(b.means[day].mgdl)
                                                       : german(b.means[day].mmol);
    default:
        break;
    }
    if (label.startsWith(QStringLiteral("Insulin")))
        return sumCell(ds.insulin, ds.insulinUnreadable);
    if (label.startsWith(QStringLiteral("Bolus"))) return sumCell(ds.bolus, false);
    if (label.startsWith(QStringLiteral("Basal"))) return sumCell(ds.basal, false);
    return sumCell(ds.carb, ds.carbUnreadable);
}

// Daily means and the diary's day sums, one block of rows per month.
qreal drawDayGrid(Sheet &s, const Collection &c, const QList<DaySums> &diary, qreal y,
                  qreal maxHeight) {
    QList<MonthBlock> blocks = monthBlocks(c, diary);
    bool anyDiary = false;
    for (const MonthBlock &b : blocks)
        anyDiary = anyDiary || b.rows() > 3;
    QString title = QStringLiteral("Tagesmittelwerte");
    if (anyDiary) title += QStringLiteral(" und Tagessummen aus dem Tagebuch");
    // Only the latest months when the page has no room for all of them.
    qreal need = 0;
    int keep = 0;
    for (qsizetype i = blocks.size() - 1; i >= 0; --i) {
        if (need + blocks[i].height() > maxHeight - 4) break;
        need += blocks[i].height();
        ++keep;
    }
    const int months = c.firstMonth < 0 ? 0 : c.lastMonth - c.firstMonth + 1;
    s.title(kLeft, y, title,
            keep < months ? QStringLiteral("(die letzten %1 von %2 Monaten)").arg(keep).arg(months)
                          : QString());
    blocks = blocks.mid(blocks.size() - keep);
    const qreal labelW = 17, cellW = (kRight - kLeft - labelW) / 31.0;
    qreal ry = y + 2;
    for (const MonthBlock &b : blocks) {
        ry += 3.6;
        s.text(kLeft, ry, monthName(b.key), 7, true);
        const bool mmol = c.unit == GlucoseUnit::MmolL;
        QStringList labels = {QStringLiteral("Tag"),
                              mmol ? QStringLiteral("mmol/l") : QStringLiteral("mg/dl"),
                              mmol ? QStringLiteral("mg/dl") : QStringLiteral("mmol/l")};
        if (b.hasCarb) labels << b.carbUnit;
        if (b.hasInsulin) labels << QStringLiteral("Insulin (IE)");
        if (b.hasIct) labels << QStringLiteral("Bolus (IE)") << QStringLiteral("Basal (IE)");
        const int days = QDate(b.key / 12, b.key % 12 + 1, 1).daysInMonth();
        s.fill(kLeft, ry + 0.6, kRight - kLeft, 3.0, QColor(236, 239, 242));
        for (int r = 0; r < labels.size(); ++r) {
            const qreal base = ry + 3.0 * (r + 1);
            s.text(kLeft + 1, base, labels[r], 6, r == 0, r == 0 ? kGrey : Qt::black, Qt::AlignLeft,
                   labelW - 1.5);
            QStringList cells;
            QList<qreal> centres;
            for (int day = 1; day <= days; ++day) {
                cells << gridCell(b, labels[r], r, day, c.unit);
                centres << labelW + cellW * (day - 0.5);
            }
            Sheet::Cells row;
            row.texts = cells;
            row.stops = centres;
            row.rooms = {cellW - 0.3};
            row.centred = true;
            row.pt = 6;
            row.color = r == 0 ? kGrey : Qt::black;
            s.cells(kLeft, base, row);
        }
        ry += 3.0 * labels.size() + 1.5;
    }
    if (blocks.isEmpty()) {
        ry += 4;
        s.text(kLeft, ry, QStringLiteral("keine Messwerte"), 7);
    }
    return ry + 2;
}

// The most recent hypoglycaemias, in three columns, as many as the page holds.
void drawHypos(Sheet &s, const Figures &f, GlucoseUnit unit, qreal y) {
    const bool mmol = unit == GlucoseUnit::MmolL;
    const qreal top = y + 4, rowH = 3.0, colW = (kRight - kLeft) / 3.0;
    const int rows = std::max(1, int((kFooterTop - 1 - top) / rowH));
    const qsizetype capacity = qsizetype(rows) * 3;
    const qsizetype shown = std::min(capacity, f.hypos.size());
    QString remark = QStringLiteral("Stufe 1 (%1): %2   Stufe 2 (%3): %4")
                         .arg(bandBounds(Low, unit))
                         .arg(f.hypoLevel1)
                         .arg(bandBounds(VeryLow, unit))
                         .arg(f.hypoLevel2);
    if (shown < f.hypos.size())
        remark +=
            QStringLiteral("   gezeigt: die letzten %1 von %2").arg(shown).arg(f.hypos.size());
    remark += mmol ? QStringLiteral("   (Werte in mmol/l, in Klammern mg/dl)")
                   : QStringLiteral("   (Werte in mg/dl, in Klammern mmol/l)");
    s.title(kLeft, y, QStringLiteral("Unterzuckerungen"), remark);
    if (f.hypos.isEmpty()) s.text(kLeft, top + rowH, QStringLiteral("keine"), 6.5);
    const qsizetype first = f.hypos.size() - shown;
    // Each entry: date, slot, time, the value (red from level 2 on) and the level.
    const QList<qreal> stops = {12.5, 25.5, 33.5, 53};
    for (qsizetype i = 0; i < shown; ++i) {
        const Reading &r = f.hypos[first + i];
        const QString mg = QString::number(r.mgdl), mm = german(mmolTenths(r.mgdl));
        const QString value = mmol ? mm + QStringLiteral(" mmol/l (") + mg + u')'
                                   : mg + QStringLiteral(" mg/dl (") + mm + u')';
        Sheet::Cells entry;
        entry.texts = {dateText(r.date), slotCaption(r.slot),
                       r.minute < 0 ? QStringLiteral("–") : r.timeText(), value,
                       r.mgdl < 54 ? QStringLiteral("Stufe 2") : QStringLiteral("Stufe 1")};
        entry.stops = stops;
        entry.rooms = {12, 12.5, 7.5, 19, colW - 53.5};
        entry.pt = 6.3;
        entry.colors = {QColor(), QColor(), QColor(), r.mgdl < 54 ? kLevel2 : QColor(), kGrey};
        s.cells(kLeft + colW * qreal(i / rows), top + rowH * qreal(i % rows + 1), entry);
    }
}

void drawFooter(Sheet &s, const Collection &c) {
    s.rule(kFooterTop + 1);
    QString text =
        QStringLiteral(
            "Dieser Bericht stammt aus einem Blutzucker-Tagebuch (Glykovalin). Er ist kein "
            "Medizinprodukt und gibt keine Empfehlung zur Insulindosis; Therapieentscheidungen "
            "trifft die Ärztin oder der Arzt. Anteile beziehen sich auf die Zahl der "
            "Fingerstich-Messwerte, nicht auf die Zeit; Ziele nach internationalem Konsens "
            "(Battelino et al., Diabetes Care 2019), bewertet ab %1 Messwerten. ¹ eA1c = "
            "(Mittelwert + 46,7) / 28,7 nach ADAG (Nathan et al. 2008): eine Schätzung aus den "
            "Messwerten, kein Laborwert. Perzentile: lineare Interpolation zwischen den nächsten "
            "Rängen (Typ 7).")
            .arg(kMinReadingsForVerdict);
    for (const QString &n : c.notes)
        text += u' ' + n;
    s.wrapped(kLeft, kFooterTop + 2, kRight - kLeft, text, 6.3, kGrey);
}

} // namespace

DoctorReport::DoctorReport(const Collection &c, const QDate &created, const QStringList &missing)
    : m_collection(c), m_created(created), m_missing(missing) {
    // Only the diaries of the months the day grid can show are read.
    const QList<int> months = gridMonths(c);
    for (const TableReadings &t : c.tables)
        if (t.month >= 1 && months.contains(monthKey(t.year, t.month))) m_diary += diarySums(t);
}

QByteArray DoctorReport::render() const {
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&buffer);
        writer.setPageSize(QPageSize(QPageSize::A4));
        writer.setPageMargins(QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
        writer.setResolution(kResolution);
        writer.setTitle(QStringLiteral("Arztbericht ") + m_collection.period);
        writer.setCreator(QStringLiteral("Glykovalin"));
        QPainter p(&writer);
        Sheet s(p);
        qreal y = drawHead(s, m_collection, m_created, m_missing);
        y = drawFigures(s, m_collection, y);
        y = drawProfileAndTrend(s, m_collection, y);
        y = drawSlotTable(s, m_collection.figures, m_collection.unit, y);
        y = drawDayGrid(s, m_collection, m_diary, y, kFooterTop - y - 16);
        drawHypos(s, m_collection.figures, m_collection.unit, y + 2);
        drawFooter(s, m_collection);
        p.end();
    }
    return buffer.data();
}

bool DoctorReport::write(const QString &path, QString *error) const {
    const QByteArray pdf = render();
    QString why;
    if (!pdf.startsWith("%PDF")) {
        why = QStringLiteral("Die PDF-Datei konnte nicht erzeugt werden.");
    } else if (textfile::writeBytes(path, pdf, &why)) {
        return true;
    }
    if (error)
        *error = QStringLiteral("Der Arztbericht \"%1\" konnte nicht geschrieben werden.\n%2")
                     .arg(path, why);
    return false;
}

bool saveDoctorReport(ui::Services &ui, const Collection &c, const QStringList &missing,
                      const QString &baseFolder, QWidget *parent, QString *written) {
    QString period = c.period;
    period.replace(QChar(0x2013), u'-');
    QString folder = baseFolder;
    if (!folder.isEmpty() && !folder.endsWith(u'/')) folder += u'/';
    QString file =
        ui.saveFileName(parent, QStringLiteral("Arztbericht speichern"),
                        folder + QStringLiteral("Arztbericht ") + period + QStringLiteral(".pdf"),
                        QStringLiteral("PDF-Dateien (*.pdf)"));
    if (file.isEmpty()) return false;
    if (QFileInfo(file).suffix().compare(QStringLiteral("pdf"), Qt::CaseInsensitive) != 0)
        file += QStringLiteral(".pdf");
    QString error;
    if (!DoctorReport(c, QDate::currentDate(), missing).write(file, &error)) {
        ui.showWarning(error);
        return false;
    }
    if (written) *written = file;
    if (!ui.shellOpen(file))
        ui.showWarning(QStringLiteral("Der Arztbericht konnte nicht mit dem zugehörigen Programm "
                                      "geöffnet werden. Er ist gespeichert unter:\n%1")
                           .arg(QDir::toNativeSeparators(file)));
    return true;
}

} // namespace statsview
