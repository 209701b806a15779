#pragma once

#include <QImage>
#include <QWidget>

namespace larkspan {

// Shows a picture over a checkerboard (so transparency is visible), at its
// own size or smaller in its proportions, centred with bars where the
// window's shape differs: window managers ignore aspect hints.
class PictureView : public QWidget {
    Q_OBJECT
public:
    explicit PictureView(QWidget* parent = nullptr);

    void setPicture(const QImage& picture);
    const QImage& picture() const { return picture_; }
    // Where the picture is drawn in the current size.
    QRect pictureRect() const;
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QImage picture_;
};

} // namespace larkspan
