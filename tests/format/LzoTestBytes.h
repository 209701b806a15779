#pragma once

#include "base/Bytes.h"

#include <string_view>

namespace larkspan::test {

// "15 61 62" → {0x15, 0x61, 0x62}.
Bytes hexBytes(std::string_view hex);

Bytes operator+(Bytes a, const Bytes& b);

} // namespace larkspan::test
