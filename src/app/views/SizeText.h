#pragma once

#include <QString>

#include <cstdint>

namespace larkspan {

// A byte count as the user sees it, in the translated formats of
// FileSizeFormatter (context "FileSizeFormatter").
QString sizeText(std::uint64_t bytes);

} // namespace larkspan
