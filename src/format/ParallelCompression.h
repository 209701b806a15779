#pragma once

#include "base/Bytes.h"
#include "base/WorkerPool.h"
#include "format/Lzo1xCompressor.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>

namespace larkspan {

// Compresses many contents on the pool, segment by segment, so that one
// big entry keeps every worker as busy as many small ones do. Each
// content's stored bytes, exactly what compressEntry gives for it, go to
// `take(entry, stored)` on the calling thread in entry order. After each
// segment `progress(done, total)` in content bytes; false from it stops
// the work, and the call then returns false. The result depends on the contents
// and the level only, not on the number of workers.
bool compressEntries(std::span<const ByteSpan> contents, CompressionLevel level, WorkerPool& pool,
                     const std::function<void(std::size_t entry, Bytes stored)>& take,
                     const std::function<bool(std::uint64_t done, std::uint64_t total)>& progress);

} // namespace larkspan
