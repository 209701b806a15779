#include "imaging/BilinearStretch.h"

#include <cmath>
#include <vector>

namespace larkspan {

namespace {

// The two texels a sample falls between along one axis, and the weight of the second.
struct Tap {
    std::size_t first;
    std::size_t second;
    double weight;
};

std::vector<Tap> taps(std::uint32_t textureSide, std::uint32_t imageSide)
{
    std::vector<Tap> result(imageSide);
    const double scale = double(textureSide) / imageSide;
    for (std::uint32_t i = 0; i < imageSide; ++i) {
        const double position = (i + 0.5) * scale - 0.5;
        const double below = std::floor(position);
        const auto wrapped = [&](double t) {
            const double m = std::fmod(t, double(textureSide));
            return std::size_t(m < 0 ? m + textureSide : m);
        };
        result[i] = {wrapped(below), wrapped(below + 1), position - below};
    }
    return result;
}

} // namespace

DDSImage stretchRepeating(const DDSImage& texture, std::uint32_t width, std::uint32_t height)
{
    DDSImage image{width, height, std::size_t(width) * 4, {}};
    image.pixels.resize(image.bytesPerRow * height);
    const std::vector<Tap> across = taps(texture.width, width);
    const std::vector<Tap> down = taps(texture.height, height);
    for (std::uint32_t y = 0; y < height; ++y) {
        const std::uint8_t* upper = texture.pixels.data() + down[y].first * texture.bytesPerRow;
        const std::uint8_t* lower = texture.pixels.data() + down[y].second * texture.bytesPerRow;
        const double wy = down[y].weight;
        std::uint8_t* out = image.pixels.data() + y * image.bytesPerRow;
        for (const Tap& tap : across) {
            for (std::size_t c = 0; c < 4; ++c, ++out) {
                const double top = upper[tap.first * 4 + c] * (1 - tap.weight) + upper[tap.second * 4 + c] * tap.weight;
                const double bottom = lower[tap.first * 4 + c] * (1 - tap.weight) + lower[tap.second * 4 + c] * tap.weight;
                *out = std::uint8_t(std::lround(top * (1 - wy) + bottom * wy));
            }
        }
    }
    return image;
}

} // namespace larkspan
