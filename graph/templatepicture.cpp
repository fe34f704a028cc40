#include "templatepicture.h"

#include "geometry.h"

#include <QFileInfo>
#include <QPainter>

#include "platform/picturebox.h"
#include "storage/settingsstore.h"

namespace templatepicture {

using namespace graphgeo;

namespace {
constexpr int kLeft = kGridLeft;
constexpr int kRight = kGridRight;

QFont arial(int pixels, bool bold = false) {
    QFont f(QStringLiteral("Arial"));
    f.setPixelSize(pixels);
    f.setBold(bold);
    return f;
}
} // namespace

QImage graphTemplate(MeasureMode mode) {
    QImage img(kPictureWidth, kPictureHeight, QImage::Format_RGB32);
    img.fill(Qt::white);
    QPainter p(&img);
    // Value rows every 10 mg/dl, stronger every 50.
    for (int t = 0; t <= 500; t += 10) {
        p.setPen(QPen(t % 50 == 0 ? QColor(200, 200, 200) : QColor(236, 236, 236), 1));
        p.drawLine(kLeft, RowY(t), kRight, RowY(t));
    }
    // Day grid: each day 48 pixels wide, slot ticks inside.
    p.setFont(arial(11, true));
    for (int d = 0; d <= 31; ++d) {
        const int x = kLeft + kDayWidth * d;
        p.setPen(QPen(QColor(150, 150, 150), 1));
        p.drawLine(x, RowY(500) - 6, x, RowY(0) + 4);
        if (d == 31) break;
        p.setPen(QPen(QColor(220, 220, 220), 1, Qt::DotLine));
        const int perDay = mode == MeasureMode::Four ? 4 : 8;
        for (int s = 1; s < perDay; ++s) {
            const int sx = x + s * kDayWidth / perDay;
            p.drawLine(sx, RowY(500), sx, RowY(0));
        }
        p.setPen(Qt::black);
        p.drawText(QRect(x, RowY(0) + 6, kDayWidth, 16), Qt::AlignCenter, QString::number(d + 1));
    }
    p.setPen(QPen(Qt::black, 1));
    p.drawRect(kLeft, RowY(500) - 6, kRight - kLeft, RowY(0) + 4 - (RowY(500) - 6));
    p.setFont(arial(10));
    p.setPen(QColor(90, 90, 90));
    p.drawText(QRect(kLeft, RowY(0) + 22, kRight - kLeft, 14), Qt::AlignCenter,
               mode == MeasureMode::Four ? QStringLiteral("Tage des Monats (je Tag bis zu 4 "
                                                          "Messungen: M1 bis M4)")
                                         : QStringLiteral("Tage des Monats (je Tag bis zu 8 "
                                                          "Messungen: M1 bis M8)"));
    return img;
}

QString templatePathFor(const SettingsStore &settings, const QString &baseFolder, bool four,
                        bool eight, const QString &current) {
    QString path = current;
    for (const auto &[on, key] :
         {std::pair{four, keys::Grafik4}, std::pair{eight, keys::Grafik8}}) {
        const QString pic = settings.get(key);
        if (on && !pic.isEmpty() && QFileInfo(baseFolder + pic).isFile()) path = baseFolder + pic;
    }
    return path;
}

QString headerPathFor(const SettingsStore &settings, const QString &baseFolder) {
    const QString header = settings.get(keys::Header);
    return !header.isEmpty() && QFileInfo(baseFolder + header).isFile() ? baseFolder + header
                                                                        : QString();
}

QImage legend(GlucoseUnit unit) {
    QImage img(kLegendWidth, kLegendHeight, QImage::Format_RGB32);
    img.fill(QColor(246, 246, 240));
    QPainter p(&img);
    p.setFont(arial(10, true));
    auto label = [&](int y, const QString &text) {
        p.setPen(Qt::black);
        p.drawLine(kLegendWidth - 6, y, kLegendWidth - 1, y);
        p.drawText(QRect(0, y - 7, kLegendWidth - 7, 14), Qt::AlignRight | Qt::AlignVCenter, text);
    };
    if (unit == GlucoseUnit::MmolL) {
        // 0.7 pixel per mg/dl: 12.6112 pixels per mmol/l.
        for (int m = 0; m * glucoseunit::kMgdlPerMmolMilli <= kMaxScale * 1000; m += 2)
            label(kZeroRow - int((7 * m * glucoseunit::kMgdlPerMmolMilli + 5000) / 10000) -
                      kLegendTop,
                  QString::number(m));
    } else {
        for (int t = 0; t <= 500; t += 50)
            label(RowY(t) - kLegendTop, QString::number(t));
    }
    p.setFont(arial(9, true));
    p.drawText(QRect(0, 2, kLegendWidth, 12), Qt::AlignCenter, glucoseunit::unitText(unit));
    p.setPen(QColor(120, 120, 120));
    p.drawLine(kLegendWidth - 1, 0, kLegendWidth - 1, kLegendHeight);
    return img;
}

QImage legendFor(GlucoseUnit unit, const QString &baseFolder) {
    if (unit == GlucoseUnit::MmolL) return legend(unit);
    return PictureBox::decode(baseFolder + QStringLiteral("M_einheit.bmp"));
}

QImage header(int width) {
    QImage img(width, 27, QImage::Format_RGB32);
    QPainter p(&img);
    QLinearGradient g(0, 0, 0, 27);
    g.setColorAt(0, QColor(214, 230, 248));
    g.setColorAt(1, QColor(160, 190, 226));
    p.fillRect(img.rect(), g);
    p.setPen(QColor(110, 140, 180));
    p.drawLine(0, 26, width, 26);
    return img;
}

} // namespace templatepicture
