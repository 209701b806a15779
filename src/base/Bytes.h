#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <vector>

namespace larkspan {

using Bytes = std::vector<std::uint8_t>;
// Entry contents are immutable once stored, so copies of a node may share them.
using SharedBytes = std::shared_ptr<const Bytes>;
using ByteSpan = std::span<const std::uint8_t>;

// Receives bytes being written, piece by piece, in order.
using ByteSink = std::function<void(ByteSpan piece)>;

inline SharedBytes makeSharedBytes(Bytes bytes)
{
    return std::make_shared<const Bytes>(std::move(bytes));
}

inline SharedBytes makeSharedBytes(ByteSpan bytes)
{
    return std::make_shared<const Bytes>(bytes.begin(), bytes.end());
}

} // namespace larkspan
