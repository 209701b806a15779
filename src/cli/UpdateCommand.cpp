#include "base/CountedNoun.h"
#include "cli/ArchiveReading.h"
#include "cli/Commands.h"
#include "cli/Diagnostics.h"
#include "cli/Progress.h"
#include "fs/SafePath.h"
#include "mod/ModFolders.h"
#include "mod/UpdateArchive.h"

#include <cstdio>
#include <memory>

namespace larkspan::cli {

namespace {

struct UpdateOptions {
    std::string base;
    std::string edited;
    std::string output; // empty: the next update beside the base
};

// A warning about the edited archive, then the paths it concerns.
void reportPaths(const UpdateOptions& options, const std::string& warning, const std::vector<std::string>& paths)
{
    reportWarning(options.edited, warning);
    for (const std::string& path : paths)
        std::fprintf(stderr, "  %s\n", displayName(path).c_str());
}

void reportDeletions(const UpdateOptions& options, const std::vector<std::string>& deleted)
{
    const bool one = deleted.size() == 1;
    reportPaths(options,
                countedNoun(deleted.size(), "entry", "entries") + " the game sees in " + options.base +
                    " and its updates " + (one ? "is" : "are") + " missing here; an update archive cannot remove " +
                    (one ? "it" : "them") + ":",
                deleted);
}

// Edits of a version that a later update has changed since: the new update
// puts them over that change, which the user may not know. Each path is
// followed by that update's name.
void reportOverNewer(const UpdateOptions& options, const UpdatePlan& plan)
{
    std::vector<std::string> paths;
    for (const UpdatedEntry& updated : plan.entries)
        if (updated.overNewer)
            paths.push_back(updated.entry.path + " (" + genericUtf8(updated.overNewer->filename()) + ")");
    if (paths.empty())
        return;
    const bool one = paths.size() == 1;
    reportPaths(options,
                countedNoun(paths.size(), "entry", "entries") + " changed here " +
                    (one ? "was" : "were") + " also changed by a later update of " + options.base +
                    "; the new update puts " + (one ? "this version" : "these versions") + " over that change:",
                paths);
}

ExitCode runUpdate(const UpdateOptions& options)
{
    const Result<UpdateFamily> family = findUpdateFamily(pathFromUtf8(options.base));
    if (!family) {
        reportError(family.error());
        return ExitCode::Trouble;
    }
    const bool named = !options.output.empty();
    const Result<std::filesystem::path> target = named ? pathFromUtf8(options.output) : nextUpdatePath(*family);
    if (!target) {
        reportError(target.error());
        return ExitCode::Trouble;
    }
    const std::unique_ptr<RFAArchive> edited = readArchive(options.edited);
    if (!edited)
        return ExitCode::Trouble;

    Result<UpdatePlan> plan = Error{ErrorCode::Cancelled};
    {
        ProgressLine progress("comparing with " + options.base);
        const Result<std::vector<ArchiveEntry>> entries = edited->entries();
        plan = entries ? planUpdate(*family, family->base, *entries, *target,
                                    [&](std::uint64_t done, std::uint64_t total) {
                                        progress.update(done, total);
                                        return true;
                                    })
                       : Result<UpdatePlan>(entries.error());
    }
    if (!plan) {
        reportError(plan.error());
        return ExitCode::Trouble;
    }
    if (!plan->deleted.empty())
        reportDeletions(options, plan->deleted);
    const ExitCode done = plan->deleted.empty() ? ExitCode::Success : ExitCode::Incomplete;
    if (plan->entries.empty()) {
        std::printf("nothing new or changed: no update written\n");
        return done;
    }

    const std::string shownTarget = named ? options.output : genericUtf8(*target);
    ProgressLine progress("writing " + shownTarget);
    const Result<void> written =
        writeUpdate(*plan, *target, named ? ExistingTarget::Replace : ExistingTarget::Keep,
                    [&](std::uint64_t doneBytes, std::uint64_t total) {
                        progress.update(doneBytes, total);
                        return true;
                    });
    if (!written) {
        reportError(written.error());
        return ExitCode::Trouble;
    }
    for (const UpdatedEntry& updated : plan->entries)
        std::printf("%c %s\n", updated.replaces ? 'M' : 'A', displayName(updated.entry.path).c_str());
    std::printf("wrote %s: %s, %s\n", shownTarget.c_str(), countedNoun(plan->entries.size(), "entry", "entries").c_str(),
                plan->compressed ? "compressed" : "uncompressed");
    reportOverNewer(options, *plan);
    return done;
}

} // namespace

Command addUpdateCommand(CLI::App& app)
{
    auto options = std::make_shared<UpdateOptions>();
    CLI::App* update = addSubcommand(
        app, "update", "Write an update archive: what EDITED holds new or changed against BASE",
        "The game reads BASE.rfa together with its updates BASE_NNN.rfa beside it, the\n"
        "highest number first. This writes the entries of EDITED that the game does not\n"
        "see as they are (new ones, \"A PATH\", and changed ones, \"M PATH\") to\n"
        "BASE_NNN.rfa beside BASE, N one above the highest update present, or to OUT.\n"
        "The update is compressed when BASE is. Paths compare without regard to case.\n"
        "An update cannot remove an entry: those EDITED lacks are listed and left.\n"
        "When nothing is new or changed, nothing is written. An existing file is never\n"
        "replaced unless -o names it; an update of the family named by -o must be the\n"
        "highest, and it is compared without itself (it is being replaced).",
        kUpdateExitCodeHelp);
    update->add_option("BASE", options->base, "The archive the game reads (not one of its updates)")->required();
    update->add_option("EDITED", options->edited, "The archive as it should be seen")->required();
    update->add_option("-o,--output", options->output, "Where to write the update (may replace a file)")
        ->type_name("OUT");
    return {update, [options] { return runUpdate(*options); }};
}

} // namespace larkspan::cli
