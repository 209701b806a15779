#pragma once

#include "imaging/Image.h"

#include <QImage>

namespace larkspan {

// A core picture as a QImage (deep copy), turned the right way up for a
// flipped picture.
QImage toQImage(const Image& image);

// Teaches the core to decode "jpg", "bmp" and "png" entries through Qt's
// image readers. Called once at start-up.
void registerQtImageDecoders();

} // namespace larkspan
