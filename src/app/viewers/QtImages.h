#pragma once

#include "imaging/Image.h"
#include "imaging/ImageDecoders.h"

#include <QImage>

namespace larkspan {

// A core picture as a QImage (deep copy), turned the right way up for a
// flipped picture.
QImage toQImage(const Image& image);

// The core's decoders with "jpg", "bmp" and "png" read by Qt's image readers.
ImageDecoderTable imageDecodersWithQt();

} // namespace larkspan
