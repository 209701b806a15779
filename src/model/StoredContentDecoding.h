#pragma once

#include "base/Error.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

namespace larkspan {

class StoredContent;

// Decodes the contents on `workers` threads (0 for one per core), telling
// the first that fails in their order. After each, in order, `progress` gets
// the stored bytes done so far (never more than `total`) out of `total`;
// false from it stops the work with Cancelled.
Result<void> decodeStoredContents(const std::vector<std::shared_ptr<const StoredContent>>& contents, unsigned workers,
                                  const std::function<bool(std::uint64_t done, std::uint64_t total)>& progress = {},
                                  std::uint64_t total = 0);

} // namespace larkspan
