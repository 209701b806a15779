#include "text/TextSplice.h"

#include <algorithm>

namespace larkspan {

namespace {

constexpr char16_t kShownBreak = u'\n';
constexpr char16_t kControlPictures = 0x2400; // U+2400 SYMBOL FOR NULL, then one per C0 control
constexpr char16_t kDeletePicture = 0x2421;

bool isCRLFAt(ByteSpan bytes, std::size_t i)
{
    return bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n';
}

char16_t shownCharacterOfByte(std::uint8_t byte)
{
    if (byte == '\t')
        return byte;
    if (byte < 0x20)
        return static_cast<char16_t>(kControlPictures + byte);
    if (byte == 0x7F)
        return kDeletePicture;
    return byte;
}

// The byte a character of typed text stands for (line breaks aside).
std::optional<std::uint8_t> byteOfCharacter(char16_t c)
{
    if (c <= 0xFF)
        return static_cast<std::uint8_t>(c);
    if (c == kDeletePicture)
        return 0x7F;
    if (c >= kControlPictures && c < kControlPictures + 0x20) {
        const auto byte = static_cast<std::uint8_t>(c - kControlPictures);
        // Tab shows as itself; CR and LF are line breaks, never bytes of a line.
        if (byte != '\t' && byte != '\r' && byte != '\n')
            return byte;
    }
    return std::nullopt;
}

bool isLineBreakCharacter(char16_t c)
{
    return c == u'\n' || c == u'\r' || c == 0x2028 || c == 0x2029;
}

// Where the shown character at `position` begins in the bytes; the end of
// the bytes for a position at or past the end.
std::size_t byteOffsetOfShownPosition(ByteSpan bytes, std::size_t position)
{
    std::size_t offset = 0;
    for (std::size_t shown = 0; shown < position && offset < bytes.size(); ++shown)
        offset += isCRLFAt(bytes, offset) ? 2 : 1;
    return offset;
}

Bytes bytesOfShownText(std::u16string_view shown, LineBreak lineBreak)
{
    const std::string_view breakBytes = lineBreakBytes(lineBreak);
    Bytes out;
    out.reserve(shown.size());
    for (char16_t c : shown) {
        if (c == kShownBreak)
            out.insert(out.end(), breakBytes.begin(), breakBytes.end());
        else
            out.push_back(*byteOfCharacter(c)); // shown text has a byte for every character
    }
    return out;
}

// A new CR followed by a LF would read as one CRLF break where the editor
// shows two. Only mixed files can get there (a lone CR line next to a lone LF
// line); the break that the edit wrote, or the ending of the line it emptied,
// is then written as CRLF.
void keepLineBreaksApart(ByteSpan bytes, std::size_t end, ByteSplice& splice)
{
    const bool crBefore = splice.offset > 0 && bytes[splice.offset - 1] == '\r';
    const bool lfAfter = end < bytes.size() && bytes[end] == '\n';
    Bytes& inserted = splice.inserted;
    if (inserted.empty()) {
        if (crBefore && lfAfter) {
            splice.removed.push_back('\n');
            inserted = {'\r', '\n'};
        }
        return;
    }
    if (crBefore && inserted.front() == '\n')
        inserted.insert(inserted.begin(), '\r');
    if (lfAfter && inserted.back() == '\r')
        inserted.push_back('\n');
}

} // namespace

LineBreak LineBreakCounts::main() const
{
    if (crlf >= lf && crlf >= cr)
        return LineBreak::CRLF;
    return lf >= cr ? LineBreak::LF : LineBreak::CR;
}

bool LineBreakCounts::isMixed() const
{
    return (crlf > 0) + (lf > 0) + (cr > 0) > 1;
}

LineBreakCounts countLineBreaks(ByteSpan bytes)
{
    LineBreakCounts counts;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (isCRLFAt(bytes, i)) {
            ++counts.crlf;
            ++i;
        } else if (bytes[i] == '\r') {
            ++counts.cr;
        } else if (bytes[i] == '\n') {
            ++counts.lf;
        }
    }
    return counts;
}

std::string_view lineBreakBytes(LineBreak lineBreak)
{
    switch (lineBreak) {
    case LineBreak::CRLF:
        return "\r\n";
    case LineBreak::LF:
        return "\n";
    case LineBreak::CR:
        return "\r";
    }
    return "\r\n";
}

