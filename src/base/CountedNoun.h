#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace larkspan {

// A count followed by the noun that agrees with it: "1 entry", "0 entries",
// "2 entries".
std::string countedNoun(std::uint64_t count, std::string_view singular, std::string_view plural);

} // namespace larkspan
