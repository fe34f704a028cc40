#pragma once
#include <QImage>
#include <QWidget>
#include <future>

// A picture control: shows an image at its top-left corner, sizes itself to
// the image when auto-sizing, and reports mouse events in its own coordinates.
class PictureBox : public QWidget {
    Q_OBJECT
public:
    explicit PictureBox(QWidget *parent = nullptr);
    // A picture file as the boxes show it (32-bit RGB); a null image when it
    // cannot be read.
    static QImage decode(const QString &path);
    // The size of the picture in a file without decoding it; invalid when the
    // file holds no picture. A plain bitmap's headers are read directly, so
    // that Qt does not load every image plugin to ask about it.
    static QSize pictureSize(const QString &path);
    ~PictureBox() override;

    // The picture; one still being decoded is waited for.
    const QImage &picture() const;
    QImage &picture();
    // Replaces the picture and repaints (resizes when auto-sizing).
    void setPicture(const QImage &image);
    // Loads from a file; false (picture unchanged) when it cannot be read.
    bool loadPicture(const QString &path);
    // The same, but only the size is taken at once (from the file's header)
    // and the pixels are decoded on another thread: the window can be shown
    // meanwhile, and the picture appears when it is decoded.
    bool loadPictureSoon(const QString &path);
    // Takes `size` until the next picture comes, white where the present
    // picture does not reach (the window can lay out before a large picture
    // is decoded).
    void reserveSize(const QSize &size);
    // Call after drawing into picture() directly.
    void pictureChanged();
    void setAutoSize(bool on);
    void setStretch(bool on);

signals:
    void mousePressed(QPoint pos, Qt::MouseButton button);
    void mouseMoved(QPoint pos);
    void mouseReleased(QPoint pos, Qt::MouseButton button);

protected:
    void paintEvent(QPaintEvent *) override;
    void resizeEvent(QResizeEvent *e) override;
    void mousePressEvent(QMouseEvent *e) override;
    void mouseMoveEvent(QMouseEvent *e) override;
    void mouseReleaseEvent(QMouseEvent *e) override;

private:
    // Shows a picture decoded meanwhile.
    void takeDecoded();
    void updateOpaque();

    QImage m_picture;
    std::future<QImage> m_decoding;
    bool m_autoSize = true;
    bool m_stretch = false;
    bool m_reserved = false;
};
