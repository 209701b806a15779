#include "base/StringAdditions.h"

#include <gtest/gtest.h>

namespace larkspan {
namespace {

// The fast fold takes ASCII eight bytes at a time: every byte value, at
// every place in a word and next to every other kind of byte, must fold
// as foldCase folds it alone.
TEST(FoldLatin1Test, FoldsEveryByteAsFoldCaseDoesWhereverItStands)
{
    for (const std::uint8_t neighbour : {std::uint8_t('a'), std::uint8_t('@'), std::uint8_t(0xC9)}) {
        for (std::size_t offset = 0; offset < 9; ++offset) {
            Bytes text(offset, neighbour);
            for (unsigned c = 0; c < 256; ++c)
                text.insert(text.end(), {std::uint8_t(c), neighbour, neighbour, neighbour, neighbour, neighbour, neighbour, neighbour});
            Bytes folded(text.size());
            foldLatin1(text, folded.data());
            for (std::size_t i = 0; i < text.size(); ++i)
                ASSERT_EQ(folded[i], foldCase(text[i])) << "byte " << int(text[i]) << " at " << i;
        }
    }
    // The edges of the two upper-case runs; the multiplication sign and ß have no other case.
    for (const auto& [upper, lower] : std::vector<std::pair<char32_t, char32_t>>{
             {'@', '@'}, {'A', 'a'}, {'Z', 'z'}, {'[', '['}, {0xBF, 0xBF}, {0xC0, 0xE0}, {0xD7, 0xD7},
             {0xDE, 0xFE}, {0xDF, 0xDF}, {0x100, 0x100}})
        EXPECT_EQ(std::uint32_t(foldCase(upper)), std::uint32_t(lower)) << std::hex << std::uint32_t(upper);
}

} // namespace
} // namespace larkspan
