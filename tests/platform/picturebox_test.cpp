#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QImage>
#include <QImageReader>
#include <QPainter>
#include <QPalette>
#include <QThread>

#include <memory>

#include "platform/picturebox.h"
#include "testutil.h"

namespace {

QImage stripes(int width, int height) {
    QImage img(width, height, QImage::Format_RGB32);
    img.fill(Qt::white);
    QPainter p(&img);
    for (int x = 0; x < width; x += 7)
        p.fillRect(x, 0, 3, height, QColor(0, 0, 128));
    return img;
}

} // namespace

// A picture loaded soon takes its size at once and its pixels when decoded:
// shown after the next events, and at once to whoever asks for it.
TEST(PictureBox, APictureLoadedSoonIsSizedAtOnceAndShownWhenDecoded) {
    testutil::TempFolder dir;
    const QImage header = stripes(1600, 27);
    ASSERT_TRUE(header.save(dir.file("Header.bmp"), "BMP"));

    PictureBox shown;
    ASSERT_TRUE(shown.loadPictureSoon(dir.file("Header.bmp")));
    EXPECT_EQ(shown.size(), QSize(1600, 27));
    const QDeadlineTimer deadline(5000);
    while (shown.grab().toImage().pixelColor(1, 1) != QColor(0, 0, 128) && !deadline.hasExpired()) {
        QThread::msleep(1);
        QCoreApplication::processEvents();
    }
    EXPECT_EQ(shown.grab().toImage().convertToFormat(QImage::Format_RGB32), header);

    PictureBox asked;
    ASSERT_TRUE(asked.loadPictureSoon(dir.file("Header.bmp")));
    EXPECT_EQ(asked.picture(), header);

    // A picture set meanwhile wins over the one being decoded.
    PictureBox replaced;
    ASSERT_TRUE(replaced.loadPictureSoon(dir.file("Header.bmp")));
    const QImage other = stripes(40, 400);
    replaced.setPicture(other);
    QCoreApplication::processEvents();
    EXPECT_EQ(replaced.picture(), other);
    EXPECT_EQ(replaced.size(), QSize(40, 400));

    // A box that goes while its picture is decoded.
    auto gone = std::make_unique<PictureBox>();
    ASSERT_TRUE(gone->loadPictureSoon(dir.file("Header.bmp")));
    gone.reset();
    QCoreApplication::processEvents();
}

// A missing file, and a file whose size reads but whose pixels do not,
// leave the picture shown as it was.
TEST(PictureBox, AnUnreadablePictureLeavesTheOneShown) {
    testutil::TempFolder dir;
    const QImage legend = stripes(42, 403);
    PictureBox box;
    box.setPicture(legend);
    EXPECT_FALSE(box.loadPictureSoon(dir.file("fehlt.bmp")));
    EXPECT_FALSE(box.loadPictureSoon(QString()));
    EXPECT_EQ(box.picture(), legend);

    ASSERT_TRUE(stripes(60, 60).save(dir.file("kaputt.png"), "PNG"));
    QByteArray bytes = testutil::readBytes(dir.file("kaputt.png"));
    // The pixel data spoilt, the chunks around it kept.
    const qsizetype data = bytes.indexOf("IDAT") + 4;
    ASSERT_GT(data, 4);
    for (qsizetype i = data; i < bytes.size() - 16; ++i)
        bytes[i] = char(0x5A);
    testutil::writeBytes(dir.file("kaputt.png"), bytes);
    ASSERT_TRUE(QImageReader(dir.file("kaputt.png")).size().isValid());
    box.loadPictureSoon(dir.file("kaputt.png"));
    EXPECT_EQ(box.picture(), legend);
}

// A box that paints all of itself is opaque, so that its window does not
// fill the background underneath first; one that leaves pixels to the
// background (a smaller picture, one with transparency) is not. Either way
// the window shows the same.
TEST(PictureBox, OnlyABoxThatPaintsAllOfItselfIsOpaque) {
    QWidget window;
    window.resize(300, 300);
    QPalette pal = window.palette();
    pal.setColor(QPalette::Window, QColor(200, 0, 0));
    window.setPalette(pal);
    window.setAutoFillBackground(true);
    auto *box = new PictureBox(&window);
    window.show();
    const auto opaque = [box] { return box->testAttribute(Qt::WA_OpaquePaintEvent); };

    box->reserveSize(QSize(100, 50));
    EXPECT_TRUE(opaque());
    EXPECT_EQ(window.grab().toImage().pixelColor(50, 25), QColor(Qt::white));
    box->setPicture(stripes(100, 50));
    EXPECT_TRUE(opaque());
    box->setAutoSize(false);
    box->resize(120, 50);
    EXPECT_FALSE(opaque());
    EXPECT_EQ(window.grab().toImage().pixelColor(110, 25), QColor(200, 0, 0));
    box->setStretch(true);
    EXPECT_TRUE(opaque());
    box->setStretch(false);
    box->resize(100, 50);
    EXPECT_TRUE(opaque());

    QImage arrow(100, 50, QImage::Format_ARGB32_Premultiplied);
    arrow.fill(Qt::transparent);
    box->setPicture(arrow);
    EXPECT_FALSE(opaque());
    EXPECT_EQ(window.grab().toImage().pixelColor(50, 25), QColor(200, 0, 0));
}
