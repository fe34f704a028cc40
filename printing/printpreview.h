#pragma once
#include <QList>
#include <QWidget>
#include <memory>

class QPainter;
class QPicture;
class TMyPrinter;

// The recorded pages of a document, in order; owns them.
class TPageList {
public:
    TPageList();
    ~TPageList();
    TPageList(const TPageList &) = delete;
    TPageList &operator=(const TPageList &) = delete;

    int count() const { return int(m_pages.size()); }
    QPicture *at(int i) const { return m_pages.at(i).get(); }
    QPicture *add();
    void clear();

private:
    std::vector<std::unique_ptr<QPicture>> m_pages;
};

// Draws a recorded page at (0, 0) in its own pixels on any device.
void playPage(QPainter &painter, const QPicture &page);

// The widget inside the engine's scroll box on which the preview is painted.
class TPreviewSurface : public QWidget {
    Q_OBJECT
public:
    explicit TPreviewSurface(TMyPrinter *engine);

protected:
    void paintEvent(QPaintEvent *e) override;

private:
    TMyPrinter *m_engine;
};
