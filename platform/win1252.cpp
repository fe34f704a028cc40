#include "win1252.h"

#include <QStringList>
#include <array>

namespace {

// Code points of the bytes 0x80..0x9F; the rest are identical to Latin-1.
constexpr std::array<char16_t, 32> kHigh = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

int byteOf(char16_t c) {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) return c;
    for (int i = 0; i < 32; ++i)
        if (kHigh[i] == c) return 0x80 + i;
    return -1;
}

} // namespace

namespace win1252 {

QString decode(const QByteArray &bytes) {
    QString out;
    out.reserve(bytes.size());
    for (char ch : bytes) {
        const auto b = static_cast<unsigned char>(ch);
        out.append(QChar(b >= 0x80 && b < 0xA0 ? kHigh[b - 0x80] : char16_t(b)));
    }
    return out;
}

QByteArray encode(const QString &text) {
    QByteArray out;
    out.reserve(text.size());
    for (QChar c : text) {
        const int b = byteOf(c.unicode());
        out.append(b < 0 ? '?' : static_cast<char>(b));
    }
    return out;
}

bool encodable(const QString &text) {
    for (QChar c : text)
        if (byteOf(c.unicode()) < 0) return false;
    return true;
}

QString unencodable(const QString &text) {
    QString out;
    for (QChar c : text)
        if (byteOf(c.unicode()) < 0 && !out.contains(c)) out += c;
    return out;
}

QString lossQuestion(const QString &what, const QString &text) {
    QStringList shown;
    for (QChar c : unencodable(text))
        shown << QStringLiteral("„%1“").arg(c);
    return QStringLiteral("%1 enthält Zeichen, die nicht gespeichert werden können: %2.\n"
                          "Sie würden als „?“ gespeichert. Möchten Sie trotzdem speichern?\n\n"
                          "Wählen Sie „Nein“, um den Text zu ändern.")
        .arg(what, shown.join(QStringLiteral(", ")));
}

} // namespace win1252
