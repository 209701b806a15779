#pragma once

#include <string>

namespace larkspan {

enum class UnpackFailure {
    OutOfBounds,
    Decompression,
    Cancelled, // the user stopped the reading: nothing to show
};

// Why an archive could not be read. The texts are the English source texts;
// the UI translates them.
struct UnpackError {
    UnpackFailure failure;
    std::string domain;
    int code;
    std::string description;
    std::string reason;

    static UnpackError make(UnpackFailure failure);
};

} // namespace larkspan
