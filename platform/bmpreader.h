#pragma once
#include <QByteArrayView>
#include <QImage>

// Pictures in the Windows bitmap form the delivered files use: uncompressed,
// 24 or 32 bits a pixel. They are read straight into a 32-bit RGB picture,
// row by row, far faster than the general image reader; any other form is
// left to it.
namespace bmpreader {

// The picture of an uncompressed 24- or 32-bit bitmap file's bytes; a null
// picture for any other file (another form, or bytes that are not a whole
// bitmap).
QImage readUncompressed(QByteArrayView bytes);
// The size such a bitmap declares in its headers (the first 54 bytes are
// enough); an invalid size for any other file.
QSize sizeOf(QByteArrayView bytes);

} // namespace bmpreader
