#include <gtest/gtest.h>

#include <QBuffer>
#include <QImage>

#include "platform/bmpreader.h"

namespace {

void put32(QByteArray &b, quint32 v) {
    for (int i = 0; i < 4; ++i)
        b.append(char((v >> (8 * i)) & 0xFF));
}

// An uncompressed bitmap file of a picture, bottom-up or top-down.
QByteArray bitmap(const QImage &img, int bits, bool topDown) {
    const int w = img.width(), h = img.height();
    const int stride = ((w * bits + 31) / 32) * 4;
    QByteArray b("BM");
    put32(b, quint32(54 + stride * h));
    put32(b, 0);
    put32(b, 54);
    put32(b, 40);
    put32(b, quint32(w));
    put32(b, quint32(topDown ? -h : h));
    b.append(char(1)).append(char(0)).append(char(bits)).append(char(0));
    for (int i = 0; i < 6; ++i)
        put32(b, 0);
    for (int row = 0; row < h; ++row) {
        const int y = topDown ? row : h - 1 - row;
        QByteArray line;
        for (int x = 0; x < w; ++x) {
            const QRgb p = img.pixel(x, y);
            line.append(char(qBlue(p))).append(char(qGreen(p))).append(char(qRed(p)));
            if (bits == 32) line.append(char(0x7F)); // an alpha byte the picture ignores
        }
        line.append(QByteArray(stride - line.size(), '\0'));
        b += line;
    }
    return b;
}

QImage sample(int w, int h) {
    QImage img(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            img.setPixel(x, y, qRgb(x * 37 % 256, y * 53 % 256, (x + y) * 11 % 256));
    return img;
}

} // namespace

// Each row, its padding and the order of the rows as Qt's own reader reads them.
TEST(BmpReader, ReadsUncompressedBitmapsAsQtDoes) {
    for (const int bits : {24, 32})
        for (const bool topDown : {false, true})
            for (const int width : {1, 3, 5, 64}) {
                const QImage img = sample(width, 7);
                const QByteArray bytes = bitmap(img, bits, topDown);
                const QImage read = bmpreader::readUncompressed(bytes);
                EXPECT_EQ(read, img) << bits << topDown << width;
                EXPECT_EQ(bmpreader::sizeOf(bytes.left(54)), img.size()) << bits << width;
                QImage byQt;
                ASSERT_TRUE(byQt.loadFromData(bytes, "BMP"));
                EXPECT_EQ(read, byQt.convertToFormat(QImage::Format_RGB32)) << bits << width;
            }
}

// Anything but a whole uncompressed 24- or 32-bit bitmap is left to Qt's reader.
TEST(BmpReader, OtherFormsAndDamagedFilesAreLeftAlone) {
    const QByteArray good = bitmap(sample(9, 4), 24, false);
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    sample(9, 4).save(&buffer, "PNG");
    auto with = [&good](int at, char value) {
        QByteArray b = good;
        b[at] = value;
        return b;
    };
    const QByteArray cases[] = {
        good.left(good.size() - 1), // cut short
        good.left(30),              // no whole header
        with(28, 8),                // 8 bits a pixel (a palette)
        with(30, 1),                // run-length compressed
        with(21, char(0x7F)),       // an absurd width
        with(10, char(0xFF)),       // pixel data beyond the end
        png,
        QByteArray(),
    };
    for (const QByteArray &b : cases)
        EXPECT_TRUE(bmpreader::readUncompressed(b).isNull()) << b.size();
    // Only the headers tell the size: a file cut short still names it.
    EXPECT_EQ(bmpreader::sizeOf(cases[0]), QSize(9, 4));
    for (const QByteArray &b : {cases[1], cases[2], cases[3], cases[4], png})
        EXPECT_FALSE(bmpreader::sizeOf(b).isValid()) << b.size();
}
