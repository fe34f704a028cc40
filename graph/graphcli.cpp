#include "graphcli.h"

#include <QBuffer>
#include <QDir>
#include <QFileInfo>
#include <QFontMetrics>
#include <QPainter>
#include <QTextStream>

#include "monthgraph.h"
#include "platform/convert.h"
#include "platform/fonts.h"
#include "platform/textfile.h"
#include "platform/ui.h"
#include "storage/monthmodel.h"
#include "storage/monthtable.h"
#include "storage/settingsstore.h"
#include "templatepicture.h"

namespace graphcli {

namespace {

// The measure mode the table stores, or the one of the folder's settings.
void applyMode(MonthModel &model, const QString &tablePath) {
    const SettingsStore st = model.settings();
    bool four = st.flag(keys::BisZu4), eight = st.flag(keys::BisZu8);
    const SettingsStore table(tablePath);
    const bool t4 = convert::flag(table.read(monthtable::kSection, keys::BisZu4));
    const bool t8 = convert::flag(table.read(monthtable::kSection, keys::BisZu8));
    if (t4 || t8) four = t4, eight = t8;
    model.setModeTicks(four, eight);
}

} // namespace

bool draw(const QString &tablePath, DrawnMonth &out, QString *error, QString *notice) {
    if (!QFileInfo(tablePath).isFile()) {
        if (error) *error = QStringLiteral("Die Tabelle \"%1\" gibt es nicht.").arg(tablePath);
        return false;
    }
    // Only read: neither the table nor the settings are written.
    monthread::Month month;
    if (!monthread::read(tablePath, month)) {
        if (error)
            *error = QStringLiteral("Die Tabelle \"%1\" kann nicht gelesen werden.").arg(tablePath);
        return false;
    }
    if (notice) *notice = month.result.skippedNotice;
    ui::MessageLog messages;
    MonthModel model(Folders::at(QDir::currentPath()));
    const SettingsStore st = model.settings();
    MonthGraph graph(model);
    MonthGraph::Placement where;
    const QImage legend = templatepicture::legendFor(model.unit(), model.folders().base);
    if (!legend.isNull()) where.legendWidth = legend.width();
    // As the window shows it right after drawing: scrolled to the start,
    // the legend 2 pixels left of the graph's edge.
    where.legendLeft = -2;
    bool drawn = false;
    ui::guarded(messages, [&] {
        applyMode(model, tablePath);
        where.windowWidth = st.number(keys::FensterBreite, defaults::FensterBreite);
        graph.setTemplatePath(templatepicture::templatePathFor(
            st, model.folders().base, model.fourSlotsTicked(), model.eightSlotsTicked()));
        drawn = graph.draw(month, MonthGraph::View::Values, where);
    });
    if (!drawn) {
        if (error) {
            *error = QStringLiteral("Die Grafik wurde nicht gezeichnet.");
            if (!month.result.complete && !month.error.isEmpty()) *error = month.error;
            for (const QString &m : std::as_const(messages.texts))
                *error = m;
        }
        return false;
    }
    out = DrawnMonth();
    out.graph = graph.picture();
    const QString header = templatepicture::headerPathFor(st, model.folders().base);
    if (!header.isEmpty()) out.header.load(header);
    out.legend = legend;
    out.legendPos = QPoint(where.legendLeft, graphgeo::kLegendTop);
    out.title = graph.TitleText();
    out.titleFont = fonts::arialPixels(15, true);
    const QFontMetrics titleMetrics(out.titleFont);
    out.titlePos = QPoint(8, 4);
    out.timeStrip = graph.TimeStripText();
    out.meanCaption = graph.MeanCaptionText();
    out.meanValue = graph.MeanValueText();
    out.result = month.result;
    out.mode = model.mode();
    out.unit = model.unit();
    out.meanImage = graph.meanCaptionPicture();
    if (!out.meanImage.isNull()) {
        // Centred in the window as the window places the caption and title.
        const int cw = QFontMetrics(fonts::arialPoints(8, true)).horizontalAdvance(out.meanCaption);
        int left = where.legendLeft + where.windowWidth / 2 - cw / 2 - where.legendWidth;
        if (left < where.legendLeft + where.legendWidth)
            left = where.legendLeft + where.legendWidth + 10;
        out.meanPos = QPoint(left, 78);
        const int tw = titleMetrics.horizontalAdvance(out.title);
        out.titlePos.setX(where.legendLeft + where.windowWidth / 2 - tw / 2 -
                          (where.legendWidth - 40));
    }
    return true;
}

bool render(const QString &tablePath, QImage &out, QString *error, QString *notice) {
    DrawnMonth m;
    if (!draw(tablePath, m, error, notice)) return false;
    const QImage &g = m.graph;
    out = QImage(g.width(), 27 + g.height(), QImage::Format_RGB32);
    out.fill(Qt::white);
    QPainter p(&out);
    if (!m.header.isNull()) p.drawImage(0, 0, m.header);
    p.setFont(m.titleFont);
    p.setPen(Qt::black);
    p.drawText(QPoint(m.titlePos.x(), m.titlePos.y() + QFontMetrics(m.titleFont).ascent()),
               m.title);
    p.drawImage(0, 27, g);
    if (!m.legend.isNull()) p.drawImage(m.legendPos.x(), 27 + m.legendPos.y(), m.legend);
    if (!m.meanImage.isNull()) p.drawImage(m.meanPos.x(), 27 + m.meanPos.y(), m.meanImage);
    return true;
}

int run(const QString &tablePath, const QString &outPath, QTextStream &err) {
    QImage img;
    QString error, notice;
    const bool drawn = render(tablePath, img, &error, &notice);
    if (!notice.isEmpty()) err << notice << u'\n';
    if (!drawn) {
        err << error << u'\n';
        return 1;
    }
    // The picture is made in memory; the file is replaced only by the whole of it.
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    if (!img.save(&buffer, "PNG")) {
        err << QStringLiteral("Das Bild \"%1\" konnte nicht erzeugt werden.").arg(outPath) << u'\n';
        return 1;
    }
    if (const textfile::SaveResult r = textfile::save(outPath, png); !r) {
        err << r.message(outPath) << u'\n';
        return 1;
    }
    return 0;
}

} // namespace graphcli
