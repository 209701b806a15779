#include "base/ByteOrder.h"

#include <gtest/gtest.h>

namespace larkspan {
namespace {

TEST(ByteOrder, ReadsAtAPositionOnlyWholeFieldsInside)
{
    const Bytes six = {1, 2, 3, 4, 5, 6};
    struct Case {
        std::uint64_t position;
        std::uint32_t int32;
        std::uint16_t int16;
    };
    for (const Case& c : {Case{0, 0x04030201u, 0x0201u}, Case{2, 0x06050403u, 0x0403u}, Case{3, 0, 0x0504u},
                          Case{4, 0, 0x0605u}, Case{5, 0, 0}, Case{6, 0, 0}, Case{7, 0, 0}, Case{UINT64_MAX, 0, 0}}) {
        SCOPED_TRACE(c.position);
        EXPECT_EQ(littleIntAtPosition(six, c.position), c.int32);
        EXPECT_EQ(littleShortAtPosition(six, c.position), c.int16);
    }
}

} // namespace
} // namespace larkspan
