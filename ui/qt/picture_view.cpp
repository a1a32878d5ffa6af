#include "ui/qt/picture_view.h"

#include <QPainter>

namespace qtui {

PictureView::PictureView(const QPixmap& pixmap, QWidget* parent) : QWidget(parent), m_pixmap(pixmap) {}

void PictureView::paintEvent(QPaintEvent*) {
    if (m_pixmap.isNull()) return;
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    const QSizeF covered = QSizeF(m_pixmap.size()).scaled(QSizeF(size()), Qt::KeepAspectRatioByExpanding);
    // The part of the pixmap that lands on the widget, centred.
    const double scale = covered.width() / m_pixmap.width();
    const QSizeF shown(width() / scale, height() / scale);
    const QRectF source(QPointF((m_pixmap.width() - shown.width()) / 2, (m_pixmap.height() - shown.height()) / 2),
                        shown);
    painter.drawPixmap(QRectF(rect()), m_pixmap, source);
}

}  // namespace qtui
