#include "cli/EntrySearch.h"

#include "cli/Diagnostics.h"
#include "cli/PieceScanner.h"
#include "base/Latin1.h"

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <cstdio>
#include <mutex>
#include <thread>

namespace larkspan::cli {

namespace {

// Entries are handed to the threads in runs this long: long enough that
// handing out costs nothing, short enough that the printing keeps up.
constexpr std::size_t kRunLength = 16;

struct RunResult {
    std::string printed;
    std::vector<std::pair<const SearchedEntry*, Error>> unreadable;
    bool matched = false;
    bool done = false;
};

void searchEntry(const SearchedEntry& entry, const LineMatcher& matcher, bool namesOnly, RunResult& result)
{
    const std::string prefix = *entry.archive + ":" + displayName(*entry.name);
    const LineMatcher::LineFound print = [&](std::size_t number, std::string_view line) {
        if (namesOnly)
            return;
        result.printed += prefix + ":" + std::to_string(number) + ":" +
                          latin1ToUtf8(ByteSpan(reinterpret_cast<const std::uint8_t*>(line.data()), line.size())) + "\n";
    };
    PieceScanner scanner(matcher, namesOnly, print);
    // The lines found before a damaged segment stay printed, as grep prints
    // what it read before a read error.
    const Result<void> read = entry.read([&](ByteSpan piece) { return scanner.feed(piece); });
    if (read)
        scanner.finish();
    else
        result.unreadable.emplace_back(&entry, read.error());
    if (scanner.count() > 0 && namesOnly)
        result.printed += prefix + "\n";
    result.matched = result.matched || scanner.count() > 0;
}

} // namespace

SearchOutcome searchEntries(const std::vector<SearchedEntry>& entries, const LineMatcher& matcher, bool namesOnly)
{
    const std::size_t runs = (entries.size() + kRunLength - 1) / kRunLength;
    std::vector<RunResult> results(runs);
    std::atomic<std::size_t> nextRun{0};
    std::mutex mutex;
    std::condition_variable runDone;

    const auto work = [&] {
        for (std::size_t run; (run = nextRun++) < runs;) {
            RunResult result;
            const std::size_t end = std::min(entries.size(), (run + 1) * kRunLength);
            for (std::size_t i = run * kRunLength; i < end; ++i)
                searchEntry(entries[i], matcher, namesOnly, result);
            result.done = true;
            {
                const std::lock_guard lock(mutex);
                results[run] = std::move(result);
            }
            runDone.notify_all();
        }
    };
    const std::size_t threadCount = std::clamp<std::size_t>(std::thread::hardware_concurrency(), 1, 8);
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
        std::fwrite(result.printed.data(), 1, result.printed.size(), stdout);
        for (const auto& [entry, error] : result.unreadable)
            reportEntryProblem(*entry->archive, *entry->name, reasonText(error));
        outcome.matched = outcome.matched || result.matched;
        outcome.trouble = outcome.trouble || !result.unreadable.empty();
    }
    return outcome;
}

} // namespace larkspan::cli
