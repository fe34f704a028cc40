#pragma once
#include <QImage>
#include <QWidget>

// A picture control: shows an image at its top-left corner, sizes itself to
// the image when auto-sizing, and reports mouse events in its own coordinates.
class PictureBox : public QWidget {
    Q_OBJECT
public:
    explicit PictureBox(QWidget *parent = nullptr);

    const QImage &picture() const { return m_picture; }
    QImage &picture() { return m_picture; }
    // Replaces the picture and repaints (resizes when auto-sizing).
    void setPicture(const QImage &image);
    // Loads from a file; false (picture unchanged) when it cannot be read.
    bool loadPicture(const QString &path);
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
    void mousePressEvent(QMouseEvent *e) override;
    void mouseMoveEvent(QMouseEvent *e) override;
    void mouseReleaseEvent(QMouseEvent *e) override;

private:
    QImage m_picture;
    bool m_autoSize = true;
    bool m_stretch = false;
    bool m_reserved = false;
};
