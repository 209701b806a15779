#include "format/EntryCompression.h"
#include "format/RFADecompression.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace larkspan {
namespace {

// A first look hands over the start of the first segment, then the rest of
// it: whatever its length, the pieces must join to the content exactly.
TEST(FirstLookTest, PiecesJoinToTheContentAndTheLookAloneCanEndTheWalk)
{
    std::string text;
    for (int line = 0; text.size() < 3 * kSegmentInputLength; ++line)
        text += "ObjectTemplate.setPosition " + std::to_string(line * 37 % 1000) + "/1.5/" + std::to_string(line) + "\r\n";
    const Bytes content(text.begin(), text.end());
    const Bytes stored = compressEntry(content, CompressionLevel::Fast);
    const auto size = static_cast<std::uint32_t>(content.size());

    const struct {
        std::size_t look;
        bool handedApart; // the look yields a piece of its own
    } cases[] = {
        {0, false},
        {1, false}, // the stream opens with a run of literals longer than that
        {100, true},
        {2048, true},
        {kSegmentInputLength - 1, true},
        {kSegmentInputLength, false},
        {content.size(), false},
    };
    for (const auto& [look, handedApart] : cases) {
        Bytes joined;
        std::vector<std::size_t> pieces;
        const SegmentWalk walk = forEachDecodedSegment(stored, size, [&](ByteSpan piece) {
            joined.insert(joined.end(), piece.begin(), piece.end());
            pieces.push_back(piece.size());
            return true;
        }, look);
        EXPECT_EQ(walk, SegmentWalk::Finished) << look;
        EXPECT_EQ(joined, content) << look;
        ASSERT_EQ(pieces.size(), handedApart ? 5u : 4u) << look;
        if (handedApart) {
            EXPECT_LE(pieces[0], look);
            EXPECT_EQ(pieces[0] + pieces[1], kSegmentInputLength);
        }

        std::size_t firstPiece = 0;
        const SegmentWalk stopped = forEachDecodedSegment(stored, size, [&](ByteSpan piece) {
            firstPiece = piece.size();
            return false;
        }, look);
        EXPECT_EQ(stopped, SegmentWalk::Stopped) << look;
        EXPECT_EQ(firstPiece, pieces.front()) << look;
    }
}

} // namespace
} // namespace larkspan
