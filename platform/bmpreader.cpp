#include "bmpreader.h"

#include <cstring>

namespace bmpreader {

namespace {

quint32 u32(QByteArrayView b, qsizetype at) {
    return quint32(quint8(b[at])) | quint32(quint8(b[at + 1])) << 8 |
           quint32(quint8(b[at + 2])) << 16 | quint32(quint8(b[at + 3])) << 24;
}

quint16 u16(QByteArrayView b, qsizetype at) {
    return quint16(quint8(b[at]) | quint8(b[at + 1]) << 8);
}

} // namespace

QImage readUncompressed(QByteArrayView b) {
    // File header (14 bytes) and an info header of at least 40 bytes.
    if (b.size() < 54 || b[0] != 'B' || b[1] != 'M') return {};
    const quint32 dataAt = u32(b, 10);
    const quint32 infoSize = u32(b, 14);
    if (infoSize < 40 || 14 + qsizetype(infoSize) > b.size()) return {};
    const qint32 width = qint32(u32(b, 18));
    const qint32 rawHeight = qint32(u32(b, 22));
    const quint16 planes = u16(b, 26), bits = u16(b, 28);
    const quint32 compression = u32(b, 30);
    if (planes != 1 || compression != 0 || (bits != 24 && bits != 32)) return {};
    if (width <= 0 || width > 32768 || rawHeight == 0 || rawHeight < -32768 || rawHeight > 32768)
        return {};
    const bool topDown = rawHeight < 0;
    const int height = topDown ? -rawHeight : rawHeight;
    const qsizetype stride = ((qsizetype(width) * bits + 31) / 32) * 4;
    if (qsizetype(dataAt) > b.size() || stride * height > b.size() - qsizetype(dataAt)) return {};
    QImage img(width, height, QImage::Format_RGB32);
    if (img.isNull()) return {};
    const uchar *data = reinterpret_cast<const uchar *>(b.data()) + dataAt;
    for (int y = 0; y < height; ++y) {
        const uchar *src = data + stride * (topDown ? y : height - 1 - y);
        auto *dst = reinterpret_cast<quint32 *>(img.scanLine(y));
        if (bits == 24) {
            for (int x = 0; x < width; ++x, src += 3)
                dst[x] = 0xFF000000u | quint32(src[2]) << 16 | quint32(src[1]) << 8 | src[0];
        } else {
            std::memcpy(dst, src, size_t(width) * 4);
            for (int x = 0; x < width; ++x)
                dst[x] |= 0xFF000000u;
        }
    }
    return img;
}

} // namespace bmpreader
