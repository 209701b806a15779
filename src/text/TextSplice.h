#pragma once

// A text entry's bytes as the editor shows them, and edits of what it shows
// turned back into bytes without touching anything the user did not edit.
//
// The shown text has one character per byte, its Latin-1 reading, except:
// - each line break, CR, LF or CRLF, is one '\n' (the editor's lines do not
//   carry their endings, the bytes keep them);
// - control bytes that would show as nothing (NUL, the other C0 controls but
//   tab, and DEL) are shown as their control pictures, U+2400 + byte and U+2421.

#include "base/Bytes.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace larkspan {

enum class LineBreak { CRLF, LF, CR };

struct LineBreakCounts {
    std::size_t crlf = 0;
    std::size_t lf = 0;
    std::size_t cr = 0;

    // The most frequent ending, which new line breaks take. On a tie, and in
    // a file without breaks, CRLF (the game's scripts come from Windows), then LF.
    LineBreak main() const;
    bool isMixed() const;
};

LineBreakCounts countLineBreaks(ByteSpan bytes);
std::string_view lineBreakBytes(LineBreak lineBreak);

std::u16string shownText(ByteSpan bytes);

// Typed or pasted text in shown form: every line break (CR, LF, CRLF, U+2028,
// U+2029) becomes '\n', control bytes become their pictures. Nothing when a
// character has no byte to stand for (beyond U+00FF and no picture of ours).
std::optional<std::u16string> shownTextOfTyped(std::u16string_view typed);

// The one stretch in which two texts differ: `removed` characters of `from`
// at `position` are `inserted` characters of `to`. The common start counts at
// most `prefixLimit` characters, so that where the same text repeats, the
// difference lies where the edit was made.
struct TextDifference {
    std::size_t position = 0;
    std::size_t removed = 0;
    std::size_t inserted = 0;

    bool isEmpty() const { return removed == 0 && inserted == 0; }
};

TextDifference differenceBetween(std::u16string_view from, std::u16string_view to,
                                 std::size_t prefixLimit = std::u16string_view::npos);

// Replace `removed` at `offset` by `inserted`.
struct ByteSplice {
    std::size_t offset = 0;
    Bytes removed;
    Bytes inserted;

    bool isEmpty() const { return removed.empty() && inserted.empty(); }
    ByteSplice inverse() const { return {offset, inserted, removed}; }
    // Nothing when the bytes do not hold `removed` at `offset`.
    std::optional<Bytes> appliedTo(ByteSpan bytes) const;

    friend bool operator==(const ByteSplice&, const ByteSplice&) = default;
};

// The splice for an edit of the shown text that replaced `removed` characters
// at `position` by `inserted` (line breaks in any form shownTextOfTyped()
// accepts). New breaks take the main ending of `bytes`; shown characters the
// edit put back as they were keep their bytes. Nothing when `inserted` holds a
// character that no byte stands for.
std::optional<ByteSplice> spliceForEdit(ByteSpan bytes, std::size_t position, std::size_t removed,
                                        std::u16string_view inserted);

// The splice that makes `bytes` show as `edited`, the editor's whole text
// after an edit that began at `editPosition` (in shown characters), for when
// the edited stretch is not known.
std::optional<ByteSplice> spliceForEditedText(ByteSpan bytes, std::u16string_view edited, std::size_t editPosition);

} // namespace larkspan
