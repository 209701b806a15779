#include "app/viewers/RFAImageViewingController.h"

#include "app/viewers/PictureView.h"
#include "app/viewers/QtImages.h"
#include "imaging/ImageDecoders.h"

#include <QBuffer>
#include <QGuiApplication>
#include <QImageReader>
#include <QScreen>
#include <QVBoxLayout>

namespace larkspan {

QString RFAImageViewingController::windowTitleFor(const QString& displayName, const QString& entryName)
{
    return displayName + QStringLiteral(" \u2014 ") + entryName;
}

RFAImageViewingController::RFAImageViewingController(RFATreeNode::Ptr entry, ImageDecoderTable decoders,
                                                     QString displayName, QWidget* owner)
    : QWidget(owner, Qt::Window), entry_(std::move(entry)), decoders_(std::move(decoders)),
      displayName_(std::move(displayName)), menuBar_(new QMenuBar(this)), view_(new PictureView(this)), info_(new QLabel(this))
{
    setAttribute(Qt::WA_DeleteOnClose);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    layout->setMenuBar(menuBar_);
    layout->addWidget(view_, 1);
    info_->setContentsMargins(6, 0, 6, 2);
    layout->addWidget(info_);
    if (const std::shared_ptr<ChangeHub> hub = entry_->changeHub()) {
        watch_ = hub->observe({.node = entry_.get(), .properties = {NodeProperty::Image, NodeProperty::Name}},
                              [this](const ChangeReport& report) {
                                  if (report.property == NodeProperty::Name)
                                      setDisplayName(displayName_);
                                  else
                                      takePicture();
                              });
    }
    setDisplayName(displayName_);
    takePicture();
}

void RFAImageViewingController::setDisplayName(const QString& displayName)
{
    displayName_ = displayName;
    setWindowTitle(windowTitleFor(displayName_, QString::fromStdString(entry_->name())));
}

QString RFAImageViewingController::infoText() const
{
    if (!entry_->isLeaf())
        return {};
    if (const std::optional<PictureInfo> info = pictureInfo(entry_->extension(), entry_->data())) {
        QString text = tr("%1, %2 × %3").arg(QString::fromStdString(info->format)).arg(info->width).arg(info->height);
        if (info->bitsPerPixel != 0)
            text += tr(", %1 bits per pixel").arg(info->bitsPerPixel);
        if (info->mipLevels > 1)
            text += tr(", %1 mip levels").arg(info->mipLevels);
        return text;
    }
    QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(entry_->data()->data()),
                                               static_cast<qsizetype>(entry_->data()->size()));
    QBuffer buffer(&bytes);
    QImageReader reader(&buffer);
    const QSize size = reader.size();
    if (!size.isValid())
        return {};
    // The reader tells the format it decodes to: 32-bit with an unused
    // byte for a 24-bit file.
    const QImage::Format decoded = reader.imageFormat();
    const int bits = decoded == QImage::Format_RGB32 ? 24 : QImage::toPixelFormat(decoded).bitsPerPixel();
    return tr("%1, %2 × %3, %4 bits per pixel")
        .arg(QString::fromLatin1(reader.format()).toUpper())
        .arg(size.width())
        .arg(size.height())
        .arg(bits);
}

void RFAImageViewingController::takePicture()
{
    const SharedImage picture = entry_->image(decoders_);
    view_->setPicture(picture ? toQImage(*picture) : QImage());
    info_->setText(infoText());
    sizeToPicture();
}

void RFAImageViewingController::sizeToPicture()
{
    const QImage& picture = view_->picture();
    QSize content = picture.isNull() ? view_->sizeHint() : picture.size();
    // The menus and the info line come on top of the picture.
    const int infoHeight =
        info_->sizeHint().height() + layout()->spacing() + (menuBar_->isHidden() ? 0 : menuBar_->sizeHint().height());
    // Never larger than the picture, nor than the screen.
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QSize room = screen->availableGeometry().size() - QSize(40, 80 + infoHeight);
        if (content.width() > room.width() || content.height() > room.height())
            content.scale(room, Qt::KeepAspectRatio);
    }
    const QSize window(std::max(content.width(), info_->minimumSizeHint().width()), content.height() + infoHeight);
    setMaximumSize(picture.isNull() ? QSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX)
                                    : QSize(std::max(picture.width(), window.width()), picture.height() + infoHeight));
    resize(window);
}

} // namespace larkspan
