#include "tree/ImageDecoders.h"

#include "tree/RawHeightMap.h"

#include <map>

namespace larkspan {

namespace {

std::map<std::string, ImageDecoder, std::less<>>& registry()
{
    static std::map<std::string, ImageDecoder, std::less<>> decoders = {
        {"raw", decodeRawHeightMap},
    };
    return decoders;
}

} // namespace

void registerImageDecoder(std::string extension, ImageDecoder decoder)
{
    registry()[std::move(extension)] = std::move(decoder);
}

const ImageDecoder* imageDecoderFor(std::string_view extension)
{
    const auto& decoders = registry();
    const auto found = decoders.find(extension);
    return found == decoders.end() ? nullptr : &found->second;
}

} // namespace larkspan
