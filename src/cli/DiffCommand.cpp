#include "cli/Commands.h"
#include "cli/Diagnostics.h"
#include "base/StringAdditions.h"
#include "fs/SafePath.h"
#include "mod/ArchiveListing.h"

#include <cstdio>
#include <map>
#include <memory>

namespace larkspan::cli {

namespace {

struct DiffOptions {
    std::string before;
    std::string after;
};

// Each path's first record, by the path without regard to case: the one
// the game reads.
std::map<std::string, const RecordFields*> recordsByPath(const ArchiveListing& listing)
{
    std::map<std::string, const RecordFields*> byPath;
    for (const RecordFields& record : listing.records())
        byPath.try_emplace(foldedCopy(record.name), &record);
    return byPath;
}

class Comparison {
public:
    Comparison(const DiffOptions& options, const ArchiveListing& before, const ArchiveListing& after)
        : options_(options), before_(before), after_(after)
    {
    }

    ExitCode run()
    {
        const auto inBefore = recordsByPath(before_);
        const auto inAfter = recordsByPath(after_);
        auto b = inBefore.begin();
        auto a = inAfter.begin();
        while (b != inBefore.end() || a != inAfter.end()) {
            if (a == inAfter.end() || (b != inBefore.end() && b->first < a->first)) {
                print('D', b++->second->name);
            } else if (b == inBefore.end() || a->first < b->first) {
                print('A', a++->second->name);
            } else {
                if (differ(*b->second, *a->second))
                    print('M', a->second->name);
                ++a;
                ++b;
            }
        }
        return trouble_ ? ExitCode::Trouble : different_ ? ExitCode::Different : ExitCode::Success;
    }

private:
    void print(char change, const std::string& path)
    {
        std::printf("%c %s\n", change, displayName(path).c_str());
        different_ = true;
    }

    bool differ(const RecordFields& before, const RecordFields& after)
    {
        const Result<SharedBytes> old = before_.content(before);
        const Result<SharedBytes> now = after_.content(after);
        if (!old || !now) {
            reportEntryProblem(old ? options_.after : options_.before, before.name,
                               reasonText(old ? now.error() : old.error()));
            trouble_ = true;
            return false;
        }
        return **old != **now;
    }

    const DiffOptions& options_;
    const ArchiveListing& before_;
    const ArchiveListing& after_;
    bool different_ = false;
    bool trouble_ = false;
};

ExitCode runDiff(const DiffOptions& options)
{
    std::optional<ArchiveListing> listings[2];
    for (int i = 0; i < 2; ++i) {
        const std::string& path = i == 0 ? options.before : options.after;
        Result<ArchiveListing> listing = ArchiveListing::open(pathFromUtf8(path));
        if (!listing) {
            reportProblem(path, reasonText(listing.error()));
            return ExitCode::Trouble;
        }
        listings[i] = std::move(*listing);
    }
    return Comparison(options, *listings[0], *listings[1]).run();
}

} // namespace

Command addDiffCommand(CLI::App& app)
{
    auto options = std::make_shared<DiffOptions>();
    CLI::App* diff = addSubcommand(
        app, "diff", "Print the entries two archives do not share or hold differently",
        "One line per difference, sorted by path: \"A PATH\" for an entry only the second\n"
        "archive holds, \"D PATH\" for one only the first holds, \"M PATH\" for one whose\n"
        "content differs. Paths compare without regard to case, as the game reads them;\n"
        "of a path held twice, the first entry counts. Contents are compared after\n"
        "decompression, so the same archive stored compressed and raw shows no change.",
        kDiffExitCodeHelp);
    diff->add_option("A", options->before, "The first archive (the older one)")->required();
    diff->add_option("B", options->after, "The second archive (the newer one)")->required();
    return {diff, [options] { return runDiff(*options); }};
}

} // namespace larkspan::cli
