#include "graphcli.h"

#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QPainter>
#include <QScopeGuard>
#include <QTextStream>

#include "monthgraph.h"
#include "platform/convert.h"
#include "platform/picturebox.h"
#include "platform/textfile.h"
#include "platform/ui.h"
#include "storage/appstate.h"
#include "storage/monthtable.h"
#include "storage/settingsstore.h"

namespace graphcli {

namespace {

// The state the main window takes from the folder's settings at start-up,
// with the measure mode of the table itself when it stores one.
void setUpState(const QString &tablePath) {
    AppState &s = appState();
    QString base = QDir::currentPath();
    if (!base.endsWith(u'/')) base += u'/';
    s.BaseFolder = base;
    s.DataFolder = base + QStringLiteral("Glykovalin-Daten/");
    s.BrowserFolder = base + QStringLiteral("Glykovalin-Daten im Browser/");
    s.SettingsPath = base + QStringLiteral("glykoval.ini");
    const SettingsStore st(s.SettingsPath);
    const SettingsStore table(tablePath);
    bool four = st.flag(keys::BisZu4), eight = st.flag(keys::BisZu8);
    const bool t4 = convert::flag(table.read(monthtable::kSection, keys::BisZu4));
    const bool t8 = convert::flag(table.read(monthtable::kSection, keys::BisZu8));
    if (t4 || t8) four = t4, eight = t8;
    s.FourSlotsTicked = four;
    s.EightSlotsTicked = eight;
    s.GraphTemplatePath.clear();
    for (const auto &[on, key] :
         {std::pair{four, keys::Grafik4}, std::pair{eight, keys::Grafik8}}) {
        const QString pic = st.get(key);
        if (on && !pic.isEmpty() && QFileInfo(base + pic).isFile())
            s.GraphTemplatePath = base + pic;
    }
    const QString header = st.get(keys::Header);
    s.HeaderImagePath =
        !header.isEmpty() && QFileInfo(base + header).isFile() ? base + header : QString();
    const QString curve = st.get(keys::KurvenFarbe);
    if (!curve.isEmpty()) s.CurveColor = quint32(convert::toInt(curve, keys::KurvenFarbe));
    const QString mean = st.get(keys::MittelKurvenFarbe);
    if (!mean.isEmpty()) s.MeanCurveColor = quint32(convert::toInt(mean, keys::MittelKurvenFarbe));
    s.KeepPicture = s.MeanPass = s.MeanMode = false;
    s.NewMonthPending = s.ShowTableOnOpen = false;
    s.LastScrollPosition = 0;
    s.clearDayLineTexts();
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
    ui::setServices(&messages);
    const auto restore = qScopeGuard([] { ui::setServices(nullptr); });
    int width = 300;
    bool ok = convert::guarded([&] {
        setUpState(tablePath);
        width = SettingsStore(appState().SettingsPath)
                    .number(keys::FensterBreite, defaults::FensterBreite);
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
    legend.setGeometry(0, 41, 42, 403);
    legend.loadPicture(appState().BaseFolder + QStringLiteral("M_einheit.bmp"));
    meanImage.hide();
    GraphWidgets w;
    w.image = &image;
    w.legend = &legend;
    w.meanImage = &meanImage;
    w.title = &title;
    TMonthGraph graph(w);
    graph.storeSettings = false;
    graph.callbacks.windowWidth = [width] { return width; };
    if (ok) ok = graph.GrafikZeichnen(tablePath);
    if (notice) *notice = graph.SkippedLinesNotice();
    if (!ok) {
        if (error) {
            *error = QStringLiteral("Die Grafik wurde nicht gezeichnet.");
            for (const QString &m : std::as_const(messages.texts))
                if (m != graph.SkippedLinesNotice()) *error = m;
        }
        return false;
    }
    out = DrawnMonth();
    out.graph = image.picture();
    if (!appState().HeaderImagePath.isEmpty()) out.header.load(appState().HeaderImagePath);
    out.legend = legend.picture();
    out.legendPos = legend.pos();
    out.title = title.text();
    out.titleFont = title.font();
    out.titlePos = title.pos();
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
    if (!img.save(outPath, "PNG")) {
        err << QStringLiteral("Das Bild \"%1\" kann nicht geschrieben werden.").arg(outPath)
            << u'\n';
        return 1;
    }
    return 0;
}

} // namespace graphcli
