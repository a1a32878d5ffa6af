#pragma once
// A static picture that fills its rectangle: scaled to cover it without distortion and
// centred, the overflow cut off (the art keeps its subject clear of the edges).
#include <QPixmap>
#include <QWidget>

namespace qtui {

class PictureView : public QWidget {
public:
    PictureView(const QPixmap& pixmap, QWidget* parent);
    const QPixmap& pixmap() const { return m_pixmap; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QPixmap m_pixmap;
};

}  // namespace qtui
