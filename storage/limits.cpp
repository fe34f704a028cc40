#include "limits.h"

#include <algorithm>

#include "platform/convert.h"
#include "settingsstore.h"

namespace limits {

namespace {
[[noreturn]] void noNumber(const QString &key, const QString &text) {
    throw EConvertError(
        QStringLiteral("\"%1\" ist keine gültige Zahl (Einstellung \"%2\").").arg(text, key));
}
} // namespace

bool rangeOf(const QString &key, Range &range) {
    if (key == keys::Hochwerte)
        range = kHigh;
    else if (key == keys::Kritischwerte)
        range = kCritical;
    else if (key == keys::Tiefwerte)
        range = kLow;
    else if (key == keys::StiftBreite)
        range = kPenWidth;
    else
        return false;
    return true;
}

bool clamped(const QString &text, Range range, int &value) {
    const QString t = text.trimmed();
    qsizetype i = 0;
    bool negative = false;
    if (i < t.size() && (t.at(i) == u'+' || t.at(i) == u'-')) negative = t.at(i++) == u'-';
    if (i == t.size()) return false;
    // Digits are summed only up to a bound above every range, so no text overflows.
    long long v = 0;
    for (; i < t.size(); ++i) {
        const QChar c = t.at(i);
        if (c < u'0' || c > u'9') return false;
        v = std::min<long long>(v * 10 + (c.unicode() - u'0'), 1'000'000'000);
    }
    if (negative) v = -v;
    value = int(std::clamp<long long>(v, range.low, range.high));
    return true;
}

int limit(const QString &key, const QString &text) {
    Range r{};
    int v = 0;
    if (!rangeOf(key, r) || !clamped(text, r, v)) noNumber(key, text);
    return v;
}

int penWidth(const QString &text) {
    if (text.isEmpty()) return kDefaultPenWidth;
    int v = 0;
    if (!clamped(text, kPenWidth, v)) noNumber(keys::StiftBreite, text);
    return v;
}

} // namespace limits
