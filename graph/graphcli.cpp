#include "graphcli.h"

#include <QBuffer>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QPainter>
#include <QTextStream>

#include "monthgraph.h"
#include "platform/convert.h"
#include "platform/picturebox.h"
#include "platform/textfile.h"
#include "platform/ui.h"
#include "storage/monthtable.h"
#include "storage/settingsstore.h"
#include "templatepicture.h"

namespace graphcli {

namespace {

// The measure mode the table stores, or the one of the folder's settings.
void applyMode(MonthSession &session, const QString &tablePath) {
    const SettingsStore st = session.settings();
    bool four = st.flag(keys::BisZu4), eight = st.flag(keys::BisZu8);
    const SettingsStore table(tablePath);
    const bool t4 = convert::flag(table.read(monthtable::kSection, keys::BisZu4));
    const bool t8 = convert::flag(table.read(monthtable::kSection, keys::BisZu8));
    if (t4 || t8) four = t4, eight = t8;
    session.setModeTicks(four, eight);
}

} // namespace

bool draw(const QString &tablePath, DrawnMonth &out, QString *error, QString *notice) {
    if (!QFileInfo(tablePath).isFile()) {
        if (error) *error = QStringLiteral("Die Tabelle \"%1\" gibt es nicht.").arg(tablePath);
        return false;
    }
    QStringList probe;
    if (!textfile::readLines(tablePath, probe)) {
        if (error)
            *error = QStringLiteral("Die Tabelle \"%1\" kann nicht gelesen werden.").arg(tablePath);
        return false;
    }
    // No message box without a window: the messages are kept.
    ui::MessageLog messages;
    MonthSession session(Folders::at(QDir::currentPath()));
    const SettingsStore st = session.settings();
    int width = defaults::FensterBreite;
    const bool ok = ui::guarded(messages, [&] {
        applyMode(session, tablePath);
        width = st.number(keys::FensterBreite, defaults::FensterBreite);
    });
    PictureBox image, legend, meanImage;
    QLabel title;
    QFont titleFont(QStringLiteral("Arial"));
    titleFont.setPixelSize(15);
    titleFont.setBold(true);
    title.setFont(titleFont);
    title.setGeometry(8, 4, 600, 19);
    image.setPicture(QImage(200, 200, QImage::Format_RGB32));
    image.picture().fill(Qt::white);
    legend.setGeometry(0, graphgeo::kLegendTop, graphgeo::kLegendWidth, graphgeo::kLegendHeight);
    legend.loadPicture(session.folders().base + QStringLiteral("M_einheit.bmp"));
    meanImage.hide();
    GraphWidgets w;
    w.image = &image;
    w.legend = &legend;
    w.meanImage = &meanImage;
    w.title = &title;
    w.windowWidth = width;
    TMonthGraph graph(w, session, messages);
    graph.setStoresUserName(false);
    graph.setTemplatePath(templatepicture::templatePathFor(
        st, session.folders().base, session.fourSlotsTicked(), session.eightSlotsTicked()));
    const MonthResult drawn = ok ? graph.GrafikZeichnen(tablePath) : MonthResult();
    if (notice) *notice = drawn.skippedNotice;
    if (!drawn.complete) {
        if (error) {
            *error = QStringLiteral("Die Grafik wurde nicht gezeichnet.");
            for (const QString &m : std::as_const(messages.texts))
                if (m != drawn.skippedNotice) *error = m;
        }
        return false;
    }
    out = DrawnMonth();
    out.graph = image.picture();
    const QString header = templatepicture::headerPathFor(st, session.folders().base);
    if (!header.isEmpty()) out.header.load(header);
    out.legend = legend.picture();
    out.legendPos = legend.pos();
    out.title = title.text();
    out.titleFont = title.font();
    out.titlePos = title.pos();
    out.result = drawn;
    out.mode = session.mode();
    if (!meanImage.isHidden()) {
        out.meanImage = meanImage.picture();
        out.meanPos = meanImage.pos();
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
