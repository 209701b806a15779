#include "cli/CompressOption.h"

#include <cstdio>

namespace larkspan::cli {

CLI::Option* addCompressOption(CLI::App& command, std::string& level)
{
    return command
        .add_flag("--compress{best}", level,
                  "Store every entry compressed in 32 KiB segments, as the game's packer does; "
                  "fast or best (the default: smallest, slower)")
        ->check(CLI::IsMember({"fast", "best"}))
        ->option_text("[=fast|best]");
}

CompressionLevel compressionLevel(const std::string& level)
{
    return level == "fast" ? CompressionLevel::Fast : CompressionLevel::Best;
}

std::string ratioText(std::uint64_t storedSize, std::uint64_t size)
{
    if (size == 0)
        return "-";
    char text[32];
    std::snprintf(text, sizeof text, "%.3f", double(storedSize) / double(size));
    return text;
}

std::string formText(bool compressed, std::uint64_t storedSize, std::uint64_t size)
{
    return std::string(compressed ? "compressed" : "uncompressed") + ", stored/size " + ratioText(storedSize, size);
}

} // namespace larkspan::cli
