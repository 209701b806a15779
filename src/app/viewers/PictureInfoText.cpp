#include "app/viewers/PictureInfoText.h"

#include "imaging/ImageDecoders.h"
#include "model/RFATreeNode.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QImageReader>

namespace larkspan {

namespace {

// The texts' translation context.
struct PictureInfoText {
    Q_DECLARE_TR_FUNCTIONS(PictureInfoText)
};

} // namespace

QString pictureInfoText(const RFATreeNode& entry)
{
    if (!entry.isLeaf())
        return {};
    if (const std::optional<PictureInfo> info = pictureInfo(entry.extension(), entry.data())) {
        QString text = PictureInfoText::tr("%1, %2 × %3")
                           .arg(QString::fromStdString(info->format))
                           .arg(info->width)
                           .arg(info->height);
        if (info->bitsPerPixel != 0)
            text += PictureInfoText::tr(", %1 bits per pixel").arg(info->bitsPerPixel);
        if (info->mipLevels > 1)
            text += PictureInfoText::tr(", %1 mip levels").arg(info->mipLevels);
        return text;
    }
    QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(entry.data()->data()),
                                               static_cast<qsizetype>(entry.data()->size()));
    QBuffer buffer(&bytes);
    QImageReader reader(&buffer);
    const QSize size = reader.size();
    if (!size.isValid())
        return {};
    // The reader tells the format it decodes to: 32-bit with an unused
    // byte for a 24-bit file.
    const QImage::Format decoded = reader.imageFormat();
    const int bits = decoded == QImage::Format_RGB32 ? 24 : QImage::toPixelFormat(decoded).bitsPerPixel();
    return PictureInfoText::tr("%1, %2 × %3, %4 bits per pixel")
        .arg(QString::fromLatin1(reader.format()).toUpper())
        .arg(size.width())
        .arg(size.height())
        .arg(bits);
}

} // namespace larkspan
