#include "app/viewers/PictureView.h"

#include <QPainter>

#include <algorithm>
#include <array>
#include <cmath>

namespace larkspan {

namespace {

constexpr std::array<double, 17> kZoomSteps = {1.0 / 16, 1.0 / 8, 1.0 / 4, 1.0 / 3, 1.0 / 2, 2.0 / 3, 1, 1.5, 2,
                                               3,        4,       6,       8,       12,      16,      24,      32};

} // namespace

PictureView::PictureView(QWidget* parent) : QWidget(parent)
{
    setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Ignored);
}

void PictureView::setPicture(const QImage& picture)
{
    picture_ = picture;
    zoomToFit();
    updateGeometry();
}

QSize PictureView::sizeHint() const
{
    return picture_.isNull() ? QSize(320, 200) : picture_.size();
}

double PictureView::scale() const
{
    if (picture_.isNull())
        return 1;
    if (zoom_)
        return *zoom_;
    return std::min(static_cast<double>(width()) / picture_.width(), static_cast<double>(height()) / picture_.height());
}

void PictureView::zoomToFit()
{
    zoom_.reset();
    setMinimumSize(0, 0);
    update();
    emit scaleChanged();
}

void PictureView::setZoom(double zoom)
{
    if (picture_.isNull())
        return;
    zoom_ = std::clamp(zoom, kZoomSteps.front(), kZoomSteps.back());
    // Larger than the view: the scroll area around it scrolls.
    setMinimumSize(static_cast<int>(std::ceil(picture_.width() * *zoom_)),
                   static_cast<int>(std::ceil(picture_.height() * *zoom_)));
    update();
    emit scaleChanged();
}

void PictureView::zoomIn()
{
    const double now = scale();
    const auto next = std::find_if(kZoomSteps.begin(), kZoomSteps.end(), [now](double step) { return step > now * 1.001; });
    setZoom(next == kZoomSteps.end() ? kZoomSteps.back() : *next);
}

void PictureView::zoomOut()
{
    const double now = scale();
    const auto next =
        std::find_if(kZoomSteps.rbegin(), kZoomSteps.rend(), [now](double step) { return step < now * 0.999; });
    setZoom(next == kZoomSteps.rend() ? kZoomSteps.front() : *next);
}

QRect PictureView::pictureRect() const
{
    if (picture_.isNull())
        return {};
    const QSize shown(std::max(1, static_cast<int>(std::lround(picture_.width() * scale()))),
                      std::max(1, static_cast<int>(std::lround(picture_.height() * scale()))));
    const QPoint corner((width() - shown.width()) / 2, (height() - shown.height()) / 2);
    return QRect(corner, shown);
}

void PictureView::resizeEvent(QResizeEvent*)
{
    if (fitsView())
        emit scaleChanged();
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
    // Smoothed only when shrunk: enlarged, each texel stays a sharp square.
    painter.setRenderHint(QPainter::SmoothPixmapTransform, target.width() < picture_.width());
    painter.drawImage(target, picture_);
}

} // namespace larkspan
