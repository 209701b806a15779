#include "cli/PieceScanner.h"

#include <algorithm>

namespace larkspan::cli {

bool PieceScanner::feed(ByteSpan piece)
{
    const auto lastBreak = std::find(piece.rbegin(), piece.rend(), '\n');
    if (lastBreak == piece.rend()) {
        pending_.insert(pending_.end(), piece.begin(), piece.end());
        return true;
    }
    const auto wholeLength = static_cast<std::size_t>(piece.rend() - lastBreak);
    ByteSpan whole = piece.first(wholeLength);
    if (!pending_.empty()) {
        // The line the earlier pieces began ends in this one: searched
        // joined, the rest of the piece where it lies.
        const auto firstLength = static_cast<std::size_t>(std::find(piece.begin(), piece.end(), '\n') - piece.begin()) + 1;
        pending_.insert(pending_.end(), piece.begin(), piece.begin() + static_cast<std::ptrdiff_t>(firstLength));
        scanLines(pending_);
        pending_.clear();
        whole = whole.subspan(firstLength);
    }
    if (!done())
        scanLines(whole);
    pending_.assign(piece.begin() + static_cast<std::ptrdiff_t>(wholeLength), piece.end());
    return !done();
}

void PieceScanner::finish()
{
    if (!pending_.empty() && !done())
        scanLines(pending_);
    pending_.clear();
}

void PieceScanner::scanLines(ByteSpan lines)
{
    count_ += matcher_.scan(lines, firstOnly_, [&](std::size_t number, std::string_view line) {
        found_(linesBefore_ + number, line);
    });
    // Numbers are only printed where every match is wanted.
    if (!firstOnly_)
        linesBefore_ += static_cast<std::size_t>(std::count(lines.begin(), lines.end(), '\n'));
}

} // namespace larkspan::cli
