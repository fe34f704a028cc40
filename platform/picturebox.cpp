#include "picturebox.h"

#include <QMouseEvent>
#include <QPainter>

PictureBox::PictureBox(QWidget *parent) : QWidget(parent) {
    setMouseTracking(true);
}

void PictureBox::setPicture(const QImage &image) {
    m_picture = image;
    pictureChanged();
}

bool PictureBox::loadPicture(const QString &path) {
    QImage img;
    if (path.isEmpty() || !img.load(path)) return false;
    setPicture(img.convertToFormat(QImage::Format_RGB32));
    return true;
}

void PictureBox::reserveSize(const QSize &size) {
    m_reserved = true;
    resize(size);
    update();
}

void PictureBox::pictureChanged() {
    m_reserved = false;
    if (m_autoSize && !m_picture.isNull()) resize(m_picture.size());
    update();
}

void PictureBox::setAutoSize(bool on) {
    m_autoSize = on;
    pictureChanged();
}

void PictureBox::setStretch(bool on) {
    m_stretch = on;
    update();
}

void PictureBox::paintEvent(QPaintEvent *e) {
    QPainter p(this);
    if (m_reserved) p.fillRect(e->rect(), Qt::white);
    if (m_picture.isNull()) return;
    if (m_stretch)
        p.drawImage(rect(), m_picture);
    else
        p.drawImage(0, 0, m_picture);
}

void PictureBox::mousePressEvent(QMouseEvent *e) {
    emit mousePressed(e->position().toPoint(), e->button());
}
void PictureBox::mouseMoveEvent(QMouseEvent *e) {
    emit mouseMoved(e->position().toPoint());
}
void PictureBox::mouseReleaseEvent(QMouseEvent *e) {
    emit mouseReleased(e->position().toPoint(), e->button());
}
