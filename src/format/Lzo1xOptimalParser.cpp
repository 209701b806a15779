#include "format/Lzo1xOptimalParser.h"

#include "format/Lzo1xStreamWriter.h"

#include <algorithm>

namespace larkspan::lzo1x {

namespace {

// How many chain positions a search visits at most.
constexpr unsigned kMaxDepth = 64;
// The longest match found, when it is this long, is taken as it stands, and
// no match is looked for inside it.
constexpr std::size_t kNiceLength = 40;
// A search stops at a match this long.
constexpr std::size_t kEnoughLength = 64;
constexpr std::uint32_t kUnreached = 0xffffffff;
constexpr std::size_t kNoRun = ~std::size_t(0);

// The cheapest way to stand at a position ready for a match, and how many
// literals since the last match it took.
struct Way {
    std::uint32_t cost = kUnreached;
    std::uint32_t literals = 0;
};

// The longest match at `distance` that costs what one of `length` (3 or more) costs.
inline std::size_t sameCostUpTo(std::size_t length, std::size_t distance)
{
    if (length <= kNearMatchMaxLength && distance <= kNearMatchMaxDistance)
        return kNearMatchMaxLength;
    const std::size_t base = distance <= kMiddleMatchMaxDistance ? kMiddleMatchBaseLength : kFarMatchBaseLength;
    if (length <= base)
        return base;
    return base + 255 * extensionLength(length - base);
}

inline void keepCheaper(Way& best, Way other)
{
    if (other.cost < best.cost)
        best = other;
}

} // namespace

std::size_t OptimalParser::compress(ByteSpan input, std::uint8_t* out)
{
    parse(input);
    return write(input, out);
}

void OptimalParser::parse(ByteSpan input)
{
    const std::size_t n = input.size();
    arrivals_.assign(n + 1, Arrival{kUnreached, 0, 0, 0});
    arrivals_[0].cost = 0;
    finder_.reset(input, kMaxDepth, kEnoughLength, kMaxDistance);
    matches_.resize(kMaxDepth + 2);

    // Standing at `p` after `literals` literals that follow the match ending at p - literals.
    const auto viaLiterals = [&](std::size_t p, std::size_t literals) {
        const std::size_t from = p - literals;
        const std::uint32_t base = arrivals_[from].cost;
        if (base == kUnreached)
            return Way{};
        return Way{base + static_cast<std::uint32_t>(literalCost(literals, from == 0)),
                   static_cast<std::uint32_t>(literals)};
    };
    const auto relax = [&](std::size_t end, Way from, std::size_t length, std::size_t distance, std::size_t cost) {
        Arrival& arrival = arrivals_[end];
        const std::uint32_t total = from.cost + static_cast<std::uint32_t>(cost);
        if (total < arrival.cost)
            arrival = {total, static_cast<std::uint32_t>(length), static_cast<std::uint32_t>(distance), from.literals};
    };

    // Where the cheapest literal run of four or more up to here begins. Runs
    // from different matches grow alike but for their extension bytes, so the
    // cheaper one now is kept (a tie goes to the shorter run).
    std::size_t runFrom = kNoRun;
    std::size_t noSearchBefore = 0;
    for (std::size_t p = 0;; ++p) {
        const Way afterMatch = p > 0 ? Way{arrivals_[p].cost, 0} : Way{};
        Way trailing; // 1 to 3 literals: a length-2 match may follow
        for (std::size_t literals = 1; literals <= 3 && literals <= p; ++literals)
            keepCheaper(trailing, viaLiterals(p, literals));
        if (p >= 4 && arrivals_[p - 4].cost != kUnreached &&
            (runFrom == kNoRun || viaLiterals(p, 4).cost <= viaLiterals(p, p - runFrom).cost))
            runFrom = p - 4;
        const Way run = runFrom == kNoRun ? Way{} : viaLiterals(p, p - runFrom);
        Way any = afterMatch;
        keepCheaper(any, trailing);
        keepCheaper(any, run);
        if (p == n) {
            finalLiterals_ = any.literals;
            return;
        }
        if (n - p < 2)
            continue;
        if (p < noSearchBefore) {
            finder_.insert(p, n - p);
            continue;
        }
        const std::size_t count = finder_.insertAndFind(p, n - p, matches_.data());
        std::size_t length = 2;
        for (std::size_t i = 0; i < count; ++i) {
            const std::size_t distance = matches_[i].distance;
            const std::size_t longest = matches_[i].length;
            if (length == 2) {
                if (distance <= kShortMatchMaxDistance && trailing.cost != kUnreached)
                    relax(p + 2, trailing, 2, distance, 2);
                ++length;
            }
            if (length == 3 && longest >= 3 && distance > kNearMatchMaxDistance &&
                distance <= kFarShortMatchMaxDistance && run.cost != kUnreached)
                relax(p + 3, run, 3, distance, matchCost(3, distance, LiteralState::Run));
            while (length <= longest) {
                // Lengths that cost the same are one tight loop.
                const std::size_t last = std::min(longest, sameCostUpTo(length, distance));
                const std::uint32_t total =
                    any.cost + static_cast<std::uint32_t>(matchCost(length, distance, LiteralState::None));
                for (; length <= last; ++length) {
                    Arrival& arrival = arrivals_[p + length];
                    if (total < arrival.cost)
                        arrival = {total, static_cast<std::uint32_t>(length), static_cast<std::uint32_t>(distance),
                                   any.literals};
                }
            }
        }
        if (count > 0 && matches_[count - 1].length >= kNiceLength)
            noSearchBefore = p + matches_[count - 1].length;
    }
}

std::size_t OptimalParser::write(ByteSpan input, std::uint8_t* out)
{
    const std::uint8_t* const in = input.data();
    matchEnds_.clear();
    for (std::size_t end = input.size() - finalLiterals_; end > 0;) {
        matchEnds_.push_back(static_cast<std::uint32_t>(end));
        end -= arrivals_[end].length + arrivals_[end].literals;
    }
    StreamWriter writer(input.data() + input.size(), out);
    for (auto end = matchEnds_.rbegin(); end != matchEnds_.rend(); ++end) {
        const Arrival& arrival = arrivals_[*end];
        const std::size_t start = *end - arrival.length;
        writer.literals(in + start - arrival.literals, arrival.literals);
        writer.match(arrival.length, arrival.distance);
    }
    writer.literals(in + input.size() - finalLiterals_, finalLiterals_);
    return writer.finish();
}

} // namespace larkspan::lzo1x
