#include "cli/EntrySearch.h"

#include "cli/Diagnostics.h"
#include "cli/PieceScanner.h"
#include "base/Latin1.h"

#include <algorithm>
#include <atomic>
#include <charconv>
#include <condition_variable>
#include <cstdio>
#include <mutex>
#include <thread>

namespace larkspan::cli {

namespace {

// Entries are handed to the threads in runs this long: long enough that
// handing out costs nothing, short enough that the printing keeps up.
constexpr std::size_t kRunLength = 16;
// How many runs each thread may finish ahead of the printing: what waits to
// be printed stays a few runs long even when the output is a slow pipe.
constexpr std::size_t kRunsAheadPerThread = 4;
// Printed text is kept in pieces of this room, reused once written out: a
// common pattern prints most lines of an archive, and text grown by copying,
// page by new page, cost more than the search.
constexpr std::size_t kPrintedPiece = 64 * 1024;

class SparePieces {
public:
    std::string take()
    {
        {
            const std::lock_guard lock(mutex_);
            if (!spare_.empty()) {
                std::string piece = std::move(spare_.back());
                spare_.pop_back();
                return piece;
            }
        }
        std::string piece;
        piece.reserve(kPrintedPiece);
        return piece;
    }

    void giveBack(std::vector<std::string>& pieces)
    {
        const std::lock_guard lock(mutex_);
        for (std::string& piece : pieces) {
            piece.clear();
            spare_.push_back(std::move(piece));
        }
        pieces.clear();
    }

private:
    std::mutex mutex_;
    std::vector<std::string> spare_;
};

struct RunResult {
    std::vector<std::string> printed;
    std::vector<std::pair<const SearchedEntry*, Error>> unreadable;
    bool matched = false;
    bool done = false;
};

// The piece to append at most `length` bytes to.
std::string& roomFor(std::size_t length, RunResult& result, SparePieces& spare)
{
    if (result.printed.empty() || result.printed.back().size() + length > result.printed.back().capacity())
        result.printed.push_back(spare.take());
    return result.printed.back();
}

void searchEntry(const SearchedEntry& entry, const LineMatcher& matcher, bool namesOnly, RunResult& result,
                 SparePieces& spare)
{
    // Made for the first line printed: most entries have none.
    std::string prefix;
    const auto makePrefix = [&] {
        if (prefix.empty())
            prefix = *entry.archive + ":" + displayName(*entry.name);
    };
    const LineMatcher::LineFound print = [&](std::size_t number, std::string_view line) {
        if (namesOnly)
            return;
        makePrefix();
        char digits[24];
        const char* digitsEnd = std::to_chars(std::begin(digits), std::end(digits), number).ptr;
        // A Latin-1 byte takes at most two in UTF-8.
        std::string& out = roomFor(prefix.size() + std::size(digits) + 2 * line.size() + 3, result, spare);
        out.append(prefix).append(1, ':').append(digits, static_cast<std::size_t>(digitsEnd - digits)).append(1, ':');
        appendLatin1AsUtf8(out, ByteSpan(reinterpret_cast<const std::uint8_t*>(line.data()), line.size()));
        out.push_back('\n');
    };
    PieceScanner scanner(matcher, namesOnly, print);
    // The lines found before a damaged segment stay printed, as grep prints
    // what it read before a read error.
    const Result<void> read = entry.read([&](ByteSpan piece) { return scanner.feed(piece); });
    if (read)
        scanner.finish();
    else
        result.unreadable.emplace_back(&entry, read.error());
    if (scanner.count() > 0 && namesOnly) {
        makePrefix();
        roomFor(prefix.size() + 1, result, spare).append(prefix).push_back('\n');
    }
    result.matched = result.matched || scanner.count() > 0;
}

} // namespace

SearchOutcome searchEntries(const std::vector<SearchedEntry>& entries, const LineMatcher& matcher, bool namesOnly)
{
    const std::size_t runs = (entries.size() + kRunLength - 1) / kRunLength;
    std::vector<RunResult> results(runs);
    std::atomic<std::size_t> nextRun{0};
    const std::size_t threadCount = std::clamp<std::size_t>(std::thread::hardware_concurrency(), 1, 8);
    std::mutex mutex;
    std::condition_variable runDone, runPrinted;
    std::size_t printedRuns = 0;
    SparePieces spare;

    const auto work = [&] {
        for (std::size_t run; (run = nextRun++) < runs;) {
            {
                std::unique_lock lock(mutex);
                runPrinted.wait(lock, [&] { return run < printedRuns + kRunsAheadPerThread * threadCount; });
            }
            RunResult result;
            const std::size_t end = std::min(entries.size(), (run + 1) * kRunLength);
            for (std::size_t i = run * kRunLength; i < end; ++i)
                searchEntry(entries[i], matcher, namesOnly, result, spare);
            result.done = true;
            {
                const std::lock_guard lock(mutex);
                results[run] = std::move(result);
            }
            runDone.notify_all();
        }
    };
    std::vector<std::jthread> threads;
    for (std::size_t i = 0; i < std::min(threadCount, runs); ++i)
        threads.emplace_back(work);

    SearchOutcome outcome;
    for (std::size_t run = 0; run < runs; ++run) {
        RunResult result;
        {
            std::unique_lock lock(mutex);
            runDone.wait(lock, [&] { return results[run].done; });
            result = std::move(results[run]);
        }
        for (const std::string& piece : result.printed)
            std::fwrite(piece.data(), 1, piece.size(), stdout);
        spare.giveBack(result.printed);
        {
            const std::lock_guard lock(mutex);
            printedRuns = run + 1;
        }
        runPrinted.notify_all();
        for (const auto& [entry, error] : result.unreadable)
            reportEntryProblem(*entry->archive, *entry->name, reasonText(error));
        outcome.matched = outcome.matched || result.matched;
        outcome.trouble = outcome.trouble || !result.unreadable.empty();
    }
    return outcome;
}

} // namespace larkspan::cli
