// A file is read whole, whatever its size against the buffers the reading
// goes through (64 KiB chunks, 2 MiB large pages).

#include "fs/FileIO.h"
#include "support/TemporaryFolder.h"

#include <gtest/gtest.h>

namespace larkspan {
namespace {

TEST(WholeFileRead, ReadsEveryByteOfFilesOfAnySize)
{
    fixtures::TemporaryFolder temp;
    for (const std::size_t size : {std::size_t{0}, std::size_t{1}, std::size_t{65'537}, std::size_t{(3 << 20) + 5}}) {
        SCOPED_TRACE(size);
        std::string content(size, '\0');
        for (std::size_t i = 0; i < size; ++i)
            content[i] = static_cast<char>(i * 31 + (i >> 16));
        const Result<Bytes> read = readWholeFile(temp.write("file", content));
        ASSERT_TRUE(read);
        EXPECT_EQ(std::string(read->begin(), read->end()), content);
    }
}

} // namespace
} // namespace larkspan
