#include "model/RFATreeNode.h"
#include "text/TextSplice.h"
#include "model/TextSpliceEntry.h"
#include "model/UndoHistory.h"
#include "support/ArchiveBytes.h"

#include <gtest/gtest.h>

#include <random>
#include <tuple>

namespace larkspan {
namespace {

using fixtures::bytesOf;

// Bytes as a quoted string, line breaks and control bytes escaped.
std::string printable(const Bytes& bytes)
{
    return testing::PrintToString(std::string(bytes.begin(), bytes.end()));
}

TEST(TextSplice, LineBreakCountsAndMainEnding)
{
    struct Case {
        std::string_view bytes;
        LineBreakCounts counts;
        LineBreak main;
        bool mixed;
    };
    for (const Case& c : {
             Case{"", {0, 0, 0}, LineBreak::CRLF, false},
             Case{"one line", {0, 0, 0}, LineBreak::CRLF, false},
             Case{"a\nb\n", {0, 2, 0}, LineBreak::LF, false},
             Case{"a\rb", {0, 0, 1}, LineBreak::CR, false},
             Case{"a\r\nb\nc\r\n", {2, 1, 0}, LineBreak::CRLF, true},
             Case{"a\nb\nc\r\n", {1, 2, 0}, LineBreak::LF, true},
             Case{"a\r\nb\n", {1, 1, 0}, LineBreak::CRLF, true},
             Case{"a\rb\n", {0, 1, 1}, LineBreak::LF, true},
             Case{"\n\r", {0, 1, 1}, LineBreak::LF, true},
             Case{"\r\r\n", {1, 0, 1}, LineBreak::CRLF, true},
         }) {
        const LineBreakCounts counts = countLineBreaks(bytesOf(c.bytes));
        EXPECT_EQ(std::tuple(counts.crlf, counts.lf, counts.cr, counts.main(), counts.isMixed()),
                  std::tuple(c.counts.crlf, c.counts.lf, c.counts.cr, c.main, c.mixed))
            << printable(bytesOf(c.bytes));
    }
}

TEST(TextSplice, ShownTextAndUntouchedRoundTrip)
{
    Bytes upperHalf;
    std::u16string upperHalfShown;
    for (int b = 0x80; b <= 0xFF; ++b) {
        upperHalf.push_back(static_cast<std::uint8_t>(b));
        upperHalfShown.push_back(static_cast<char16_t>(b));
    }
    struct Case {
        Bytes bytes;
        std::u16string shown;
    };
    for (const Case& c : {
             Case{{}, u""},
             Case{bytesOf("no final break"), u"no final break"},
             Case{bytesOf("a\r\nb\nc\rd\r\n"), u"a\nb\nc\nd\n"},
             Case{bytesOf("lone CR at the end\r"), u"lone CR at the end\n"},
             Case{bytesOf("\n\r"), u"\n\n"},
             Case{bytesOf("\r\r\n\n"), u"\n\n\n"},
             Case{bytesOf("\tif v_arg1 == 1\t\r\n"), u"\tif v_arg1 == 1\t\n"},
             Case{upperHalf, upperHalfShown},
             Case{{0x00, 'a', 0x01, 0x1F, 0x7F, 0x1B, '\t'}, u"\u2400a\u2401\u241f\u2421\u241b\t"},
         }) {
        EXPECT_EQ(shownText(c.bytes), c.shown) << printable(c.bytes);
        for (std::size_t hint : {std::size_t{0}, c.shown.size() / 2, c.shown.size()}) {
            const std::optional<ByteSplice> splice = spliceForEditedText(c.bytes, c.shown, hint);
            ASSERT_TRUE(splice) << printable(c.bytes);
            EXPECT_TRUE(splice->isEmpty()) << "typing nothing changes nothing: " << printable(c.bytes);
        }
    }
}

TEST(TextSplice, TypedTextInShownForm)
{
    struct Case {
        std::u16string typed;
        std::optional<std::u16string> shown;
    };
    for (const Case& c : {
             Case{u"plain \u00e9\u00ff\u00a0", u"plain \u00e9\u00ff\u00a0"},
             Case{u"a\r\nb\rc\nd\u2028e\u2029f", u"a\nb\nc\nd\ne\nf"},
             Case{u"\r\n\r\r\n\n", u"\n\n\n\n"},
             Case{std::u16string{u'a', 0, u'\x01', u'\x7f', u'\t'}, u"a\u2400\u2401\u2421\t"},
             Case{u"\u2400\u2421", u"\u2400\u2421"},
             Case{u"price \u20ac", std::nullopt},
             Case{u"\U0001F600", std::nullopt},
             Case{u"\u2409", std::nullopt}, // a tab shows as itself, its picture stands for no byte
             Case{u"\u240d", std::nullopt},
             Case{u"\u2420", std::nullopt}, // past the control pictures: no byte's
         })
        EXPECT_EQ(shownTextOfTyped(c.typed), c.shown);
}

TEST(TextSplice, EditsGiveExactBytes)
{
    struct Case {
        const char* what;
        std::string_view bytes;
        std::u16string_view edited;
        std::size_t editPosition;
        std::optional<std::string_view> expected;
    };
    for (const Case& c : {
             Case{"type at the start", "a\r\nb", u"xa\nb", 0, "xa\r\nb"},
             Case{"type in the middle of a CRLF file", "ab\r\ncd\r\n", u"ab\nXcd\n", 3, "ab\r\nXcd\r\n"},
             Case{"type at the end", "a\r\nb", u"a\nbZ", 3, "a\r\nbZ"},
             Case{"type into an empty file", "", u"x", 0, "x"},
             Case{"Return in a CRLF file", "ab\r\ncd", u"a\nb\ncd", 1, "a\r\nb\r\ncd"},
             Case{"Return in a LF file", "ab\ncd", u"a\nb\ncd", 1, "a\nb\ncd"},
             Case{"Return in a CR file", "ab\rcd", u"a\nb\ncd", 1, "a\rb\rcd"},
             Case{"Return in a file without breaks", "ab", u"a\nb", 1, "a\r\nb"},
             Case{"Return in a mostly CRLF file", "a\r\nb\nc\r\n", u"a\nb\nc\n\n", 6, "a\r\nb\nc\r\n\r\n"},
             Case{"Return in a mostly LF file", "a\nb\nc\r\n", u"a\nb\nc\n\n", 6, "a\nb\nc\r\n\n"},
             Case{"delete a CRLF", "ab\r\ncd", u"abcd", 2, "abcd"},
             Case{"delete a lone CR", "a\rb", u"ab", 1, "ab"},
             Case{"delete everything", "a\r\nb\n", u"", 0, ""},
             Case{"retyped break keeps its ending", "a\nb\r\nc", u"a\nb\nc", 1, "a\nb\r\nc"},
             Case{"other lines keep their endings", "a\nb\r\nc\rd", u"a\nb\nXc\nd", 4, "a\nb\r\nXc\rd"},
             Case{"pasted breaks take the file's ending", "a\r\nb", u"a\r\nx\ry\u2029z\u2028w\nb", 2,
                  "a\r\nx\r\ny\r\nz\r\nw\r\nb"},
             Case{"tabs and upper half", "x", u"\tx\u00e9\u00ff\u0080", 0, "\tx\xe9\xff\x80"},
             Case{"control pictures stand for their bytes", "x", u"x\u2400\u2421\u241b", 1,
                  std::string_view("x\0\x7f\x1b", 4)},
             Case{"a raw NUL is a NUL byte", "x", std::u16string_view(u"x\0", 2), 1, std::string_view("x\0", 2)},
             Case{"beyond Latin-1 is refused", "x", u"x\u20ac", 1, std::nullopt},
             Case{"a lone CR line stays apart from a new LF", "a\rb\nc\nd", u"a\n\nb\nc\nd", 2, "a\r\r\nb\nc\nd"},
             Case{"a new CR stays apart from a lone LF", "a\rb\rc\nd", u"a\nb\nc\n\nd", 5, "a\rb\rc\r\n\nd"},
             Case{"emptying a line between CR and LF", "a\rX\nb\nc", u"a\n\nb\nc", 2, "a\r\r\nb\nc"},
         }) {
        const Bytes bytes = bytesOf(c.bytes);
        const std::optional<ByteSplice> splice = spliceForEditedText(bytes, c.edited, c.editPosition);
        ASSERT_EQ(splice.has_value(), c.expected.has_value()) << c.what;
        if (!splice)
            continue;
        const std::optional<Bytes> result = splice->appliedTo(bytes);
        ASSERT_TRUE(result) << c.what;
        EXPECT_EQ(printable(*result), printable(bytesOf(*c.expected))) << c.what;
        EXPECT_EQ(shownText(*result), *shownTextOfTyped(c.edited)) << c.what;
        EXPECT_EQ(splice->inverse().appliedTo(*result), bytes) << c.what;
    }
}

TEST(TextSplice, KnownEditSplicesOnlyWhatChanged)
{
    struct Case {
        std::string_view bytes;
        std::size_t position;
        std::size_t removed;
        std::u16string_view inserted;
        std::optional<ByteSplice> expected;
    };
    for (const Case& c : {
             Case{"a\nb", 1, 1, u"\u2029", ByteSplice{}}, // a retyped break keeps its LF
             Case{"a\r\nb\nc", 0, 5, u"a\nB\nc", ByteSplice{3, {'b'}, {'B'}}},
             Case{"ab\nc", 1, 0, u"\n", ByteSplice{1, {}, {'\n'}}},
             Case{"a\r\nb", 1, 1, u"", ByteSplice{1, {'\r', '\n'}, {}}},
             Case{"abc", 1, 1, u"\u0100", std::nullopt},
             Case{"abc", 3, 0, u"d", ByteSplice{3, {}, {'d'}}},
         })
        EXPECT_EQ(spliceForEdit(bytesOf(c.bytes), c.position, c.removed, c.inserted), c.expected)
            << printable(bytesOf(c.bytes)) << " at " << c.position;
}

TEST(TextSplice, SpliceChecksWhatItRemoves)
{
    const Bytes bytes = bytesOf("abc");
    EXPECT_EQ(ByteSplice({1, {'b'}, {'X', 'Y'}}).appliedTo(bytes), bytesOf("aXYc"));
    EXPECT_EQ(ByteSplice({3, {}, {'d'}}).appliedTo(bytes), bytesOf("abcd"));
    EXPECT_FALSE(ByteSplice({1, {'c'}, {}}).appliedTo(bytes)) << "other bytes at the offset";
    EXPECT_FALSE(ByteSplice({2, {'c', 'd'}, {}}).appliedTo(bytes)) << "removes past the end";
    EXPECT_FALSE(ByteSplice({4, {}, {'x'}}).appliedTo(bytes)) << "offset past the end";
}

// Random edits of random mixed-ending texts: what the bytes show afterwards is
// always what the editor shows, and the inverse always restores the bytes.
TEST(TextSplice, RandomEditsKeepBytesAndShownTextInStep)
{
    std::mt19937 random(1942);
    const std::string_view byteAlphabet("ab\r\n\r\n\0\xe9\t", 9);
    const std::u16string_view typedAlphabet(u"x\n\r\u2029\u2400\u00e9", 6);
    for (int round = 0; round < 3000; ++round) {
        Bytes bytes(random() % 12);
        for (std::uint8_t& b : bytes)
            b = static_cast<std::uint8_t>(byteAlphabet[random() % byteAlphabet.size()]);
        const std::u16string shown = shownText(bytes);
        const std::size_t position = random() % (shown.size() + 1);
        const std::size_t removed = random() % (shown.size() - position + 1);
        std::u16string typed(random() % 4, u' ');
        for (char16_t& c : typed)
            c = typedAlphabet[random() % typedAlphabet.size()];
        // Typed on its own: a CR typed before a shown break is a break of its own.
        const std::u16string edited =
            shown.substr(0, position) + *shownTextOfTyped(typed) + shown.substr(position + removed);

        for (const std::optional<ByteSplice>& splice :
             {spliceForEditedText(bytes, edited, position), spliceForEdit(bytes, position, removed, typed)}) {
            ASSERT_TRUE(splice);
            const std::optional<Bytes> result = splice->appliedTo(bytes);
            ASSERT_TRUE(result);
            ASSERT_EQ(shownText(*result), *shownTextOfTyped(edited))
                << printable(bytes) << " -> " << printable(*result);
            ASSERT_EQ(splice->inverse().appliedTo(*result), bytes);
        }
    }
}

// A splice edits an entry with or without a history, only over the bytes it
// removes, and registers nothing when it changes nothing; an undo that no
// longer fits leaves the bytes alone. (Typing runs: UndoHistoryTest.)
TEST(SpliceEntryBytes, AppliesOnlyWhereItFits)
{
    const RFATreeNode::Ptr entry = RFATreeNode::initWithData(makeSharedBytes(bytesOf("ab\r\ncd")), "init.con");
    const auto text = [&] { return fixtures::text(entry->data()); };
    const int editor = 0;
    ASSERT_TRUE(spliceEntryBytes(entry, {0, {}, {'x'}}, &editor)) << "without a history";
    const auto history = std::make_shared<UndoHistory>();
    entry->setUndoManager(history);
    EXPECT_FALSE(spliceEntryBytes(entry, {0, {'a'}, {}}, &editor));
    EXPECT_TRUE(spliceEntryBytes(entry, {}, &editor)) << "an empty splice";
    EXPECT_EQ(text(), "xab\r\ncd");
    EXPECT_FALSE(history->canUndo());

    ASSERT_TRUE(spliceEntryBytes(entry, {0, {}, {'y'}}, &editor));
    history->endGroup();
    entry->setData(makeSharedBytes(bytesOf("replaced")));
    history->undo();
    EXPECT_EQ(text(), "replaced");
}

} // namespace
} // namespace larkspan
