#include "picturebox.h"

#include <QFile>

#include "bmpreader.h"

#include <QImageReader>
#include <QMouseEvent>
#include <QPainter>
#include <QResizeEvent>

QImage PictureBox::decode(const QString &path) {
    if (path.isEmpty()) return {};
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return {};
    const QByteArray bytes = file.readAll();
    // The delivered pictures are plain bitmaps, read directly; any other
    // picture by Qt's reader.
    QImage img = bmpreader::readUncompressed(bytes);
    if (img.isNull() && !img.loadFromData(bytes)) return {};
    img.convertTo(QImage::Format_RGB32);
    return img;
}

QSize PictureBox::pictureSize(const QString &path) {
    if (path.isEmpty()) return {};
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return {};
    const QSize size = bmpreader::sizeOf(file.read(54));
    if (size.isValid()) return size;
    file.close();
    return QImageReader(path).size();
}

PictureBox::PictureBox(QWidget *parent) : QWidget(parent) {
    setMouseTracking(true);
}

// The decoding thread has posted its notice by the time it ends; the notice
// goes with this object.
PictureBox::~PictureBox() {
    if (m_decoding.valid()) m_decoding.wait();
}

const QImage &PictureBox::picture() const {
    const_cast<PictureBox *>(this)->takeDecoded();
    return m_picture;
}

QImage &PictureBox::picture() {
    takeDecoded();
    return m_picture;
}

void PictureBox::setPicture(const QImage &image) {
    if (m_decoding.valid()) m_decoding = {}; // waits; the newer picture wins
    m_picture = image;
    pictureChanged();
}

bool PictureBox::loadPicture(const QString &path) {
    const QImage img = decode(path);
    if (img.isNull()) return false;
    setPicture(img);
    return true;
}

bool PictureBox::loadPictureSoon(const QString &path) {
    const QSize size = pictureSize(path);
    if (!size.isValid()) return loadPicture(path);
    if (m_decoding.valid()) m_decoding = {};
    if (m_autoSize) resize(size);
    m_decoding = std::async(std::launch::async, [this, path] {
        QImage img = decode(path);
        QMetaObject::invokeMethod(this, &PictureBox::takeDecoded, Qt::QueuedConnection);
        return img;
    });
    return true;
}

void PictureBox::takeDecoded() {
    if (!m_decoding.valid()) return;
    const QImage img = m_decoding.get();
    // A picture that turns out unreadable leaves the present one.
    if (!img.isNull()) setPicture(img);
}

void PictureBox::reserveSize(const QSize &size) {
    m_reserved = true;
    resize(size);
    updateOpaque();
    update();
}

void PictureBox::pictureChanged() {
    m_reserved = false;
    if (m_autoSize && !m_picture.isNull()) resize(m_picture.size());
    updateOpaque();
    update();
}

// A box that paints every pixel of itself says so, so that the window does
// not first fill the background underneath (for the graph that is most of
// the window).
void PictureBox::updateOpaque() {
    const bool covered = !m_picture.isNull() && !m_picture.hasAlphaChannel() &&
                         (m_stretch || m_picture.rect().contains(rect()));
    setAttribute(Qt::WA_OpaquePaintEvent, m_reserved || covered);
}

void PictureBox::resizeEvent(QResizeEvent *e) {
    QWidget::resizeEvent(e);
    updateOpaque();
}

void PictureBox::setAutoSize(bool on) {
    m_autoSize = on;
    pictureChanged();
}

void PictureBox::setStretch(bool on) {
    m_stretch = on;
    updateOpaque();
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
