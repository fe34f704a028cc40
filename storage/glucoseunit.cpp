#include "glucoseunit.h"

#include <algorithm>

#include "readings.h"

namespace glucoseunit {

namespace {

// num / den rounded half away from zero; den > 0.
qint64 roundDiv(qint64 num, qint64 den) {
    if (num >= 0) return (2 * num + den) / (2 * den);
    return -((-2 * num + den) / (2 * den));
}

} // namespace

QString unitText(GlucoseUnit unit) {
    return unit == GlucoseUnit::MmolL ? QStringLiteral("mmol/l") : QStringLiteral("mg/dl");
}

GlucoseUnit fromSetting(const QString &text) {
    return text.trimmed().compare(QLatin1String("mmol/l"), Qt::CaseInsensitive) == 0
               ? GlucoseUnit::MmolL
               : GlucoseUnit::MgDl;
}

qint64 mmolTenths(qint64 mgdl) {
    return roundDiv(mgdl * 10000, kMgdlPerMmolMilli);
}

qint64 mmolTenthsOfTenths(qint64 mgdlTenths) {
    return roundDiv(mgdlTenths * 1000, kMgdlPerMmolMilli);
}

qint64 mmolTenthsOfMean(qint64 sum, qint64 count) {
    return count > 0 ? roundDiv(sum * 10000, kMgdlPerMmolMilli * count) : 0;
}

qint64 mgdlOfTenths(qint64 tenths) {
    return roundDiv(tenths * kMgdlPerMmolMilli, 10000);
}

int storedMgdl(qint64 tenths) {
    return int(std::min<qint64>(mgdlOfTenths(tenths), glucose::kMaxReading));
}

QString tenthsText(qint64 tenths) {
    const qint64 a = tenths < 0 ? -tenths : tenths;
    return (tenths < 0 ? QStringLiteral("-") : QString()) + QString::number(a / 10) + u',' +
           QString::number(a % 10);
}

QString valueText(int mgdl, GlucoseUnit unit) {
    return unit == GlucoseUnit::MmolL ? tenthsText(mmolTenths(mgdl)) : QString::number(mgdl);
}

QString withUnit(int mgdl, GlucoseUnit unit) {
    return valueText(mgdl, unit) + u' ' + unitText(unit);
}

bool parseMmol(const QString &text, qint64 &tenths) {
    const QString t = text.trimmed();
    qsizetype point = t.indexOf(u',');
    if (point < 0) point = t.indexOf(u'.');
    const QStringView whole = QStringView(t).left(point < 0 ? t.size() : point);
    const QStringView decimal = point < 0 ? QStringView() : QStringView(t).mid(point + 1);
    if (whole.isEmpty() || whole.size() > 3 || decimal.size() > 1) return false;
    for (const QStringView part : {whole, decimal})
        for (QChar c : part)
            if (c < u'0' || c > u'9') return false;
    tenths = whole.toInt() * 10 + (decimal.isEmpty() ? 0 : decimal.toInt());
    return true;
}

} // namespace glucoseunit
