#include "arztbericht.h"

#include <QBuffer>
#include <QFontMetricsF>
#include <QMap>
#include <QPainter>
#include <QPdfWriter>
#include <cmath>

#include "platform/textfile.h"
#include "stats/statstext.h"
#include "statscharts.h"

namespace statsview {

using namespace stats;

namespace {

constexpr int kResolution = 1200; // dots per inch of the PDF's coordinates
constexpr qreal kLeft = 12, kRight = 198, kFooterTop = 276;
const QColor kGrey(100, 100, 100);

// Drawing in millimetres with text sizes in points.
class Sheet {
public:
    explicit Sheet(QPainter &p) : m_p(p), m_dpmm(kResolution / 25.4) {}

    QPainter &painter() { return m_p; }
    qreal d(qreal mm) const { return mm * m_dpmm; }
    QRectF rect(qreal x, qreal y, qreal w, qreal h) const { return {d(x), d(y), d(w), d(h)}; }

    QFont font(qreal pt, bool bold) const {
        QFont f(QStringLiteral("Arial"));
        f.setPointSizeF(pt);
        f.setBold(bold);
        return f;
    }
    qreal width(const QString &s, qreal pt, bool bold = false) const {
        return QFontMetricsF(font(pt, bold), m_p.device()).horizontalAdvance(s) / m_dpmm;
    }
    // Text with its baseline at y; x is the left edge, or the right edge
    // with Qt::AlignRight, or the centre with Qt::AlignHCenter.
    void text(qreal x, qreal y, const QString &s, qreal pt, bool bold = false,
              const QColor &color = Qt::black, Qt::Alignment align = Qt::AlignLeft) {
        if (align & Qt::AlignRight) x -= width(s, pt, bold);
        if (align & Qt::AlignHCenter) x -= width(s, pt, bold) / 2;
        m_p.setFont(font(pt, bold));
        m_p.setPen(color);
        m_p.drawText(QPointF(d(x), d(y)), s);
    }
    // Text wrapped into a box; returns the height it took in millimetres.
    qreal wrapped(qreal x, qreal y, qreal w, const QString &s, qreal pt,
                  const QColor &color = Qt::black) {
        m_p.setFont(font(pt, false));
        m_p.setPen(color);
        QRectF used;
        m_p.drawText(rect(x, y, w, 100), Qt::TextWordWrap | Qt::AlignLeft | Qt::AlignTop, s, &used);
        return used.height() / m_dpmm;
    }
    void rule(qreal y, const QColor &color = kGrey, qreal widthPt = 0.5) {
        m_p.setPen(QPen(color, widthPt * kResolution / 72.0));
        m_p.drawLine(QPointF(d(kLeft), d(y)), QPointF(d(kRight), d(y)));
    }
    void fill(qreal x, qreal y, qreal w, qreal h, const QColor &c) {
        m_p.fillRect(rect(x, y, w, h), c);
    }

private:
    QPainter &m_p;
    qreal m_dpmm;
};

QString percentText(const Tenths &t) {
    return t ? german(t) + QStringLiteral(" %") : QStringLiteral("–");
}

// Header lines: title, name, period, tables.
qreal drawHead(Sheet &s, const ReportData &d) {
    const Collection &c = d.collection;
    s.text(kLeft, 17, QStringLiteral("Arztbericht: Blutzucker-Selbstkontrolle"), 14, true);
    s.text(kRight, 17, QStringLiteral("Glykovalin-Tagebuch"), 8, false, kGrey, Qt::AlignRight);
    const QString name =
        QStringLiteral("Name: ") + (c.userName.isEmpty() ? QStringLiteral("–") : c.userName);
    s.text(kLeft, 23.5, name, 9, true);
    const QString period = c.periodName().isEmpty()
                               ? QStringLiteral("–")
                               : c.periodName() + QStringLiteral(" (") + c.period + u')';
    s.text(std::max<qreal>(70, kLeft + s.width(name, 9, true) + 6), 23.5,
           QStringLiteral("Zeitraum: ") + period, 9, true);
    s.text(kRight, 23.5, QStringLiteral("erstellt am ") + dateText(d.created), 8, false, kGrey,
           Qt::AlignRight);
    const QStringList files = c.fileNames();
    QString tables = QStringLiteral("Tabellen: ") + files.join(QStringLiteral(", "));
    if (files.size() > 2 && s.width(tables, 6.5) > (kRight - kLeft) * 0.6)
        tables = QStringLiteral("Tabellen: %1 … %2 (%3 Tabellen)")
                     .arg(files.first(), files.last())
                     .arg(files.size());
    if (!d.missingMonths.isEmpty())
        tables += QStringLiteral("; ohne Tabelle: ") + d.missingMonths.join(QStringLiteral(", "));
    s.text(kLeft, 27.8, tables, 6.5, false, kGrey);
    s.rule(29.5);
    return 34;
}

// The figures on the left, the range bar on the right.
qreal drawFigures(Sheet &s, const ReportData &d, qreal y) {
    const Figures &f = d.collection.figures;
    s.text(kLeft, y, QStringLiteral("Kennzahlen"), 9, true);
    s.text(112, y, QStringLiteral("Anteile der Messwerte in den Bereichen"), 9, true);
    const QString fromThirty =
        QStringLiteral("– (erst ab %1 Messwerten)").arg(kMinReadingsForSpread);
    const QList<QPair<QString, QString>> rows = {
        {QStringLiteral("Messwerte"),
         QStringLiteral("%1 an %2 Tagen").arg(f.readings).arg(f.daysWithReadings)},
        {QStringLiteral("Mittelwert"), mgdlAndMmol(f.mean, f.meanMmol)},
        {QStringLiteral("Standardabweichung"), f.sd ? mgdlAndMmol(f.sd, f.sdMmol) : fromThirty},
        {QStringLiteral("Variationskoeffizient"), f.cv ? percentText(f.cv) : fromThirty},
        {QStringLiteral("Geschätzter HbA1c (eA1c)¹"),
         f.ea1cPercent ? german(f.ea1cPercent) + QStringLiteral(" % (") +
                             QString::number(*f.ea1cMmolMol) + QStringLiteral(" mmol/mol)")
                       : QStringLiteral("– (erst ab %1 Messwerten an %2 Tagen)")
                             .arg(kMinReadingsForSpread)
                             .arg(kMinDaysForEa1c)},
        {QStringLiteral("Unterzuckerungen Stufe 1 (54–69 mg/dl)"), QString::number(f.hypoLevel1)},
        {QStringLiteral("Unterzuckerungen Stufe 2 (< 54 mg/dl)"), QString::number(f.hypoLevel2)},
    };
    qreal ry = y + 5;
    for (int i = 0; i < rows.size(); ++i) {
        if (i % 2 == 0) s.fill(kLeft, ry - 3, 93, 4, QColor(244, 246, 248));
        s.text(kLeft + 1, ry, rows[i].first, 7.5);
        s.text(kLeft + 50, ry, rows[i].second, 7.5, true);
        ry += 4;
    }
    QPainter &p = s.painter();
    drawRangeBar(p, s.rect(112, y + 2, kRight - 112, 66), f, 6.8);
    return ry + 1;
}

// The figures of each slot under the figures.
qreal drawSlotTable(Sheet &s, const Figures &f, qreal y) {
    s.text(kLeft, y + 3, QStringLiteral("Tageszeiten"), 9, true);
    s.text(kLeft + 22, y + 3, QStringLiteral("mg/dl, in Klammern mmol/l"), 6.5, false, kGrey);
    const qreal cols[] = {kLeft + 1, kLeft + 16, kLeft + 28, kLeft + 48, kLeft + 74};
    const QStringList heads = {QStringLiteral("Messung"), QStringLiteral("Anzahl"),
                               QStringLiteral("Median"), QStringLiteral("25–75 %"),
                               QStringLiteral("Min–Max")};
    qreal ry = y + 7.5;
    for (int i = 0; i < heads.size(); ++i)
        s.text(cols[i], ry, heads[i], 6.5, true);
    ry += 3.4;
    if (f.perSlot.isEmpty()) s.text(cols[0], ry, QStringLiteral("keine Messwerte"), 6.5);
    for (const SlotFigures &sf : f.perSlot) {
        const QStringList cells = {
            slotCaption(sf.slot), QString::number(sf.readings),
            german(sf.median) + QStringLiteral(" (") + german(sf.medianMmol) + u')',
            german(sf.p25) + QStringLiteral("–") + german(sf.p75) + QStringLiteral(" (") +
                german(sf.p25Mmol) + QStringLiteral("–") + german(sf.p75Mmol) + u')',
            QStringLiteral("%1–%2 (").arg(sf.min).arg(sf.max) + german(sf.minMmol) +
                QStringLiteral("–") + german(sf.maxMmol) + u')'};
        for (int i = 0; i < cells.size(); ++i)
            s.text(cols[i], ry, cells[i], 6.5);
        ry += 3.2;
    }
    return std::max(ry, y + 7.5 + 3.4 + 8 * 3.2);
}

struct MonthBlock {
    int year = 0, month = 0;
    QMap<int, DayMean> means;
    QMap<int, DaySums> sums;
    bool hasCarb = false, hasInsulin = false, hasIct = false;
    QString carbUnit;
    int rows() const { return 3 + hasCarb + hasInsulin + 2 * hasIct; }
    qreal height() const { return 4 + rows() * 3.0 + 1.5; }
};

QList<MonthBlock> monthBlocks(const ReportData &d) {
    QList<MonthBlock> blocks;
    const Collection &c = d.collection;
    int first = INT_MAX, last = INT_MIN;
    for (const TableReadings &t : c.tables)
        if (t.month >= 1)
            first = std::min(first, t.year * 12 + t.month - 1),
            last = std::max(last, t.year * 12 + t.month - 1);
    for (const DayMean &m : c.figures.dayMeans) {
        const int k = m.date.year() * 12 + m.date.month() - 1;
        first = std::min(first, k);
        last = std::max(last, k);
    }
    if (first > last) return blocks;
    for (int k = first; k <= last; ++k) {
        MonthBlock b;
        b.year = k / 12;
        b.month = k % 12 + 1;
        for (const DayMean &m : c.figures.dayMeans)
            if (m.date.year() == b.year && m.date.month() == b.month) b.means[m.date.day()] = m;
        QStringList units;
        for (const DaySums &ds : d.diary) {
            if (ds.date.year() != b.year || ds.date.month() != b.month) continue;
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

// Daily means and the diary's day sums, one block of rows per month.
qreal drawDayGrid(Sheet &s, const ReportData &d, qreal y, qreal maxHeight) {
    QList<MonthBlock> blocks = monthBlocks(d);
    bool anyDiary = false;
    for (const MonthBlock &b : blocks)
        anyDiary = anyDiary || b.rows() > 3;
    QString title = QStringLiteral("Tagesmittelwerte");
    if (anyDiary) title += QStringLiteral(" und Tagessummen aus dem Tagebuch");
    s.text(kLeft, y, title, 9, true);
    // Only the latest months when the page has no room for all of them.
    qreal need = 0;
    int keep = 0;
    for (qsizetype i = blocks.size() - 1; i >= 0; --i) {
        if (need + blocks[i].height() > maxHeight - 4) break;
        need += blocks[i].height();
        ++keep;
    }
    if (keep < blocks.size()) {
        s.text(kLeft + s.width(title, 9, true) + 3, y,
               QStringLiteral("(nur die letzten %1 Monate; mehr passt nicht auf eine Seite)")
                   .arg(keep),
               6.5, false, kGrey);
        blocks = blocks.mid(blocks.size() - keep);
    }
    const qreal labelW = 16.5, cellW = (kRight - kLeft - labelW) / 31.0;
    qreal ry = y + 2;
    for (const MonthBlock &b : blocks) {
        ry += 3.6;
        s.text(kLeft, ry, GibMonatLang(b.month) + u' ' + QString::number(b.year), 7, true);
        QStringList labels = {QStringLiteral("Tag"), QStringLiteral("mg/dl"),
                              QStringLiteral("mmol/l")};
        if (b.hasCarb) labels << b.carbUnit;
        if (b.hasInsulin) labels << QStringLiteral("Insulin");
        if (b.hasIct) labels << QStringLiteral("Bolus") << QStringLiteral("Basal");
        const int days = QDate(b.year, b.month, 1).daysInMonth();
        s.fill(kLeft, ry + 0.6, kRight - kLeft, 3.0, QColor(236, 239, 242));
        for (int r = 0; r < labels.size(); ++r) {
            const qreal base = ry + 3.0 * (r + 1);
            s.text(kLeft + 1, base, labels[r], 6, r == 0, r == 0 ? kGrey : Qt::black);
            for (int day = 1; day <= days; ++day) {
                const qreal cx = kLeft + labelW + cellW * (day - 0.5);
                QString cell;
                const DaySums ds = b.sums.value(day);
                switch (r) {
                case 0:
                    cell = QString::number(day);
                    break;
                case 1:
                    if (b.means.contains(day)) cell = QString::number(b.means[day].mgdl);
                    break;
                case 2:
                    if (b.means.contains(day)) cell = german(b.means[day].mmol);
                    break;
                default: {
                    const QString &label = labels[r];
                    if (label == u"Insulin")
                        cell = sumCell(ds.insulin, ds.insulinUnreadable);
                    else if (label == u"Bolus")
                        cell = sumCell(ds.bolus, false);
                    else if (label == u"Basal")
                        cell = sumCell(ds.basal, false);
                    else
                        cell = sumCell(ds.carb, ds.carbUnreadable);
                }
                }
                if (!cell.isEmpty())
                    s.text(cx, base, cell, 6, false, r == 0 ? kGrey : Qt::black, Qt::AlignHCenter);
            }
        }
        ry += 3.0 * labels.size() + 1.5;
    }
    if (blocks.isEmpty()) {
        ry += 4;
        s.text(kLeft, ry, QStringLiteral("keine Messwerte"), 7);
    }
    return ry + 2;
}

// The hypoglycaemias, in three columns, as many as the page holds.
void drawHypos(Sheet &s, const Figures &f, qreal y) {
    s.text(kLeft, y, QStringLiteral("Unterzuckerungen"), 9, true);
    s.text(kLeft + s.width(QStringLiteral("Unterzuckerungen"), 9, true) + 3, y,
           QStringLiteral("Stufe 1 (54–69 mg/dl): %1   Stufe 2 (< 54 mg/dl): %2   "
                          "(Werte in mg/dl, in Klammern mmol/l)")
               .arg(f.hypoLevel1)
               .arg(f.hypoLevel2),
           7.5);
    const qreal top = y + 4, rowH = 3.0, colW = (kRight - kLeft) / 3.0;
    const int rows = std::max(1, int((kFooterTop - 1 - top) / rowH));
    const qsizetype capacity = qsizetype(rows) * 3;
    const qsizetype shown =
        f.hypos.size() <= capacity ? f.hypos.size() : capacity - 1; // last place: "… weitere"
    if (f.hypos.isEmpty()) s.text(kLeft, top + rowH, QStringLiteral("keine"), 6.5);
    for (qsizetype i = 0; i < shown; ++i) {
        const Reading &r = f.hypos[i];
        const qreal x = kLeft + colW * qreal(i / rows), base = top + rowH * qreal(i % rows + 1);
        s.text(x, base, dateText(r.date), 6.3);
        s.text(x + 12.5, base, slotCaption(r.slot), 6.3);
        s.text(x + 25.5, base, r.time.isEmpty() ? QStringLiteral("–") : r.time, 6.3);
        s.text(x + 33.5, base,
               QString::number(r.mgdl) + QStringLiteral(" mg/dl (") + german(mmolTenths(r.mgdl)) +
                   u')',
               6.3, r.mgdl < 54);
        s.text(x + 53, base, QStringLiteral("Stufe %1").arg(r.mgdl < 54 ? 2 : 1), 6.3, false,
               kGrey);
    }
    if (shown < f.hypos.size()) {
        const qsizetype i = shown;
        s.text(kLeft + colW * qreal(i / rows), top + rowH * qreal(i % rows + 1),
               QStringLiteral("… und %1 weitere").arg(f.hypos.size() - shown), 6.3, true);
    }
}

void drawFooter(Sheet &s, const ReportData &d) {
    s.rule(kFooterTop + 1);
    QString text = QStringLiteral(
        "Dieser Bericht stammt aus einem Blutzucker-Tagebuch (Glykovalin). Er ist kein "
        "Medizinprodukt und gibt keine Empfehlung zur Insulindosis; Therapieentscheidungen "
        "trifft die Ärztin oder der Arzt. Anteile beziehen sich auf die Zahl der "
        "Fingerstich-Messwerte, nicht auf die Zeit; Ziele nach internationalem Konsens "
        "(Battelino et al., Diabetes Care 2019). ¹ eA1c = (Mittelwert + 46,7) / 28,7 nach ADAG "
        "(Nathan et al. 2008): eine Schätzung aus den Messwerten, kein Laborwert.");
    for (const QString &n : d.collection.notes)
        text += u' ' + n;
    s.wrapped(kLeft, kFooterTop + 2, kRight - kLeft, text, 6.3, kGrey);
}

} // namespace

ReportData reportData(const Collection &c, const QDate &created, const QStringList &missingMonths) {
    ReportData d;
    d.collection = c;
    d.created = created;
    d.missingMonths = missingMonths;
    for (const TableReadings &t : c.tables)
        d.diary += diarySums(t);
    return d;
}

QByteArray renderArztbericht(const ReportData &d) {
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&buffer);
        writer.setPageSize(QPageSize(QPageSize::A4));
        writer.setPageMargins(QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
        writer.setResolution(kResolution);
        writer.setTitle(QStringLiteral("Arztbericht ") + d.collection.period);
        writer.setCreator(QStringLiteral("Glykovalin"));
        QPainter p(&writer);
        Sheet s(p);
        const Figures &f = d.collection.figures;
        qreal y = drawHead(s, d);
        const qreal afterFigures = drawFigures(s, d, y);
        const qreal afterSlots = drawSlotTable(s, f, afterFigures);
        y = std::max(afterSlots, y + 68) + 4;
        s.text(kLeft, y, QStringLiteral("Tageszeitenprofil"), 9, true);
        s.text(kLeft + 31, y,
               QStringLiteral("Kasten: 25–75 % der Messwerte, Strich: Median, Linie: kleinster "
                              "bis größter Wert; grün: Zielbereich 70–180 mg/dl"),
               6.5, false, kGrey);
        drawProfile(p, s.rect(kLeft, y + 1.5, kRight - kLeft, 40), f, 6.5);
        y += 46;
        y = drawDayGrid(s, d, y, kFooterTop - y - 24);
        drawHypos(s, f, y + 2);
        drawFooter(s, d);
        p.end();
    }
    return buffer.data();
}

bool writeArztbericht(const QString &path, const ReportData &d, QString *error) {
    const QByteArray pdf = renderArztbericht(d);
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

} // namespace statsview