std::u16string shownText(ByteSpan bytes)
{
    std::u16string shown;
    shown.reserve(bytes.size());
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (bytes[i] == '\r' || bytes[i] == '\n') {
            if (isCRLFAt(bytes, i))
                ++i;
            shown.push_back(kShownBreak);
        } else {
            shown.push_back(shownCharacterOfByte(bytes[i]));
        }
    }
    return shown;
}

std::optional<std::u16string> shownTextOfTyped(std::u16string_view typed)
{
    std::u16string shown;
    shown.reserve(typed.size());
    for (std::size_t i = 0; i < typed.size(); ++i) {
        const char16_t c = typed[i];
        if (isLineBreakCharacter(c)) {
            if (c == u'\r' && i + 1 < typed.size() && typed[i + 1] == u'\n')
                ++i;
            shown.push_back(kShownBreak);
            continue;
        }
        const std::optional<std::uint8_t> byte = byteOfCharacter(c);
        if (!byte)
            return std::nullopt;
        shown.push_back(shownCharacterOfByte(*byte));
    }
    return shown;
}

TextDifference differenceBetween(std::u16string_view from, std::u16string_view to, std::size_t prefixLimit)
{
    const std::size_t shorter = std::min(from.size(), to.size());
    std::size_t prefix = 0;
    for (const std::size_t limit = std::min(shorter, prefixLimit); prefix < limit && from[prefix] == to[prefix];)
        ++prefix;
    std::size_t suffix = 0;
    while (suffix < shorter - prefix && from[from.size() - 1 - suffix] == to[to.size() - 1 - suffix])
        ++suffix;
    return {prefix, from.size() - prefix - suffix, to.size() - prefix - suffix};
}

std::optional<Bytes> ByteSplice::appliedTo(ByteSpan bytes) const
{
    if (offset > bytes.size() || removed.size() > bytes.size() - offset ||
        !std::equal(removed.begin(), removed.end(), bytes.begin() + static_cast<std::ptrdiff_t>(offset)))
        return std::nullopt;
    Bytes out;
    out.reserve(bytes.size() - removed.size() + inserted.size());
    out.insert(out.end(), bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(offset));
    out.insert(out.end(), inserted.begin(), inserted.end());
    out.insert(out.end(), bytes.begin() + static_cast<std::ptrdiff_t>(offset + removed.size()), bytes.end());
    return out;
}

std::optional<ByteSplice> spliceForEdit(ByteSpan bytes, std::size_t position, std::size_t removed,
                                        std::u16string_view inserted)
{
    const std::optional<std::u16string> wanted = shownTextOfTyped(inserted);
    if (!wanted)
        return std::nullopt;
    const std::size_t start = byteOffsetOfShownPosition(bytes, position);
    const ByteSpan fromStart = bytes.subspan(start);
    const std::size_t end = start + byteOffsetOfShownPosition(fromStart, removed);
    // Only what differs is spliced: a retyped line break keeps its ending.
    const TextDifference difference = differenceBetween(shownText(bytes.subspan(start, end - start)), *wanted);
    if (difference.isEmpty())
        return ByteSplice{};
    ByteSplice splice;
    splice.offset = start + byteOffsetOfShownPosition(fromStart, difference.position);
    const std::size_t spliceEnd =
        start + byteOffsetOfShownPosition(fromStart, difference.position + difference.removed);
    const std::u16string_view insertedText =
        std::u16string_view(*wanted).substr(difference.position, difference.inserted);
    // The main ending costs a pass over the whole file: only when a break is new.
    const bool breaks = insertedText.find(kShownBreak) != std::u16string_view::npos;
    splice.inserted = bytesOfShownText(insertedText, breaks ? countLineBreaks(bytes).main() : LineBreak::CRLF);
    splice.removed.assign(bytes.begin() + static_cast<std::ptrdiff_t>(splice.offset),
                          bytes.begin() + static_cast<std::ptrdiff_t>(spliceEnd));
    keepLineBreaksApart(bytes, spliceEnd, splice);
    return splice;
}

std::optional<ByteSplice> spliceForEditedText(ByteSpan bytes, std::u16string_view edited, std::size_t editPosition)
{
    const std::optional<std::u16string> wanted = shownTextOfTyped(edited);
    if (!wanted)
        return std::nullopt;
    const TextDifference difference = differenceBetween(shownText(bytes), *wanted, editPosition);
    return spliceForEdit(bytes, difference.position, difference.removed,
                         std::u16string_view(*wanted).substr(difference.position, difference.inserted));
}

} // namespace larkspan
