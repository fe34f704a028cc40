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

// The headers of an uncompressed 24- or 32-bit bitmap; false for any other.
struct Header {
    quint32 dataAt = 0, infoSize = 0;
    int width = 0, height = 0;
    bool topDown = false;
    quint16 bits = 0;
    qsizetype stride = 0;
};

bool readHeader(QByteArrayView b, Header &h) {
    // File header (14 bytes) and an info header of at least 40 bytes.
    if (b.size() < 54 || b[0] != 'B' || b[1] != 'M') return false;
    h.dataAt = u32(b, 10);
    h.infoSize = u32(b, 14);
    if (h.infoSize < 40) return false;
    const qint32 width = qint32(u32(b, 18));
    const qint32 rawHeight = qint32(u32(b, 22));
    const quint16 planes = u16(b, 26);
    h.bits = u16(b, 28);
    const quint32 compression = u32(b, 30);
    if (planes != 1 || compression != 0 || (h.bits != 24 && h.bits != 32)) return false;
    if (width <= 0 || width > 32768 || rawHeight == 0 || rawHeight < -32768 || rawHeight > 32768)
        return false;
    h.topDown = rawHeight < 0;
    h.width = width;
    h.height = h.topDown ? -rawHeight : rawHeight;
    h.stride = ((qsizetype(width) * h.bits + 31) / 32) * 4;
    return true;
}

} // namespace

QSize sizeOf(QByteArrayView b) {
    Header h;
    return readHeader(b, h) ? QSize(h.width, h.height) : QSize();
}

QImage readUncompressed(QByteArrayView b) {
    Header h;
    if (!readHeader(b, h) || 14 + qsizetype(h.infoSize) > b.size()) return {};
    if (qsizetype(h.dataAt) > b.size() || h.stride * h.height > b.size() - qsizetype(h.dataAt))
        return {};
    QImage img(h.width, h.height, QImage::Format_RGB32);
    if (img.isNull()) return {};
    const uchar *data = reinterpret_cast<const uchar *>(b.data()) + h.dataAt;
    for (int y = 0; y < h.height; ++y) {
        const uchar *src = data + h.stride * (h.topDown ? y : h.height - 1 - y);
        auto *dst = reinterpret_cast<quint32 *>(img.scanLine(y));
        if (h.bits == 24) {
            for (int x = 0; x < h.width; ++x, src += 3)
                dst[x] = 0xFF000000u | quint32(src[2]) << 16 | quint32(src[1]) << 8 | src[0];
        } else {
            std::memcpy(dst, src, size_t(h.width) * 4);
            for (int x = 0; x < h.width; ++x)
                dst[x] |= 0xFF000000u;
        }
    }
    return img;
}

} // namespace bmpreader
