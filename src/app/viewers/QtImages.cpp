#include "app/viewers/QtImages.h"

#include <cstring>

namespace larkspan {

QImage toQImage(const Image& image)
{
    QImage::Format format = QImage::Format_RGBA8888;
    if (image.format == PixelFormat::Gray8)
        format = QImage::Format_Grayscale8;
    else if (image.format == PixelFormat::Gray16)
        format = QImage::Format_Grayscale16;
    if (image.width == 0 || image.height == 0 || image.pixels.size() < image.bytesPerRow * image.height)
        return {};
    const QImage view(image.pixels.data(), static_cast<int>(image.width), static_cast<int>(image.height),
                      static_cast<qsizetype>(image.bytesPerRow), format);
    return image.flipped ? view.mirrored(false, true) : view.copy();
}

namespace {

std::optional<Image> decodeWithQt(const SharedBytes& bytes, const char* format)
{
    QImage decoded;
    if (!decoded.loadFromData(bytes->data(), static_cast<int>(bytes->size()), format))
        return std::nullopt;
    decoded.convertTo(QImage::Format_RGBA8888);
    Image image;
    image.width = static_cast<std::uint32_t>(decoded.width());
    image.height = static_cast<std::uint32_t>(decoded.height());
    image.format = PixelFormat::RGBA8;
    image.bytesPerRow = image.width * 4u;
    image.pixels.resize(image.bytesPerRow * image.height);
    for (int y = 0; y < decoded.height(); ++y)
        std::memcpy(image.pixels.data() + image.bytesPerRow * static_cast<std::size_t>(y), decoded.constScanLine(y),
                    image.bytesPerRow);
    return image;
}

} // namespace

ImageDecoderTable imageDecodersWithQt()
{
    ImageDecoderTable decoders;
    decoders.set("jpg", [](const SharedBytes& bytes) { return decodeWithQt(bytes, "JPEG"); });
    decoders.set("bmp", [](const SharedBytes& bytes) { return decodeWithQt(bytes, "BMP"); });
    decoders.set("png", [](const SharedBytes& bytes) { return decodeWithQt(bytes, "PNG"); });
    return decoders;
}

} // namespace larkspan
