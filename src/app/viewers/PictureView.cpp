#include "app/viewers/PictureView.h"

#include <QPainter>

namespace larkspan {

PictureView::PictureView(QWidget* parent) : QWidget(parent)
{
    setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Ignored);
}

void PictureView::setPicture(const QImage& picture)
{
    picture_ = picture;
    updateGeometry();
    update();
}

QSize PictureView::sizeHint() const
{
    return picture_.isNull() ? QSize(320, 200) : picture_.size();
}

QRect PictureView::pictureRect() const
{
    if (picture_.isNull())
        return {};
    QSize shown = picture_.size();
    if (shown.width() > width() || shown.height() > height())
        shown.scale(size(), Qt::KeepAspectRatio);
    const QPoint corner((width() - shown.width()) / 2, (height() - shown.height()) / 2);
    return QRect(corner, shown);
}

void PictureView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), palette().window());
    if (picture_.isNull()) {
        painter.drawText(rect(), Qt::AlignCenter, tr("This picture cannot be shown."));
        return;
    }
    const QRect target = pictureRect();
    constexpr int square = 8;
    QPixmap checker(2 * square, 2 * square);
    checker.fill(QColor(0xcc, 0xcc, 0xcc));
    QPainter checkerPainter(&checker);
    checkerPainter.fillRect(0, 0, square, square, QColor(0xff, 0xff, 0xff));
    checkerPainter.fillRect(square, square, square, square, QColor(0xff, 0xff, 0xff));
    checkerPainter.end();
    painter.drawTiledPixmap(target, checker);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(target, picture_);
}

} // namespace larkspan
