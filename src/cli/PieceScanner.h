#pragma once

#include "base/Bytes.h"
#include "text/LineMatcher.h"

#include <cstddef>

namespace larkspan::cli {

// Searches a text that arrives in pieces (an entry decoded a segment at a
// time) line by line, finding what LineMatcher::scan finds in the whole
// text: a line cut between two pieces is searched once it is whole, so that
// a match across the cut is found, and lines are numbered across pieces.
// With `firstOnly` the first match ends the search, and the caller may stop
// reading.
class PieceScanner {
public:
    PieceScanner(const LineMatcher& matcher, bool firstOnly, const LineMatcher::LineFound& found)
        : matcher_(matcher), firstOnly_(firstOnly), found_(found)
    {
    }

    // False once nothing more is wanted: the first match is found, with `firstOnly`.
    bool feed(ByteSpan piece);
    // Searches the last line, which no line break ended.
    void finish();
    std::size_t count() const { return count_; }

private:
    bool done() const { return firstOnly_ && count_ > 0; }
    // Searches whole lines, each ended by its line break.
    void scanLines(ByteSpan lines);

    const LineMatcher& matcher_;
    const bool firstOnly_;
    const LineMatcher::LineFound& found_;
    Bytes pending_; // the start of a line that no piece so far has ended
    std::size_t linesBefore_ = 0;
    std::size_t count_ = 0;
};

} // namespace larkspan::cli
