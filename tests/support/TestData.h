#pragma once

// The bytes of a file under tests/data; a missing one fails the test that
// asked for it.

#include "fs/FileIO.h"

#include <stdexcept>
#include <string>
#include <string_view>

namespace larkspan::fixtures {

inline Bytes testData(std::string_view relativePath)
{
    const std::string path = std::string(LARKSPAN_TEST_DATA) + "/" + std::string(relativePath);
    Result<Bytes> bytes = readWholeFile(path);
    if (!bytes)
        throw std::runtime_error("missing test data " + path);
    return std::move(*bytes);
}

} // namespace larkspan::fixtures
