#pragma once

#include <QImage>
#include <QWidget>

#include <optional>

namespace larkspan {

// Shows a picture over a checkerboard (so transparency is visible), centred
// with bars where the window's shape differs (window managers ignore
// aspect hints). It fits the picture to the view, or shows it at a zoom of
// its own, larger than the view if need be (the view then grows, for a
// scroll area to scroll). Enlarged pictures are drawn with their pixels
// sharp, as a texture's texels are meant to be seen.
class PictureView : public QWidget {
    Q_OBJECT
public:
    explicit PictureView(QWidget* parent = nullptr);

    // A new picture is fitted to the view.
    void setPicture(const QImage& picture);
    const QImage& picture() const { return picture_; }
    // Where the picture is drawn in the current size.
    QRect pictureRect() const;
    QSize sizeHint() const override;

    // The scale the picture is drawn at now (1 is its own size).
    double scale() const;
    bool fitsView() const { return !zoom_; }
    void zoomToFit();
    void setZoom(double zoom);
    // The next step of a fixed ladder up or down from the current scale.
    void zoomIn();
    void zoomOut();

signals:
    void scaleChanged();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    QImage picture_;
    std::optional<double> zoom_; // nothing: fitted to the view
};

} // namespace larkspan
