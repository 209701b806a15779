#include "cli/SizeText.h"

#include "document/FileSizeFormatter.h"

namespace larkspan::cli {

std::string shownSize(std::uint64_t bytes)
{
    return bytes == 1 ? "1 Byte" : FileSizeFormatter::stringForNumber(bytes);
}

} // namespace larkspan::cli
